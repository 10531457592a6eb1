// What the window adds to the wizard: the verdicts beside the results of
// step 3, φ from the table on step 2, and the catalogue of angles on step 1.

#include "tests/ui/caption_fit.h"
#include "ui/main/angles_dialog.h"
#include "window_driver.h"

#include <QAccessible>
#include <QLabel>

using prochnar::test::WindowDriver;

namespace {

// The worked example from step 1 on, once the inputs of step 1 are typed.
void finishCalculation(const WindowDriver& driver)
{
    driver.click("Command2");
    prochnar::test::typeStep2(driver);
    driver.click("Command5");
    driver.click("Command4");
}

QString verdicts(const WindowDriver& driver)
{
    QStringList texts;
    for (const char* name : {"lblVerdict1", "lblVerdict2", "lblVerdict3", "lblVerdict4"}) {
        texts << driver.get<QLabel>(name)->text();
    }
    return texts.join(QStringLiteral(" | "));
}

// Chord L 63×5 and diagonals L 50×5 from the catalogue, with a moment that
// leaves the chord a margin and one that it cannot carry.
void takeAngles(const WindowDriver& driver)
{
    driver.type({{"txtMp", "24"}, {"txtMn", "40"}});
    driver.click("cmdAngles");
    auto* dialog = driver.window().findChild<prochnar::AnglesDialog*>();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    auto* filter = dialog->findChild<QLineEdit*>("filter");
    QCOMPARE(QAccessible::queryAccessibleInterface(filter)->text(QAccessible::Name),
             QStringLiteral("Размер уголка, например 63×5:"));
    QTest::keyClicks(filter, "63x5");
    QTest::mouseClick(dialog->findChild<QPushButton*>("forChord"), Qt::LeftButton);
    filter->setText(QStringLiteral("L 50 х 5"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("forDiagonals"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("close"), Qt::LeftButton);
    QTRY_VERIFY(driver.window().findChild<prochnar::AnglesDialog*>() == nullptr);
    QCOMPARE(QStringList({driver.text("Text9"), driver.text("txtIy"), driver.text("Text10"), driver.text("txtIyy")}),
             QStringList({"6,13", "1,25", "4,8", "0,98"}));
}

} // namespace

class AidsTest : public QObject {
    Q_OBJECT

private slots:
    void verdictsFollowTheResults();
    void phiFromTheTable();
    void anglesFromTheCatalogue();
};

void AidsTest::verdictsFollowTheResults()
{
    WindowDriver driver;
    prochnar::test::typeStep1(driver);
    finishCalculation(driver);
    const QString held = QStringLiteral("держит, запас 92,0 % | держит, запас 96,1 % | держит, запас 99,1 % | "
                                        "держит, запас 99,1 %");
    QCOMPARE(verdicts(driver), held);
    QCOMPARE(driver.get<QLabel>("lblVerdict1")->palette().color(QPalette::WindowText), QColor(0, 128, 0));

    // A changed value takes its row's verdict away until the next press.
    driver.type("Text8", QStringLiteral("0,4"));
    driver.type("Text13", QString());
    QCOMPARE(verdicts(driver), QStringLiteral("держит, запас 92,0 % |  | держит, запас 99,1 % | "));
    driver.click("Command4");
    QCOMPARE(verdicts(driver), QString(held).replace("держит, запас 96,1", "не держит, не хватает 19,1"));
    QCOMPARE(driver.get<QLabel>("lblVerdict2")->palette().color(QPalette::WindowText), QColor(200, 0, 0));
}

void AidsTest::phiFromTheTable()
{
    WindowDriver driver;
    QVERIFY(!driver.get("cmdJ")->isEnabled() && !driver.get("cmdJ1")->isEnabled());
    prochnar::test::typeStep1(driver);
    driver.click("Command2");
    driver.click("cmdJ");
    driver.click("cmdJ1");
    QCOMPARE(driver.text("Text3") + " " + driver.text("Text5"), QStringLiteral("0,190 0,890")); // I = 200 and 50
    QVERIFY(driver.takeMessages().empty());

    driver.form().setText("lblJ", "");
    driver.click("cmdJ");
    QCOMPARE(driver.text("Text3"), QStringLiteral("0,190"));
    QCOMPARE(driver.takeMessages().at(0).text,
             QStringLiteral("Гибкость I еще не вычислена: сначала подтвердите шаг1."));
}

void AidsTest::anglesFromTheCatalogue()
{
    WindowDriver driver;
    prochnar::test::typeStep1(driver);
    takeAngles(driver);
    finishCalculation(driver);
    QCOMPARE(verdicts(driver), QStringLiteral("держит, запас 22,3 %, полка не тоньше 3,9 мм | не держит, не хватает "
                                              "3,6 % | держит, запас 98,1 %, полка не тоньше 0,1 мм | держит, "
                                              "запас 98,2 %"));
    QLabel* longest = driver.get<QLabel>("lblVerdict1");
    QVERIFY(prochnar::test::inkFits(longest, longest->font(), longest->contentsRect(),
                                    int(longest->alignment()) | Qt::TextWordWrap, longest->text()));
    driver.type("txtIy", QStringLiteral("1,24")); // no longer the catalogue's angle
    QCOMPARE(longest->text(), QStringLiteral("держит, запас 22,3 %"));
}

QTEST_MAIN(AidsTest)
#include "aids_test.moc"
