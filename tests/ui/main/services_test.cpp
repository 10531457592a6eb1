// The services of the main window: the guidance and recommendation texts,
// the catalogue, keeping the window on top, the About window, the help on
// F1, and the program ending with its last window.

#include "ui/about/about_window.h"
#include "ui/main/help_window.h"
#include "window_driver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

using prochnar::AboutWindow;
using prochnar::HelpWindow;
using prochnar::ReferenceFiles;
using prochnar::test::WindowDriver;

namespace {

// A folder of documents made by the test.
class Documents {
public:
    [[nodiscard]] ReferenceFiles files() const { return ReferenceFiles({folder_.path()}); }
    [[nodiscard]] QString path(const QString& name) const { return folder_.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private:
    QTemporaryDir folder_;
};

template <typename Window> QList<Window*> openWindows()
{
    QList<Window*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window != nullptr && window->isVisible()) {
            found.append(window);
        }
    }
    return found;
}

// Top-level windows deleted on close go at the next turn of the event loop.
bool noneLeft()
{
    return QTest::qWaitFor([] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<AboutWindow*>(widget) != nullptr || qobject_cast<HelpWindow*>(widget) != nullptr) {
                return false;
            }
        }
        return true;
    });
}

QPoint centreOf(const QWidget* widget) { return widget->rect().center(); }

// F1 pressed in a control of the main window, the window being the active one.
void pressF1(const WindowDriver& driver, const char* control)
{
    QWidget* widget = driver.get(control);
    driver.showTabOf(widget);
    driver.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&driver.window()));
    widget->setFocus();
    QVERIFY(widget->hasFocus());
    QTest::keyClick(widget, Qt::Key_F1);
}

} // namespace

class ServicesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void guidanceReadAtStart();
    void guidanceMissing();
    void guidanceInWindows1251();
    void recommendationShowsAndReloads();
    void recommendationEmptyOrMissing();
    void recommendationHiddenByAClickAnywhere_data();
    void recommendationHiddenByAClickAnywhere();
    void catalogueOpenedWhereFound();
    void onTopKeepsPlaceAndSwapsButtons();
    void exitClosesTheMainWindow();
    void oneAboutWindow();
    void aboutWindowHasNoOwner();
    void aboutLinksGoThroughTheWindowsOpener();
    void helpOnF1FromAnyControl_data();
    void helpOnF1FromAnyControl();
    void oneHelpWindow();
    void helpContentsLeadToTheSections();
    void helpMissing();
    void programEndsWithItsLastWindow_data();
    void programEndsWithItsLastWindow();
};

void ServicesTest::cleanup() { QVERIFY(noneLeft()); }

void ServicesTest::guidanceReadAtStart()
{
    Documents documents;
    documents.write(prochnar::kGuidanceFile, "I\tJ\n0\t1,00\n");
    WindowDriver driver(documents.files());
    QCOMPARE(driver.text("Text2"), QStringLiteral("I\tJ\n0\t1,00\n"));

    // Read once: a later change of the file does not reach the field.
    documents.write(prochnar::kGuidanceFile, "другая таблица");
    driver.click("Command7");
    driver.click("Command3");
    QCOMPARE(driver.text("Text2"), QStringLiteral("I\tJ\n0\t1,00\n"));
}

void ServicesTest::guidanceMissing()
{
    Documents documents;
    WindowDriver driver(documents.files());
    QCOMPARE(driver.text("Text2"), QStringLiteral("Не удалось прочитать файл \"gip.txt\": искали в %1")
                                       .arg(QDir::toNativeSeparators(documents.files().folders().front())));
    // The window starts all the same, in the wizard's initial state.
    QVERIFY(driver.form().state(prochnar::StateControl::Frame5Visible));
    QVERIFY(driver.get("Command12")->isHidden());
    QVERIFY(driver.get("Text11")->isHidden());
    QVERIFY(driver.takeMessages().empty());
}

void ServicesTest::guidanceInWindows1251()
{
    // "Гибкость I" and a table row, written on Windows: windows-1251, CRLF.
    Documents documents;
    documents.write(prochnar::kGuidanceFile, "\xC3\xE8\xE1\xEA\xEE\xF1\xF2\xFC I\r\n0\t1,00\r\n10\t0,99\r\n");
    WindowDriver driver(documents.files());
    auto* text2 = driver.get<QPlainTextEdit>("Text2");
    QCOMPARE(text2->document()->firstBlock().text(), QStringLiteral("Гибкость I"));
    // Each line break shows once, not as an empty line between the rows.
    QCOMPARE(text2->document()->blockCount(), 4);
    QCOMPARE(text2->document()->findBlockByNumber(2).text(), QStringLiteral("10\t0,99"));
}

void ServicesTest::recommendationShowsAndReloads()
{
    Documents documents;
    documents.write(prochnar::kRecommendationFile, "Первая памятка");
    WindowDriver driver(documents.files());
    auto* text11 = driver.get<QPlainTextEdit>("Text11");
    QVERIFY(text11->isHidden());

    driver.click("Command7");
    QVERIFY(text11->isVisible());
    QCOMPARE(driver.text("Text11"), QStringLiteral("Первая памятка"));

    // Pressed again while shown: still shown once, with what the file holds
    // now, replacing what was typed into the field.
    documents.write(prochnar::kRecommendationFile, "Вторая памятка");
    text11->setFocus();
    QTest::keyClicks(text11, QStringLiteral(" and a note"));
    QVERIFY(driver.text("Text11").contains(QStringLiteral("note")));
    driver.click("Command7");
    QVERIFY(text11->isVisible());
    QCOMPARE(driver.text("Text11"), QStringLiteral("Вторая памятка"));

    // Shown in front of the results it lies over.
    const QWidget* tab = text11->parentWidget();
    const QPoint inside = text11->geometry().center();
    QWidget* hit = tab->childAt(inside);
    QVERIFY(hit == text11 || text11->isAncestorOf(hit));
}

void ServicesTest::recommendationEmptyOrMissing()
{
    Documents documents;
    documents.write(prochnar::kRecommendationFile, "");
    WindowDriver driver(documents.files());
    driver.click("Command7");
    QVERIFY(driver.get("Text11")->isVisible());
    QCOMPARE(driver.text("Text11"), QString());

    QVERIFY(QFile::remove(documents.path(prochnar::kRecommendationFile)));
    driver.click("Command7");
    QVERIFY(driver.get("Text11")->isVisible());
    QVERIFY(driver.text("Text11").startsWith(QStringLiteral("Не удалось прочитать файл \"rek.txt\": искали в ")));
    QVERIFY(driver.takeMessages().empty());
}

void ServicesTest::recommendationHiddenByAClickAnywhere_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("centre") << QStringLiteral("centre") << Qt::LeftButton;
    QTest::newRow("top left corner") << QStringLiteral("top left") << Qt::LeftButton;
    QTest::newRow("bottom right corner") << QStringLiteral("bottom right") << Qt::LeftButton;
    QTest::newRow("right button") << QStringLiteral("centre") << Qt::RightButton;
}

void ServicesTest::recommendationHiddenByAClickAnywhere()
{
    QFETCH(QString, where);
    QFETCH(Qt::MouseButton, button);

    WindowDriver driver;
    driver.click("Command7");
    auto* text11 = driver.get<QPlainTextEdit>("Text11");
    QVERIFY(text11->isVisible());
    const QString shown = driver.text("Text11");
    QVERIFY(!shown.isEmpty());

    QWidget* area = text11->viewport();
    QPoint point = centreOf(area);
    if (where == QStringLiteral("top left")) {
        point = QPoint(1, 1);
    } else if (where == QStringLiteral("bottom right")) {
        point = area->rect().bottomRight() - QPoint(1, 1);
    }
    QTest::mouseClick(area, button, {}, point);
    QVERIFY(text11->isHidden());
    // Hidden, not emptied: the next press fills it anew.
    QCOMPARE(driver.text("Text11"), shown);

    driver.click("Command7");
    QVERIFY(text11->isVisible());
}

void ServicesTest::catalogueOpenedWhereFound()
{
    QTemporaryDir current;
    Documents program;
    program.write(prochnar::kCatalogueFile, "{\\rtf1 }");
    WindowDriver driver(ReferenceFiles({current.path(), program.files().folders().front()}));

    driver.click("Command1");
    const auto opened = driver.takeOpened();
    QCOMPARE(opened.size(), std::size_t{1});
    QVERIFY(opened.front().isLocalFile());
    QCOMPARE(opened.front().toLocalFile(), program.path(prochnar::kCatalogueFile));

    // No catalogue anywhere: nothing is opened, nothing is said.
    QVERIFY(QFile::remove(program.path(prochnar::kCatalogueFile)));
    driver.click("Command1");
    QVERIFY(driver.takeOpened().empty());
    QVERIFY(driver.takeMessages().empty());
}

void ServicesTest::onTopKeepsPlaceAndSwapsButtons()
{
    WindowDriver driver;
    prochnar::MainWindow& window = driver.window();
    window.move(window.pos() + QPoint(13, 7));
    QApplication::processEvents();
    const QRect geometry = window.geometry();
    auto* onTop = driver.get<QPushButton>("Command10");
    auto* back = driver.get<QPushButton>("Command12");
    QCOMPARE(onTop->geometry(), back->geometry());
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    for (int round = 0; round < 2; ++round) {
        driver.click("Command10");
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), geometry);
        QVERIFY(onTop->isHidden());
        QVERIFY(back->isVisible());
        // The other flags of the window stay as they were.
        QVERIFY(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(window.windowType(), Qt::Window);

        driver.click("Command12");
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), geometry);
        QVERIFY(onTop->isVisible());
        QVERIFY(back->isHidden());
    }
}

void ServicesTest::exitClosesTheMainWindow()
{
    WindowDriver driver;
    driver.click("Command8");
    QVERIFY(!driver.window().isVisible());
    QVERIFY(driver.takeMessages().empty());
}

void ServicesTest::oneAboutWindow()
{
    WindowDriver driver;
    driver.click("Command9");
    driver.click("Command9");
    QList<AboutWindow*> open = openWindows<AboutWindow>();
    QCOMPARE(open.size(), 1);
    QPointer<AboutWindow> first = open.front();
    QCOMPARE(first->windowTitle(), QStringLiteral("Прочнар. О программе"));
    QCOMPARE(first->windowIcon().cacheKey(), driver.window().windowIcon().cacheKey());

    // Modeless: the main window takes typing while it is open.
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(first->windowModality(), Qt::NonModal);
    driver.type("txtMn", QStringLiteral("3"));
    QCOMPARE(driver.text("txtMn"), QStringLiteral("3"));

    // "OK" closes it for good; the next press makes a new one.
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&first] { return first.isNull(); }));
    QVERIFY(openWindows<AboutWindow>().isEmpty());
    driver.click("Command9");
    open = openWindows<AboutWindow>();
    QCOMPARE(open.size(), 1);

    // Closed from its title bar, the same.
    QPointer<AboutWindow> second = open.front();
    QVERIFY(second->close());
    QVERIFY(QTest::qWaitFor([&second] { return second.isNull(); }));
}

void ServicesTest::aboutWindowHasNoOwner()
{
    WindowDriver driver;
    driver.click("Command10");
    driver.click("Command9");
    const QList<AboutWindow*> open = openWindows<AboutWindow>();
    QCOMPARE(open.size(), 1);
    AboutWindow* about = open.front();
    QVERIFY(about->parentWidget() == nullptr);
    QVERIFY(about->windowHandle()->transientParent() == nullptr);
    QVERIFY(!about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // Closing the main window leaves it open; it goes with the main window
    // object at the end.
    driver.click("Command8");
    QVERIFY(about->isVisible());
}

void ServicesTest::aboutLinksGoThroughTheWindowsOpener()
{
    WindowDriver driver;
    driver.click("Command9");
    const QList<AboutWindow*> open = openWindows<AboutWindow>();
    QCOMPARE(open.size(), 1);
    auto* web = open.front()->findChild<QLabel*>(QStringLiteral("Label2"));
    auto* mail = open.front()->findChild<QLabel*>(QStringLiteral("Label3"));
    QVERIFY(web != nullptr && mail != nullptr);

    QTest::mouseClick(web, Qt::LeftButton, {}, centreOf(web));
    QTest::mouseClick(mail, Qt::LeftButton, {}, centreOf(mail));
    const auto opened = driver.takeOpened();
    QCOMPARE(opened.size(), std::size_t{2});
    QCOMPARE(opened[0].toString(), web->text());
    QCOMPARE(opened[1].scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened[1].path(), mail->text());
}

void ServicesTest::helpOnF1FromAnyControl_data()
{
    QTest::addColumn<QString>("control");
    for (const char* name : {"txtMn", "Command2", "Text2", "Text3", "Command7", "Command9", "SSTab1"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void ServicesTest::helpOnF1FromAnyControl()
{
    QFETCH(QString, control);

    WindowDriver driver;
    pressF1(driver, qPrintable(control));

    const QList<HelpWindow*> open = openWindows<HelpWindow>();
    QCOMPARE(open.size(), 1);
    // The help as rich text: its headings, not its tags.
    const QString shown = open.front()->toPlainText();
    QVERIFY(shown.contains(QStringLiteral("Прочнар — справка")));
    QVERIFY(shown.contains(QStringLiteral("Файлы программы")));
    QVERIFY(!shown.contains(QStringLiteral("<h2>")));
    QVERIFY(open.front()->parentWidget() == nullptr);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(open.front()->close());
}

void ServicesTest::oneHelpWindow()
{
    WindowDriver driver;
    pressF1(driver, "txtMn");
    QCOMPARE(openWindows<HelpWindow>().size(), 1);
    pressF1(driver, "Text3");
    QCOMPARE(openWindows<HelpWindow>().size(), 1);

    // The main window goes on taking input while the help is open.
    driver.type("txtMp", QStringLiteral("5"));
    QCOMPARE(driver.text("txtMp"), QStringLiteral("5"));

    QPointer<HelpWindow> help = openWindows<HelpWindow>().front();
    QVERIFY(help->close());
    QVERIFY(QTest::qWaitFor([&help] { return help.isNull(); }));
    pressF1(driver, "txtMn");
    QCOMPARE(openWindows<HelpWindow>().size(), 1);
}

// The contents line at the top of the help: a click on a section's link
// scrolls to it and keeps the help as it is.
void ServicesTest::helpContentsLeadToTheSections()
{
    WindowDriver driver;
    pressF1(driver, "txtMn");
    const QList<HelpWindow*> open = openWindows<HelpWindow>();
    QCOMPARE(open.size(), 1);
    HelpWindow* help = open.front();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    const QString whole = help->toPlainText();

    const QTextCursor link = help->document()->find(QStringLiteral("Файлы программы"));
    QVERIFY(!link.isNull());
    QCOMPARE(help->verticalScrollBar()->value(), 0);
    QTest::mouseClick(help->viewport(), Qt::LeftButton, {}, help->cursorRect(link).center() - QPoint(20, 0));
    QVERIFY(QTest::qWaitFor([help] { return help->verticalScrollBar()->value() > 0; }));
    QCOMPARE(help->toPlainText(), whole);
    QVERIFY(help->close());
}

void ServicesTest::helpMissing()
{
    Documents documents;
    WindowDriver driver(documents.files());
    pressF1(driver, "txtMn");
    const QList<HelpWindow*> open = openWindows<HelpWindow>();
    QCOMPARE(open.size(), 1);
    QVERIFY(open.front()->toPlainText().startsWith(QStringLiteral("Не удалось прочитать файл \"Help.hlp\": ")));
}

void ServicesTest::programEndsWithItsLastWindow_data()
{
    QTest::addColumn<QString>("also");
    QTest::newRow("main window alone") << QString();
    QTest::newRow("About window open") << QStringLiteral("about");
    QTest::newRow("help open") << QStringLiteral("help");
}

// The real event loop of the program, with a script of clicks in it: the
// loop must end exactly when the last of the windows is closed.
void ServicesTest::programEndsWithItsLastWindow()
{
    QFETCH(QString, also);
    QVERIFY(QApplication::quitOnLastWindowClosed());

    WindowDriver driver;
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    bool runningAfterMainClosed = false;
    bool otherClosedLast = false;

    QTimer::singleShot(0, qApp, [&] {
        if (also == QStringLiteral("about")) {
            driver.click("Command9");
        } else if (also == QStringLiteral("help")) {
            pressF1(driver, "txtMn");
        }
        driver.click("Command8");
        if (also.isEmpty()) {
            return;
        }
        QTimer::singleShot(50, qApp, [&] {
            runningAfterMainClosed = lastClosed.isEmpty() && !driver.window().isVisible();
            QWidget* other = nullptr;
            if (also == QStringLiteral("about")) {
                other = openWindows<AboutWindow>().value(0);
                if (other != nullptr) {
                    QTest::mouseClick(other->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
                }
            } else {
                other = openWindows<HelpWindow>().value(0);
                if (other != nullptr) {
                    other->close();
                }
            }
            otherClosedLast = other != nullptr && lastClosed.size() == 1;
        });
    });
    // Should the loop not end by itself, this ends it with another code.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
    watchdog.start(10000);

    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastClosed.size(), 1);
    if (!also.isEmpty()) {
        QVERIFY(runningAfterMainClosed);
        QVERIFY(otherClosedLast);
    }
}

QTEST_MAIN(ServicesTest)
#include "services_test.moc"
