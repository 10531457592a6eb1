#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// The replacement plan of a line section as prochnar-calc --plan writes it,
// shown read-only a girder a row in the plan's order. Its cells are kept as
// the plan's UTF-8 texts, a line section of tens of thousands of girders in
// a few megabytes; they become texts of the window only when shown.
class PlanTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The plan's records (LinePlan::records()): its header, then its rows.
    explicit PlanTableModel(std::vector<std::vector<std::string>> records, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    // The cell of the girder's row in the column of that name; "" when the
    // plan has no such column.
    [[nodiscard]] std::string_view cell(int row, std::string_view column) const;

private:
    std::vector<std::string> header_;
    std::vector<std::string> cells_; // row after row
};

} // namespace prochnar
