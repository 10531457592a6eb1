#include "ui/main/reference_files.h"

#include "formats/text_encoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>
#include <string_view>

namespace prochnar {

namespace {

TextFile unread(const QString& name, const QString& where)
{
    return {QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(name, where), false};
}

TextFile unread(const QString& name, const QString& path, const QString& reason)
{
    return unread(name, QStringLiteral("%1 — %2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

QString decodeTextFile(QByteArrayView bytes)
{
    // A sequence cut off at the end makes the text windows-1251 too.
    const std::string text = decodeText(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ReferenceFiles::ReferenceFiles(const QStringList& folders)
{
    for (const QString& folder : folders) {
        if (folder.isEmpty()) {
            continue;
        }
        const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
        if (!folders_.contains(clean)) {
            folders_.append(clean);
        }
    }
}

ReferenceFiles ReferenceFiles::standard()
{
    return ReferenceFiles(
        {QDir::currentPath(), QCoreApplication::applicationDirPath(), QStringLiteral(PROCHNAR_INSTALLED_DATA_DIR)});
}

QString ReferenceFiles::find(const QString& name) const
{
    for (const QString& folder : folders_) {
        const QFileInfo entry(QDir(folder), name);
        if (entry.exists()) {
            return entry.filePath();
        }
    }
    return {};
}

QString ReferenceFiles::lookedIn() const
{
    QStringList where;
    for (const QString& folder : folders_) {
        where.append(QDir::toNativeSeparators(folder));
    }
    return where.join(QStringLiteral(", "));
}

TextFile ReferenceFiles::readText(const QString& name) const
{
    const QString path = find(name);
    if (path.isEmpty()) {
        return unread(name, QStringLiteral("искали в %1").arg(lookedIn()));
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        return unread(name, path, QStringLiteral("это папка"));
    }
    // A pipe or a device could block the window or never end.
    if (!info.isFile()) {
        return unread(name, path, QStringLiteral("это не обычный файл"));
    }
    if (info.size() > kMaxTextFileSize) {
        return unread(name, path, QStringLiteral("файл больше 1 МБ"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return unread(name, path, QStringLiteral("нет доступа на чтение"));
    }
    // The file may have grown since it was looked at.
    const QByteArray bytes = file.read(kMaxTextFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return unread(name, path, QStringLiteral("ошибка чтения"));
    }
    if (bytes.size() > kMaxTextFileSize) {
        return unread(name, path, QStringLiteral("файл больше 1 МБ"));
    }
    return {decodeTextFile(bytes), true};
}

} // namespace prochnar
