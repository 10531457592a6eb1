#include "calc/convert.h"
#include "calc/errors.h"
#include "calc/fixed4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace prochnar {
namespace {

Fixed4 f(std::string_view text) { return textToFixed4(text); }

TEST(Fixed4, PrintsShortestTextWithDecimalComma)
{
    EXPECT_EQ(toText(f("12,5")), "12,5");
    EXPECT_EQ(toText(f("3")), "3");
    EXPECT_EQ(toText(f("0,05")), "0,05");
    EXPECT_EQ(toText(f("0")), "0");
    EXPECT_EQ(toText(f("-0")), "0");
    EXPECT_EQ(toText(f("-0,5")), "-0,5");
    EXPECT_EQ(toText(f("100")), "100");
    EXPECT_EQ(toText(f("12,50")), "12,5");
    EXPECT_EQ(toText(f("-0,0001")), "-0,0001");
    EXPECT_EQ(toText(Fixed4::fromCount(std::numeric_limits<std::int64_t>::max())), "922337203685477,5807");
    EXPECT_EQ(toText(Fixed4::fromCount(std::numeric_limits<std::int64_t>::min())), "-922337203685477,5808");
}

TEST(Fixed4, ProductsRoundToFourDigitsTiesToEven)
{
    EXPECT_EQ(f("0,0001") * f("0,5"), f("0"));      // 0,00005 -> 0
    EXPECT_EQ(f("0,0003") * f("0,5"), f("0,0002")); // 0,00015 -> 0,0002
    EXPECT_EQ(f("0,0005") * f("0,5"), f("0,0002")); // 0,00025 -> 0,0002
    EXPECT_EQ(f("0,0005") * f("0,5001"), f("0,0003"));
    EXPECT_EQ(f("-0,0003") * f("0,5"), f("-0,0002"));
    EXPECT_EQ(f("-0,0001") * f("-0,5"), f("0"));
    EXPECT_EQ(f("31,615") * f("65"), f("2054,975"));
    EXPECT_EQ(f("2054,975") * f("7"), f("14384,825"));
    EXPECT_EQ(f("1,2345") * f("1,2345"), f("1,524")); // 1,52399025
}

TEST(Fixed4, IntegerMultipleSumAndDifferenceAreExact)
{
    EXPECT_EQ(10 * f("3,1615"), f("31,615"));
    EXPECT_EQ(f("1,2346") + f("0,5"), f("1,7346"));
    EXPECT_EQ(f("2,5") - f("1"), f("1,5"));
}

TEST(Fixed4, LeavingTheRangeIsAnArithmeticError)
{
    const Fixed4 max = f("922337203685477,5807");
    const Fixed4 min = f("-922337203685477,5807");
    EXPECT_THROW((void)(max + f("0,0001")), ArithmeticError);
    EXPECT_THROW((void)(min - f("0,0001")), ArithmeticError);
    EXPECT_THROW((void)(10 * f("92233720368548")), ArithmeticError);
    EXPECT_EQ(10 * f("92233720368547"), f("922337203685470"));
    EXPECT_THROW((void)(f("100000000") * f("100000000")), ArithmeticError);
    EXPECT_THROW((void)(max * max), ArithmeticError);
    EXPECT_EQ(max * f("1"), max);
    EXPECT_EQ(min * f("-1"), max);
    EXPECT_NO_THROW((void)(max - max));
}

TEST(Fixed4, FromDoubleMultipliesInDoubleThenRoundsTiesToEven)
{
    EXPECT_EQ(Fixed4::fromDouble(43.0 / 65.0), f("0,6615"));
    EXPECT_EQ(Fixed4::fromDouble(200.0 / 3.0), f("66,6667"));
    EXPECT_EQ(Fixed4::fromDouble(0.00025), f("0,0002")); // 2,5 -> 2
    EXPECT_EQ(Fixed4::fromDouble(0.00035), f("0,0004")); // 3,5 -> 4
    EXPECT_EQ(Fixed4::fromDouble(-0.00025), f("-0,0002"));
    EXPECT_EQ(Fixed4::fromDouble(2.00015), f("2,0002")); // 20001,5 -> 20002
    // 0.00015 · 10 000 is 1,4999999999999998 in double: it rounds down.
    EXPECT_EQ(Fixed4::fromDouble(0.00015), f("0,0001"));
    EXPECT_EQ(Fixed4::fromDouble(-0.0), f("0"));
}

TEST(Fixed4, FromDoubleRejectsNonFiniteAndOutOfRange)
{
    EXPECT_THROW((void)Fixed4::fromDouble(std::numeric_limits<double>::infinity()), ArithmeticError);
    EXPECT_THROW((void)Fixed4::fromDouble(std::nan("")), ArithmeticError);
    EXPECT_THROW((void)Fixed4::fromDouble(1e15), ArithmeticError);
    EXPECT_THROW((void)Fixed4::fromDouble(-922337203685477.5808), ArithmeticError);
    EXPECT_THROW((void)Fixed4::fromDouble(1e300), ArithmeticError);
    EXPECT_NO_THROW((void)Fixed4::fromDouble(9e14));
    EXPECT_NO_THROW((void)Fixed4::fromDouble(-9e14));
}

TEST(Fixed4, ToDoubleDividesTheCount)
{
    EXPECT_EQ(f("2743,5449").toDouble(), 27435449.0 / 10000.0);
    EXPECT_EQ(f("-0,5").toDouble(), -0.5);
    EXPECT_EQ(f("0").toDouble(), 0.0);
}

} // namespace
} // namespace prochnar
