#include "ui/main/section_report.h"

#include "ui/main/report.h"
#include "ui/main/table_results_model.h"
#include "ui/main/utf8_text.h"

#include "calc/conclusion.h"
#include "calc/messages.h"
#include "formats/calculation_file.h"
#include "formats/girder_identity.h"
#include "prochnar/version.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextOption>
#include <QTimer>

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>
#include <utility>

namespace prochnar {

namespace {

constexpr int kSliceMs = 30;
// A cell's text is cut at this many characters, so that a line of the
// summary always fits on a page.
constexpr qsizetype kCellChars = 300;

// A text from the table as a cell shows it: control characters escaped,
// blanks and line breaks as one blank, cut when too long.
QString cellText(std::string_view text)
{
    QString shown = fromUtf8(visibleText(text)).simplified();
    if (shown.size() > kCellChars) {
        shown = shown.left(kCellChars - 1) + QChar(0x2026);
    }
    return shown;
}

QFont font(int points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"), points);
    font.setBold(bold);
    return font;
}

// Paints the text wrapped in the width from the height y, and gives the
// height it took.
qreal paragraph(QPainter& painter, qreal y, qreal width, const QString& text)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QRectF room(0, y, width, 1e7);
    const qreal height = painter.boundingRect(room, text, option).height();
    painter.drawText(room, text, option);
    return height;
}

// "опора 20-21, км 105,4": the girder as a page's foot names it.
QString girderName(const GirderIdentity& identity)
{
    QStringList parts;
    for (const auto& [name, text] : std::array<std::pair<const char*, const std::string*>, 3>{{
             {"участок", &identity.section},
             {"опора", &identity.support},
             {"км", &identity.km},
         }}) {
        if (!text->empty()) {
            parts << QString::fromUtf8(name) + QLatin1Char(' ') + cellText(*text);
        }
    }
    return parts.join(QStringLiteral(", "));
}

// The table of the summary on a page: a column for the girder's place in
// the table, its identity (the section only when the table has one), its
// conclusion and its least margin, the last two in the colour of the margin;
// each line as high as its cell of most lines.
class SummaryTable {
public:
    SummaryTable(QPainter& painter, qreal width, bool withSection) : SummaryTable(painter, width)
    {
        const auto add = [this](const QString& title, qreal share) {
            titles_.push_back(title);
            shares_.push_back(share);
        };
        add(QStringLiteral("№"), 0.06);
        if (withSection) {
            add(fromUtf8(kSectionColumn), 0.16);
        }
        add(fromUtf8(kSupportColumn), 0.11);
        add(fromUtf8(kKmColumn), 0.09);
        add(QStringLiteral("Вывод"), withSection ? 0.43 : 0.59);
        add(fromUtf8(kMarginColumn), 0.15);
    }

    // The plan's table: its columns with their shares of the width, none
    // coloured, every cell aligned left.
    SummaryTable(QPainter& painter, qreal width, std::vector<QString> titles, std::vector<qreal> shares)
        : SummaryTable(painter, width)
    {
        titles_ = std::move(titles);
        shares_ = std::move(shares);
        coloured_ = 0;
        rightLast_ = false;
    }

    // Paints the titles of the columns from the height y; gives their height.
    qreal heading(qreal y, int points = 9)
    {
        painter_.setFont(font(points, true));
        const qreal height = heightOf(titles_);
        painter_.setBrush(QColor(232, 232, 232));
        painter_.setPen(Qt::NoPen);
        painter_.drawRect(QRectF(0, y, width_, height));
        line(y, titles_, height, {});
        return height;
    }

    [[nodiscard]] qreal heightOf(const std::vector<QString>& cells) const
    {
        qreal height = 0;
        for (std::size_t at = 0; at < cells.size(); ++at) {
            const QRectF room(0, 0, shares_.at(at) * width_ - 2 * pad_, 1e7);
            height = std::max(height, painter_.boundingRect(room, cells[at], wrap_).height());
        }
        return height + 2 * pad_;
    }

    void line(qreal y, const std::vector<QString>& cells, qreal height, const QColor& colour)
    {
        qreal x = 0;
        for (std::size_t at = 0; at < cells.size(); ++at) {
            const QRectF cell(x, y, shares_.at(at) * width_, height);
            const bool coloured = colour.isValid() && at + coloured_ >= cells.size();
            painter_.setPen(QColor(128, 128, 128));
            painter_.setBrush(coloured ? QBrush(colour) : Qt::NoBrush);
            painter_.drawRect(cell);
            painter_.setPen(Qt::black);
            QTextOption option = wrap_;
            option.setAlignment(rightLast_ && at + 1 == cells.size() ? Qt::AlignRight : Qt::AlignLeft); // the margin
            painter_.drawText(cell.adjusted(pad_, pad_, -pad_, -pad_), cells[at], option);
            x += cell.width();
        }
    }

private:
    SummaryTable(QPainter& painter, qreal width)
        : painter_{painter}, width_{width}, pad_{painter.fontMetrics().height() / 5.0}
    {
        wrap_.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    }

    QPainter& painter_;
    qreal width_;
    qreal pad_;
    std::vector<QString> titles_;
    std::vector<qreal> shares_;
    QTextOption wrap_;
    std::size_t coloured_ = 2; // the conclusion and the margin
    bool rightLast_ = true;    // the margin, a number
};

} // namespace

// Hands the PDF's bytes on to the file whole, or keeps why it could not. The
// PDF engine's stream stops writing after a write the disk cut short and
// tells nobody, so the file itself would never see a failure.
class WholeWrites final : public QIODevice {
public:
    explicit WholeWrites(QSaveFile& file) : file_{file} { open(QIODevice::WriteOnly); }

    [[nodiscard]] bool isSequential() const override { return true; }
    [[nodiscard]] const QString& failure() const { return failure_; }

protected:
    qint64 readData(char* /*data*/, qint64 /*size*/) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        for (qint64 done = 0; done < size && failure_.isEmpty();) {
            // A write cut short is tried again for the rest, which gives the reason.
            const qint64 written = file_.write(data + done, size - done);
            if (written <= 0) {
                failure_ = written < 0 ? file_.errorString() : QStringLiteral("запись прервалась, диск полон?");
            }
            done += std::max<qint64>(written, 0);
        }
        return failure_.isEmpty() ? size : -1;
    }

private:
    QSaveFile& file_;
    QString failure_;
};

SectionReport::SectionReport(const QString& table, const TableResultsModel& model, const TableLife& life,
                             QString summary, std::vector<std::vector<std::string>> plan, QObject* parent)
    : QObject(parent), table_(table), model_(model), life_(life), plan_(std::move(plan)), summary_(std::move(summary)),
      timer_(new QTimer(this))
{
    const auto& header = life_.header();
    hasSection_ = std::find(header.begin(), header.end(), kSectionColumn) != header.end();
    connect(timer_, &QTimer::timeout, this, &SectionReport::slice);
}

SectionReport::~SectionReport() = default;

QString SectionReport::start(const QString& path)
{
    if (writing()) {
        return QStringLiteral("отчет уже записывается");
    }
    auto file = std::make_unique<QSaveFile>(path);
    // Unbuffered, so that a write the disk cuts short is seen.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file->errorString();
    }
    file_ = std::move(file);
    writes_ = std::make_unique<WholeWrites>(*file_);
    pdf_ = std::make_unique<QPdfWriter>(writes_.get());
    pdf_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    pdf_->setTitle(QStringLiteral("Отчет по участку: ") + QFileInfo(table_).fileName());
    pdf_->setCreator(QStringLiteral("Прочнар"));
    pages_ = std::make_unique<ReportPages>(*pdf_);
    made_ = QDateTime::currentDateTime();
    order_ = model_.girdersByMargin();
    summaryNext_ = 0;
    sectionNext_ = 0;
    methodDone_ = false;
    timer_->start(0);
    return {};
}

void SectionReport::cancel()
{
    if (!writing()) {
        return;
    }
    timer_->stop();
    pages_.reset();
    pdf_.reset();
    writes_.reset();
    file_->cancelWriting();
    file_.reset();
    order_ = {};
}

void SectionReport::close(const QString& failure)
{
    timer_->stop();
    pages_.reset(); // ends the PDF
    pdf_.reset();
    QString why = failure.isEmpty() ? writes_->failure() : failure;
    writes_.reset();
    if (why.isEmpty() && !file_->commit()) {
        why = file_->errorString();
    }
    file_.reset(); // one not committed is removed
    order_ = {};
    emit finished(why);
}

void SectionReport::slice()
{
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        const bool more = step();
        if (!writes_->failure().isEmpty()) {
            close(writes_->failure());
            return;
        }
        if (!more) {
            close({});
            return;
        }
    } while (elapsed.elapsed() < kSliceMs);
    emit progressed(static_cast<int>(sectionNext_));
}

bool SectionReport::step()
{
    if (planNext_ < plan_.size()) {
        planPage();
    } else if (summaryNext_ < order_.size() || pages_->pages() == 0) {
        summaryPage();
    } else if (sectionNext_ < order_.size()) {
        girderSection(order_[sectionNext_++]);
    } else if (!methodDone_) {
        pages_->addDocument(sharedMethodHtml(), QStringLiteral("Как получены числа"));
        methodDone_ = true;
    } else {
        return false;
    }
    return true;
}

std::vector<QString> SectionReport::summaryCells(std::size_t girder)
{
    model_.inputRow(girder, row_);
    const GirderIdentity identity = identityFromRow(life_.header(), row_);
    QString words;
    if (model_.status(girder) == GirderStatus::NotComputed) {
        words = QStringLiteral("Не проверена: ") + cellText(model_.message(girder));
    } else {
        // The conclusion of the girder's own report, which the table's
        // verdict agrees with: the same presses on the same row.
        const Calculation calculation = girderCalculation(life_, row_);
        words = fromUtf8(conclusionOf(calculation.form, measuredSections(calculation.history)).text);
        if (const QString lead = QStringLiteral("Вывод: "); words.startsWith(lead)) {
            words.remove(0, lead.size());
        }
        if (!words.isEmpty()) {
            words[0] = words[0].toUpper();
        }
    }
    std::vector<QString> cells{QString::number(girder + 1)};
    if (hasSection_) {
        cells.push_back(cellText(identity.section));
    }
    cells.push_back(cellText(identity.support));
    cells.push_back(cellText(identity.km));
    cells.push_back(words);
    cells.push_back(model_.marginShown(girder));
    return cells;
}

qreal SectionReport::summaryHead(QPainter& painter, qreal width) const
{
    qreal y = 0;
    painter.setFont(font(14, true));
    y += paragraph(painter, y, width, QStringLiteral("Отчет по участку"));
    painter.setFont(font(9));
    y += paragraph(painter, y, width,
                   QStringLiteral("Таблица опор: %1. Отчет программы Прочнар %2, составлен %3 в %4.")
                       .arg(QFileInfo(table_).fileName(),
                            QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())),
                            made_.toString(QStringLiteral("dd.MM.yyyy")), made_.toString(QStringLiteral("HH:mm"))));
    y += painter.fontMetrics().height() / 2.0;
    painter.setFont(font(9, true));
    y += paragraph(painter, y, width, summary_);
    painter.setFont(font(9));
    y += paragraph(painter, y, width,
                   QStringLiteral("Опоры — от наименьшего запаса: сначала не проверенные, затем те, что не держат, те, "
                                  "что нужно проверить, и те, что держат. Отчет каждой опоры — с новой страницы, в том "
                                  "же порядке; № — место опоры в таблице. В конце — как получены числа."));
    return y + painter.fontMetrics().height();
}

std::vector<qreal> SectionReport::planShares(QPainter& painter, qreal width) const
{
    // A cell's number or name never breaks (the reason of the replacement,
    // the last column, wraps beyond a seventh of the page); the titles'
    // words take what room is left, and break only when there is none.
    const std::size_t columns = plan_.front().size();
    const qreal pad = painter.fontMetrics().height() / 2.0;
    std::vector<qreal> cells(columns, 0);
    std::vector<qreal> titles(columns, 0);
    for (const auto& record : plan_) {
        const bool title = &record == &plan_.front();
        painter.setFont(font(8, title));
        const QFontMetricsF metrics(painter.font());
        for (std::size_t at = 0; at < std::min(record.size(), columns); ++at) {
            const QString text = cellText(record[at]);
            for (const QString& word : title ? text.split(QLatin1Char(' ')) : QStringList{text}) {
                qreal& need = (title ? titles : cells)[at];
                need = std::max(need, metrics.horizontalAdvance(word) + pad);
            }
        }
    }
    cells.back() = std::min(cells.back(), width / 7);
    std::vector<qreal> shares(columns);
    const qreal least = std::accumulate(cells.begin(), cells.end(), 0.0);
    qreal wanted = 0;
    for (std::size_t at = 0; at < columns; ++at) {
        wanted += std::max(titles[at], cells[at]) - cells[at];
    }
    const qreal spare = std::max(0.0, width - least);
    for (std::size_t at = 0; at < columns; ++at) {
        const qreal more = std::max(titles[at], cells[at]) - cells[at];
        shares[at] = cells[at] + (wanted > 0 ? std::min(more, spare * more / wanted) : 0);
    }
    const qreal total = std::accumulate(shares.begin(), shares.end(), 0.0);
    shares.back() += std::max(0.0, width - total); // what is left, to the reason
    const qreal sum = std::accumulate(shares.begin(), shares.end(), 0.0);
    for (qreal& share : shares) {
        share /= sum;
    }
    return shares;
}

void SectionReport::planPage()
{
    const bool first = pages_->pages() == 0;
    QPainter& painter = pages_->newPage(QStringLiteral("Отчет по участку: ") + QFileInfo(table_).fileName());
    const QSizeF body = pages_->body();
    qreal y = first ? summaryHead(painter, body.width()) : 0;
    if (first) {
        painter.setFont(font(11, true));
        y += paragraph(painter, y, body.width(), QStringLiteral("План замены"));
        painter.setFont(font(9));
        y += paragraph(painter, y, body.width(),
                       QStringLiteral("Опоры — по году замены: сначала те, где предел уже достигнут; строки одной "
                                      "опоры в таблице — ее осмотры, срок — по всем осмотрам."));
    }
    std::vector<QString> titles;
    for (const std::string& title : plan_.front()) {
        titles.push_back(cellText(title));
    }
    if (planShares_.empty()) {
        planShares_ = planShares(painter, body.width());
    }
    SummaryTable table(painter, body.width(), titles, planShares_);
    y += table.heading(y, 8);
    painter.setFont(font(8));
    for (bool any = false; planNext_ < plan_.size(); any = true) {
        std::vector<QString> cells;
        for (const std::string& cell : plan_[planNext_]) {
            cells.push_back(cellText(cell));
        }
        const qreal height = table.heightOf(cells);
        if (any && y + height > body.height()) {
            break;
        }
        table.line(y, cells, height, {});
        y += height;
        ++planNext_;
    }
}

void SectionReport::summaryPage()
{
    const bool first = pages_->pages() == 0;
    QPainter& painter = pages_->newPage(QStringLiteral("Отчет по участку: ") + QFileInfo(table_).fileName());
    const QSizeF body = pages_->body();
    qreal y = first ? summaryHead(painter, body.width()) : 0;
    SummaryTable table(painter, body.width(), hasSection_);
    y += table.heading(y);
    painter.setFont(font(9));
    for (bool any = false; summaryNext_ < order_.size(); any = true) {
        const std::size_t girder = order_[summaryNext_];
        const std::vector<QString> cells = summaryCells(girder);
        const qreal height = table.heightOf(cells);
        if (any && y + height > body.height()) {
            break;
        }
        table.line(y, cells, height, model_.marginColour(girder));
        y += height;
        ++summaryNext_;
    }
}

void SectionReport::girderSection(std::size_t girder)
{
    model_.inputRow(girder, row_);
    const Calculation calculation = girderCalculation(life_, row_);
    const QString html = reportHtml(calculation.form, {.file = {},
                                                       .made = made_,
                                                       .presses = calculation.presses,
                                                       .recomputed = {},
                                                       .identity = calculation.identity,
                                                       .method = ReportMethod::OwnNumbers,
                                                       .history = calculation.history});
    const QString name = girderName(calculation.identity);
    pages_->addDocument(html, QStringLiteral("%1, № %2%3")
                                  .arg(QFileInfo(table_).fileName())
                                  .arg(girder + 1)
                                  .arg(name.isEmpty() ? QString() : QStringLiteral(": ") + name));
}

} // namespace prochnar
