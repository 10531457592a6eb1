#include "ui/main/main_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void noDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0) {
        std::fprintf(stderr, "prochnar: cannot open the window: the platform \"%s\" cannot be started\n", platform);
    } else if (display != nullptr && *display != '\0') {
        std::fprintf(stderr, "prochnar: cannot open the window: the display \"%s\" cannot be reached\n", display);
    } else {
        std::fprintf(stderr, "prochnar: cannot open the window: no display (DISPLAY is not set)\n");
    }
    std::_Exit(1);
}

// Qt's messages while it starts its platform. Its own account of a platform
// that cannot start ends in an abort; one line of ours replaces it.
void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        noDisplay();
    }
    if (context.category != nullptr && std::strncmp(context.category, "qt.qpa.", 7) == 0) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    // The program ends with its last window: closing the main window while
    // the About window or the help is open leaves it running until they close.
    QApplication::setQuitOnLastWindowClosed(true);

    prochnar::MainWindow window;
    window.show();
    return QApplication::exec();
}
