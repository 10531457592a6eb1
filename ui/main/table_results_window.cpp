#include "ui/main/table_results_window.h"

#include "ui/main/file_dialog.h"
#include "ui/main/inspections_dialog.h"
#include "ui/main/plan_table_model.h"
#include "ui/main/section_report.h"
#include "ui/main/table_results_model.h"
#include "ui/main/utf8_text.h"
#include "ui/main/whole_file.h"

#include "calc/messages.h"
#include "formats/csv_table.h"
#include "formats/input_file.h"
#include "formats/safe_output.h"
#include "formats/table_workbook.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string_view>
#include <thread>
#include <vector>

namespace prochnar {

namespace {

constexpr int kSliceMs = 30;
constexpr std::size_t kBatchRows = 256; // rows checked at once, a few milliseconds

// Runs work(part, from, to) for `parts` shares of [from, to), the first on
// this thread and the others each on one of its own, and waits for them all.
void inShares(std::size_t parts, std::size_t from, std::size_t to,
              const std::function<void(std::size_t part, std::size_t from, std::size_t to)>& work)
{
    const std::size_t share = (to - from + parts - 1) / std::max<std::size_t>(parts, 1);
    std::vector<std::jthread> helpers;
    for (std::size_t part = 1; part < parts && from + part * share < to; ++part) {
        helpers.emplace_back(work, part, from + part * share, std::min(to, from + (part + 1) * share));
    }
    work(0, from, std::min(to, from + share));
}
constexpr std::size_t kSaveRows = 8192; // a piece of a save, a megabyte or so

QString notReadText(const FileFaultAt& fault) { return fromUtf8(tableNotReadText(fault)); }

std::filesystem::path fsPath(const QString& path) { return {path.toStdU16String()}; }

} // namespace

std::optional<DecimalSeparator> askDecimalSeparator(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Прочнар"), text, QMessageBox::NoButton, parent);
    QPushButton* comma = box.addButton(QStringLiteral("Запятая"), QMessageBox::AcceptRole);
    QPushButton* point = box.addButton(QStringLiteral("Точка"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(comma);
    box.exec();
    if (box.clickedButton() == comma) {
        return DecimalSeparator::Comma;
    }
    if (box.clickedButton() == point) {
        return DecimalSeparator::Point;
    }
    return std::nullopt;
}

TableResultsWindow::TableResultsWindow(const QString& path, GirderOpener openGirder, QWidget* parent)
    : QWidget(parent, Qt::Window), openGirder_(std::move(openGirder)), summary_(new QLabel(this)),
      progress_(new QProgressBar(this)), save_(new QPushButton(QStringLiteral("Сохранить результаты…"), this)),
      report_(new QPushButton(QStringLiteral("Отчёт по участку…"), this)),
      cancel_(new QPushButton(QStringLiteral("Отмена"), this)),
      replacedBy_(new QCheckBox(QStringLiteral("только к замене до"), this)), replacedYear_(new QSpinBox(this)),
      tabs_(new QTabWidget(this)), table_(new QTableView(this)), timer_(new QTimer(this)), path_(path)
{
    setWindowTitle(QStringLiteral("Прочнар — ") + QFileInfo(path).fileName());
    resize(1100, 700);
    auto* bar = new QHBoxLayout;
    bar->addWidget(summary_, 1);
    bar->addWidget(replacedBy_);
    bar->addWidget(replacedYear_);
    replacedBy_->setAccessibleName(QStringLiteral("Только опоры к замене до года"));
    replacedBy_->setAccessibleDescription(
        QStringLiteral("Показывать только опоры, год замены которых не позже указанного; сводка — по всей таблице"));
    replacedYear_->setAccessibleName(QStringLiteral("Год замены не позже"));
    replacedYear_->setRange(1900, 2200);
    replacedYear_->setValue(QDate::currentDate().year() + 5);
    replacedBy_->hide();
    replacedYear_->hide();
    replacedBy_->setEnabled(false);
    replacedYear_->setEnabled(false);
    bar->addWidget(progress_);
    bar->addWidget(cancel_);
    bar->addWidget(save_);
    bar->addWidget(report_);
    report_->setAccessibleName(QStringLiteral("Отчёт по участку в PDF"));
    report_->setAccessibleDescription(QStringLiteral(
        "Один документ PDF на всю таблицу: сводка опор от наименьшего запаса, затем отчет каждой опоры"));
    report_->setEnabled(false);
    cancel_->setAccessibleName(QStringLiteral("Отменить отчёт по участку"));
    cancel_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(tabs_);
    // The plan's tab is added once there is a plan: until then the bar is hidden.
    tabs_->setTabBarAutoHide(true);
    tabs_->setDocumentMode(true);
    tabs_->addTab(table_, QStringLiteral("Опоры"));
    table_->setAccessibleName(QStringLiteral("Опоры таблицы"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    save_->setEnabled(false);
    summary_->setText(QStringLiteral("Проверяются опоры…"));
    connect(save_, &QPushButton::clicked, this, &TableResultsWindow::askAndSave);
    connect(report_, &QPushButton::clicked, this, &TableResultsWindow::askAndReport);
    connect(cancel_, &QPushButton::clicked, this, &TableResultsWindow::cancelSectionReport);
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { openRow(index.row()); });
    connect(timer_, &QTimer::timeout, this, &TableResultsWindow::checkSlice);
    connect(replacedBy_, &QCheckBox::toggled, this, &TableResultsWindow::filterByYear);
    connect(replacedYear_, &QSpinBox::valueChanged, this, &TableResultsWindow::filterByYear);

    const std::filesystem::path file(path.toStdU16String());
    if (const auto fault = openInput(file, file_)) {
        finish(notReadText(*fault));
        return;
    }
    std::error_code error;
    fileSize_ = static_cast<std::size_t>(std::filesystem::file_size(file, error));
    progress_->setRange(0, 1000);
    reader_ = std::make_unique<CsvReader>(file_);
    timer_->start(0);
}

TableResultsWindow::~TableResultsWindow()
{
    // Before the model it reads goes: a report not finished leaves no file.
    cancelSectionReport();
}

bool TableResultsWindow::decideSlice(const QElapsedTimer& slice)
{
    std::vector<std::string> record;
    bool read = false;
    try {
        if (!vote_) {
            if (!reader_->next(record)) {
                vote_.reset();
                read = true; // no header: the check says so
            } else {
                vote_.emplace(record);
            }
        }
        while (!read && slice.elapsed() < kSliceMs) {
            if (!reader_->next(record)) {
                read = true;
            } else {
                vote_->add(record, reader_->recordLine());
            }
        }
    } catch (const CsvError&) {
        read = true; // the rows before a fault decide; the check reports the fault
    }
    if (!read) {
        if (fileSize_ > 0) {
            progress_->setValue(
                static_cast<int>(500.0 * static_cast<double>(reader_->bytesRead()) / static_cast<double>(fileSize_)));
        }
        return false;
    }
    const DecimalDecision decision = vote_ ? vote_->decision() : DecimalDecision{};
    vote_.reset();
    separator_ = decision.separator;
    if (decision.doubt) {
        timer_->stop();
        const std::optional<DecimalSeparator> chosen =
            askDecimal_(this, QStringLiteral("Не ясно, какой десятичный разделитель у чисел таблицы: строка %1, %2.\n\n"
                                             "Читать числа таблицы с десятичной запятой или с точкой? Число с "
                                             "другим разделителем станет сообщением своей строки.")
                                  .arg(decision.doubt->cell.line)
                                  .arg(fromUtf8(decision.doubt->text())));
        if (!chosen) {
            finish(QStringLiteral("Таблица не проверена: десятичный разделитель не выбран."));
            return false;
        }
        separator_ = *chosen;
        timer_->start(0);
    }
    decided_ = true;
    file_.clear();
    file_.seekg(0);
    reader_ = std::make_unique<CsvReader>(file_);
    return true;
}

void TableResultsWindow::checkSlice()
{
    QElapsedTimer slice;
    slice.start();
    if (!decided_ && !decideSlice(slice)) {
        return;
    }
    try {
        std::vector<std::string> record;
        if (!run_) {
            if (!reader_->next(record)) {
                finish(notReadText(fileFaultAt(FileFault::NoHeader, 1)));
                return;
            }
            if (const auto fault = headerFault(record)) {
                finish(notReadText(*fault));
                return;
            }
            run_.emplace(record);
            life_.emplace(record, separator_, calendarDate(QDate::currentDate()));
            header_ = record;
            delimiter_ = reader_->delimiter();
            // The life columns, where the check puts them; one the table
            // already has is shown once, with what the check fills in.
            std::vector<std::size_t> life;
            if (life_->measured()) {
                for (const std::string_view name : kLifeColumns) {
                    const auto& checked = life_->header();
                    life.push_back(
                        static_cast<std::size_t>(std::find(checked.begin(), checked.end(), name) - checked.begin()));
                }
                try {
                    plan_.emplace(record);
                } catch (const PlanError&) {
                    // No "Опора": the girders cannot be told apart, and there is no plan.
                }
                replacedBy_->show();
                replacedYear_->show();
            }
            std::vector<std::size_t> own;
            for (std::size_t column = 0; column < record.size(); ++column) {
                const bool lifeColumn = !life.empty() && std::find(kLifeColumns.begin(), kLifeColumns.end(),
                                                                   record[column]) != kLifeColumns.end();
                if (isOwnColumn(record[column]) && !lifeColumn) {
                    own.push_back(column);
                }
            }
            model_ = new TableResultsModel(record, std::move(own), std::move(life), this);
            model_->setDecimalSeparator(separator_);
            table_->setModel(model_);
        }
        while (slice.elapsed() < kSliceMs) {
            // A batch of rows, checked on every processor while this thread
            // reads the next before it joins them; the rows read before a
            // fault of the file are shown with it.
            Batch batch = ahead_ ? std::move(*ahead_) : readBatch();
            ahead_.reset();
            checkBatch(batch.rows, [this, &batch] {
                if (!batch.ended && !batch.fault) {
                    ahead_ = readBatch();
                }
            });
            if (batch.fault || batch.ended) {
                finish(batch.fault ? notReadText(*batch.fault) : QString());
                return;
            }
        }
    } catch (const CsvError& error) {
        finish(notReadText(error.at()));
        return;
    }
    model_->showAdded();
    if (fileSize_ > 0) {
        progress_->setValue(static_cast<int>(500.0 + 500.0 * static_cast<double>(reader_->bytesRead()) /
                                                         static_cast<double>(fileSize_)));
    }
    summary_->setText(QStringLiteral("Проверено опор: %1…").arg(model_->girderCount()));
}

void TableResultsWindow::finish(const QString& fault)
{
    timer_->stop();
    reader_.reset();
    file_.close();
    progress_->hide();
    if (model_ != nullptr) {
        model_->showAdded();
        // Sorted once, by the margin, as sorting is turned on.
        table_->horizontalHeader()->setSortIndicator(model_->marginColumn(), Qt::AscendingOrder);
        table_->setSortingEnabled(true);
        table_->resizeColumnsToContents();
    }
    save_->setEnabled(run_.has_value());
    report_->setEnabled(run_.has_value());
    replacedBy_->setEnabled(model_ != nullptr);
    replacedYear_->setEnabled(model_ != nullptr);
    showPlan();
    QString summary = fromUtf8(checkedTableSummary(totals_, nullptr, namedSeparator()));
    if (!fault.isEmpty()) {
        summary += QLatin1Char(' ') + fault;
    }
    summary_->setText(summary);
}

TableResultsWindow::Batch TableResultsWindow::readBatch()
{
    Batch batch;
    try {
        std::vector<std::string> record;
        while (batch.rows.size() < kBatchRows && !(batch.ended = !reader_->next(record))) {
            batch.rows.push_back(record);
        }
    } catch (const CsvError& error) {
        batch.fault = error.at();
    }
    return batch;
}

void TableResultsWindow::checkBatch(const std::vector<std::vector<std::string>>& batch,
                                    const std::function<void()>& meanwhile)
{
    // Every processor takes the next row not taken and checks it with a
    // check of its own (a girder's results follow from its row alone), this
    // thread once meanwhile is done; they are added in order.
    if (checks_.empty()) {
        checks_.assign(std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8), *life_);
    }
    std::vector<CheckedGirder> girders(batch.size());
    std::vector<PlanPoint> points(plan_ ? batch.size() : 0);
    std::atomic<std::size_t> next{0};
    const auto checkRows = [&](std::size_t part) {
        for (std::size_t row = next++; row < batch.size(); row = next++) {
            girders[row] = checks_[part].check(batch[row], plan_ ? &points[row] : nullptr);
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t part = 1; part < checks_.size(); ++part) {
            helpers.emplace_back(checkRows, part);
        }
        meanwhile();
        checkRows(0);
    }
    for (std::size_t row = 0; row < batch.size(); ++row) {
        if (plan_) {
            plan_->add(points[row]);
        }
        model_->add(batch[row], girders[row]);
        totals_.add(girders[row]);
    }
}

QString TableResultsWindow::refusalOf(const QString& path) const
{
    const std::array inputs{fsPath(path_)};
    const auto refusal = refuseOutput(fsPath(path), inputs);
    if (!refusal) {
        return {};
    }
    return *refusal == OutputRefusal::SameAsInput ? QStringLiteral("это сама проверяемая таблица")
                                                  : QStringLiteral("это не обычный файл");
}

QString TableResultsWindow::saveTo(const QString& path) const
{
    if (!run_) {
        return QStringLiteral("таблица не прочитана");
    }
    if (QString why = refusalOf(path); !why.isEmpty()) {
        return why;
    }
    // Checked again, on runs of their own: a girder's results follow from its
    // row alone, so they come out as the command writes them. Each piece's
    // rows are shared out among the processors and put back in order.
    const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<TableLife> runs(workers, *life_);
    const std::size_t count = model_ == nullptr ? 0 : model_->girderCount();
    if (isWorkbookName(path.toStdString())) {
        return savedWorkbook(path, runs, count);
    }
    std::vector<std::string> parts(workers);
    std::size_t next = 0;
    bool headerWritten = false;
    const auto checkRows = [this, &runs, &parts](std::size_t part, std::size_t from, std::size_t to) {
        std::vector<std::string> row;
        for (std::size_t girder = from; girder < to; ++girder) {
            model_->inputRow(girder, row);
            appendCsvRecord(parts[part], runs[part].check(row).cells, delimiter_);
        }
    };
    return writeWholeFile(path, [&](std::string& piece) {
        piece = std::exchange(headerWritten, true) ? std::string() : checkedTableHeader(runs.front(), delimiter_);
        const std::size_t end = std::min(count, next + kSaveRows);
        inShares(workers, next, end, checkRows);
        for (std::string& part : parts) {
            piece += part;
            part.clear();
        }
        next = end;
        return !piece.empty();
    });
}

QString TableResultsWindow::savedWorkbook(const QString& path, std::vector<TableLife>& runs, std::size_t count) const
{
    try {
        TableWorkbook workbook(fsPath(path));
        workbook.setSeparator(separator_);
        workbook.header(runs.front().header());
        TableTotals totals;
        std::vector<CheckedGirder> girders(std::min(count, kSaveRows));
        for (std::size_t next = 0; next < count; next += kSaveRows) {
            const std::size_t end = std::min(count, next + kSaveRows);
            inShares(runs.size(), next, end, [&](std::size_t part, std::size_t from, std::size_t to) {
                std::vector<std::string> row;
                for (std::size_t girder = from; girder < to; ++girder) {
                    model_->inputRow(girder, row);
                    girders[girder - next] = runs[part].check(row);
                }
            });
            for (std::size_t girder = next; girder < end; ++girder) {
                totals.add(girders[girder - next]);
                workbook.add(girders[girder - next]);
            }
        }
        // The plan and the summary as the command writes them with --plan.
        if (plan_) {
            workbook.addPlan(plan_->records());
        }
        workbook.commit(checkedTableSummary(totals, plan_ ? &*plan_ : nullptr, namedSeparator()));
    } catch (const OutputError& error) {
        return fromUtf8(error.what());
    }
    return {};
}

QString TableResultsWindow::savedWithWaitCursor(const QString& path) const
{
    // A large table takes seconds to check again.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why = saveTo(path);
    QApplication::restoreOverrideCursor();
    return why;
}

void TableResultsWindow::askAndSave()
{
    QFileDialog dialog(this, QStringLiteral("Сохранить результаты"), QString(),
                       QStringLiteral("Таблицы CSV (*.csv);;Книги Excel (*.xlsx)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without its suffix under the workbooks' filter is a workbook's.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains(QStringLiteral("*.xlsx")) ? QStringLiteral("xlsx") : QString());
    });
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    const QString where = QDir::toNativeSeparators(path);
    if (const QString refused = refusalOf(path); !refused.isEmpty()) {
        present_(this, QStringLiteral("Результаты не сохранены в «%1»: %2.").arg(where, refused), MessageIcon::Error);
    } else if (const QString why = savedWithWaitCursor(path); !why.isEmpty()) {
        present_(
            this,
            QStringLiteral("Результаты не сохранены в «%1»: %2. Файл, который там был, не изменился.").arg(where, why),
            MessageIcon::Error);
    }
}

QString TableResultsWindow::startSectionReport(const QString& path)
{
    if (!run_ || !finished()) {
        return QStringLiteral("таблица еще не проверена");
    }
    if (writingSectionReport()) {
        return QStringLiteral("отчет по участку уже записывается");
    }
    if (QString why = refusalOf(path); !why.isEmpty()) {
        return why;
    }
    if (sectionReport_ == nullptr) {
        sectionReport_ = new SectionReport(path_, *model_, *life_, summary_->text(), planRecords(), this);
        connect(sectionReport_, &SectionReport::progressed, progress_, &QProgressBar::setValue);
        connect(sectionReport_, &SectionReport::finished, this,
                [this](const QString& failure) { sectionReportEnded(sectionReportPath_, failure); });
    }
    if (QString why = sectionReport_->start(path); !why.isEmpty()) {
        return why;
    }
    sectionReportPath_ = path;
    const int count = static_cast<int>(model_->girderCount());
    progress_->setRange(0, count);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("Отчёт: %v из %m опор"));
    // Wide enough for its words on one line whatever the count.
    const QFontMetrics metrics = progress_->fontMetrics();
    progress_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Отчёт: %1 из %1 опор").arg(count)) +
                               3 * metrics.height());
    progress_->show();
    cancel_->show();
    report_->setEnabled(false);
    return {};
}

bool TableResultsWindow::writingSectionReport() const { return sectionReport_ != nullptr && sectionReport_->writing(); }

void TableResultsWindow::cancelSectionReport()
{
    if (writingSectionReport()) {
        sectionReport_->cancel();
        sectionReportEnded({}, {});
    }
}

void TableResultsWindow::sectionReportEnded(const QString& path, const QString& failure)
{
    progress_->hide();
    cancel_->hide();
    report_->setEnabled(true);
    if (path.isEmpty()) {
        return; // cancelled
    }
    if (!failure.isEmpty()) {
        present_(this,
                 QStringLiteral("Отчет по участку не записан в «%1»: %2. Файл, который там был, не изменился.")
                     .arg(QDir::toNativeSeparators(path), failure),
                 MessageIcon::Error);
        return;
    }
    offerReport(this, path, QStringLiteral("Отчет по участку записан в"), askToOpen_, open_, present_);
}

void TableResultsWindow::askAndReport()
{
    // "<table>-отчет.pdf" beside the table.
    const QFileInfo table(path_);
    QFileDialog dialog(this, QStringLiteral("Отчёт по участку"), table.absolutePath(),
                       QStringLiteral("Документы PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(table.completeBaseName() + QStringLiteral("-отчет.pdf"));
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    if (const QString why = startSectionReport(path); !why.isEmpty()) {
        present_(this,
                 QStringLiteral("Отчет по участку не записан в «%1»: %2.").arg(QDir::toNativeSeparators(path), why),
                 MessageIcon::Error);
    }
}

void TableResultsWindow::filterByYear()
{
    if (model_ != nullptr && finished()) {
        model_->showReplacedBy(replacedBy_->isChecked() ? std::optional<int>(replacedYear_->value()) : std::nullopt);
    }
}

std::vector<std::vector<std::string>> TableResultsWindow::planRecords() const
{
    return plan_ ? plan_->records(separator_) : std::vector<std::vector<std::string>>();
}

void TableResultsWindow::showPlan()
{
    if (!plan_) {
        return;
    }
    planModel_ = new PlanTableModel(planRecords(), this);
    planView_ = new QTableView(this);
    planView_->setModel(planModel_);
    planView_->setAccessibleName(QStringLiteral("План замены опор участка"));
    planView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    planView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    planView_->setWordWrap(false);
    planView_->verticalHeader()->hide();
    planView_->resizeColumnsToContents();
    tabs_->addTab(planView_, QStringLiteral("План замены"));
    connect(planView_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { openPlanGirder(index.row()); });
}

void TableResultsWindow::openRow(int row)
{
    if (model_ == nullptr || !run_ || row < 0 || row >= model_->rowCount()) {
        return;
    }
    std::vector<std::string> input;
    model_->inputRow(model_->girderAt(row), input);
    // A row with measurements opens with its sections as measured and its
    // history, as the check judged it; a point table's numbers in the
    // window's comma form.
    const TableLife::Girder girder = life_->girder(input);
    openGirder_(girder.form, identityFromRow(header_, input), girder.history);
}

void TableResultsWindow::openPlanGirder(int row)
{
    if (planModel_ == nullptr || model_ == nullptr || !life_ || row < 0 || row >= planModel_->rowCount()) {
        return;
    }
    const std::string_view section = planModel_->cell(row, kSectionColumn);
    const std::string_view support = planModel_->cell(row, kSupportColumn);
    // The girder's rows, in the table's order: a few among many.
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> input;
    for (std::size_t girder = 0; girder < model_->girderCount(); ++girder) {
        model_->inputRow(girder, input);
        if (life_->ofGirder(input, section, support)) {
            rows.push_back(input);
        }
    }
    if (const std::optional<TableLife::Girder> girder = life_->girderOfRows(rows)) {
        openGirder_(girder->form, identityFromRow(header_, rows.at(girder->row)), girder->history);
        return;
    }
    // Every row of the girder had a fault in its cells: nothing to open.
    present_(this,
             QStringLiteral("Опора «%1» не открыта: в ее строках таблицы ошибки, они не учтены в плане. Причина — "
                            "в столбце «Сообщение» на вкладке «Опоры».")
                 .arg(QString::fromUtf8(support.data(), static_cast<qsizetype>(support.size()))),
             MessageIcon::None);
}

} // namespace prochnar
