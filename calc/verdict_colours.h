#pragma once

#include "conclusion.h"
#include "verdicts.h"

#include <cstdint>

namespace prochnar {

// The colours of the three kinds of verdict, the same in the window, the
// report, the table of girders and the workbook: green holds, red does not,
// amber asks the engineer to check. Plain RGB, so that a writer without a
// toolkit paints them as the window does.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    // As 0xRRGGBB.
    [[nodiscard]] constexpr std::uint32_t packed() const
    {
        return std::uint32_t{red} << 16U | std::uint32_t{green} << 8U | std::uint32_t{blue};
    }
};

// For the verdict's words on the form's background.
[[nodiscard]] constexpr Rgb verdictTextRgb(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Holds:
        return {.red = 0, .green = 128, .blue = 0};
    case VerdictKind::Fails:
        return {.red = 200, .green = 0, .blue = 0};
    case VerdictKind::Check:
        break;
    }
    return {.red = 176, .green = 104, .blue = 0};
}

// Behind black words, in a table's cells.
[[nodiscard]] constexpr Rgb verdictBackgroundRgb(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Holds:
        return {.red = 200, .green = 235, .blue = 200};
    case VerdictKind::Fails:
        return {.red = 245, .green = 195, .blue = 195};
    case VerdictKind::Check:
        break;
    }
    return {.red = 250, .green = 215, .blue = 150};
}

// Behind a girder's least margin: its verdict's colour, grey for a girder
// not checked.
[[nodiscard]] constexpr Rgb marginBackgroundRgb(GirderStatus status)
{
    switch (status) {
    case GirderStatus::Holds:
        return verdictBackgroundRgb(VerdictKind::Holds);
    case GirderStatus::Check:
        return verdictBackgroundRgb(VerdictKind::Check);
    case GirderStatus::DoesNotHold:
        return verdictBackgroundRgb(VerdictKind::Fails);
    case GirderStatus::NotComputed:
        break;
    }
    return {.red = 222, .green = 222, .blue = 222};
}

} // namespace prochnar
