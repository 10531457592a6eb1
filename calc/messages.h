#pragma once

#include "form.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace prochnar {

// What a press of a step button has to tell the user; at most one per press.
enum class Message {
    None,
    ValuesNotSet,       // step 1: a required field is empty
    CoefficientsNotSet, // step 2: a buckling coefficient is empty
    DecimalComma,       // a text is not a number
    Arithmetic,         // division by zero, invalid operation or overflow
};

// The one place that words the calculation's messages and picks their icons.
[[nodiscard]] std::string_view messageText(Message message);
[[nodiscard]] MessageIcon messageIcon(Message message);

// Why "из таблицы" gives no φ: no slenderness yet, or one outside the table
// (shown as typed, the table's first and last slenderness given).
[[nodiscard]] std::string noSlendernessText();
[[nodiscard]] std::string slendernessOutsideTableText(std::string_view shown, std::int64_t first, std::int64_t last);

// The message of a girder of a table one of whose rows of step 3 could not
// be judged, naming the row (its column) and why: the required value is not
// a number, the actual one is not a number, or it is not above zero.
enum class Unjudged { DemandNotANumber, CapacityNotANumber, CapacityNotPositive };
struct UnjudgedRow {
    std::string_view row;
    Unjudged reason;
};
// "Опора не проверена: «Сжатый пояс» — фактическое значение не больше нуля."
[[nodiscard]] std::string rowsNotJudgedText(const std::vector<UnjudgedRow>& rows);
// The rows and why, without the sentence around them: "«Сжатый пояс» —
// фактическое значение не больше нуля; «Раскосы» — …".
[[nodiscard]] std::string unjudgedRowsText(const std::vector<UnjudgedRow>& rows);

// A row's message that is about one field, as the table shows it: the
// column, the cell as written (cut short, "пусто" for none), then the
// message: «txtLpp: "4.4" — Десятичные вводятся через запяту.»
[[nodiscard]] std::string fieldMessageText(std::string_view column, std::string_view cell, std::string_view message);

// Text from a file made fit to be shown in a message: control characters
// (C0 but tab, DEL, C1) become escapes such as \x1B or \u0085, so that
// none reaches a terminal or a window raw.
[[nodiscard]] std::string visibleText(std::string_view text);

// The message of a row of a table that has more cells than its header.
[[nodiscard]] std::string_view rowLongerThanHeaderText();

// What keeps a file from being read: a calculation's file or a table of
// girders. The file formats report it with where it was found.
enum class FileFault {
    // The file itself.
    NoSuchFile,
    NotAFile,
    Unreadable,
    TooLarge, // a calculation beyond kMaxFormFileSize
    // A calculation's file.
    NotUtf8,      // the bytes are not UTF-8 text
    NoEquals,     // a line that is neither NAME=TEXT, empty nor a comment
    UnknownName,  // the name is neither a field nor a state property
    BadState,     // the value of a state property is not 0 or 1
    Missing,      // a whole calculation lacks the line of the name
    FieldTooLong, // the text of name is longer than the window's field holds (reason: its limit)
    BadHistory,   // a line of the girder's history that cannot be read (reason: what is wrong)
    // A table of girders.
    NoHeader,
    HeaderTooLong,
    QuoteNotClosed,
    QuoteOutOfPlace,
    OutOfMemory,
    BrokenUtf8,      // a byte that is not UTF-8 in a table read as UTF-8
    Utf16,           // a byte-order mark of UTF-16
    Utf32,           // a byte-order mark of UTF-32
    CellTooLong,     // a cell beyond kMaxTableCell bytes
    RowTooLong,      // a row beyond kMaxTableRow bytes or kMaxTableCells cells
    DuplicateColumn, // two header cells name the same field or result
    MisspeltColumn,  // a header cell that is a field's name but for case
};

// The limits of a table of girders, in bytes of UTF-8: they bound what a
// reader holds however the file goes on.
inline constexpr std::size_t kMaxTableCell = std::size_t{64} * 1024;
inline constexpr std::size_t kMaxTableRow = std::size_t{4} * 1024 * 1024;
inline constexpr std::size_t kMaxTableCells = 250'000;

// A fault and where it was found: the 1-based line and column (in
// characters) when it has them, 0 when not; the name it concerns, if any (a
// field, or the header of a table's column); the system's own reason for an
// unreadable file, if it gave one; for a header cell, its 1-based place, and
// for a duplicate column the place of the one before it.
struct FileFaultAt {
    FileFault fault = FileFault::Unreadable;
    std::size_t line = 0;
    std::size_t column = 0;
    std::string name{};
    std::string reason{};
    std::size_t cell = 0;
    std::size_t earlierCell = 0;
};

// A fault at a place, about a name if any.
[[nodiscard]] inline FileFaultAt fileFaultAt(FileFault fault, std::size_t line, std::size_t column = 0,
                                             std::string name = {})
{
    return {.fault = fault, .line = line, .column = column, .name = std::move(name)};
}

// The fault in the window's words, without the file's name: "строка 44:
// нет строки Text4 — файл оборван или это не целый расчет".
[[nodiscard]] std::string faultText(const FileFaultAt& fault);

// The fault as prochnar-calc words it after the file's name and line: the
// window's words, the column a cell is in first, and what a file that is not
// one is instead: "неизвестное имя «txtXX»", "столбец «txtLp»: кавычка не на
// своем месте", "это не файл, а папка".
[[nodiscard]] std::string commandFaultText(const FileFaultAt& fault);

// What an input is when it is not a regular file, as the reason of
// FileFault::NotAFile: "папка", "канал (подайте его на стандартный ввод)".
enum class NotAFile { Folder, Pipe, Socket, Device };
[[nodiscard]] std::string notAFileText(NotAFile what);

// The system's reason for a fault of a file, from its error number (errno):
// "нет прав доступа", "на диске нет места"; "ошибка системы N" for one
// beyond those a file's reading and writing meet.
[[nodiscard]] std::string systemErrorText(int error);

// Why an output was not written: the system's error number, none (0) when a
// stream failed without one, or kNotRegularOutput when the target turned out
// not to be a regular file.
inline constexpr int kNotRegularOutput = -1;
[[nodiscard]] std::string notWrittenText(int error);

// The totals of a checked table of girders, as the results window and
// prochnar-calc --table word them: "Опор: 12, держат: 6, не держат: 4,
// проверьте: 1, не проверены: 1." The girders not checked are those that
// neither hold, fail nor are to check.
[[nodiscard]] std::string tableSummaryText(std::size_t rows, std::size_t holding, std::size_t notHolding,
                                           std::size_t toCheck);

// Why a cell of a table's inspection columns ("Уголок пояса", "t пояса, мм",
// "Дата осмотра", "Год установки", …) is refused, as fieldMessageText's
// message after the column and the cell.
enum class MeasurementFault {
    UnknownAngle,    // not an angle of the catalogue
    NoSuchDate,      // neither ДД.ММ.ГГГГ nor ГГГГ-ММ-ДД of a day the calendar has
    NotAYear,        // the installation year is not a year
    NotAThickness,   // not above zero, or more than one decimal
    AboveNominal,    // thicker than the nominal angle
    WithoutAngle,    // a thickness without the member's angle
    AfterInspection, // installed after the inspection
    AfterToday       // an inspection dated after the day the table is checked
};
[[nodiscard]] std::string_view measurementFaultText(MeasurementFault fault);
// A section given both by an angle or thickness and by its area or radius:
// "«t пояса, мм» и «Text9»: сечение задано дважды — оставьте одно."
[[nodiscard]] std::string sectionGivenTwiceText(std::string_view measured, std::string_view field);
// A member kind whose life cannot be counted for want of cells, named by
// their columns: "срок пояса не рассчитан: нет «Год установки»".
[[nodiscard]] std::string lifeNotCountedText(bool chord, const std::vector<std::string_view>& missing);
// A member kind whose life has no limit or too few points: "пояс: " and
// memberLifeText.
[[nodiscard]] std::string memberLifeNoteText(bool chord, std::string_view life);
// The girders of a plan whose replacement falls within five years of the
// latest inspection of the table, reached limits among them.
[[nodiscard]] std::string dueSoonText(std::size_t girders);
// Why --plan cannot group the rows into girders.
[[nodiscard]] std::string_view planWithoutSupportText();

// A table's decimal separator, as the command's summary names it:
// "десятичный разделитель: точка".
[[nodiscard]] std::string tableDecimalText(bool point);
// The message of a cell of a table's numbers written with the separator the
// table does not use, after its column and the cell: "Десятичные в этой
// таблице вводятся через точку."
[[nodiscard]] std::string_view otherSeparatorText(bool point);
// A cell of a table's numbers that leaves its separator undecided: its
// line, its column's header and its text.
struct NumberCell {
    std::size_t line = 0;
    std::string column = {};
    std::string text = {};
};
// Why the decimal separator of a table cannot be told from its numbers,
// naming the cell after its line: a number with a thousands mark ("столбец
// «txtLp»: "1.234,5" — число с разделителем разрядов читается двояко"), or
// numbers with both separators: cell with the point, other with the comma,
// or the reverse when point is false ("столбец «txtH»: "1.5" — десятичная
// точка, а в строке 2 в столбце «txtLp» "24,5" — запятая: в таблице оба
// десятичных разделителя").
[[nodiscard]] std::string groupedNumberText(const NumberCell& cell);
[[nodiscard]] std::string mixedDecimalsText(const NumberCell& cell, bool point, const NumberCell& other);

// Why a table was not read to its end, after the rows read before the fault.
[[nodiscard]] std::string tableNotReadText(const FileFaultAt& fault);

} // namespace prochnar
