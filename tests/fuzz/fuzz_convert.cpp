// Fuzzes the text conversions: any bytes go in; checks what comes out.
//  - A text is accepted exactly when it has the number form: blanks around,
//    a sign, digits with at most one comma, at least one digit.
//  - Fixed4: its text reads back to the same value.
//  - Single: a finite value whose text reads back as a number close to it;
//    the text never holds "inf", "nan", an exponent or a point.
//  - Double and single agree on what they accept.

#include "calc/convert.h"
#include "calc/errors.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

using namespace prochnar;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// The accepted form, written independently of the parser.
bool hasNumberForm(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    int digits = 0;
    int commas = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == ',') {
            ++commas;
        } else {
            return false;
        }
    }
    return digits > 0 && commas <= 1;
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

    std::optional<Fixed4> fixed;
    const Outcome fixedOutcome = outcome([&] { fixed = textToFixed4(text); });
    check((fixedOutcome != Outcome::Conversion) == numberForm);
    if (fixed) {
        const std::string printed = toText(*fixed);
        check(textToFixed4(printed) == *fixed);
        check(toText(textToFixed4(printed)) == printed);
    }

    double d = 0;
    const Outcome doubleOutcome = outcome([&] { d = textToDouble(text); });
    check((doubleOutcome != Outcome::Conversion) == numberForm);
    if (doubleOutcome == Outcome::Value) {
        check(std::isfinite(d));
    }
    // A number too large for a double is too large for a Fixed4 as well.
    if (doubleOutcome == Outcome::Arithmetic) {
        check(fixedOutcome == Outcome::Arithmetic);
    }

    float f = 0;
    const Outcome singleOutcome = outcome([&] { f = textToSingle(text); });
    check((singleOutcome != Outcome::Conversion) == numberForm);
    if (doubleOutcome == Outcome::Arithmetic) {
        check(singleOutcome == Outcome::Arithmetic);
    }
    if (singleOutcome == Outcome::Value) {
        check(std::isfinite(f));
        const std::string printed = singleToText(f);
        check(printed.find_first_of(".aEin") == std::string::npos);
        const float back = textToSingle(printed);
        check(std::fabs(back - f) <= std::fabs(f) * 1e-6F);
    }
    return 0;
}
