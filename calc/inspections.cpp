#include "inspections.h"

#include "convert.h"
#include "fields.h"
#include "map_form.h"
#include "messages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace prochnar {

namespace {

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month)
{
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// The digits of text[from, from + count) as a number; none if any is not a digit.
std::optional<int> digitsAt(std::string_view text, std::size_t from, std::size_t count)
{
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string tenthsText(int tenths) { return fixedText(tenths, 1); }

} // namespace

std::string rateText(double rate)
{
    std::string text = fixedText(std::llround(rate * 1000), 3);
    if (text.back() == '0') {
        text.pop_back();
    }
    return text;
}

std::string lifeYearsText(int tenths) { return tenthsText(tenths); }

std::optional<CalendarDate> parseDate(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, last - first + 1);
    if (text.size() != 10) {
        return std::nullopt;
    }
    std::optional<int> day, month, year;
    if (text[2] == '.' && text[5] == '.') {
        day = digitsAt(text, 0, 2);
        month = digitsAt(text, 3, 2);
        year = digitsAt(text, 6, 4);
    } else if (text[4] == '-' && text[7] == '-') {
        year = digitsAt(text, 0, 4);
        month = digitsAt(text, 5, 2);
        day = digitsAt(text, 8, 2);
    }
    if (!day || !month || !year || *year < 1800 || *year > 2200 || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return CalendarDate{.year = *year, .month = *month, .day = *day};
}

std::string dateText(CalendarDate date)
{
    const auto two = [](int value) { return std::string(value < 10 ? "0" : "") + std::to_string(value); };
    return two(date.day) + "." + two(date.month) + "." + std::to_string(date.year);
}

double decimalYear(CalendarDate date)
{
    int dayOfYear = date.day;
    for (int month = 1; month < date.month; ++month) {
        dayOfYear += daysInMonth(date.year, month);
    }
    const int days = leapYear(date.year) ? 366 : 365;
    return date.year + static_cast<double>(dayOfYear - 1) / days;
}

std::optional<double> thinningRate(const std::vector<ThicknessAt>& points)
{
    if (points.size() < 2) {
        return std::nullopt;
    }
    double meanYear = 0;
    double meanMm = 0;
    for (const ThicknessAt& point : points) {
        meanYear += point.year;
        meanMm += point.tenths / 10.0;
    }
    meanYear /= static_cast<double>(points.size());
    meanMm /= static_cast<double>(points.size());
    double covariance = 0;
    double spread = 0;
    for (const ThicknessAt& point : points) {
        covariance += (point.year - meanYear) * (point.tenths / 10.0 - meanMm);
        spread += (point.year - meanYear) * (point.year - meanYear);
    }
    if (!(spread > 0)) {
        return std::nullopt; // every point at one time
    }
    double rate = -covariance / spread;
    const ThicknessAt& before = points[points.size() - 2];
    const ThicknessAt& last = points.back();
    if (last.year > before.year) {
        rate = std::max(rate, (before.tenths - last.tenths) / 10.0 / (last.year - before.year));
    }
    return rate;
}

MemberLife memberLife(const std::vector<ThicknessAt>& points, std::optional<int> limitTenths)
{
    using enum MemberLife::Kind;
    MemberLife life;
    const std::optional<double> rate = thinningRate(points);
    if (!rate) {
        return life;
    }
    life.rate = *rate;
    if (!(*rate > 0)) {
        life.kind = NoThinning;
        return life;
    }
    if (!limitTenths) {
        life.kind = NoLimit;
        return life;
    }
    life.limitTenths = *limitTenths;
    const ThicknessAt& last = points.back();
    if (last.tenths <= *limitTenths) {
        life.kind = Reached;
        life.replacementYear = static_cast<int>(std::floor(last.year));
        return life;
    }
    const double years = (last.tenths - *limitTenths) / 10.0 / *rate;
    // Rounded down to 0,1 year; a quotient one rounding below a tenth is that tenth.
    life.lifeTenths = static_cast<int>(std::floor(years * 10 + 1e-9));
    life.kind = Years;
    life.replacementYear = static_cast<int>(std::floor(last.year + life.lifeTenths / 10.0));
    return life;
}

std::optional<int> nominalFlangeLimit(const Form& form, Member member, const Angle& nominal)
{
    NominalTrials trials;
    return nominalFlangeLimit(form, member, nominal, trials);
}

std::optional<int> nominalFlangeLimit(const Form& form, Member member, const Angle& nominal, NominalTrials& trials)
{
    const Form* trial = trials.trial(form, member, nominal);
    if (trial == nullptr) {
        return std::nullopt;
    }
    std::optional<int> limit;
    for (const Step3Row& row : kStep3Rows) {
        if (!belongsTo(row, member)) {
            continue;
        }
        const std::optional<VerdictKind> kind =
            judgedKind(magnitude(trial->text(row.demand)), trial->text(row.capacity));
        if (!kind) {
            return std::nullopt;
        }
        if (*kind != VerdictKind::Holds) {
            return nominal.thicknessTenths; // short already unthinned
        }
        // The force of a diagonal is counted with their area.
        if (const std::optional<FlangeLimit> found = trials.rowLimit(form, row, nominal)) {
            limit = std::max(limit.value_or(0), found->tenths);
        }
    }
    return limit;
}

MeasuredSections measuredSections(const GirderHistory& history)
{
    MeasuredSections measured;
    for (const Member member : kMembers) {
        const std::optional<std::size_t> angle = history.angleOf(member);
        const std::optional<int> tenths = history.measuredOf(member);
        if (angle && tenths) {
            (member == Member::Chord ? measured.chord : measured.diagonals) =
                MeasuredSection{.angle = *angle, .tenths = *tenths};
        }
    }
    return measured;
}

std::vector<ThicknessAt> thicknessPoints(const GirderHistory& history, Member member)
{
    std::vector<ThicknessAt> points;
    points.reserve(history.inspections.size() + 1);
    const std::optional<std::size_t> angle = history.angleOf(member);
    if (history.installed && angle) {
        points.push_back(
            {.year = static_cast<double>(*history.installed), .tenths = angleCatalogue()[*angle].thicknessTenths});
    }
    const std::size_t first = points.size();
    for (const Inspection& inspection : history.inspections) {
        const std::optional<int> tenths = member == Member::Chord ? inspection.chordTenths : inspection.diagonalTenths;
        // A reading from before the installation was of a former member.
        if (tenths && readsPresentMember(std::nullopt, inspection.date, angle, history.installed)) {
            points.push_back({.year = decimalYear(inspection.date), .tenths = *tenths});
        }
    }
    // In date order (a decimal year grows with the date), and in one date
    // the thinnest last: whatever order two readings of one day come in, the
    // life counts down from the worse. Sorted in place, a girder having a
    // handful: a row of a table asks for its points twice.
    const auto before = [](const ThicknessAt& a, const ThicknessAt& b) {
        return a.year != b.year ? a.year < b.year : a.tenths > b.tenths;
    };
    for (std::size_t i = first + 1; i < points.size(); ++i) {
        for (std::size_t j = i; j > first && before(points[j], points[j - 1]); --j) {
            std::swap(points[j - 1], points[j]);
        }
    }
    return points;
}

bool readsPresentMember(std::optional<std::size_t> then, CalendarDate date, std::optional<std::size_t> now,
                        std::optional<int> installed)
{
    return (!then || then == now) && !inspectedBeforeInstalled(date, installed);
}

bool inspectedBeforeInstalled(CalendarDate date, std::optional<int> installed)
{
    return installed && date.year < *installed;
}

MemberLife lifeOf(const Form& form, const GirderHistory& history, Member member)
{
    const std::optional<std::size_t> angle = history.angleOf(member);
    const std::optional<int> limit =
        angle ? nominalFlangeLimit(form, member, angleCatalogue()[*angle]) : std::optional<int>();
    return memberLife(thicknessPoints(history, member), limit);
}

std::optional<Inspection> inspectionThickerThan(const GirderHistory& history, Member member, const Angle& angle)
{
    std::optional<Inspection> thicker;
    for (const Inspection& inspection : history.inspections) {
        const std::optional<int> tenths = member == Member::Chord ? inspection.chordTenths : inspection.diagonalTenths;
        if (tenths > angle.thicknessTenths && (!thicker || inspection.date < thicker->date)) {
            thicker = inspection;
        }
    }
    return thicker;
}

std::optional<Inspection> latestInspection(const GirderHistory& history, Member member)
{
    std::optional<Inspection> latest;
    for (const Inspection& inspection : history.inspections) {
        const bool measured =
            member == Member::Chord ? inspection.chordTenths.has_value() : inspection.diagonalTenths.has_value();
        if (measured && (!latest || !(inspection.date < latest->date))) {
            latest = inspection;
        }
    }
    return latest;
}

std::string memberLifeText(const MemberLife& life)
{
    using enum MemberLife::Kind;
    switch (life.kind) {
    case TooFewPoints:
        return "мало точек для скорости утонения";
    case NoThinning:
        return "утонение не выявлено";
    case NoLimit:
        return "утонение " + rateText(life.rate) + " мм/год, предел толщины не определен";
    case Reached:
        return "утонение " + rateText(life.rate) + " мм/год, предел " + tenthsText(life.limitTenths) +
               " мм достигнут — замена в " + std::to_string(life.replacementYear) + " г.";
    case Years:
        return "утонение " + rateText(life.rate) + " мм/год, предел " + tenthsText(life.limitTenths) +
               " мм, осталось " + tenthsText(life.lifeTenths) + " года — замена до " +
               std::to_string(life.replacementYear) + " г.";
    }
    return {};
}

namespace {

bool dated(const MemberLife& life)
{
    return life.kind == MemberLife::Kind::Reached || life.kind == MemberLife::Kind::Years;
}

// Whether the chord's replacement governs the girder's: the earlier year; in
// one year, a reached limit, then the shorter life. Both must not be undated.
bool chordGoverns(const MemberLife& chord, const MemberLife& diagonals)
{
    if (!dated(chord) || !dated(diagonals)) {
        return dated(chord);
    }
    if (chord.replacementYear != diagonals.replacementYear) {
        return chord.replacementYear < diagonals.replacementYear;
    }
    const auto life = [](const MemberLife& a) { return a.kind == MemberLife::Kind::Reached ? -1 : a.lifeTenths; };
    return life(chord) <= life(diagonals);
}

} // namespace

std::optional<std::string> replacementText(const MemberLife& chord, const MemberLife& diagonals)
{
    using enum MemberLife::Kind;
    if (!dated(chord) && !dated(diagonals)) {
        return std::nullopt;
    }
    const bool byChord = chordGoverns(chord, diagonals);
    const MemberLife& governing = byChord ? chord : diagonals;
    const std::string year = std::to_string(governing.replacementYear);
    std::string text;
    text.reserve(96); // the longest, with its Cyrillic letters of two bytes, is some 70
    if (governing.kind == Reached) {
        text.append(byChord ? "предел пояса" : "предел раскосов")
            .append(" достигнут: замена в ")
            .append(year)
            .append(" г.");
        return text;
    }
    text.append(byChord ? "замена пояса" : "замена раскосов")
        .append(" до ")
        .append(year)
        .append(" г. (через ")
        .append(tenthsText(governing.lifeTenths))
        .append(" года)");
    return text;
}

std::string planReplacementText(const MemberLife& chord, const MemberLife& diagonals, const LeftOut& leftOut)
{
    using enum MemberLife::Kind;
    const std::array<const MemberLife*, 2> lives{&chord, &diagonals};
    const std::optional<std::string> replacement = replacementText(chord, diagonals);
    std::string text = replacement ? *replacement : std::string("год замены не определен");
    for (std::size_t m = 0; m < lives.size(); ++m) {
        // Without a year each reason counts; beside one, only a life not known.
        const MemberLife::Kind kind = lives.at(m)->kind;
        if (!leftOut.nothingElse && (!replacement || kind == TooFewPoints || kind == NoLimit)) {
            text.append("; ").append(memberLifeNoteText(m == 0, memberLifeText(*lives.at(m))));
        }
    }
    for (std::size_t m = 0; m < lives.size(); ++m) {
        if (const std::size_t former = leftOut.formerReadings.at(m); former > 0) {
            text.append("; ").append(memberLifeNoteText(m == 0, "не учтено осмотров до установки нынешнего уголка: " +
                                                                    std::to_string(former)));
        }
    }
    if (leftOut.refusedRows > 0) {
        text.append("; не учтено строк с ошибкой: ").append(std::to_string(leftOut.refusedRows));
    }
    return text;
}

std::optional<int> replacementYear(const MemberLife& chord, const MemberLife& diagonals)
{
    if (!dated(chord) && !dated(diagonals)) {
        return std::nullopt;
    }
    return (chordGoverns(chord, diagonals) ? chord : diagonals).replacementYear;
}

std::string replacementYearText(const MemberLife& chord, const MemberLife& diagonals)
{
    const std::optional<int> year = replacementYear(chord, diagonals);
    if (!year) {
        return {};
    }
    const bool byChord = chordGoverns(chord, diagonals);
    const bool reached = (byChord ? chord : diagonals).kind == MemberLife::Kind::Reached;
    return std::to_string(*year) + (byChord ? " (пояс" : " (раскосы") + (reached ? ", предел достигнут)" : ")");
}

} // namespace prochnar
