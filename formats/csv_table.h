#pragma once

#include "calc/messages.h"
#include "formats/text_encoding.h"

#include <cstddef>
#include <deque>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct csv_parser;

namespace prochnar {

// A table that cannot be read: a byte that is not UTF-8 in a UTF-8 table, a
// quote out of place, a cell or row beyond its limit, no header. at() says
// where: the 1-based line, and the 1-based column in characters of a stray
// quote (where the parser stopped) or of the first byte that breaks the
// encoding, 0 where there is none; the header of the cell's column, where
// the fault is in a row's cell. what() is the fault in the command's words
// (commandFaultText).
class CsvError : public std::runtime_error {
public:
    explicit CsvError(FileFault fault, std::size_t line, std::size_t column = 0);
    explicit CsvError(FileFaultAt at);
    [[nodiscard]] std::size_t line() const { return at_.line; }
    [[nodiscard]] std::size_t column() const { return at_.column; }
    [[nodiscard]] const FileFaultAt& at() const { return at_; }

private:
    FileFaultAt at_;
};

// Reads a CSV table as a spreadsheet writes it, record by record, holding no
// more than a chunk of the file and a row: a cell of at most kMaxTableCell
// bytes, a row of at most kMaxTableRow bytes and kMaxTableCells cells. The
// encoding is decided once for the whole file: UTF-8 after a UTF-8
// byte-order mark (dropped), or when the line of the first byte beyond ASCII
// is UTF-8 up to its end (or the chunk's); windows-1251 otherwise. A later
// byte that is not UTF-8 in a UTF-8 table is a fault at its line and column,
// never read as windows-1251. A byte-order mark of UTF-16 or UTF-32 is
// refused by name. The delimiter is the one of ";", "," and tab that the
// header row uses most; quoted cells may hold delimiters, doubled quotes and
// line breaks. Cells come out in UTF-8, as written: blanks are kept.
class CsvReader {
public:
    explicit CsvReader(std::istream& in);
    // A reader of the rows that follow from in, which starts where a record
    // of the table `start` reads starts: in start's delimiter and encoding,
    // which start must have decided (encodingDecided()), with no header and
    // its lines counted from 1 there.
    CsvReader(std::istream& in, const CsvReader& start);
    ~CsvReader();
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;
    CsvReader(CsvReader&&) = delete;
    CsvReader& operator=(CsvReader&&) = delete;

    // The next record, the header first; false at the end. Throws CsvError,
    // once every record before the fault's line has been handed out, and
    // again on every later call. What `record` held is kept to be written
    // over by a later record.
    bool next(std::vector<std::string>& record);
    [[nodiscard]] char delimiter() const { return delimiter_; }
    // The line where the record next() handed out last starts.
    [[nodiscard]] std::size_t recordLine() const { return handedLine_; }
    // The lines fed so far: at the end, the table's lines.
    [[nodiscard]] std::size_t linesRead() const { return line_ - 1; }
    // Whether the encoding is decided: by a byte-order mark, or by a byte
    // beyond ASCII read so far.
    [[nodiscard]] bool encodingDecided() const { return encoding_ != Encoding::Unknown; }
    // How much of the file has been read.
    [[nodiscard]] std::size_t bytesRead() const { return bytesRead_; }

    // libcsv's callbacks.
    void addCell(std::string_view cell);
    void endRecord();

private:
    void readChunk();
    void feed(std::string_view text);
    // Reads a whole line of plain cells as one record; false, reading
    // nothing, for a line the parser must read.
    bool splitPlainLine(std::string_view line);
    // The chunk's bytes as UTF-8 text, up to the first byte that is not
    // UTF-8 in a UTF-8 table, if any: then `broken` is set.
    std::string decode(std::string_view bytes, bool last, bool& broken);
    // The fault at the place fed so far, in the column being read.
    [[nodiscard]] CsvError faultHere(FileFault fault, std::size_t line, std::size_t column) const;

    std::istream& in_;
    std::unique_ptr<csv_parser> parser_;
    enum class Encoding { Unknown, Utf8, Windows1251 } encoding_ = Encoding::Unknown;
    std::string pendingBytes_; // the start of a UTF-8 sequence the next chunk ends
    std::string pending_;      // the text of a header not yet seen whole
    bool headerSeen_ = false;
    bool bomChecked_ = false;
    bool atEnd_ = false;
    std::optional<CsvError> fault_;     // thrown once the records before it are out
    std::optional<CsvError> overLimit_; // a cell or row past its limit, noted by a callback
    char delimiter_ = ';';
    std::size_t line_ = 1;       // the line being fed
    std::size_t lineColumn_ = 0; // characters of it fed so far
    std::size_t recordLine_ = 1; // where the record being read starts
    std::size_t cellLine_ = 1;   // where the cell being read starts
    std::size_t bytesRead_ = 0;
    std::vector<std::string> columns_; // the header, to name a cell's column
    bool columnsKept_ = false;
    std::vector<std::string> record_; // its first cells_ cells are the record's so far
    std::size_t cells_ = 0;
    std::size_t recordBytes_ = 0;                 // of the record's cells so far
    std::vector<std::vector<std::string>> spare_; // records handed back, to be written over
    std::deque<std::vector<std::string>> ready_;
    std::deque<std::size_t> readyLines_; // where each ready record starts
    std::size_t handedLine_ = 0;
};

// One record in a CSV line ending in "\n": a cell that holds the delimiter,
// a quote or a line break is quoted, its quotes doubled.
void appendCsvRecord(std::string& out, const std::vector<std::string>& cells, char delimiter);

} // namespace prochnar
