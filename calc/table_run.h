#pragma once

#include "conclusion.h"
#include "fields.h"
#include "map_form.h"
#include "messages.h"
#include "verdicts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace prochnar {

// A table of girders, one row each: the columns named after a field of the
// form give its text; every other column belongs to the engineer and is
// carried through unchanged.

// The columns a checked row gets, in this order, after its own.
inline constexpr std::array<Field, 11> kTableResultFields{
    Field::lblJ,  Field::lblJ1, Field::Text3, Field::Text5,  Field::txtQp,  Field::txtZ1,
    Field::Text4, Field::Text7, Field::txtz2, Field::Text13, Field::Text14,
};
inline constexpr std::string_view kPhiColumn = "φ из таблицы";
inline constexpr std::string_view kMarginColumn = "Наименьший запас, %";
inline constexpr std::string_view kMessageColumn = "Сообщение";

// One girder checked.
struct CheckedGirder {
    std::vector<std::string> cells; // under TableRun::header()
    std::array<std::optional<Verdict>, kVerdictRows> verdicts;
    std::optional<int> leastMargin; // tenths of a per cent, below zero for a shortage; rows to check aside
    std::string message;            // what the presses showed; empty for none
    GirderStatus status = GirderStatus::NotComputed;
};

// What a row's other columns put into its form besides the fields' columns:
// texts set over the row's (a measured angle's section figures), and the
// faults found in those columns, which keep the girder from being checked
// as a field's message does.
struct RowExtras {
    std::vector<std::pair<Field, std::string>> texts = {};
    std::string faults = {};
    // The sections those texts hold as measured on a nominal angle: judged
    // against the nominal angle's least flange thickness, as the window
    // judges them.
    MeasuredSections measured = {};
    // Cells the caller adds to the girder's after the check: room is made
    // for them at once.
    std::size_t moreCells = 0;
};

// Runs the window's calculation for each row of a table: fills a form from
// the row (the window's default text for a field without a column or with
// an empty cell), confirms step 1, takes φ from the table as "из таблицы"
// does when Text3 or Text5 is not given, confirms step 2 and executes. A row
// after one pressed quietly is pressed over it: only the results its changed
// cells reach are counted again, with the texts the whole presses write.
class TableRun {
public:
    // The columns must pass headerFault().
    explicit TableRun(const std::vector<std::string>& columns);

    // The row's own columns in place, then the result columns it lacks.
    [[nodiscard]] const std::vector<std::string>& header() const { return header_; }

    // A row shorter than the columns has empty cells at its end; one with
    // more cells than the header, beyond that something other than blanks,
    // is not checked, and its cells beyond the header are written after the
    // result columns, up to the last that is not empty. A message about a
    // field names its column and the cell; several are joined with "; ".
    [[nodiscard]] CheckedGirder check(const std::vector<std::string>& row, const RowExtras& extras = {});
    // The same, with the measured sections' nominal forms counted in trials,
    // where the row's remaining life finds them again.
    [[nodiscard]] CheckedGirder check(const std::vector<std::string>& row, const RowExtras& extras,
                                      NominalTrials& trials);

    // The form as the last check() left it: the row's inputs and results.
    [[nodiscard]] const MapForm& form() const { return form_; }

    // The girder as the wizard should open it: the row's field texts over the
    // window's defaults, the extras' texts over them, and the φ that the
    // check took from the table.
    [[nodiscard]] MapForm girderForm(const std::vector<std::string>& row, const RowExtras& extras = {});

private:
    struct FieldColumn {
        std::size_t column;
        Field field;
    };
    // Fills the form from the row and confirms step 1; returns whether φ
    // came from the table.
    bool confirmWithPhi(const std::vector<std::string>& row, const RowExtras& extras = {});
    // Presses the row's three steps over the row before, which form_ holds
    // pressed quietly: only the results its changed inputs reach are counted
    // again, as pressAgain() counts them. False where a press would show a
    // message or φ is not in the table: form_ is then no row's, to be
    // pressed whole. phiTaken says whether φ came from the table.
    bool pressOverLast(const std::vector<std::string>& row, const RowExtras& extras, bool& phiTaken);
    // Appends the messages the presses showed to `to`.
    void appendMessages(std::string& to);

    std::size_t columnCount_;
    std::vector<std::string> header_;
    std::vector<FieldColumn> inputs_;
    // Where each output cell comes from: the row's own cell, a field of the
    // form, or one of the results that are not fields.
    struct OutputCell {
        std::size_t column;
        Field field;
        std::size_t slot;
    };
    std::vector<OutputCell> outputs_;
    MapForm loaded_; // the form as the window is loaded, before any row
    MapForm form_;
    bool quiet_ = false; // form_ holds the last row's texts pressed quietly through the three steps
};

// Why a header cannot be a table's: two columns name the same field or
// result (FileFault::DuplicateColumn, the second one's place in cell), or a
// column names a field but for case (FileFault::MisspeltColumn). The fault
// is on line 1; none for a good header.
[[nodiscard]] std::optional<FileFaultAt> headerFault(const std::vector<std::string>& columns);

// Whether a column is the engineer's own: neither a field nor a result.
[[nodiscard]] bool isOwnColumn(std::string_view name);

// "-12,4" for -124 tenths.
[[nodiscard]] std::string marginText(int tenths);

} // namespace prochnar
