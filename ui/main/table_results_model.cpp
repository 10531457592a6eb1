#include "ui/main/table_results_model.h"

#include "ui/main/utf8_text.h"
#include "ui/main/verdict_colours.h"

#include "calc/convert.h"
#include "formats/table_life.h"

#include <QColor>

#include <algorithm>
#include <charconv>
#include <climits>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace prochnar {

namespace {

// Where a girder comes in the order of margins: not checked, not holding,
// to check, holding.
int statusRank(std::uint8_t status)
{
    switch (static_cast<GirderStatus>(status)) {
    case GirderStatus::NotComputed:
        return 0;
    case GirderStatus::DoesNotHold:
        return 1;
    case GirderStatus::Check:
        return 2;
    case GirderStatus::Holds:
        break;
    }
    return 3;
}

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
constexpr int kVerdictCount = static_cast<int>(kVerdictRows);

// A packed record: the number of input cells, then each cell (the input
// row's, then the four verdicts' words and the message) as its length and
// its bytes; a number takes seven bits a byte, the last byte without the top
// bit, so that most lengths take one byte.
void appendNumber(std::string& to, std::size_t number)
{
    for (; number >= 0x80; number >>= 7) {
        to += static_cast<char>((number & 0x7F) | 0x80);
    }
    to += static_cast<char>(number);
}

std::size_t readNumber(const char*& at)
{
    std::size_t number = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        number |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            return number;
        }
    }
}

std::size_t inputCount(const char* cells) { return readNumber(cells); }

std::string_view packedCell(const char* cells, std::size_t at)
{
    readNumber(cells);
    for (std::size_t skipped = 0; skipped < at; ++skipped) {
        cells += readNumber(cells);
    }
    const std::size_t length = readNumber(cells);
    return {cells, length};
}

} // namespace

TableResultsModel::TableResultsModel(const std::vector<std::string>& header, std::vector<std::size_t> ownColumns,
                                     std::vector<std::size_t> lifeCells, QObject* parent)
    : QAbstractTableModel(parent), ownColumns_(std::move(ownColumns)), lifeCells_(std::move(lifeCells))
{
    for (const std::size_t column : ownColumns_) {
        ownNames_.push_back(fromUtf8(header.at(column)));
    }
}

TableResultsModel::~TableResultsModel() = default;

const char* TableResultsModel::pack(const std::vector<std::string>& row, const CheckedGirder& girder)
{
    std::string record;
    appendNumber(record, row.size());
    const auto append = [&record](std::string_view cell) {
        appendNumber(record, cell.size());
        record += cell;
    };
    for (const std::string& cell : row) {
        append(cell);
    }
    for (const auto& verdict : girder.verdicts) {
        append(verdict ? std::string_view(verdict->text) : std::string_view());
    }
    append(girder.message);
    for (const std::size_t at : lifeCells_) {
        append(at < girder.cells.size() ? std::string_view(girder.cells[at]) : std::string_view());
    }
    if (record.size() > blockFree_) {
        const std::size_t size = std::max(kBlockSize, record.size());
        blocks_.push_back(std::make_unique<char[]>(size));
        blockEnd_ = blocks_.back().get();
        blockFree_ = size;
    }
    char* const at = blockEnd_;
    std::copy(record.begin(), record.end(), at);
    blockEnd_ += record.size();
    blockFree_ -= record.size();
    return at;
}

void TableResultsModel::add(const std::vector<std::string>& row, const CheckedGirder& girder)
{
    if (girders_.size() >= std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("too many girders");
    }
    Girder kept{.cells = pack(row, girder),
                .margin = girder.leastMargin.value_or(0),
                .status = static_cast<std::uint8_t>(girder.status),
                .hasMargin = static_cast<std::uint8_t>(girder.leastMargin.has_value()),
                .judged = 0,
                .holding = 0,
                .checking = 0,
                .year = 0};
    if (const int column = yearColumn(); column >= 0) {
        const std::string& text = girder.cells.at(lifeCells_.back());
        int year = 0;
        if (std::from_chars(text.data(), text.data() + text.size(), year).ec == std::errc() && year > 0 &&
            year <= std::numeric_limits<std::int16_t>::max()) {
            kept.year = static_cast<std::int16_t>(year);
        }
    }
    for (std::size_t at = 0; at < kVerdictRows; ++at) {
        if (const auto& verdict = girder.verdicts.at(at)) {
            const auto bit = static_cast<std::uint8_t>(1U << at);
            kept.judged |= bit;
            kept.holding |= verdict->kind == VerdictKind::Holds ? bit : 0U;
            kept.checking |= verdict->kind == VerdictKind::Check ? bit : 0U;
        }
    }
    girders_.push_back(kept);
    order_.push_back(static_cast<std::uint32_t>(girders_.size() - 1));
}

void TableResultsModel::showAdded()
{
    if (shown_ == order_.size() || replacedBy_) {
        return;
    }
    beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(order_.size() - 1));
    shown_ = order_.size();
    endInsertRows();
}

void TableResultsModel::inputRow(std::size_t girder, std::vector<std::string>& row) const
{
    const char* at = girders_.at(girder).cells;
    row.resize(readNumber(at));
    for (std::string& cell : row) {
        const std::size_t length = readNumber(at);
        cell.assign(at, length);
        at += length;
    }
}

int TableResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_);
}

int TableResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : messageColumn() + 1 + static_cast<int>(lifeCells_.size());
}

std::string_view TableResultsModel::cellText(const Girder& girder, int column) const
{
    const std::size_t inputs = inputCount(girder.cells);
    if (column < marginColumn()) {
        const std::size_t at = ownColumns_.at(static_cast<std::size_t>(column));
        return at < inputs ? packedCell(girder.cells, at) : std::string_view();
    }
    // After the margin, which is kept as a number: the verdicts, the message
    // and the life columns.
    return packedCell(girder.cells, inputs + static_cast<std::size_t>(column - marginColumn() - 1));
}

bool TableResultsModel::marginLess(const Girder& one, const Girder& other)
{
    const int rank = statusRank(one.status);
    const int otherRank = statusRank(other.status);
    if (rank != otherRank) {
        return rank < otherRank;
    }
    return rank != 0 && (one.hasMargin != other.hasMargin ? one.hasMargin == 0 : one.margin < other.margin);
}

QString TableResultsModel::marginShown(const Girder& girder) const
{
    if (girder.status == static_cast<std::uint8_t>(GirderStatus::NotComputed)) {
        return QStringLiteral("не проверена");
    }
    return girder.hasMargin != 0 ? fromUtf8(withSeparator(marginText(girder.margin), separator_))
                                 : QStringLiteral("проверьте");
}

QColor TableResultsModel::marginColour(const Girder& girder)
{
    return qColour(marginBackgroundRgb(static_cast<GirderStatus>(girder.status)));
}

std::vector<std::uint32_t> TableResultsModel::girdersByMargin() const
{
    std::vector<std::uint32_t> order(girders_.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t left, std::uint32_t right) {
        return marginLess(girders_[left], girders_[right]);
    });
    return order;
}

std::string_view TableResultsModel::message(std::size_t girder) const
{
    return cellText(girders_.at(girder), messageColumn());
}

QVariant TableResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const Girder& girder = girders_[order_[static_cast<std::size_t>(index.row())]];
    const int column = index.column();
    if (column == marginColumn()) {
        switch (role) {
        case Qt::DisplayRole:
            return marginShown(girder);
        case Qt::BackgroundRole:
            return marginColour(girder);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        default:
            return {};
        }
    }
    if (role == Qt::DisplayRole) {
        return fromUtf8(cellText(girder, column));
    }
    const int verdict = column - marginColumn() - 1;
    if (role == Qt::BackgroundRole && verdict >= 0 && verdict < kVerdictCount && (girder.judged >> verdict & 1U) != 0) {
        const auto bit = 1U << static_cast<unsigned>(verdict);
        return verdictBackground((girder.holding & bit) != 0    ? VerdictKind::Holds
                                 : (girder.checking & bit) != 0 ? VerdictKind::Check
                                                                : VerdictKind::Fails);
    }
    return {};
}

QVariant TableResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section < marginColumn()) {
        return ownNames_.at(static_cast<std::size_t>(section));
    }
    if (section == marginColumn()) {
        return fromUtf8(kMarginColumn);
    }
    const int verdict = section - marginColumn() - 1;
    if (section > messageColumn()) {
        return fromUtf8(kLifeColumns.at(static_cast<std::size_t>(section - messageColumn() - 1)));
    }
    return fromUtf8(verdict < kVerdictCount ? kStep3Rows.at(static_cast<std::size_t>(verdict)).name : kMessageColumn);
}

Qt::ItemFlags TableResultsModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool TableResultsModel::less(const Girder& one, const Girder& other, int column) const
{
    if (column == marginColumn()) {
        return marginLess(one, other);
    }
    if (column == yearColumn()) {
        const auto key = [](const Girder& girder) { return girder.year > 0 ? int{girder.year} : INT_MAX; };
        return key(one) < key(other);
    }
    return cellText(one, column) < cellText(other, column);
}

void TableResultsModel::showReplacedBy(std::optional<int> year)
{
    beginResetModel();
    replacedBy_ = year;
    std::iota(order_.begin(), order_.end(), 0U);
    if (sortColumn_ >= 0) {
        const auto less = [this](std::uint32_t left, std::uint32_t right) {
            return sortOrder_ == Qt::AscendingOrder ? this->less(girders_[left], girders_[right], sortColumn_)
                                                    : this->less(girders_[right], girders_[left], sortColumn_);
        };
        std::stable_sort(order_.begin(), order_.end(), less);
    }
    const auto shown =
        !year ? order_.end() : std::stable_partition(order_.begin(), order_.end(), [this, year](std::uint32_t girder) {
            return girders_[girder].year > 0 && girders_[girder].year <= *year;
        });
    shown_ = static_cast<std::size_t>(shown - order_.begin());
    endResetModel();
}

void TableResultsModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount()) {
        return;
    }
    sortColumn_ = column;
    sortOrder_ = order;
    const auto less = [this, column](std::uint32_t left, std::uint32_t right) {
        return this->less(girders_[left], girders_[right], column);
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> girdersBefore;
    girdersBefore.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        girdersBefore.push_back(order_.at(static_cast<std::size_t>(index.row())));
    }
    const auto shown = order_.begin() + static_cast<std::ptrdiff_t>(shown_);
    if (order == Qt::AscendingOrder) {
        std::stable_sort(order_.begin(), shown, less);
    } else {
        std::stable_sort(order_.begin(), shown,
                         [&less](std::uint32_t left, std::uint32_t right) { return less(right, left); });
    }
    if (!before.isEmpty()) {
        std::vector<int> rowOf(girders_.size(), -1);
        for (std::size_t row = 0; row < shown_; ++row) {
            rowOf[order_[row]] = static_cast<int>(row);
        }
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype at = 0; at < before.size(); ++at) {
            after.push_back(index(rowOf[girdersBefore[static_cast<std::size_t>(at)]], before[at].column()));
        }
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace prochnar
