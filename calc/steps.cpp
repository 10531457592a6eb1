#include "steps.h"

#include "arith.h"
#include "convert.h"
#include "errors.h"

#include <algorithm>

namespace prochnar {

using arith::add;
using arith::div;
using arith::mul;

namespace {

// Runs a step's computation under the error rule: a conversion error or an
// arithmetic error abandons it where it arises and becomes the press's message.
template <typename Computation> Message trapErrors(Computation&& computation)
{
    try {
        return computation();
    } catch (const ConversionError&) {
        return Message::DecimalComma;
    } catch (const ArithmeticError&) {
        return Message::Arithmetic;
    }
}

} // namespace

Step1Result step1(const Step1Input& in)
{
    Step1Result r;
    r.message = trapErrors([&] {
        // All twelve are tested, then the two radii of gyration.
        const std::array firstTest{&in.txtLpp, &in.txtH, &in.txtB, &in.txtMn, &in.txtMp, &in.txtMv,
                                   &in.txtLp,  &in.txtl, &in.txtG, &in.txtGg, &in.Text9, &in.Text10};
        const bool allFilled =
            std::all_of(firstTest.begin(), firstTest.end(), [](const std::string* t) { return isFilled(*t); });
        if (!allFilled || !isFilled(in.txtIy) || !isFilled(in.txtIyy)) {
            return Message::ValuesNotSet;
        }

        // Chord: lп / iуг · 100, divided first.
        const double lpp = textToDouble(in.txtLpp);
        const double iy = textToDouble(in.txtIy);
        r.chordSlenderness = Fixed4::fromDouble(mul(div(lpp, iy), 100.0));

        // Diagonal: its design length is the mean of h and b, each rounded to
        // four digits as it is read.
        const Fixed4 h = textToFixed4(in.txtH);
        const Fixed4 b = textToFixed4(in.txtB);
        const double halfSum = div((h + b).toDouble(), 2.0);
        const double iyy = textToDouble(in.txtIyy);
        r.diagonalSlenderness = Fixed4::fromDouble(mul(div(halfSum, iyy), 100.0));

        r.unlockStep2 = true;
        return Message::None;
    });
    return r;
}

Step2Result step2(const Step2Input& in)
{
    Step2Result r;
    r.message = trapErrors([&] {
        // Which upper-chord moment governs; equal moments give the ice case.
        const float mp = textToSingle(in.txtMp);
        const float mv = textToSingle(in.txtMv);
        r.iceMomentGoverns = mp >= mv;

        std::array<Fixed4, kWireCount> position;
        std::array<Fixed4, kWireCount> weight;
        std::array<Fixed4, kWireCount> weightIce;
        for (std::size_t i = 0; i < kWireCount; ++i) {
            position[i] = textToFixed4(in.wirePosition[i]);
        }
        for (std::size_t i = 0; i < kWireCount; ++i) {
            weight[i] = textToFixed4(in.wireWeight[i]);
        }
        for (std::size_t i = 0; i < kWireCount; ++i) {
            weightIce[i] = textToFixed4(in.wireWeightIce[i]);
        }
        const Fixed4 girderLength = textToFixed4(in.txtLp);
        const Fixed4 span = textToFixed4(in.txtl);
        const Fixed4 girderWeight = textToFixed4(in.txtG);
        const Fixed4 girderWeightIce = textToFixed4(in.txtGg);
        const Fixed4 cellHeight = textToFixed4(in.txtH);
        const Fixed4 elementLength = textToFixed4(in.txtLpp);

        if (!isFilled(in.Text3) || !isFilled(in.Text5)) {
            return Message::CoefficientsNotSet;
        }

        // Each wire: its weights plus 43 / l per metre of span, over the span,
        // at its position; the share of the far support is taken by / Lp.
        double sum = 0.0;
        for (std::size_t i = 0; i < kWireCount; ++i) {
            const Fixed4 c = Fixed4::fromDouble(div(43.0, span.toDouble()));
            const Fixed4 load = (weight[i] + c) + (weightIce[i] - weight[i]);
            const Fixed4 p = ((10 * load) * span) * position[i];
            const double term = div(p.toDouble(), girderLength.toDouble());
            sum = i == 0 ? term : add(sum, term);
        }
        // The fixed load of 4047 at the position of wire 1.
        sum = add(sum, div(mul(position[0].toDouble(), 4047.0), girderLength.toDouble()));

        const Fixed4 w = 10 * (girderWeight + girderWeightIce);
        const double reaction = mul(add(mul(div(girderLength.toDouble(), 2.0), w.toDouble()), sum), 1.15);
        r.reaction = Fixed4::fromDouble(reaction);

        // The diagonal force from the unrounded reaction and the cell.
        const double root = arith::powHalf((elementLength + cellHeight).toDouble());
        const double d = div(cellHeight.toDouble(), root);
        r.diagonalForce = Fixed4::fromDouble(div(reaction, add(d, d)));
        return Message::None;
    });
    return r;
}

Step3Result step3(const Step3Input& in)
{
    // 10^7 turns Rp into the unit of its caption, 10^4 converts between m² and cm².
    constexpr double kRpUnit = 1e7;
    constexpr double kAreaUnit = 1e4;
    constexpr double kMomentFactor = 10'000.0;

    Step3Result r;
    r.message = trapErrors([&] {
        const double mp = textToSingle(in.txtMp);
        const double mv = textToSingle(in.txtMv);
        const double h = textToSingle(in.txtH);
        const double phiChord = textToSingle(in.Text3);
        const double rp = textToSingle(in.Text1);

        float compressed = 0.0F; // stays 0 when the flag is neither "1" nor "0"
        if (in.Text15 == "1" || in.Text15 == "0") {
            const double moment = in.Text15 == "1" ? mp : mv;
            const double a = div(mul(moment, kMomentFactor), add(h, h));
            const double b = div(a, mul(mul(kRpUnit, rp), phiChord));
            compressed = arith::toSingle(mul(kAreaUnit, b));
        }
        r.Text4 = compressed;

        const double mn = textToSingle(in.txtMn);
        const double a = div(mul(mn, kMomentFactor), add(h, h));
        const double b = div(a, mul(kRpUnit, rp));
        r.Text7 = arith::toSingle(mul(kAreaUnit, b));

        const double z = textToSingle(in.txtZ1);
        r.txtz2 = arith::toSingle(mul(kAreaUnit, div(z, mul(kRpUnit, rp))));

        const double q = textToSingle(in.txtQp);
        r.Text13 = arith::toSingle(div(q, 2.0));

        const double phiDiagonal = textToSingle(in.Text5);
        const double area = textToSingle(in.Text10);
        const double c = div(area, kAreaUnit);
        r.Text14 = arith::toSingle(mul(mul(mul(kRpUnit, rp), phiDiagonal), c));
        return Message::None;
    });
    return r;
}

} // namespace prochnar
