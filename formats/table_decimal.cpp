#include "formats/table_decimal.h"

#include "calc/convert.h"
#include "formats/csv_table.h"
#include "formats/table_life.h"

#include <sstream>

namespace prochnar {

DecimalVote::DecimalVote(const std::vector<std::string>& header) : numbers_{numberColumns(header)}, header_{header} {}

void DecimalVote::add(const std::vector<std::string>& row, std::size_t line)
{
    std::size_t commas = 0;
    std::size_t points = 0;
    std::optional<NumberCell> comma;
    std::optional<NumberCell> point;
    bool pointSecond = false; // the row's first point after its first comma
    for (const std::size_t column : numbers_) {
        if (column >= row.size()) {
            break;
        }
        const DecimalMark mark = decimalMarkOf(row[column]);
        if (mark == DecimalMark::None) {
            continue;
        }
        // A cell is kept only as the first of its kind in the row: most are counted alone.
        const auto cell = [&] { return NumberCell{.line = line, .column = header_[column], .text = row[column]}; };
        if (mark == DecimalMark::Grouped) {
            if (!doubt_) {
                doubt_ = DecimalDoubt{.grouped = true, .cell = cell()};
            }
            return;
        }
        std::optional<NumberCell>& first = mark == DecimalMark::Comma ? comma : point;
        ++(mark == DecimalMark::Comma ? commas : points);
        if (!first) {
            pointSecond = pointSecond || (mark == DecimalMark::Point && comma);
            first = cell();
        }
    }
    if (doubt_ || commas + points == 0) {
        return;
    }
    if (commas == points) {
        // As many of both: named, the one that came second.
        doubt_ = DecimalDoubt{.grouped = false,
                              .cell = pointSecond ? *point : *comma,
                              .point = pointSecond,
                              .other = pointSecond ? *comma : *point};
        return;
    }
    const bool pointRow = points > commas;
    std::optional<NumberCell>& kept = pointRow ? pointRow_ : commaRow_;
    if (!kept) {
        kept = pointRow ? point : comma;
    }
    if (commaRow_ && pointRow_) {
        doubt_ = DecimalDoubt{
            .grouped = false, .cell = *kept, .point = pointRow, .other = pointRow ? *commaRow_ : *pointRow_};
    }
}

DecimalDecision DecimalVote::decision() const
{
    if (doubt_) {
        return {.separator = DecimalSeparator::Comma, .doubt = doubt_};
    }
    return {.separator = pointRow_ ? DecimalSeparator::Point : DecimalSeparator::Comma};
}

namespace {

DecimalDecision decideFrom(std::istream& in, bool cut)
{
    CsvReader reader(in);
    std::vector<std::string> header;
    std::vector<std::string> row;
    std::vector<std::string> held;
    std::size_t heldLine = 0;
    bool holding = false;
    std::optional<DecimalVote> vote;
    try {
        if (!reader.next(header)) {
            return {};
        }
        vote.emplace(header);
        // A row is counted once the next is read: the last one of a cut head
        // may be cut short.
        while (reader.next(row)) {
            if (holding) {
                vote->add(held, heldLine);
            }
            std::swap(held, row);
            heldLine = reader.recordLine();
            holding = true;
        }
        if (holding && !cut) {
            vote->add(held, heldLine);
        }
    } catch (const CsvError&) {
        // The rows before a fault decide; the check reports the fault.
        if (holding) {
            vote->add(held, heldLine);
        }
    }
    return vote ? vote->decision() : DecimalDecision{};
}

} // namespace

DecimalDecision decideDecimal(std::istream& in) { return decideFrom(in, false); }

DecimalDecision decideDecimal(std::istream& in, std::size_t limit, std::string& head)
{
    head.assign(limit, '\0');
    in.read(head.data(), static_cast<std::streamsize>(limit));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::istringstream text(head);
    return decideFrom(text, head.size() == limit);
}

} // namespace prochnar
