// Saves pictures of the main window into a folder: the three tabs before and
// after a whole calculation typed in with the keyboard, the recommendation
// over step 3, the About window (also with the pointing hand over its web
// link, and the hand alone, enlarged) and the help window:
//   prochnar_ui_screenshots FOLDER
// Used by tools/screenshots.sh, which runs it under Xvfb.

#include "tools/screenshots/window_driver.h"
#include "ui/about/about_window.h"
#include "ui/about/hand_cursor.h"
#include "ui/main/help_window.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>

#include <cstdio>

namespace {

bool save(const QPixmap& picture, const QDir& folder, const QString& name)
{
    const QString file = folder.filePath(name);
    if (!picture.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

bool saveTabs(const prochnar::test::WindowDriver& driver, const QDir& folder, const QString& stage)
{
    auto* tabs = driver.get<QTabWidget>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(50);
        if (!save(driver.window().grab(), folder, QStringLiteral("%1-tab%2.png").arg(stage).arg(i + 1))) {
            return false;
        }
    }
    tabs->setCurrentIndex(0);
    return true;
}

template <typename Window> Window* openWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// The About window, then the same with the hand drawn where the pointer
// stands over the web link, then the hand alone at four times its size.
bool saveAbout(const prochnar::test::WindowDriver& driver, const QDir& folder)
{
    driver.click("Command9");
    auto* about = openWindow<prochnar::AboutWindow>();
    if (about == nullptr || !QTest::qWaitForWindowExposed(about)) {
        std::fprintf(stderr, "the About window did not open\n");
        return false;
    }
    QTest::qWait(100);
    QPixmap picture = about->grab();
    if (!save(picture, folder, QStringLiteral("about.png"))) {
        return false;
    }

    const QCursor hand = prochnar::handCursor();
    const auto* web = about->findChild<QLabel*>(QStringLiteral("Label2"));
    const QPoint pointer = web->mapTo(about, QPoint(web->width() / 2, web->height() / 2));
    {
        QPainter painter(&picture);
        painter.drawPixmap(pointer - hand.hotSpot(), hand.pixmap());
    }
    if (!save(picture, folder, QStringLiteral("about-pointer.png"))) {
        return false;
    }

    QPixmap large(hand.pixmap().size() * 4);
    large.fill(QColor(224, 224, 255));
    {
        QPainter painter(&large);
        painter.drawPixmap(large.rect(), hand.pixmap());
        // The hot spot, marked in red.
        painter.setPen(Qt::red);
        painter.drawRect(QRect(hand.hotSpot() * 4, QSize(3, 3)));
    }
    const bool saved = save(large, folder, QStringLiteral("hand-cursor.png"));
    about->close();
    return saved;
}

bool saveHelp(const prochnar::test::WindowDriver& driver, const QDir& folder)
{
    driver.window().activateWindow();
    if (!QTest::qWaitForWindowActive(&driver.window())) {
        std::fprintf(stderr, "the main window did not become active\n");
        return false;
    }
    QTest::keyClick(driver.get("txtMn"), Qt::Key_F1);
    auto* help = openWindow<prochnar::HelpWindow>();
    if (help == nullptr || !QTest::qWaitForWindowExposed(help)) {
        std::fprintf(stderr, "the help window did not open\n");
        return false;
    }
    QTest::qWait(100);
    const bool saved = save(help->grab(), folder, QStringLiteral("help.png"));
    help->close();
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: prochnar_ui_screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    prochnar::test::WindowDriver driver;
    if (!saveTabs(driver, folder, QStringLiteral("before"))) {
        return 1;
    }
    prochnar::test::typeStep1(driver);
    driver.click("Command2");
    prochnar::test::typeStep2(driver);
    driver.click("Command5");
    driver.click("Command4");
    for (const auto& message : driver.takeMessages()) {
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
        return 1;
    }
    if (!saveTabs(driver, folder, QStringLiteral("after"))) {
        return 1;
    }

    driver.click("Command7");
    QTest::qWait(50);
    if (!save(driver.window().grab(), folder, QStringLiteral("recommendation.png"))) {
        return 1;
    }
    return saveAbout(driver, folder) && saveHelp(driver, folder) ? 0 : 1;
}
