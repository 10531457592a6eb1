#pragma once

class QLabel;

namespace prochnar {

// Makes a one-line caption fit its label: while the text is wider than the
// label, the font is made smaller, a half point at a time, but not below
// the smallest size given. The text itself is never changed.
void fitCaption(QLabel& label, double smallestPointSize);

} // namespace prochnar
