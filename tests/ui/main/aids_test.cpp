// What the window adds to the wizard: the verdicts beside the results of
// step 3, φ from the table on step 2, and the catalogue of angles on step 1.

#include "tests/ui/caption_fit.h"
#include "ui/main/angles_dialog.h"
#include "window_driver.h"

#include <QAccessible>
#include <QLabel>

#include <functional>

using prochnar::test::WindowDriver;

namespace {

// The worked example; beforeConfirm may change the inputs of step 1.
void calculate(
    WindowDriver& driver, const std::function<void()>& beforeConfirm = [] {})
{
    prochnar::test::typeStep1(driver);
    beforeConfirm();
    driver.click("Command2");
    prochnar::test::typeStep2(driver);
    driver.click("Command5");
    driver.click("Command4");
}

QString verdict(const WindowDriver& driver, int row)
{
    return driver.get<QLabel>(qPrintable(QStringLiteral("lblVerdict%1").arg(row)))->text();
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
    calculate(driver);
    QCOMPARE(verdict(driver, 1), QStringLiteral("держит, запас 92,0 %"));
    QCOMPARE(verdict(driver, 2), QStringLiteral("держит, запас 96,1 %"));
    QCOMPARE(verdict(driver, 3), QStringLiteral("держит, запас 99,1 %"));
    QCOMPARE(verdict(driver, 4), QStringLiteral("держит, запас 99,1 %"));
    QCOMPARE(driver.get<QLabel>("lblVerdict1")->palette().color(QPalette::WindowText), QColor(0, 128, 0));

    // A changed value takes its row's verdict away until the next press.
    driver.type("Text8", QStringLiteral("0,4"));
    driver.type("Text13", QString());
    QVERIFY(verdict(driver, 2).isEmpty() && verdict(driver, 4).isEmpty());
    QCOMPARE(verdict(driver, 1), QStringLiteral("держит, запас 92,0 %"));
    driver.click("Command4");
    QCOMPARE(verdict(driver, 2), QStringLiteral("не держит, не хватает 19,1 %"));
    QCOMPARE(driver.get<QLabel>("lblVerdict2")->palette().color(QPalette::WindowText), QColor(200, 0, 0));
    QCOMPARE(verdict(driver, 4), QStringLiteral("держит, запас 99,1 %"));
}

void AidsTest::phiFromTheTable()
{
    WindowDriver driver;
    QVERIFY(!driver.get("cmdJ")->isEnabled() && !driver.get("cmdJ1")->isEnabled());
    prochnar::test::typeStep1(driver);
    driver.click("Command2");
    driver.click("cmdJ");
    driver.click("cmdJ1");
    QCOMPARE(driver.text("Text3"), QStringLiteral("0,190")); // I = 200
    QCOMPARE(driver.text("Text5"), QStringLiteral("0,890")); // I = 50
    QVERIFY(driver.takeMessages().empty());

    driver.form().setText("lblJ", "");
    driver.click("cmdJ");
    QCOMPARE(driver.text("Text3"), QStringLiteral("0,190"));
    const auto messages = driver.takeMessages();
    QCOMPARE(messages.size(), 1U);
    QCOMPARE(messages[0].text, QStringLiteral("Гибкость I еще не вычислена: сначала подтвердите шаг1."));
}

// Chord L 63×5 and diagonals L 50×5 from the catalogue, a moment that
// leaves L 63×5 a margin and one that it cannot carry.
void takeAngles(WindowDriver& driver)
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
    QCOMPARE(driver.text("Text9") + " " + driver.text("txtIy"), QStringLiteral("6,13 1,25"));
    QCOMPARE(driver.text("Text10") + " " + driver.text("txtIyy"), QStringLiteral("4,8 0,98"));
}

void AidsTest::anglesFromTheCatalogue()
{
    WindowDriver driver;
    calculate(driver, [&driver] { takeAngles(driver); });
    auto* label = driver.get<QLabel>("lblVerdict1");
    QCOMPARE(label->text(), QStringLiteral("держит, запас 22,3 %, полка не тоньше 3,9 мм"));
    QVERIFY(prochnar::test::inkFits(label, label->font(), label->contentsRect(),
                                    int(label->alignment()) | Qt::TextWordWrap, label->text()));
    QCOMPARE(verdict(driver, 3), QStringLiteral("держит, запас 98,1 %, полка не тоньше 0,1 мм"));
    driver.type("txtIy", QStringLiteral("1,24")); // no longer the catalogue's angle
    QCOMPARE(verdict(driver, 1), QStringLiteral("держит, запас 22,3 %"));
    QCOMPARE(verdict(driver, 2), QStringLiteral("не держит, не хватает 3,6 %"));
}

QTEST_MAIN(AidsTest)
#include "aids_test.moc"
