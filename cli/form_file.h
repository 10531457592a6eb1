#pragma once

#include "calc/form.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace prochnar {

// A form file: UTF-8 text, one NAME=TEXT per line. NAME is a field of the
// calculation or one of the five state properties ("Frame5.Visible=1").
// TEXT runs from the first "=" to the end of the line, blanks included; a
// trailing CR is dropped. Empty lines and lines starting with "#" are
// ignored, and a later line for a name wins.
class FormFileError : public std::runtime_error {
public:
    FormFileError(std::size_t line, const std::string& what) : std::runtime_error(what), line_{line} {}
    // 1-based line of the fault.
    [[nodiscard]] std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// Sets the fields and states that the file names; throws FormFileError.
void readFormFile(std::string_view content, Form& form);

// The whole form: every field in file order, then the five state lines.
[[nodiscard]] std::string writeFormFile(const Form& form);

} // namespace prochnar
