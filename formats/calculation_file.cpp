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

FileFault faultOf(FormFileError::Fault fault)
{
    switch (fault) {
    case FormFileError::Fault::NotUtf8:
        return FileFault::NotUtf8;
    case FormFileError::Fault::NoEquals:
        return FileFault::NoEquals;
    case FormFileError::Fault::UnknownName:
        return FileFault::UnknownName;
    case FormFileError::Fault::BadState:
        return FileFault::BadState;
    case FormFileError::Fault::Missing:
        return FileFault::Missing;
    }
    return FileFault::Unreadable;
}

} // namespace

Calculation readCalculation(std::string_view content)
{
    Calculation calculation;
    applyInitialState(calculation.form);
    try {
        readWholeFormFile(content, calculation.form);
    } catch (const FormFileError& error) {
        throw CalculationFileError(FileFaultAt{
            .fault = faultOf(error.fault()), .line = error.line(), .column = 0, .name = error.name(), .reason = {}});
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
    std::string chunk(std::size_t{64} * 1024, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        content.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (content.size() > kMaxFormFileSize) {
            refuse(FileFault::TooLarge); // grew while being read
        }
    }
    if (in.bad()) {
        refuse(FileFault::Unreadable);
    }
    return readCalculation(content);
}

std::string calculationText(const Form& form, const std::vector<PressRecord>& presses)
{
    return writePressLog(presses) + writeFormFile(form);
}

} // namespace prochnar
