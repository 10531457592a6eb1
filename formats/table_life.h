#pragma once

#include "calc/decimal.h"
#include "calc/inspections.h"
#include "calc/table_run.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace prochnar {

// A table of girders may carry what an inspection measured: each member
// kind's nominal angle of the catalogue and the least flange thickness
// measured (mm, comma decimal), the date of the inspection (kInspectedColumn)
// and the year the girder was installed.
inline constexpr std::string_view kChordAngleColumn = "Уголок пояса";
inline constexpr std::string_view kDiagonalAngleColumn = "Уголок раскосов";
inline constexpr std::string_view kChordThicknessColumn = "t пояса, мм";
inline constexpr std::string_view kDiagonalThicknessColumn = "t раскосов, мм";
inline constexpr std::string_view kInstalledColumn = "Год установки";

// Whether a column's cells are read as numbers: a field's, or a measured
// thickness. Their separator is the table's (formats/table_decimal.h).
[[nodiscard]] bool isNumberColumn(std::string_view name);
// The places of a header's number columns, in order.
[[nodiscard]] std::vector<std::size_t> numberColumns(const std::vector<std::string>& header);

// The columns a table with those columns gets after the result columns:
// each member kind's thinning rate and remaining life, and the year of the
// girder's replacement with the member kind that governs.
inline constexpr std::array<std::string_view, 5> kLifeColumns{
    "Скорость утонения пояса, мм/год",
    "Срок пояса, лет",
    "Скорость утонения раскосов, мм/год",
    "Срок раскосов, лет",
    "Год замены",
};

// Whether a girder's row dated `date` becomes its latest inspection's in
// place of the row kept, dated `kept` (none while no dated row is kept): a
// dated row takes over from one of the same date or earlier, and any row
// from the rows before the first dated one.
[[nodiscard]] inline bool takesOverAsLatest(const std::optional<CalendarDate>& kept,
                                            const std::optional<CalendarDate>& date)
{
    return !kept || (date && !(*date < *kept));
}

// What one row tells the plan of its line section: which girder, when it
// was inspected and what was measured, the nominal angles and the least
// thickness each may thin to with the row's inputs (index 0 the chord, 1
// the diagonals).
struct PlanPoint {
    // The row names a support and no measurement cell was refused; a refused
    // row that names one is counted as left out of its girder.
    bool counts = false;
    std::string section = {};
    std::string support = {};
    std::string km = {};
    std::optional<CalendarDate> date = {};
    std::optional<int> installed = {};
    std::array<std::optional<std::size_t>, 2> angle = {};
    std::array<std::optional<int>, 2> measured = {};
    std::array<std::optional<int>, 2> limit = {};
};

// Checks rows as TableRun does and, when the header has any of the angle,
// thickness or installation columns, reads them: an angle fills its
// section's area and radius (the nominal angle's figures, or those of the
// angle thinned to the thickness measured, as the catalogue dialog does),
// and the row gets the life columns, counted from the installation (the
// nominal thickness) and this inspection by memberLife, down to the nominal
// angle's least thickness with the row's inputs. A cell that cannot be read,
// or a section given both by a measurement and by its area or radius, is
// the row's message and the girder is not checked; a life that cannot be
// counted is empty, its reason in the message. Without those columns rows
// come out as TableRun writes them.
//
// Given today, an inspection dated after it is refused as a date that
// cannot be (and, in a table without the measurement columns, not read for
// the plan): a slip of the year would otherwise move the plan's horizon.
//
// A table whose numbers use the decimal point (DecimalSeparator::Point) has
// each number cell turned into the comma form before its row is checked, so
// that it is calculated exactly as typed in the window; a number cell with a
// comma is then the row's message. Its checked rows keep the row's own texts
// and give the program's numbers (the fields, the margin, the rates and
// lives) with the point.
class TableLife {
public:
    explicit TableLife(const std::vector<std::string>& columns, DecimalSeparator separator = DecimalSeparator::Comma,
                       std::optional<CalendarDate> today = std::nullopt);

    [[nodiscard]] const std::vector<std::string>& header() const { return header_; }
    [[nodiscard]] bool measured() const { return measured_; }
    [[nodiscard]] DecimalSeparator separator() const { return separator_; }

    // The row checked; point, when given, gets what the plan needs of it.
    [[nodiscard]] CheckedGirder check(const std::vector<std::string>& row, PlanPoint* point = nullptr);

    // The girder of a row as the wizard should open it: its form as
    // TableRun::girderForm gives it, with the sections its measured angles
    // give, and its history: the nominal angles, the measurements, the
    // installation year and the row's inspection (none of them for a row
    // whose measurement columns were refused).
    struct Girder {
        MapForm form;
        GirderHistory history;
        std::size_t row = 0; // of the rows girderOfRows() was given, the one whose form it is
    };
    [[nodiscard]] Girder girder(const std::vector<std::string>& row);
    // Whether the row is one of the girder's that the plan names: its
    // support, and its section when the table has "Участок".
    [[nodiscard]] bool ofGirder(const std::vector<std::string>& row, std::string_view section,
                                std::string_view support) const;
    // A girder of the plan as the wizard should open it, from its rows in
    // the table's order: the row of its latest inspection as girder() opens
    // it (the plan's own: the last of the latest date, or the last row when
    // none is dated), with the inspections of all its rows; rows whose
    // measurements were refused count for neither. None without another row.
    [[nodiscard]] std::optional<Girder> girderOfRows(const std::vector<std::vector<std::string>>& rows);

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The row as the form reads it: a point table's number cells in the
    // comma form; slips names the first cell written with a comma.
    [[nodiscard]] const std::vector<std::string>& commaRow(const std::vector<std::string>& row, std::string& slips);
    // A point table's checked cells: the row's own texts, the program's
    // numbers with the point.
    void pointCells(const std::vector<std::string>& row, std::vector<std::string>& cells) const;
    // The output cells that hold numbers: a field's, a number column of the
    // row's own (kept as written), or a result column not a field's.
    enum class NumberCellKind { Field, Own, Result };
    void fillNumberCells(std::size_t inputs);
    struct MemberColumns {
        std::size_t angle = kNone;
        std::size_t thickness = kNone;
        std::size_t area = kNone;   // the section's area field, if a column gives it
        std::size_t radius = kNone; // and its radius
    };

    // The catalogue position of a designation: a line section names few
    // angles, and a name is looked up once.
    [[nodiscard]] std::optional<std::size_t> angleOf(std::string_view designation);

    // What a row's measurement columns give: the section figures and faults
    // for its form, and the angles, thicknesses and dates read.
    struct Measurements {
        RowExtras extras;
        std::array<std::optional<std::size_t>, 2> angles{};
        std::array<std::optional<int>, 2> measured{};
        std::optional<CalendarDate> date;
        std::optional<int> installed;
        // The nominal angles, the measurements, the installation and the
        // row's inspection.
        [[nodiscard]] GirderHistory history() const;
    };
    // Reads them; the date also without the other columns when dated.
    [[nodiscard]] Measurements readMeasurements(const std::vector<std::string>& row, bool dated);

    TableRun run_;
    LastNominals lastNominals_; // the nominal angles' trials and limits of the row before
    std::vector<std::pair<std::string, std::optional<std::size_t>>> angleNames_;
    std::vector<std::string> header_;
    bool measured_ = false;
    std::array<MemberColumns, 2> members_{};
    std::size_t date_ = kNone;
    std::size_t installed_ = kNone;
    std::size_t section_ = kNone;
    std::size_t support_ = kNone;
    std::size_t km_ = kNone;
    std::size_t message_ = kNone;                           // "Сообщение" in the run's header
    std::array<std::size_t, kLifeColumns.size()> lifeAt_{}; // each life column's place in header_
    std::size_t appendedAt_ = 0;                            // where the life columns not read are put
    std::vector<std::pair<std::size_t, NumberCellKind>> numberCells_;
    std::vector<std::size_t> numberColumns_; // the row's number columns
    std::size_t inputCount_ = 0;
    DecimalSeparator separator_ = DecimalSeparator::Comma;
    std::optional<CalendarDate> today_;
    std::vector<std::string> commaRow_;
};

} // namespace prochnar
