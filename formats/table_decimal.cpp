#include "formats/table_decimal.h"

#include "calc/convert.h"
#include "formats/csv_table.h"
#include "formats/table_life.h"

#include <algorithm>
#include <array>
#include <exception>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <thread>

namespace prochnar {

DecimalVote::DecimalVote(const std::vector<std::string>& header) : numbers_{numberColumns(header)}, header_{header} {}

void DecimalVote::add(const std::vector<std::string>& row, std::size_t line)
{
    std::size_t commas = 0;
    std::size_t points = 0;
    std::optional<NumberCell> comma;
    std::optional<NumberCell> point;
    bool pointSecond = false; // the row's first point after its first comma
    for (const std::size_t column : numbers_) {
        if (column >= row.size()) {
            break;
        }
        const DecimalMark mark = decimalMarkOf(row[column]);
        if (mark == DecimalMark::None) {
            continue;
        }
        // A cell is kept only as the first of its kind in the row: most are counted alone.
        const auto cell = [&] { return NumberCell{.line = line, .column = header_[column], .text = row[column]}; };
        if (mark == DecimalMark::Grouped) {
            if (!doubt_) {
                doubt_ = DecimalDoubt{.grouped = true, .cell = cell()};
            }
            return;
        }
        std::optional<NumberCell>& first = mark == DecimalMark::Comma ? comma : point;
        ++(mark == DecimalMark::Comma ? commas : points);
        if (!first) {
            pointSecond = pointSecond || (mark == DecimalMark::Point && comma);
            first = cell();
        }
    }
    if (doubt_ || commas + points == 0) {
        return;
    }
    if (commas == points) {
        // As many of both: named, the one that came second.
        doubt_ = DecimalDoubt{.grouped = false,
                              .cell = pointSecond ? *point : *comma,
                              .point = pointSecond,
                              .other = pointSecond ? *comma : *point};
        return;
    }
    const bool pointRow = points > commas;
    std::optional<NumberCell>& kept = pointRow ? pointRow_ : commaRow_;
    if (!kept) {
        kept = pointRow ? point : comma;
    }
    if (commaRow_ && pointRow_) {
        doubt_ = DecimalDoubt{
            .grouped = false, .cell = *kept, .point = pointRow, .other = pointRow ? *commaRow_ : *pointRow_};
    }
}

DecimalDecision DecimalVote::decision() const
{
    if (doubt_) {
        return {.separator = DecimalSeparator::Comma, .doubt = doubt_};
    }
    return {.separator = pointRow_ ? DecimalSeparator::Point : DecimalSeparator::Comma};
}

void DecimalVote::append(DecimalVote later, std::size_t lines)
{
    for (std::optional<NumberCell>* cell : {&later.commaRow_, &later.pointRow_}) {
        if (*cell) {
            (*cell)->line += lines;
        }
    }
    if (later.doubt_) {
        later.doubt_->cell.line += lines;
        later.doubt_->other.line += lines;
    }
    if (doubt_) {
        return;
    }
    // A later row with the other separator than these rows' is the doubt,
    // unless a doubt of the later rows alone came before it.
    const std::optional<NumberCell>& otherRow = commaRow_   ? later.pointRow_
                                                : pointRow_ ? later.commaRow_
                                                            : std::nullopt;
    if (otherRow && (!later.doubt_ || otherRow->line <= later.doubt_->cell.line)) {
        doubt_ = DecimalDoubt{.grouped = false,
                              .cell = *otherRow,
                              .point = commaRow_.has_value(),
                              .other = commaRow_ ? *commaRow_ : *pointRow_};
        return;
    }
    if (later.doubt_) {
        doubt_ = std::move(later.doubt_);
        return;
    }
    if (!commaRow_) {
        commaRow_ = std::move(later.commaRow_);
    }
    if (!pointRow_) {
        pointRow_ = std::move(later.pointRow_);
    }
}

namespace {

// Counts the rows reader hands out into vote, to the end or to the first
// fault, whose kind it returns. A cut table's last row is not counted: it
// may be cut short.
std::optional<FileFault> countRows(CsvReader& reader, DecimalVote& vote, bool cut)
{
    std::vector<std::string> row;
    std::vector<std::string> held;
    std::size_t heldLine = 0;
    bool holding = false;
    try {
        // A row is counted once the next is read.
        while (reader.next(row)) {
            if (holding) {
                vote.add(held, heldLine);
            }
            std::swap(held, row);
            heldLine = reader.recordLine();
            holding = true;
        }
        if (holding && !cut) {
            vote.add(held, heldLine);
        }
    } catch (const CsvError& error) {
        // The rows before a fault decide; the check reports the fault.
        if (holding) {
            vote.add(held, heldLine);
        }
        return error.at().fault;
    }
    return std::nullopt;
}

// The table's header, none when it has none or cannot be read: then the
// check says why, and the separator is the comma.
std::optional<std::vector<std::string>> headerOf(CsvReader& reader)
{
    std::vector<std::string> header;
    try {
        if (reader.next(header)) {
            return header;
        }
    } catch (const CsvError&) {
    }
    return std::nullopt;
}

DecimalDecision decideFrom(std::istream& in, bool cut)
{
    CsvReader reader(in);
    const std::optional<std::vector<std::string>> header = headerOf(reader);
    if (!header) {
        return {};
    }
    DecimalVote vote(*header);
    (void)countRows(reader, vote, cut);
    return vote.decision();
}

// The bytes of another stream up to a limit, then its end.
class BoundedBuffer final : public std::streambuf {
public:
    BoundedBuffer(std::streambuf& from, std::size_t limit) : from_{from}, left_{limit} {}
    // Whether the other stream ended, or failed, before the limit.
    [[nodiscard]] bool endedShort() const { return endedShort_; }

protected:
    int_type underflow() override
    {
        if (left_ == 0) {
            return traits_type::eof();
        }
        const auto got = from_.sgetn(buffer_.data(), static_cast<std::streamsize>(std::min(left_, buffer_.size())));
        if (got <= 0) {
            endedShort_ = true;
            return traits_type::eof();
        }
        left_ -= static_cast<std::size_t>(got);
        setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
        return traits_type::to_int_type(buffer_.front());
    }

private:
    std::streambuf& from_;
    std::size_t left_;
    bool endedShort_ = false;
    std::array<char, std::size_t{64} * 1024> buffer_{};
};

// Where the line after the middle of a file of size bytes starts, if any.
std::optional<std::size_t> lineAfterMiddle(std::istream& file, std::size_t size)
{
    std::size_t at = size / 2;
    file.seekg(static_cast<std::streamoff>(at));
    std::array<char, std::size_t{16} * 1024> bytes{};
    while (file.read(bytes.data(), bytes.size()) || file.gcount() > 0) {
        const std::string_view read(bytes.data(), static_cast<std::size_t>(file.gcount()));
        if (const std::size_t lineEnd = read.find('\n'); lineEnd != std::string_view::npos) {
            return at + lineEnd + 1;
        }
        at += read.size();
    }
    return std::nullopt;
}

} // namespace

DecimalDecision decideDecimal(std::istream& in) { return decideFrom(in, false); }

namespace {

DecimalDecision decideInHalves(std::istream& in, const std::string& path, unsigned threads, std::size_t halvesFrom)
{
    const auto wholeFile = [&in] {
        in.clear();
        in.seekg(0);
        return decideFrom(in, false);
    };
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    in.seekg(0);
    if (threads < 2 || !in || end < 0 || static_cast<std::size_t>(end) < halvesFrom) {
        return wholeFile();
    }
    std::ifstream rest(path, std::ios::binary);
    const std::optional<std::size_t> middle =
        rest ? lineAfterMiddle(rest, static_cast<std::size_t>(end)) : std::nullopt;
    if (!middle) {
        return wholeFile();
    }
    rest.clear();
    rest.seekg(static_cast<std::streamoff>(*middle));

    // The first half, to the line after the middle, read here; the rest at
    // once by another reader, in the first one's delimiter and encoding.
    BoundedBuffer firstBytes(*in.rdbuf(), *middle);
    std::istream firstHalf(&firstBytes);
    CsvReader first(firstHalf);
    const std::optional<std::vector<std::string>> header = headerOf(first);
    if (!header) {
        return {};
    }
    if (!first.encodingDecided()) {
        return wholeFile(); // the rest decides it
    }
    CsvReader second(rest, first);
    DecimalVote later(*header);
    std::exception_ptr secondFailed;
    std::jthread reading([&second, &later, &secondFailed] {
        try {
            (void)countRows(second, later, false);
        } catch (...) {
            secondFailed = std::current_exception();
        }
    });
    DecimalVote vote(*header);
    const std::optional<FileFault> fault = countRows(first, vote, false);
    reading.join();
    if (secondFailed) {
        std::rethrow_exception(secondFailed);
    }
    if (fault == FileFault::QuoteNotClosed || firstBytes.endedShort()) {
        // A quoted cell goes on past the middle, perhaps to a later line; or
        // the file is no longer as long as it was.
        return wholeFile();
    }
    if (!fault) {
        vote.append(std::move(later), first.linesRead());
    }
    return vote.decision();
}

} // namespace

DecimalDecision decideDecimal(std::istream& in, const std::string& path, unsigned threads, std::size_t halvesFrom)
{
    DecimalDecision decision = decideInHalves(in, path, threads, halvesFrom);
    in.clear();
    in.seekg(0);
    return decision;
}

DecimalDecision decideDecimal(std::istream& in, std::size_t limit, std::string& head)
{
    head.assign(limit, '\0');
    in.read(head.data(), static_cast<std::streamsize>(limit));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::istringstream text(head);
    return decideFrom(text, head.size() == limit);
}

} // namespace prochnar
