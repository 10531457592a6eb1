#include "formats/csv_table.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace prochnar {

namespace {

constexpr std::size_t kChunk = std::size_t{16} * 1024;
// Records kept to be written over: a chunk's worth of rows.
constexpr std::size_t kSpareRecords = 256;
// A header row longer than this is not one.
constexpr std::size_t kMaxHeader = std::size_t{1024} * 1024;

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

void onCell(void* cell, std::size_t size, void* reader)
{
    static_cast<CsvReader*>(reader)->addCell(cell == nullptr ? std::string_view()
                                                             : std::string_view(static_cast<const char*>(cell), size));
}

void onRecord(int /*terminator*/, void* reader) { static_cast<CsvReader*>(reader)->endRecord(); }

} // namespace

CsvError::CsvError(FileFault fault, std::size_t line, std::size_t column)
    : CsvError(FileFaultAt{.fault = fault, .line = line, .column = column, .name = {}, .reason = {}})
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

CsvReader::~CsvReader() { csv_free(parser_.get()); }

void CsvReader::addCell(std::string_view cell)
{
    // The strings of a record handed back by next() are written over, so
    // that a row of short cells costs no allocation.
    if (cells_ < record_.size()) {
        record_[cells_].assign(cell);
    } else {
        record_.emplace_back(cell);
    }
    ++cells_;
}

void CsvReader::endRecord()
{
    record_.resize(cells_);
    cells_ = 0;
    ready_.push_back(std::move(record_));
    record_.clear();
    if (!spare_.empty()) {
        record_ = std::move(spare_.back());
        spare_.pop_back();
    }
}

bool CsvReader::next(std::vector<std::string>& record)
{
    while (ready_.empty()) {
        if (atEnd_ || !readChunk()) {
            return false;
        }
    }
    std::swap(record, ready_.front());
    if (spare_.size() < kSpareRecords) {
        spare_.push_back(std::move(ready_.front()));
    }
    ready_.pop_front();
    return true;
}

bool CsvReader::readChunk()
{
    std::string bytes(kChunk, '\0');
    in_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in_.gcount()));
    if (in_.bad()) {
        throw CsvError(FileFault::Unreadable, line_);
    }
    bytesRead_ += bytes.size();
    const bool last = bytes.empty();
    std::string text = decode(bytes, last);
    if (!headerSeen_) {
        pending_ += text;
        const std::size_t end = headerEnd(pending_);
        if (end == std::string_view::npos && !last) {
            if (pending_.size() > kMaxHeader) {
                throw CsvError(FileFault::HeaderTooLong, 1);
            }
            return true;
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
    if (last) {
        atEnd_ = true;
        if (csv_fini(parser_.get(), onCell, onRecord, this) != 0) {
            throw CsvError(FileFault::QuoteNotClosed, line_);
        }
    }
    return true;
}

void CsvReader::feed(std::string_view text)
{
    // Fed a line at a time, so that a fault is found on its line, and at its
    // column where the parser stopped.
    std::size_t column = lineColumn_;
    while (!text.empty()) {
        const std::size_t lineEnd = std::min(text.find('\n'), text.size() - 1) + 1;
        const std::string_view piece = text.substr(0, lineEnd);
        if (const std::size_t parsed = csv_parse(parser_.get(), piece.data(), piece.size(), onCell, onRecord, this);
            parsed != piece.size()) {
            throw CsvError(csv_error(parser_.get()) == CSV_EPARSE ? FileFault::QuoteOutOfPlace : FileFault::OutOfMemory,
                           line_, column + utf8Characters(piece.substr(0, parsed)) + 1);
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

std::string CsvReader::decode(std::string_view bytes, bool last)
{
    std::string raw = std::move(pendingBytes_);
    raw += bytes;
    pendingBytes_.clear();
    if (!bomChecked_ && (raw.size() >= kUtf8Bom.size() || last)) {
        bomChecked_ = true;
        if (raw.starts_with(kUtf8Bom)) {
            raw.erase(0, kUtf8Bom.size());
            encoding_ = Encoding::Utf8;
        }
    } else if (!bomChecked_) {
        pendingBytes_ = std::move(raw);
        return {};
    }
    if (encoding_ == Encoding::Unknown &&
        std::any_of(raw.begin(), raw.end(), [](char c) { return static_cast<std::uint8_t>(c) >= 0x80; })) {
        encoding_ = utf8Prefix(raw).invalid ? Encoding::Windows1251 : Encoding::Utf8;
    }
    if (encoding_ == Encoding::Windows1251) {
        std::string text;
        appendWindows1251AsUtf8(text, raw);
        return text;
    }
    const Utf8Prefix prefix = utf8Prefix(raw);
    if (prefix.invalid || (last && prefix.valid < raw.size())) {
        // The text before the fault: the line fed so far, a header not yet
        // fed, and this chunk up to the fault.
        const Place place = after(after({line_, lineColumn_}, pending_), std::string_view(raw).substr(0, prefix.valid));
        throw CsvError(FileFault::NeitherUtf8Nor1251, place.line, place.characters + 1);
    }
    pendingBytes_ = raw.substr(prefix.valid);
    raw.resize(prefix.valid);
    return raw;
}

void appendCsvRecord(std::string& out, const std::vector<std::string>& cells, char delimiter)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 0) {
            out += delimiter;
        }
        const std::string& cell = cells[i];
        const bool plain = std::none_of(cell.begin(), cell.end(), [delimiter](char c) {
            return c == delimiter || c == '"' || c == '\r' || c == '\n';
        });
        if (plain) {
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
