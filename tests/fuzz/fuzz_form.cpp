// Fuzzes a whole calculation: a form file and a sequence of clicks.
//
// Input: the first line names the clicks, one character each ('2' Command2,
// '3' Command3, '5' Command5, '6' Command6, '4' Command4; others are
// skipped); the rest is a form file. Checked after every click:
//  - at most one message;
//  - the wizard moves between its five states exactly as the state table
//    says (when the form file started it in one of them);
//  - every result the click wrote reads back through the program's own
//    conversion: the slenderness values, reaction and diagonal force as
//    Fixed4 texts that print the same, the flag as "1" or "0", the step-3
//    results as empty or a number without "inf", "nan" or an exponent.
// A handler that touches a field outside the form throws and crashes here.

#include "calc/convert.h"
#include "calc/errors.h"
#include "calc/handlers.h"
#include "calc/map_form.h"
#include "cli/form_file.h"
#include "tests/support/wizard_state.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace prochnar;
using test_support::Wizard;
using test_support::wizardState;

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::optional<Button> buttonFor(char c)
{
    switch (c) {
    case '2':
        return Button::Command2;
    case '3':
        return Button::Command3;
    case '5':
        return Button::Command5;
    case '6':
        return Button::Command6;
    case '4':
        return Button::Command4;
    default:
        return std::nullopt;
    }
}

// The state after a click, or nullopt when the button is disabled there.
// Step 1 "completed" is told apart from "stopped" by the message it showed.
std::optional<Wizard> expectedState(Wizard from, Button button, bool step1Completed)
{
    using W = Wizard;
    switch (button) {
    case Button::Command2: {
        constexpr std::array<W, 5> completed{W::S2, W::S2, W::S3, W::S4, W::S4};
        constexpr std::array<W, 5> stopped{W::S1, W::S2, W::S3, W::S4, W::S5};
        const auto i = static_cast<std::size_t>(from) - 1;
        return step1Completed ? completed[i] : stopped[i];
    }
    case Button::Command5:
        return from == W::S1 || from == W::S5 ? std::nullopt : std::optional{W::S3};
    case Button::Command4:
        return from == W::S3 ? std::optional{W::S3} : std::nullopt;
    case Button::Command3:
        return W::S5;
    case Button::Command6:
        return from == W::S1 || from == W::S5 ? W::S5 : W::S4;
    }
    return std::nullopt;
}

void checkFixed4Text(const std::string& text)
{
    const Fixed4 value = textToFixed4(text); // throws, and so aborts, if unreadable
    check(toText(value) == text);
}

void checkSingleText(const std::string& text)
{
    if (text.empty()) {
        return;
    }
    check(text.find_first_of(".aEin") == std::string::npos);
    (void)textToSingle(text);
}

void checkWrittenResults(const Form& form, Button button)
{
    switch (button) {
    case Button::Command2:
        checkFixed4Text(form.text("lblJ"));
        checkFixed4Text(form.text("lblJ1"));
        break;
    case Button::Command5:
        checkFixed4Text(form.text("txtQp"));
        checkFixed4Text(form.text("txtZ1"));
        break;
    case Button::Command4:
        for (const char* field : {"Text4", "Text7", "txtz2", "Text13", "Text14"}) {
            checkSingleText(form.text(field));
        }
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view clicks = input.substr(0, newline);
    const std::string_view file = newline == std::string_view::npos ? std::string_view{} : input.substr(newline + 1);

    MapForm form;
    applyInitialState(form);
    try {
        readFormFile(file, form);
    } catch (const FormFileError&) {
        return 0;
    }

    for (const char c : clicks) {
        const auto button = buttonFor(c);
        if (!button) {
            continue;
        }
        const Wizard before = wizardState(form);
        const std::string flagBefore = form.text("Text15");
        const bool ran = press(form, *button);
        const auto messages = form.takeMessages();
        check(messages.size() <= 1);
        check(ran || messages.empty());
        if (ran) {
            checkWrittenResults(form, *button);
        }
        if (*button == Button::Command5 && ran) {
            const std::string flag = form.text("Text15");
            check(flag == "1" || flag == "0" || flag == flagBefore);
        }
        if (before != Wizard::Other) {
            const auto expected = expectedState(before, *button, messages.empty());
            check(ran == expected.has_value());
            check(wizardState(form) == (expected ? *expected : before));
        }
    }
    return 0;
}
