#include "convert.h"

#include "errors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>
#include <type_traits>

namespace prochnar {

namespace {

// A number text taken apart: sign, the digits before the comma without
// their leading zeros and the digits after it. Both digit strings may be
// empty, but not together in the text.
struct DecimalText {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    // The digits of whole and then of fraction as one integer, counted as
    // they are read, when there are no more than kDigitsIn64Bits of them (as
    // a table's numbers all are); 0 otherwise.
    std::uint64_t digits = 0;
    [[nodiscard]] bool counted() const;
};

constexpr std::size_t kDigitsIn64Bits = 18;

// Ten to the powers up to 10^33, as 128-bit integers: the exact comparisons
// bring numbers to a scale with them, and a single's seven digits are
// counted with them.
constexpr std::array<Int128, 34> kPowersOfTen = [] {
    std::array<Int128, 34> powers{};
    Int128 power = 1;
    for (Int128& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

bool DecimalText::counted() const { return whole.size() + fraction.size() <= kDigitsIn64Bits; }

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the blanks around it.
constexpr std::string_view withoutBlanks(std::string_view text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && isBlank(*begin)) {
        ++begin;
    }
    while (end > begin && isBlank(end[-1])) {
        --end;
    }
    return {begin, static_cast<std::size_t>(end - begin)};
}

// A text of one digit, as most wires' unused positions and weights ("0")
// and many whole inputs are: its value, with nothing more to read.
constexpr std::optional<int> oneDigit(std::string_view text)
{
    if (text.size() == 1 && isDigit(text.front())) {
        return text.front() - '0';
    }
    return std::nullopt;
}

// A number text is read by every step of every girder of a table, some
// hundred times a row: one pass over its characters, which also counts its
// digits' value, with no bounds checked twice. Put into each conversion: a
// call and its returned parts cost as much as reading a short number.
[[gnu::always_inline]] inline DecimalText parseDecimal(std::string_view text)
{
    const std::string_view body = withoutBlanks(text);
    const char* at = body.data();
    const char* const end = at + body.size();
    // Leading zeros leave the value at 0; past kDigitsIn64Bits digits it
    // wraps, and is not used.
    std::uint64_t value = 0;

    DecimalText number;
    if (at < end && (*at == '+' || *at == '-')) {
        number.negative = *at == '-';
        ++at;
    }
    const char* const digits = at;
    while (at < end && *at == '0') {
        ++at;
    }
    const char* const whole = at;
    while (at < end && isDigit(*at)) {
        value = value * 10 + static_cast<unsigned>(*at - '0');
        ++at;
    }
    const bool wholeWritten = at != digits; // "0" and "00,5" have a whole part, with no digits left
    number.whole = std::string_view(whole, static_cast<std::size_t>(at - whole));
    if (at < end && *at == ',') {
        const char* const fraction = ++at;
        while (at < end && isDigit(*at)) {
            value = value * 10 + static_cast<unsigned>(*at - '0');
            ++at;
        }
        number.fraction = std::string_view(fraction, static_cast<std::size_t>(at - fraction));
    }
    if (at != end || (!wholeWritten && number.fraction.empty())) {
        throw ConversionError{};
    }
    number.digits = number.counted() ? value : 0;
    return number;
}

std::string_view withoutLeadingZeros(std::string_view digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// The digits of whole and then of fraction as one integer, counted in 64
// bits while they fit.
Int128 digitsValue(std::string_view whole, std::string_view fraction)
{
    const auto count = [&](auto value) {
        for (const char c : whole) {
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        for (const char c : fraction) {
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        return static_cast<Int128>(value);
    };
    return whole.size() + fraction.size() <= kDigitsIn64Bits ? count(std::uint64_t{0}) : count(Int128{0});
}

// The digits of a number text as one integer, with the count of those after
// the comma, when there are few enough for the kind to hold both that
// integer and the power of ten exactly; none otherwise.
template <typename Float> std::optional<Float> exactlyHeld(const DecimalText& number)
{
    // A float holds integers to 2^24 and 10^10 (5^10 < 2^24) exactly; a
    // double holds integers to 2^53 and 10^22.
    constexpr bool kSingle = std::is_same_v<Float, float>;
    constexpr std::size_t kMaxDigits = kSingle ? 7 : 15;
    constexpr std::size_t kMaxScale = kSingle ? 10 : 22;
    static constexpr auto kPowers = [] {
        std::array<Float, kMaxScale + 1> powers{};
        Float power = 1;
        for (Float& entry : powers) {
            entry = power;
            power *= 10;
        }
        return powers;
    }();
    if (number.whole.size() + number.fraction.size() > kMaxDigits || number.fraction.size() > kMaxScale) {
        return std::nullopt;
    }
    // Both exact: the one division is correctly rounded, as from_chars is.
    return static_cast<Float>(static_cast<std::int64_t>(number.digits)) / kPowers.at(number.fraction.size());
}

// The single nearest a number from the double nearest it, when that is the
// single nearest the number itself: rounding twice differs from rounding
// once only when the double lies halfway between two singles, and a double
// outside the singles' normal range is left to from_chars too.
std::optional<float> singleOfDouble(double value)
{
    if (value == 0) {
        return 0.0F;
    }
    if (!(value >= std::numeric_limits<float>::min() && value <= std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    // The 29 bits of a double's mantissa below a single's: halfway is 1 and then zeros.
    constexpr int kBelowSingle = std::numeric_limits<double>::digits - std::numeric_limits<float>::digits;
    constexpr std::uint64_t kBelowMask = (std::uint64_t{1} << kBelowSingle) - 1;
    constexpr std::uint64_t kHalfway = std::uint64_t{1} << (kBelowSingle - 1);
    if ((std::bit_cast<std::uint64_t>(value) & kBelowMask) == kHalfway) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

// Shared by the two floating kinds: a text of few digits by one exact
// division (a single through the double of up to fifteen digits), any other
// through from_chars (which is correctly rounded and locale-free) in the
// form "-W.F".
template <typename Float> Float textToFloat(std::string_view text)
{
    if (const std::optional<int> digit = oneDigit(text)) {
        return static_cast<Float>(*digit);
    }
    const DecimalText number = parseDecimal(text);
    const std::string_view whole = number.whole;
    if (const std::optional<Float> held = exactlyHeld<Float>(number)) {
        return number.negative ? -*held : *held;
    }
    if constexpr (std::is_same_v<Float, float>) {
        if (const std::optional<double> wide = exactlyHeld<double>(number)) {
            if (const std::optional<float> single = singleOfDouble(*wide)) {
                return number.negative ? -*single : *single;
            }
        }
    }

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
    if (const std::optional<int> digit = oneDigit(text)) {
        return Fixed4::fromCount(*digit * Fixed4::kScale);
    }
    const DecimalText number = parseDecimal(text);
    const std::string_view whole = number.whole;

    // The largest count has 19 digits, 15 of them whole.
    constexpr std::size_t kMaxWholeDigits = 15;
    if (whole.size() > kMaxWholeDigits) {
        throw ArithmeticError("Fixed4 overflow");
    }
    const std::string_view kept = number.fraction.substr(0, 4);
    constexpr std::array<std::int64_t, 5> kScales{10'000, 1'000, 100, 10, 1};
    Int128 count =
        (number.counted() && kept.size() == number.fraction.size() ? Int128{number.digits} : digitsValue(whole, kept)) *
        kScales.at(kept.size());

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
    if (const std::optional<int> digit = oneDigit(text)) {
        return {.digits = *digit, .scale = 0};
    }
    const DecimalText number = parseDecimal(text);
    const std::string_view whole = number.whole;
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
    // The counted digits are the text's when the fraction ends in no zero.
    exact.digits = number.counted() && fraction.size() == number.fraction.size() ? Int128{number.digits}
                                                                                 : digitsValue(whole, fraction);
    exact.scale = static_cast<int>(fraction.size());
    if (number.negative) {
        exact.digits = -exact.digits;
    }
    return exact;
}

std::optional<ExactPair> overCommonScale(ExactDecimal a, ExactDecimal b)
{
    constexpr int kMaxScale = 24;
    const int scale = std::max(a.scale, b.scale);
    if (scale > kMaxScale) {
        return std::nullopt;
    }
    // Each below 10^33 once brought to the scale: its digits below 10^(33 −
    // k) before they are multiplied by 10^k, in one step.
    for (ExactDecimal* value : {&a, &b}) {
        const int raise = scale - value->scale; // not below zero: scale is the larger
        if (raise >= static_cast<int>(kPowersOfTen.size())) {
            if (value->digits != 0) {
                return std::nullopt; // 10^34 or more times a digit
            }
            continue;
        }
        const auto steps = static_cast<std::size_t>(raise);
        const Int128 below = kPowersOfTen.at(kPowersOfTen.size() - 1 - steps);
        if (value->digits >= below || value->digits <= -below) {
            return std::nullopt;
        }
        value->digits *= kPowersOfTen.at(steps);
    }
    return ExactPair{.a = a.digits, .b = b.digits, .scale = scale};
}

double textToDouble(std::string_view text) { return textToFloat<double>(text); }

float textToSingle(std::string_view text) { return textToFloat<float>(text); }

namespace {

// The first seven significant digits of a single's exact value, rounded half
// to even, and the power of ten of the first, as to_chars writes it with six
// digits after the point: counted in 128-bit integers, exactly, for every
// single but the extremes (below about 7e-21 or above about 2e34), which
// fall to to_chars. A row of a table writes some ten results: this costs a
// fraction of formatting each one.
struct SignificantDigits {
    std::int64_t digits = 0; // 1 000 000 to 9 999 999
    int exponent = 0;
};

std::optional<SignificantDigits> sevenDigitsExactly(float magnitude)
{
    // magnitude = mantissa · 2^shift, from the single's own bits.
    constexpr int kFractionBits = std::numeric_limits<float>::digits - 1; // 23
    constexpr std::uint32_t kFractionMask = (std::uint32_t{1} << kFractionBits) - 1;
    constexpr int kSubnormalShift =
        std::numeric_limits<float>::min_exponent - std::numeric_limits<float>::digits; // -149
    const auto bits = std::bit_cast<std::uint32_t>(magnitude);
    const auto biased = static_cast<int>(bits >> kFractionBits);
    if (biased == 2 * std::numeric_limits<float>::max_exponent - 1) {
        return std::nullopt; // infinite, or not a number
    }
    const std::int64_t mantissa = biased == 0 ? bits & kFractionMask : (bits & kFractionMask) | (kFractionMask + 1);
    const int shift = biased == 0 ? kSubnormalShift : biased + kSubnormalShift - 1;
    constexpr int kMaxShift = 90;
    constexpr int kMaxScale = 30; // 2^24 · 10^30 < 2^124
    // magnitude lies in [2^(binary − 1), 2^binary), and log10 of 2^(binary −
    // 1) is about (binary − 1) · 1233 / 4096, a little below it: the power of
    // ten, one either side of that at most, is found by the loop below.
    const int binary = static_cast<int>(std::bit_width(static_cast<std::uint64_t>(mantissa))) + shift;
    int exponent = ((binary - 1) * 1233) >> 12;
    for (int tries = 0; tries < 3; ++tries) {
        const int scale = 6 - exponent; // digits = magnitude · 10^scale
        if (shift > kMaxShift || shift < -kMaxShift || scale > kMaxScale || scale < -kMaxScale) {
            return std::nullopt;
        }
        Int128 numerator = mantissa;
        Int128 denominator = 1;
        (scale > 0 ? numerator : denominator) *= kPowersOfTen.at(static_cast<std::size_t>(std::abs(scale)));
        (shift > 0 ? numerator : denominator) <<= std::abs(shift);
        // A denominator that is a power of two divides by shifting: the
        // common case of a result between 10^-20 and 10^7.
        const bool halving = scale >= 0 && shift <= 0;
        Int128 digits = halving ? numerator >> -shift : numerator / denominator;
        if (digits < 1'000'000) { // the estimate of the power of ten was one too high
            --exponent;
            continue;
        }
        if (digits >= 10'000'000) {
            ++exponent;
            continue;
        }
        const Int128 twiceRest = 2 * (halving ? numerator & (denominator - 1) : numerator % denominator);
        if (twiceRest > denominator || (twiceRest == denominator && digits % 2 != 0)) {
            ++digits;
        }
        if (digits == 10'000'000) {
            return SignificantDigits{.digits = 1'000'000, .exponent = exponent + 1};
        }
        return SignificantDigits{.digits = static_cast<std::int64_t>(digits), .exponent = exponent};
    }
    return std::nullopt;
}

// The same from to_chars, for any single.
SignificantDigits sevenDigitsFormatted(float magnitude)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<double>(magnitude),
                                      std::chars_format::scientific, 6);
    const std::string_view formatted(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = formatted.find('e');
    SignificantDigits found;
    for (const char c : formatted.substr(0, e)) {
        if (isDigit(c)) {
            found.digits = found.digits * 10 + (c - '0');
        }
    }
    // from_chars takes no "+": the exponent's sign is read apart.
    const std::string_view exponentText = formatted.substr(e + 2);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), found.exponent);
    found.exponent = formatted[e + 1] == '-' ? -found.exponent : found.exponent;
    return found;
}

} // namespace

std::string fixedText(long long units, int decimals)
{
    // Written from the last digit into a buffer and made a string once: a
    // table writes several a row.
    std::array<char, 64> buffer{}; // 20 digits, the comma, a sign and 40 decimals
    char* const end = buffer.data() + buffer.size();
    char* at = end;
    unsigned long long rest =
        units < 0 ? 0ULL - static_cast<unsigned long long>(units) : static_cast<unsigned long long>(units);
    for (int place = 0; place < std::min(decimals, 40); ++place) {
        *--at = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (decimals > 0) {
        *--at = ',';
    }
    do {
        *--at = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (units < 0) {
        *--at = '-';
    }
    return {at, end};
}

std::string singleToText(float value)
{
    if (value == 0.0F) {
        return "0"; // also for negative zero
    }
    // Seven significant digits of the single's exact value.
    const bool negative = std::signbit(value);
    const float size = std::fabs(value);
    const std::optional<SignificantDigits> exactly = sevenDigitsExactly(size);
    const SignificantDigits found = exactly ? *exactly : sevenDigitsFormatted(size);
    std::array<char, 7> digits{};
    std::to_chars(digits.data(), digits.data() + digits.size(), found.digits); // seven digits, always
    const std::string_view significant(digits.data(), digits.size());
    const std::string_view kept = significant.substr(0, significant.find_last_not_of('0') + 1);
    const int exponent = found.exponent;

    // Always written in full, never with an exponent: every result the
    // program writes reads back through its own conversion.
    std::string text;
    text.reserve(kept.size() + static_cast<std::size_t>(std::abs(exponent)) + 3);
    if (negative) {
        text += '-';
    }
    if (exponent >= 0) {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (kept.size() <= wholeDigits) {
            text += kept;
            text.append(wholeDigits - kept.size(), '0');
        } else {
            text += kept.substr(0, wholeDigits);
            text += ',';
            text += kept.substr(wholeDigits);
        }
    } else {
        text += "0,";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += kept;
    }
    return text;
}

DecimalMark decimalMarkOf(std::string_view text)
{
    // Most cells are digits with one mark or none: told in one pass over
    // them; any other byte is read below.
    std::size_t marks = 0;
    bool comma = false;
    bool plainDigits = false;
    bool plain = true;
    for (const char c : text) {
        if (isDigit(c)) {
            plainDigits = true;
        } else if (c == ',' || c == '.') {
            ++marks;
            comma = c == ',';
        } else {
            plain = false;
            break;
        }
    }
    if (plain) {
        if (!plainDigits || marks == 0) {
            return DecimalMark::None;
        }
        return marks > 1 ? DecimalMark::Grouped : comma ? DecimalMark::Comma : DecimalMark::Point;
    }
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
        } else if (const std::string_view rest = body.substr(at); rest.starts_with(kNoBreak)) {
            ++blanks;
            at += kNoBreak.size() - 1;
        } else if (rest.starts_with(kNarrowNoBreak)) {
            ++blanks;
            at += kNarrowNoBreak.size() - 1;
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
