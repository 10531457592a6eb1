#pragma once

#include <QByteArrayView>
#include <QLatin1String>
#include <QString>
#include <QStringList>

namespace prochnar {

// The fixed names of the documents that come with the program.
inline constexpr QLatin1String kGuidanceFile{"gip.txt"};
inline constexpr QLatin1String kRecommendationFile{"rek.txt"};
inline constexpr QLatin1String kHelpFile{"Help.hlp"};
inline constexpr QLatin1String kCatalogueFile{"profel.doc"};

// A text document larger than this is not read: no reference text comes
// near it, and a field must not swallow whatever file happens to bear the name.
inline constexpr qint64 kMaxTextFileSize = qint64{1024} * 1024;

// Decodes the bytes of a text document: as UTF-8 when they are valid UTF-8
// (a leading byte-order mark is dropped), otherwise as windows-1251, the code
// page in which such reference texts are traditionally written.
[[nodiscard]] QString decodeTextFile(QByteArrayView bytes);

// What reading a text document gave: its text, or one line for the field
// saying which file could not be read and where it was looked for.
struct TextFile {
    QString text;
    bool read = false;
};

// Finds the documents by name in a list of folders, the first folder that
// holds an entry of that name winning, and reads them. Nothing is written.
class ReferenceFiles {
public:
    // Folders in the order of lookup; repeated ones are looked in once.
    explicit ReferenceFiles(const QStringList& folders);

    // The current directory, then the program's own folder, then the data
    // folder of the installed program. Needs the application object.
    [[nodiscard]] static ReferenceFiles standard();

    [[nodiscard]] const QStringList& folders() const { return folders_; }

    // The path of the first entry of that name, or an empty text.
    [[nodiscard]] QString find(const QString& name) const;
    // The folders as the user writes them, joined by ", ": where a document
    // that was not found was looked for.
    [[nodiscard]] QString lookedIn() const;

    // The whole document decoded by decodeTextFile, or the line that says
    // why not when it is missing, a folder, unreadable or too large.
    [[nodiscard]] TextFile readText(const QString& name) const;

private:
    QStringList folders_;
};

} // namespace prochnar
