#include "calc/convert.h"
#include "calc/steps.h"
#include "tests/support/worked_example.h"

#include <gtest/gtest.h>

namespace prochnar {
namespace {

std::string text(const std::optional<float>& value) { return value ? singleToText(*value) : "(empty)"; }

void expectResults(const Step3Result& r, const char* t4, const char* t7, const char* z2, const char* t13,
                   const char* t14, Message message)
{
    EXPECT_EQ(text(r.Text4), t4);
    EXPECT_EQ(text(r.Text7), t7);
    EXPECT_EQ(text(r.txtz2), z2);
    EXPECT_EQ(text(r.Text13), t13);
    EXPECT_EQ(text(r.Text14), t14);
    EXPECT_EQ(r.message, message);
}

TEST(Step3, WorkedExample)
{
    expectResults(step3(test_support::step3WorkedExample()), "0,9920635", "0,4761905", "2,380952", "6172,835", "168000",
                  Message::None);
    Step3Input in = test_support::step3WorkedExample();
    in.Text5 = "0,7";
    in.Text10 = "6,5";
    EXPECT_EQ(text(step3(in).Text14), "95550");
}

TEST(Step3, FlagSelectsTheGoverningMomentExactly)
{
    Step3Input in = test_support::step3WorkedExample();
    in.Text15 = "0";
    in.txtMv = "10"; // twice the ice moment
    EXPECT_EQ(text(step3(in).Text4), "1,984127");
    for (const char* other : {" 1", "01", "1 ", "", "Text15", "2"}) {
        in = test_support::step3WorkedExample();
        in.Text15 = other;
        expectResults(step3(in), "0", "0,4761905", "2,380952", "6172,835", "168000", Message::None);
    }
}

TEST(Step3, BothMomentsMustConvertWhateverTheFlag)
{
    Step3Input in = test_support::step3WorkedExample();
    in.txtMv = "4.0";
    expectResults(step3(in), "(empty)", "(empty)", "(empty)", "(empty)", "(empty)", Message::DecimalComma);
}

TEST(Step3, DependenciesOfTheResults)
{
    Step3Input in = test_support::step3WorkedExample();
    in.txtH = "3";
    expectResults(step3(in), "0,4960317", "0,2380952", "2,380952", "6172,835", "168000", Message::None);
    in = test_support::step3WorkedExample();
    in.txtMp = "-5";
    in.txtMn = "-3";
    expectResults(step3(in), "-0,9920635", "-0,4761905", "2,380952", "6172,835", "168000", Message::None);
}

TEST(Step3, AFailureEmptiesTheFailingResultAndAllAfterIt)
{
    const auto failAt = [](std::string Step3Input::*field, const char* value) {
        Step3Input in = test_support::step3WorkedExample();
        in.*field = value;
        return step3(in);
    };
    expectResults(failAt(&Step3Input::txtMn, ""), "0,9920635", "(empty)", "(empty)", "(empty)", "(empty)",
                  Message::DecimalComma);
    expectResults(failAt(&Step3Input::txtZ1, "Text13"), "0,9920635", "0,4761905", "(empty)", "(empty)", "(empty)",
                  Message::DecimalComma);
    expectResults(failAt(&Step3Input::txtQp, "1.5"), "0,9920635", "0,4761905", "2,380952", "(empty)", "(empty)",
                  Message::DecimalComma);
    expectResults(failAt(&Step3Input::Text5, " "), "0,9920635", "0,4761905", "2,380952", "6172,835", "(empty)",
                  Message::DecimalComma);
    expectResults(failAt(&Step3Input::Text10, "10 cm"), "0,9920635", "0,4761905", "2,380952", "6172,835", "(empty)",
                  Message::DecimalComma);
    for (std::string Step3Input::*first :
         {&Step3Input::txtMp, &Step3Input::txtH, &Step3Input::Text3, &Step3Input::Text1}) {
        expectResults(failAt(first, "x"), "(empty)", "(empty)", "(empty)", "(empty)", "(empty)", Message::DecimalComma);
    }
}

TEST(Step3, ZeroDivisorsAreArithmeticErrors)
{
    Step3Input in = test_support::step3WorkedExample();
    in.txtH = "0";
    expectResults(step3(in), "(empty)", "(empty)", "(empty)", "(empty)", "(empty)", Message::Arithmetic);
    in.Text15 = "x"; // Text4 not computed: h fails in the tensioned chord
    expectResults(step3(in), "0", "(empty)", "(empty)", "(empty)", "(empty)", Message::Arithmetic);

    in = test_support::step3WorkedExample();
    in.Text3 = "0";
    expectResults(step3(in), "(empty)", "(empty)", "(empty)", "(empty)", "(empty)", Message::Arithmetic);
    in.Text15 = "x"; // φ of the chord is used only for Text4
    expectResults(step3(in), "0", "0,4761905", "2,380952", "6172,835", "168000", Message::None);

    in = test_support::step3WorkedExample();
    in.Text1 = "0";
    in.Text15 = "x";
    expectResults(step3(in), "0", "(empty)", "(empty)", "(empty)", "(empty)", Message::Arithmetic);

    in = test_support::step3WorkedExample();
    in.txtMp = "0";
    in.txtH = "0"; // 0 / 0
    expectResults(step3(in), "(empty)", "(empty)", "(empty)", "(empty)", "(empty)", Message::Arithmetic);
}

TEST(Step3, ResultsBeyondSinglePrecisionAreArithmeticErrors)
{
    Step3Input in = test_support::step3WorkedExample();
    in.txtQp = "4" + std::string(38, '0'); // too large to be read as a single
    expectResults(step3(in), "0,9920635", "0,4761905", "2,380952", "(empty)", "(empty)", Message::Arithmetic);

    in = test_support::step3WorkedExample();
    in.Text1 = "1" + std::string(38, '0'); // 10^7 · Rp · φ · A beyond a single
    in.Text15 = "x";
    expectResults(step3(in), "0", "0,0000000000000000000000000000000000001", "0,0000000000000000000000000000000000005",
                  "6172,835", "(empty)", Message::Arithmetic);

    in = test_support::step3WorkedExample();
    in.txtZ1 = "0,0000000000000000000000000000000000000000001"; // underflow is no error
    EXPECT_EQ(text(step3(in).txtz2), "0");
}

} // namespace
} // namespace prochnar
