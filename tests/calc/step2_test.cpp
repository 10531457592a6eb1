#include "calc/steps.h"

#include <gtest/gtest.h>

namespace prochnar {
namespace {

// All wires at their defaults "0", both coefficients filled.
Step2Input emptyGirder()
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

// The worked example: one wire at 7 m.
Step2Input oneWire()
{
    Step2Input in = emptyGirder();
    in.wirePosition[0] = "7";
    in.wireWeight[0] = "1";
    in.wireWeightIce[0] = "2,5";
    in.txtl = "65";
    in.txtG = "1";
    in.txtGg = "1,5";
    return in;
}

void expectForces(const Step2Result& r, const char* reaction, const char* diagonal, Message message)
{
    EXPECT_EQ(toText(r.reaction), reaction);
    EXPECT_EQ(toText(r.diagonalForce), diagonal);
    EXPECT_EQ(r.message, message);
}

TEST(Step2, WorkedExamples)
{
    // c = 0,6615, p = 14384,825, R = 2743,5449375; Z from the unrounded R.
    expectForces(step2(oneWire()), "2743,5449", "1829,03", Message::None);
    // Only the girder's own weight: 10 · 2 · 10 · 1,15.
    expectForces(step2(emptyGirder()), "230", "153,3333", Message::None);
}

TEST(Step2, WireAtAPositionWithoutWeightStillCarriesTheFixedLoad)
{
    Step2Input in = emptyGirder();
    in.wirePosition[3] = "10";
    // c = 0,86; p = 8,6 · 50 · 10 = 4300; 4300 / 20 = 215 more before the factor.
    expectForces(step2(in), "477,25", "318,1667", Message::None);
    // The 4047 load sits at the position of wire 1 only.
    in = emptyGirder();
    in.wirePosition[0] = "10";
    // 215 + 4047 · 10 / 20 = 2238,5; (200 + 2238,5) · 1,15 = 2804,275.
    expectForces(step2(in), "2804,275", "1869,5167", Message::None);
}

TEST(Step2, GoverningMomentFlag)
{
    const auto flag = [](const std::string& mp, const std::string& mv) {
        Step2Input in = emptyGirder();
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
    Step2Input in = oneWire();
    in.txtMv = "4.5";
    const Step2Result r = step2(in);
    expectForces(r, "0", "0", Message::DecimalComma);
    EXPECT_FALSE(r.iceMomentGoverns);
}

TEST(Step2, ConversionsComeBeforeTheCoefficientTest)
{
    Step2Input in = oneWire();
    in.wireWeightIce[5] = "2.5";
    in.Text3 = "";
    const Step2Result r = step2(in);
    expectForces(r, "0", "0", Message::DecimalComma);
    EXPECT_EQ(r.iceMomentGoverns, true); // written before the failing conversion

    in = oneWire();
    in.txtLpp = "";
    expectForces(step2(in), "0", "0", Message::DecimalComma);
}

TEST(Step2, EmptyCoefficientSkipsTheComputation)
{
    Step2Input in = oneWire();
    in.Text5 = "";
    expectForces(step2(in), "0", "0", Message::CoefficientsNotSet);
    in = oneWire();
    in.Text3 = "";
    expectForces(step2(in), "0", "0", Message::CoefficientsNotSet);
    // A blank is filled: the coefficients are not converted here.
    in = oneWire();
    in.Text3 = " ";
    in.Text5 = "abc";
    expectForces(step2(in), "2743,5449", "1829,03", Message::None);
}

TEST(Step2, ZeroDivisorsAreArithmeticErrors)
{
    Step2Input in = emptyGirder();
    in.txtl = "0";
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = emptyGirder();
    in.txtLp = "0"; // 0 / 0 in every wire term
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = emptyGirder();
    in.txtH = "0"; // the reaction stands, the diagonal force does not
    expectForces(step2(in), "230", "0", Message::Arithmetic);

    in = emptyGirder();
    in.txtLpp = "-3"; // root of a negative number
    expectForces(step2(in), "230", "0", Message::Arithmetic);

    in = emptyGirder();
    in.txtLpp = "-1,5"; // lп + h = 0
    expectForces(step2(in), "230", "0", Message::Arithmetic);
}

TEST(Step2, OverflowsAreArithmeticErrors)
{
    Step2Input in = emptyGirder();
    in.wireWeight[0] = "922337203685477"; // 10 · a overflows Fixed4
    in.wirePosition[0] = "1";
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = emptyGirder();
    in.txtG = "922337203685477"; // G + Gg
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = emptyGirder();
    in.txtLp = "900000000000000"; // a reaction beyond the range of Fixed4
    in.txtG = "1000";
    expectForces(step2(in), "0", "0", Message::Arithmetic);

    in = emptyGirder();
    in.wirePosition[0] = "1" + std::string(20, '0'); // beyond Fixed4 as it is read
    expectForces(step2(in), "0", "0", Message::Arithmetic);
}

} // namespace
} // namespace prochnar
