// One calculation model under the window, the report and the table: the same
// girder, with its sections picked from the catalogue, typed by hand,
// reopened from its file or given as a row of a table, gets the same verdicts
// in the window, in the report's text and in the checked table.

#include "calc/fields.h"
#include "calc/verdicts.h"
#include "formats/calculation_file.h"
#include "formats/csv_table.h"
#include "formats/table_check.h"
#include "tests/support/wizard.h"
#include "ui/main/angles_dialog.h"
#include "ui/main/main_window.h"
#include "ui/main/report.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace prochnar;

namespace {

// The worked example with a chord of L 63×5 and diagonals of L 50×5, and
// moments that leave the compressed chord a margin and the tensioned one short.
std::vector<std::pair<Field, std::string>> girder()
{
    std::vector<std::pair<Field, std::string>> texts;
    for (const auto& [field, text] : test_support::kWorkedExample) {
        texts.emplace_back(field, text);
    }
    for (auto& [field, text] : texts) {
        text = field == Field::txtMp ? "24" : field == Field::txtMn ? "40" : text;
    }
    return texts;
}

const std::vector<std::pair<Field, std::string>> kSections{
    {Field::Text9, "6,13"}, {Field::txtIy, "1,25"}, {Field::Text10, "4,8"}, {Field::txtIyy, "0,98"}};

bool isSection(Field field)
{
    return std::any_of(kSections.begin(), kSections.end(),
                       [field](const auto& section) { return section.first == field; });
}

// Its J 0,8 is above the table's for the slenderness of both L 63×5 and L 50×5.
const QStringList kExpected{
    QStringLiteral("проверьте: J 0,8 больше табличного 0,190"),
    QStringLiteral("не держит, не хватает 3,6 %"),
    QStringLiteral("держит, запас 98,1 %, полка не тоньше 2,1 мм (местная устойчивость)"),
    QStringLiteral("проверьте: J 0,8 больше табличного 0,468"),
};

struct Window {
    Window()
    {
        w.setMessagePresenter([this](QWidget*, const QString& text, MessageIcon) { messages << text; });
    }
    void click(const char* button) const { w.findChild<QPushButton*>(QLatin1String(button))->click(); }
    // Fills what the girder gives but the sections, then confirms the steps
    // (the wire table opens with step 2) and executes.
    void calculate() const
    {
        for (int round = 0; round < 2; ++round) {
            for (const auto& [field, text] : girder()) {
                if (!isSection(field)) {
                    w.form().setText(field, text);
                }
            }
            click("Command2");
        }
        click("Command5");
        click("Command4");
    }
    [[nodiscard]] QStringList verdicts() const
    {
        QStringList texts;
        for (const char* row : {"lblVerdict1", "lblVerdict2", "lblVerdict3", "lblVerdict4"}) {
            texts << w.findChild<QLabel*>(QLatin1String(row))->text();
        }
        return texts;
    }
    MainWindow w{ReferenceFiles({QStringLiteral(PROCHNAR_DOCUMENTS_DIR)}), [](const QUrl&) { return true; }};
    QStringList messages;
};

// The verdicts that the report of the form words, in the order it words
// them: the cells of step 3 that say whether a member holds.
QStringList inReport(const Form& form)
{
    const QString report =
        reportPlainText(form, {.file = {}, .made = QDateTime::currentDateTime(), .presses = {}, .recomputed = {}});
    QStringList found;
    const QStringList lines = report.mid(report.indexOf(QStringLiteral("Шаг 3"))).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("держит")) || line.startsWith(QStringLiteral("не держит")) ||
            line.startsWith(QStringLiteral("проверьте"))) {
            found << line.trimmed();
        }
    }
    return found;
}

// The verdict columns of the girder checked as a row of a table.
QStringList inTable(bool withSections)
{
    std::vector<std::string> header;
    std::vector<std::string> row;
    for (const auto& [field, text] : girder()) {
        if (!isSection(field)) {
            header.emplace_back(fieldName(field));
            row.push_back(text);
        }
    }
    for (const auto& [field, text] : withSections ? kSections : decltype(kSections){}) {
        header.emplace_back(fieldName(field));
        row.push_back(text);
    }
    std::string csv;
    appendCsvRecord(csv, header, ';');
    appendCsvRecord(csv, row, ';');
    std::istringstream in(csv);
    std::ostringstream out;
    CsvReader reader(in);
    const TableTotals totals = checkTable(reader, out, 2);
    std::istringstream written(out.str());
    CsvReader back(written);
    std::vector<std::string> columns;
    std::vector<std::string> checked;
    if (totals.rows != 1 || !back.next(columns) || !back.next(checked)) {
        return {QStringLiteral("(no row)")};
    }
    QStringList verdicts;
    for (const Step3Row& step3 : kStep3Rows) {
        for (std::size_t column = 0; column < columns.size(); ++column) {
            if (columns[column] == step3.name) {
                verdicts << QString::fromStdString(checked.at(column));
            }
        }
    }
    return verdicts;
}

} // namespace

class ConsistencyTest : public QObject {
    Q_OBJECT

private slots:
    // The recent files the windows keep go to a folder of the test's own,
    // not to the user's settings.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path())); }
    void sameVerdictsWhereverTheGirderComesFrom() const;

private:
    QTemporaryDir config;
};

void ConsistencyTest::sameVerdictsWhereverTheGirderComesFrom() const
{
    // Picked from the catalogue.
    Window picked;
    picked.w.findChild<QPushButton*>(QStringLiteral("cmdAngles"))->click();
    auto* dialog = picked.w.findChild<AnglesDialog*>();
    QVERIFY(dialog != nullptr);
    auto* filter = dialog->findChild<QLineEdit*>(QStringLiteral("filter"));
    filter->setText(QStringLiteral("63x5"));
    dialog->findChild<QPushButton*>(QStringLiteral("forChord"))->click();
    filter->setText(QStringLiteral("50x5"));
    dialog->findChild<QPushButton*>(QStringLiteral("forDiagonals"))->click();
    dialog->findChild<QPushButton*>(QStringLiteral("close"))->click();
    picked.calculate();
    QCOMPARE(picked.verdicts(), kExpected);
    QCOMPARE(inReport(picked.w.form()), kExpected);

    // The same figures typed by hand.
    Window typed;
    for (const auto& [field, text] : kSections) {
        typed.w.form().setText(field, text);
    }
    typed.calculate();
    QCOMPARE(typed.verdicts(), kExpected);
    QCOMPARE(inReport(typed.w.form()), kExpected);

    // Saved and opened again, in the window and as the report reads the file.
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("girder.prochnar"));
    QVERIFY(typed.w.document().saveFile(path));
    Window reopened;
    QVERIFY(reopened.w.document().openFile(path));
    QCOMPARE(reopened.verdicts(), kExpected);
    QCOMPARE(inReport(readCalculationFile(path.toStdString()).form), kExpected);

    // A row of a table, with the sections' columns; without them the
    // window's default sections are empty and nothing is judged.
    QCOMPARE(inTable(true), kExpected);
    QCOMPARE(inTable(false), QStringList({QString(), QString(), QString(), QString()}));
    QVERIFY(picked.messages.isEmpty() && typed.messages.isEmpty() && reopened.messages.isEmpty());
}

QTEST_MAIN(ConsistencyTest)
#include "consistency_test.moc"
