#include "phi_table.h"

#include "convert.h"
#include "errors.h"
#include "messages.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace prochnar {

namespace {

struct PhiRow {
    std::int64_t slenderness; // whole
    std::int64_t phi;         // thousandths
};

constexpr auto kRows = std::to_array<PhiRow>({
#include "phi_rows.inc"
});

constexpr bool isIncreasing()
{
    for (std::size_t i = 1; i < kRows.size(); ++i) {
        if (kRows[i].slenderness <= kRows[i - 1].slenderness) {
            return false;
        }
    }
    return true;
}
static_assert(kRows.size() >= 2 && isIncreasing(), "the table of φ must run in increasing slenderness");

// Thousandths with three decimals: "0,783".
std::string thousandthsText(std::int64_t value) { return fixedText(value, 3); }

// The first pair of rows whose span holds value, the rows' slenderness taken
// times scale: the index of its first row; none outside the table (NaN too).
// The flange searches ask for thousands a table: the pair is guessed from
// where value lies between the ends, exactly so for rows evenly spaced, and
// the guess is moved to the pair that holds it.
template <typename Number, std::int64_t kScale> std::optional<std::size_t> pairHolding(Number value)
{
    const auto at = [](std::size_t row) { return static_cast<Number>(kRows[row].slenderness * kScale); };
    constexpr std::size_t kLast = kRows.size() - 1;
    // Rows per unit of value, multiplied by rather than divided.
    constexpr double kRowsPerUnit =
        static_cast<double>(kLast) / static_cast<double>((kRows[kLast].slenderness - kRows[0].slenderness) * kScale);
    if (!(value >= at(0) && value <= at(kLast))) {
        return std::nullopt;
    }
    auto pair = std::min(static_cast<std::size_t>(static_cast<double>(value - at(0)) * kRowsPerUnit), kLast - 1);
    while (pair > 0 && at(pair) >= value) {
        --pair;
    }
    while (pair < kLast - 1 && at(pair + 1) < value) {
        ++pair;
    }
    return pair;
}

} // namespace

namespace {

// The table's φ in thousandths for the slenderness text, or why there is
// none: not a number (nullopt in lambda), or outside the table.
struct PhiLookup {
    std::optional<std::int64_t> thousandths;
    bool outside = false;
    std::optional<Fixed4> lambda; // as read, when it was a number in range
};

PhiLookup lookUpPhi(std::string_view slenderness)
{
    Fixed4 lambda;
    try {
        lambda = textToFixed4(slenderness);
    } catch (const ConversionError&) {
        return {};
    } catch (const ArithmeticError&) {
        return {.thousandths = {}, .outside = true, .lambda = {}}; // beyond the range of any slenderness
    }

    // Exactly: λ is a count of 1/10 000 and the rows are whole, so
    // φ·1000 = (φ1·d + (φ2 − φ1)·(λ − λ1)) / d with d = λ2 − λ1, all in counts.
    const std::int64_t count = lambda.count();
    const std::optional<std::size_t> pair = pairHolding<std::int64_t, Fixed4::kScale>(count);
    if (!pair) {
        return {.thousandths = {}, .outside = true, .lambda = lambda};
    }
    const PhiRow& first = kRows[*pair];
    const PhiRow& second = kRows[*pair + 1];
    const std::int64_t from = first.slenderness * Fixed4::kScale;
    const std::int64_t d = second.slenderness * Fixed4::kScale - from;
    const std::int64_t scaled = first.phi * d + (second.phi - first.phi) * (count - from);
    return {.thousandths = scaled / d, .outside = false, .lambda = lambda}; // not negative: rounds down
}

} // namespace

TablePhi phiFromTable(std::string_view slenderness)
{
    const PhiLookup found = lookUpPhi(slenderness);
    if (found.thousandths) {
        return {.phi = thousandthsText(*found.thousandths), .message = {}};
    }
    if (!found.outside) {
        return {.phi = {}, .message = noSlendernessText()};
    }
    // A number in the table's range of kinds is named as it was read; one
    // beyond every slenderness as it was shown.
    const std::string shown = found.lambda ? toText(*found.lambda) : std::string(slenderness);
    return {.phi = {},
            .message = slendernessOutsideTableText(shown, kRows.front().slenderness, kRows.back().slenderness)};
}

std::optional<std::int64_t> phiThousandthsFromTable(std::string_view slenderness)
{
    return lookUpPhi(slenderness).thousandths;
}

std::string phiThousandthsText(std::int64_t thousandths) { return thousandthsText(thousandths); }

std::optional<double> interpolatedPhi(double slenderness)
{
    const std::optional<std::size_t> pair = pairHolding<double, 1>(slenderness);
    if (!pair) {
        return std::nullopt;
    }
    const auto from = static_cast<double>(kRows[*pair].slenderness);
    const auto to = static_cast<double>(kRows[*pair + 1].slenderness);
    const auto phi = static_cast<double>(kRows[*pair].phi);
    const auto next = static_cast<double>(kRows[*pair + 1].phi);
    return (phi + (next - phi) * (slenderness - from) / (to - from)) / 1000;
}

std::vector<PhiTableRow> phiTableRows()
{
    std::vector<PhiTableRow> rows;
    rows.reserve(kRows.size());
    for (const PhiRow& row : kRows) {
        rows.push_back({.slenderness = row.slenderness, .phi = thousandthsText(row.phi)});
    }
    return rows;
}

} // namespace prochnar
