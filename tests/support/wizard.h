#pragma once

// What the calculation's tests and the form fuzzer share: the worked example
// as typed into the form, the wizard's lock state as the user sees it, its
// state table, and whether what a press wrote is the program's answer.

#include "calc/convert.h"
#include "calc/form.h"
#include "calc/handlers.h"
#include "calc/map_form.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace prochnar::test_support {

// A whole calculation that succeeds: slenderness 166,6667 and 57,5, one wire
// at 7 m, reaction 2743,5449 and diagonal force 1829,03.
inline constexpr std::array<std::array<const char*, 2>, 19> kWorkedExample{{
    {"txtMn", "3"},   {"txtMp", "5"},   {"txtMv", "4"},    {"txtLp", "20"},    {"txtl", "65"},
    {"txtG", "1"},    {"txtGg", "1,5"}, {"txtLpp", "2,5"}, {"txtH", "1,5"},    {"txtB", "0,8"},
    {"txtIy", "1,5"}, {"txtIyy", "2"},  {"Text9", "12,5"}, {"Text10", "10"},   {"Text3", "0,8"},
    {"Text5", "0,8"}, {"txtl1", "7"},   {"txtgp1", "1"},   {"txtgpp1", "2,5"},
}};

inline void fillWorkedExample(Form& form)
{
    for (const auto& [field, text] : kWorkedExample) {
        form.setText(field, text);
    }
}

// The reachable lock states: step 2 locked or open, step 3 covered (panel
// shown, "Выполнить" disabled), open, or bare (panel hidden, "Выполнить"
// disabled). Other is a combination the handlers never produce.
enum class Wizard { S1 = 1, S2, S3, S4, S5, Other };

inline Wizard wizardState(const Form& form)
{
    const bool panel2 = form.state(StateControl::Frame5Visible);
    const bool step2Locked =
        panel2 && !form.state(StateControl::Frame7Enabled) && !form.state(StateControl::Command5Enabled);
    const bool step2Open =
        !panel2 && form.state(StateControl::Frame7Enabled) && form.state(StateControl::Command5Enabled);
    const bool panel3 = form.state(StateControl::Frame9Visible);
    const bool execute = form.state(StateControl::Command4Enabled);
    if (step2Locked == step2Open || (panel3 && execute)) {
        return Wizard::Other;
    }
    if (panel3) {
        return step2Locked ? Wizard::S1 : Wizard::S2;
    }
    if (execute) {
        return step2Locked ? Wizard::Other : Wizard::S3;
    }
    return step2Locked ? Wizard::S5 : Wizard::S4;
}

// The state after a click of each button from each of the five states; none
// where the button is disabled and its click must change nothing. Columns:
// step-1 "Подтвердить" that unlocked step 2, the same stopped by a message,
// then Command5, Command4, Command3 and Command6.
inline constexpr std::optional<Wizard> kDisabled;
inline constexpr std::array<std::array<std::optional<Wizard>, 6>, 5> kStateTable{{
    {Wizard::S2, Wizard::S1, kDisabled, kDisabled, Wizard::S5, Wizard::S5},
    {Wizard::S2, Wizard::S2, Wizard::S3, kDisabled, Wizard::S5, Wizard::S4},
    {Wizard::S3, Wizard::S3, Wizard::S3, Wizard::S3, Wizard::S5, Wizard::S4},
    {Wizard::S4, Wizard::S4, Wizard::S3, kDisabled, Wizard::S5, Wizard::S4},
    {Wizard::S4, Wizard::S5, kDisabled, kDisabled, Wizard::S5, Wizard::S5},
}};

inline std::size_t stateTableColumn(Button button, bool messageShown)
{
    constexpr std::array<Button, 5> order{Button::Command2, Button::Command5, Button::Command4, Button::Command3,
                                          Button::Command6};
    const auto at = static_cast<std::size_t>(std::find(order.begin(), order.end(), button) - order.begin());
    return at == 0 ? (messageShown ? 1 : 0) : at + 1;
}

// The first field that the click of the button wrote and that is not the
// program's answer, or "": slenderness values and forces print back the same
// as Fixed4 texts; step-3 results are empty or numbers written in full,
// without "inf", "nan", an exponent or a point; the flag is "1" or "0", or
// as it was.
inline std::string unsoundResult(const Form& form, Button button, const std::string& flagBefore)
{
    const std::string flag = form.text("Text15");
    const bool fixed4 = button == Button::Command2 || button == Button::Command5;
    using Fields = std::vector<const char*>;
    const Fields fields = button == Button::Command2   ? Fields{"lblJ", "lblJ1"}
                          : button == Button::Command5 ? Fields{"txtQp", "txtZ1"}
                          : button == Button::Command4 ? Fields{"Text4", "Text7", "txtz2", "Text13", "Text14"}
                                                       : Fields{};
    if (button == Button::Command5 && flag != "1" && flag != "0" && flag != flagBefore) {
        return "Text15=" + flag;
    }
    for (const char* field : fields) {
        const std::string text = form.text(field);
        try {
            if (fixed4 ? toText(textToFixed4(text)) == text
                       : text.empty() ||
                             (text.find_first_of(".aEin") == std::string::npos && std::isfinite(textToSingle(text)))) {
                continue;
            }
        } catch (const std::exception&) {
        }
        return field + ("=" + text.substr(0, 60));
    }
    return {};
}

// Clicks the button and says what is wrong with the outcome, or "" when
// nothing is: at most one message, none from a disabled button, the state
// the table gives (when the form was in one of its five states), and results
// that are the program's answer. The column of the table the click took
// goes into *column.
inline std::string pressAndCheck(MapForm& form, Button button, std::size_t* column = nullptr)
{
    const Wizard before = wizardState(form);
    const std::string flag = form.text("Text15");
    const bool ran = press(form, button);
    const std::size_t messages = form.takeMessages().size();
    if (messages > (ran ? 1U : 0U)) {
        return std::to_string(messages) + " messages";
    }
    if (column != nullptr) {
        *column = stateTableColumn(button, messages > 0);
    }
    if (before != Wizard::Other) {
        const auto expected =
            kStateTable.at(static_cast<std::size_t>(before) - 1).at(stateTableColumn(button, messages > 0));
        if (ran != expected.has_value() || wizardState(form) != expected.value_or(before)) {
            return "state " + std::to_string(static_cast<int>(wizardState(form))) + " after a press from state " +
                   std::to_string(static_cast<int>(before));
        }
    }
    return ran ? unsoundResult(form, button, flag) : std::string();
}

} // namespace prochnar::test_support
