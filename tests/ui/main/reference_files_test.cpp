// The documents that come with the program: where they are looked up, each
// way reading one can fail, and the two encodings they may be written in.

#include "ui/main/reference_files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace prochnar {
namespace {

TEST(ReferenceFiles, FirstFolderWinsAndEachFailureIsNamed)
{
    // Standing for the current folder, the program's and the installed data folder.
    const QTemporaryDir root;
    const auto path = [&root](const char* folder, const QString& file) { return root.filePath(folder + file); };
    const auto write = [&](const char* folder, const QString& file, const QByteArray& bytes) {
        QDir(root.path()).mkpath(QLatin1String(folder));
        QFile out(path(folder, QLatin1Char('/') + file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    };
    const ReferenceFiles files(
        {path("current", {}), path("program", {}), path("installed", {}), path("program", "/.")});
    const auto read = [&files](const QString& name) { return files.readText(name).text.toStdString(); };

    write("installed", kRecommendationFile, "из папки данных");
    write("current", QStringLiteral("REK.TXT"), "другое имя");
    EXPECT_EQ(read(kRecommendationFile), "из папки данных");
    write("program", kRecommendationFile, "из папки программы");
    EXPECT_EQ(read(kRecommendationFile), "из папки программы");
    EXPECT_EQ(read(kGuidanceFile), // a repeated folder is named once
              QStringLiteral("Не удалось прочитать файл \"gip.txt\": искали в %1, %2, %3")
                  .arg(path("current", {}), path("program", {}), path("installed", {}))
                  .toStdString());

    const QString current = path("current", QLatin1Char('/') + kRecommendationFile);
    const auto failure = [&](const char* says) {
        const TextFile result = files.readText(kRecommendationFile);
        EXPECT_FALSE(result.read) << says;
        EXPECT_TRUE(result.text.startsWith(QStringLiteral("Не удалось прочитать файл \"rek.txt\": ")) &&
                    result.text.contains(current) && result.text.contains(QString::fromUtf8(says)))
            << result.text.toStdString();
    };
    ASSERT_TRUE(QDir().mkdir(current));
    failure("папка");
    ASSERT_TRUE(QDir().rmdir(current));
    ASSERT_EQ(::mkfifo(QFile::encodeName(current).constData(), 0600), 0); // opening it would hang
    failure("не обычный файл");
    ASSERT_TRUE(QFile::remove(current));
    write("current", kRecommendationFile, QByteArray(kMaxTextFileSize + 1, 'a'));
    failure("больше 1 МБ");
    write("current", kRecommendationFile, QByteArray(kMaxTextFileSize, 'a'));
    EXPECT_EQ(read(kRecommendationFile).size(), std::size_t(kMaxTextFileSize));
    if (::geteuid() != 0) { // root reads a file without read permission all the same
        ASSERT_TRUE(QFile::setPermissions(current, QFileDevice::Permissions()));
        failure("нет доступа");
    }

    const QStringList standard = ReferenceFiles::standard().folders();
    EXPECT_EQ(standard.front(), QDir::currentPath());
    EXPECT_TRUE(standard.contains(QCoreApplication::applicationDirPath()));
    EXPECT_TRUE(standard.back().endsWith(QStringLiteral("/share/prochnar")));
}

TEST(ReferenceFiles, DecodedAsUtf8ElseAsWindows1251)
{
    for (const auto& [bytes, text] : std::initializer_list<std::pair<QByteArray, const char*>>{
             {"I\tJ\n0\t1,00 — φ\n", "I\tJ\n0\t1,00 — φ\n"},
             {"\xEF\xBB\xBF\xD0\x9F", "П"}, // a byte-order mark is not text
             {"\xCF\xF0\xEE\xF7\xED\xE0\xF0", "Прочнар"},
             {"\xA8\xB8 \xB9 \xAB\xBB \x96 \xB0\r\n", "Ёё № «» – °\r\n"},
             {"I = 74,5\xFF", "I = 74,5я"}, // one byte that UTF-8 does not allow
             {"\xDF", "Я"},                 // a lead byte cut off at the end
             {"\xD0\xB0\xEB", "Р°л"},       // a valid pair, then a broken sequence
             {"\xC0\xAF", "АЇ"},            // an overlong "/"
         }) {
        EXPECT_EQ(decodeTextFile(bytes).toStdString(), text) << bytes.toHex().toStdString();
    }
}

} // namespace
} // namespace prochnar

int main(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
