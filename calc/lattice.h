#pragma once

#include "form.h"

#include <optional>

namespace prochnar {

// The lattice of the girder as its fields give it, in metres: its length
// between the supports (txtLp), the length of a panel, which is the design
// length of a chord's element (txtLpp), the height of a cell between the
// chords (txtH) and its width between the girder's two faces (txtB).
struct Lattice {
    double length = 0;
    double panel = 0;
    double height = 0;
    double width = 0;
    // The whole panels along the girder: its length over a panel's, to the
    // nearest whole, at least one. Each is drawn length / panels long.
    int panels = 1;
};

// More panels than a drawing can show apart: a panel length that is a slip
// of the hand rather than a girder.
inline constexpr int kMaxLatticePanels = 100;

// None when a field is not a number or not above zero, or the girder would
// have more than kMaxLatticePanels panels.
[[nodiscard]] std::optional<Lattice> latticeOf(const Form& form);

} // namespace prochnar
