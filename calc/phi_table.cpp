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

std::string thousandthsText(std::int64_t value)
{
    std::string fraction = std::to_string(value % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    return std::to_string(value / 1000) + "," + fraction;
}

} // namespace

TablePhi phiFromTable(std::string_view slenderness)
{
    const auto outside = [](std::string_view shown) {
        return TablePhi{.phi = {},
                        .message =
                            slendernessOutsideTableText(shown, kRows.front().slenderness, kRows.back().slenderness)};
    };
    Fixed4 lambda;
    try {
        lambda = textToFixed4(slenderness);
    } catch (const ConversionError&) {
        return {.phi = {}, .message = noSlendernessText()};
    } catch (const ArithmeticError&) {
        return outside(slenderness); // beyond the range of any slenderness
    }

    // Exactly: λ is a count of 1/10 000 and the rows are whole, so
    // φ·1000 = (φ1·d + (φ2 − φ1)·(λ − λ1)) / d with d = λ2 − λ1, all in counts.
    // The first pair whose span holds λ, found by halving: the end of the
    // span is the first row at or above it.
    const std::int64_t count = lambda.count();
    const auto above =
        std::lower_bound(kRows.begin() + 1, kRows.end(), count, [](const PhiRow& row, std::int64_t value) {
            return row.slenderness * Fixed4::kScale < value;
        });
    const auto i = static_cast<std::size_t>(above - kRows.begin()) - 1;
    const std::int64_t from = kRows[i].slenderness * Fixed4::kScale;
    if (above == kRows.end() || count < from) {
        return outside(toText(lambda));
    }
    const std::int64_t d = above->slenderness * Fixed4::kScale - from;
    const std::int64_t scaled = kRows[i].phi * d + (above->phi - kRows[i].phi) * (count - from);
    return {.phi = thousandthsText(scaled / d), .message = {}}; // not negative: rounds down
}

std::optional<double> interpolatedPhi(double slenderness)
{
    // The flange searches ask for thousands of ratios per table: the row
    // pair is found by halving, the first pair whose span holds the value.
    if (!(slenderness >= static_cast<double>(kRows.front().slenderness) &&
          slenderness <= static_cast<double>(kRows.back().slenderness))) {
        return std::nullopt; // NaN too
    }
    const auto above =
        std::lower_bound(kRows.begin() + 1, kRows.end() - 1, slenderness,
                         [](const PhiRow& row, double value) { return static_cast<double>(row.slenderness) < value; });
    const std::size_t i = static_cast<std::size_t>(above - kRows.begin()) - 1;
    const auto from = static_cast<double>(kRows[i].slenderness);
    const auto to = static_cast<double>(kRows[i + 1].slenderness);
    const auto phi = static_cast<double>(kRows[i].phi);
    const auto next = static_cast<double>(kRows[i + 1].phi);
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
