#include "ui/main/whole_file.h"

#include "formats/safe_output.h"

#include <QSaveFile>

#include <filesystem>
#include <utility>

namespace prochnar {

namespace {

// Writes one piece; returns why it was not written whole, or "". `total` is
// what the file held before it, and holds it after.
QString writePiece(QSaveFile& file, const char* bytes, qint64 size, qint64& total)
{
    if (const qint64 written = file.write(bytes, size); written != size) {
        return written < 0
                   ? file.errorString()
                   : QStringLiteral("записано %1 байт из %2, диск полон?").arg(total + written).arg(total + size);
    }
    total += size;
    return {};
}

} // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    bool given = false;
    return writeWholeFile(path, [&](std::string& piece) {
        piece.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return !std::exchange(given, true);
    });
}

QString writeWholeFile(const QString& path, const std::function<bool(std::string& piece)>& next)
{
    // A device, a folder or a pipe would be replaced by a regular file.
    if (refuseOutput(std::filesystem::path(path.toStdU16String()), {}) == OutputRefusal::NotRegular) {
        return QStringLiteral("это не обычный файл");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    std::string piece;
    qint64 total = 0;
    while (next(piece)) {
        if (QString why = writePiece(file, piece.data(), static_cast<qint64>(piece.size()), total); !why.isEmpty()) {
            return why;
        }
    }
    return file.commit() ? QString() : file.errorString();
}

} // namespace prochnar
