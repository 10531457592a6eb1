#include "ui/main/plan_table_model.h"

#include "ui/main/utf8_text.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace prochnar {

PlanTableModel::PlanTableModel(std::vector<std::vector<std::string>> records, QObject* parent)
    : QAbstractTableModel(parent)
{
    if (records.empty()) {
        return;
    }
    header_ = std::move(records.front());
    cells_.reserve(header_.size() * (records.size() - 1));
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        record->resize(header_.size());
        std::move(record->begin(), record->end(), std::back_inserter(cells_));
    }
}

int PlanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || header_.empty() ? 0 : static_cast<int>(cells_.size() / header_.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    return fromUtf8(
        cells_[static_cast<std::size_t>(index.row()) * header_.size() + static_cast<std::size_t>(index.column())]);
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return fromUtf8(header_[static_cast<std::size_t>(section)]);
}

std::string_view PlanTableModel::cell(int row, std::string_view column) const
{
    const auto at = std::find(header_.begin(), header_.end(), column);
    if (at == header_.end() || row < 0 || row >= rowCount()) {
        return {};
    }
    return cells_[static_cast<std::size_t>(row) * header_.size() + static_cast<std::size_t>(at - header_.begin())];
}

} // namespace prochnar
