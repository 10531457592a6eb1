#pragma once

#include "calc/verdict_colours.h"

#include <QColor>

namespace prochnar {

// The verdicts' colours (calc/verdict_colours.h) as the toolkit paints them.

[[nodiscard]] inline QColor qColour(Rgb rgb) { return {rgb.red, rgb.green, rgb.blue}; }

// For the verdict's words on the form's background.
[[nodiscard]] inline QColor verdictTextColour(VerdictKind kind) { return qColour(verdictTextRgb(kind)); }

// Behind black words, in a table's cells.
[[nodiscard]] inline QColor verdictBackground(VerdictKind kind) { return qColour(verdictBackgroundRgb(kind)); }

} // namespace prochnar
