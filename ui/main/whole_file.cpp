#include "ui/main/whole_file.h"

#include <QSaveFile>

namespace prochnar {

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
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
