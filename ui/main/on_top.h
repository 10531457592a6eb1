#pragma once

class QWidget;

namespace prochnar {

// Puts a top-level window above the windows of other programs (on) or back
// into the ordinary z-order (off), leaving its place, size and visibility as
// they are. The window system's answer is not examined.
void SetOnTop(QWidget* window, bool on);

} // namespace prochnar
