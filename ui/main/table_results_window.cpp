#include "ui/main/table_results_window.h"

#include "ui/main/whole_file.h"

#include "calc/messages.h"
#include "formats/csv_table.h"
#include "formats/input_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>
#include <limits>
#include <string_view>

namespace prochnar {

namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kGirderRole = Qt::UserRole + 1;
constexpr int kSliceMs = 30;

// Sorts by its sort value where it has one: the margin as a number, a girder
// that was not checked below every margin.
class SortedItem final : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override
    {
        const QVariant mine = data(kSortRole);
        const QVariant theirs = other.data(kSortRole);
        if (mine.isValid() && theirs.isValid()) {
            return mine.toLongLong() < theirs.toLongLong();
        }
        return QTableWidgetItem::operator<(other);
    }
};

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString notReadText(const FileFaultAt& fault) { return fromUtf8(tableNotReadText(fault)); }

const QColor kHoldsColour(200, 235, 200);
const QColor kFailsColour(245, 195, 195);
const QColor kNotCheckedColour(240, 225, 170);

} // namespace

TableResultsWindow::TableResultsWindow(const QString& path, GirderOpener openGirder, QWidget* parent)
    : QWidget(parent, Qt::Window), openGirder_(std::move(openGirder)), summary_(new QLabel(this)),
      progress_(new QProgressBar(this)), save_(new QPushButton(QStringLiteral("Сохранить результаты…"), this)),
      table_(new QTableWidget(this)), timer_(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Прочнар — ") + QFileInfo(path).fileName());
    resize(1100, 700);
    auto* bar = new QHBoxLayout;
    bar->addWidget(summary_, 1);
    bar->addWidget(progress_);
    bar->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(table_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    save_->setEnabled(false);
    summary_->setText(QStringLiteral("Проверяются опоры…"));
    connect(save_, &QPushButton::clicked, this, &TableResultsWindow::askAndSave);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int /*column*/) { openRow(row); });
    connect(timer_, &QTimer::timeout, this, &TableResultsWindow::checkSlice);

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

TableResultsWindow::~TableResultsWindow() = default;

void TableResultsWindow::checkSlice()
{
    QElapsedTimer slice;
    slice.start();
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
            delimiter_ = reader_->delimiter();
            for (std::size_t column = 0; column < record.size(); ++column) {
                if (isOwnColumn(record[column])) {
                    ownColumns_.push_back(column);
                }
            }
            QStringList headers;
            for (const std::size_t column : ownColumns_) {
                headers << fromUtf8(record[column]);
            }
            headers << fromUtf8(kMarginColumn);
            for (const auto& row : kStep3Rows) {
                headers << fromUtf8(row.name);
            }
            headers << fromUtf8(kMessageColumn);
            table_->setColumnCount(static_cast<int>(headers.size()));
            table_->setHorizontalHeaderLabels(headers);
        }
        table_->setSortingEnabled(false);
        while (slice.elapsed() < kSliceMs) {
            if (!reader_->next(record)) {
                finish({});
                return;
            }
            const CheckedGirder girder = run_->check(record);
            rows_.push_back(std::move(record));
            addGirder(girder, rows_.size() - 1);
            checked_.push_back(girder.cells);
        }
    } catch (const CsvError& error) {
        finish(notReadText(error.at()));
        return;
    }
    if (fileSize_ > 0) {
        progress_->setValue(
            static_cast<int>(1000.0 * static_cast<double>(reader_->bytesRead()) / static_cast<double>(fileSize_)));
    }
    summary_->setText(QStringLiteral("Проверено опор: %1…").arg(rows_.size()));
}

void TableResultsWindow::addGirder(const CheckedGirder& girder, std::size_t index)
{
    const int row = table_->rowCount();
    table_->insertRow(row);
    const std::vector<std::string>& input = rows_.back();
    int column = 0;
    for (const std::size_t own : ownColumns_) {
        auto* item = new SortedItem(own < input.size() ? fromUtf8(input[own]) : QString());
        item->setData(kGirderRole, static_cast<qulonglong>(index));
        table_->setItem(row, column++, item);
    }
    const bool checked = girder.message.empty() && girder.leastMargin.has_value();
    auto* margin = new SortedItem(checked ? fromUtf8(marginText(*girder.leastMargin)) : QStringLiteral("не проверена"));
    margin->setData(kSortRole,
                    checked ? static_cast<qlonglong>(*girder.leastMargin) : std::numeric_limits<qlonglong>::min());
    margin->setData(kGirderRole, static_cast<qulonglong>(index));
    margin->setBackground(!checked ? kNotCheckedColour : *girder.leastMargin < 0 ? kFailsColour : kHoldsColour);
    margin->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->setItem(row, column++, margin);
    for (const auto& verdict : girder.verdicts) {
        auto* item = new SortedItem(verdict ? fromUtf8(verdict->text) : QString());
        item->setData(kGirderRole, static_cast<qulonglong>(index));
        if (verdict) {
            item->setBackground(verdict->holds ? kHoldsColour : kFailsColour);
        }
        table_->setItem(row, column++, item);
    }
    auto* message = new SortedItem(fromUtf8(girder.message));
    message->setData(kGirderRole, static_cast<qulonglong>(index));
    table_->setItem(row, column, message);
    totals_.add(girder);
}

void TableResultsWindow::finish(const QString& fault)
{
    timer_->stop();
    reader_.reset();
    progress_->hide();
    const auto marginColumn = static_cast<int>(ownColumns_.size());
    table_->setSortingEnabled(true);
    table_->sortByColumn(marginColumn, Qt::AscendingOrder);
    table_->resizeColumnsToContents();
    save_->setEnabled(run_.has_value());
    QString summary = fromUtf8(tableSummaryText(totals_.rows, totals_.holding, totals_.notHolding));
    if (!fault.isEmpty()) {
        summary += QLatin1Char(' ') + fault;
    }
    summary_->setText(summary);
}

QString TableResultsWindow::saveTo(const QString& path) const
{
    if (!run_) {
        return QStringLiteral("таблица не прочитана");
    }
    std::string out = checkedTableHeader(*run_, delimiter_);
    for (const auto& cells : checked_) {
        appendCsvRecord(out, cells, delimiter_);
    }
    return writeWholeFile(path, QByteArray::fromStdString(out));
}

void TableResultsWindow::askAndSave()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить результаты"), QString(),
                                                      QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    if (const QString why = saveTo(path); !why.isEmpty()) {
        present_(this,
                 QStringLiteral("Результаты не сохранены в «%1»: %2. Файл, который там был, не изменился.")
                     .arg(QDir::toNativeSeparators(path), why),
                 MessageIcon::Error);
    }
}

void TableResultsWindow::openRow(int row)
{
    const QTableWidgetItem* item = table_->item(row, 0);
    if (item == nullptr || !run_) {
        return;
    }
    const auto index = static_cast<std::size_t>(item->data(kGirderRole).toULongLong());
    openGirder_(run_->girderForm(rows_.at(index)));
}

} // namespace prochnar
