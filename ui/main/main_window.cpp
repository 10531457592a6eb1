#include "ui/main/main_window.h"

#include "calc/angles.h"
#include "calc/fields.h"
#include "calc/handlers.h"
#include "calc/map_form.h"
#include "calc/phi_table.h"
#include "ui/about/about_window.h"
#include "ui/main/angles_dialog.h"
#include "ui/main/help_window.h"
#include "ui/main/on_top.h"
#include "ui/main/report.h"
#include "ui/main/table_results_window.h"
#include "ui/main/whole_file.h"
#include "ui_Form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QUrl>

#include <array>
#include <utility>

// The form's pictures and icon live in a resource of this static library;
// the linker keeps them only when something refers to them.
static void initFormResources() { Q_INIT_RESOURCE(main_window); }

namespace prochnar {

void showMessageBox(QWidget* parent, const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, QStringLiteral("Прочнар"),
                    text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

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

MainWindow::MainWindow(QWidget* parent) : MainWindow(ReferenceFiles::standard(), openWithDesktop, parent) {}

MainWindow::MainWindow(ReferenceFiles files, UrlOpener openUrl, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::Form1>()), presenter_(showMessageBox), files_(std::move(files)),
      openUrl_(std::move(openUrl)), ask_(askToSave)
{
    initFormResources();
    ui_->setupUi(this);
    keepWireTableLook();

    // Built hidden: the governing-moment flag is never shown.
    ui_->Text15->hide();

    // The guidance table is read once, before the wizard's initial state.
    ui_->Text2->setPlainText(files_.readText(kGuidanceFile).text);

    applyInitialState(*this);
    // The rest of the load: the step-2 results and the recommendation stay
    // out of sight, and the window starts in the ordinary z-order.
    ui_->txtQp->hide();
    ui_->txtZ1->hide();
    ui_->Text11->hide();
    ui_->Command10->show();
    ui_->Command12->hide();

    connectButtons();
    connectServices();
    connectAids();
    connectFiles();
    centreOnScreen();
}

MainWindow::~MainWindow()
{
    delete about_;
    delete help_;
}

void MainWindow::setMessagePresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }

void MainWindow::setSaveQuestion(SaveQuestion ask) { ask_ = std::move(ask); }

TableResultsWindow* MainWindow::openTable(const QString& path)
{
    auto* results = new TableResultsWindow(
        path, [this](const MapForm& form) { openGirder(form); }, this);
    results->setAttribute(Qt::WA_DeleteOnClose);
    results->setWindowIcon(windowIcon());
    results->show();
    return results;
}

void MainWindow::openGirder(const Form& form)
{
    // Like opening a file, it replaces the calculation: changes kept in a
    // file are not lost without asking, and the girder is a new calculation.
    if (!mayReplace()) {
        return;
    }
    for (const auto& field : kFormFields) {
        setText(field.id, form.text(field.id));
    }
    setState(StateControl::Frame5Visible, true);
    applyInitialState(*this);
    judged_.fill(false);
    showVerdicts();
    presses_.clear();
    filePath_.clear();
    savedFile_.clear();
    setWindowTitle(QStringLiteral("Прочнар"));
    setWindowModified(false);
    ui_->SSTab1->setCurrentIndex(0);
    raise();
    activateWindow();
}

std::string MainWindow::text(Field field) const
{
    const QWidget* widget = this->field(field);
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text().toStdString();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) {
        return memo->toPlainText().toStdString();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text().toStdString();
    }
    return {};
}

void MainWindow::setText(Field field, const std::string& text)
{
    QWidget* widget = this->field(field);
    const QString value = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->setPlainText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    }
}

bool MainWindow::state(StateControl control) const
{
    const QWidget* widget = stateWidget(control);
    switch (control) {
    case StateControl::Frame5Visible:
    case StateControl::Frame9Visible:
        // Hidden only when hidden itself, not because its tab is not selected.
        return !widget->isHidden();
    case StateControl::Frame7Enabled:
    case StateControl::Command5Enabled:
    case StateControl::Command4Enabled:
        return widget->isEnabled();
    }
    return false;
}

void MainWindow::setState(StateControl control, bool on)
{
    QWidget* widget = stateWidget(control);
    switch (control) {
    case StateControl::Frame5Visible:
    case StateControl::Frame9Visible:
        widget->setVisible(on);
        break;
    case StateControl::Frame7Enabled:
        // φ from the table can be taken while the wire table can be filled.
        ui_->cmdJ->setEnabled(on);
        ui_->cmdJ1->setEnabled(on);
        widget->setEnabled(on);
        break;
    case StateControl::Command5Enabled:
    case StateControl::Command4Enabled:
        widget->setEnabled(on);
        break;
    }
}

void MainWindow::showMessage(const std::string& text, MessageIcon icon)
{
    if (pressing_ != nullptr) {
        pressing_->messages.push_back({text, icon});
    }
    presenter_(this, QString::fromStdString(text), icon);
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        keepWireTableLook();
    }
}

// A click anywhere in the text of the recommendation puts it away.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->Text11->viewport() && event->type() == QEvent::MouseButtonPress) {
        ui_->Text11->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* MainWindow::field(Field field) const
{
    const std::string_view name = fieldName(field);
    const QString objectName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    auto* widget = findChild<QWidget*>(objectName);
    if (qobject_cast<QLineEdit*>(widget) == nullptr && qobject_cast<QPlainTextEdit*>(widget) == nullptr &&
        qobject_cast<QLabel*>(widget) == nullptr) {
        qWarning("Form1 has no field named %s", qPrintable(objectName));
        return nullptr;
    }
    return widget;
}

QWidget* MainWindow::stateWidget(StateControl control) const
{
    switch (control) {
    case StateControl::Frame5Visible:
        return ui_->Frame5;
    case StateControl::Frame7Enabled:
        return ui_->Frame7;
    case StateControl::Command5Enabled:
        return ui_->Command5;
    case StateControl::Frame9Visible:
        return ui_->Frame9;
    case StateControl::Command4Enabled:
        return ui_->Command4;
    }
    return nullptr;
}

// While the wire table is locked its fields take no focus and no typing, but
// keep the look of an open table: the disabled colours are the active ones.
void MainWindow::keepWireTableLook()
{
    QPalette palette = this->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Disabled, colorRole, palette.brush(QPalette::Active, colorRole));
    }
    ui_->Frame7->setPalette(palette);
}

void MainWindow::connectButtons()
{
    const std::array wiring{
        std::pair{ui_->Command2, Button::Command2}, std::pair{ui_->Command3, Button::Command3},
        std::pair{ui_->Command5, Button::Command5}, std::pair{ui_->Command6, Button::Command6},
        std::pair{ui_->Command4, Button::Command4},
    };
    for (const auto& [widget, button] : wiring) {
        connect(widget, &QPushButton::clicked, this, [this, button = button] { runPress(button); });
    }
}

// Clicks the button and keeps what it showed, as the last click of it.
void MainWindow::runPress(Button button)
{
    PressRecord record{.button = button, .ran = false, .messages = {}};
    pressing_ = &record;
    record.ran = press(*this, button);
    pressing_ = nullptr;
    presses_.push_back(std::move(record));
    presses_ = lastPresses(presses_);
    markModified();
}

void MainWindow::connectServices()
{
    connect(ui_->Command10, &QPushButton::clicked, this, [this] { setOnTop(true); });
    connect(ui_->Command12, &QPushButton::clicked, this, [this] { setOnTop(false); });
    connect(ui_->Command7, &QPushButton::clicked, this, &MainWindow::showRecommendation);
    connect(ui_->Command1, &QPushButton::clicked, this, &MainWindow::openCatalogue);
    connect(ui_->Command9, &QPushButton::clicked, this, &MainWindow::showAbout);
    connect(ui_->Command8, &QPushButton::clicked, this, &QWidget::close);
    ui_->Text11->viewport()->installEventFilter(this);

    // F1 from whichever control of the window has the focus.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &MainWindow::showHelp);
}

void MainWindow::setOnTop(bool on)
{
    SetOnTop(this, on);
    ui_->Command10->setVisible(!on);
    ui_->Command12->setVisible(on);
}

void MainWindow::showRecommendation()
{
    ui_->Text11->show();
    ui_->Text11->setPlainText(files_.readText(kRecommendationFile).text);
}

// The catalogue opens in the desktop's viewer; a missing catalogue or
// viewer changes nothing here.
void MainWindow::openCatalogue() const
{
    const QString path = files_.find(kCatalogueFile);
    if (!path.isEmpty()) {
        openUrl_(QUrl::fromLocalFile(path));
    }
}

// One About window at a time, without owner, so that it is neither kept on
// top with the main window nor closed with it.
void MainWindow::showAbout()
{
    if (about_ == nullptr) {
        about_ = new AboutWindow(openUrl_);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        about_->setWindowIcon(windowIcon());
        about_->show();
        return;
    }
    about_->raise();
    about_->activateWindow();
}

void MainWindow::showHelp()
{
    if (help_ == nullptr) {
        help_ = new HelpWindow(files_);
        help_->setAttribute(Qt::WA_DeleteOnClose);
        help_->setWindowIcon(windowIcon());
        help_->show();
        return;
    }
    help_->raise();
    help_->activateWindow();
}

void MainWindow::connectAids()
{
    connect(ui_->cmdJ, &QPushButton::clicked, this, [this] { fillPhi(ui_->lblJ, ui_->Text3); });
    connect(ui_->cmdJ1, &QPushButton::clicked, this, [this] { fillPhi(ui_->lblJ1, ui_->Text5); });
    connect(ui_->cmdAngles, &QPushButton::clicked, this, &MainWindow::openAngles);

    // Connected after the wizard's own handler, so it runs after it.
    connect(ui_->Command4, &QPushButton::clicked, this, [this] {
        judged_.fill(true);
        showVerdicts();
    });
    // A row's verdict goes as soon as a value it judged changes; the flange
    // thickness depends on the section fields as well.
    const std::array<std::pair<QLineEdit*, QLineEdit*>, kVerdictRows> rows{{
        {ui_->Text4, ui_->Text6},
        {ui_->Text7, ui_->Text8},
        {ui_->txtz2, ui_->Text12},
        {ui_->Text13, ui_->Text14},
    }};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (QLineEdit* judgedField : {rows.at(row).first, rows.at(row).second}) {
            connect(judgedField, &QLineEdit::textChanged, this, [this, row] {
                judged_.at(row) = false;
                showVerdicts();
            });
        }
    }
    for (QLineEdit* section : {ui_->Text9, ui_->txtIy, ui_->Text10, ui_->txtIyy}) {
        connect(section, &QLineEdit::textChanged, this, &MainWindow::showVerdicts);
    }
}

void MainWindow::fillPhi(const QLabel* slenderness, QLineEdit* phi)
{
    const TablePhi found = phiFromTable(slenderness->text().toStdString());
    if (found.phi.empty()) {
        presenter_(this, QString::fromStdString(found.message), MessageIcon::None);
        return;
    }
    phi->setText(QString::fromStdString(found.phi));
}

// One catalogue at a time; it keeps the main window waiting until closed.
void MainWindow::openAngles()
{
    if (angles_ == nullptr) {
        angles_ = new AnglesDialog([this](AngleMember member, std::size_t angle) { takeAngle(member, angle); }, this);
        angles_->setAttribute(Qt::WA_DeleteOnClose);
        angles_->open();
    }
}

void MainWindow::takeAngle(AngleMember member, std::size_t angle)
{
    const Angle& chosen = angleCatalogue()[angle];
    const bool chord = member == AngleMember::Chord;
    (chord ? ui_->Text9 : ui_->Text10)->setText(QString::fromStdString(areaText(chosen)));
    (chord ? ui_->txtIy : ui_->txtIyy)->setText(QString::fromStdString(radiusText(chosen)));
}

void MainWindow::showVerdicts()
{
    const auto verdicts = judgeStep3(*this);
    const std::array<QLabel*, kVerdictRows> labels{ui_->lblVerdict1, ui_->lblVerdict2, ui_->lblVerdict3,
                                                   ui_->lblVerdict4};
    for (std::size_t row = 0; row < labels.size(); ++row) {
        const std::optional<Verdict>& verdict = verdicts.at(row);
        QLabel* label = labels.at(row);
        if (!judged_.at(row) || !verdict) {
            label->clear();
            continue;
        }
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, verdict->holds ? QColor(0, 128, 0) : QColor(200, 0, 0));
        label->setPalette(palette);
        label->setText(QString::fromStdString(verdict->text));
    }
}

namespace {

// The recently used calculations, newest first, kept with the toolkit's
// settings of the program.
constexpr int kMaxRecentFiles = 8;
constexpr QLatin1String kRecentKey{"recentFiles"};

QSettings settings() { return QSettings(QStringLiteral("prochnar"), QStringLiteral("prochnar")); }

QString calculationFilter() { return QStringLiteral("Расчеты Прочнара (*.%1);;Все файлы (*)").arg(kCalculationSuffix); }

// Why a file is not a whole calculation, in the window's words.
QString faultText(const FormFileError& error)
{
    const QString name = QString::fromStdString(error.name());
    switch (error.fault()) {
    case FormFileError::Fault::NotUtf8:
        return QStringLiteral("это не текст UTF-8 — файл испорчен или это не расчет");
    case FormFileError::Fault::NoEquals:
        return QStringLiteral("строка не вида ИМЯ=ТЕКСТ");
    case FormFileError::Fault::UnknownName:
        return QStringLiteral("неизвестное имя «%1»").arg(name);
    case FormFileError::Fault::BadState:
        return QStringLiteral("у %1 может быть только 0 или 1").arg(name);
    case FormFileError::Fault::Missing:
        return QStringLiteral("нет строки %1 — файл оборван или это не целый расчет").arg(name);
    }
    return {};
}

} // namespace

std::string MainWindow::calculationFile() const { return writePressLog(presses_) + writeFormFile(*this); }

bool MainWindow::openFile(const QString& path)
{
    const auto refuse = [this, &path](const QString& why) {
        presenter_(this, QStringLiteral("Расчет «%1» не открыт: %2.").arg(QDir::toNativeSeparators(path), why),
                   MessageIcon::Error);
        return false;
    };
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile()) {
        return refuse(info.exists() ? QStringLiteral("это не файл") : QStringLiteral("такого файла нет"));
    }
    if (info.size() > static_cast<qint64>(kMaxFormFileSize)) {
        return refuse(QStringLiteral("файл больше 16 МБ, это не расчет"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return refuse(QStringLiteral("файл не читается (%1)").arg(file.errorString()));
    }
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxFormFileSize) + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > static_cast<qsizetype>(kMaxFormFileSize)) {
        return refuse(QStringLiteral("файл не читается (%1)").arg(file.errorString()));
    }
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    MapForm read;
    applyInitialState(read);
    try {
        readWholeFormFile(content, read);
    } catch (const FormFileError& error) {
        return refuse(QStringLiteral("строка %1: %2").arg(error.line()).arg(faultText(error)));
    }
    for (const auto& field : kFormFields) {
        setText(field.id, read.text(field.id));
    }
    for (const auto& property : kStateProperties) {
        setState(property.control, read.state(property.control));
    }
    presses_ = lastPresses(readPressLog(content));
    judged_.fill(true);
    showVerdicts();
    keepFile(path);
    return true;
}

bool MainWindow::saveFile(const QString& path)
{
    const auto fail = [this, &path](const QString& why) {
        presenter_(this,
                   QStringLiteral("Расчет не сохранен в «%1»: %2. Файл, который там был, не изменился.")
                       .arg(QDir::toNativeSeparators(path), why),
                   MessageIcon::Error);
        return false;
    };
    // A line break would end the field's line in the file.
    for (const auto& field : kFormFields) {
        if (text(field.id).find_first_of("\r\n") != std::string::npos) {
            const QWidget* widget = this->field(field.id);
            return fail(QStringLiteral("в поле «%1» есть перевод строки")
                            .arg(widget->accessibleName().isEmpty() ? widget->objectName() : widget->accessibleName()));
        }
    }
    const std::string content = calculationFile();
    if (const QString why = writeWholeFile(path, QByteArray::fromStdString(content)); !why.isEmpty()) {
        return fail(why);
    }
    keepFile(path);
    return true;
}

bool MainWindow::writeReport(const QString& path)
{
    if (const QString failure = writeReportPdf(path, reportText()); !failure.isEmpty()) {
        presenter_(this, failure, MessageIcon::Error);
        return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (mayReplace()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
}

void MainWindow::connectFiles()
{
    auto* menu = new QMenu(ui_->cmdFile);
    menu->setToolTipsVisible(true);
    const auto item = [this, menu](const QString& text, const QKeySequence& keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        addAction(action); // the keys work with the menu closed as well
        connect(action, &QAction::triggered, this, slot);
    };
    item(QStringLiteral("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O), &MainWindow::chooseAndOpen);
    item(QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), &MainWindow::save);
    item(QStringLiteral("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::saveAs);
    menu->addSeparator();
    recentEnd_ = menu->addSeparator();
    item(QStringLiteral("Отчёт…"), QKeySequence(Qt::CTRL | Qt::Key_P), &MainWindow::chooseAndReport);
    item(QStringLiteral("Печать…"), QKeySequence(), &MainWindow::print);
    menu->addSeparator();
    item(QStringLiteral("Проверить таблицу опор…"), QKeySequence(), &MainWindow::chooseAndOpenTable);
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::showRecentFiles);
    ui_->cmdFile->setMenu(menu);

    // Every edit of a field may change the calculation.
    for (const auto& field : kFormFields) {
        if (auto* edit = qobject_cast<QLineEdit*>(this->field(field.id))) {
            connect(edit, &QLineEdit::textChanged, this, &MainWindow::markModified);
        }
    }
}

void MainWindow::showRecentFiles()
{
    for (QAction* action : recent_) {
        delete action;
    }
    recent_.clear();
    const QStringList recent = settings().value(kRecentKey).toStringList();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent.at(i);
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this);
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (mayReplace()) {
                openFile(path);
            }
        });
        ui_->cmdFile->menu()->insertAction(recentEnd_, action);
        recent_.push_back(action);
    }
}

void MainWindow::chooseAndOpen()
{
    if (!mayReplace()) {
        return;
    }
    const QString path = chooseFile(false, QStringLiteral("Открыть расчет"), calculationFilter(), QString());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool MainWindow::save() { return filePath_.isEmpty() ? saveAs() : saveFile(filePath_); }

bool MainWindow::saveAs()
{
    const QString path =
        chooseFile(true, QStringLiteral("Сохранить расчет"), calculationFilter(),
                   filePath_.isEmpty() ? QStringLiteral("расчет.%1").arg(kCalculationSuffix) : filePath_);
    return !path.isEmpty() && saveFile(path);
}

void MainWindow::chooseAndReport()
{
    const QFileInfo calculation(filePath_);
    const QString start = filePath_.isEmpty()
                              ? QStringLiteral("отчет.pdf")
                              : calculation.dir().filePath(calculation.completeBaseName() + QStringLiteral(".pdf"));
    const QString path = chooseFile(true, QStringLiteral("Отчёт"), QStringLiteral("Документы PDF (*.pdf)"), start);
    if (!path.isEmpty()) {
        writeReport(path);
    }
}

void MainWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    printer.setDocName(QStringLiteral("Прочнар"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Печать отчета"));
    if (dialog.exec() == QDialog::Accepted) {
        printReport(reportText(), printer);
    }
}

void MainWindow::chooseAndOpenTable()
{
    const QString path = chooseFile(false, QStringLiteral("Проверить таблицу опор"),
                                    QStringLiteral("Таблицы опор (*.csv);;Все файлы (*)"), {});
    if (!path.isEmpty()) {
        openTable(path);
    }
}

QString MainWindow::chooseFile(bool save, const QString& title, const QString& filter, const QString& start)
{
    QString folder = QFileInfo(filePath_).path();
    if (filePath_.isEmpty()) {
        const QStringList recent = settings().value(kRecentKey).toStringList();
        folder = recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).path();
    }
    QFileDialog dialog(this, title, folder, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setDefaultSuffix(QFileInfo(start).suffix());
        dialog.selectFile(QFileInfo(start).fileName());
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

bool MainWindow::mayReplace()
{
    if (filePath_.isEmpty() || !isWindowModified()) {
        return true;
    }
    switch (
        ask_(this, QStringLiteral("Расчет «%1» изменен. Сохранить изменения?").arg(QFileInfo(filePath_).fileName()))) {
    case QMessageBox::Save:
        return saveFile(filePath_);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

// The calculation is now the file's: its name in the title, unmodified,
// first among the recent files.
void MainWindow::keepFile(const QString& path)
{
    filePath_ = QFileInfo(path).absoluteFilePath();
    savedFile_ = calculationFile();
    QString name = QFileInfo(path).fileName();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(QStringLiteral("Прочнар — %1[*]").arg(name));
    setWindowModified(false);
    QSettings kept = settings();
    QStringList recent = kept.value(kRecentKey).toStringList();
    recent.removeAll(filePath_);
    recent.prepend(filePath_);
    kept.setValue(kRecentKey, recent.mid(0, kMaxRecentFiles));
}

void MainWindow::markModified() { setWindowModified(!filePath_.isEmpty() && calculationFile() != savedFile_); }

QString MainWindow::reportText() const
{
    return reportHtml(
        *this,
        {.file = QDir::toNativeSeparators(filePath_), .made = QDateTime::currentDateTime(), .presses = presses_});
}

void MainWindow::centreOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

} // namespace prochnar
