// Saves pictures of the three tabs of the main window into a folder, before
// and after a whole calculation typed in with the keyboard:
//   prochnar_ui_screenshots FOLDER
// Used by tools/screenshots.sh, which runs it under Xvfb.

#include "window_driver.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

bool saveTabs(const prochnar::test::WindowDriver& driver, const QDir& folder, const QString& stage)
{
    auto* tabs = driver.get<QTabWidget>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(50);
        const QString file = folder.filePath(QStringLiteral("%1-tab%2.png").arg(stage).arg(i + 1));
        if (!driver.window().grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
    }
    tabs->setCurrentIndex(0);
    return true;
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
    return saveTabs(driver, folder, QStringLiteral("after")) ? 0 : 1;
}
