#include "calc/convert.h"
#include "calc/errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>
#include <string>

namespace prochnar {
namespace {

// The suite runs again under locales with a decimal comma (see
// CMakeLists.txt); the conversions must not notice.
class LocaleEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (const char* locale = std::getenv("PROCHNAR_TEST_LOCALE")) {
            // The set-up installs these locales; a missing one must not pass silently.
            ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << "locale " << locale << " is not installed";
            std::locale::global(std::locale(locale));
        }
    }
};
// NOLINTNEXTLINE(cert-err58-cpp): gtest takes environments before main runs
const auto* const kLocale = ::testing::AddGlobalTestEnvironment(new LocaleEnvironment);

TEST(NumberSyntax, AcceptsDigitsWithOptionalSignCommaAndBlanksAround)
{
    EXPECT_EQ(textToFixed4("2,5"), textToFixed4("  2,5\t"));
    EXPECT_EQ(textToFixed4("+7"), textToFixed4("7"));
    EXPECT_EQ(textToFixed4("5,"), textToFixed4("5"));
    EXPECT_EQ(textToFixed4(",5"), textToFixed4("0,5"));
    EXPECT_EQ(textToFixed4("\t-,25 "), textToFixed4("-0,25"));
    EXPECT_EQ(textToDouble(" -5, "), -5.0);
    EXPECT_EQ(textToSingle(",5"), 0.5F);
}

TEST(NumberSyntax, RejectsEverythingElseAsConversionError)
{
    for (const char* text :
         {"",    " ",   "\t", "2.5",  "1.5",   "1e3",  "1E3",     "1 000", "1 000,5", "--1",  "+-1",
          "+",   "-",   ",",  " , ",  "1,2,3", "1,,2", "abc",     "12a",   "a12",     "1-",   "0x10",
          "inf", "nan", "١٢", "１２", "12\n",  "\n12", "1\u00a0", "1;5",   "+ 5",     "5 ,5", "(5)"}) {
        EXPECT_THROW((void)textToFixed4(text), ConversionError) << '"' << text << '"';
        EXPECT_THROW((void)textToDouble(text), ConversionError) << '"' << text << '"';
        EXPECT_THROW((void)textToSingle(text), ConversionError) << '"' << text << '"';
    }
}

TEST(TextToFixed4, RoundsExactDecimalDigitsTiesToEven)
{
    EXPECT_EQ(toText(textToFixed4("1,23456")), "1,2346");
    EXPECT_EQ(toText(textToFixed4("1,23455")), "1,2346"); // tie, odd -> up
    EXPECT_EQ(toText(textToFixed4("1,23445")), "1,2344"); // tie, even -> stays
    EXPECT_EQ(toText(textToFixed4("1,234450000001")), "1,2345");
    EXPECT_EQ(toText(textToFixed4("-1,23455")), "-1,2346");
    EXPECT_EQ(toText(textToFixed4("0,00005")), "0");
    EXPECT_EQ(toText(textToFixed4("0,00015")), "0,0002"); // read from digits, not through a double
    EXPECT_EQ(toText(textToFixed4("2,00015")), "2,0002");
    EXPECT_EQ(toText(textToFixed4("9,99995")), "10");
    EXPECT_EQ(toText(textToFixed4("0,1")), "0,1"); // no binary representation error
}

TEST(TextToFixed4, RangeEdges)
{
    EXPECT_EQ(toText(textToFixed4("922337203685477,5807")), "922337203685477,5807");
    EXPECT_EQ(toText(textToFixed4("-922337203685477,5807")), "-922337203685477,5807");
    EXPECT_EQ(toText(textToFixed4("922337203685477,58074999")), "922337203685477,5807");
    EXPECT_THROW((void)textToFixed4("922337203685477,5808"), ArithmeticError);
    EXPECT_THROW((void)textToFixed4("-922337203685477,5808"), ArithmeticError);
    EXPECT_THROW((void)textToFixed4("922337203685477,58075"), ArithmeticError);
    EXPECT_THROW((void)textToFixed4("1000000000000000"), ArithmeticError);
    EXPECT_THROW((void)textToFixed4(std::string(1000, '9')), ArithmeticError);
    EXPECT_EQ(toText(textToFixed4(std::string(1000, '0') + "12,5")), "12,5");
    EXPECT_EQ(toText(textToFixed4("1," + std::string(1000, '0') + "1")), "1");
    EXPECT_EQ(toText(textToFixed4("0,00005" + std::string(1000, '0') + "1")), "0,0001");
}

TEST(TextToFloat, IsCorrectlyRoundedFromTheDigits)
{
    EXPECT_EQ(textToDouble("0,1"), 0.1);
    EXPECT_EQ(textToDouble("2,5"), 2.5);
    EXPECT_EQ(textToDouble("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(textToSingle("0,1"), 0.1F);
    EXPECT_EQ(textToSingle("0,8"), 0.8F);
    EXPECT_EQ(textToSingle("16777217"), 16777216.0F); // tie between 2^24 and 2^24 + 2 -> even
    EXPECT_EQ(textToSingle("16777219"), 16777220.0F); // tie -> even
    // 1 + 2^-24 + 2^-60 is just above the midpoint between two singles: the
    // direct conversion rounds up, a detour through double would round to 1.
    EXPECT_EQ(textToSingle("1,000000059604644776154"), 1.00000012F);
    EXPECT_TRUE(std::signbit(textToDouble("-0")));
    EXPECT_TRUE(std::signbit(textToSingle("-0,0")));
}

TEST(TextToFloat, TooLargeIsArithmeticErrorTooSmallIsZero)
{
    EXPECT_THROW((void)textToSingle("340282356779733661637539395458142568448"), ArithmeticError); // FLT_MAX + half ulp
    EXPECT_EQ(textToSingle("340282356779733661637539395458142568447"), std::numeric_limits<float>::max());
    EXPECT_THROW((void)textToSingle("1" + std::string(39, '0')), ArithmeticError);
    EXPECT_NO_THROW((void)textToDouble("1" + std::string(39, '0')));
    EXPECT_THROW((void)textToDouble("1" + std::string(309, '0')), ArithmeticError);
    EXPECT_THROW((void)textToDouble("-1" + std::string(309, '0')), ArithmeticError);
    EXPECT_EQ(textToSingle("0," + std::string(50, '0') + "1"), 0.0F);
    EXPECT_TRUE(std::signbit(textToSingle("-0," + std::string(50, '0') + "1")));
    EXPECT_EQ(textToDouble("0," + std::string(400, '0') + "1"), 0.0);
    EXPECT_GT(textToSingle("0," + std::string(40, '0') + "1"), 0.0F); // subnormal, no error
    EXPECT_THROW((void)textToDouble(std::string(100000, '1') + "," + std::string(10, '1')), ArithmeticError);
    EXPECT_EQ(textToDouble("0," + std::string(100000, '0') + "1"), 0.0);
}

TEST(SingleToText, SevenSignificantDigitsDecimalComma)
{
    EXPECT_EQ(singleToText(0.9920635F), "0,9920635");
    EXPECT_EQ(singleToText(168000.0F), "168000");
    EXPECT_EQ(singleToText(6172.835F), "6172,835");
    EXPECT_EQ(singleToText(2.380952F), "2,380952");
    EXPECT_EQ(singleToText(0.8F), "0,8");
    EXPECT_EQ(singleToText(-12.5F), "-12,5");
    EXPECT_EQ(singleToText(0.0F), "0");
    EXPECT_EQ(singleToText(-0.0F), "0");
    EXPECT_EQ(singleToText(1.0F / 3.0F), "0,3333333");
    EXPECT_EQ(singleToText(9999999.0F), "9999999");
    EXPECT_EQ(singleToText(0.0001F), "0,0001");
    EXPECT_EQ(singleToText(0.000123456789F), "0,0001234568");
}

TEST(SingleToText, VeryLargeAndSmallAreWrittenInFullAndReadBack)
{
    EXPECT_EQ(singleToText(1.2345678e15F), "1234568000000000");
    EXPECT_EQ(singleToText(10000000.0F), "10000000");
    EXPECT_EQ(singleToText(-25000000.0F), "-25000000");
    EXPECT_EQ(singleToText(9999999.5F), "10000000"); // seven digits round up into the next decade
    EXPECT_EQ(singleToText(0.00001F), "0,00001");
    EXPECT_EQ(singleToText(-0.000015F), "-0,000015");
    EXPECT_EQ(singleToText(1e-38F), "0,000000000000000000000000000000000000009999999"); // the single nearest 1E-38
    EXPECT_EQ(singleToText(std::numeric_limits<float>::max()), "340282300000000000000000000000000000000");
    for (const float value : {std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(),
                              -std::numeric_limits<float>::min(), 1.2345678e15F, 3.0e-30F}) {
        const float back = textToSingle(singleToText(value));
        EXPECT_NEAR(back, value, std::fabs(value) * 1e-6F) << singleToText(value);
    }
}

} // namespace
} // namespace prochnar
