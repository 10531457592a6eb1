#include "formats/form_file.h"

#include "calc/fields.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace prochnar {

namespace {

// Length of the UTF-8 sequence starting at bytes[pos], or 0 if it is not a
// well-formed one (overlong forms, surrogates and code points beyond U+10FFFF
// are not).
std::size_t sequenceLength(std::string_view bytes, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(pos);
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > bytes.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t b = byte(pos + i);
        const std::uint8_t min = i == 1 ? low : 0x80;
        const std::uint8_t max = i == 1 ? high : 0xBF;
        if (b < min || b > max) {
            return 0;
        }
    }
    return length;
}

std::size_t firstInvalidUtf8(std::string_view bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = sequenceLength(bytes, pos);
        if (length == 0) {
            return pos;
        }
        pos += length;
    }
    return std::string_view::npos;
}

// The name as a message shows it: at most 60 bytes, cut between characters.
std::string shortened(std::string_view name)
{
    constexpr std::size_t kMax = 60;
    if (name.size() <= kMax) {
        return std::string(name);
    }
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<std::uint8_t>(name[cut]) & 0xC0U) == 0x80U) {
        --cut;
    }
    return std::string(name.substr(0, cut)) + "...";
}

// Passes what a file sets on to the form and notes which names it set.
class NamesSet final : public Form {
public:
    explicit NamesSet(Form& form) : form_{form} {}

    [[nodiscard]] std::string text(Field field) const override { return form_.text(field); }
    void setText(Field field, const std::string& text) override
    {
        names_.push_back(field);
        form_.setText(field, text);
    }
    [[nodiscard]] bool state(StateControl control) const override { return form_.state(control); }
    void setState(StateControl control, bool on) override
    {
        states_.push_back(control);
        form_.setState(control, on);
    }
    void showMessage(const std::string& text, MessageIcon icon) override { form_.showMessage(text, icon); }

    // The first field or state property, in file order, that was not set.
    [[nodiscard]] std::optional<std::string_view> firstMissing() const
    {
        for (const auto& field : kFormFields) {
            if (std::find(names_.begin(), names_.end(), field.id) == names_.end()) {
                return field.name;
            }
        }
        for (const auto& property : kStateProperties) {
            if (std::find(states_.begin(), states_.end(), property.control) == states_.end()) {
                return property.name;
            }
        }
        return std::nullopt;
    }

private:
    Form& form_;
    std::vector<Field> names_;
    std::vector<StateControl> states_;
};

std::vector<std::string_view> lines(std::string_view content)
{
    std::vector<std::string_view> result;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        result.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    }
    return result;
}

constexpr std::string_view kPress = "# press ";
constexpr std::string_view kDisabled = " (disabled)";
constexpr std::string_view kMessage = "# message: ";
constexpr std::string_view kErrorMessage = "# message error: ";

} // namespace

bool isValidUtf8(std::string_view bytes) { return firstInvalidUtf8(bytes) == std::string_view::npos; }

void readFormFile(std::string_view content, Form& form)
{
    const std::size_t invalid = firstInvalidUtf8(content);
    if (invalid != std::string_view::npos) {
        const auto line = static_cast<std::size_t>(std::count(
                              content.begin(), content.begin() + static_cast<std::ptrdiff_t>(invalid), '\n')) +
                          1;
        throw FormFileError(line, FormFileError::Fault::NotUtf8, {}, "not valid UTF-8");
    }
    // A byte-order mark, as some editors write, is not part of the first name.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (content.starts_with(kByteOrderMark)) {
        content.remove_prefix(kByteOrderMark.size());
    }

    std::size_t lineNumber = 0;
    while (!content.empty()) {
        ++lineNumber;
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            throw FormFileError(lineNumber, FormFileError::Fault::NoEquals, {}, "expected NAME=TEXT");
        }
        const std::string_view name = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (const auto control = stateControlFromName(name)) {
            if (value != "0" && value != "1") {
                throw FormFileError(lineNumber, FormFileError::Fault::BadState, std::string(name),
                                    "the value of " + std::string(name) + " must be 0 or 1");
            }
            form.setState(*control, value == "1");
        } else if (const auto field = fieldFromName(name)) {
            form.setText(*field, std::string(value));
        } else {
            throw FormFileError(lineNumber, FormFileError::Fault::UnknownName, shortened(name),
                                "unknown name '" + shortened(name) + "'");
        }
    }
}

void readWholeFormFile(std::string_view content, Form& form)
{
    NamesSet named(form);
    readFormFile(content, named);
    if (const auto missing = named.firstMissing()) {
        throw FormFileError(lines(content).size(), FormFileError::Fault::Missing, std::string(*missing),
                            "no line for " + std::string(*missing));
    }
}

std::string writeFormFile(const Form& form)
{
    std::string out;
    for (const auto& field : kFormFields) {
        out += field.name;
        out += '=';
        out += form.text(field.id);
        out += '\n';
    }
    for (const auto& property : kStateProperties) {
        out += property.name;
        out += form.state(property.control) ? "=1\n" : "=0\n";
    }
    return out;
}

std::string writePressLog(const std::vector<PressRecord>& presses)
{
    std::string out;
    for (const PressRecord& press : presses) {
        out += kPress;
        out += buttonName(press.button);
        out += press.ran ? "\n" : std::string(kDisabled) + "\n";
        for (const auto& message : press.messages) {
            out += message.icon == MessageIcon::Error ? kErrorMessage : kMessage;
            out += message.text;
            out += '\n';
        }
    }
    return out;
}

std::vector<PressRecord> readPressLog(std::string_view content)
{
    std::vector<PressRecord> presses;
    for (std::string_view line : lines(content)) {
        if (line.starts_with(kPress)) {
            line.remove_prefix(kPress.size());
            const bool ran = !line.ends_with(kDisabled);
            if (const auto button = buttonFromName(ran ? line : line.substr(0, line.size() - kDisabled.size()))) {
                presses.push_back({.button = *button, .ran = ran, .messages = {}});
            }
        } else if (presses.empty()) {
            continue;
        } else if (line.starts_with(kErrorMessage)) {
            presses.back().messages.push_back({std::string(line.substr(kErrorMessage.size())), MessageIcon::Error});
        } else if (line.starts_with(kMessage)) {
            presses.back().messages.push_back({std::string(line.substr(kMessage.size())), MessageIcon::None});
        }
    }
    return presses;
}

std::vector<PressRecord> lastPresses(const std::vector<PressRecord>& presses)
{
    std::vector<PressRecord> kept;
    for (const PressRecord& press : presses) {
        if (press.ran) {
            std::erase_if(kept, [&press](const PressRecord& earlier) { return earlier.button == press.button; });
            kept.push_back(press);
        }
    }
    return kept;
}

} // namespace prochnar
