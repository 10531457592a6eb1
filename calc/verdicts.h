#pragma once

#include "form.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace prochnar {

// The verdict on one row of step 3: whether the member holds, and by how
// much, in words: "держит, запас 92,0 %" or "не держит, не хватает 12,4 %".
struct Verdict {
    bool holds = false;
    std::string text;
    // The margin in tenths of a per cent as the text shows it; a shortage
    // counts below zero.
    int tenths = 0;
    friend bool operator==(const Verdict&, const Verdict&) = default;
};

// Holds when the demand is at most the capacity. The margin is the share of
// the capacity that may still be lost, (capacity − demand) / capacity,
// rounded down to 0,1 %; the shortage (demand − capacity) / capacity,
// rounded up. Both come from the exact numbers of the texts. None when a
// text is empty or not a number, or the capacity is zero or negative.
[[nodiscard]] std::optional<Verdict> judge(std::string_view demand, std::string_view capacity);

// The texts of step 3 that the verdicts read, each named after its field,
// and the catalogue angles (positions in angleCatalogue()) that were put
// into the chord's and the diagonals' section fields, if any.
struct VerdictInput {
    std::string Text4, Text6, Text7, Text8, txtz2, Text12, Text14, Text13;
    std::string Text9, txtIy, Text10, txtIyy;
    std::optional<std::size_t> chordAngle, diagonalAngle;
};

// The rows of step 3 in order: compressed chord (Text4 against Text6),
// tensioned chord (Text7, Text8), diagonal area (txtz2, Text12), and the
// diagonal force (Text13 against what it carries, Text14). An area row that
// holds, of a catalogue angle whose fields and actual area are still the
// catalogue's, ends with the least flange thickness: ", полка не тоньше 4,3 мм".
inline constexpr std::size_t kVerdictRows = 4;

// The texts the verdicts read, from the fields of a form.
[[nodiscard]] VerdictInput verdictInput(const Form& form, std::optional<std::size_t> chordAngle,
                                        std::optional<std::size_t> diagonalAngle);
[[nodiscard]] std::array<std::optional<Verdict>, kVerdictRows> judgeStep3(const VerdictInput& in);

} // namespace prochnar
