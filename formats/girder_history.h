#pragma once

#include "calc/inspections.h"
#include "calc/messages.h"

#include <optional>
#include <string>
#include <string_view>

namespace prochnar {

// A calculation's file keeps the girder's history in comment lines after
// its identity, as a reader that does not know them passes them over:
//
//     # history chord=L 75×6
//     # history chord-measured=5,2
//     # history diagonals=L 50×5
//     # history installed=1998
//     # inspection date=2020-07-01 chord=5,4 diagonals=4,6 note=после зимы
//
// A thickness in mm with at most one decimal after a comma, above zero and
// at most the nominal angle's; an inspection's date as ГГГГ-ММ-ДД, its
// thicknesses optional, its note last and to the end of the line (escaped
// as the identity's texts). A calculation without a history is written as
// before.
inline constexpr std::string_view kHistoryLinePrefix = "# history ";
inline constexpr std::string_view kInspectionLinePrefix = "# inspection ";

[[nodiscard]] std::string historyLines(const GirderHistory& history);

// The history that a file's lines keep. A "# history" line with a key this
// program does not know is a comment (a later version may keep more); a
// known line that cannot be read is a fault (FileFault::BadHistory, its
// line, what is wrong as the reason), for the history would be lost.
struct HistoryRead {
    GirderHistory history;
    std::optional<FileFaultAt> fault;
};
[[nodiscard]] HistoryRead readHistoryLines(std::string_view content);

// "4,6", "5" for a thickness in tenths of a mm; the text back, none when it
// is not a thickness above zero with at most one decimal.
[[nodiscard]] std::string thicknessTenthsText(int tenths);
[[nodiscard]] std::optional<int> thicknessTenths(std::string_view text);

} // namespace prochnar
