#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace prochnar {

// Products and parsed digits are formed in 128 bits, where no 64-bit
// operand can overflow.
__extension__ using Int128 = __int128;

// A signed decimal with four fractional digits, held as a 64-bit count of
// 1/10 000. Sums and differences are exact, products are rounded to four
// fractional digits (ties to the even neighbour), and every result that
// leaves the range throws ArithmeticError.
class Fixed4 {
public:
    static constexpr std::int64_t kScale = 10'000;

    constexpr Fixed4() = default;

    [[nodiscard]] static constexpr Fixed4 fromCount(std::int64_t count) { return Fixed4{count}; }
    [[nodiscard]] static Fixed4 fromInt(std::int64_t whole);
    // Multiplies by 10 000 in double precision and rounds to the nearest
    // count, ties to even. NaN, infinities and values beyond the range throw.
    [[nodiscard]] static Fixed4 fromDouble(double value);

    [[nodiscard]] constexpr std::int64_t count() const { return count_; }
    // The count divided by 10 000 in double precision.
    [[nodiscard]] double toDouble() const { return static_cast<double>(count_) / static_cast<double>(kScale); }

    friend Fixed4 operator+(Fixed4 a, Fixed4 b);
    friend Fixed4 operator-(Fixed4 a, Fixed4 b);
    friend Fixed4 operator*(Fixed4 a, Fixed4 b);
    // Exact product with a small integer (the steps multiply by 10).
    friend Fixed4 operator*(std::int64_t factor, Fixed4 a);

    friend constexpr auto operator<=>(Fixed4, Fixed4) = default;

private:
    constexpr explicit Fixed4(std::int64_t count) : count_{count} {}
    std::int64_t count_ = 0;
};

// The shortest decimal text of the value: decimal comma, at most four
// fractional digits, no trailing zeros, "-" for negatives ("12,5", "3", "0,05").
[[nodiscard]] std::string toText(Fixed4 value);

} // namespace prochnar
