#include "angles.h"

#include "convert.h"
#include "errors.h"
#include "fixed4.h"
#include "phi_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace prochnar {

namespace {

// The figures of the catalogue, and the fillet radius, which depends on the
// leg width alone.
struct AngleRow {
    int legMm;
    int thicknessTenths;
    int areaHundredths;
    int radiusHundredths;
};

struct FilletRow {
    int legMm;
    int filletTenths;
};

constexpr auto kRows = std::to_array<AngleRow>({
#include "angle_rows.inc"
});

constexpr auto kFillets = std::to_array<FilletRow>({
#include "fillet_rows.inc"
});

// 0 for a leg width without a fillet radius: the check below stops the build.
constexpr int filletOf(int legMm)
{
    for (const FilletRow& row : kFillets) {
        if (row.legMm == legMm) {
            return row.filletTenths;
        }
    }
    return 0;
}

constexpr std::array<Angle, kRows.size()> joined()
{
    std::array<Angle, kRows.size()> angles{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const AngleRow& row = kRows[i];
        angles[i] = Angle{.legMm = row.legMm,
                          .thicknessTenths = row.thicknessTenths,
                          .areaHundredths = row.areaHundredths,
                          .radiusHundredths = row.radiusHundredths,
                          .filletTenths = filletOf(row.legMm)};
    }
    return angles;
}

constexpr auto kCatalogue = joined();

// Every angle has a fillet that leaves its flanges a free width.
constexpr bool hasFillets()
{
    return std::all_of(kCatalogue.begin(), kCatalogue.end(), [](const Angle& angle) {
        return angle.filletTenths > 0 && angle.filletTenths + angle.thicknessTenths < 10 * angle.legMm;
    });
}
static_assert(hasFillets(), "every leg width of the catalogue needs its fillet radius");

constexpr bool isOrdered()
{
    for (std::size_t i = 1; i < kCatalogue.size(); ++i) {
        const Angle& a = kCatalogue[i - 1];
        const Angle& b = kCatalogue[i];
        if (a.legMm > b.legMm || (a.legMm == b.legMm && a.thicknessTenths >= b.thicknessTenths)) {
            return false;
        }
    }
    return true;
}
static_assert(!kCatalogue.empty() && isOrdered(), "the catalogue must run by leg width, then thickness, each once");

// A count of 10^-digits written as the form writes numbers.
std::string countText(int count, int digits)
{
    std::int64_t scale = 1;
    for (int i = digits; i < 4; ++i) {
        scale *= 10;
    }
    return toText(Fixed4::fromCount(count * scale));
}

// The size of an angle as the filter compares it: "63x5", "70x4,5".
std::string sizeKey(const Angle& angle) { return legText(angle) + "x" + thicknessText(angle); }

// The typed text in the form of sizeKey.
std::string normalised(std::string_view typed)
{
    std::string key;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const std::string_view rest = typed.substr(i);
        const char c = typed[i];
        if (rest.starts_with("×") || rest.starts_with("х") || rest.starts_with("Х")) { // × and Cyrillic х
            key += 'x';
            ++i; // each is two bytes
        } else if (rest.starts_with("Л") || rest.starts_with("л")) {
            ++i;
        } else if (c == 'x' || c == 'X' || c == '*') {
            key += 'x';
        } else if (c == '.' || c == ',') {
            key += ',';
        } else if (c != ' ' && c != '\t' && c != 'L' && c != 'l') {
            key += c;
        }
    }
    return key;
}

Int128 powerOfTen(int exponent)
{
    Int128 power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// The value of a number text as a count of hundredths, if it is a whole
// number of them: "6,130" gives 613, "6,135" none.
std::optional<Int128> hundredths(std::string_view text)
{
    try {
        const ExactDecimal exact = textToExact(text);
        if (exact.scale > 2) {
            return std::nullopt;
        }
        return exact.digits * powerOfTen(2 - exact.scale); // at most 10^38, within 128 bits
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

// The least flange thickness in tenths at which the angle thinned evenly
// still has the required area, exactly; 0 when no flange at all is needed.
// None when the required area is not a number or more than the angle's.
std::optional<int> areaTenths(const Angle& angle, std::string_view required)
{
    std::optional<ExactPair> pair;
    try {
        pair = overCommonScale({.digits = angle.areaHundredths, .scale = 2}, textToExact(required));
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
    if (!pair) {
        return std::nullopt;
    }
    // In units of (0,1 mm)² times 10^scale: flanges of k tenths keep
    // k(20b − k) of them, and the section may lose 10 000 · (S − required)
    // of them (1 cm² is 10 000 such units).
    const Int128 unit = powerOfTen(pair->scale);
    const Int128 width = Int128{20} * angle.legMm;
    const Int128 t = angle.thicknessTenths;
    const Int128 needed = t * (width - t) * unit - Int128{10'000} * (pair->a - pair->b);
    for (int k = 0; k <= angle.thicknessTenths; ++k) {
        if (Int128{k} * (width - k) * unit >= needed) {
            return k;
        }
    }
    return std::nullopt; // even the whole section is short of the required area
}

// ρ(b, k) of the catalogue's legs for every flange up to their thickest,
// counted once: the same numbers sharpAngleRadius gives. The row of a leg
// not in the catalogue is empty.
std::span<const double> catalogueRadii(int legMm)
{
    static const std::vector<std::vector<double>> byLeg = [] {
        const auto widest = std::max_element(kCatalogue.begin(), kCatalogue.end(),
                                             [](const Angle& a, const Angle& b) { return a.legMm < b.legMm; });
        std::vector<std::vector<double>> table(static_cast<std::size_t>(widest->legMm) + 1);
        for (const Angle& listed : kCatalogue) {
            std::vector<double>& radii = table.at(static_cast<std::size_t>(listed.legMm));
            if (radii.empty()) {
                radii.push_back(std::numeric_limits<double>::quiet_NaN()); // no flange, no radius
            }
            for (auto k = static_cast<int>(radii.size()); k <= listed.thicknessTenths; ++k) {
                radii.push_back(sharpAngleRadius(10.0 * listed.legMm, k));
            }
        }
        return table;
    }();
    const auto leg = static_cast<std::size_t>(legMm);
    return legMm >= 0 && leg < byLeg.size() ? std::span<const double>(byLeg[leg]) : std::span<const double>();
}

// ρ(b, k) of an angle's leg for a flange of k tenths: the flange searches
// ask for them by the thousand.
class FlangeRadii {
public:
    explicit FlangeRadii(const Angle& angle) : legMm_{angle.legMm}, radii_{catalogueRadii(angle.legMm)} {}
    [[nodiscard]] double operator()(int tenths) const
    {
        const auto at = static_cast<std::size_t>(tenths);
        return tenths > 0 && at < radii_.size() ? radii_[at] : sharpAngleRadius(10.0 * legMm_, tenths);
    }

private:
    int legMm_;
    std::span<const double> radii_;
};

// The strength limit of a demand divided by φ: the least thickness in tenths
// from which up to t every thickness k keeps A(k) ≥ required · φт(λ) /
// φт(λ(k)), λ(k) = λ · ρ(b, t) / ρ(b, k). A λ(k) outside the table does not
// hold; none when λ itself is outside it. The angle holds at t (checked
// exactly before). The search stops at floor: a limit at or below it is
// given as floor.
std::optional<int> phiStrengthTenths(const Angle& angle, double required, double slenderness, int floor)
{
    const std::optional<double> phi = interpolatedPhi(slenderness);
    if (!phi) {
        return std::nullopt;
    }
    const int t = angle.thicknessTenths;
    const int width = 20 * angle.legMm;
    const FlangeRadii radius(angle);
    const double rho = radius(t);
    const double demand = required * 10'000 * *phi; // (0,1 mm)², times φт(λ)
    int least = t;
    for (int k = t - 1; k >= floor; --k) {
        const std::optional<double> thinner = interpolatedPhi(slenderness * rho / radius(k));
        const int kept = 100 * angle.areaHundredths - t * (width - t) + k * (width - k); // (0,1 mm)²
        if (!thinner || kept * *thinner < demand) {
            break;
        }
        least = k;
    }
    return least;
}

// The strength limit of a force the angle must carry: the least thickness
// in tenths from which up to t every thickness k carries carried · A(k)/A ·
// φт(λ(k))/φт(λ) ≥ |force|. None when a text is not a number, the angle
// does not carry the force's magnitude now (checked exactly) or λ is
// outside the table. The search stops at floor, as phiStrengthTenths' does.
std::optional<int> forceStrengthTenths(const Angle& angle, const FlangeInputs& inputs, double slenderness, int floor)
{
    const std::optional<ExactPair> pair = overCommonScale(textToExact(inputs.force), textToExact(inputs.carried));
    if (!pair || pair->b <= 0 || (pair->a < 0 ? -pair->a : pair->a) > pair->b) {
        return std::nullopt;
    }
    const std::optional<double> phi = interpolatedPhi(slenderness);
    if (!phi) {
        return std::nullopt;
    }
    const double force = std::abs(textToDouble(inputs.force));
    const double carried = textToDouble(inputs.carried);
    const int t = angle.thicknessTenths;
    const int width = 20 * angle.legMm;
    const FlangeRadii radius(angle);
    const double rho = radius(t);
    const int whole = 100 * angle.areaHundredths; // (0,1 mm)²
    int least = t;
    for (int k = t - 1; k >= floor; --k) {
        const std::optional<double> thinner = interpolatedPhi(slenderness * rho / radius(k));
        const int kept = whole - t * (width - t) + k * (width - k);
        if (!thinner || carried * kept / whole * *thinner / *phi < force) {
            break;
        }
        least = k;
    }
    return least;
}

// The local-stability limit of a compressed flange in tenths, rounded up:
// (b − R) / (1 + λ̄uf · √(E / Ry)). None when Rp is not above zero.
std::optional<int> stabilityTenths(const Angle& angle, double slenderness, double resistance)
{
    if (!(resistance > 0)) {
        return std::nullopt;
    }
    constexpr double kModulus = 2.06e5;      // E, МПа
    const double yieldMpa = 10 * resistance; // Ry: Rp is in 10⁷ Н/м², 10 МПа
    const double lambdaBar = std::clamp(slenderness * std::sqrt(yieldMpa / kModulus), 0.8, 4.0);
    const double ratio = (0.40 + 0.07 * lambdaBar) * std::sqrt(kModulus / yieldMpa);
    const double tenths = (10.0 * angle.legMm - angle.filletTenths) / (1 + ratio);
    return static_cast<int>(std::ceil(tenths - 1e-9)); // a limit one rounding above a tenth is that tenth
}

} // namespace

std::span<const Angle> angleCatalogue() { return kCatalogue; }

std::string designation(const Angle& angle) { return "L " + legText(angle) + "×" + thicknessText(angle); }
std::string legText(const Angle& angle) { return countText(angle.legMm, 0); }
std::string thicknessText(const Angle& angle) { return countText(angle.thicknessTenths, 1); }
std::string areaText(const Angle& angle) { return countText(angle.areaHundredths, 2); }
std::string radiusText(const Angle& angle) { return countText(angle.radiusHundredths, 2); }
std::string filletText(const Angle& angle) { return countText(angle.filletTenths, 1); }

std::vector<std::size_t> filterAngles(std::string_view typed)
{
    const std::string key = normalised(typed);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (sizeKey(kCatalogue[i]).starts_with(key)) {
            found.push_back(i);
        }
    }
    return found;
}

std::optional<std::size_t> angleNamed(std::string_view typed)
{
    const std::string key = normalised(typed);
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (sizeKey(kCatalogue[i]) == key) {
            return i;
        }
    }
    return std::nullopt;
}

bool holdsAngle(const Angle& angle, std::string_view area, std::string_view radius)
{
    const std::optional<Int128> areaCount = hundredths(area);
    const std::optional<Int128> radiusCount = hundredths(radius);
    return areaCount == angle.areaHundredths && radiusCount == angle.radiusHundredths;
}

std::optional<std::size_t> angleHeldBy(std::string_view area, std::string_view radius)
{
    // Read once: a table checks this for every girder.
    const std::optional<Int128> areaCount = hundredths(area);
    const std::optional<Int128> radiusCount = hundredths(radius);
    if (!areaCount || !radiusCount) {
        return std::nullopt;
    }
    const auto catalogue = angleCatalogue();
    const auto found = std::find_if(catalogue.begin(), catalogue.end(), [&](const Angle& angle) {
        return angle.areaHundredths == *areaCount && angle.radiusHundredths == *radiusCount;
    });
    if (found == catalogue.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - catalogue.begin());
}

double sharpAngleRadius(double leg, double thickness)
{
    // The leg b × t along x from the corner, (b − t) × t above it.
    const double b = leg;
    const double t = thickness;
    const double a1 = b * t;
    const double a2 = (b - t) * t;
    const double area = a1 + a2;
    const double x1 = b / 2;
    const double y1 = t / 2;
    const double x2 = t / 2;
    const double y2 = (b + t) / 2;
    const double xc = (a1 * x1 + a2 * x2) / area;
    const double yc = (a1 * y1 + a2 * y2) / area;
    const double ix = b * t * t * t / 12 + a1 * (y1 - yc) * (y1 - yc) + t * (b - t) * (b - t) * (b - t) / 12 +
                      a2 * (y2 - yc) * (y2 - yc);
    const double ixy = a1 * (x1 - xc) * (y1 - yc) + a2 * (x2 - xc) * (y2 - yc);
    return std::sqrt((ix - std::abs(ixy)) / area);
}

std::optional<Angle> thinnedAngle(const Angle& angle, int tenths)
{
    const int t = angle.thicknessTenths;
    if (tenths <= 0 || tenths > t) {
        return std::nullopt;
    }
    const int width = 20 * angle.legMm;
    const int kept = 100 * angle.areaHundredths - t * (width - t) + tenths * (width - tenths); // (0,1 mm)²
    const FlangeRadii sharp(angle);
    const double radius = angle.radiusHundredths * sharp(tenths) / sharp(t);
    Angle thinned = angle;
    thinned.thicknessTenths = tenths;
    thinned.areaHundredths = kept / 100; // 1 cm² is 10 000 (0,1 mm)²
    thinned.radiusHundredths = static_cast<int>(std::floor(radius + 1e-9));
    return thinned;
}

std::optional<FlangeLimit> leastFlange(const Angle& angle, const FlangeInputs& inputs)
{
    using enum FlangeLimit::Governs;
    std::optional<int> strength = areaTenths(angle, inputs.required);
    if (!strength) {
        return std::nullopt;
    }
    try {
        // λ read once, and only for the limits that ask for it.
        std::optional<double> lambda;
        const auto slenderness = [&lambda, &inputs] {
            if (!lambda) {
                lambda = textToDouble(inputs.slenderness);
            }
            return *lambda;
        };
        // A compressed flange's stability limit first: below it stability
        // governs whatever the strength searches would find, so they stop
        // one tenth under the larger of it and what is known already (the
        // tenth that tells a tie, which strength wins).
        std::optional<int> stability;
        if (inputs.compressed) {
            stability = stabilityTenths(angle, slenderness(), textToDouble(inputs.resistance));
            if (!stability) {
                return std::nullopt;
            }
        }
        const auto floorOver = [&stability](int known) {
            return stability ? std::max(1, std::max(*stability, known) - 1) : 1;
        };
        if (inputs.usesPhi) {
            strength = phiStrengthTenths(angle, textToDouble(inputs.required), slenderness(), floorOver(0));
            if (!strength) {
                return std::nullopt;
            }
        }
        if (!inputs.force.empty()) {
            const std::optional<int> force = forceStrengthTenths(angle, inputs, slenderness(), floorOver(*strength));
            if (!force) {
                return std::nullopt;
            }
            strength = std::max(*strength, *force);
        }
        if (!stability) {
            return *strength > 0 ? std::optional(FlangeLimit{.tenths = *strength, .governs = Strength}) : std::nullopt;
        }
        return *stability > *strength ? FlangeLimit{.tenths = *stability, .governs = LocalStability}
                                      : FlangeLimit{.tenths = *strength, .governs = Strength};
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

} // namespace prochnar
