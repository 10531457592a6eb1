#pragma once

#include "calc/form.h"
#include "calc/handlers.h"
#include "calc/map_form.h"
#include "calc/messages.h"

#include <cstddef>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace prochnar {

// A form file: UTF-8 text, one NAME=TEXT per line. NAME is a field of the
// calculation or one of the five state properties ("Frame5.Visible=1").
// TEXT runs from the first "=" to the end of the line, blanks included; a
// trailing CR is dropped. Empty lines and lines starting with "#" are
// ignored, and a later line for a name wins.
class FormFileError : public std::runtime_error {
public:
    // A fault of a form file: FileFault::NotUtf8, NoEquals, UnknownName,
    // BadState or Missing, about name(). what() is the fault in the
    // command's words (commandFaultText).
    FormFileError(FileFault fault, std::size_t line, std::size_t column, std::string name);

    // 1-based line of the fault; for a missing line, the last line.
    [[nodiscard]] std::size_t line() const { return at_.line; }
    // 1-based column in characters: the first byte that is not UTF-8, 1 for
    // a line without "=" or with an unknown name, the value of a state
    // property; 0 for a missing line.
    [[nodiscard]] std::size_t column() const { return at_.column; }
    [[nodiscard]] FileFault fault() const { return at_.fault; }
    [[nodiscard]] const std::string& name() const { return at_.name; }
    [[nodiscard]] const FileFaultAt& at() const { return at_; }

private:
    FileFaultAt at_;
};

// A form is a few kilobytes; a file beyond this is not one.
inline constexpr std::size_t kMaxFormFileSize = std::size_t{16} * 1024 * 1024;

// Reads a form's bytes from a stream to its end into content: nothing when
// they are all read, FileFault::TooLarge past kMaxFormFileSize bytes,
// FileFault::Unreadable when the stream fails.
[[nodiscard]] std::optional<FileFault> readFormBytes(std::istream& in, std::string& content);

// Sets the fields and states that the file names; throws FormFileError.
void readFormFile(std::string_view content, Form& form);

// The same for a whole calculation, as writeFormFile writes it: the file
// must name every field and state property, so that one cut short (its
// state lines come last) is refused as well; throws FormFileError.
void readWholeFormFile(std::string_view content, Form& form);

// The whole form: every field in file order, then the five state lines.
[[nodiscard]] std::string writeFormFile(const Form& form);

// A click of a button and what it showed, as comment lines before the form:
// "# press Command2" (" (disabled)" added when the button was disabled and
// nothing ran), then "# message: TEXT" or "# message error: TEXT" for each
// message. The form reader passes over them as comments.
struct PressRecord {
    Button button = Button::Command2;
    bool ran = true;
    std::vector<MapForm::ShownMessage> messages;
    friend bool operator==(const PressRecord&, const PressRecord&) = default;
};

[[nodiscard]] std::string writePressLog(const std::vector<PressRecord>& presses);

// The clicks that a file's comment lines record, in order; other comments
// and a message line before any click are passed over.
[[nodiscard]] std::vector<PressRecord> readPressLog(std::string_view content);

// The last click that ran of each button, in the order of those clicks:
// what a calculation keeps of the clicks that made it.
[[nodiscard]] std::vector<PressRecord> lastPresses(const std::vector<PressRecord>& presses);

} // namespace prochnar
