#include "verdicts.h"

#include "angles.h"
#include "convert.h"
#include "errors.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace prochnar {

namespace {

// A count of tenths with one decimal: "92,0", "4,3".
std::string tenthsText(Int128 tenths)
{
    std::string digits;
    if (tenths <= std::numeric_limits<std::int64_t>::max()) {
        // Every margin but an absurd one: no 128-bit division a digit.
        digits = std::to_string(static_cast<std::int64_t>(tenths));
    } else {
        do {
            digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(tenths % 10)));
            tenths /= 10;
        } while (tenths != 0);
    }
    if (digits.size() < 2) {
        digits.insert(digits.begin(), '0');
    }
    digits.insert(digits.end() - 1, ',');
    return digits;
}

// Margins of hundreds of millions of per cent say no more than that.
int clampTenths(Int128 tenths)
{
    constexpr Int128 kMax = 2'000'000'000;
    return static_cast<int>(std::min(tenths, kMax));
}

std::optional<ExactPair> exactPair(std::string_view demand, std::string_view capacity)
{
    try {
        return overCommonScale(textToExact(demand), textToExact(capacity));
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

// The area row's verdict, with the least flange thickness when it holds and
// the member's angle is the catalogue's, as its fields and actual area show.
std::optional<Verdict> judgeArea(std::string_view required, std::string_view actual,
                                 const std::optional<std::size_t>& chosen, std::string_view area,
                                 std::string_view radius)
{
    std::optional<Verdict> verdict = judge(required, actual);
    if (!verdict || !verdict->holds || !chosen || *chosen >= angleCatalogue().size()) {
        return verdict;
    }
    const Angle& angle = angleCatalogue()[*chosen];
    if (!holdsAngle(angle, area, radius) || !holdsAngle(angle, actual, radius)) {
        return verdict;
    }
    if (const std::optional<int> tenths = leastFlangeTenths(angle, required)) {
        verdict->text += ", полка не тоньше " + tenthsText(*tenths) + " мм";
    }
    return verdict;
}

} // namespace

std::optional<Verdict> judge(std::string_view demand, std::string_view capacity)
{
    const std::optional<ExactPair> pair = exactPair(demand, capacity);
    if (!pair || pair->b <= 0) {
        return std::nullopt;
    }
    const Int128 need = pair->a;
    const Int128 have = pair->b;
    if (need <= have) {
        const Int128 margin = 1000 * (have - need) / have; // rounded down
        return Verdict{
            .holds = true, .text = "держит, запас " + tenthsText(margin) + " %", .tenths = clampTenths(margin)};
    }
    const Int128 shortage = (1000 * (need - have) + have - 1) / have; // rounded up
    return Verdict{.holds = false,
                   .text = "не держит, не хватает " + tenthsText(shortage) + " %",
                   .tenths = -clampTenths(shortage)};
}

VerdictInput verdictInput(const Form& form, std::optional<std::size_t> chordAngle,
                          std::optional<std::size_t> diagonalAngle)
{
    return VerdictInput{
        .Text4 = form.text("Text4"),
        .Text6 = form.text("Text6"),
        .Text7 = form.text("Text7"),
        .Text8 = form.text("Text8"),
        .txtz2 = form.text("txtz2"),
        .Text12 = form.text("Text12"),
        .Text14 = form.text("Text14"),
        .Text13 = form.text("Text13"),
        .Text9 = form.text("Text9"),
        .txtIy = form.text("txtIy"),
        .Text10 = form.text("Text10"),
        .txtIyy = form.text("txtIyy"),
        .chordAngle = chordAngle,
        .diagonalAngle = diagonalAngle,
    };
}

std::array<std::optional<Verdict>, kVerdictRows> judgeStep3(const VerdictInput& in)
{
    return {
        judgeArea(in.Text4, in.Text6, in.chordAngle, in.Text9, in.txtIy),
        judgeArea(in.Text7, in.Text8, in.chordAngle, in.Text9, in.txtIy),
        judgeArea(in.txtz2, in.Text12, in.diagonalAngle, in.Text10, in.txtIyy),
        judge(in.Text13, in.Text14),
    };
}

} // namespace prochnar
