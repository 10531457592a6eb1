#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// The buckling coefficient φ (J on the form) for a slenderness (I), from the
// table of φ for steels Ст3 and Ст4 that the guidance text of step 2 shows:
// linear interpolation between its rows, rounded down to three decimals,
// because a smaller φ errs on the safe side.
struct TablePhi {
    std::string phi;     // "0,783", three decimals; empty when there is none
    std::string message; // why there is none, for a message box; else empty
};

// From the text of a slenderness display (lblJ, lblJ1). No φ for an empty
// text or one that is not a number (no slenderness yet), nor for a
// slenderness outside the table.
[[nodiscard]] TablePhi phiFromTable(std::string_view slenderness);
// The same φ in thousandths, without its words: none where phiFromTable()
// has a message.
[[nodiscard]] std::optional<std::int64_t> phiThousandthsFromTable(std::string_view slenderness);
// Thousandths as phiFromTable() writes them: "0,783".
[[nodiscard]] std::string phiThousandthsText(std::int64_t thousandths);

// The table's φ interpolated linearly, unrounded, for ratios of φ at
// neighbouring slendernesses; none outside the table.
[[nodiscard]] std::optional<double> interpolatedPhi(double slenderness);

// The table's rows, for a reader to follow φ by hand: the slenderness and φ
// with three decimals, "0,190".
struct PhiTableRow {
    std::int64_t slenderness = 0;
    std::string phi;
};
[[nodiscard]] std::vector<PhiTableRow> phiTableRows();

} // namespace prochnar
