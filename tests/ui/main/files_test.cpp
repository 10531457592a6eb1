// Calculations kept in files: a round trip in every state of the wizard, the
// same files as prochnar-calc's both ways, damaged files refused with the
// window unchanged, the question before changes are lost, a failed save.

#include "calc/verdicts.h"
#include "formats/calculation_file.h"
#include "ui/main/inspections_dialog.h"
#include "ui/main/main_window.h"
#include "ui/main/report.h"
#include "ui/main/report_parts.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>

using namespace prochnar;

namespace {

// The window with its messages and questions recorded; the question is
// answered with answer.
struct Window {
    Window()
    {
        w.setMessagePresenter([this](QWidget*, const QString& text, MessageIcon) { messages << text; });
        w.setSaveQuestion([this](QWidget*, const QString& text) {
            asked << text;
            return answer;
        });
    }
    void click(const char* button) const { w.findChild<QPushButton*>(QLatin1String(button))->click(); }
    [[nodiscard]] QString verdicts() const
    {
        QString all;
        for (const char* row : {"lblVerdict1", "lblVerdict2", "lblVerdict3", "lblVerdict4"}) {
            all += w.findChild<QLabel*>(QLatin1String(row))->text() + QLatin1Char('|');
        }
        return all;
    }
    MainWindow w{ReferenceFiles({QStringLiteral(PROCHNAR_DOCUMENTS_DIR)}), [](const QUrl&) { return true; }};
    QStringList messages, asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unread)");
}

template <typename T> T* child(const QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path())); } // the recent files
    void roundTripInEveryStateAndThroughTheCommand() const;
    void damagedFilesRefusedWithTheWindowUnchanged() const;
    void askedBeforeChangesAreLostOnlyOnceAFileIsUsed() const;
    void failedSaveLeavesTheOldFileWhole() const;
    void reportOfTheFileSaysWhatTheWindowShows() const;
    void reportHeadOnTheFirstPageAndOfferedToOpen() const;
    void storedResultsRecomputed() const;
    void inspectionsEnteredAppliedSavedAndReported() const;

private:
    QTemporaryDir config, dir;
    [[nodiscard]] QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

void FilesTest::roundTripInEveryStateAndThroughTheCommand() const
{
    // The title names the file and the support, each as typed.
    for (const auto& [file, support, title] : std::initializer_list<std::tuple<QString, std::string, QString>>{
             {{}, {}, QStringLiteral("Прочнар")},
             {QStringLiteral("/a/b.prochnar"), " ", QStringLiteral("Прочнар — b.prochnar[*]")},
             {{}, " 40-41\n", QStringLiteral("Прочнар — опора 40-41")},
             {QStringLiteral("x[*].prochnar"), "4[*]", QStringLiteral("Прочнар — x[*][*].prochnar, опора 4[*][*][*]")},
         }) {
        QCOMPARE(calculationTitle(file, support), title);
    }
    Window a;
    readFormFile(read(QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/worked-example.form")).toStdString(), a.w.form());
    const GirderIdentity identity{.section = "Перегон = 1", .support = "40-41", .note = "две\nстроки"};
    a.w.document().setIdentity(identity);
    QCOMPARE(a.w.windowTitle(), QStringLiteral("Прочнар — опора 40-41"));
    QVERIFY(a.w.document().saveFile(path("typed.prochnar")));
    QCOMPARE(a.w.windowTitle(), QStringLiteral("Прочнар — typed.prochnar, опора 40-41[*]"));
    for (const char* clicks : {"", "Command2", "Command5,Command4", "Command6", "Command3"}) { // states 1 to 5
        for (const QString& button : QString::fromLatin1(clicks).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            a.click(button.toLatin1().constData());
        }
        QVERIFY2(a.w.document().saveFile(path("state.prochnar")), clicks);
        QCOMPARE(read(path("state.prochnar")).toStdString(), a.w.document().text());
        Window b;
        QVERIFY2(b.w.document().openFile(path("state.prochnar")), clicks);
        // After a reset the results of the steps it closed are shown no more.
        const bool reset = QByteArray(clicks) == "Command6" || QByteArray(clicks) == "Command3";
        QVERIFY2(b.messages.size() == (reset ? 1 : 0) && b.w.isWindowModified() == reset, clicks);
        if (!reset) {
            QVERIFY2(b.w.document().text() == a.w.document().text() && b.verdicts() == a.verdicts(), clicks);
        } else {
            QVERIFY2(b.messages.front().contains(QStringLiteral("пересчитаны")) &&
                         b.w.form().text(Field::Text4).empty() && b.w.form().text(Field::txtQp).empty(),
                     clicks);
            for (const auto& property : kStateProperties) {
                QVERIFY(b.w.form().state(property.control) == a.w.form().state(property.control));
            }
        }
        if (QString::fromLatin1(clicks) == QLatin1String("Command5,Command4")) { // prochnar-calc takes it on
            QProcess calc;
            calc.setStandardOutputFile(path("by-command.prochnar"));
            calc.start(QStringLiteral(PROCHNAR_CALC), {path("typed.prochnar")});
            QVERIFY(calc.waitForFinished() && calc.exitCode() == 0);
            Window c;
            QVERIFY(c.w.document().openFile(path("by-command.prochnar")));
            QVERIFY(writeFormFile(c.w.form()) == writeFormFile(a.w.form()) && c.verdicts() == a.verdicts());
            QVERIFY(c.w.document().identity() == identity);
            QVERIFY(a.verdicts().startsWith(QStringLiteral("проверьте: J 0,8 больше табличного 0,269|")));
        }
    }
    QVERIFY(a.w.document().writeReport(path("report.pdf")) && read(path("report.pdf")).startsWith("%PDF-"));
    // An edit of the identity is a change of the calculation, as of a field.
    a.w.document().setIdentity({.support = "7"});
    QVERIFY(a.w.isWindowModified() && a.w.windowTitle() == QStringLiteral("Прочнар — state.prochnar, опора 7[*]"));
    a.w.document().setIdentity(identity);
    QVERIFY(!a.w.isWindowModified());
}

void FilesTest::damagedFilesRefusedWithTheWindowUnchanged() const
{
    Window a;
    a.w.form().setText(Field::txtMn, "7");
    QVERIFY(a.w.document().saveFile(path("whole.prochnar")));
    const QByteArray whole = read(path("whole.prochnar"));
    const std::string before = a.w.document().text();
    const std::initializer_list<std::pair<QByteArray, const char*>> damaged{
        {whole.left(whole.size() - 2), "строка 59, знак 18: у Command4.Enabled"}, // cut in its last line
        {whole.left(whole.indexOf("Text4=")), "строка 44: нет строки Text4"},
        {"txtMn=1\n\x89PNG\r\n\x1a\n", "строка 2, знак 1: это не текст UTF-8"},
        {"txtMn=1\r\nfoo=2\n", "строка 2, знак 1: неизвестное имя «foo»"},
        {QByteArray(std::size_t{16} * 1024 * 1024 + 1, 'a'), "больше 16 МБ"},
        // Not cut to what an edit field holds.
        {QByteArray(whole).replace("txtMn=7", "txtMn=" + QByteArray(32768, '7')),
         "строка 1: текст txtMn длиннее 32767"},
    };
    for (const auto& [bytes, says] : damaged) {
        write(path("damaged.prochnar"), bytes);
        a.messages.clear();
        QVERIFY(!a.w.document().openFile(path("damaged.prochnar")));
        QVERIFY2(a.messages.size() == 1 && a.messages.front().contains(path("damaged.prochnar")) &&
                     a.messages.front().contains(QString::fromUtf8(says)),
                 qPrintable(a.messages.join(QLatin1Char('\n'))));
        QVERIFY(a.w.document().text() == before && a.w.document().filePath() == path("whole.prochnar"));
        QVERIFY(!a.w.isWindowModified() && a.w.windowTitle() == QStringLiteral("Прочнар — whole.prochnar[*]"));
    }
}

void FilesTest::askedBeforeChangesAreLostOnlyOnceAFileIsUsed() const
{
    Window a;
    a.w.show();
    a.w.form().setText(Field::txtMn, "1");
    a.click("Command2");
    QVERIFY(a.w.close() && a.asked.isEmpty()); // never saved: never asked
    for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Discard, QMessageBox::Save}) {
        Window b;
        b.w.show();
        QVERIFY(QTest::qWaitForWindowActive(&b.w) && b.w.document().saveFile(path("asked.prochnar")));
        QVERIFY(b.w.close() && b.asked.isEmpty()); // nothing changed
        b.w.show();
        QVERIFY(QTest::qWaitForWindowActive(&b.w));
        b.w.form().setText(Field::txtMn, "2");
        QVERIFY(b.w.isWindowModified());
        QTest::keyClick(&b.w, Qt::Key_O, Qt::ControlModifier); // "Открыть…" asks first; Cancel leaves it
        b.answer = answer;
        QCOMPARE(b.w.close(), answer != QMessageBox::Cancel);
        QCOMPARE(b.asked, QStringList(2, QStringLiteral("Расчет «asked.prochnar» изменен. Сохранить изменения?")));
        QCOMPARE(read(path("asked.prochnar")).contains("txtMn=2\n"), answer == QMessageBox::Save);
    }
    auto* menu = a.w.findChild<QMenu*>();
    emit menu->aboutToShow();
    QStringList items;
    for (const QAction* action : menu->actions()) {
        items << action->text() + QLatin1Char(' ') + action->shortcut().toString();
    }
    QCOMPARE(items.join(QLatin1Char('|')),
             QStringLiteral("Открыть… Ctrl+O|Сохранить Ctrl+S|Сохранить как… "
                            "Ctrl+Shift+S|Данные опоры… |Осмотры… | |&1 asked.prochnar |&2 "
                            "whole.prochnar |&3 state.prochnar |&4 by-command.prochnar "
                            "|&5 typed.prochnar | |"
                            "Отчёт… Ctrl+P|Печать… | |Проверить таблицу опор… "));
}

void FilesTest::failedSaveLeavesTheOldFileWhole() const
{
    Window a;
    write(path("old.prochnar"), "txtMn=old\n");
    a.w.form().setText(Field::txtMn, "1\nFrame5.Visible=0"); // pasted with a line break
    QVERIFY(!a.w.document().saveFile(path("old.prochnar")) &&
            a.messages.back().contains(QStringLiteral("перевод строки")));
    a.w.form().setText(Field::txtMn, "1");
    std::signal(SIGXFSZ, SIG_IGN); // the disk is full after 100 bytes
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{100, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    const bool saved = a.w.document().saveFile(path("old.prochnar"));
    setrlimit(RLIMIT_FSIZE, &limit);
    QVERIFY(!saved && a.messages.back().startsWith(QStringLiteral("Расчет не сохранен в «") + path("old.prochnar")));
    QCOMPARE(read(path("old.prochnar")), QByteArray("txtMn=old\n"));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("old.prochnar*")}),
             QStringList{QStringLiteral("old.prochnar")});
    QVERIFY(a.w.document().filePath().isEmpty() && a.w.windowTitle() == QStringLiteral("Прочнар"));
    // A pipe (as a device) is not replaced by a regular file.
    QVERIFY(mkfifo(QFile::encodeName(path("pipe.prochnar")).constData(), 0600) == 0);
    QVERIFY(!a.w.document().saveFile(path("pipe.prochnar")) &&
            a.messages.back().contains(QStringLiteral("это не обычный файл")));
    QVERIFY(QFileInfo(path("pipe.prochnar")).exists() && !QFileInfo(path("pipe.prochnar")).isFile());
}

// The report made from a file alone (as prochnar --report makes it) is the
// report of the window that opened the file, and words the window's verdicts.
void FilesTest::reportOfTheFileSaysWhatTheWindowShows() const
{
    const QString example = QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/catalogue-angles.prochnar");
    const Calculation calculation = readCalculationFile(example.toStdString());
    const ReportFacts facts{
        .file = example, .made = QDateTime::currentDateTime(), .presses = calculation.presses, .recomputed = {}};
    Window a;
    QVERIFY(a.w.document().openFile(example));
    const QString report = reportPlainText(a.w.form(), facts);
    QCOMPARE(reportPlainText(calculation.form, facts), report);
    QCOMPARE(reportHtml(a.w.form(), facts, FormCaptions(a.w)),
             reportHtml(a.w.form(), facts)); // the designer's captions
    const QStringList verdicts = a.verdicts().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QCOMPARE(verdicts.size(), qsizetype{kVerdictRows});
    qsizetype at = 0;
    for (const QString& verdict : verdicts) { // in the rows' order
        at = report.indexOf(verdict, at);
        QVERIFY2(at >= 0, qPrintable(verdict));
    }
}

// The first page names the girder as far as it was named, concludes and
// shows the sketch; numbers line up on their commas. Once written, the
// report is offered to be opened, in the words of a box that says where it went.
void FilesTest::reportHeadOnTheFirstPageAndOfferedToOpen() const
{
    const Calculation calculation = readCalculationFile(PROCHNAR_SOURCE_DIR "/examples/catalogue-angles.prochnar");
    const ReportFacts facts{.file = {},
                            .made = QDateTime::currentDateTime(),
                            .presses = {},
                            .recomputed = {},
                            .identity = {.support = "40-41", .km = "104,2", .inspector = "Иванов И. И."}};
    const QString html = reportHtml(calculation.form, facts);
    write(path("head.pdf"), reportPdf(html));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-l"), QStringLiteral("1"), path("head.pdf"), "-"});
    QVERIFY(pdftotext.waitForFinished());
    const QString first = QString::fromUtf8(pdftotext.readAllStandardOutput());
    qsizetype at = 0;
    for (const char* part : {"Опора: 40-41; Км: 104,2", "Проверил: Иванов И. И.",
                             "Вывод: ригель не держит — сжатый пояс, не хватает 445,2 %.", "Схема ригеля", "Шаг 1"}) {
        at = first.indexOf(QString::fromUtf8(part), at);
        QVERIFY2(at >= 0, part);
    }
    QVERIFY(!first.contains(QStringLiteral("Участок")) && html.contains(QStringLiteral("data:image/png;base64,")));

    const report::Column column({"33,41688", "0,952381", "47174,4", "-1", "x"});
    QStringList cells;
    for (const char* number : {"33,41688", "0,952381", "47174,4", "-1"}) {
        QTextDocument cell;
        cell.setHtml(column(number));
        cells << cell.toPlainText().replace(QChar(0x2008), QLatin1Char(','));
    }
    QCOMPARE(cells.join(QLatin1Char('|')).replace(QChar(0x2007), QLatin1Char('_')),
             QStringLiteral("___33,41688_|____0,952381|47174,4_____|___−1,______"));
    QCOMPARE(column("x"), QStringLiteral("x"));

    Window a;
    QStringList told;
    QList<QUrl> opened;
    a.w.document().setOpenQuestion([&told](QWidget*, const QString& text) {
        told << text;
        return told.size() == 1;
    });
    a.w.document().setOpener([&opened](const QUrl& url) {
        opened << url;
        return opened.size() == 1;
    });
    a.w.document().offerReport(path("head.pdf"));
    a.w.document().offerReport(path("head.pdf"));
    QCOMPARE(told.size(), 2);
    a.w.document().setOpenQuestion([](QWidget*, const QString&) { return true; });
    a.w.document().offerReport(path("head.pdf")); // no viewer: said so
    QVERIFY(a.messages.back().startsWith(
        QStringLiteral("Отчет «%1» не открыт").arg(QDir::toNativeSeparators(path("head.pdf")))));
    QCOMPARE(told.front(), QStringLiteral("Отчет записан в «%1».").arg(QDir::toNativeSeparators(path("head.pdf"))));
    QCOMPARE(opened.front(), QUrl::fromLocalFile(path("head.pdf")));
    QStringList buttons;
    QTimer::singleShot(0, [&buttons] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        for (const QAbstractButton* button : box->buttons()) {
            buttons << button->text();
        }
        box->button(QMessageBox::Open)->click();
    });
    QVERIFY(askToOpenReport(nullptr, QStringLiteral("Отчет записан.")));
    buttons.sort();
    QCOMPARE(buttons, QStringList({QStringLiteral("Закрыть"), QStringLiteral("Открыть")}));
}

// A file whose results were edited opens, and reports, with the results its
// inputs give: the window says which fields differed, the report says so and
// shows none of the file's own messages.
void FilesTest::storedResultsRecomputed() const
{
    const QString example = QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/catalogue-angles.prochnar");
    Window a;
    QVERIFY(a.w.document().openFile(example) && a.messages.isEmpty() && !a.w.isWindowModified());
    const std::string text4 = a.w.form().text(Field::Text4);
    const QString verdicts = a.verdicts();
    QByteArray edited = read(example);
    edited.replace("Text4=" + QByteArray::fromStdString(text4), "Text4=0,1");
    edited.prepend("# press Command4\n# message: всё держит\n");
    write(path("edited.prochnar"), edited);

    Window b;
    QVERIFY(b.w.document().openFile(path("edited.prochnar")));
    QCOMPARE(b.w.form().text(Field::Text4), text4);
    QCOMPARE(b.verdicts(), verdicts);
    QVERIFY2(b.messages.size() == 1 && b.messages.front().contains(b.w.form().spokenName(Field::Text4)),
             qPrintable(b.messages.join(QLatin1Char('\n'))));
    QVERIFY(b.w.isWindowModified());
    QVERIFY(b.w.document().save() && !b.w.isWindowModified());
    QVERIFY(read(path("edited.prochnar")).contains("Text4=" + QByteArray::fromStdString(text4) + "\n"));

    write(path("edited.prochnar"), edited);
    QProcess report;
    report.start(QStringLiteral(PROCHNAR_PROGRAM),
                 {QStringLiteral("--report"), path("edited.pdf"), path("edited.prochnar")});
    QVERIFY(report.waitForFinished(60000) && report.exitCode() == 0);
    QVERIFY(QString::fromUtf8(report.readAllStandardError()).contains(QStringLiteral("пересчитаны")));
    const Calculation calculation = readCalculationFile(path("edited.prochnar").toStdString());
    const QString plain = reportPlainText(calculation.form, {.file = {},
                                                             .made = QDateTime::currentDateTime(),
                                                             .presses = calculation.presses,
                                                             .recomputed = {QStringLiteral("Text4")}});
    QVERIFY(plain.contains(QString::fromStdString(text4)) && plain.contains(QStringLiteral("Text4.")));
    QVERIFY(!plain.contains(QStringLiteral("всё держит")));
}

// A girder of L 75×6 chords and L 50×5 diagonals installed in 1998, its
// inspections entered in "Осмотры…" (a bad thickness, a date after today or
// before the installation, and an installation after an inspection refused,
// a row changed and one removed), the latest applied to the sections,
// computed, saved, reopened, reported and finished by prochnar-calc, all
// with one life.
void FilesTest::inspectionsEnteredAppliedSavedAndReported() const
{
    Window a;
    readFormFile(read(QStringLiteral(PROCHNAR_SOURCE_DIR "/examples/worked-example.form")).toStdString(), a.w.form());
    QString lives;
    QTimer::singleShot(0, [&a, &lives] {
        auto* dialog = qobject_cast<InspectionsDialog*>(QApplication::activeModalWidget());
        child<QComboBox>(dialog, "chordAngle")->setCurrentText(QStringLiteral("L 75×6"));
        child<QComboBox>(dialog, "diagonalAngle")->setCurrentText(QStringLiteral("L 50×5"));
        child<QSpinBox>(dialog, "installed")->setValue(1998);
        auto* table = child<QTableWidget>(dialog, "inspections");
        const auto enter = [&](const char* date, const char* chord, const char* diagonals, const char* button) {
            child<QDateEdit>(dialog, "date")
                ->setDate(QDate::fromString(QLatin1String(date), QStringLiteral("dd.MM.yyyy")));
            child<QLineEdit>(dialog, "chordThickness")->setText(QString::fromUtf8(chord));
            child<QLineEdit>(dialog, "diagonalThickness")->setText(QString::fromUtf8(diagonals));
            child<QPushButton>(dialog, button)->click();
        };
        for (const char* bad : {"6,1", "0", "-1", "5,25", "5.2", "x"}) {
            enter("14.05.2024", bad, "", "add");
        }
        QCOMPARE(a.messages.size(), 6);
        QVERIFY(a.messages.front().contains(QStringLiteral("больше толщины полки уголка L 75×6 (6 мм)")) &&
                a.messages.at(1).contains(QStringLiteral("больше нуля")) &&
                a.messages.at(3).contains(QStringLiteral("одного знака")));
        // An inspection dated tomorrow has not been made: refused, nothing added.
        const QByteArray tomorrow = QDate::currentDate().addDays(1).toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
        enter(tomorrow.constData(), "5,1", "4,3", "add");
        QVERIFY(a.messages.size() == 7 && a.messages.back().contains(QStringLiteral("позже сегодняшней")));
        enter("31.12.1997", "5,1", "4,3", "add"); // before the installation
        QVERIFY(a.messages.size() == 8 && a.messages.back().contains(QStringLiteral("раньше года установки 1998")));
        QCOMPARE(table->rowCount(), 0);
        enter("14.05.2024", "5,1", "4,3", "add");
        enter("12.06.2008", "5,8", " ", "add");
        enter("01.01.2010", "5,9", "4,9", "add");
        enter("20.05.2016", "5,5", "4,6", "add");
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("12.06.2008")); // by date
        // Nor is the girder installed after an inspection.
        child<QSpinBox>(dialog, "installed")->setValue(2009);
        QVERIFY(a.messages.back().contains(QStringLiteral("Год установки 2009 позже осмотра 12.06.2008")));
        QCOMPARE(child<QSpinBox>(dialog, "installed")->value(), 1998);
        table->selectRow(0);
        QCOMPARE(child<QLineEdit>(dialog, "chordThickness")->text(), QStringLiteral("5,8"));
        child<QLineEdit>(dialog, "diagonalThickness")->setText(QStringLiteral("4,8"));
        child<QPushButton>(dialog, "change")->click();
        table->selectRow(1);
        child<QPushButton>(dialog, "remove")->click();
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(0, 2)->text() + table->item(1, 0)->text(), QStringLiteral("4,820.05.2016"));
        // A nominal angle thinner than a flange measured is refused.
        child<QComboBox>(dialog, "diagonalAngle")->setCurrentText(QStringLiteral("L 50×4"));
        QVERIFY(a.messages.back().contains(QStringLiteral("L 50×4 не может быть номинальным")));
        QCOMPARE(child<QComboBox>(dialog, "diagonalAngle")->currentText(), QStringLiteral("L 50×5"));
        child<QPushButton>(dialog, "applyLatest")->click();
        lives = child<QLabel>(dialog, "lives")->text();
        dialog->accept();
    });
    QVERIFY(a.w.document().editInspections());
    const GirderHistory history = a.w.document().history();
    QCOMPARE(history.chordMeasured, std::optional(51));
    QCOMPARE(history.diagonalMeasured, std::optional(43));
    const Angle chord = *thinnedAngle(angleCatalogue()[*angleNamed("75x6")], 51);
    QCOMPARE(a.w.form().text(Field::Text9) + " " + a.w.form().text(Field::txtIy),
             areaText(chord) + " " + radiusText(chord));
    for (const char* button : {"Command2", "cmdJ", "cmdJ1", "Command5", "Command4"}) {
        a.click(button);
    }
    // The lives shown are the file's, for the inputs computed.
    QVERIFY(a.w.document().saveFile(path("inspected.prochnar")));
    QProcess calc;
    calc.start(QStringLiteral(PROCHNAR_CALC), {path("inspected.prochnar")});
    QVERIFY(calc.waitForFinished());
    const QString out = QString::fromUtf8(calc.readAllStandardOutput());
    const qsizetype girder = out.indexOf(QStringLiteral("# life girder: "));
    QVERIFY(girder >= 0);
    const QString replacement = out.mid(girder + 15, out.indexOf(QLatin1Char('\n'), girder) - girder - 15);
    QVERIFY2(lives.contains(replacement.toHtmlEscaped()) && replacement.contains(QStringLiteral(" г.")),
             qPrintable(lives));
    QVERIFY2(a.verdicts().contains(QStringLiteral("полка 5,1 мм выше предела")), qPrintable(a.verdicts()));

    Window b;
    QVERIFY(b.w.document().openFile(path("inspected.prochnar")) && b.messages.isEmpty());
    QVERIFY(b.w.document().history() == history && b.verdicts() == a.verdicts());
    const QString report =
        reportPlainText(b.w.form(), {.file = {}, .made = {}, .presses = {}, .recomputed = {}, .history = history});
    QVERIFY(report.contains(QStringLiteral("Осмотры и остаточный срок")) && report.contains(replacement) &&
            report.contains(QStringLiteral("полки утонены до 5,1 мм по осмотру")));
    QVERIFY(b.w.document().writeReport(path("inspected.pdf")) && read(path("inspected.pdf")).startsWith("%PDF-"));
    // Отмена keeps nothing of the dialog.
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        dialog->findChild<QComboBox*>(QStringLiteral("chordAngle"))->setCurrentIndex(0);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    QVERIFY(!b.w.document().editInspections() && b.w.document().history() == history);
}

QTEST_MAIN(FilesTest)
#include "files_test.moc"
