#pragma once

#include "calc/decimal.h"
#include "calc/table_run.h"

#include <QAbstractTableModel>
#include <QColor>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// The girders of a checked table as the results window shows them, one a
// row: the table's own columns, the smallest margin, the four verdicts and
// the message. A million girders must fit in a few times the table's size,
// so a girder keeps only its input row (which the wizard opens and a save
// checks again), its verdicts' words and its message, packed one after
// another in a shared arena, plus a few numbers; the texts shown are made
// when the view asks for them. Rows are sorted through a list of girders:
// by the margin as a number with the girders not checked first, by the year
// of replacement as a number with the girders without one last, or by the
// text of any other column. A table with inspections also keeps each girder's
// life columns; a filter shows only the girders to replace by a year.
class TableResultsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // header: the table's header record; ownColumns: the positions in it of
    // the engineer's own columns, shown first; lifeCells: where the life
    // columns (kLifeColumns, in their order) are in a checked row's cells,
    // shown after the message; empty for a table without inspections.
    TableResultsModel(const std::vector<std::string>& header, std::vector<std::size_t> ownColumns,
                      std::vector<std::size_t> lifeCells = {}, QObject* parent = nullptr);
    ~TableResultsModel() override;
    TableResultsModel(const TableResultsModel&) = delete;
    TableResultsModel& operator=(const TableResultsModel&) = delete;
    TableResultsModel(TableResultsModel&&) = delete;
    TableResultsModel& operator=(TableResultsModel&&) = delete;

    // Keeps a girder read and checked; it is shown at the end once
    // showAdded() is called, so that a slice of rows reaches the view at once.
    void add(const std::vector<std::string>& row, const CheckedGirder& girder);
    void showAdded();
    // The separator the margins are shown with, the table's.
    void setDecimalSeparator(DecimalSeparator separator) { separator_ = separator; }

    [[nodiscard]] std::size_t girderCount() const { return girders_.size(); }
    // The girder (in the order read) shown at a row of the view.
    [[nodiscard]] std::size_t girderAt(int row) const { return order_.at(static_cast<std::size_t>(row)); }
    // The input row of a girder, in the order read.
    void inputRow(std::size_t girder, std::vector<std::string>& row) const;
    [[nodiscard]] int marginColumn() const { return static_cast<int>(ownNames_.size()); }
    [[nodiscard]] int messageColumn() const { return marginColumn() + 1 + static_cast<int>(kVerdictRows); }
    // "Год замены", or -1 for a table without inspections.
    [[nodiscard]] int yearColumn() const
    {
        return lifeCells_.empty() ? -1 : messageColumn() + static_cast<int>(lifeCells_.size());
    }
    // Shows only the girders whose year of replacement is at most `year`
    // (none: all of them), in the order last sorted. Meant for a table read
    // to its end: girders added later are not shown until it is turned off.
    void showReplacedBy(std::optional<int> year);
    // The girders, in the order read, as the margin's column sorts them
    // ascending: the worst first.
    [[nodiscard]] std::vector<std::uint32_t> girdersByMargin() const;
    // What a girder came to, its least margin as the column shows it and in
    // the column's colour, and the message of its check.
    [[nodiscard]] GirderStatus status(std::size_t girder) const
    {
        return static_cast<GirderStatus>(girders_.at(girder).status);
    }
    [[nodiscard]] QString marginShown(std::size_t girder) const { return marginShown(girders_.at(girder)); }
    [[nodiscard]] QColor marginColour(std::size_t girder) const { return marginColour(girders_.at(girder)); }
    [[nodiscard]] std::string_view message(std::size_t girder) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stable, as a click on a header sorts: rows whose keys are equal keep
    // their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Girder {
        const char* cells;   // packed: the input row, then the verdicts' words and the message
        std::int32_t margin; // the least margin in tenths, when it has one
        std::uint8_t status; // a GirderStatus
        std::uint8_t hasMargin;
        std::uint8_t judged;   // a bit for each verdict row that has a verdict
        std::uint8_t holding;  // a bit for each verdict that holds
        std::uint8_t checking; // a bit for each verdict that asks to check
        std::int16_t year;     // of replacement; 0 for none
    };

    // Girders not checked first, then those that do not hold, those to check
    // and those that hold, each by its least margin.
    [[nodiscard]] static bool marginLess(const Girder& one, const Girder& other);
    [[nodiscard]] QString marginShown(const Girder& girder) const;
    [[nodiscard]] static QColor marginColour(const Girder& girder);
    // The text shown in a column for a girder, as it is sorted.
    [[nodiscard]] std::string_view cellText(const Girder& girder, int column) const;
    [[nodiscard]] bool less(const Girder& one, const Girder& other, int column) const;
    [[nodiscard]] const char* pack(const std::vector<std::string>& row, const CheckedGirder& girder);

    std::vector<QString> ownNames_;
    std::vector<std::size_t> ownColumns_;
    std::vector<std::size_t> lifeCells_;
    int sortColumn_ = -1; // -1: the order read
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::optional<int> replacedBy_;
    std::vector<Girder> girders_;
    std::vector<std::uint32_t> order_; // the girders in the order shown
    std::size_t shown_ = 0;            // rows the view knows of
    // The arena: blocks the packed records are written into one after another.
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockFree_ = 0;
    char* blockEnd_ = nullptr;
    DecimalSeparator separator_ = DecimalSeparator::Comma;
};

} // namespace prochnar
