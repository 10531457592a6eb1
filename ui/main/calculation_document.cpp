#include "ui/main/calculation_document.h"

#include "calc/fields.h"
#include "formats/girder_history.h"
#include "formats/text_encoding.h"
#include "ui/main/file_dialog.h"
#include "ui/main/identity_dialog.h"
#include "ui/main/inspections_dialog.h"
#include "ui/main/report.h"
#include "ui/main/table_results_window.h"
#include "ui/main/whole_file.h"
#include "ui/main/widget_form.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>
#include <QWidget>

namespace prochnar {

QMessageBox::StandardButton askToSave(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Прочнар"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Save);
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<Calculation> readCalculationAt(const QString& path, QString& refusal)
{
    try {
        return readCalculationFile(QFile::encodeName(path).toStdString(), kWindowFieldChars);
    } catch (const CalculationFileError& error) {
        refusal = QStringLiteral("Расчет «%1» не открыт: %2.")
                      .arg(QDir::toNativeSeparators(path), QString::fromStdString(faultText(error.fault())));
        return std::nullopt;
    }
}

QString calculationTitle(const QString& path, const std::string& support)
{
    const auto shown = [](QString text) { return text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")); };
    QStringList parts;
    if (!path.isEmpty()) {
        parts << shown(QFileInfo(path).fileName());
    }
    if (const QString girder = QString::fromStdString(support).simplified(); !girder.isEmpty()) {
        parts << QStringLiteral("опора ") + shown(girder);
    }
    if (parts.isEmpty()) {
        return QStringLiteral("Прочнар");
    }
    return QStringLiteral("Прочнар — ") + parts.join(QStringLiteral(", ")) +
           (path.isEmpty() ? QString() : QStringLiteral("[*]"));
}

namespace {

// The recently used calculations, newest first.
constexpr int kMaxRecentFiles = 8;
constexpr QLatin1String kRecentKey{"recentFiles"};

QString calculationFilter() { return QStringLiteral("Расчеты Прочнара (*.%1);;Все файлы (*)").arg(kCalculationSuffix); }

} // namespace

CalculationDocument::CalculationDocument(WidgetForm& form, QWidget& window, QSettings& settings)
    : form_{form}, window_{window}, settings_{settings}, ask_{askToSave},
      askToOpen_{askToOpenReport}, open_{openWithDesktop}
{
}

std::string CalculationDocument::text() const { return calculationText(form_, presses_, identity_, history_); }

QStringList CalculationDocument::recentFiles() const { return settings_.value(kRecentKey).toStringList(); }

void CalculationDocument::click(Button button)
{
    presses_.push_back(form_.click(button));
    presses_ = lastPresses(presses_);
    markModified();
}

void CalculationDocument::setIdentity(const GirderIdentity& identity)
{
    identity_ = identity;
    showTitle();
    markModified();
}

void CalculationDocument::setHistory(const GirderHistory& history)
{
    history_ = history;
    markModified();
    emit historyChanged();
}

void CalculationDocument::putSection(Member member)
{
    const std::optional<std::size_t> angle = history_.angleOf(member);
    if (!angle) {
        return;
    }
    const Angle& nominal = angleCatalogue()[*angle];
    const std::optional<int> measured = history_.measuredOf(member);
    const Angle figures = measured ? thinnedAngle(nominal, *measured).value_or(nominal) : nominal;
    const SectionFields section = sectionFields(member);
    form_.setText(section.area, areaText(figures));
    form_.setText(section.radius, radiusText(figures));
}

void CalculationDocument::applyMeasured(const GirderHistory& history)
{
    history_ = history;
    for (const Member member : kMembers) {
        if (history_.measuredOf(member)) {
            putSection(member);
        }
    }
    markModified();
    emit historyChanged();
}

bool CalculationDocument::takeSection(Member member, std::size_t angle, std::optional<int> measured)
{
    const Angle& nominal = angleCatalogue()[angle];
    if (const std::optional<Inspection> thicker = inspectionThickerThan(history_, member, nominal)) {
        const std::optional<int> tenths = member == Member::Chord ? thicker->chordTenths : thicker->diagonalTenths;
        form_.present(QStringLiteral("Уголок %1 не поставлен в %2: осмотр %3 измерил полку толщиной %4 мм, а у этого "
                                     "уголка она %5 мм. Исправьте осмотры («Файл», «Осмотры…») или выберите другой "
                                     "уголок.")
                          .arg(QString::fromStdString(designation(nominal)),
                               member == Member::Chord ? QStringLiteral("пояса") : QStringLiteral("раскосы"),
                               QString::fromStdString(dateText(thicker->date)),
                               QString::fromStdString(thicknessTenthsText(tenths.value_or(0))),
                               QString::fromStdString(thicknessText(nominal))),
                      MessageIcon::Error);
        return false;
    }
    (member == Member::Chord ? history_.chordAngle : history_.diagonalAngle) = angle;
    (member == Member::Chord ? history_.chordMeasured : history_.diagonalMeasured) = measured;
    putSection(member);
    markModified();
    emit historyChanged();
    return true;
}

bool CalculationDocument::editInspections()
{
    InspectionsDialog dialog(
        history_,
        [this] {
            MapForm copy;
            for (const auto& field : kFormFields) {
                copy.setText(field.id, form_.text(field.id));
            }
            return copy;
        },
        [this](const GirderHistory& history) { applyMeasured(history); }, form_.presenter(), &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    setHistory(dialog.history());
    return true;
}

bool CalculationDocument::editIdentity(const QString& hint)
{
    IdentityDialog dialog(identity_, hint, &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    setIdentity(dialog.identity());
    return true;
}

void CalculationDocument::offerIdentity()
{
    if (identity_.empty()) {
        editIdentity(QStringLiteral("Укажите, какую опору документирует отчет. Без этих данных отчет тоже будет "
                                    "сделан: нажмите «Отмена»."));
    }
}

bool CalculationDocument::openFile(const QString& path)
{
    QString refusal;
    const std::optional<Calculation> calculation = readCalculationAt(path, refusal);
    if (!calculation) {
        form_.present(refusal, MessageIcon::Error);
        return false;
    }
    load(*calculation, path);
    emit replaced(true);
    if (!calculation->recomputed.empty()) {
        QStringList names;
        for (const Field field : calculation->recomputed) {
            const std::string_view name = fieldName(field);
            names << QStringLiteral("«%1» (%2)")
                         .arg(form_.spokenName(field),
                              QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
        // The file no longer holds what the window shows: saving writes the
        // recomputed results.
        savedText_.clear();
        window_.setWindowModified(true);
        form_.present(QStringLiteral("Результаты расчета «%1» пересчитаны по его исходным данным: в файле были другие "
                                     "значения полей %2. Показаны пересчитанные; сохраните расчет, чтобы записать их.")
                          .arg(QFileInfo(path).fileName(), names.join(QStringLiteral(", "))),
                      MessageIcon::None);
    }
    return true;
}

void CalculationDocument::openGirder(const Form& girder, const GirderIdentity& identity, const GirderHistory& history)
{
    // Like opening a file, it replaces the calculation: changes kept in a
    // file are not lost without asking.
    if (!mayReplace()) {
        return;
    }
    const auto refuse = [this](const QString& caption) {
        form_.present(QStringLiteral("Опора не открыта: текст поля «%1» длиннее %2 знаков — поле окна не вместит "
                                     "его целиком.")
                          .arg(caption)
                          .arg(kWindowFieldChars),
                      MessageIcon::Error);
    };
    const auto tooLong = [](const std::string& text) {
        return text.size() > kWindowFieldChars && utf8Characters(text) > kWindowFieldChars;
    };
    Calculation calculation{.form = {}, .presses = {}, .identity = identity, .history = history, .recomputed = {}};
    for (const auto& field : kFormFields) {
        if (tooLong(girder.text(field.id))) {
            refuse(form_.spokenName(field.id));
            return;
        }
        calculation.form.setText(field.id, girder.text(field.id));
    }
    for (const auto& [key, text, column] : kIdentityKeys) {
        if (tooLong(identity.*text)) {
            refuse(QString::fromUtf8(column.data(), static_cast<qsizetype>(column.size())));
            return;
        }
    }
    // A new calculation from the window's start, computed by the presses of
    // the table's check. The girder's φ is the one the check had after step
    // 1 (its own, or from the table); step 1 neither reads nor writes it.
    applyInitialState(calculation.form);
    load(calculation, {});
    for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
        click(button);
    }
    emit replaced(false);
}

// The one way a calculation comes into the window: from a file (path) or as
// a new one (no path).
void CalculationDocument::load(const Calculation& calculation, const QString& path)
{
    for (const auto& field : kFormFields) {
        form_.setText(field.id, calculation.form.text(field.id));
    }
    for (const auto& property : kStateProperties) {
        form_.setState(property.control, calculation.form.state(property.control));
    }
    presses_ = calculation.presses;
    identity_ = calculation.identity;
    history_ = calculation.history;
    emit historyChanged();
    if (path.isEmpty()) {
        filePath_.clear();
        savedText_.clear();
        showTitle();
        window_.setWindowModified(false);
    } else {
        keepFile(path);
    }
}

bool CalculationDocument::saveFile(const QString& path)
{
    const auto fail = [this, &path](const QString& why) {
        form_.present(QStringLiteral("Расчет не сохранен в «%1»: %2. Файл, который там был, не изменился.")
                          .arg(QDir::toNativeSeparators(path), why),
                      MessageIcon::Error);
        return false;
    };
    // A line break would end the field's line in the file.
    for (const auto& field : kFormFields) {
        if (form_.text(field.id).find_first_of("\r\n") != std::string::npos) {
            return fail(QStringLiteral("в поле «%1» есть перевод строки").arg(form_.spokenName(field.id)));
        }
    }
    if (const QString why = writeWholeFile(path, QByteArray::fromStdString(text())); !why.isEmpty()) {
        return fail(why);
    }
    keepFile(path);
    return true;
}

bool CalculationDocument::writeReport(const QString& path)
{
    if (const QString failure = writeReportPdf(path, reportHtml()); !failure.isEmpty()) {
        form_.present(failure, MessageIcon::Error);
        return false;
    }
    return true;
}

void CalculationDocument::offerReport(const QString& path)
{
    prochnar::offerReport(&window_, path, QStringLiteral("Отчет записан в"), askToOpen_, open_, form_.presenter());
}

QString CalculationDocument::reportHtml() const
{
    return prochnar::reportHtml(form_, {.file = QDir::toNativeSeparators(filePath_),
                                        .made = QDateTime::currentDateTime(),
                                        .presses = presses_,
                                        .recomputed = {},
                                        .identity = identity_,
                                        .history = history_});
}

TableResultsWindow* CalculationDocument::openTable(const QString& path)
{
    auto* results = new TableResultsWindow(
        path,
        [this](const MapForm& girder, const GirderIdentity& identity, const GirderHistory& history) {
            openGirder(girder, identity, history);
        },
        &window_);
    results->setMessagePresenter(
        [this](QWidget* parent, const QString& text, MessageIcon icon) { form_.presenter()(parent, text, icon); });
    // Its report of the section is offered as the calculation's is.
    results->setOpenQuestion([this](QWidget* parent, const QString& text) { return askToOpen_(parent, text); });
    results->setOpener([this](const QUrl& url) { return open_(url); });
    results->setAttribute(Qt::WA_DeleteOnClose);
    results->setWindowIcon(window_.windowIcon());
    results->show();
    return results;
}

bool CalculationDocument::mayReplace()
{
    if (filePath_.isEmpty() || !window_.isWindowModified()) {
        return true;
    }
    switch (ask_(&window_,
                 QStringLiteral("Расчет «%1» изменен. Сохранить изменения?").arg(QFileInfo(filePath_).fileName()))) {
    case QMessageBox::Save:
        return saveFile(filePath_);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void CalculationDocument::markModified() { window_.setWindowModified(!filePath_.isEmpty() && text() != savedText_); }

// The calculation is now the file's: its name in the title, unmodified,
// first among the recent files.
void CalculationDocument::keepFile(const QString& path)
{
    filePath_ = QFileInfo(path).absoluteFilePath();
    savedText_ = text();
    showTitle();
    window_.setWindowModified(false);
    QStringList recent = recentFiles();
    recent.removeAll(filePath_);
    recent.prepend(filePath_);
    settings_.setValue(kRecentKey, recent.mid(0, kMaxRecentFiles));
}

void CalculationDocument::showTitle() { window_.setWindowTitle(calculationTitle(filePath_, identity_.support)); }

void CalculationDocument::chooseAndOpen()
{
    if (!mayReplace()) {
        return;
    }
    const QString path = chooseFile(false, QStringLiteral("Открыть расчет"), calculationFilter(), QString());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void CalculationDocument::openRecent(const QString& path)
{
    if (mayReplace()) {
        openFile(path);
    }
}

bool CalculationDocument::save() { return filePath_.isEmpty() ? saveAs() : saveFile(filePath_); }

bool CalculationDocument::saveAs()
{
    const QString path =
        chooseFile(true, QStringLiteral("Сохранить расчет"), calculationFilter(),
                   filePath_.isEmpty() ? QStringLiteral("расчет.%1").arg(kCalculationSuffix) : filePath_);
    return !path.isEmpty() && saveFile(path);
}

QString CalculationDocument::reportPath() const
{
    const QFileInfo calculation(filePath_);
    if (!filePath_.isEmpty()) {
        return calculation.dir().filePath(calculation.completeBaseName() + QStringLiteral(".pdf"));
    }
    // A girder not yet saved is named by its support, as the title names it.
    QString support = QString::fromStdString(identity_.support).simplified();
    support.replace(QRegularExpression(QStringLiteral(R"([/\\:*?"<>|])")), QStringLiteral("-"));
    return QDir(startFolder())
        .filePath(support.isEmpty() ? QStringLiteral("отчет.pdf") : QStringLiteral("опора %1.pdf").arg(support));
}

void CalculationDocument::chooseAndReport()
{
    offerIdentity();
    const QString path =
        chooseFile(true, QStringLiteral("Отчёт"), QStringLiteral("Документы PDF (*.pdf)"), reportPath());
    if (!path.isEmpty() && writeReport(path)) {
        offerReport(path);
    }
}

void CalculationDocument::print()
{
    offerIdentity();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    // Named after the calculation, in the queue and as a file printed to.
    printer.setDocName(filePath_.isEmpty() ? QStringLiteral("Прочнар") : QFileInfo(filePath_).completeBaseName());
    printer.setOutputFileName(reportPath());
    QPrintDialog dialog(&printer, &window_);
    dialog.setWindowTitle(QStringLiteral("Печать отчета"));
    if (dialog.exec() == QDialog::Accepted) {
        printReport(reportHtml(), printer);
    }
}

void CalculationDocument::chooseAndOpenTable()
{
    const QString path = chooseFile(false, QStringLiteral("Проверить таблицу опор"),
                                    QStringLiteral("Таблицы опор (*.csv);;Все файлы (*)"), {});
    if (!path.isEmpty()) {
        openTable(path);
    }
}

// The folder of the calculation's file, else of the newest recent file,
// else the home folder.
QString CalculationDocument::startFolder() const
{
    if (!filePath_.isEmpty()) {
        return QFileInfo(filePath_).path();
    }
    const QStringList recent = recentFiles();
    return recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).path();
}

// A file dialog in the start folder, proposing start's name when saving.
QString CalculationDocument::chooseFile(bool save, const QString& title, const QString& filter, const QString& start)
{
    QFileDialog dialog(&window_, title, startFolder(), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setDefaultSuffix(QFileInfo(start).suffix());
        dialog.selectFile(QFileInfo(start).fileName());
    }
    fitFileDialog(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace prochnar
