// The results window of a table of girders: its summary counts as the
// command does and says where a table stops being readable, a pipe or a
// folder refused at once; its rows sort by the margin as a number and by the
// text of the rest; a save that the disk cuts short leaves the old file
// whole, one over the table itself or a folder is refused, and a file
// replaced keeps its permissions. The report of the section: a summary by
// margin, then a page a girder; stopped, refused or cut short by the disk, it
// leaves no file. A table with inspections: the same cells, save (as CSV and
// as a workbook) and plan as the command's, and the filter of the girders to
// replace.

#include "ui/main/table_results_model.h"
#include "ui/main/table_results_window.h"

#include "calc/angles.h"
#include "formats/csv_table.h"
#include "formats/girder_history.h"

#include <QBrush>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace prochnar;

namespace {

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unread)");
}

QString example() { return QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/line-section.csv"); }

// A column of the view from top to bottom, in the role asked for.
QStringList column(const QAbstractItemModel& model, int at, int role = Qt::DisplayRole)
{
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QVariant value = model.index(row, at).data(role);
        cells << (role == Qt::BackgroundRole ? value.value<QBrush>().color().name() : value.toString());
    }
    return cells;
}

// A CSV file's records, the header first.
std::vector<std::vector<std::string>> records(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> all;
    for (std::vector<std::string> record; reader.next(record);) {
        all.push_back(record);
    }
    return all;
}

QString summaryOf(const QString& table)
{
    TableResultsWindow results(table, [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    if (!QTest::qWaitFor([&results] { return results.finished(); })) {
        return QStringLiteral("(not finished)");
    }
    return results.findChild<QLabel*>()->text();
}

// The pages of a PDF as pdftotext lays them out.
QStringList pdfPages(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

} // namespace

class TableResultsTest : public QObject {
    Q_OBJECT

private slots:
    void summaryCountsAndSaysWhereTheTableStops();
    void saveCutShortLeavesTheOldFileWhole();
    void sortsByMarginAsANumberAndByTextElsewhere();
    void saveRefusesTheTableItselfAndKeepsPermissions();
    void sectionReportSummaryByMarginThenAPageAGirder();
    void sectionReportStoppedRefusedOrCutShortLeavesNoFile();
    void sectionReportOfInspectionsOpensWithThePlan();
    void inspectionsShowTheCommandsLifeFilterAndPlan();
    void aPlannedGirderOfRefusedRowsSaysWhyItDoesNotOpen();
    void pointTableAndTheQuestionOfItsSeparator();
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
              QStringLiteral("Опор: 12, держат: 0, не держат: 4, проверьте: 7, не проверены: 1.")},
             {tables + "bad-quote.csv",
              QStringLiteral(
                  "Опор: 1, держат: 0, не держат: 0, проверьте: 0, не проверены: 1. Таблица не дочитана — строка 3, "
                  "знак 4, столбец «txtLp»: кавычка не на своем месте.")},
             {tables + "bad-encoding.csv",
              QStringLiteral(
                  "Опор: 1, держат: 0, не держат: 0, проверьте: 0, не проверены: 1. Таблица не дочитана — строка 3, "
                  "знак 1, столбец «Опора»: знак не в UTF-8, хотя таблица до него в UTF-8 — сохраните ее "
                  "в одной кодировке.")},
             {empty.fileName(),
              QStringLiteral("Опор: 0, держат: 0, не держат: 0, проверьте: 0, не проверены: 0. Таблица не "
                             "дочитана — строка 1: нет строки заголовков.")},
             {dir.filePath("missing.csv"),
              QStringLiteral("Опор: 0, держат: 0, не держат: 0, проверьте: 0, не проверены: 0. "
                             "Таблица не дочитана — такого файла нет.")},
             // opening a pipe without a writer would wait for ever
             {dir.filePath("pipe.csv"),
              QStringLiteral("Опор: 0, держат: 0, не держат: 0, проверьте: 0, не проверены: 0. "
                             "Таблица не дочитана — это не файл, а папка, канал или устройство.")},
             {dir.path(), QStringLiteral("Опор: 0, держат: 0, не держат: 0, проверьте: 0, не проверены: 0. "
                                         "Таблица не дочитана — это не файл, а папка, канал или устройство.")},
         }) {
        if (table.endsWith(QStringLiteral("pipe.csv"))) {
            QCOMPARE(::mkfifo(QFile::encodeName(table).constData(), 0600), 0);
        }
        QCOMPARE(summaryOf(table), summary);
    }
}

void TableResultsTest::saveCutShortLeavesTheOldFileWhole()
{
    TableResultsWindow results(QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/line-section.csv"),
                               [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
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

void TableResultsTest::sortsByMarginAsANumberAndByTextElsewhere()
{
    TableResultsWindow results(example(), [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    QTRY_VERIFY(results.finished());
    auto* view = results.findChild<QTableView*>();
    QAbstractItemModel& model = *view->model();
    QCOMPARE(model.columnCount(), 10); // №, Опора, Км, Примечание, the margin, four verdicts, the message
    QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Наименьший запас, %"));
    QCOMPARE(model.headerData(9, Qt::Horizontal).toString(), QStringLiteral("Сообщение"));
    // As opened: the girder not checked first, then by margin, -332,4 below
    // -55,3 and 53,1 below 7…, as numbers and not as text; equal margins in
    // the order read.
    const QStringList ascending{"не проверена", "-332,4", "-155,6", "-137,4", "-55,3", "53,1",
                                "61,2",         "65,0",   "65,3",   "67,8",   "67,8",  "70,4"};
    QCOMPARE(column(model, 4), ascending);
    QCOMPARE(column(model, 0).mid(9), (QStringList{"1", "9", "6"}));
    // The colours of the margin count as the summary does: 1 not checked, 4
    // not holding, 7 to check (the tensioned chord of a negative moment, by
    // its magnitude); a verdict's colour is its own.
    const QStringList colours = column(model, 4, Qt::BackgroundRole);
    QCOMPARE(colours.count(QStringLiteral("#dedede")), 1);
    QCOMPARE(colours.count(QStringLiteral("#f5c3c3")), 4);
    QCOMPARE(colours.count(QStringLiteral("#fad796")), 7);
    QCOMPARE(column(model, 5, Qt::BackgroundRole).mid(0, 3), (QStringList{"#000000", "#f5c3c3", "#f5c3c3"}));
    QCOMPARE(column(model, 5, Qt::BackgroundRole).at(5), QStringLiteral("#c8ebc8"));
    QCOMPARE(column(model, 6, Qt::BackgroundRole).at(1), QStringLiteral("#fad796"));

    view->sortByColumn(4, Qt::DescendingOrder);
    QStringList descending = ascending.mid(1);
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(column(model, 4), descending << QStringLiteral("не проверена"));
    view->sortByColumn(1, Qt::AscendingOrder);
    QStringList supports = column(model, 1);
    QCOMPARE(supports.first(), QStringLiteral("12-13"));
    QStringList sorted = supports;
    sorted.sort();
    QCOMPARE(supports, sorted);

    // A double click opens the girder of the row it was on, as now sorted,
    // with the identity of its row; a save writes the table in the order read.
    std::vector<std::string> opened;
    GirderIdentity identity;
    TableResultsWindow opener(example(), [&](const MapForm& form, const GirderIdentity& of, const GirderHistory&) {
        opened.push_back(form.text(Field::Text9));
        identity = of;
    });
    QTRY_VERIFY(opener.finished());
    auto* openerView = opener.findChild<QTableView*>();
    openerView->sortByColumn(4, Qt::DescendingOrder);
    emit openerView->doubleClicked(openerView->model()->index(10, 2)); // the girder of -332,4
    QCOMPARE(opened, std::vector<std::string>{"4,2"});
    QVERIFY(identity == (GirderIdentity{.support = "20-21", .km = "105,4", .note = "пояс \"как решето\"; срочно"}));
    QTemporaryDir dir;
    QVERIFY(opener.save(dir.filePath("out.csv")));
    QCOMPARE(read(dir.filePath("out.csv")), read(QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/example.out")));
}

void TableResultsTest::saveRefusesTheTableItselfAndKeepsPermissions()
{
    QTemporaryDir dir;
    const QString table = dir.filePath("table.csv");
    QVERIFY(QFile::copy(example(), table));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(QFile::link(table, dir.filePath("link.csv")));
    QCOMPARE(::link(QFile::encodeName(table).constData(), QFile::encodeName(dir.filePath("hard.csv")).constData()), 0);
    TableResultsWindow results(table, [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    QTRY_VERIFY(results.finished());
    const QByteArray before = read(table);
    for (const QString& itself :
         {table, dir.filePath("link.csv"), dir.filePath("hard.csv"), dir.filePath("sub/../table.csv")}) {
        QCOMPARE(results.saveTo(itself), QStringLiteral("это сама проверяемая таблица"));
    }
    QCOMPARE(results.saveTo(dir.filePath("sub")), QStringLiteral("это не обычный файл"));
    QCOMPARE(read(table), before);

    // A file replaced keeps its permissions; a new one gets those of any new file.
    const QString old = dir.filePath("old.csv");
    QFile oldFile(old);
    QVERIFY(oldFile.open(QIODevice::WriteOnly));
    oldFile.close();
    QVERIFY(::chmod(QFile::encodeName(old).constData(), 0604) == 0);
    const mode_t mask = ::umask(0027);
    const bool saved = results.save(old) && results.save(dir.filePath("new.csv"));
    ::umask(mask);
    QVERIFY(saved);
    const auto modeOf = [](const QString& path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 01000U;
    };
    QCOMPARE(modeOf(old), 0604U);
    QCOMPARE(modeOf(dir.filePath("new.csv")), 0640U);
    QCOMPARE(read(old), read(QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/example.out")));
}

void TableResultsTest::sectionReportSummaryByMarginThenAPageAGirder()
{
    TableResultsWindow results(example(), [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    QTRY_VERIFY(results.finished());
    QString told;
    results.setOpenQuestion([&told](QWidget*, const QString& text) { return !(told = text).isEmpty(); });
    results.setOpener([](const QUrl&) { return true; });
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("line-section-отчет.pdf"));
    QCOMPARE(results.startSectionReport(pdf), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!results.writingSectionReport(), 120000);
    QCOMPARE(told, QStringLiteral("Отчет по участку записан в «%1».").arg(pdf));

    // The summary first: the title, the table, the window's summary line, a
    // line a girder in the order of the window's margin column as opened.
    const QStringList pages = pdfPages(pdf);
    for (const QString& part : {QStringLiteral("Отчет по участку"), QStringLiteral("line-section.csv"),
                                results.findChild<QLabel*>()->text()}) {
        QVERIFY2(pages.value(0).contains(part), qPrintable(part));
    }
    static const QRegularExpression line(QStringLiteral(R"(^ *\d+ +(\S+) +\S+ .* (-?\d+,\d|не проверена)$)"),
                                         QRegularExpression::MultilineOption);
    QStringList supports;
    QStringList margins;
    for (auto match = line.globalMatch(pages.value(0)); match.hasNext();) {
        const auto found = match.next();
        supports << found.captured(1);
        margins << found.captured(2);
    }
    const QAbstractItemModel& model = *results.findChild<QTableView*>()->model();
    QCOMPARE(supports, column(model, 1));
    QCOMPARE(margins, column(model, 4));

    // Then each girder from a page of its own, in that order, with the
    // conclusion its margin gives; the method once at the end; the pages
    // numbered through.
    QStringList sections;
    for (const QString& page : pages.mid(1)) {
        if (page.trimmed().startsWith(QStringLiteral("Расчет остаточной прочности ригеля"))) {
            const QString text = page.simplified();
            sections << QRegularExpression(QStringLiteral("Опора: (\\S+);")).match(text).captured(1);
            const QString margin = margins.value(supports.indexOf(sections.back()));
            const QString conclusion = margin == QStringLiteral("не проверена") ? QStringLiteral("Вывод не сделан")
                                       : margin.startsWith('-') ? QStringLiteral("не хватает %1 %").arg(margin.mid(1))
                                                                : QStringLiteral("наименьший запас %1 %").arg(margin);
            QVERIFY2(text.contains(conclusion), qPrintable(sections.back() + ": " + conclusion));
        }
    }
    QCOMPARE(sections, supports);
    const QString all = pages.join(QLatin1Char('\f'));
    QCOMPARE(all.count(QStringLiteral("Как получены числа этой опоры")), 12);
    QCOMPARE(all.count(QStringLiteral("Таблица φ")), 1);
    QVERIFY(pages.back().contains(QStringLiteral("Страница %1").arg(pages.size())));
}

// A table with inspections: the plan first, then the summary and each
// girder's report judged with its sections as measured, as the window
// judged the rows.
void TableResultsTest::sectionReportOfInspectionsOpensWithThePlan()
{
    const QString table = QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/history.csv");
    TableResultsWindow results(table, [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    QTRY_VERIFY(results.finished());
    results.setOpenQuestion([](QWidget*, const QString&) { return false; });
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("history-отчет.pdf"));
    QCOMPARE(results.startSectionReport(pdf), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!results.writingSectionReport(), 120000);
    const QStringList pages = pdfPages(pdf);
    const QString first = pages.value(0);
    const auto plan = first.indexOf(QStringLiteral("План замены"));
    QVERIFY(plan > 0);
    // The plan's girders in its order: 14-15 (limit reached), Перегон Б 12-13, …
    const auto reached = first.indexOf(QStringLiteral("достигнут:"), plan);
    QVERIFY(reached > plan);
    QVERIFY(first.indexOf(QStringLiteral("14-15"), plan) < reached);
    // Every row holds or is to check by its measured flange: none is left
    // without a verdict for want of the sections its angles give.
    const QString all = pages.join(QLatin1Char('\f'));
    QVERIFY(!all.contains(QStringLiteral("Вывод не сделан")));
    QVERIFY(all.contains(QStringLiteral("ниже предела")) || all.contains(QStringLiteral("выше предела")));
    const QAbstractItemModel& model = *qobject_cast<QTableView*>(results.findChild<QTabWidget*>()->widget(0))->model();
    QCOMPARE(all.count(QStringLiteral("Как получены числа этой опоры")), model.rowCount());
}

void TableResultsTest::sectionReportStoppedRefusedOrCutShortLeavesNoFile()
{
    QTemporaryDir dir;
    const QString table = dir.filePath("table.csv");
    const QString target = dir.filePath("report.pdf");
    QFile old(target);
    QVERIFY(QFile::copy(example(), table) && old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
    old.close();
    const auto untouched = [&] {
        return QDir(dir.path()).entryList(QDir::Files) == QStringList{"report.pdf", "table.csv"} &&
               read(target) == "old\n";
    };
    TableResultsWindow results(table, [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    QCOMPARE(results.startSectionReport(target), QStringLiteral("таблица еще не проверена"));
    QString message;
    results.setMessagePresenter([&message](QWidget*, const QString& text, MessageIcon) { message = text; });
    QTRY_VERIFY(results.finished());

    // The button sits right of the save, as high, and says what it makes.
    results.show();
    QVERIFY(QTest::qWaitForWindowExposed(&results));
    const auto buttons = results.findChildren<QPushButton*>();
    const QRect save = buttons.at(0)->geometry();
    const QRect report = buttons.at(1)->geometry();
    QCOMPARE(buttons.at(0)->text() + buttons.at(1)->text(), QStringLiteral("Сохранить результаты…Отчёт по участку…"));
    QVERIFY(buttons.at(1)->isEnabled() && buttons.at(1)->accessibleName().contains(QStringLiteral("PDF")));
    QVERIFY(report.top() == save.top() && report.height() == save.height() && report.x() - save.right() < 20);

    QCOMPARE(results.startSectionReport(table), QStringLiteral("это сама проверяемая таблица"));
    QCOMPARE(results.startSectionReport(dir.path()), QStringLiteral("это не обычный файл"));
    // Stopped after its first pieces.
    QCOMPARE(results.startSectionReport(target), QString());
    QTest::qWait(100);
    QVERIFY(results.writingSectionReport());
    results.cancelSectionReport();
    QVERIFY(!results.writingSectionReport() && untouched());

    // The disk full after 100 kB: said, and nothing left but the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{100000, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    QCOMPARE(results.startSectionReport(target), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!results.writingSectionReport(), 60000);
    setrlimit(RLIMIT_FSIZE, &limit);
    QVERIFY2(message.startsWith(QStringLiteral("Отчет по участку не записан в «%1»: ").arg(target)),
             qPrintable(message));
    QVERIFY(untouched());
}

// A point table shows the verdicts of its comma one, its margins with the
// point, and saves what the command writes; a table with both separators
// asks, naming the cell, and is read as answered, or not at all.
void TableResultsTest::pointTableAndTheQuestionOfItsSeparator()
{
    const QString tables = QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/");
    QTemporaryDir dir;
    const auto nothing = [](const MapForm&, const GirderIdentity&, const GirderHistory&) {};
    QStringList asked;
    std::optional<DecimalSeparator> answer;
    // The margin, the verdicts and the summary as the window shows them.
    const auto shown = [&](const QString& table, const QString& saved, QStringList& cells) {
        TableResultsWindow results(table, nothing);
        results.setDecimalQuestion([&](QWidget*, const QString& text) {
            asked << text;
            return answer;
        });
        QTRY_VERIFY(results.finished());
        for (int at = 4; at < 9 && results.findChild<QTableView*>()->model() != nullptr; ++at) {
            cells << column(*results.findChild<QTableView*>()->model(), at);
        }
        cells << results.findChild<QLabel*>()->text();
        QVERIFY(saved.isEmpty() || results.save(saved));
    };
    QStringList comma;
    QStringList point;
    shown(example(), {}, comma);
    shown(tables + "line-section-point.csv", dir.filePath("point.csv"), point);
    QVERIFY(asked.isEmpty());
    QCOMPARE(point.last(), comma.last().chopped(1) + QStringLiteral("; десятичный разделитель: точка."));
    QCOMPARE(point.mid(0, 12), comma.mid(0, 12).replaceInStrings(QStringLiteral(","), QStringLiteral(".")));
    QCOMPARE(point.mid(12, point.size() - 13), comma.mid(12, comma.size() - 13));
    QCOMPARE(read(dir.filePath("point.csv")), read(tables + "line-section-point.out"));

    answer = DecimalSeparator::Point;
    QStringList answered;
    shown(tables + "mixed-decimals.csv", dir.filePath("answered.csv"), answered);
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.front().contains(QStringLiteral("строка 4, столбец «txtG»: \"0.33\" — десятичная точка")),
             qPrintable(asked.front()));
    QCOMPARE(read(dir.filePath("answered.csv")), read(tables + "decimal-point.out"));

    answer.reset();
    QStringList cancelled;
    shown(tables + "mixed-decimals.csv", {}, cancelled);
    QCOMPARE(asked.size(), 2);
    QVERIFY2(cancelled.last().endsWith(QStringLiteral("Таблица не проверена: десятичный разделитель не выбран.")),
             qPrintable(cancelled.last()));
    QVERIFY(cancelled.size() == 1);
}

QTEST_MAIN(TableResultsTest)
#include "table_results_test.moc"

void TableResultsTest::inspectionsShowTheCommandsLifeFilterAndPlan()
{
    const QString table = QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/line-section-history.csv");
    QTemporaryDir dir;
    QCOMPARE(QProcess::execute(QStringLiteral(PROCHNAR_CALC),
                               {"--table", table, "-o", dir.filePath("cli.csv"), "--plan", dir.filePath("cli.plan")}),
             3); // a girder whose flange is below its limit: to check
    const auto out = records(dir.filePath("cli.csv"));
    MapForm openedForm;
    GirderHistory openedHistory;
    TableResultsWindow results(table, [&](const MapForm& form, const GirderIdentity&, const GirderHistory& history) {
        openedForm = form;
        openedHistory = history;
    });
    QTRY_VERIFY(results.finished());
    auto* tabs = results.findChild<QTabWidget*>();
    auto* view = qobject_cast<QTableView*>(tabs->widget(0));
    auto& model = *qobject_cast<TableResultsModel*>(view->model());

    // A girder opens as the check judged it: its sections as measured, its history.
    emit view->doubleClicked(model.index(0, 0));
    const auto in = records(table);
    const auto& first = in.at(model.girderAt(0) + 1);
    const auto cell = [&](const char* name) {
        return first.at(static_cast<std::size_t>(std::find(in[0].begin(), in[0].end(), name) - in[0].begin()));
    };
    const std::optional<std::size_t> chord = angleNamed(cell("Уголок пояса"));
    QVERIFY(chord.has_value());
    const std::optional<Angle> measured = thinnedAngle(angleCatalogue()[*chord], *thicknessTenths(cell("t пояса, мм")));
    QCOMPARE(openedForm.text(Field::Text9), areaText(*measured));
    QCOMPARE(openedForm.text(Field::txtIy), radiusText(*measured));
    QCOMPARE(openedHistory.chordAngle, chord);
    QCOMPARE(openedHistory.chordMeasured, measured->thicknessTenths);
    QCOMPARE(openedHistory.installed, std::stoi(cell("Год установки")));
    QCOMPARE(openedHistory.inspections.size(), 1U);
    QCOMPARE(static_cast<std::size_t>(model.rowCount()), out.size() - 1);
    // Every column shown but the margin (kept as a number) is the command's
    // cell of the same name, the life columns included.
    int compared = 0;
    for (int column = 0; column < model.columnCount(); ++column) {
        const std::string name = model.headerData(column, Qt::Horizontal).toString().toStdString();
        const auto at = std::find(out[0].begin(), out[0].end(), name);
        QVERIFY2(at != out[0].end(), name.c_str());
        for (int row = 0; column != model.marginColumn() && row < model.rowCount(); ++row, ++compared) {
            QCOMPARE(model.index(row, column).data().toString().toStdString(),
                     out.at(model.girderAt(row) + 1).at(static_cast<std::size_t>(at - out[0].begin())));
        }
    }
    QCOMPARE(model.headerData(model.yearColumn(), Qt::Horizontal).toString(), QStringLiteral("Год замены"));
    QVERIFY(compared > 20 * model.rowCount());
    QVERIFY(results.save(dir.filePath("window.csv")));
    QCOMPARE(read(dir.filePath("window.csv")), read(dir.filePath("cli.csv")));
    // As a workbook too: both sheets, their cells and styles, the command's.
    QCOMPARE(QProcess::execute(QStringLiteral(PROCHNAR_CALC),
                               {"--table", table, "-o", dir.filePath("cli.xlsx"), "--plan", dir.filePath("cli2.plan")}),
             3);
    QVERIFY(results.save(dir.filePath("window.xlsx")));
    const auto part = [&dir](const char* file, const char* name) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), dir.filePath(file), name});
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
    };
    for (const char* name : {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/styles.xml"}) {
        QVERIFY(part("cli.xlsx", name).size() > 1000);
        QCOMPARE(part("window.xlsx", name), part("cli.xlsx", name));
    }

    // By the year of replacement as numbers, those without one last.
    const int year = model.yearColumn();
    view->sortByColumn(year, Qt::AscendingOrder);
    QStringList years = column(model, year);
    const auto firstEmpty = std::find(years.begin(), years.end(), QString());
    QVERIFY(firstEmpty != years.begin() &&
            std::all_of(firstEmpty, years.end(), [](const QString& y) { return y.isEmpty(); }));
    QVERIFY(std::is_sorted(years.begin(), firstEmpty, [](const QString& a, const QString& b) {
        return a.section(u' ', 0, 0).toInt() < b.section(u' ', 0, 0).toInt();
    }));

    // The filter: only the girders to replace by the year, the summary the whole table's.
    const QString summary = results.findChild<QLabel*>()->text();
    const int by = years.at(static_cast<int>((firstEmpty - years.begin()) / 2)).section(u' ', 0, 0).toInt();
    const auto due = std::count_if(years.begin(), firstEmpty,
                                   [by](const QString& y) { return y.section(u' ', 0, 0).toInt() <= by; });
    results.findChild<QSpinBox*>()->setValue(by);
    results.findChild<QCheckBox*>()->setChecked(true);
    years = column(model, year);
    QCOMPARE(years.size(), static_cast<int>(due));
    QVERIFY(!years.isEmpty() && std::all_of(years.begin(), years.end(), [by](const QString& y) {
        return !y.isEmpty() && y.section(u' ', 0, 0).toInt() <= by;
    }));
    QCOMPARE(results.findChild<QLabel*>()->text(), summary);
    results.findChild<QCheckBox*>()->setChecked(false);
    QCOMPARE(static_cast<std::size_t>(model.rowCount()), out.size() - 1);

    // The plan's tab: the command's plan, row for row in its order.
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(1), QStringLiteral("План замены"));
    const QAbstractItemModel& plan = *qobject_cast<QTableView*>(tabs->widget(1))->model();
    const auto planned = records(dir.filePath("cli.plan"));
    QCOMPARE(static_cast<std::size_t>(plan.rowCount()), planned.size() - 1);
    for (int at = 0; at < plan.columnCount(); ++at) {
        QCOMPARE(plan.headerData(at, Qt::Horizontal).toString().toStdString(),
                 planned[0].at(static_cast<std::size_t>(at)));
        for (int row = 0; row < plan.rowCount(); ++row) {
            QCOMPARE(plan.index(row, at).data().toString().toStdString(),
                     planned.at(static_cast<std::size_t>(row) + 1).at(static_cast<std::size_t>(at)));
        }
    }
    // A double click on a girder of the plan opens its latest calculation
    // with the inspections of all its rows: three campaigns.
    GirderIdentity openedIdentity;
    TableResultsWindow again(table,
                             [&](const MapForm& form, const GirderIdentity& identity, const GirderHistory& history) {
                                 openedForm = form;
                                 openedIdentity = identity;
                                 openedHistory = history;
                             });
    QTRY_VERIFY(again.finished());
    auto* planView = qobject_cast<QTableView*>(again.findChild<QTabWidget*>()->widget(1));
    emit planView->doubleClicked(planView->model()->index(0, 0));
    const std::string support = planned.at(1).at(1);
    QCOMPARE(openedIdentity.support, support);
    QCOMPARE(openedHistory.inspections.size(), 3U);
    const auto latest = std::max_element(openedHistory.inspections.begin(), openedHistory.inspections.end(),
                                         [](const Inspection& a, const Inspection& b) { return a.date < b.date; });
    QCOMPARE(openedHistory.chordMeasured, latest->chordTenths);
    QCOMPARE(openedForm.text(Field::Text9),
             areaText(*thinnedAngle(angleCatalogue()[*openedHistory.chordAngle], *latest->chordTenths)));

    // A table without inspections has neither the filter nor the plan.
    TableResultsWindow plain(example(), [](const MapForm&, const GirderIdentity&, const GirderHistory&) {});
    QTRY_VERIFY(plain.finished());
    QVERIFY(plain.findChild<QCheckBox*>()->isHidden());
    QCOMPARE(plain.findChild<QTabWidget*>()->count(), 1);
}

// A girder of the plan whose rows were all refused has nothing to open: the
// window says so and where the reason is.
void TableResultsTest::aPlannedGirderOfRefusedRowsSaysWhyItDoesNotOpen()
{
    bool opened = false;
    TableResultsWindow results(
        QStringLiteral(PROCHNAR_SOURCE_DIR "/tests/cli/tables/refused.csv"),
        [&opened](const MapForm&, const GirderIdentity&, const GirderHistory&) { opened = true; });
    QString message;
    results.setMessagePresenter([&message](QWidget*, const QString& text, MessageIcon) { message = text; });
    QTRY_VERIFY(results.finished());
    auto* planView = qobject_cast<QTableView*>(results.findChild<QTabWidget*>()->widget(1));
    QCOMPARE(planView->model()->index(0, 1).data().toString(), QStringLiteral("20-21"));
    emit planView->doubleClicked(planView->model()->index(0, 0));
    QVERIFY(!opened);
    QVERIFY2(message.contains(QStringLiteral("«20-21» не открыта")) && message.contains(QStringLiteral("«Сообщение»")),
             qPrintable(message));
}
