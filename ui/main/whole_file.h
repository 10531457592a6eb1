#pragma once

#include <QByteArray>
#include <QString>

namespace prochnar {

// Writes the bytes to a new file that replaces the one at path only when
// they are all written; returns why not, or "". Unbuffered, so that a write
// the disk cuts short is seen: Qt 6.4 commits a buffered save file whose
// last write failed.
[[nodiscard]] QString writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace prochnar
