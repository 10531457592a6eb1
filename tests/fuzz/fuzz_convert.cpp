// Fuzzes the text conversions with any bytes: all three kinds accept exactly
// the number form; a Fixed4 prints back to itself; a single is finite and its
// text, without "inf", "nan", an exponent or a point, reads back close to it;
// too large for a double is too large for the others as well.

#include "calc/convert.h"
#include "calc/errors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace prochnar;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// The accepted form, written independently of the parser (by hand: a
// regular expression would cost the fuzzer most of its speed).
bool hasNumberForm(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    text = first == std::string_view::npos ? std::string_view{}
                                           : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto commas = std::count(text.begin(), text.end(), ',');
    return digits > 0 && commas <= 1 && digits + commas == static_cast<std::ptrdiff_t>(text.size());
}

enum class Outcome { Value, Conversion, Arithmetic };

template <typename F> Outcome outcome(F&& convert)
{
    try {
        convert();
        return Outcome::Value;
    } catch (const ConversionError&) {
        return Outcome::Conversion;
    } catch (const ArithmeticError&) {
        return Outcome::Arithmetic;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool numberForm = hasNumberForm(text);
    Fixed4 fixed;
    double d = 0;
    float f = 0;
    const Outcome fixedOutcome = outcome([&] { fixed = textToFixed4(text); });
    const Outcome doubleOutcome = outcome([&] { d = textToDouble(text); });
    const Outcome singleOutcome = outcome([&] { f = textToSingle(text); });
    check((fixedOutcome != Outcome::Conversion) == numberForm && (doubleOutcome != Outcome::Conversion) == numberForm &&
          (singleOutcome != Outcome::Conversion) == numberForm);
    if (fixedOutcome == Outcome::Value) {
        check(toText(textToFixed4(toText(fixed))) == toText(fixed) && textToFixed4(toText(fixed)) == fixed);
    }
    check(doubleOutcome != Outcome::Value || std::isfinite(d));
    check(doubleOutcome != Outcome::Arithmetic ||
          (fixedOutcome == Outcome::Arithmetic && singleOutcome == Outcome::Arithmetic));
    if (singleOutcome == Outcome::Value) {
        const std::string printed = singleToText(f);
        check(std::isfinite(f) && printed.find_first_of(".aEin") == std::string::npos);
        check(std::fabs(textToSingle(printed) - f) <= std::fabs(f) * 1e-6F);
    }
    return 0;
}
