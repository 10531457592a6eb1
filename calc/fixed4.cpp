#include "fixed4.h"

#include "errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace prochnar {

namespace {

using Wide = Int128;

// The range is symmetric, ±922 337 203 685 477,5807: the one count below it
// that int64 could hold is left out, so that every value can be negated.
constexpr Wide kMaxCount = std::numeric_limits<std::int64_t>::max();
constexpr Wide kMinCount = -kMaxCount;

std::int64_t checkedCount(Wide count)
{
    if (count < kMinCount || count > kMaxCount) {
        throw ArithmeticError("Fixed4 overflow");
    }
    return static_cast<std::int64_t>(count);
}

// A sum or difference in 64 bits, within the symmetric range.
std::int64_t checkedCount(bool overflow, std::int64_t count)
{
    if (overflow || count == std::numeric_limits<std::int64_t>::min()) {
        throw ArithmeticError("Fixed4 overflow");
    }
    return count;
}

// numerator / denominator (denominator > 0), rounded to the nearest integer,
// ties to the even neighbour.
template <typename Integer> Integer roundedQuotient(Integer numerator, Integer denominator)
{
    Integer quotient = numerator / denominator; // truncates toward zero
    const Integer remainder = numerator % denominator;
    const Integer twiceRest = 2 * (remainder < 0 ? -remainder : remainder);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) {
        quotient += numerator < 0 ? -1 : 1;
    }
    return quotient;
}

} // namespace

Fixed4 Fixed4::fromInt(std::int64_t whole) { return Fixed4{checkedCount(static_cast<Wide>(whole) * kScale)}; }

Fixed4 Fixed4::fromDouble(double value)
{
    const double scaled = value * static_cast<double>(kScale);
    if (!std::isfinite(scaled)) {
        throw ArithmeticError("Fixed4 overflow");
    }
    // The program never changes the rounding mode: nearbyint rounds ties to even.
    const double rounded = std::nearbyint(scaled);
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (!(rounded > -kLimit && rounded < kLimit)) {
        throw ArithmeticError("Fixed4 overflow");
    }
    return Fixed4{static_cast<std::int64_t>(rounded)};
}

Fixed4 operator+(Fixed4 a, Fixed4 b)
{
    std::int64_t sum = 0;
    const bool overflow = __builtin_add_overflow(a.count_, b.count_, &sum);
    return Fixed4{checkedCount(overflow, sum)};
}

Fixed4 operator-(Fixed4 a, Fixed4 b)
{
    std::int64_t difference = 0;
    const bool overflow = __builtin_sub_overflow(a.count_, b.count_, &difference);
    return Fixed4{checkedCount(overflow, difference)};
}

Fixed4 operator*(Fixed4 a, Fixed4 b)
{
    // The products of a calculation's numbers fit in 64 bits, where dividing
    // by the scale is a multiplication: a table multiplies some twenty a row.
    // Their quotient is within the range.
    if (std::int64_t narrow = 0; !__builtin_mul_overflow(a.count_, b.count_, &narrow)) {
        return Fixed4{roundedQuotient<std::int64_t>(narrow, Fixed4::kScale)};
    }
    // |a·b| < 2^126, so the 128-bit product cannot overflow.
    const Wide product = static_cast<Wide>(a.count_) * b.count_;
    return Fixed4{checkedCount(roundedQuotient<Wide>(product, Fixed4::kScale))};
}

Fixed4 operator*(std::int64_t factor, Fixed4 a) { return Fixed4{checkedCount(static_cast<Wide>(factor) * a.count_)}; }

std::string toText(Fixed4 value)
{
    const std::int64_t count = value.count();
    // Magnitude as unsigned, so that the most negative count has one too.
    const std::uint64_t magnitude =
        count < 0 ? 0U - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    const auto scale = static_cast<std::uint64_t>(Fixed4::kScale);

    // Written into a buffer and made a string once: a table writes several a row.
    std::array<char, 32> buffer{};
    char* at = buffer.data();
    if (count < 0) {
        *at++ = '-';
    }
    at = std::to_chars(at, buffer.data() + buffer.size(), magnitude / scale).ptr;
    std::uint64_t fraction = magnitude % scale;
    if (fraction != 0) {
        *at++ = ',';
        for (std::uint64_t unit = scale / 10; fraction != 0; unit /= 10) { // no trailing zeros
            *at++ = static_cast<char>('0' + fraction / unit);
            fraction %= unit;
        }
    }
    return {buffer.data(), at};
}

} // namespace prochnar
