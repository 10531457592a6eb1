#pragma once

namespace prochnar {

// The decimal separator a table of girders writes its numbers with: the
// comma, as the window, or the point, as a spreadsheet in an English locale.
enum class DecimalSeparator { Comma, Point };

} // namespace prochnar
