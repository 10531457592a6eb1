#include "app/without_window.h"

#include "calc/fields.h"
#include "formats/calculation_file.h"
#include "formats/safe_output.h"
#include "ui/main/calculation_document.h"
#include "ui/main/report.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

namespace prochnar::app {

const char* const kUsage = "usage: prochnar [FILE]\n"
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
                           "                       or display; exit status 0 when written.\n";

namespace {

[[noreturn]] void noDisplay()
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

// The results the file held otherwise than their recomputation, by the
// names the file gives them.
QStringList recomputedNames(const Calculation& calculation)
{
    QStringList names;
    for (const Field field : calculation.recomputed) {
        const std::string_view name = fieldName(field);
        names << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    return names;
}

} // namespace

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

int writeReport(char* program, const QString& out, const QString& file)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the command's own messages, not the toolkit's
    // remarks on the platform it starts without a desktop.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        }
    });
    // Widgets, for the captions of the designer form the report names its
    // inputs by; none of the toolkit's options, so that nothing asks for a display.
    int argc = 1;
    char* argv[] = {program, nullptr};
    const QApplication app(argc, argv);
    QString refusal;
    const std::optional<Calculation> calculation = readCalculationAt(file, refusal);
    if (!calculation) {
        std::fprintf(stderr, "prochnar: %s\n", qPrintable(refusal));
        return kExitUsage;
    }
    // The report never takes the place of the calculation it documents, nor
    // of a device or a folder.
    const std::filesystem::path calculationPath(file.toStdU16String());
    if (const auto refused = refuseOutput(std::filesystem::path(out.toStdU16String()), {&calculationPath, 1})) {
        std::fprintf(stderr, "prochnar: %s\n",
                     qPrintable(QStringLiteral("Отчет не записан в «%1»: %2.")
                                    .arg(QDir::toNativeSeparators(out), *refused == OutputRefusal::SameAsInput
                                                                            ? QStringLiteral("это сам файл расчета")
                                                                            : QStringLiteral("это не обычный файл"))));
        return kExitUsage;
    }
    const ReportFacts facts{.file = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()),
                            .made = QDateTime::currentDateTime(),
                            .presses = calculation->presses,
                            .recomputed = recomputedNames(*calculation),
                            .identity = calculation->identity};
    if (const QString failure = writeReportPdf(out, reportHtml(calculation->form, facts)); !failure.isEmpty()) {
        std::fprintf(stderr, "prochnar: %s\n", qPrintable(failure));
        return 1;
    }
    if (!facts.recomputed.isEmpty()) {
        std::fprintf(stderr, "prochnar: %s\n",
                     qPrintable(QStringLiteral("результаты пересчитаны по исходным данным: в файле были другие "
                                               "значения полей %1; в отчете пересчитанные.")
                                    .arg(facts.recomputed.join(QStringLiteral(", ")))));
    }
    return 0;
}

} // namespace prochnar::app
