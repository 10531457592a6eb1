// The wizard on screen: the buttons of the window run the calculation's
// handlers over the window's own widgets, driven by mouse and keyboard.

#include "window_driver.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

using prochnar::MessageIcon;
using prochnar::test::WindowDriver;

namespace {

// The wizard state the user sees: which lock panels show and which of the
// lock-state buttons and frames can be used. 0 is no state of the wizard.
int wizardState(const WindowDriver& driver)
{
    const auto shown = [&driver](const char* name) {
        QWidget* widget = driver.get(name);
        driver.showTabOf(widget);
        return widget->isVisible();
    };
    const bool panel2 = shown("Frame5");
    const bool wires = driver.get("Frame7")->isEnabled();
    const bool confirm2 = driver.get("Command5")->isEnabled();
    const bool panel3 = shown("Frame9");
    const bool execute = driver.get("Command4")->isEnabled();

    const bool step2Locked = panel2 && !wires && !confirm2;
    const bool step2Open = !panel2 && wires && confirm2;
    const bool step3Covered = panel3 && !execute;
    const bool step3Open = !panel3 && execute;
    const bool step3Bare = !panel3 && !execute;
    if (step2Locked && step3Covered) {
        return 1;
    }
    if (step2Open && step3Covered) {
        return 2;
    }
    if (step2Open && step3Open) {
        return 3;
    }
    if (step2Open && step3Bare) {
        return 4;
    }
    if (step2Locked && step3Bare) {
        return 5;
    }
    return 0;
}

// The shortest road of clicks from the start to each state of the wizard.
void reach(WindowDriver& driver, int state)
{
    switch (state) {
    case 1:
        break;
    case 2:
        prochnar::test::typeStep1(driver);
        driver.click("Command2");
        break;
    case 3:
        reach(driver, 2);
        prochnar::test::typeStep2(driver);
        driver.click("Command5");
        break;
    case 4:
        reach(driver, 3);
        driver.click("Command6");
        break;
    case 5:
        driver.click("Command3");
        break;
    default:
        QFAIL("no such state");
    }
    (void)driver.takeMessages(); // reaching a state may show a message
    QCOMPARE(wizardState(driver), state);
}

} // namespace

class WizardTest : public QObject {
    Q_OBJECT

private slots:
    void stateTable_data();
    void stateTable();
    void wholeCalculationTypedIn();
    void resets();
    void messagesOfThePresses_data();
    void messagesOfThePresses();
    void messageBox_data();
    void messageBox();
};

void WizardTest::stateTable_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("to");

    // Each row of the wizard's state table; 0 marks a disabled button, whose
    // click must change nothing.
    const char* events[] = {"confirm1", "confirm1-stopped", "confirm2", "execute", "reset1", "reset2"};
    const int table[5][6] = {
        {2, 1, 0, 0, 5, 5}, // 1: locked, covered
        {2, 2, 3, 0, 5, 4}, // 2: open, covered
        {3, 3, 3, 3, 5, 4}, // 3: open, open
        {4, 4, 3, 0, 5, 4}, // 4: open, bare
        {4, 5, 0, 0, 5, 5}, // 5: locked, bare
    };
    for (int from = 1; from <= 5; ++from) {
        for (int e = 0; e < 6; ++e) {
            const int to = table[from - 1][e];
            QTest::addRow("state %d, %s", from, events[e]) << from << QString::fromLatin1(events[e]) << to;
        }
    }
}

void WizardTest::stateTable()
{
    QFETCH(int, from);
    QFETCH(QString, event);
    QFETCH(int, to);

    WindowDriver driver;
    reach(driver, from);

    // Results that a click on a disabled button would overwrite.
    driver.form().setText("txtQp", "123");
    driver.form().setText("Text4", "x");

    if (event == "confirm1") {
        prochnar::test::typeStep1(driver);
        driver.click("Command2");
    } else if (event == "confirm1-stopped") {
        prochnar::test::typeStep1(driver);
        driver.type("txtGg", QString());
        driver.click("Command2");
        const auto messages = driver.takeMessages();
        QCOMPARE(messages.size(), 1U);
        QCOMPARE(messages.front().text, QStringLiteral("Не установленны значения"));
    } else if (event == "confirm2") {
        driver.click("Command5");
    } else if (event == "execute") {
        driver.click("Command4");
    } else if (event == "reset1") {
        driver.click("Command3");
    } else {
        driver.click("Command6");
    }

    if (to == 0) {
        QCOMPARE(wizardState(driver), from);
        QCOMPARE(driver.text("txtQp"), QStringLiteral("123"));
        QCOMPARE(driver.text("Text4"), QStringLiteral("x"));
        QVERIFY(driver.takeMessages().empty());
    } else {
        QCOMPARE(wizardState(driver), to);
    }
}

void WizardTest::wholeCalculationTypedIn()
{
    WindowDriver driver;

    prochnar::test::typeStep1(driver);
    driver.click("Command2");
    QVERIFY(driver.takeMessages().empty());
    QCOMPARE(driver.text("lblJ"), QStringLiteral("200"));
    QCOMPARE(driver.text("lblJ1"), QStringLiteral("50"));
    QCOMPARE(driver.text("Text6"), QStringLiteral("12,5"));
    QCOMPARE(driver.text("Text8"), QStringLiteral("12,5"));
    QCOMPARE(driver.text("Text12"), QStringLiteral("10"));

    // The wire table has just been opened: its fields take typing now.
    prochnar::test::typeStep2(driver);
    QCOMPARE(driver.text("txtgpp1"), QStringLiteral("2,5"));
    driver.click("Command5");
    QVERIFY(driver.takeMessages().empty());
    QCOMPARE(driver.text("Text15"), QStringLiteral("1"));
    QCOMPARE(driver.text("txtQp"), QStringLiteral("2743,5449"));
    QCOMPARE(driver.text("txtZ1"), QStringLiteral("1829,03"));

    driver.click("Command4");
    QVERIFY(driver.takeMessages().empty());
    QCOMPARE(driver.text("Text4"), QStringLiteral("0,9920635"));
    QCOMPARE(driver.text("Text7"), QStringLiteral("0,4761905"));
    // 10^4 x 1829,03 / (10^7 x 21) and 2743,5449 / 2, in single precision.
    QCOMPARE(driver.text("txtz2"), QStringLiteral("0,08709667"));
    QCOMPARE(driver.text("Text13"), QStringLiteral("1371,772"));
    QCOMPARE(driver.text("Text14"), QStringLiteral("168000"));
    QCOMPARE(wizardState(driver), 3);

    // The second coefficient pair of the worked example, on the same form.
    driver.type("Text5", QStringLiteral("0,7"));
    driver.type("Text10", QStringLiteral("6,5"));
    driver.click("Command4");
    QCOMPARE(driver.text("Text14"), QStringLiteral("95550"));
}

void WizardTest::resets()
{
    const char* const wires[] = {"txtl", "txtgp", "txtgpp"};

    WindowDriver driver;
    reach(driver, 3);
    driver.type("Text1", QStringLiteral("23"));
    driver.type("txtl8", QStringLiteral("40"));
    driver.type("txtgpp8", QStringLiteral("0,5"));
    driver.click("Command4");
    const QString required = driver.text("Text4");
    QVERIFY(!required.isEmpty());

    // Step-2 reset: the whole wire table and the coefficients, nothing else.
    driver.click("Command6");
    for (const char* row : wires) {
        for (int i = 1; i <= 8; ++i) {
            QCOMPARE(driver.text(qPrintable(QStringLiteral("%1%2").arg(QLatin1String(row)).arg(i))),
                     QStringLiteral("0"));
        }
    }
    QCOMPARE(driver.text("Text3"), QString());
    QCOMPARE(driver.text("Text5"), QString());
    QCOMPARE(driver.text("lblJ"), QStringLiteral("200"));
    QCOMPARE(driver.text("Text4"), required);
    QCOMPARE(driver.text("txtMn"), QStringLiteral("3"));
    QCOMPARE(wizardState(driver), 4);

    // Step-1 reset after a new wire and coefficients.
    prochnar::test::typeStep2(driver);
    driver.click("Command3");
    for (const char* field : {"txtLpp", "txtH", "txtB", "txtMn", "txtMp", "txtMv", "txtIy", "txtIyy", "Text9", "Text10",
                              "lblJ", "Text3", "Text5"}) {
        QVERIFY2(driver.text(field).isEmpty(), field);
    }
    QCOMPARE(driver.text("Text1"), QStringLiteral("21"));
    // Kept: the general data, the diagonal slenderness, the wires, step 3.
    QCOMPARE(driver.text("txtLp"), QStringLiteral("20"));
    QCOMPARE(driver.text("txtGg"), QStringLiteral("1,5"));
    QCOMPARE(driver.text("lblJ1"), QStringLiteral("50"));
    QCOMPARE(driver.text("txtl1"), QStringLiteral("7"));
    QCOMPARE(driver.text("Text6"), QStringLiteral("12,5"));
    QCOMPARE(driver.text("Text4"), required);
    QCOMPARE(driver.text("txtQp"), QStringLiteral("2743,5449"));
    QCOMPARE(wizardState(driver), 5);
}

void WizardTest::messagesOfThePresses_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("errorIcon");
    QTest::addColumn<int>("stateAfter");

    struct Row {
        const char* name;
        const char* field;
        const char* typed;
        const char* button;
        const char* message;
        bool errorIcon;
        int stateAfter;
    };
    const char* const notSet = "Не установленны значения";
    const char* const comma = "Десятичные вводятся через запяту.";
    const Row rows[] = {
        {"step 1, radius empty", "txtIy", "", "Command2", notSet, false, 1},
        {"step 1, decimal point", "txtIy", "1.25", "Command2", comma, true, 1},
        {"step 1, blank length", "txtLpp", " ", "Command2", comma, true, 1},
        {"step 2, coefficient empty", "Text5", "", "Command5", "Не выбраны коэффиценты продольного изгиба.", false, 3},
        {"step 2, wire with a decimal point", "txtgp8", "2.5", "Command5", comma, true, 3},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString::fromUtf8(row.field) << QString::fromUtf8(row.typed)
                                << QString::fromUtf8(row.button) << QString::fromUtf8(row.message) << row.errorIcon
                                << row.stateAfter;
    }
}

void WizardTest::messagesOfThePresses()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(bool, errorIcon);
    QFETCH(int, stateAfter);

    WindowDriver driver;
    if (button == "Command5") {
        reach(driver, 2);
        prochnar::test::typeStep2(driver);
    } else {
        prochnar::test::typeStep1(driver);
    }
    driver.type(qPrintable(field), typed);
    driver.click(qPrintable(button));

    const auto messages = driver.takeMessages();
    QCOMPARE(messages.size(), 1U);
    QCOMPARE(messages.front().text, message);
    QCOMPARE(messages.front().icon, errorIcon ? MessageIcon::Error : MessageIcon::None);
    QCOMPARE(wizardState(driver), stateAfter);
}

void WizardTest::messageBox_data()
{
    QTest::addColumn<bool>("errorIcon");
    QTest::addColumn<int>("expectedIcon");
    QTest::newRow("error") << true << int(QMessageBox::Critical);
    QTest::newRow("notice") << false << int(QMessageBox::NoIcon);
}

// The window's own presenter: a modal box that the handler waits for.
void WizardTest::messageBox()
{
    QFETCH(bool, errorIcon);
    QFETCH(int, expectedIcon);

    prochnar::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QString title;
    QString text;
    int icon = -1;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    bool closed = false;
    const auto inspect = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->isModal();
        QTest::keyClick(box, Qt::Key_Return);
        closed = true;
    };
    // Close the box from inside its own event loop; give up after a while
    // rather than hang the suite when no box comes.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (!closed) {
            inspect();
        }
    });
    poll.start(20);
    QTimer::singleShot(10000, &window, [&closed] {
        if (auto* box = QApplication::activeModalWidget(); box != nullptr && !closed) {
            box->close();
        }
    });

    window.showMessage("Не установленны значения", errorIcon ? MessageIcon::Error : MessageIcon::None);

    QVERIFY(closed);
    QCOMPARE(title, QStringLiteral("Прочнар"));
    QCOMPARE(text, QStringLiteral("Не установленны значения"));
    QCOMPARE(icon, expectedIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(modal);
}

QTEST_MAIN(WizardTest)
#include "wizard_test.moc"
