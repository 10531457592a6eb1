#include "convert.h"

#include "errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace prochnar {

namespace {

// A number text taken apart: sign, the digits before the comma and the
// digits after it. Both digit strings may be empty, but not together.
struct DecimalText {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
};

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view digitRun(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

// The text without the blanks around it.
std::string_view withoutBlanks(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

DecimalText parseDecimal(std::string_view text)
{
    const std::string_view body = withoutBlanks(text);

    DecimalText number;
    std::size_t pos = 0;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
        number.negative = body[pos] == '-';
        ++pos;
    }
    number.whole = digitRun(body, pos);
    if (pos < body.size() && body[pos] == ',') {
        ++pos;
        number.fraction = digitRun(body, pos);
    }
    if (pos != body.size() || (number.whole.empty() && number.fraction.empty())) {
        throw ConversionError{};
    }
    return number;
}

std::string_view withoutLeadingZeros(std::string_view digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// Shared by the two floating kinds: the digits go to from_chars (which is
// correctly rounded and locale-free) in the form "-W.F".
template <typename Float> Float textToFloat(std::string_view text)
{
    const DecimalText number = parseDecimal(text);
    const std::string_view whole = withoutLeadingZeros(number.whole);

    std::string canonical = number.negative ? "-" : "";
    canonical += whole.empty() ? std::string_view{"0"} : whole;
    if (!number.fraction.empty()) {
        canonical += '.';
        canonical += number.fraction;
    }

    Float value{};
    const char* first = canonical.data();
    const char* last = first + canonical.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports both overflow and underflow to zero this way.
        if (!whole.empty()) {
            throw ArithmeticError("number too large");
        }
        return number.negative ? -Float{0} : Float{0};
    }
    if (ec != std::errc{} || ptr != last) {
        throw ConversionError{}; // cannot happen for a parsed text
    }
    return value;
}

} // namespace

Fixed4 textToFixed4(std::string_view text)
{
    const DecimalText number = parseDecimal(text);
    const std::string_view whole = withoutLeadingZeros(number.whole);

    // The largest count has 19 digits, 15 of them whole.
    constexpr std::size_t kMaxWholeDigits = 15;
    if (whole.size() > kMaxWholeDigits) {
        throw ArithmeticError("Fixed4 overflow");
    }
    Int128 count = 0;
    for (const char c : whole) {
        count = count * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < 4; ++i) {
        count = count * 10 + (i < number.fraction.size() ? number.fraction[i] - '0' : 0);
    }

    // Round the digits beyond the fourth: above half up, half to even.
    if (number.fraction.size() > 4) {
        const std::string_view rest = number.fraction.substr(4);
        const char first = rest.front();
        const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || count % 2 != 0))) {
            ++count;
        }
    }

    if (number.negative) {
        count = -count;
    }
    if (count > std::numeric_limits<std::int64_t>::max() || count < -std::numeric_limits<std::int64_t>::max()) {
        throw ArithmeticError("Fixed4 overflow");
    }
    return Fixed4::fromCount(static_cast<std::int64_t>(count));
}

ExactDecimal textToExact(std::string_view text)
{
    const DecimalText number = parseDecimal(text);
    const std::string_view whole = withoutLeadingZeros(number.whole);
    std::string_view fraction = number.fraction;
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);

    // 10^36 < 2^127: 36 digits always fit.
    constexpr std::size_t kMaxDigits = 36;
    const std::size_t digitCount =
        whole.empty() ? withoutLeadingZeros(fraction).size() : whole.size() + fraction.size();
    if (digitCount > kMaxDigits) {
        throw ArithmeticError("too many digits");
    }
    ExactDecimal exact;
    for (const char c : whole) {
        exact.digits = exact.digits * 10 + (c - '0');
    }
    for (const char c : fraction) {
        exact.digits = exact.digits * 10 + (c - '0');
    }
    exact.scale = static_cast<int>(fraction.size());
    if (number.negative) {
        exact.digits = -exact.digits;
    }
    return exact;
}

std::optional<ExactPair> overCommonScale(ExactDecimal a, ExactDecimal b)
{
    constexpr int kMaxScale = 24;
    const Int128 limit = Int128{1'000'000'000'000'000'000} * 1'000'000'000'000'000; // 10^33
    const int scale = std::max(a.scale, b.scale);
    if (scale > kMaxScale) {
        return std::nullopt;
    }
    for (ExactDecimal* value : {&a, &b}) {
        for (; value->scale < scale; ++value->scale) {
            if (value->digits >= limit || value->digits <= -limit) {
                return std::nullopt;
            }
            value->digits *= 10;
        }
        if (value->digits >= limit || value->digits <= -limit) {
            return std::nullopt;
        }
    }
    return ExactPair{.a = a.digits, .b = b.digits, .scale = scale};
}

double textToDouble(std::string_view text) { return textToFloat<double>(text); }

float textToSingle(std::string_view text) { return textToFloat<float>(text); }

std::string singleToText(float value)
{
    if (value == 0.0F) {
        return "0"; // also for negative zero
    }
    // Seven significant digits of the single's exact value: "d.dddddde±XX".
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<double>(value),
                                      std::chars_format::scientific, 6);
    const std::string_view formatted(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

    const std::size_t e = formatted.find('e');
    const bool negative = formatted.front() == '-';
    std::string digits;
    for (const char c : formatted.substr(0, e)) {
        if (isDigit(c)) {
            digits += c;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    // from_chars takes no "+": the exponent's sign is read apart.
    const std::string_view exponentText = formatted.substr(e + 2);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    exponent = formatted[e + 1] == '-' ? -exponent : exponent;

    // Always written in full, never with an exponent: every result the
    // program writes reads back through its own conversion.
    std::string text = negative ? "-" : "";
    if (exponent >= 0) {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= wholeDigits) {
            text += digits;
            text.append(wholeDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, wholeDigits);
            text += ',';
            text += digits.substr(wholeDigits);
        }
    } else {
        text += "0,";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
    }
    return text;
}

DecimalMark decimalMarkOf(std::string_view text)
{
    std::string_view body = withoutBlanks(text);
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        body.remove_prefix(1);
    }
    // A no-break space (U+00A0) and a narrow one (U+202F) are the groups'
    // marks spreadsheets write, besides the plain space.
    constexpr std::string_view kNoBreak = "\u00A0";
    constexpr std::string_view kNarrowNoBreak = "\u202F";
    std::size_t commas = 0;
    std::size_t points = 0;
    std::size_t blanks = 0;
    bool digits = false;
    for (std::size_t at = 0; at < body.size(); ++at) {
        const char c = body[at];
        if (isDigit(c)) {
            digits = true;
        } else if (c == ',' || c == '.') {
            (c == ',' ? commas : points) += 1;
        } else if (isBlank(c)) {
            ++blanks;
        } else if (body.substr(at).starts_with(kNoBreak) || body.substr(at).starts_with(kNarrowNoBreak)) {
            ++blanks;
            at += (body.substr(at).starts_with(kNoBreak) ? kNoBreak.size() : kNarrowNoBreak.size()) - 1;
        } else {
            return DecimalMark::None; // not written as a number: it tells nothing
        }
    }
    if (!digits || commas + points == 0) {
        return DecimalMark::None;
    }
    if (commas + points > 1 || blanks > 0) {
        return DecimalMark::Grouped;
    }
    return commas == 1 ? DecimalMark::Comma : DecimalMark::Point;
}

std::string withDecimalComma(std::string_view text)
{
    std::string comma(text);
    std::replace(comma.begin(), comma.end(), '.', ',');
    return comma;
}

std::string withSeparator(std::string text, DecimalSeparator separator)
{
    if (separator == DecimalSeparator::Point) {
        std::replace(text.begin(), text.end(), ',', '.');
    }
    return text;
}

} // namespace prochnar
