#include "table_run.h"

#include "convert.h"
#include "fields.h"
#include "handlers.h"
#include "messages.h"
#include "phi_table.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace prochnar {

namespace {

// The result columns that are not fields, in their order after the fields.
enum ResultSlot : std::size_t { PhiSlot, FirstVerdictSlot, MarginSlot = FirstVerdictSlot + kVerdictRows, MessageSlot };

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::optional<std::size_t> resultSlotNamed(std::string_view name)
{
    if (name == kPhiColumn) {
        return PhiSlot;
    }
    for (std::size_t row = 0; row < kStep3Rows.size(); ++row) {
        if (name == kStep3Rows.at(row).name) {
            return FirstVerdictSlot + row;
        }
    }
    if (name == kMarginColumn) {
        return MarginSlot;
    }
    if (name == kMessageColumn) {
        return MessageSlot;
    }
    return std::nullopt;
}

// What a column names for the header's sake: a field (an input or a
// result), or one of the other results after every field.
std::optional<std::size_t> namedIndex(std::string_view name)
{
    if (const auto field = fieldFromName(name)) {
        return fieldIndex(*field);
    }
    if (const auto slot = resultSlotNamed(name)) {
        return kFieldCount + *slot;
    }
    return std::nullopt;
}

} // namespace

bool isOwnColumn(std::string_view name) { return !fieldFromName(name) && !resultSlotNamed(name); }

std::optional<FileFaultAt> headerFault(const std::vector<std::string>& columns)
{
    std::vector<std::size_t> seenAt(kFieldCount + MessageSlot + 1, 0); // 1-based; 0 for not seen
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const std::string& name = columns[column];
        if (const auto index = namedIndex(name)) {
            if (seenAt[*index] != 0) {
                FileFaultAt fault = fileFaultAt(FileFault::DuplicateColumn, 1, 0, name);
                fault.cell = column + 1;
                fault.earlierCell = seenAt[*index];
                return fault;
            }
            seenAt[*index] = column + 1;
        } else if (fieldFromNameIgnoringCase(name)) {
            FileFaultAt fault = fileFaultAt(FileFault::MisspeltColumn, 1, 0, name);
            fault.cell = column + 1;
            return fault;
        }
    }
    return std::nullopt;
}

void TableRun::appendMessages(std::string& to)
{
    for (const auto& shown : form_.takeMessages()) {
        to += to.empty() ? "" : "; ";
        if (shown.about) {
            to += fieldMessageText(fieldName(*shown.about), form_.text(*shown.about), shown.text);
        } else {
            to += shown.text;
        }
    }
}

std::string marginText(int tenths) { return fixedText(tenths, 1); }

TableRun::TableRun(const std::vector<std::string>& columns) : columnCount_{columns.size()}, header_{columns}
{
    applyInitialState(loaded_);
    std::vector<bool> present(kTableResultFields.size() + MessageSlot + 1, false);
    const auto presentIndex = [](std::string_view name) -> std::size_t {
        const auto field = fieldFromName(name);
        const auto* result =
            field ? std::find(kTableResultFields.begin(), kTableResultFields.end(), *field) : kTableResultFields.end();
        if (result != kTableResultFields.end()) {
            return static_cast<std::size_t>(result - kTableResultFields.begin());
        }
        const auto slot = resultSlotNamed(name);
        return slot ? kTableResultFields.size() + *slot : kNone;
    };
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const std::string& name = columns[column];
        if (const auto field = fieldFromName(name)) {
            inputs_.push_back({column, *field});
            outputs_.push_back({.column = kNone, .field = *field, .slot = kNone});
        } else if (const auto slot = resultSlotNamed(name)) {
            outputs_.push_back({.column = kNone, .field = {}, .slot = *slot});
        } else {
            outputs_.push_back({.column = column, .field = {}, .slot = kNone});
        }
        if (const std::size_t index = presentIndex(name); index != kNone) {
            present[index] = true;
        }
    }
    for (std::size_t i = 0; i < kTableResultFields.size(); ++i) {
        if (!present[i]) {
            header_.emplace_back(fieldName(kTableResultFields.at(i)));
            outputs_.push_back({.column = kNone, .field = kTableResultFields.at(i), .slot = kNone});
        }
    }
    const std::array<std::string_view, MessageSlot + 1> slotNames{
        kPhiColumn,         kStep3Rows[0].name, kStep3Rows[1].name, kStep3Rows[2].name,
        kStep3Rows[3].name, kMarginColumn,      kMessageColumn,
    };
    for (std::size_t slot = 0; slot < slotNames.size(); ++slot) {
        if (!present[kTableResultFields.size() + slot]) {
            header_.emplace_back(slotNames.at(slot));
            outputs_.push_back({.column = kNone, .field = {}, .slot = slot});
        }
    }
}

bool TableRun::pressOverLast(const std::vector<std::string>& row, const RowExtras& extras, bool& phiTaken)
{
    // The texts the row's fields take, as a whole press fills them.
    std::array<const std::string*, kFieldCount> texts{};
    for (const FieldDefault& field : kFormFields) {
        texts.at(fieldIndex(field.id)) = &loaded_.text(field.id);
    }
    for (const auto& [column, field] : inputs_) {
        if (column < row.size() && !row[column].empty()) {
            texts.at(fieldIndex(field)) = &row[column];
        }
    }
    for (const auto& [field, text] : extras.texts) {
        texts.at(fieldIndex(field)) = &text;
    }
    // The fields no step writes: the row's inputs.
    static const std::vector<Field> kInputs = [] {
        std::bitset<kFieldCount> results;
        for (const Button step : {Button::Command2, Button::Command5, Button::Command4}) {
            for (const Field field : resultsOf(step)) {
                results.set(fieldIndex(field));
            }
        }
        std::vector<Field> inputs;
        for (const FieldDefault& field : kFormFields) {
            if (!results.test(fieldIndex(field.id))) {
                inputs.push_back(field.id);
            }
        }
        return inputs;
    }();
    // A φ left empty is taken from the table after step 1.
    std::array<bool, kMembers.size()> fromTable{};
    std::bitset<kFieldCount> tablePhi;
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
        const std::size_t phi = fieldIndex(sectionFields(kMembers.at(i)).phi);
        fromTable.at(i) = texts.at(phi)->empty();
        tablePhi.set(phi, fromTable.at(i));
    }
    std::bitset<kFieldCount> changed;
    const auto put = [this, &changed](Field field, const std::string& text) {
        if (form_.text(field) != text) {
            form_.setText(field, text);
            changed.set(fieldIndex(field));
        }
    };
    for (const Field field : kInputs) {
        if (!tablePhi.test(fieldIndex(field))) {
            put(field, *texts.at(fieldIndex(field)));
        }
    }
    if (!pressAgain(form_, Button::Command2, changed)) {
        return false;
    }
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
        if (fromTable.at(i)) {
            const SectionFields section = sectionFields(kMembers.at(i));
            const TablePhi found = phiFromTable(form_.text(section.slenderness));
            if (found.phi.empty()) {
                return false;
            }
            put(section.phi, found.phi);
        }
    }
    if (!pressAgain(form_, Button::Command5, changed) || !pressAgain(form_, Button::Command4, changed)) {
        return false;
    }
    phiTaken = fromTable[0] || fromTable[1];
    return true;
}

bool TableRun::confirmWithPhi(const std::vector<std::string>& row, const RowExtras& extras)
{
    quiet_ = false;
    form_ = loaded_;
    for (const auto& [column, field] : inputs_) {
        if (column < row.size() && !row[column].empty()) {
            form_.setText(field, row[column]);
        }
    }
    for (const auto& [field, text] : extras.texts) {
        form_.setText(field, text);
    }
    std::array<bool, kMembers.size()> wanted{};
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
        wanted.at(i) = form_.text(sectionFields(kMembers.at(i)).phi).empty();
    }
    press(form_, Button::Command2);
    bool taken = false;
    // "из таблицы" can be pressed while step 2 is open.
    if (!form_.state(StateControl::Frame7Enabled)) {
        return false;
    }
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
        if (!wanted.at(i)) {
            continue;
        }
        const SectionFields section = sectionFields(kMembers.at(i));
        const TablePhi found = phiFromTable(form_.text(section.slenderness));
        if (found.phi.empty()) {
            form_.showMessage(found.message, MessageIcon::None);
        } else {
            form_.setText(section.phi, found.phi);
            taken = true;
        }
    }
    return taken;
}

CheckedGirder TableRun::check(const std::vector<std::string>& row, const RowExtras& extras)
{
    NominalTrials trials;
    return check(row, extras, trials);
}

CheckedGirder TableRun::check(const std::vector<std::string>& row, const RowExtras& extras, NominalTrials& trials)
{
    CheckedGirder girder;
    bool phiTaken = false;
    if (!quiet_ || !pressOverLast(row, extras, phiTaken)) {
        phiTaken = confirmWithPhi(row, extras);
        const bool ran = press(form_, Button::Command5) && press(form_, Button::Command4);
        quiet_ = ran && !form_.hasMessages();
    }
    // A refused cell is the row's message: what the presses showed without
    // its figures would only repeat it.
    girder.message = extras.faults;
    if (girder.message.empty()) {
        appendMessages(girder.message);
    } else {
        (void)form_.takeMessages();
    }
    // The row's cells beyond the header up to the last that is not empty.
    const auto beyond = row.begin() + static_cast<std::ptrdiff_t>(std::min(columnCount_, row.size()));
    const auto extraEnd = std::find_if(row.rbegin(), std::make_reverse_iterator(beyond), [](const std::string& cell) {
                              return !cell.empty();
                          }).base();
    if (extraEnd != beyond) {
        girder.message = rowLongerThanHeaderText();
    }
    if (girder.message.empty()) {
        // A girder holds only when every row was judged: one that could not
        // be is not checked, and says which and why.
        trials.formPressedQuietly(); // every press ran, and none showed a message
        GirderJudgement judged = judgeGirder(form_, extras.measured, trials);
        girder.verdicts = std::move(judged.verdicts);
        girder.leastMargin = judged.leastMargin;
        girder.status = judged.status;
        if (!judged.unjudged.empty()) {
            girder.message = rowsNotJudgedText(judged.unjudged);
        }
    }

    girder.cells.reserve(outputs_.size() + static_cast<std::size_t>(std::distance(beyond, extraEnd)) +
                         extras.moreCells);
    for (const auto& output : outputs_) {
        if (output.column != kNone) {
            girder.cells.push_back(output.column < row.size() ? row[output.column] : std::string());
        } else if (output.slot == kNone) {
            girder.cells.push_back(form_.text(output.field));
        } else if (output.slot == PhiSlot) {
            girder.cells.emplace_back(phiTaken ? "да" : "");
        } else if (output.slot == MarginSlot) {
            girder.cells.push_back(girder.leastMargin ? marginText(*girder.leastMargin) : std::string());
        } else if (output.slot == MessageSlot) {
            girder.cells.push_back(girder.message);
        } else {
            const auto& verdict = girder.verdicts.at(output.slot - FirstVerdictSlot);
            girder.cells.push_back(verdict ? verdict->text : std::string());
        }
    }
    girder.cells.insert(girder.cells.end(), beyond, extraEnd);
    return girder;
}

MapForm TableRun::girderForm(const std::vector<std::string>& row, const RowExtras& extras)
{
    confirmWithPhi(row, extras);
    const std::string text3 = form_.text(Field::Text3);
    const std::string text5 = form_.text(Field::Text5);
    MapForm form;
    for (const auto& [column, field] : inputs_) {
        if (column < row.size() && !row[column].empty()) {
            form.setText(field, row[column]);
        }
    }
    for (const auto& [field, text] : extras.texts) {
        form.setText(field, text);
    }
    form.setText(Field::Text3, text3);
    form.setText(Field::Text5, text5);
    return form;
}

} // namespace prochnar
