#include "prochnar/version.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

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

constexpr int kExitUsage = 2;

// --help and --version answer on standard output without opening a window.
// Returns the exit status when the arguments asked for one of them.
std::optional<int> answerWithoutWindow(int argc, char* argv[])
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::printf("usage: prochnar [FILE]\n"
                        "       prochnar --report OUT.pdf FILE\n"
                        "       prochnar --help | --version\n"
                        "\n"
                        "Opens the window of Прочнар, the calculator of the residual strength of\n"
                        "a corroded cross-span girder. F1 in the window opens the help.\n"
                        "\n"
                        "FILE is a calculation saved by the window (\"Файл\", \"Сохранить\"), a file\n"
                        "with the extension .prochnar, and opens in the window at start. The\n"
                        "package registers that file type (application/x-prochnar), so that a\n"
                        "double click in a file manager opens the calculation. Its format is that\n"
                        "of prochnar-calc: the same calculation without a window, prochnar-calc --help.\n"
                        "\n"
                        "--report OUT.pdf FILE  writes the report of the calculation in FILE, as\n"
                        "                       \"Отчёт…\" in the window does, without a window\n"
                        "                       or display; exit status 0 when written.\n");
            return 0;
        }
        if (arg == "--version") {
            std::printf("prochnar %.*s\n", static_cast<int>(prochnar::kVersion.size()), prochnar::kVersion.data());
            return 0;
        }
    }
    return std::nullopt;
}

// Qt's own dialogs (choosing a file, printing) speak Russian, like the
// window, when the toolkit's translations are installed.
void translateToolkit(QTranslator& translator)
{
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
}

// prochnar --report OUT.pdf FILE: the report of a saved calculation, made
// on the offscreen platform, so that no display is needed.
int report(int argc, char* argv[], const QString& out, const QString& file)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the command's own messages, not the toolkit's
    // remarks on the platform it starts without a desktop.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        }
    });
    QApplication app(argc, argv);
    prochnar::MainWindow window;
    window.setMessagePresenter([](QWidget*, const QString& text, prochnar::MessageIcon) {
        std::fprintf(stderr, "prochnar: %s\n", qPrintable(text));
    });
    if (!window.document().openFile(file)) {
        return kExitUsage;
    }
    return window.document().writeReport(out) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const auto status = answerWithoutWindow(argc, argv)) {
        return *status;
    }
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "--report") {
        if (args.size() != 3) {
            std::fprintf(stderr, "prochnar: usage: prochnar --report OUT.pdf FILE\n");
            return kExitUsage;
        }
        return report(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QTranslator translator;
    translateToolkit(translator);
    // The program ends with its last window: closing the main window while
    // the About window or the help is open leaves it running until they close.
    QApplication::setQuitOnLastWindowClosed(true);

    prochnar::MainWindow window;
    window.show();
    // The first argument that is not an option is a calculation to open;
    // one that cannot be read leaves the window empty, with the message.
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            window.document().openFile(argument);
            break;
        }
    }
    return QApplication::exec();
}
