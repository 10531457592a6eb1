#include "formats/csv_table.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace prochnar {

namespace {

constexpr std::size_t kChunk = std::size_t{16} * 1024;
// Records kept to be written over: a chunk's worth of rows.
constexpr std::size_t kSpareRecords = 256;
// libcsv's state before the first byte of a record (ROW_NOT_BEGUN).
constexpr int kRowNotBegun = 0;

constexpr std::string_view kUtf32LeBom{"\xFF\xFE\0\0", 4};
constexpr std::string_view kUtf32BeBom{"\0\0\xFE\xFF", 4};
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Sixteen bytes compared at once: the compiler's vectors (SSE2 on x86-64,
// NEON on ARM), two plain words elsewhere.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

// Whether none of the sixteen bytes is the delimiter, a quote or a line break.
bool plainBytes(Bytes16 bytes, unsigned char delimiter)
{
    const auto found = (bytes == delimiter) | (bytes == '"') | (bytes == '\r') | (bytes == '\n');
    std::array<std::uint64_t, 2> words{};
    std::memcpy(words.data(), &found, sizeof words);
    return (words[0] | words[1]) == 0;
}

// Whether a cell is written as it stands: it has no delimiter, quote or line
// break. A checked table writes some sixty cells a row, most of them a few
// bytes: each is looked at sixteen bytes at a time, a short one's bytes
// repeated to fill them, a long one's last sixteen overlapping the ones
// before.
bool isPlainCell(std::string_view cell, char delimiter)
{
    const auto mark = static_cast<unsigned char>(delimiter);
    const char* const bytes = cell.data();
    const std::size_t size = cell.size();
    const auto load = [bytes](std::size_t at, auto word) {
        std::memcpy(&word, bytes + at, sizeof word);
        return static_cast<std::uint64_t>(word);
    };
    const auto plainWords = [mark](std::uint64_t first, std::uint64_t second) {
        Bytes16 both;
        const std::array<std::uint64_t, 2> words{first, second};
        std::memcpy(&both, words.data(), sizeof both);
        return plainBytes(both, mark);
    };
    if (size < 4) {
        if (size == 0) {
            return true;
        }
        // The first, middle and last bytes, and the first again: all of them.
        const std::uint64_t four = load(0, std::uint8_t{}) | load(size / 2, std::uint8_t{}) << 8U |
                                   load(size - 1, std::uint8_t{}) << 16U | load(0, std::uint8_t{}) << 24U;
        return plainWords(four | four << 32U, four);
    }
    if (size < 8) {
        const std::uint64_t eight = load(0, std::uint32_t{}) | load(size - 4, std::uint32_t{}) << 32U;
        return plainWords(eight, eight);
    }
    if (size < sizeof(Bytes16)) {
        return plainWords(load(0, std::uint64_t{}), load(size - 8, std::uint64_t{}));
    }
    Bytes16 sixteen;
    for (std::size_t at = 0; at + sizeof sixteen < size; at += sizeof sixteen) {
        std::memcpy(&sixteen, bytes + at, sizeof sixteen);
        if (!plainBytes(sixteen, mark)) {
            return false;
        }
    }
    std::memcpy(&sixteen, bytes + size - sizeof sixteen, sizeof sixteen);
    return plainBytes(sixteen, mark);
}

// A place in decoded text: its 1-based line, and the characters before it
// on that line.
struct Place {
    std::size_t line;
    std::size_t characters;
};

// The place after text that starts at place.
Place after(Place place, std::string_view text)
{
    const std::size_t lastBreak = text.rfind('\n');
    if (lastBreak == std::string_view::npos) {
        return {place.line, place.characters + utf8Characters(text)};
    }
    return {place.line + static_cast<std::size_t>(std::ranges::count(text, '\n')),
            utf8Characters(text.substr(lastBreak + 1))};
}

// The delimiter the header uses most outside quotes: ";" on a tie.
char detectDelimiter(std::string_view header)
{
    std::array<std::pair<char, int>, 3> counts{{{';', 0}, {',', 0}, {'\t', 0}}};
    bool quoted = false;
    for (const char c : header) {
        quoted = c == '"' ? !quoted : quoted;
        for (auto& [delimiter, count] : counts) {
            count += !quoted && c == delimiter ? 1 : 0;
        }
    }
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// The end of the header (after its line break) outside quotes, or npos.
std::size_t headerEnd(std::string_view text)
{
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        quoted = text[i] == '"' ? !quoted : quoted;
        if (!quoted && text[i] == '\n') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

int noBlanks(unsigned char /*c*/) { return 0; }

// Writes cell as a record's cell at `at`, over the string there when there
// is one (a record handed back by next() is written over): a row of short
// cells costs no allocation. Cleared and appended to, which is cheaper than
// assigning for a cell that fits where the string's last text was. Put in
// place of its call, which costs some 1 % of a whole table's check.
[[gnu::always_inline]] inline void putCell(std::vector<std::string>& record, std::size_t at, std::string_view cell)
{
    if (at < record.size()) {
        record[at].clear();
        record[at].append(cell);
    } else {
        record.emplace_back(cell);
    }
}

void onCell(void* cell, std::size_t size, void* reader)
{
    static_cast<CsvReader*>(reader)->addCell(cell == nullptr ? std::string_view()
                                                             : std::string_view(static_cast<const char*>(cell), size));
}

void onRecord(int /*terminator*/, void* reader) { static_cast<CsvReader*>(reader)->endRecord(); }

} // namespace

CsvError::CsvError(FileFault fault, std::size_t line, std::size_t column) : CsvError(fileFaultAt(fault, line, column))
{
}

CsvError::CsvError(FileFaultAt at) : std::runtime_error(commandFaultText(at)), at_{std::move(at)} {}

CsvReader::CsvReader(std::istream& in) : in_{in}, parser_{std::make_unique<csv_parser>()}
{
    if (csv_init(parser_.get(), CSV_STRICT | CSV_STRICT_FINI) != 0) {
        throw std::bad_alloc();
    }
    csv_set_space_func(parser_.get(), noBlanks);
}

CsvReader::CsvReader(std::istream& in, const CsvReader& start) : CsvReader(in)
{
    encoding_ = start.encoding_;
    bomChecked_ = true;
    headerSeen_ = true;
    delimiter_ = start.delimiter_;
    csv_set_delim(parser_.get(), static_cast<unsigned char>(delimiter_));
    columns_ = start.columns_;
    columnsKept_ = start.columnsKept_;
}

CsvReader::~CsvReader() { csv_free(parser_.get()); }

void CsvReader::addCell(std::string_view cell)
{
    putCell(record_, cells_, cell);
    if (cell.size() > kMaxTableCell && !overLimit_) {
        overLimit_ = faultHere(FileFault::CellTooLong, cellLine_, 0);
    }
    ++cells_;
    recordBytes_ += cell.size() + 1;
    if ((recordBytes_ > kMaxTableRow || cells_ > kMaxTableCells) && !overLimit_) {
        overLimit_ = CsvError(FileFault::RowTooLong, recordLine_);
    }
    cellLine_ = line_; // the next cell starts after this one's delimiter
}

void CsvReader::endRecord()
{
    record_.resize(cells_);
    cells_ = 0;
    recordBytes_ = 0;
    if (!columnsKept_) {
        columns_ = record_;
        columnsKept_ = true;
    }
    if (overLimit_) {
        return; // never handed out: the fault is thrown after the line
    }
    ready_.push_back(std::move(record_));
    readyLines_.push_back(recordLine_);
    record_.clear();
    if (!spare_.empty()) {
        record_ = std::move(spare_.back());
        spare_.pop_back();
    }
}

bool CsvReader::next(std::vector<std::string>& record)
{
    while (ready_.empty()) {
        if (fault_) {
            throw *fault_;
        }
        if (atEnd_) {
            return false;
        }
        try {
            readChunk();
        } catch (const CsvError& error) {
            fault_ = error;
            atEnd_ = true;
        }
    }
    std::swap(record, ready_.front());
    if (spare_.size() < kSpareRecords) {
        spare_.push_back(std::move(ready_.front()));
    }
    ready_.pop_front();
    handedLine_ = readyLines_.front();
    readyLines_.pop_front();
    return true;
}

CsvError CsvReader::faultHere(FileFault fault, std::size_t line, std::size_t column) const
{
    const bool inRow = columnsKept_ && cells_ < columns_.size();
    return CsvError(fileFaultAt(fault, line, column, inRow ? columns_[cells_] : std::string()));
}

void CsvReader::readChunk()
{
    std::string bytes(kChunk, '\0');
    in_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in_.gcount()));
    if (in_.bad()) {
        FileFaultAt fault = fileFaultAt(FileFault::Unreadable, line_);
        fault.reason = systemErrorText(errno);
        throw CsvError(std::move(fault));
    }
    bytesRead_ += bytes.size();
    const bool last = bytes.empty();
    bool broken = false;
    std::string text = decode(bytes, last, broken);
    if (!headerSeen_) {
        pending_ += text;
        const std::size_t end = headerEnd(pending_);
        if (end == std::string_view::npos && broken) {
            const Place place = after({1, 0}, pending_);
            throw CsvError(FileFault::BrokenUtf8, place.line, place.characters + 1);
        }
        if (end == std::string_view::npos && !last) {
            if (pending_.size() > kMaxTableRow) {
                throw CsvError(FileFault::HeaderTooLong, 1);
            }
            return;
        }
        if (pending_.empty()) {
            throw CsvError(FileFault::NoHeader, 1);
        }
        headerSeen_ = true;
        delimiter_ = detectDelimiter(std::string_view(pending_).substr(0, end));
        csv_set_delim(parser_.get(), static_cast<unsigned char>(delimiter_));
        text = std::move(pending_);
        pending_.clear();
    }
    feed(text);
    if (broken) {
        throw faultHere(FileFault::BrokenUtf8, line_, lineColumn_ + 1);
    }
    if (last) {
        atEnd_ = true;
        if (csv_fini(parser_.get(), onCell, onRecord, this) != 0) {
            // Only a quoted cell can be left open: it is where its quote opened.
            throw faultHere(FileFault::QuoteNotClosed, cellLine_, 0);
        }
    }
}

bool CsvReader::splitPlainLine(std::string_view line)
{
    // Most lines of a table are whole, with no quote and no carriage return:
    // split at the delimiter here as the parser would, cell by cell, without
    // its byte-by-byte state machine. An empty line is no record, as there.
    if (line.back() != '\n') {
        return false;
    }
    line.remove_suffix(1);
    if (line.find('"') != std::string_view::npos || line.find('\r') != std::string_view::npos) {
        return false;
    }
    if (!line.empty()) {
        // No cell of a line up to a cell's limit, nor the line, can pass its
        // limit: its cells are put without counting them against the limits.
        // Only a header read from several chunks is longer.
        const bool measured = line.size() > kMaxTableCell;
        std::size_t cells = 0;
        for (std::size_t end = line.find(delimiter_);; end = line.find(delimiter_)) {
            if (measured) {
                addCell(line.substr(0, end));
            } else {
                putCell(record_, cells++, line.substr(0, end));
            }
            if (end == std::string_view::npos) {
                break;
            }
            line.remove_prefix(end + 1);
        }
        if (!measured) {
            cells_ = cells;
        }
        endRecord();
    }
    if (overLimit_) {
        throw *overLimit_;
    }
    return true;
}

void CsvReader::feed(std::string_view text)
{
    // Fed a line at a time, so that a fault is found on its line, and at its
    // column where the parser stopped; a cell or a row past its limit is
    // found within a line of it.
    std::size_t column = lineColumn_;
    while (!text.empty()) {
        const std::size_t lineEnd = std::min(text.find('\n'), text.size() - 1) + 1;
        const std::string_view piece = text.substr(0, lineEnd);
        if (parser_->pstate == kRowNotBegun) {
            recordLine_ = line_;
            cellLine_ = line_;
            if (splitPlainLine(piece)) {
                ++line_;
                column = 0;
                text.remove_prefix(lineEnd);
                continue;
            }
        }
        if (const std::size_t parsed = csv_parse(parser_.get(), piece.data(), piece.size(), onCell, onRecord, this);
            parsed != piece.size()) {
            throw faultHere(csv_error(parser_.get()) == CSV_EPARSE ? FileFault::QuoteOutOfPlace
                                                                   : FileFault::OutOfMemory,
                            line_, column + utf8Characters(piece.substr(0, parsed)) + 1);
        }
        // A cell or row that ended on this line was noted by the callbacks;
        // one that goes on is measured here.
        if (overLimit_) {
            throw *overLimit_;
        }
        if (parser_->entry_pos > kMaxTableCell) {
            throw faultHere(FileFault::CellTooLong, cellLine_, 0);
        }
        if (recordBytes_ + parser_->entry_pos > kMaxTableRow) {
            throw CsvError(FileFault::RowTooLong, recordLine_);
        }
        if (piece.back() == '\n') {
            ++line_;
            column = 0;
        } else {
            column += utf8Characters(piece); // only the last piece of a chunk
        }
        text.remove_prefix(lineEnd);
    }
    lineColumn_ = column;
}

std::string CsvReader::decode(std::string_view bytes, bool last, bool& broken)
{
    std::string raw = std::move(pendingBytes_);
    raw += bytes;
    pendingBytes_.clear();
    if (!bomChecked_) {
        if (raw.size() < kUtf32LeBom.size() && !last) {
            pendingBytes_ = std::move(raw);
            return {};
        }
        bomChecked_ = true;
        // UTF-32LE's mark starts with UTF-16LE's.
        if (raw.starts_with(kUtf32LeBom) || raw.starts_with(kUtf32BeBom)) {
            throw CsvError(FileFault::Utf32, 1);
        }
        if (raw.starts_with(kUtf16LeBom) || raw.starts_with(kUtf16BeBom)) {
            throw CsvError(FileFault::Utf16, 1);
        }
        if (raw.starts_with(kUtf8Bom)) {
            raw.erase(0, kUtf8Bom.size());
            encoding_ = Encoding::Utf8;
        }
    }
    if (encoding_ == Encoding::Unknown) {
        const auto first =
            std::find_if(raw.begin(), raw.end(), [](char c) { return static_cast<std::uint8_t>(c) >= 0x80; });
        if (first != raw.end()) {
            // Decided on the rest of the line that holds the first byte
            // beyond ASCII, as far as this chunk has it; a letter the chunk
            // cuts off before any other waits for the next chunk.
            const auto start = static_cast<std::size_t>(first - raw.begin());
            const std::string_view line = std::string_view(raw).substr(start, raw.find('\n', start) - start);
            const Utf8Prefix prefix = utf8Prefix(line);
            if (!prefix.invalid && prefix.valid == 0 && !last && line.size() == raw.size() - start) {
                pendingBytes_ = std::move(raw);
                return {};
            }
            const bool cutOff = prefix.valid < line.size() && (last || line.size() < raw.size() - start);
            encoding_ = prefix.invalid || cutOff || prefix.valid == 0 ? Encoding::Windows1251 : Encoding::Utf8;
        }
    }
    if (encoding_ == Encoding::Windows1251) {
        std::string text;
        appendWindows1251AsUtf8(text, raw);
        return text;
    }
    const Utf8Prefix prefix = utf8Prefix(raw);
    if (prefix.invalid || (last && prefix.valid < raw.size())) {
        broken = true;
        raw.resize(prefix.valid);
        return raw;
    }
    pendingBytes_ = raw.substr(prefix.valid);
    raw.resize(prefix.valid);
    return raw;
}

void appendCsvRecord(std::string& out, const std::vector<std::string>& cells, char delimiter)
{
    // Most records are all plain cells: their bytes are counted first and
    // copied into room made once.
    std::size_t plainSize = cells.size(); // a delimiter after each cell but the last, and the line break
    bool plain = true;
    for (const std::string& cell : cells) {
        plainSize += cell.size();
        plain = plain && isPlainCell(cell, delimiter);
    }
    if (plain) {
        std::size_t at = out.size();
        out.resize(at + std::max<std::size_t>(plainSize, 1));
        char* const to = out.data();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i != 0) {
                to[at++] = delimiter;
            }
            at += cells[i].copy(to + at, cells[i].size());
        }
        to[at] = '\n';
        return;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 0) {
            out += delimiter;
        }
        const std::string& cell = cells[i];
        if (isPlainCell(cell, delimiter)) {
            out.append(cell);
            continue;
        }
        out += '"';
        for (const char c : cell) {
            out += c;
            if (c == '"') {
                out += '"';
            }
        }
        out += '"';
    }
    out += '\n';
}

} // namespace prochnar
