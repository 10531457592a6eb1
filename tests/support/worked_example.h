#pragma once

#include "calc/form.h"
#include "calc/steps.h"

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

// The inputs of each step on its own worked example.

// Every required field filled: chord 3 / 1,5 · 100 = 200, diagonal
// ((1,2 + 0,8) / 2) / 2 · 100 = 50.
inline Step1Input step1WorkedExample()
{
    return Step1Input{.txtLpp = "3",
                      .txtH = "1,2",
                      .txtB = "0,8",
                      .txtIy = "1,5",
                      .txtIyy = "2",
                      .txtMn = "1",
                      .txtMp = "2",
                      .txtMv = "3",
                      .txtLp = "20",
                      .txtl = "65",
                      .txtG = "1",
                      .txtGg = "1,5",
                      .Text9 = "12,5",
                      .Text10 = "10"};
}

// All wires at their defaults "0", both coefficients filled: only the
// girder's own weight, reaction 230 and diagonal force 153,3333.
inline Step2Input step2EmptyGirder()
{
    Step2Input in;
    in.txtMp = "5";
    in.txtMv = "4";
    in.wirePosition.fill("0");
    in.wireWeight.fill("0");
    in.wireWeightIce.fill("0");
    in.txtLp = "20";
    in.txtl = "50";
    in.txtG = "0,8";
    in.txtGg = "1,2";
    in.txtH = "1,5";
    in.txtLpp = "2,5";
    in.Text3 = "0,8";
    in.Text5 = "0,7";
    return in;
}

// One wire at 7 m: reaction 2743,5449, diagonal force 1829,03.
inline Step2Input step2WorkedExample()
{
    Step2Input in = step2EmptyGirder();
    in.wirePosition[0] = "7";
    in.wireWeight[0] = "1";
    in.wireWeightIce[0] = "2,5";
    in.txtl = "65";
    in.txtG = "1";
    in.txtGg = "1,5";
    return in;
}

// Text4 0,9920635, Text7 0,4761905, txtz2 2,380952, Text13 6172,835, Text14 168000.
inline Step3Input step3WorkedExample()
{
    return Step3Input{.txtMp = "5",
                      .txtMv = "4",
                      .txtMn = "3",
                      .txtH = "1,5",
                      .Text1 = "21",
                      .Text10 = "10",
                      .Text3 = "0,8",
                      .Text5 = "0,8",
                      .txtQp = "12345,67",
                      .txtZ1 = "50000",
                      .Text15 = "1"};
}

} // namespace prochnar::test_support
