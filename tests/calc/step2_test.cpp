#include "calc/steps.h"
#include "tests/support/worked_example.h"

#include <gtest/gtest.h>

namespace prochnar {
namespace {

using test_support::step2EmptyGirder;
using test_support::step2WorkedExample;

void expectForces(const Step2Result& r, const char* reaction, const char* diagonal, Message message)
{
    EXPECT_EQ(toText(r.reaction), reaction);
    EXPECT_EQ(toText(r.diagonalForce), diagonal);
    EXPECT_EQ(r.message, message);
}

TEST(Step2, WorkedExamples)
{
    // c = 0,6615, p = 14384,825, R = 2743,5449375; Z from the unrounded R.
    expectForces(step2(step2WorkedExample()), "2743,5449", "1829,03", Message::None);
    // Only the girder's own weight: 10 · 2 · 10 · 1,15.
    expectForces(step2(step2EmptyGirder()), "230", "153,3333", Message::None);
}

TEST(Step2, WireAtAPositionWithoutWeightStillCarriesTheFixedLoad)
{
    Step2Input in = step2EmptyGirder();
    in.wirePosition[3] = "10";
    // c = 0,86; p = 8,6 · 50 · 10 = 4300; 4300 / 20 = 215 more before the factor.
    expectForces(step2(in), "477,25", "318,1667", Message::None);
    // The 4047 load sits at the position of wire 1 only.
    in = step2EmptyGirder();
    in.wirePosition[0] = "10";
    // 215 + 4047 · 10 / 20 = 2238,5; (200 + 2238,5) · 1,15 = 2804,275.
    expectForces(step2(in), "2804,275", "1869,5167", Message::None);
}

TEST(Step2, GoverningMomentFlag)
{
    const auto flag = [](const std::string& mp, const std::string& mv) {
        Step2Input in = step2EmptyGirder();
        in.txtMp = mp;
        in.txtMv = mv;
        return step2(in).iceMomentGoverns;
    };
    EXPECT_EQ(flag("12", "12,0"), true);
    EXPECT_EQ(flag("100", "99,5"), true);
    EXPECT_EQ(flag("-5", "3"), false);
    // Compared as singles: these two differ only beyond single precision.
    EXPECT_EQ(flag("1,00000001", "1,00000002"), true);
    EXPECT_EQ(flag("x", "3"), std::nullopt);
    EXPECT_EQ(flag("3", ""), std::nullopt);
    EXPECT_EQ(flag("1" + std::string(40, '0'), "3"), std::nullopt); // too large for a single
}

TEST(Step2, MomentThatIsNotANumberStopsEverything)
{
    Step2Input in = step2WorkedExample();
    in.txtMv = "4.5";
    const Step2Result r = step2(in);
    expectForces(r, "0", "0", Message::DecimalComma);
    EXPECT_FALSE(r.iceMomentGoverns);
}

TEST(Step2, ConversionsComeBeforeTheCoefficientTest)
{
    Step2Input in = step2WorkedExample();
    in.wireWeightIce[5] = "2.5";
    in.Text3 = "";
    const Step2Result r = step2(in);
    expectForces(r, "0", "0", Message::DecimalComma);
    EXPECT_EQ(r.iceMomentGoverns, true); // written before the failing conversion

    in = step2WorkedExample();
    in.txtLpp = "";
    expectForces(step2(in), "0", "0", Message::DecimalComma);
}

TEST(Step2, EmptyCoefficientSkipsTheComputation)
{
    Step2Input in = step2WorkedExample();
    in.Text5 = "";
    expectForces(step2(in), "0", "0", Message::CoefficientsNotSet);
    in = step2WorkedExample();
    in.Text3 = "";
    expectForces(step2(in), "0", "0", Message::CoefficientsNotSet);
    // A blank is filled: the coefficients are not converted here.
    in = step2WorkedExample();
    in.Text3 = " ";
    in.Text5 = "abc";
    expectForces(step2(in), "2743,5449", "1829,03", Message::None);
}

TEST(Step2, ZeroDivisorsAreArithmeticErrors)
{
    Step2Input in = step2EmptyGirder();
    in.txtl = "0";
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.txtLp = "0"; // 0 / 0 in every wire term
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.txtH = "0"; // the reaction stands, the diagonal force does not
    expectForces(step2(in), "230", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.txtLpp = "-3"; // root of a negative number
    expectForces(step2(in), "230", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.txtLpp = "-1,5"; // lп + h = 0
    expectForces(step2(in), "230", "0", Message::Arithmetic);
}

TEST(Step2, OverflowsAreArithmeticErrors)
{
    Step2Input in = step2EmptyGirder();
    in.wireWeight[0] = "922337203685477"; // 10 · a overflows Fixed4
    in.wirePosition[0] = "1";
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.txtG = "922337203685477"; // G + Gg
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.txtLp = "900000000000000"; // a reaction beyond the range of Fixed4
    in.txtG = "1000";
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = step2EmptyGirder();
    in.wirePosition[0] = "1" + std::string(20, '0'); // beyond Fixed4 as it is read
    expectForces(step2(in), "0", "0", Message::Arithmetic);
}

} // namespace
} // namespace prochnar
