#pragma once

#include "calc/form.h"

#include <array>

namespace prochnar::test_support {

struct FieldText {
    const char* field;
    const char* text;
};

// A whole calculation that succeeds: step 1 (slenderness 166,6667 and 57,5),
// the buckling coefficients, and one wire at 7 m (reaction 2743,5449,
// diagonal force 1829,03).
inline constexpr std::array<FieldText, 19> kWorkedExample{{
    {"txtMn", "3"},   {"txtMp", "5"},   {"txtMv", "4"},    {"txtLp", "20"},    {"txtl", "65"},
    {"txtG", "1"},    {"txtGg", "1,5"}, {"txtLpp", "2,5"}, {"txtH", "1,5"},    {"txtB", "0,8"},
    {"txtIy", "1,5"}, {"txtIyy", "2"},  {"Text9", "12,5"}, {"Text10", "10"},   {"Text3", "0,8"},
    {"Text5", "0,8"}, {"txtl1", "7"},   {"txtgp1", "1"},   {"txtgpp1", "2,5"},
}};

inline void fillWorkedExample(Form& form)
{
    for (const auto& [field, text] : kWorkedExample) {
        form.setText(field, text);
    }
}

} // namespace prochnar::test_support
