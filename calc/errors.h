#pragma once

#include <stdexcept>

namespace prochnar {

// A text that is not a number of the accepted form (the classic "type
// mismatch"): the user typed a point, a letter or nothing.
class ConversionError : public std::runtime_error {
public:
    ConversionError() : std::runtime_error("not a number") {}
};

// Division by zero, an invalid operation (0/0, the root of a negative
// number) or a value beyond the range of its numeric kind.
class ArithmeticError : public std::runtime_error {
public:
    explicit ArithmeticError(const char* what) : std::runtime_error(what) {}
};

} // namespace prochnar
