#pragma once

#include "calc/verdicts.h"

#include <QColor>

namespace prochnar {

// The colours of the three kinds of verdict, the same in the window, the
// report and the table of girders: green holds, red does not, amber asks the
// engineer to check.

// For the verdict's words on the form's background.
[[nodiscard]] inline QColor verdictTextColour(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Holds:
        return {0, 128, 0};
    case VerdictKind::Fails:
        return {200, 0, 0};
    case VerdictKind::Check:
        break;
    }
    return {176, 104, 0};
}

// Behind black words, in a table's cells.
[[nodiscard]] inline QColor verdictBackground(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Holds:
        return {200, 235, 200};
    case VerdictKind::Fails:
        return {245, 195, 195};
    case VerdictKind::Check:
        break;
    }
    return {250, 215, 150};
}

} // namespace prochnar
