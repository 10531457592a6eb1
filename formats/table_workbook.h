#pragma once

#include "formats/safe_output.h"
#include "formats/table_check.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace prochnar {

// Whether an output's name asks for a workbook: it ends in ".xlsx", in any case.
[[nodiscard]] bool isWorkbookName(std::string_view name);

// A cell's text as a number, when it is one as the table writes numbers:
// "-"? digits, then the decimal sign (a comma; a point for a table written
// with points) and digits or not, nothing else, no leading zero,
// at most 15 digits (what a double keeps), never a negative zero. The value
// and the count of digits after the comma, so that the cell shows them all.
struct CellNumber {
    double value = 0;
    int decimals = 0;
};
[[nodiscard]] std::optional<CellNumber> cellNumber(std::string_view text, char decimal = ',');

// A checked table as an Excel workbook, written with libxlsxwriter and row by
// row (its constant-memory mode: a row goes to a temporary file once the next
// begins, so memory does not grow with the table). The first sheet holds
// the checked table with the same columns and cells as the CSV: numbers as
// numbers, every other cell as text, empty cells empty; the header row bold,
// frozen and with an autofilter; the four verdicts and the least margin on
// their colours as the results window paints them. The column widths are
// fitted to every cell written, set when the workbook closes (the library
// writes the widths before the rows only then). A second sheet "План замены"
// holds the replacement plan when there is one; the summary ends the first
// sheet after an empty row. Written to a new file beside the target and put
// in its place only when whole, as SafeOutput does.
class TableWorkbook final : public CheckedTableSink {
public:
    // Throws OutputError when the new file cannot be made.
    explicit TableWorkbook(const std::filesystem::path& target);
    ~TableWorkbook() override;
    TableWorkbook(const TableWorkbook&) = delete;
    TableWorkbook& operator=(const TableWorkbook&) = delete;
    TableWorkbook(TableWorkbook&&) = delete;
    TableWorkbook& operator=(TableWorkbook&&) = delete;

    // The decimal separator of the cells' numbers, before the first is
    // written: the comma unless set.
    void setSeparator(DecimalSeparator separator) { decimal_ = separator == DecimalSeparator::Point ? '.' : ','; }
    void header(const std::vector<std::string>& columns) override;
    void add(const CheckedGirder& girder) override;
    // The plan's records, the header first, on a sheet of their own.
    void addPlan(const std::vector<std::vector<std::string>>& records);
    // Ends the first sheet with the summary, closes the workbook and puts it
    // in the target's place; throws OutputError (and leaves the target as it
    // was) when a cell could not be written or the file not made.
    void commit(std::string_view summary);

private:
    // A sheet being written: its next row and each column's widest text.
    struct Sheet {
        lxw_worksheet* sheet = nullptr;
        std::uint32_t rows = 0;
        std::vector<std::size_t> widths = {};
    };
    [[nodiscard]] Sheet addSheet(const char* name);
    void writeHeader(Sheet& sheet, const std::vector<std::string>& columns);
    // One cell: a number or text, on the background given (0xRRGGBB), if any.
    void writeCell(Sheet& sheet, std::uint16_t column, std::string_view text, std::optional<std::uint32_t> fill);
    // Freezes the header, puts the autofilter over the rows and sets the widths.
    void finishSheet(const Sheet& sheet, std::uint32_t lastRow, std::size_t columns);
    [[nodiscard]] lxw_format* format(std::optional<std::uint32_t> fill, int decimals);

    SafeOutput output_;
    std::string folder_; // the library's temporary files go beside the target
    lxw_workbook* book_ = nullptr;
    lxw_format* bold_ = nullptr;
    std::map<std::pair<std::int64_t, int>, lxw_format*> formats_; // by fill (-1: none) and decimals (-1: text)
    Sheet table_;
    std::size_t columns_ = 0;
    std::vector<int> coloured_; // a column's verdict row, kVerdictRows for the margin, -1 for none
    std::optional<Sheet> plan_;
    std::string fault_; // the first cell that could not be written
    char decimal_ = ',';
};

} // namespace prochnar
