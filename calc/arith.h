#pragma once

#include "errors.h"

#include <cmath>

// Double arithmetic under the steps' error rule: a division by zero, an
// invalid operation or an overflow throws ArithmeticError where it arises;
// an inexact result or an underflow does not. The operands are always
// finite (they come from converted texts or earlier checked results), so
// an infinite result can only be an overflow and a NaN only an invalid
// operation.
namespace prochnar::arith {

inline double checked(double result)
{
    if (std::isnan(result)) {
        throw ArithmeticError("invalid operation");
    }
    if (std::isinf(result)) {
        throw ArithmeticError("overflow");
    }
    return result;
}

inline double add(double a, double b) { return checked(a + b); }
inline double mul(double a, double b) { return checked(a * b); }

inline double div(double a, double b)
{
    if (b == 0.0) {
        throw ArithmeticError(a == 0.0 ? "invalid operation" : "division by zero");
    }
    return checked(a / b);
}

// x to the power 0.5. The correctly rounded square root is exactly that
// power rounded; a negative x is an invalid operation.
inline double powHalf(double x)
{
    if (x < 0.0) {
        throw ArithmeticError("invalid operation");
    }
    return std::sqrt(x);
}

// Rounds to single precision once, at the end of a result.
inline float toSingle(double x)
{
    const auto single = static_cast<float>(checked(x));
    if (std::isinf(single)) {
        throw ArithmeticError("single overflow");
    }
    return single;
}

} // namespace prochnar::arith
