#pragma once

#include <QString>

// What the program does before or without its window.

namespace prochnar::app {

inline constexpr int kExitUsage = 2;

// The answer to --help.
extern const char* const kUsage;

// Qt's messages while it starts its platform: a platform that cannot start
// ends the program with one line saying which display could not be reached,
// and exit status 1, instead of Qt's own account and an abort.
void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

// prochnar --report OUT.pdf FILE: the report of the calculation in file,
// made from the file alone on the offscreen platform, so that neither a
// window nor a display is needed. 0 when written, 1 when it could not be
// written, kExitUsage when the file is not a whole calculation.
int writeReport(char* program, const QString& out, const QString& file);

} // namespace prochnar::app
