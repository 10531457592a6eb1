#include "formats/form_file.h"

#include "calc/fields.h"
#include "formats/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace prochnar {

namespace {

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

    [[nodiscard]] const std::string& text(Field field) const override { return form_.text(field); }
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

FormFileError::FormFileError(FileFault fault, std::size_t line, std::size_t column, std::string name)
    : std::runtime_error(
          commandFaultText(FileFaultAt{.fault = fault, .line = line, .column = column, .name = name, .reason = {}})),
      at_{.fault = fault, .line = line, .column = column, .name = std::move(name), .reason = {}}
{
}

std::optional<FileFault> readFormBytes(std::istream& in, std::string& content)
{
    content.clear();
    std::string chunk(std::size_t{64} * 1024, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        content.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (content.size() > kMaxFormFileSize) {
            return FileFault::TooLarge;
        }
    }
    if (in.bad()) {
        return FileFault::Unreadable;
    }
    return std::nullopt;
}

void readFormFile(std::string_view content, Form& form)
{
    // A byte-order mark, as some editors write, is not part of the first name.
    if (content.starts_with(kUtf8Bom)) {
        content.remove_prefix(kUtf8Bom.size());
    }
    if (const std::size_t valid = utf8Prefix(content).valid; valid < content.size()) {
        const std::string_view before = content.substr(0, valid);
        const std::size_t lastBreak = before.rfind('\n');
        const std::string_view lineBefore = lastBreak == std::string_view::npos ? before : before.substr(lastBreak + 1);
        throw FormFileError(FileFault::NotUtf8, static_cast<std::size_t>(std::ranges::count(before, '\n')) + 1,
                            utf8Characters(lineBefore) + 1, {});
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
            throw FormFileError(FileFault::NoEquals, lineNumber, 1, {});
        }
        const std::string_view name = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (const auto control = stateControlFromName(name)) {
            if (value != "0" && value != "1") {
                throw FormFileError(FileFault::BadState, lineNumber, utf8Characters(name) + 2, std::string(name));
            }
            form.setState(*control, value == "1");
        } else if (const auto field = fieldFromName(name)) {
            form.setText(*field, std::string(value));
        } else {
            throw FormFileError(FileFault::UnknownName, lineNumber, 1, shortened(name));
        }
    }
}

void readWholeFormFile(std::string_view content, Form& form)
{
    NamesSet named(form);
    readFormFile(content, named);
    if (const auto missing = named.firstMissing()) {
        throw FormFileError(FileFault::Missing, lines(content).size(), 0, std::string(*missing));
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
