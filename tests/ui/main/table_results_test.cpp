// The results window of a table of girders: its summary counts as the
// command does and says where a table stops being readable; a save that the
// disk cuts short leaves the old file whole.

#include "ui/main/table_results_window.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace prochnar;

namespace {

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unread)");
}

QString summaryOf(const QString& table)
{
    TableResultsWindow results(table, [](const MapForm&) {});
    if (!QTest::qWaitFor([&results] { return results.finished(); })) {
        return QStringLiteral("(not finished)");
    }
    return results.findChild<QLabel*>()->text();
}

} // namespace

class TableResultsTest : public QObject {
    Q_OBJECT

private slots:
    void summaryCountsAndSaysWhereTheTableStops();
    void saveCutShortLeavesTheOldFileWhole();
};

void TableResultsTest::summaryCountsAndSaysWhereTheTableStops()
{
    QTemporaryDir dir;
    QFile empty(dir.filePath("empty.csv"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    const QString tables = QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/");
    for (const auto& [table, summary] : std::initializer_list<std::pair<QString, QString>>{
             // the counts of tests/cli/tables/example.err; every row before a
             // fault is checked, as the command writes it
             {QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/line-section.csv"),
              QStringLiteral("Опор: 12, держат: 7, не держат: 4, не проверены: 1.")},
             {tables + "bad-quote.csv",
              QStringLiteral("Опор: 1, держат: 0, не держат: 0, не проверены: 1. Таблица не дочитана — строка 3, "
                             "знак 4, столбец «txtLp»: кавычка не на своем месте.")},
             {tables + "bad-encoding.csv",
              QStringLiteral("Опор: 1, держат: 0, не держат: 0, не проверены: 1. Таблица не дочитана — строка 3, "
                             "знак 1, столбец «Опора»: знак не в UTF-8, хотя таблица до него в UTF-8 — сохраните ее "
                             "в одной кодировке.")},
             {empty.fileName(), QStringLiteral("Опор: 0, держат: 0, не держат: 0, не проверены: 0. Таблица не "
                                               "дочитана — строка 1: нет строки заголовков.")},
             {dir.filePath("missing.csv"), QStringLiteral("Опор: 0, держат: 0, не держат: 0, не проверены: 0. "
                                                          "Таблица не дочитана — такого файла нет.")},
         }) {
        QCOMPARE(summaryOf(table), summary);
    }
}

void TableResultsTest::saveCutShortLeavesTheOldFileWhole()
{
    TableResultsWindow results(QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/line-section.csv"), [](const MapForm&) {});
    QTRY_VERIFY(results.finished());
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old results\n") == 12);
    old.close();

    std::signal(SIGXFSZ, SIG_IGN); // the disk is full after 100 bytes
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{100, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    const QString why = results.saveTo(path);
    setrlimit(RLIMIT_FSIZE, &limit);
    QVERIFY2(why.contains(QStringLiteral("диск полон")), qPrintable(why));
    QCOMPARE(read(path), QByteArray("old results\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("results.csv")});

    QVERIFY(!results.save(dir.filePath("no-such-folder/results.csv")));
    QVERIFY(results.save(path));
    QCOMPARE(read(path), read(QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/example.out")));
}

QTEST_MAIN(TableResultsTest)
#include "table_results_test.moc"
