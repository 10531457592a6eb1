#include "calc/steps.h"
#include "tests/support/worked_example.h"

#include <gtest/gtest.h>

namespace prochnar {
namespace {

Step1Input filled() { return test_support::step1WorkedExample(); }

void expectResult(const Step1Result& r, const char* chord, const char* diagonal, Message message, bool unlock)
{
    EXPECT_EQ(toText(r.chordSlenderness), chord);
    EXPECT_EQ(toText(r.diagonalSlenderness), diagonal);
    EXPECT_EQ(r.message, message);
    EXPECT_EQ(r.unlockStep2, unlock);
}

TEST(Step1, WorkedExamples)
{
    expectResult(step1(filled()), "200", "50", Message::None, true);

    Step1Input in = filled();
    in.txtLpp = "2";
    in.txtIy = "3";
    in.txtH = "1,23456";
    in.txtB = "0,5";
    in.txtIyy = "1";
    // h is read as 1,2346: 86,73, where a double h would give 86,728.
    expectResult(step1(in), "66,6667", "86,73", Message::None, true);
}

TEST(Step1, AnyEmptyRequiredFieldStopsBeforeConverting)
{
    for (std::string Step1Input::*field :
         {&Step1Input::txtLpp, &Step1Input::txtH, &Step1Input::txtB, &Step1Input::txtIy, &Step1Input::txtIyy,
          &Step1Input::txtMn, &Step1Input::txtMp, &Step1Input::txtMv, &Step1Input::txtLp, &Step1Input::txtl,
          &Step1Input::txtG, &Step1Input::txtGg, &Step1Input::Text9, &Step1Input::Text10}) {
        Step1Input in = filled();
        in.*field = "";
        in.txtIyy = in.txtIyy.empty() ? "" : "not a number"; // the filled test comes first
        expectResult(step1(in), "0", "0", Message::ValuesNotSet, false);
    }
}

TEST(Step1, FilledOnlyFieldsMayHoldAnyText)
{
    Step1Input in = filled();
    in.txtMn = "abc";
    in.txtLp = " ";
    in.Text9 = "  ";
    in.Text10 = "2.5";
    expectResult(step1(in), "200", "50", Message::None, true);
}

TEST(Step1, ConversionErrorsKeepWhatWasComputed)
{
    Step1Input in = filled();
    in.txtIy = "1.5";
    expectResult(step1(in), "0", "0", Message::DecimalComma, false);

    in = filled();
    in.txtLpp = " ";
    expectResult(step1(in), "0", "0", Message::DecimalComma, false);

    for (std::string Step1Input::*field : {&Step1Input::txtH, &Step1Input::txtB, &Step1Input::txtIyy}) {
        in = filled();
        in.*field = "x";
        expectResult(step1(in), "200", "0", Message::DecimalComma, false);
    }
}

TEST(Step1, ArithmeticErrorsAreReported)
{
    Step1Input in = filled();
    in.txtIy = "0";
    expectResult(step1(in), "0", "0", Message::Arithmetic, false);

    in = filled();
    in.txtIyy = "-0";
    expectResult(step1(in), "200", "0", Message::Arithmetic, false);

    in = filled();
    in.txtLpp = "0";
    in.txtIy = "0"; // 0 / 0
    expectResult(step1(in), "0", "0", Message::Arithmetic, false);

    // Slenderness beyond the range of Fixed4.
    in = filled();
    in.txtIy = "0,0000000000001";
    expectResult(step1(in), "0", "0", Message::Arithmetic, false);

    // h + b beyond the range.
    in = filled();
    in.txtH = "922337203685477";
    in.txtB = "1";
    expectResult(step1(in), "200", "0", Message::Arithmetic, false);

    // A number too large for a double.
    in = filled();
    in.txtLpp = "1" + std::string(400, '0');
    expectResult(step1(in), "0", "0", Message::Arithmetic, false);
}

TEST(Step1, NegativeAndZeroInputsAreAccepted)
{
    Step1Input in = filled();
    in.txtIy = "-1,5";
    expectResult(step1(in), "-200", "50", Message::None, true);

    in = filled();
    in.txtLpp = "0";
    expectResult(step1(in), "0", "50", Message::None, true);
}

} // namespace
} // namespace prochnar
