#pragma once

#include <QCursor>
#include <QPoint>

namespace prochnar {

// The hot spot of the pointing hand: the tip of the raised index finger.
inline constexpr QPoint kHandHotSpot{12, 1};

// The pointer over the links of the About window: a white-gloved hand with
// the index finger raised and a cyan cuff, 32 x 32 pixels.
[[nodiscard]] QCursor handCursor();

} // namespace prochnar
