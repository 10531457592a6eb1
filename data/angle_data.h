#pragma once

// The data file of the angle catalogue, read and checked: the header, six
// numeric columns per row, sizes in order, and figures that agree with each
// other. Used by make_profel, which writes the catalogue document from it.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar_data {

// A figure of the data file: its text as printed and its value.
struct Figure {
    std::string text;
    double value = 0.0;
};

struct Angle {
    Figure b;    // leg width, mm
    Figure t;    // thickness, mm
    Figure area; // cm²
    Figure mass; // kg per metre
    Figure ix;   // radius of gyration about an axis parallel to a leg, cm
    Figure imin; // least radius of gyration, cm
    int line = 0;
};

// A fault of the data file, with the line it was found on (0: the file as a whole).
class DataError : public std::runtime_error {
public:
    DataError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    [[nodiscard]] int line() const { return line_; }

private:
    int line_;
};

// "63x5": the sizes as the data file prints them.
[[nodiscard]] std::string sizeName(const Angle& angle);

// Every profile of the data file, checked; throws DataError.
[[nodiscard]] std::vector<Angle> readCatalogue(const std::string& path);

} // namespace prochnar_data
