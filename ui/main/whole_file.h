#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

namespace prochnar {

// Writes the bytes to a new file that replaces the one at path only when
// they are all written; returns why not, or "". Unbuffered, so that a write
// the disk cuts short is seen: Qt 6.4 commits a buffered save file whose
// last write failed. A file replaced keeps its permissions.
[[nodiscard]] QString writeWholeFile(const QString& path, const QByteArray& bytes);

// The same for a file written a piece at a time, so that a large one is never
// held whole: next() puts the next piece in `piece` and returns false once
// there is none.
[[nodiscard]] QString writeWholeFile(const QString& path, const std::function<bool(std::string& piece)>& next);

} // namespace prochnar
