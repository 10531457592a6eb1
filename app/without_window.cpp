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

const char* const kUsage = "Использование: prochnar [ФАЙЛ]\n"
                           "               prochnar --report ВЫХОД.pdf ФАЙЛ\n"
                           "               prochnar --help | --version\n"
                           "\n"
                           "Открывает окно Прочнара — расчета остаточной прочности ригеля жесткой\n"
                           "поперечины с корродированными уголками. F1 в окне открывает справку.\n"
                           "\n"
                           "ФАЙЛ — расчет, сохраненный окном («Файл», «Сохранить»), файл с\n"
                           "расширением .prochnar; он открывается в окне при запуске. Пакет\n"
                           "регистрирует этот тип файлов (application/x-prochnar), чтобы расчет\n"
                           "открывался двойным щелчком в файловом менеджере. Формат у него тот же,\n"
                           "что у prochnar-calc, который выполняет тот же расчет без окна:\n"
                           "prochnar-calc --help.\n"
                           "\n"
                           "--report ВЫХОД.pdf ФАЙЛ  пишет отчет о расчете в ФАЙЛе, как «Отчёт…» в\n"
                           "                         окне, без окна и дисплея; код завершения 0,\n"
                           "                         когда отчет записан.\n";

namespace {

[[noreturn]] void noDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0) {
        std::fprintf(stderr, "prochnar: окно не открыть: платформа «%s» не запускается\n", platform);
    } else if (display != nullptr && *display != '\0') {
        std::fprintf(stderr, "prochnar: окно не открыть: дисплей «%s» недоступен\n", display);
    } else {
        std::fprintf(stderr, "prochnar: окно не открыть: нет дисплея (переменная DISPLAY не задана)\n");
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
                            .identity = calculation->identity,
                            .history = calculation->history};
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
