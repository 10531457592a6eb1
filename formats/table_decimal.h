#pragma once

#include "calc/decimal.h"
#include "calc/messages.h"

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace prochnar {

// The decimal separator of a table of girders, told once for the whole file
// from its number cells: the fields' columns and the measured thicknesses
// (isNumberColumn); the engineer's own columns ("Км", dates) are carried
// text and tell nothing. A spreadsheet writes a whole row with one
// separator: a row's separator is the one most of its numbers have, and a
// cell with the other one is a slip of the hand, refused in its row as a
// number the table does not read. Rows all with the comma, or with no
// fraction, make a comma table; all with the point, a point table. Rows
// with each, a row with as many of both, or a number with a thousands mark
// leave the table undecided.
struct DecimalDoubt {
    bool grouped = false;  // a thousands mark; otherwise both separators
    NumberCell cell = {};  // the cell that makes it undecided
    bool point = false;    // for both separators: whether cell has the point
    NumberCell other = {}; // and the first with the other separator
    // The doubt in the messages' words, after the cell's line.
    [[nodiscard]] std::string text() const
    {
        return grouped ? groupedNumberText(cell) : mixedDecimalsText(cell, point, other);
    }
};
struct DecimalDecision {
    DecimalSeparator separator = DecimalSeparator::Comma;
    std::optional<DecimalDoubt> doubt = {}; // when the numbers do not tell
};

// Counts the separators of a table's rows, one row at a time.
class DecimalVote {
public:
    explicit DecimalVote(const std::vector<std::string>& header);
    void add(const std::vector<std::string>& row, std::size_t line);
    [[nodiscard]] DecimalDecision decision() const;
    // Counts the rows later counted as if added here after these, later's
    // first line being the one after these rows' `lines` lines.
    void append(DecimalVote later, std::size_t lines);

private:
    std::vector<std::size_t> numbers_; // the number columns
    std::vector<std::string> header_;
    std::optional<NumberCell> commaRow_; // the first cell of the first comma row
    std::optional<NumberCell> pointRow_; // and of the first point row
    std::optional<DecimalDoubt> doubt_;  // the first
};

// Reads a table from in to its end, or to its first fault (which the check
// then reports at its place), and decides its separator. With limit, reads
// no more than that many bytes of in: what it read is then in head, and a
// row it may have cut short is not counted.
[[nodiscard]] DecimalDecision decideDecimal(std::istream& in);
[[nodiscard]] DecimalDecision decideDecimal(std::istream& in, std::size_t limit, std::string& head);
// The same for a file, read from in and named by path: one of halvesFrom
// bytes or more is read in two halves at once, with threads to spare, the
// second by a reader of its own. in is left at its start.
inline constexpr std::size_t kDecimalHalvesFrom = std::size_t{4} * 1024 * 1024;
[[nodiscard]] DecimalDecision decideDecimal(std::istream& in, const std::string& path, unsigned threads,
                                            std::size_t halvesFrom = kDecimalHalvesFrom);

} // namespace prochnar
