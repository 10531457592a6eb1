#pragma once

#include "angles.h"
#include "form.h"
#include "verdicts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// A day of the Gregorian calendar.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
    friend bool operator<(const CalendarDate& a, const CalendarDate& b)
    {
        return a.year != b.year ? a.year < b.year : a.month != b.month ? a.month < b.month : a.day < b.day;
    }
};

// A date as an engineer writes it, "07.12.2026" or "2026-12-07", blanks at
// its ends ignored; none for any other form or a day the calendar does not
// have (31.04, 29.02 of a common year), or a year outside 1800 … 2200.
[[nodiscard]] std::optional<CalendarDate> parseDate(std::string_view text);
// "07.12.2026".
[[nodiscard]] std::string dateText(CalendarDate date);
// The date as a decimal year: year + (day of the year − 1) / days in that year.
[[nodiscard]] double decimalYear(CalendarDate date);

// A flange thickness measured, or the nominal one at installation.
struct ThicknessAt {
    double year = 0; // decimal year
    int tenths = 0;  // 0,1 mm
};

// How long a member kind's flanges may still thin.
struct MemberLife {
    enum class Kind {
        TooFewPoints, // fewer than two points at two different times
        NoThinning,   // the rate is not above zero: "утонение не выявлено"
        NoLimit,      // the inputs give no least thickness to count down to
        Reached,      // the last thickness is at or below the limit
        Years,        // the remaining life in years
    };
    Kind kind = Kind::TooFewPoints;
    double rate = 0;         // mm a year, thinning counted positive (from two points on)
    int limitTenths = 0;     // the least thickness, 0,1 mm (when known)
    int lifeTenths = 0;      // Years: the remaining life, 0,1 year, rounded down
    int replacementYear = 0; // Reached, Years: the year by which to replace the member
};

// The thinning rate of points in time order: the larger of the least-squares
// slope through all of them and the slope between the last two (a corrosion
// that speeds up governs), thinning counted positive, in mm a year. None with
// fewer than two points at different times; the last two at one time give
// the least-squares slope alone.
[[nodiscard]] std::optional<double> thinningRate(const std::vector<ThicknessAt>& points);

// The remaining life of a member kind from its points in time order and its
// least thickness (none when the inputs give none): τ = (tпосл − tпред) / v
// rounded down to 0,1 year; the replacement year is the integer part of the
// last point's decimal year + τ (the last point's year when the limit is
// reached).
[[nodiscard]] MemberLife memberLife(const std::vector<ThicknessAt>& points, std::optional<int> limitTenths);

// The least flange thickness, in tenths, to which a member of the nominal
// angle may thin with the form's other inputs: the angle's area and radius
// are put into the member's section fields of a copy of the form, the three
// steps are pressed again with φ as typed, and the largest of leastFlange()
// over the member's rows is taken (the chord: compressed and tensioned; the
// diagonals: their area, with the force they carry). A demand of the other
// sign counts by its magnitude. The nominal thickness when a row of the
// member does not hold even unthinned; none when the form cannot be computed
// or no row gives a limit.
[[nodiscard]] std::optional<int> nominalFlangeLimit(const Form& form, Member member, const Angle& nominal);
// The same, with the form on the nominal angle counted in trials.
[[nodiscard]] std::optional<int> nominalFlangeLimit(const Form& form, Member member, const Angle& nominal,
                                                    NominalTrials& trials);

// One inspection of a girder: its date, the least flange thickness measured
// on the chords and on the diagonals (0,1 mm; none when not measured), and
// the engineer's note.
struct Inspection {
    CalendarDate date = {};
    std::optional<int> chordTenths = {};
    std::optional<int> diagonalTenths = {};
    std::string note = {};
    friend bool operator==(const Inspection&, const Inspection&) = default;
};

// What a calculation keeps of a girder's history: the nominal catalogue
// angle of each member kind (its position in angleCatalogue(); none when
// not given) and the thickness measured for its section, the year the girder was installed (its flanges then at the
// nominal thickness), and its inspections in any order.
struct GirderHistory {
    std::optional<std::size_t> chordAngle = {};
    std::optional<std::size_t> diagonalAngle = {};
    // The flange thickness (0,1 mm) to which the nominal angle was thinned
    // for the section's figures, when they come from a measurement.
    std::optional<int> chordMeasured = {};
    std::optional<int> diagonalMeasured = {};
    std::optional<int> installed = {};
    std::vector<Inspection> inspections = {};
    [[nodiscard]] std::optional<std::size_t> angleOf(Member member) const
    {
        return member == Member::Chord ? chordAngle : diagonalAngle;
    }
    [[nodiscard]] std::optional<int> measuredOf(Member member) const
    {
        return member == Member::Chord ? chordMeasured : diagonalMeasured;
    }
    [[nodiscard]] bool empty() const { return *this == GirderHistory{}; }
    friend bool operator==(const GirderHistory&, const GirderHistory&) = default;
};

// The sections the history says were measured: each member kind with both
// a nominal angle and a measured thickness, for judgeStep3().
[[nodiscard]] MeasuredSections measuredSections(const GirderHistory& history);

// A member kind's points in time order: (installation year, nominal
// thickness) when both are known, then each inspection that measured it
// from the installation year on, the thinnest last among those of one date.
[[nodiscard]] std::vector<ThicknessAt> thicknessPoints(const GirderHistory& history, Member member);

// Whether a flange thickness measured on date, on a member then of the
// angle `then`, is a reading of the member the girder has now (of the angle
// `now`, installed in `installed`): of the same angle (or of none named),
// and not from before the installation year. A member replaced by another
// angle, or a girder installed anew, leaves its former readings out of its
// life.
[[nodiscard]] bool readsPresentMember(std::optional<std::size_t> then, CalendarDate date,
                                      std::optional<std::size_t> now, std::optional<int> installed);
// Whether an inspection on date was made before the year the girder's
// members were installed: a table refuses the installation year, the
// inspections dialog either, and a life leaves the reading out.
[[nodiscard]] bool inspectedBeforeInstalled(CalendarDate date, std::optional<int> installed);

// The life of a member kind of the girder in form: its points, counted down
// to the least thickness of its nominal angle with the form's inputs (none
// without a nominal angle).
[[nodiscard]] MemberLife lifeOf(const Form& form, const GirderHistory& history, Member member);

// The earliest inspection that measured the member kind thicker than the
// angle, if any: the angle cannot be the member's nominal one.
[[nodiscard]] std::optional<Inspection> inspectionThickerThan(const GirderHistory& history, Member member,
                                                              const Angle& angle);

// The latest inspection by date that measured the member kind, if any.
[[nodiscard]] std::optional<Inspection> latestInspection(const GirderHistory& history, Member member);

// The words for one member kind's life, "пояс", "раскосы" naming it:
// "утонение 0,08 мм/год, предел 3,4 мм, осталось 4,6 года — замена до 2031 г.",
// "утонение не выявлено", "предел 3,4 мм достигнут — замена в 2026 г.", …
[[nodiscard]] std::string memberLifeText(const MemberLife& life);

// The girder's replacement: the earliest of its member kinds, and which
// governs: "замена пояса до 2031 г. (через 4,6 года)", "предел раскосов
// достигнут: замена в 2026 г."; none when neither member kind has a year.
[[nodiscard]] std::optional<std::string> replacementText(const MemberLife& chord, const MemberLife& diagonals);
// The same for a line section's plan, where nothing else stands beside it:
// a member kind whose life is not known (too few points, no limit) is named
// after it with its reason, "замена пояса до 2031 г. (через 4,6 года);
// раскосы: мало точек для скорости утонения"; with neither year, "год
// замены не определен" and both member kinds' reasons. What the life left
// out follows: a member kind's readings of a former member
// (readsPresentMember), "пояс: не учтено осмотров до установки нынешнего
// уголка: 2", and the girder's rows refused for a fault in their cells,
// "не учтено строк с ошибкой: 1"; a girder of such rows alone has no member
// kind's reasons either.
struct LeftOut {
    std::array<std::size_t, 2> formerReadings = {}; // the chord's, the diagonals'
    std::size_t refusedRows = 0;
    bool nothingElse = false; // no row of the girder was counted
};
[[nodiscard]] std::string planReplacementText(const MemberLife& chord, const MemberLife& diagonals,
                                              const LeftOut& leftOut = {});
// The year of that replacement, none when neither member kind has one.
[[nodiscard]] std::optional<int> replacementYear(const MemberLife& chord, const MemberLife& diagonals);
// The year and the member kind that governs, as a table's cell: "2031
// (пояс)", "2026 (раскосы, предел достигнут)"; empty when there is none.
[[nodiscard]] std::string replacementYearText(const MemberLife& chord, const MemberLife& diagonals);

// A thinning rate in mm a year to 0,001, zeros beyond the second decimal
// dropped: "0,08", "0,125"; a life in tenths of a year: "4,6".
[[nodiscard]] std::string rateText(double rate);
[[nodiscard]] std::string lifeYearsText(int tenths);

} // namespace prochnar
