#include "steps.h"

#include "arith.h"
#include "convert.h"
#include "errors.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

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

// The conversions of a step, each told the field whose text it reads: when
// one throws, `at` names that field, and it is empty after any that did not.
class FieldReader {
public:
    explicit FieldReader(std::optional<Field>& at) : at_{at} {}

    [[nodiscard]] Fixed4 fixed4(Field field, std::string_view text) { return read(field, text, textToFixed4); }
    [[nodiscard]] double real(Field field, std::string_view text) { return read(field, text, textToDouble); }
    [[nodiscard]] float single(Field field, std::string_view text) { return read(field, text, textToSingle); }

private:
    template <typename Number> Number read(Field field, std::string_view text, Number (*convert)(std::string_view))
    {
        at_ = field;
        const Number value = convert(text);
        at_.reset();
        return value;
    }

    std::optional<Field>& at_;
};

// A slenderness, a length over a radius of gyration times 100.
Fixed4 slendernessOf(double length, double radius) { return Fixed4::fromDouble(mul(div(length, radius), 100.0)); }

// A diagonal's design length, the mean of h and b, each rounded to four
// digits as it is read.
double halfSumOf(Fixed4 h, Fixed4 b) { return div((h + b).toDouble(), 2.0); }

// 10^7 turns Rp into the unit of its caption, 10^4 converts between m² and cm².
constexpr double kRpUnit = 1e7;
constexpr double kAreaUnit = 1e4;

// The force a diagonal angle of the actual area carries: Rp · φ · A.
float diagonalCapacityOf(double rp, double phiDiagonal, double area)
{
    const double c = div(area, kAreaUnit);
    return arith::toSingle(mul(mul(mul(kRpUnit, rp), phiDiagonal), c));
}

} // namespace

Fixed4 chordSlenderness(std::string_view txtLpp, std::string_view txtIy)
{
    return slendernessOf(textToDouble(txtLpp), textToDouble(txtIy));
}

Fixed4 diagonalSlenderness(std::string_view txtH, std::string_view txtB, std::string_view txtIyy)
{
    return slendernessOf(halfSumOf(textToFixed4(txtH), textToFixed4(txtB)), textToDouble(txtIyy));
}

float diagonalCapacity(std::string_view Text1, std::string_view Text5, std::string_view Text10)
{
    const double rp = textToSingle(Text1);
    const double phiDiagonal = textToSingle(Text5);
    return diagonalCapacityOf(rp, phiDiagonal, textToSingle(Text10));
}

Step1Result step1(const Step1Input& in)
{
    Step1Result r;
    FieldReader read(r.about);
    r.message = trapErrors([&] {
        // All twelve are tested, then the two radii of gyration; the first
        // empty one is the one the message is about.
        const std::array<std::pair<Field, const std::string_view*>, 14> required{{
            {Field::txtLpp, &in.txtLpp},
            {Field::txtH, &in.txtH},
            {Field::txtB, &in.txtB},
            {Field::txtMn, &in.txtMn},
            {Field::txtMp, &in.txtMp},
            {Field::txtMv, &in.txtMv},
            {Field::txtLp, &in.txtLp},
            {Field::txtl, &in.txtl},
            {Field::txtG, &in.txtG},
            {Field::txtGg, &in.txtGg},
            {Field::Text9, &in.Text9},
            {Field::Text10, &in.Text10},
            {Field::txtIy, &in.txtIy},
            {Field::txtIyy, &in.txtIyy},
        }};
        const auto* empty =
            std::find_if(required.begin(), required.end(), [](const auto& field) { return !isFilled(*field.second); });
        if (empty != required.end()) {
            r.about = empty->first;
            return Message::ValuesNotSet;
        }

        // Chord: lп / iуг · 100, divided first.
        const double lpp = read.real(Field::txtLpp, in.txtLpp);
        const double iy = read.real(Field::txtIy, in.txtIy);
        r.chordSlenderness = slendernessOf(lpp, iy);

        // Diagonal: its design length is the mean of h and b, counted before
        // its radius is read.
        const Fixed4 h = read.fixed4(Field::txtH, in.txtH);
        const Fixed4 b = read.fixed4(Field::txtB, in.txtB);
        const double halfSum = halfSumOf(h, b);
        const double iyy = read.real(Field::txtIyy, in.txtIyy);
        r.diagonalSlenderness = slendernessOf(halfSum, iyy);

        r.unlockStep2 = true;
        return Message::None;
    });
    return r;
}

Step2Result step2(const Step2Input& in)
{
    Step2Result r;
    FieldReader read(r.about);
    r.message = trapErrors([&] {
        // Which upper-chord moment governs; equal moments give the ice case.
        const float mp = read.single(Field::txtMp, in.txtMp);
        const float mv = read.single(Field::txtMv, in.txtMv);
        r.iceMomentGoverns = mp >= mv;

        std::array<Fixed4, kWireCount> position;
        std::array<Fixed4, kWireCount> weight;
        std::array<Fixed4, kWireCount> weightIce;
        for (std::size_t i = 0; i < kWireCount; ++i) {
            position[i] = read.fixed4(kWirePositions[i], in.wirePosition[i]);
        }
        for (std::size_t i = 0; i < kWireCount; ++i) {
            weight[i] = read.fixed4(kWireWeights[i], in.wireWeight[i]);
        }
        for (std::size_t i = 0; i < kWireCount; ++i) {
            weightIce[i] = read.fixed4(kWireWeightsIce[i], in.wireWeightIce[i]);
        }
        const Fixed4 girderLength = read.fixed4(Field::txtLp, in.txtLp);
        const Fixed4 span = read.fixed4(Field::txtl, in.txtl);
        const Fixed4 girderWeight = read.fixed4(Field::txtG, in.txtG);
        const Fixed4 girderWeightIce = read.fixed4(Field::txtGg, in.txtGg);
        const Fixed4 cellHeight = read.fixed4(Field::txtH, in.txtH);
        const Fixed4 elementLength = read.fixed4(Field::txtLpp, in.txtLpp);

        if (!isFilled(in.Text3) || !isFilled(in.Text5)) {
            r.about = isFilled(in.Text3) ? Field::Text5 : Field::Text3;
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
    constexpr double kMomentFactor = 10'000.0;

    Step3Result r;
    FieldReader read(r.about);
    r.message = trapErrors([&] {
        const double mp = read.single(Field::txtMp, in.txtMp);
        const double mv = read.single(Field::txtMv, in.txtMv);
        const double h = read.single(Field::txtH, in.txtH);
        const double phiChord = read.single(Field::Text3, in.Text3);
        const double rp = read.single(Field::Text1, in.Text1);

        float compressed = 0.0F; // stays 0 when the flag is neither "1" nor "0"
        if (in.Text15 == "1" || in.Text15 == "0") {
            const double moment = in.Text15 == "1" ? mp : mv;
            const double a = div(mul(moment, kMomentFactor), add(h, h));
            const double b = div(a, mul(mul(kRpUnit, rp), phiChord));
            compressed = arith::toSingle(mul(kAreaUnit, b));
        }
        r.Text4 = compressed;

        const double mn = read.single(Field::txtMn, in.txtMn);
        const double a = div(mul(mn, kMomentFactor), add(h, h));
        const double b = div(a, mul(kRpUnit, rp));
        r.Text7 = arith::toSingle(mul(kAreaUnit, b));

        const double z = read.single(Field::txtZ1, in.txtZ1);
        r.txtz2 = arith::toSingle(mul(kAreaUnit, div(z, mul(kRpUnit, rp))));

        const double q = read.single(Field::txtQp, in.txtQp);
        r.Text13 = arith::toSingle(div(q, 2.0));

        const double phiDiagonal = read.single(Field::Text5, in.Text5);
        const double area = read.single(Field::Text10, in.Text10);
        r.Text14 = diagonalCapacityOf(rp, phiDiagonal, area);
        return Message::None;
    });
    return r;
}

} // namespace prochnar
