#include "verdicts.h"

#include "angles.h"
#include "convert.h"
#include "errors.h"

#include <algorithm>

namespace prochnar {

namespace {

// A count of tenths with one decimal: "92,0", "4,3".
std::string tenthsText(Int128 tenths)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(tenths % 10)));
        tenths /= 10;
    } while (tenths != 0);
    if (digits.size() < 2) {
        digits.insert(digits.begin(), '0');
    }
    digits.insert(digits.end() - 1, ',');
    return digits;
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
        return Verdict{.holds = true, .text = "держит, запас " + tenthsText(1000 * (have - need) / have) + " %"};
    }
    const Int128 shortage = (1000 * (need - have) + have - 1) / have; // rounded up
    return Verdict{.holds = false, .text = "не держит, не хватает " + tenthsText(shortage) + " %"};
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
