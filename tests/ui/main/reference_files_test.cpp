// Finding and reading the documents that come with the program: the order
// of the folders, every way a file can fail to be read, and the two
// encodings a reference text may come in.

#include "ui/main/reference_files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace prochnar {
namespace {

// "Прочнар" in windows-1251.
constexpr char kCp1251Word[] = "\xCF\xF0\xEE\xF7\xED\xE0\xF0";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Three folders standing for the current directory, the program's folder
// and the installed data folder.
class Folders : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"current", "program", "installed"}) {
            ASSERT_TRUE(QDir(root_.path()).mkdir(QString::fromLatin1(name)));
        }
    }

    [[nodiscard]] QString folder(const char* name) const { return root_.filePath(QString::fromLatin1(name)); }
    [[nodiscard]] QString path(const char* folderName, const QString& file) const
    {
        return QDir(folder(folderName)).filePath(file);
    }
    [[nodiscard]] ReferenceFiles files() const
    {
        return ReferenceFiles({folder("current"), folder("program"), folder("installed")});
    }

    QTemporaryDir root_;
};

TEST_F(Folders, FirstFolderHoldingTheNameWins)
{
    writeFile(path("current", kRecommendationFile), "из текущей");
    writeFile(path("program", kRecommendationFile), "из папки программы");
    writeFile(path("installed", kRecommendationFile), "из папки данных");

    EXPECT_EQ(files().readText(kRecommendationFile).text, QStringLiteral("из текущей"));
    ASSERT_TRUE(QFile::remove(path("current", kRecommendationFile)));
    EXPECT_EQ(files().readText(kRecommendationFile).text, QStringLiteral("из папки программы"));
    ASSERT_TRUE(QFile::remove(path("program", kRecommendationFile)));
    EXPECT_EQ(files().readText(kRecommendationFile).text, QStringLiteral("из папки данных"));
    EXPECT_EQ(files().find(kRecommendationFile), path("installed", kRecommendationFile));

    // Each name is looked up on its own.
    writeFile(path("program", kGuidanceFile), "таблица");
    EXPECT_EQ(files().find(kGuidanceFile), path("program", kGuidanceFile));
    EXPECT_TRUE(files().find(kCatalogueFile).isEmpty());
}

TEST_F(Folders, NamesAreTakenAsWritten)
{
    writeFile(path("current", QStringLiteral("REK.TXT")), "другое имя");
    writeFile(path("installed", kRecommendationFile), "верное имя");
    EXPECT_EQ(files().readText(kRecommendationFile).text, QStringLiteral("верное имя"));
}

TEST_F(Folders, MissingEverywhereSaysWhereItWasLookedFor)
{
    const TextFile result = files().readText(kGuidanceFile);
    EXPECT_FALSE(result.read);
    EXPECT_EQ(result.text, QStringLiteral("Не удалось прочитать файл \"gip.txt\": искали в %1, %2, %3")
                               .arg(folder("current"), folder("program"), folder("installed")));
    EXPECT_FALSE(result.text.contains(QLatin1Char('\n')));
}

TEST_F(Folders, ARepeatedFolderIsLookedInOnce)
{
    // Started in its own folder, the program's folder is also the current one.
    const ReferenceFiles same({folder("program"), folder("program") + QStringLiteral("/."), folder("installed")});
    EXPECT_EQ(same.folders(), QStringList({folder("program"), folder("installed")}));
    EXPECT_EQ(same.readText(kRecommendationFile).text.count(folder("program")), 1);
}

TEST_F(Folders, FolderOfThatNameIsReportedNotPassedOver)
{
    ASSERT_TRUE(QDir(folder("current")).mkdir(kRecommendationFile));
    writeFile(path("program", kRecommendationFile), "не должен быть прочитан");

    const TextFile result = files().readText(kRecommendationFile);
    EXPECT_FALSE(result.read);
    EXPECT_TRUE(result.text.startsWith(QStringLiteral("Не удалось прочитать файл \"rek.txt\": ")));
    EXPECT_TRUE(result.text.contains(path("current", kRecommendationFile)));
    EXPECT_TRUE(result.text.contains(QStringLiteral("папка")));
}

TEST_F(Folders, UnreadableFile)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "run as root: a file without read permission can still be read";
    }
    writeFile(path("program", kRecommendationFile), "закрыт");
    ASSERT_TRUE(QFile::setPermissions(path("program", kRecommendationFile), QFileDevice::Permissions()));

    const TextFile result = files().readText(kRecommendationFile);
    EXPECT_FALSE(result.read);
    EXPECT_TRUE(result.text.contains(path("program", kRecommendationFile)));
    EXPECT_TRUE(result.text.contains(QStringLiteral("нет доступа")));
}

TEST_F(Folders, SizeLimitIsOneMebibyte)
{
    writeFile(path("current", kRecommendationFile), QByteArray(kMaxTextFileSize, 'a'));
    const TextFile atLimit = files().readText(kRecommendationFile);
    EXPECT_TRUE(atLimit.read);
    EXPECT_EQ(atLimit.text.size(), kMaxTextFileSize);

    writeFile(path("current", kRecommendationFile), QByteArray(kMaxTextFileSize + 1, 'a'));
    const TextFile over = files().readText(kRecommendationFile);
    EXPECT_FALSE(over.read);
    EXPECT_TRUE(over.text.contains(path("current", kRecommendationFile)));
    EXPECT_TRUE(over.text.contains(QStringLiteral("больше 1 МБ")));
}

TEST_F(Folders, EmptyFileGivesEmptyText)
{
    writeFile(path("current", kRecommendationFile), {});
    const TextFile result = files().readText(kRecommendationFile);
    EXPECT_TRUE(result.read);
    EXPECT_TRUE(result.text.isEmpty());
}

TEST_F(Folders, PipeIsNotOpened)
{
    // Opening a pipe nobody writes to would hang the window.
    const QByteArray pipe = QFile::encodeName(path("current", kRecommendationFile));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    const TextFile result = files().readText(kRecommendationFile);
    EXPECT_FALSE(result.read);
    EXPECT_TRUE(result.text.contains(QStringLiteral("не обычный файл")));
}

TEST_F(Folders, LinkToAFileIsRead)
{
    writeFile(path("installed", kGuidanceFile), "таблица");
    ASSERT_TRUE(QFile::link(path("installed", kGuidanceFile), path("current", kGuidanceFile)));
    EXPECT_EQ(files().readText(kGuidanceFile).text, QStringLiteral("таблица"));
}

TEST_F(Folders, ReadingWritesNothing)
{
    writeFile(path("current", kRecommendationFile), "памятка");
    const QDateTime modified = QFileInfo(path("current", kRecommendationFile)).lastModified();
    const auto entries = [this] {
        QStringList all;
        for (const char* name : {"current", "program", "installed"}) {
            all << QDir(folder(name)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        }
        return all;
    };
    const QStringList before = entries();

    for (const QLatin1String name : {kGuidanceFile, kRecommendationFile, kHelpFile, kCatalogueFile}) {
        static_cast<void>(files().readText(name));
        static_cast<void>(files().find(name));
    }
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(QFileInfo(path("current", kRecommendationFile)).lastModified(), modified);
}

TEST(StandardFolders, CurrentThenProgramThenInstalled)
{
    const QStringList folders = ReferenceFiles::standard().folders();
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders.front(), QDir::currentPath());
    EXPECT_TRUE(folders.contains(QCoreApplication::applicationDirPath()));
    EXPECT_TRUE(folders.back().endsWith(QStringLiteral("/share/prochnar")));
    EXPECT_TRUE(QDir::isAbsolutePath(folders.back()));
}

TEST(Decoding, Utf8)
{
    EXPECT_EQ(decodeTextFile("I\tJ\n0\t1,00 — φ\n"), QStringLiteral("I\tJ\n0\t1,00 — φ\n"));
    // A byte-order mark, as some editors write it, is not part of the text.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"
                             "Прочнар"),
              QStringLiteral("Прочнар"));
    EXPECT_EQ(decodeTextFile(""), QString());
}

TEST(Decoding, Windows1251)
{
    EXPECT_EQ(decodeTextFile(kCp1251Word), QStringLiteral("Прочнар"));
    // The letters outside the plain alphabet, and the typographic signs.
    EXPECT_EQ(decodeTextFile("\xA8\xB8 \xB9 \xAB\xBB \x96 \xB0"), QStringLiteral("Ёё № «» – °"));
    // Line ends stay as written.
    EXPECT_EQ(decodeTextFile("\xC0\r\n\xC1\r\n"), QStringLiteral("А\r\nБ\r\n"));
}

TEST(Decoding, TextThatIsNotUtf8IsReadAsWindows1251)
{
    // ASCII throughout but for one byte that UTF-8 does not allow.
    EXPECT_EQ(decodeTextFile("I = 74,5\xFF"), QStringLiteral("I = 74,5я"));
    // A lone letter: a UTF-8 lead byte cut off at the end of the file.
    EXPECT_EQ(decodeTextFile("\xDF"), QStringLiteral("Я"));
    // Two letters that form a lead and a continuation byte, then a third
    // that breaks the sequence.
    EXPECT_EQ(decodeTextFile("\xD0\xB0\xEB"), QStringLiteral("Р°л"));
    // An overlong form of "/" is no valid UTF-8 either.
    EXPECT_EQ(decodeTextFile("\xC0\xAF"), QStringLiteral("АЇ"));
}

} // namespace
} // namespace prochnar

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
