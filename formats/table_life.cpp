#include "formats/table_life.h"

#include "calc/angles.h"
#include "calc/convert.h"
#include "calc/fields.h"
#include "calc/messages.h"
#include "formats/girder_history.h"
#include "formats/girder_identity.h"

#include <algorithm>

namespace prochnar {

namespace {

// The first column of the name, if any.
std::size_t columnNamed(const std::vector<std::string>& columns, std::string_view name, std::size_t none)
{
    const auto found = std::find(columns.begin(), columns.end(), name);
    return found == columns.end() ? none : static_cast<std::size_t>(found - columns.begin());
}

void appendMessage(std::string& to, std::string_view text)
{
    to += to.empty() ? "" : "; ";
    to += text;
}

} // namespace

bool isNumberColumn(std::string_view name)
{
    return fieldFromName(name) || name == kChordThicknessColumn || name == kDiagonalThicknessColumn;
}

std::vector<std::size_t> numberColumns(const std::vector<std::string>& header)
{
    std::vector<std::size_t> numbers;
    for (std::size_t column = 0; column < header.size(); ++column) {
        if (isNumberColumn(header[column])) {
            numbers.push_back(column);
        }
    }
    return numbers;
}

TableLife::TableLife(const std::vector<std::string>& columns, DecimalSeparator separator,
                     std::optional<CalendarDate> today)
    : run_{columns}, header_{run_.header()}, numberColumns_{numberColumns(columns)}, today_{today}
{
    const std::array<std::string_view, 2> angleNames{kChordAngleColumn, kDiagonalAngleColumn};
    const std::array<std::string_view, 2> thicknessNames{kChordThicknessColumn, kDiagonalThicknessColumn};
    for (std::size_t m = 0; m < kMembers.size(); ++m) {
        MemberColumns& member = members_.at(m);
        member.angle = columnNamed(columns, angleNames.at(m), kNone);
        member.thickness = columnNamed(columns, thicknessNames.at(m), kNone);
        const SectionFields section = sectionFields(kMembers.at(m));
        member.area = columnNamed(columns, fieldName(section.area), kNone);
        member.radius = columnNamed(columns, fieldName(section.radius), kNone);
        measured_ = measured_ || member.angle != kNone || member.thickness != kNone;
    }
    installed_ = columnNamed(columns, kInstalledColumn, kNone);
    measured_ = measured_ || installed_ != kNone;
    date_ = columnNamed(columns, kInspectedColumn, kNone);
    section_ = columnNamed(columns, kSectionColumn, kNone);
    support_ = columnNamed(columns, kSupportColumn, kNone);
    km_ = columnNamed(columns, kKmColumn, kNone);
    message_ = columnNamed(header_, kMessageColumn, kNone);
    appendedAt_ = header_.size();
    separator_ = separator;
    if (!measured_) {
        fillNumberCells(columns.size());
        return;
    }
    // A life column the table already has (one written by an earlier run)
    // is filled in its place; the others follow the result columns.
    std::size_t appended = 0;
    for (std::size_t i = 0; i < kLifeColumns.size(); ++i) {
        const std::size_t own = columnNamed(columns, kLifeColumns.at(i), kNone);
        lifeAt_.at(i) = own != kNone ? own : appendedAt_ + appended++;
        if (own == kNone) {
            header_.emplace_back(kLifeColumns.at(i));
        }
    }
    fillNumberCells(columns.size());
}

void TableLife::fillNumberCells(std::size_t inputs)
{
    inputCount_ = inputs;
    for (std::size_t i = 0; i < header_.size(); ++i) {
        const std::string& name = header_[i];
        // The rates and lives; the year of replacement is no decimal.
        const bool life = measured_ && std::find(lifeAt_.begin(), lifeAt_.end() - 1, i) != lifeAt_.end() - 1;
        if (fieldFromName(name)) {
            numberCells_.emplace_back(i, NumberCellKind::Field);
        } else if (i < inputs && isNumberColumn(name)) {
            numberCells_.emplace_back(i, NumberCellKind::Own);
        } else if (name == kMarginColumn || life) {
            numberCells_.emplace_back(i, NumberCellKind::Result);
        }
    }
}

const std::vector<std::string>& TableLife::commaRow(const std::vector<std::string>& row, std::string& slips)
{
    if (separator_ == DecimalSeparator::Comma) {
        return row;
    }
    commaRow_ = row;
    for (const std::size_t column : numberColumns_) {
        if (column >= row.size()) {
            break;
        }
        if (row[column].find(',') != std::string::npos) {
            // The first names the slip; the row's other cells are as likely.
            if (slips.empty()) {
                slips = fieldMessageText(header_[column], row[column], otherSeparatorText(true));
            }
        } else {
            commaRow_[column] = withDecimalComma(row[column]);
        }
    }
    return commaRow_;
}

void TableLife::pointCells(const std::vector<std::string>& row, std::vector<std::string>& cells) const
{
    for (const auto& [at, kind] : numberCells_) {
        const std::string_view own =
            at < std::min(inputCount_, row.size()) ? std::string_view(row[at]) : std::string_view();
        // The row's own cell, and a field's as it was written when the form
        // kept it; the program's numbers with the point.
        const bool asWritten = kind == NumberCellKind::Own ||
                               (kind == NumberCellKind::Field && !own.empty() && withDecimalComma(own) == cells[at]);
        if (asWritten) {
            cells[at] = own;
        } else {
            cells[at] = withSeparator(std::move(cells[at]), DecimalSeparator::Point);
        }
    }
}

std::optional<std::size_t> TableLife::angleOf(std::string_view designation)
{
    constexpr std::size_t kKept = 64;
    const auto known = std::find_if(angleNames_.begin(), angleNames_.end(),
                                    [designation](const auto& name) { return name.first == designation; });
    if (known != angleNames_.end()) {
        return known->second;
    }
    const std::optional<std::size_t> angle = angleNamed(designation);
    if (angleNames_.size() < kKept) {
        angleNames_.emplace_back(designation, angle);
    }
    return angle;
}

TableLife::Measurements TableLife::readMeasurements(const std::vector<std::string>& row, bool dated)
{
    const auto cell = [&row](std::size_t column) {
        return column < row.size() ? trimmedCell(row[column]) : std::string_view();
    };
    Measurements read;
    RowExtras& extras = read.extras;
    // An inspection not yet made: a slip of the year.
    const auto afterToday = [this](const std::optional<CalendarDate>& date) {
        return date && today_ && *today_ < *date;
    };
    const auto refuse = [&](std::size_t column, MeasurementFault fault) {
        appendMessage(extras.faults, fieldMessageText(header_[column], row[column], measurementFaultText(fault)));
    };
    auto& angles = read.angles;
    auto& measured = read.measured;
    auto& date = read.date;
    auto& installed = read.installed;
    if (measured_) {
        extras.texts.reserve(2 * kMembers.size()); // each member's area and radius
        for (std::size_t m = 0; m < kMembers.size(); ++m) {
            const MemberColumns& columns = members_.at(m);
            const std::string_view angleCell = cell(columns.angle);
            const std::string_view thicknessCell = cell(columns.thickness);
            const std::size_t faultsBefore = extras.faults.size();
            if (!angleCell.empty() && !(angles.at(m) = angleOf(angleCell))) {
                refuse(columns.angle, MeasurementFault::UnknownAngle);
            }
            std::optional<Angle> figures;
            if (angles.at(m)) {
                figures = angleCatalogue()[*angles.at(m)];
            }
            if (!thicknessCell.empty()) {
                measured.at(m) = thicknessTenths(thicknessCell);
                if (!measured.at(m)) {
                    refuse(columns.thickness, MeasurementFault::NotAThickness);
                } else if (angleCell.empty()) {
                    refuse(columns.thickness, MeasurementFault::WithoutAngle);
                } else if (figures && !(figures = thinnedAngle(*figures, *measured.at(m)))) {
                    refuse(columns.thickness, MeasurementFault::AboveNominal);
                }
            }
            if (!angleCell.empty() || !thicknessCell.empty()) {
                const std::size_t given = !thicknessCell.empty() ? columns.thickness : columns.angle;
                for (const std::size_t twice : {columns.area, columns.radius}) {
                    if (!cell(twice).empty()) {
                        appendMessage(extras.faults, sectionGivenTwiceText(header_[given], header_[twice]));
                        break;
                    }
                }
            }
            if (figures && extras.faults.size() == faultsBefore) {
                const SectionFields section = sectionFields(kMembers.at(m));
                extras.texts.emplace_back(section.area, areaText(*figures));
                extras.texts.emplace_back(section.radius, radiusText(*figures));
                if (measured.at(m)) {
                    (m == 0 ? extras.measured.chord : extras.measured.diagonals) =
                        MeasuredSection{.angle = *angles.at(m), .tenths = *measured.at(m)};
                }
            }
        }
        if (!cell(date_).empty() && !(date = parseDate(cell(date_)))) {
            refuse(date_, MeasurementFault::NoSuchDate);
        } else if (afterToday(date)) {
            refuse(date_, MeasurementFault::AfterToday);
            date.reset();
        }
        if (!cell(installed_).empty()) {
            const std::optional<CalendarDate> year = parseDate("01.01." + std::string(cell(installed_)));
            if (!year) {
                refuse(installed_, MeasurementFault::NotAYear);
            } else if (date && inspectedBeforeInstalled(*date, year->year)) {
                refuse(installed_, MeasurementFault::AfterInspection);
            } else {
                installed = year->year;
            }
        }
    } else if (dated && !cell(date_).empty()) {
        date = parseDate(cell(date_));
        if (afterToday(date)) {
            date.reset();
        }
    }

    return read;
}

GirderHistory TableLife::Measurements::history() const
{
    GirderHistory history{.chordAngle = angles[0],
                          .diagonalAngle = angles[1],
                          .chordMeasured = angles[0] ? measured[0] : std::nullopt,
                          .diagonalMeasured = angles[1] ? measured[1] : std::nullopt,
                          .installed = installed,
                          .inspections = {}};
    if (date) {
        history.inspections.push_back(
            {.date = *date, .chordTenths = measured[0], .diagonalTenths = measured[1], .note = {}});
    }
    return history;
}

CheckedGirder TableLife::check(const std::vector<std::string>& given, PlanPoint* point)
{
    std::string slips;
    const std::vector<std::string>& row = commaRow(given, slips);
    const auto cell = [&row](std::size_t column) {
        return column < row.size() ? trimmedCell(row[column]) : std::string_view();
    };
    Measurements read = readMeasurements(row, point != nullptr);
    read.extras.moreCells = measured_ ? kLifeColumns.size() : 0;
    if (!slips.empty()) {
        if (!read.extras.faults.empty()) {
            appendMessage(slips, read.extras.faults);
        }
        read.extras.faults = std::move(slips);
    }
    const RowExtras& extras = read.extras;
    const auto& angles = read.angles;
    const auto& measured = read.measured;
    const auto& date = read.date;
    const auto& installed = read.installed;
    NominalTrials trials(&lastNominals_); // the nominal angles' forms, counted once for the verdicts and the lives
    CheckedGirder girder = run_.check(row, extras, trials);
    const bool refused = !extras.faults.empty();
    std::array<std::optional<int>, 2> limits{};
    if (measured_) {
        std::array<MemberLife, 2> lives{};
        std::array<std::string, kLifeColumns.size()> texts{};
        for (std::size_t m = 0; m < kMembers.size() && !refused; ++m) {
            std::vector<std::string_view> missing;
            if (!angles.at(m)) {
                missing.push_back(m == 0 ? kChordAngleColumn : kDiagonalAngleColumn);
            }
            if (!measured.at(m)) {
                missing.push_back(m == 0 ? kChordThicknessColumn : kDiagonalThicknessColumn);
            }
            if (!date) {
                missing.push_back(kInspectedColumn);
            }
            if (!installed) {
                missing.push_back(kInstalledColumn);
            }
            // The limit is counted for a life, or for the plan.
            if (angles.at(m) && (missing.empty() || point != nullptr)) {
                limits.at(m) = nominalFlangeLimit(run_.form(), kMembers.at(m), angleCatalogue()[*angles.at(m)], trials);
            }
            if (!missing.empty()) {
                appendMessage(girder.message, lifeNotCountedText(m == 0, missing));
                continue;
            }
            GirderHistory history;
            (m == 0 ? history.chordAngle : history.diagonalAngle) = angles.at(m);
            history.installed = installed;
            history.inspections.push_back({.date = *date,
                                           .chordTenths = m == 0 ? measured.at(m) : std::nullopt,
                                           .diagonalTenths = m == 1 ? measured.at(m) : std::nullopt});
            const MemberLife& life = lives.at(m) = memberLife(thicknessPoints(history, kMembers.at(m)), limits.at(m));
            using enum MemberLife::Kind;
            if (life.kind != TooFewPoints) {
                texts.at(2 * m) = rateText(life.rate);
            }
            if (life.kind == Years || life.kind == Reached) {
                texts.at(2 * m + 1) = lifeYearsText(life.kind == Years ? life.lifeTenths : 0);
            } else if (life.kind != NoThinning) {
                appendMessage(girder.message, memberLifeNoteText(m == 0, memberLifeText(life)));
            }
        }
        texts.back() = replacementYearText(lives[0], lives[1]);
        if (message_ != kNone) {
            girder.cells[message_] = girder.message;
        }
        for (std::size_t i = 0; i < kLifeColumns.size(); ++i) {
            if (lifeAt_.at(i) < appendedAt_) {
                girder.cells[lifeAt_.at(i)] = std::move(texts.at(i));
            }
        }
        std::size_t at = appendedAt_;
        for (std::size_t i = 0; i < kLifeColumns.size(); ++i) {
            if (lifeAt_.at(i) >= appendedAt_) {
                girder.cells.insert(girder.cells.begin() + static_cast<std::ptrdiff_t>(at++), std::move(texts.at(i)));
            }
        }
    }
    if (point != nullptr) {
        *point = {.counts = !refused && !cell(support_).empty(),
                  .section = std::string(cell(section_)),
                  .support = std::string(cell(support_)),
                  .km = std::string(cell(km_)),
                  .date = date,
                  .installed = installed,
                  .angle = angles,
                  .measured = measured,
                  .limit = limits};
    }
    if (separator_ == DecimalSeparator::Point) {
        pointCells(given, girder.cells);
    }
    return girder;
}

TableLife::Girder TableLife::girder(const std::vector<std::string>& given)
{
    std::string slips;
    const std::vector<std::string>& row = commaRow(given, slips);
    const Measurements read = readMeasurements(row, false);
    const bool refused = !read.extras.faults.empty() || !slips.empty();
    return {.form = run_.girderForm(row, read.extras),
            .history = measured_ && !refused ? read.history() : GirderHistory{}};
}

bool TableLife::ofGirder(const std::vector<std::string>& row, std::string_view section, std::string_view support) const
{
    const auto cell = [&row](std::size_t column) {
        return column < row.size() ? trimmedCell(row[column]) : std::string_view();
    };
    return support_ != kNone && cell(support_) == support && cell(section_) == section;
}

std::optional<TableLife::Girder> TableLife::girderOfRows(const std::vector<std::vector<std::string>>& rows)
{
    // The latest as the plan keeps it.
    std::optional<std::size_t> latest;
    std::optional<CalendarDate> latestDate;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string slips;
        const Measurements read = readMeasurements(commaRow(rows[i], slips), true);
        if (!read.extras.faults.empty() || !slips.empty()) {
            continue; // a refused row is none of the plan's
        }
        const std::optional<CalendarDate>& date = read.date;
        if (takesOverAsLatest(latestDate, date)) {
            latest = i;
            latestDate = date ? date : latestDate;
        }
    }
    if (!latest) {
        return std::nullopt;
    }
    Girder opened = girder(rows[*latest]);
    opened.row = *latest;
    GirderHistory& kept = opened.history;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == *latest) {
            continue;
        }
        const GirderHistory history = girder(rows[i]).history;
        for (Inspection inspection : history.inspections) {
            // A reading of a former member is not one of the girder's now, as in the plan.
            for (const Member member : kMembers) {
                std::optional<int>& tenths =
                    member == Member::Chord ? inspection.chordTenths : inspection.diagonalTenths;
                if (tenths && !readsPresentMember(history.angleOf(member), inspection.date, kept.angleOf(member),
                                                  kept.installed)) {
                    tenths.reset();
                }
            }
            kept.inspections.push_back(std::move(inspection));
        }
    }
    return opened;
}

} // namespace prochnar
