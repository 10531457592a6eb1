#include "data/angle_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace prochnar_data {

namespace {

constexpr std::string_view kHeader = "b_mm,t_mm,area_cm2,mass_kg_m,i_x_cm,i_min_cm";
constexpr std::size_t kColumns = 6;
constexpr std::string_view kColumnNames[kColumns] = {"b_mm", "t_mm", "area_cm2", "mass_kg_m", "i_x_cm", "i_min_cm"};

// A figure is digits with an optional decimal point and more digits: no sign,
// no exponent, no blanks, no decimal comma.
Figure parseFigure(std::string_view field, std::string_view column, int line)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const std::size_t point = field.find('.');
    const std::string_view whole = field.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : field.substr(point + 1);
    const bool wellFormed = !whole.empty() && std::all_of(whole.begin(), whole.end(), isDigit) &&
                            (point == std::string_view::npos ||
                             (!fraction.empty() && std::all_of(fraction.begin(), fraction.end(), isDigit)));
    if (!wellFormed) {
        throw DataError(line, "column " + std::string(column) + ": \"" + std::string(field) +
                                  "\" is not a number (digits with an optional decimal point)");
    }
    Figure figure{std::string(field), 0.0};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), figure.value);
    if (error != std::errc{} || end != field.data() + field.size()) {
        throw DataError(line, "column " + std::string(column) + ": \"" + std::string(field) + "\" is out of range");
    }
    return figure;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

} // namespace

std::string sizeName(const Angle& angle) { return angle.b.text + "x" + angle.t.text; }

namespace {

// The figures of one profile must agree with each other as they do for every
// rolled equal-leg angle; a swapped column or a slipped digit fails here.
void checkProfile(const Angle& a)
{
    const auto fail = [&a](const std::string& why) { throw DataError(a.line, sizeName(a) + ": " + why); };
    for (const Figure* figure : {&a.b, &a.t, &a.area, &a.mass, &a.ix, &a.imin}) {
        if (figure->value <= 0.0) {
            fail("every figure must be greater than zero");
        }
    }
    if (!(a.t.value * 2.0 < a.b.value)) {
        fail("the thickness must be less than half the leg width");
    }
    if (!(a.imin.value < a.ix.value)) {
        fail("the least radius of gyration i_min_cm must be less than i_x_cm");
    }
    // For an equal-leg angle i_min is about 0.64 of i_x.
    const double ratio = a.imin.value / a.ix.value;
    if (ratio < 0.6 || ratio > 0.7) {
        fail("i_min_cm / i_x_cm is " + std::to_string(ratio) + ", outside 0.6 to 0.7 (columns swapped?)");
    }
    // Mass per metre at 7.85 g/cm³ is 0.785 kg/m per cm² of area; the printed
    // figures differ from it by rounding and by a few tenths of a per cent.
    const double expectedMass = 0.785 * a.area.value;
    if (std::abs(a.mass.value - expectedMass) > 0.01 * expectedMass + 0.01) {
        fail("mass_kg_m " + a.mass.text + " does not agree with area_cm2 " + a.area.text +
             " (expected about 0.785 x area, " + std::to_string(expectedMass) + ")");
    }
    // The leg area alone bounds the section: t (2b - t) mm² less the corner.
    const double legArea = a.t.value * (2.0 * a.b.value - a.t.value) / 100.0;
    if (std::abs(a.area.value - legArea) > 0.05 * legArea) {
        fail("area_cm2 " + a.area.text + " does not agree with the size (about " + std::to_string(legArea) +
             " cm2 for these legs)");
    }
}

} // namespace

std::vector<Angle> readCatalogue(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw DataError(0, "cannot open the file");
    }
    std::vector<Angle> angles;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (number == 1) {
            if (line.starts_with("\xEF\xBB\xBF")) {
                line.erase(0, 3);
            }
            if (line != kHeader) {
                throw DataError(number, "the header must be \"" + std::string(kHeader) + "\"");
            }
            continue;
        }
        if (line.empty()) {
            throw DataError(number, "empty line");
        }
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() != kColumns) {
            throw DataError(number, "expected " + std::to_string(kColumns) + " columns (" + std::string(kHeader) +
                                        "), found " + std::to_string(fields.size()));
        }
        Figure figures[kColumns];
        for (std::size_t i = 0; i < kColumns; ++i) {
            figures[i] = parseFigure(fields[i], kColumnNames[i], number);
        }
        Angle angle{figures[0], figures[1], figures[2], figures[3], figures[4], figures[5], number};
        checkProfile(angle);
        if (!angles.empty()) {
            const Angle& previous = angles.back();
            const bool after = angle.b.value > previous.b.value ||
                               (angle.b.value == previous.b.value && angle.t.value > previous.t.value);
            if (!after) {
                throw DataError(number, sizeName(angle) + " comes after " + sizeName(previous) +
                                            ": the rows go by leg width, then by thickness, each size once");
            }
        }
        angles.push_back(std::move(angle));
    }
    if (in.bad()) {
        throw DataError(0, "cannot read the file");
    }
    if (number == 0) {
        throw DataError(0, "the file is empty: the header \"" + std::string(kHeader) + "\" is missing");
    }
    if (angles.empty()) {
        throw DataError(0, "the file holds no profile");
    }
    return angles;
}

} // namespace prochnar_data
