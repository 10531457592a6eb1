#pragma once

#include "calc/map_form.h"
#include "calc/messages.h"
#include "formats/form_file.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace prochnar {

// A calculation as its file keeps it: every field and the wizard's state,
// and the last click of each button with what it showed.
struct Calculation {
    MapForm form;
    std::vector<PressRecord> presses;
};

// A file that is not a whole calculation, and why.
class CalculationFileError : public std::runtime_error {
public:
    explicit CalculationFileError(FileFaultAt fault) : std::runtime_error(faultText(fault)), fault_{std::move(fault)} {}
    [[nodiscard]] const FileFaultAt& fault() const { return fault_; }

private:
    FileFaultAt fault_;
};

// Reads a whole calculation, as the window saved it or prochnar-calc printed
// it: a regular file of at most kMaxFormFileSize bytes, UTF-8, naming every
// field and state property. Throws CalculationFileError.
[[nodiscard]] Calculation readCalculationFile(const std::filesystem::path& path);

// The same from the bytes of a file.
[[nodiscard]] Calculation readCalculation(std::string_view content);

// The text of a calculation's file: the clicks, then the whole form.
[[nodiscard]] std::string calculationText(const Form& form, const std::vector<PressRecord>& presses);

} // namespace prochnar
