#include "formats/table_workbook.h"

#include "calc/messages.h"
#include "calc/verdict_colours.h"
#include "formats/text_encoding.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <string>

namespace prochnar {

namespace {

constexpr const char* kTableSheet = "Проверка опор";
constexpr const char* kPlanSheet = "План замены";
constexpr std::size_t kMaxDigits = 15;
// Column widths, in characters of the default font: room for a few digits,
// and no wider than a long verdict's start.
constexpr std::size_t kNarrowest = 8;
constexpr std::size_t kWidest = 60;
constexpr std::size_t kPadding = 2;
constexpr std::size_t kHeaderPadding = 3; // beside the padding: bold letters and the filter's button

std::string faultText(lxw_error error, std::uint32_t row)
{
    switch (error) {
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return "в листе Excel не больше 1 048 576 строк и 16 384 столбцов";
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return "в строке " + std::to_string(row + 1) + " листа ячейка длиннее 32 767 знаков, больше Excel не хранит";
    default:
        return notWrittenText(errno);
    }
}

} // namespace

bool isWorkbookName(std::string_view name)
{
    constexpr std::string_view kSuffix = ".xlsx";
    return name.size() > kSuffix.size() &&
           std::equal(kSuffix.begin(), kSuffix.end(), name.end() - static_cast<std::ptrdiff_t>(kSuffix.size()),
                      [](char suffix, char given) {
                          return suffix == (given >= 'A' && given <= 'Z' ? given - 'A' + 'a' : given);
                      });
}

std::optional<CellNumber> cellNumber(std::string_view text, char decimal)
{
    std::string_view rest = text;
    const bool negative = rest.starts_with('-');
    rest.remove_prefix(negative ? 1 : 0);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const std::size_t whole =
        static_cast<std::size_t>(std::find_if_not(rest.begin(), rest.end(), isDigit) - rest.begin());
    if (whole == 0 || (whole > 1 && rest.front() == '0')) {
        return std::nullopt;
    }
    std::size_t decimals = 0;
    if (whole < rest.size()) {
        const std::string_view fraction = rest.substr(whole + 1);
        decimals = fraction.size();
        if (rest[whole] != decimal || decimals == 0 || !std::all_of(fraction.begin(), fraction.end(), isDigit)) {
            return std::nullopt;
        }
    }
    if (whole + decimals > kMaxDigits) {
        return std::nullopt;
    }
    std::string plain(text);
    std::replace(plain.begin(), plain.end(), decimal, '.');
    CellNumber number{.value = 0, .decimals = static_cast<int>(decimals)};
    std::from_chars(plain.data(), plain.data() + plain.size(), number.value);
    if (negative && number.value == 0) {
        return std::nullopt;
    }
    return number;
}

TableWorkbook::TableWorkbook(const std::filesystem::path& target) : output_{target}
{
    folder_ = (target.has_parent_path() ? target.parent_path() : std::filesystem::path(".")).string();
    lxw_workbook_options options{.constant_memory = LXW_TRUE, .tmpdir = folder_.data(), .use_zip64 = LXW_FALSE};
    errno = 0;
    book_ = workbook_new_opt(output_.byName().c_str(), &options);
    if (book_ == nullptr) {
        throw OutputError(notWrittenText(errno));
    }
    bold_ = workbook_add_format(book_);
    format_set_bold(bold_);
    table_ = addSheet(kTableSheet);
}

TableWorkbook::~TableWorkbook()
{
    if (book_ != nullptr) {
        lxw_workbook_free(book_);
    }
}

TableWorkbook::Sheet TableWorkbook::addSheet(const char* name)
{
    errno = 0;
    Sheet sheet{.sheet = workbook_add_worksheet(book_, name)};
    if (sheet.sheet == nullptr) {
        throw OutputError(notWrittenText(errno));
    }
    return sheet;
}

lxw_format* TableWorkbook::format(std::optional<std::uint32_t> fill, int decimals)
{
    if (!fill && decimals < 0) {
        return nullptr;
    }
    lxw_format*& found = formats_[{fill ? std::int64_t{*fill} : -1, decimals}];
    if (found == nullptr) {
        found = workbook_add_format(book_);
        if (fill) {
            format_set_pattern(found, LXW_PATTERN_SOLID);
            format_set_bg_color(found, static_cast<lxw_color_t>(*fill));
        }
        if (decimals >= 0) {
            // Every digit the cell has, as the CSV writes it.
            const std::string digits =
                decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
            format_set_num_format(found, digits.c_str());
        }
    }
    return found;
}

void TableWorkbook::writeCell(Sheet& sheet, std::uint16_t column, std::string_view text,
                              std::optional<std::uint32_t> fill)
{
    if (sheet.widths.size() <= column) {
        sheet.widths.resize(column + std::size_t{1});
    }
    sheet.widths[column] = std::max(sheet.widths[column], utf8Characters(text));
    lxw_error error = LXW_NO_ERROR;
    if (text.empty()) {
        error = fill ? worksheet_write_blank(sheet.sheet, sheet.rows, column, format(fill, -1)) : LXW_NO_ERROR;
    } else if (const auto number = cellNumber(text, decimal_)) {
        error = worksheet_write_number(sheet.sheet, sheet.rows, column, number->value, format(fill, number->decimals));
    } else {
        const std::string zeroEnded(text);
        error = worksheet_write_string(sheet.sheet, sheet.rows, column, zeroEnded.c_str(), format(fill, -1));
    }
    if (error != LXW_NO_ERROR && fault_.empty()) {
        fault_ = faultText(error, sheet.rows);
    }
}

void TableWorkbook::writeHeader(Sheet& sheet, const std::vector<std::string>& columns)
{
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const std::string& name = columns[column];
        // The header's cells are its names, whatever they look like.
        const lxw_error error =
            worksheet_write_string(sheet.sheet, 0, static_cast<lxw_col_t>(column), name.c_str(), bold_);
        if (error != LXW_NO_ERROR && fault_.empty()) {
            fault_ = faultText(error, 0);
        }
        sheet.widths.resize(std::max(sheet.widths.size(), column + 1));
        sheet.widths[column] = std::max(sheet.widths[column], utf8Characters(name) + kHeaderPadding);
    }
    sheet.rows = 1;
}

void TableWorkbook::header(const std::vector<std::string>& columns)
{
    columns_ = columns.size();
    coloured_.assign(columns.size(), -1);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        for (std::size_t row = 0; row < kVerdictRows; ++row) {
            if (columns[column] == kStep3Rows.at(row).name) {
                coloured_[column] = static_cast<int>(row);
            }
        }
        if (columns[column] == kMarginColumn) {
            coloured_[column] = static_cast<int>(kVerdictRows);
        }
    }
    writeHeader(table_, columns);
}

void TableWorkbook::add(const CheckedGirder& girder)
{
    for (std::size_t column = 0; column < girder.cells.size(); ++column) {
        std::optional<std::uint32_t> fill;
        const int verdict = column < coloured_.size() ? coloured_[column] : -1;
        if (verdict == static_cast<int>(kVerdictRows)) {
            fill = marginBackgroundRgb(girder.status).packed();
        } else if (verdict >= 0 && girder.verdicts.at(static_cast<std::size_t>(verdict))) {
            fill = verdictBackgroundRgb(girder.verdicts.at(static_cast<std::size_t>(verdict))->kind).packed();
        }
        if (column > LXW_COL_MAX - 1) {
            fault_ = fault_.empty() ? faultText(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, table_.rows) : fault_;
            break;
        }
        writeCell(table_, static_cast<std::uint16_t>(column), girder.cells[column], fill);
    }
    ++table_.rows;
}

void TableWorkbook::addPlan(const std::vector<std::vector<std::string>>& records)
{
    if (records.empty()) {
        return;
    }
    plan_ = addSheet(kPlanSheet);
    writeHeader(*plan_, records.front());
    for (std::size_t row = 1; row < records.size(); ++row) {
        for (std::size_t column = 0; column < records[row].size(); ++column) {
            writeCell(*plan_, static_cast<std::uint16_t>(column), records[row][column], std::nullopt);
        }
        ++plan_->rows;
    }
}

void TableWorkbook::finishSheet(const Sheet& sheet, std::uint32_t lastRow, std::size_t columns)
{
    worksheet_freeze_panes(sheet.sheet, 1, 0);
    if (columns > 0) {
        worksheet_autofilter(sheet.sheet, 0, 0, lastRow, static_cast<lxw_col_t>(columns - 1));
    }
    for (std::size_t column = 0; column < sheet.widths.size(); ++column) {
        const auto width = std::clamp(sheet.widths[column] + kPadding, kNarrowest, kWidest);
        worksheet_set_column(sheet.sheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column),
                             static_cast<double>(width), nullptr);
    }
}

void TableWorkbook::commit(std::string_view summary)
{
    if (!fault_.empty()) {
        throw OutputError(fault_);
    }
    finishSheet(table_, table_.rows - 1, columns_);
    if (plan_) {
        finishSheet(*plan_, plan_->rows - 1, plan_->widths.size());
    }
    // After an empty row, in the first column; it takes no part in the widths.
    const std::string line(summary);
    worksheet_write_string(table_.sheet, table_.rows + 1, 0, line.c_str(), nullptr);
    errno = 0;
    const lxw_error closed = workbook_close(std::exchange(book_, nullptr));
    if (closed != LXW_NO_ERROR) {
        throw OutputError(notWrittenText(errno));
    }
    output_.commit();
}

} // namespace prochnar
