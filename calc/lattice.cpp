#include "lattice.h"

#include "convert.h"
#include "errors.h"
#include "fields.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace prochnar {

std::optional<Lattice> latticeOf(const Form& form)
{
    std::array<double, 4> sizes{};
    const std::array fields{Field::txtLp, Field::txtLpp, Field::txtH, Field::txtB};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        try {
            sizes.at(i) = textToDouble(form.text(fields.at(i)));
        } catch (const ConversionError&) {
            return std::nullopt;
        } catch (const ArithmeticError&) {
            return std::nullopt;
        }
        if (!(sizes.at(i) > 0) || !std::isfinite(sizes.at(i))) {
            return std::nullopt;
        }
    }
    const auto [length, panel, height, width] = sizes;
    const double panels = std::max(1.0, std::round(length / panel));
    if (!(panels <= kMaxLatticePanels)) {
        return std::nullopt;
    }
    return Lattice{
        .length = length, .panel = panel, .height = height, .width = width, .panels = static_cast<int>(panels)};
}

} // namespace prochnar
