#pragma once

#include "decimal.h"
#include "fixed4.h"

#include <optional>
#include <string>
#include <string_view>

namespace prochnar {

// The conversions between field texts and numbers. None of them reads the
// process locale: the decimal separator is always the comma.
//
// Accepted number texts: optional spaces or tabs around, an optional "+" or
// "-", then digits with at most one decimal comma and at least one digit
// ("12", "-0,5", "5,", ",5"). Anything else (a decimal point, an exponent,
// digit grouping, an empty text) throws ConversionError. A number too large
// for the target kind throws ArithmeticError; one too small for a floating
// kind becomes zero (or a subnormal) without error.

// A field counts as filled when its text is not empty; blanks count as filled.
[[nodiscard]] constexpr bool isFilled(std::string_view text) { return !text.empty(); }

// Exact from the decimal digits, rounded to four fractional digits, ties to even.
[[nodiscard]] Fixed4 textToFixed4(std::string_view text);
// Correctly rounded to the nearest double.
[[nodiscard]] double textToDouble(std::string_view text);
// Correctly rounded to the nearest single, directly from the digits.
[[nodiscard]] float textToSingle(std::string_view text);

// The exact value of a number text, digits / 10^scale, for comparisons that
// must not round: "6,130" gives 613 and 2. Throws ConversionError as the
// conversions above do, and ArithmeticError for more than 36 significant
// digits.
struct ExactDecimal {
    Int128 digits = 0;
    int scale = 0; // digits after the comma, trailing zeros dropped
};
[[nodiscard]] ExactDecimal textToExact(std::string_view text);

// Two exact values written over one scale: a = digits / 10^scale, likewise b.
// None when that scale would pass 24 or a count 10^33, so that the counts
// times 10^4, and 10^scale times 10^7, stay exact in 128 bits.
struct ExactPair {
    Int128 a = 0;
    Int128 b = 0;
    int scale = 0;
};
[[nodiscard]] std::optional<ExactPair> overCommonScale(ExactDecimal a, ExactDecimal b);

// At most 7 significant digits, decimal comma, trailing zeros dropped,
// negative zero written "0", always in full without an exponent ("1234568000",
// "0,00001234568"), so that the text reads back as a number. The value must
// be finite.
[[nodiscard]] std::string singleToText(float value);

// A count of units with `decimals` digits after the comma (at most 40), each
// written: "4,6", "0,08", "-12,0". The texts of margins, rates, lives and φ.
[[nodiscard]] std::string fixedText(long long units, int decimals);

// The conversions above read the comma only: a point table's numbers
// (decimal.h) are turned into the comma form first, and the program's own
// numbers back.

// What a cell written as a number says of the decimal separator: none (a
// whole number, or a text that is no number at all), the comma, the point,
// or a thousands mark that makes it read both ways ("1.234,5", "1,234.5",
// "1 234,5", "1.234.567"), which no separator alone reads.
enum class DecimalMark { None, Comma, Point, Grouped };
[[nodiscard]] DecimalMark decimalMarkOf(std::string_view text);

// The text with each decimal point turned into a comma, nothing else changed.
[[nodiscard]] std::string withDecimalComma(std::string_view text);
// A number text of the program (comma form) written with the separator.
[[nodiscard]] std::string withSeparator(std::string text, DecimalSeparator separator);

} // namespace prochnar
