#pragma once

class QFileDialog;

namespace prochnar {

// Readies a file dialog of the program before it is shown. Where the toolkit
// draws the dialog itself (no desktop's own dialog), its list gives sizes
// and dates in the program's locale rather than the system's, and the
// columns of size, type and date are wide enough for their Russian headings
// and values; the dialog grows as much as its list needs to show every
// column whole. A desktop's own dialog is left as the desktop draws it.
void fitFileDialog(QFileDialog& dialog);

} // namespace prochnar
