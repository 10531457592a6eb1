#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// A hot-rolled equal-leg steel angle of the catalogue (GOST 8509-93), its
// figures held exactly as printed.
struct Angle {
    int legMm;            // leg width b, mm
    int thicknessTenths;  // flange thickness t, 0,1 mm
    int areaHundredths;   // section area S, 0,01 cm²
    int radiusHundredths; // least radius of gyration iуг, 0,01 cm
    int filletTenths;     // radius R of the fillet between the legs, 0,1 mm
    friend bool operator==(const Angle&, const Angle&) = default;
};

// The whole catalogue, by leg width and then thickness.
[[nodiscard]] std::span<const Angle> angleCatalogue();

// "L 63×5", "L 70×4,5".
[[nodiscard]] std::string designation(const Angle& angle);
// The figures as the form writes numbers: decimal comma, no trailing zeros.
[[nodiscard]] std::string legText(const Angle& angle);       // "63"
[[nodiscard]] std::string thicknessText(const Angle& angle); // "4,5"
[[nodiscard]] std::string areaText(const Angle& angle);      // "6,13"
[[nodiscard]] std::string radiusText(const Angle& angle);    // "1,25"
[[nodiscard]] std::string filletText(const Angle& angle);    // "7", "5,5" (mm)

// The positions in the catalogue of the angles whose size starts with what
// was typed: "63" gives all of 63 mm, "63×5", "63x5" and "L 63 х 5" the one.
// Blanks and an "L" are ignored; the sign between the sizes may be ×, x, х
// or *; a thickness may have a comma or a point. An empty text gives all.
[[nodiscard]] std::vector<std::size_t> filterAngles(std::string_view typed);

// The angle a designation names whole, written as the filter takes it
// ("L 75×6", "75x6", "75х6", "70×4.5"), if any: "70x4" is L 70×4, not L 70×4,5.
[[nodiscard]] std::optional<std::size_t> angleNamed(std::string_view typed);

// Whether the area and radius texts are, as numbers, exactly the angle's.
[[nodiscard]] bool holdsAngle(const Angle& angle, std::string_view area, std::string_view radius);

// The catalogue angle whose area and radius the texts hold, as a number,
// if any: no two angles of the catalogue share both.
[[nodiscard]] std::optional<std::size_t> angleHeldBy(std::string_view area, std::string_view radius);

// The least radius of gyration of a sharp-cornered equal-leg angle of leg b
// and thickness t, made of two rectangles, b × t and (b − t) × t, in the unit
// of b and t: √(Imin / A), the minor principal moment Imin = Ix − |Ixy| about
// the centroid. Without the fillets it is within 3 % of the catalogue's.
[[nodiscard]] double sharpAngleRadius(double leg, double thickness);

// The angle with its flanges thinned evenly to a measured thickness of
// `tenths` (0,1 mm), the fillet kept, its figures as the form writes them,
// rounded down (on the safe side): area A(tм) = A − [t(2b − t) − tм(2b −
// tм)] / 100 cm², least radius i(tм) = i · ρ(b, tм) / ρ(b, t). None when the
// thickness is not above zero or above the angle's own.
[[nodiscard]] std::optional<Angle> thinnedAngle(const Angle& angle, int tenths);

// What a row of step 3 asks of the angle's flanges, as the form's texts.
struct FlangeInputs {
    std::string_view required = {};    // the required area, cm²
    bool compressed = false;           // the flanges are compressed: their local stability counts
    bool usesPhi = false;              // the required area was divided by φ (the compressed chord)
    std::string_view slenderness = {}; // λ shown for the member (lblJ, lblJ1)
    std::string_view resistance = {};  // Rp, 10⁷ Н/м² (Text1)
    // A force the angle's flanges must still carry, when the member has one:
    // the force a diagonal receives (Text13) against what it carries now
    // (Text14, Rp · φ · A). Empty when the row has none.
    std::string_view force = {};
    std::string_view carried = {};
};

struct FlangeLimit {
    enum class Governs { Strength, LocalStability };
    int tenths = 0; // 0,1 mm, rounded up
    Governs governs = Governs::Strength;
    friend bool operator==(const FlangeLimit&, const FlangeLimit&) = default;
};

// The least thickness t′ to which the flanges of the angle, thinned evenly
// with the fillet kept, may wear: the larger of two limits.
//
// Strength: the thinner angle's area meets the row's demand. Thinned from t
// to t′ the flanges lose t(2b − t) − t′(2b − t′) mm², so A(t′) = A − [t(2b −
// t) − t′(2b − t′)] / 100 cm², compared exactly with the required area. Where the
// demand was divided by φ, φ follows the thinner angle: its least radius
// i(t′) = i · ρ(b, t′) / ρ(b, t), with ρ that of the sharp-cornered angle of
// two rectangles, gives λ(t′) = λ · i / i(t′) and φ(t′) = φ · φт(λ(t′)) /
// φт(λ), φт the table's φ interpolated linearly without rounding; the demand
// becomes required · φ / φ(t′) = required · φт(λ) / φт(λ(t′)), so the φ the
// engineer gave cancels and holds at t′ = t. Where the member also has a
// force to carry, the thinner angle carries carried · A(t′)/A · φ(t′)/φ,
// at least the force's magnitude.
//
// Local stability of a compressed flange (SP 16.13330, SNiP II-23-81*, for
// an equal-leg angle): the free width from the end of the fillet to the toe,
// b − t′ − R, at most t′ · λ̄uf · √(E / Ry), with λ̄uf = 0,40 + 0,07 · λ̄ and
// λ̄ = λ · √(Ry / E) taken within 0,8 … 4, E = 2,06 · 10⁵ МПа, Ry = 10 · Rp
// МПа; so t′ ≥ (b − R) / (1 + λ̄uf · √(E / Ry)). It may pass t: the flange is
// already too slender.
//
// None when the required area is not a number or more than the angle's, when
// only strength counts and no flange at all would do, when a text a limit
// needs is not a number or Rp is not above zero, and for a demand with φ
// when λ lies outside the table of φ; likewise when a force is given that
// is not a number, or is more than the angle carries now, or λ lies outside
// the table. A λ(t′) outside the table does not hold.
[[nodiscard]] std::optional<FlangeLimit> leastFlange(const Angle& angle, const FlangeInputs& inputs);

} // namespace prochnar
