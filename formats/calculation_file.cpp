#include "formats/calculation_file.h"

#include "calc/handlers.h"

#include <cerrno>
#include <fstream>
#include <system_error>
#include <utility>

namespace prochnar {

namespace {

[[noreturn]] void refuse(FileFault fault, std::string reason = {})
{
    throw CalculationFileError(
        FileFaultAt{.fault = fault, .line = 0, .column = 0, .name = {}, .reason = std::move(reason)});
}

} // namespace

Calculation readCalculation(std::string_view content)
{
    Calculation calculation;
    applyInitialState(calculation.form);
    try {
        readWholeFormFile(content, calculation.form);
    } catch (const FormFileError& error) {
        throw CalculationFileError(error.at());
    }
    calculation.presses = lastPresses(readPressLog(content));
    return calculation;
}

Calculation readCalculationFile(const std::filesystem::path& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        refuse(FileFault::NoSuchFile);
    }
    if (!std::filesystem::is_regular_file(status)) {
        refuse(FileFault::NotAFile);
    }
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxFormFileSize) {
        refuse(FileFault::TooLarge);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        refuse(FileFault::Unreadable, std::generic_category().message(errno));
    }
    std::string content;
    if (const auto fault = readFormBytes(in, content)) {
        refuse(*fault); // it may have grown since its size was looked at
    }
    return readCalculation(content);
}

std::string calculationText(const Form& form, const std::vector<PressRecord>& presses)
{
    return writePressLog(presses) + writeFormFile(form);
}

} // namespace prochnar
