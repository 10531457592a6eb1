#include "formats/calculation_file.h"

#include "calc/fields.h"
#include "calc/handlers.h"
#include "formats/text_encoding.h"

#include <algorithm>
#include <array>

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

// The 1-based line of the last "name=" line of the content: the one that
// gave the field its text, as a later line wins.
std::size_t lineOf(std::string_view content, std::string_view name)
{
    std::size_t found = 0;
    std::size_t line = 1;
    for (std::size_t start = 0; start < content.size(); ++line) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        const std::string_view text = content.substr(start, end - start);
        if (text.size() > name.size() && text.starts_with(name) && text[name.size()] == '=') {
            found = line;
        }
        start = end + 1;
    }
    return found;
}

} // namespace

Calculation recomputed(const Calculation& saved)
{
    constexpr std::array kConfirming{Button::Command2, Button::Command5, Button::Command4};
    std::array<bool, kFieldCount> isResult{};
    for (const Button button : kConfirming) {
        for (const Field field : resultsOf(button)) {
            isResult.at(fieldIndex(field)) = true;
        }
    }
    // The window as it starts, with the saved inputs typed in.
    MapForm replay;
    applyInitialState(replay);
    for (const auto& field : kFormFields) {
        if (!isResult.at(fieldIndex(field.id))) {
            replay.setText(field.id, saved.form.text(field.id));
        }
    }
    const auto executed =
        std::ranges::any_of(saved.presses,
                            [](const PressRecord& press) { return press.button == Button::Command4 && press.ran; }) ||
        std::ranges::any_of(resultsOf(Button::Command4), [&saved](Field field) {
            return saved.form.text(field) != kFormFields.at(fieldIndex(field)).text;
        });
    std::vector<Button> passed;
    if (saved.form.state(StateControl::Frame7Enabled)) {
        passed.push_back(Button::Command2);
    }
    if (saved.form.state(StateControl::Command4Enabled)) {
        passed.push_back(Button::Command5);
        if (executed) {
            passed.push_back(Button::Command4);
        }
    }
    Calculation calculation{
        .form = saved.form, .presses = {}, .identity = saved.identity, .history = saved.history, .recomputed = {}};
    for (const Button button : passed) {
        if (press(replay, button)) {
            calculation.presses.push_back({.button = button, .ran = true, .messages = replay.takeMessages()});
        }
    }
    for (const auto& field : kFormFields) {
        if (isResult.at(fieldIndex(field.id)) && saved.form.text(field.id) != replay.text(field.id)) {
            calculation.recomputed.push_back(field.id);
            calculation.form.setText(field.id, replay.text(field.id));
        }
    }
    return calculation;
}

namespace {

// A table's girder pressed through the three steps from the window's start.
Calculation pressedGirder(Calculation calculation)
{
    applyInitialState(calculation.form);
    for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
        const bool ran = press(calculation.form, button);
        calculation.presses.push_back({.button = button, .ran = ran, .messages = calculation.form.takeMessages()});
    }
    calculation.presses = lastPresses(calculation.presses);
    return calculation;
}

} // namespace

Calculation girderCalculation(TableRun& run, const std::vector<std::string>& row)
{
    return pressedGirder({.form = run.girderForm(row),
                          .presses = {},
                          .identity = identityFromRow(run.header(), row),
                          .history = {},
                          .recomputed = {}});
}

Calculation girderCalculation(TableLife& life, const std::vector<std::string>& row)
{
    TableLife::Girder girder = life.girder(row);
    return pressedGirder({.form = std::move(girder.form),
                          .presses = {},
                          .identity = identityFromRow(life.header(), row),
                          .history = std::move(girder.history),
                          .recomputed = {}});
}

Calculation readCalculation(std::string_view content, std::size_t maxChars)
{
    Calculation calculation;
    applyInitialState(calculation.form);
    try {
        readWholeFormFile(content, calculation.form);
    } catch (const FormFileError& error) {
        throw CalculationFileError(error.at());
    }
    for (const auto& field : kFormFields) {
        if (utf8Characters(calculation.form.text(field.id)) > maxChars) {
            throw CalculationFileError(FileFaultAt{.fault = FileFault::FieldTooLong,
                                                   .line = lineOf(content, field.name),
                                                   .column = 0,
                                                   .name = std::string(field.name),
                                                   .reason = std::to_string(maxChars)});
        }
    }
    calculation.identity = readIdentityLines(content);
    for (const auto& [key, text, column] : kIdentityKeys) {
        if (utf8Characters(calculation.identity.*text) > maxChars) {
            const std::string name = "girder " + std::string(key);
            throw CalculationFileError(FileFaultAt{.fault = FileFault::FieldTooLong,
                                                   .line = lineOf(content, "# " + name),
                                                   .column = 0,
                                                   .name = name,
                                                   .reason = std::to_string(maxChars)});
        }
    }
    HistoryRead history = readHistoryLines(content);
    if (history.fault) {
        throw CalculationFileError(*history.fault);
    }
    calculation.history = std::move(history.history);
    calculation.presses = lastPresses(readPressLog(content));
    return recomputed(calculation);
}

Calculation readCalculationFile(const std::filesystem::path& path, std::size_t maxChars)
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
        refuse(FileFault::Unreadable, systemErrorText(errno));
    }
    std::string content;
    if (const auto fault = readFormBytes(in, content)) {
        refuse(*fault); // it may have grown since its size was looked at
    }
    return readCalculation(content, maxChars);
}

std::string calculationText(const Form& form, const std::vector<PressRecord>& presses, const GirderIdentity& identity,
                            const GirderHistory& history)
{
    return identityLines(identity) + historyLines(history) + writePressLog(presses) + lifeLines(form, history) +
           writeFormFile(form);
}

std::string lifeLines(const Form& form, const GirderHistory& history)
{
    if (history.inspections.empty()) {
        return {};
    }
    const MemberLife chord = lifeOf(form, history, Member::Chord);
    const MemberLife diagonals = lifeOf(form, history, Member::Diagonals);
    std::string out =
        "# life chord: " + memberLifeText(chord) + "\n# life diagonals: " + memberLifeText(diagonals) + "\n";
    if (const std::optional<std::string> replacement = replacementText(chord, diagonals)) {
        out += "# life girder: " + *replacement + "\n";
    }
    return out;
}

} // namespace prochnar
