#include "formats/csv_table.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace prochnar {

namespace {

constexpr std::size_t kChunk = std::size_t{16} * 1024;
// Records kept to be written over: a chunk's worth of rows.
constexpr std::size_t kSpareRecords = 256;
// A header row longer than this is not one.
constexpr std::size_t kMaxHeader = std::size_t{1024} * 1024;

// The code points of bytes 0x80 to 0xFF in windows-1251 (0x98 has none).
constexpr std::array<std::uint16_t, 128> kWindows1251{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

enum class Sequence { Valid, Truncated, Invalid };

// Whether a well-formed UTF-8 sequence starts at bytes[pos] (no overlong
// forms, surrogates or code points beyond U+10FFFF); its length in *length.
Sequence utf8Sequence(std::string_view bytes, std::size_t pos, std::size_t* length)
{
    const auto lead = static_cast<std::uint8_t>(bytes[pos]);
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead < 0x80) {
        *length = 1;
        return Sequence::Valid;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        *length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        *length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        *length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return Sequence::Invalid;
    }
    for (std::size_t i = 1; i < *length; ++i) {
        if (pos + i == bytes.size()) {
            return Sequence::Truncated;
        }
        const auto byte = static_cast<std::uint8_t>(bytes[pos + i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) {
            return Sequence::Invalid;
        }
    }
    return Sequence::Valid;
}

// Where the bytes stop being UTF-8: the first invalid sequence, else the
// start of a truncated one at the end, else the size.
std::size_t utf8Prefix(std::string_view bytes, bool* invalid)
{
    std::size_t pos = 0;
    std::size_t length = 1;
    while (pos < bytes.size()) {
        // Eight ASCII bytes at a time: most of a table is.
        std::uint64_t eight = 0;
        while (pos + sizeof eight <= bytes.size()) {
            std::memcpy(&eight, bytes.data() + pos, sizeof eight);
            if ((eight & 0x8080808080808080ULL) != 0) {
                break;
            }
            pos += sizeof eight;
        }
        if (pos == bytes.size()) {
            break;
        }
        const Sequence sequence = utf8Sequence(bytes, pos, &length);
        if (sequence != Sequence::Valid) {
            *invalid = sequence == Sequence::Invalid;
            return pos;
        }
        pos += length;
    }
    *invalid = false;
    return pos;
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
        throw CsvError(line_, "cannot be read");
    }
    bytesRead_ += bytes.size();
    const bool last = bytes.empty();
    std::string text = decode(bytes, last);
    if (!headerSeen_) {
        pending_ += text;
        const std::size_t end = headerEnd(pending_);
        if (end == std::string_view::npos && !last) {
            if (pending_.size() > kMaxHeader) {
                throw CsvError(1, "the header row is too long");
            }
            return true;
        }
        if (pending_.empty()) {
            throw CsvError(1, "no header row");
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
            throw CsvError(line_, "a quoted cell is not closed");
        }
    }
    return true;
}

void CsvReader::feed(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t lineEnd = std::min(text.find('\n'), text.size() - 1) + 1;
        const std::string_view piece = text.substr(0, lineEnd);
        if (csv_parse(parser_.get(), piece.data(), piece.size(), onCell, onRecord, this) != piece.size()) {
            throw CsvError(line_, csv_error(parser_.get()) == CSV_EPARSE ? "a quote out of place" : "out of memory");
        }
        line_ += piece.back() == '\n' ? 1 : 0;
        text.remove_prefix(lineEnd);
    }
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
        bool invalid = false;
        utf8Prefix(raw, &invalid);
        encoding_ = invalid ? Encoding::Windows1251 : Encoding::Utf8;
    }
    if (encoding_ == Encoding::Windows1251) {
        std::string text;
        text.reserve(raw.size() * 2);
        for (const char c : raw) {
            const auto byte = static_cast<std::uint8_t>(c);
            appendUtf8(text, byte < 0x80 ? byte : kWindows1251.at(byte - 0x80U));
        }
        return text;
    }
    bool invalid = false;
    const std::size_t valid = utf8Prefix(raw, &invalid);
    if (invalid || (last && valid < raw.size())) {
        const auto breaks =
            static_cast<std::size_t>(std::count(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(valid), '\n'));
        throw CsvError(line_ + breaks, "neither UTF-8 nor windows-1251 throughout");
    }
    pendingBytes_ = raw.substr(valid);
    raw.resize(valid);
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
