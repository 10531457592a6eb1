// prochnar [FILE]                   the window, with the calculation in FILE
// prochnar --report OUT.pdf FILE    the report of FILE, without a window
// prochnar --help | --version

#include "app/without_window.h"
#include "prochnar/version.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char* argv[])
{
    using prochnar::app::kExitUsage;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Read before any window or display: -h, --help, --version and --report
    // answer without one. The toolkit's own options ("-platform NAME", …)
    // are named only so that their values are not taken for FILE; they are
    // left to QApplication, and any other unknown option is ignored.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption report(QStringLiteral("report"), {}, QStringLiteral("OUT.pdf"));
    parser.addOptions({help, version, report});
    for (const char* toolkit :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowtitle",
          "title", "qwindowicon", "icon", "display", "name", "session", "style", "stylesheet"}) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(toolkit), {}, QStringLiteral("VALUE")));
    }
    parser.parse(arguments);
    const QStringList files = parser.positionalArguments();

    if (parser.isSet(help)) {
        std::fputs(prochnar::app::kUsage, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("prochnar %.*s\n", static_cast<int>(prochnar::kVersion.size()), prochnar::kVersion.data());
        return 0;
    }
    if (parser.isSet(report)) {
        if (files.size() != 1) {
            std::fputs("prochnar: нужен один ФАЙЛ: prochnar --report ВЫХОД.pdf ФАЙЛ\n", stderr);
            return kExitUsage;
        }
        return prochnar::app::writeReport(argv[0], parser.value(report), files.front());
    }

    qInstallMessageHandler(prochnar::app::startupMessage);
    const QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    // The program's locale is Russian (Russia) whatever the system's
    // language: what the toolkit formats by it (the types of files in a file
    // dialog, numbers and dates in its own dialogs) is Russian, and the file
    // dialogs the window draws give sizes and dates by it (fitFileDialog).
    // The calculation never reads a locale: its numbers go through its own
    // conversions with the decimal comma.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // Qt's own dialogs (choosing a file, printing) speak Russian, like the
    // window, when the toolkit's translations are installed.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
    // The program ends with its last window: closing the main window while
    // the About window or the help is open leaves it running until they close.
    QApplication::setQuitOnLastWindowClosed(true);

    prochnar::MainWindow window;
    window.show();
    // A calculation that cannot be read leaves the window empty, with the message.
    if (!files.isEmpty()) {
        window.document().openFile(files.front());
    }
    return QApplication::exec();
}
