#include "ui/main/whole_file.h"

#include "formats/safe_output.h"

#include <QSaveFile>

#include <filesystem>

namespace prochnar {

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    // A device, a folder or a pipe would be replaced by a regular file.
    if (refuseOutput(std::filesystem::path(path.toStdU16String()), {}) == OutputRefusal::NotRegular) {
        return QStringLiteral("это не обычный файл");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    if (const qint64 written = file.write(bytes); written != bytes.size()) {
        return written < 0 ? file.errorString()
                           : QStringLiteral("записано %1 байт из %2, диск полон?").arg(written).arg(bytes.size());
    }
    return file.commit() ? QString() : file.errorString();
}

} // namespace prochnar
