#include "prochnar/version.h"
#include "ui/main/main_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

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

// --help and --version answer on standard output without opening a window.
// Returns the exit status when the arguments asked for one of them.
std::optional<int> answerWithoutWindow(int argc, char* argv[])
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::printf("usage: prochnar [--help | --version]\n"
                        "\n"
                        "Opens the window of Прочнар, the calculator of the residual strength of\n"
                        "a corroded cross-span girder. F1 in the window opens the help.\n"
                        "The same calculation without a window: prochnar-calc --help.\n");
            return 0;
        }
        if (arg == "--version") {
            std::printf("prochnar %.*s\n", static_cast<int>(prochnar::kVersion.size()), prochnar::kVersion.data());
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const auto status = answerWithoutWindow(argc, argv)) {
        return *status;
    }
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
