#pragma once

#include "form.h"

#include <string_view>

namespace prochnar {

// What a press of a step button has to tell the user; at most one per press.
enum class Message {
    None,
    ValuesNotSet,       // step 1: a required field is empty
    CoefficientsNotSet, // step 2: a buckling coefficient is empty
    DecimalComma,       // a text is not a number
    Arithmetic,         // division by zero, invalid operation or overflow
};

// The one place that words the calculation's messages and picks their icons.
[[nodiscard]] std::string_view messageText(Message message);
[[nodiscard]] MessageIcon messageIcon(Message message);

} // namespace prochnar
