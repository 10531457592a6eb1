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

// The positions in the catalogue of the angles whose size starts with what
// was typed: "63" gives all of 63 mm, "63×5", "63x5" and "L 63 х 5" the one.
// Blanks and an "L" are ignored; the sign between the sizes may be ×, x, х
// or *; a thickness may have a comma or a point. An empty text gives all.
[[nodiscard]] std::vector<std::size_t> filterAngles(std::string_view typed);

// Whether the area and radius texts are, as numbers, exactly the angle's.
[[nodiscard]] bool holdsAngle(const Angle& angle, std::string_view area, std::string_view radius);

// The catalogue angle whose area and radius the texts hold, as a number,
// if any: no two angles of the catalogue share both.
[[nodiscard]] std::optional<std::size_t> angleHeldBy(std::string_view area, std::string_view radius);

// The least flange thickness, in 0,1 mm rounded up, at which the angle
// still has the required area (a number text, cm²): the flanges thinned
// evenly from t to t′ lose t(2b − t) − t′(2b − t′) mm², the fillet is kept.
// None when the required area is not a number, is more than the angle's, or
// would leave no flange at all (t′ = 0 still holds).
[[nodiscard]] std::optional<int> leastFlangeTenths(const Angle& angle, std::string_view required);

} // namespace prochnar
