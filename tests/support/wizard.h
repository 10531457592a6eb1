#pragma once

// Shared by the calculation's tests and the form fuzzer: the worked example,
// the wizard's lock state and state table, and the check of one click.

#include "calc/convert.h"
#include "calc/fields.h"
#include "calc/form.h"
#include "calc/handlers.h"
#include "calc/map_form.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace prochnar::test_support {

// A whole calculation that succeeds: slenderness 166,6667 and 57,5, one wire
// at 7 m, reaction 2743,5449 and diagonal force 1829,03.
inline constexpr std::array<std::pair<Field, const char*>, 19> kWorkedExample{{
    {Field::txtMn, "3"},    {Field::txtMp, "5"},   {Field::txtMv, "4"},     {Field::txtLp, "20"},
    {Field::txtl, "65"},    {Field::txtG, "1"},    {Field::txtGg, "1,5"},   {Field::txtLpp, "2,5"},
    {Field::txtH, "1,5"},   {Field::txtB, "0,8"},  {Field::txtIy, "1,5"},   {Field::txtIyy, "2"},
    {Field::Text9, "12,5"}, {Field::Text10, "10"}, {Field::Text3, "0,8"},   {Field::Text5, "0,8"},
    {Field::txtl1, "7"},    {Field::txtgp1, "1"},  {Field::txtgpp1, "2,5"},
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
    int bits = 0; // Frame5 shown, Frame7, Command5, Frame9 shown, Command4, from the high bit down
    for (const auto& [control, name] : kStateProperties) {
        bits = bits * 2 + (form.state(control) ? 1 : 0);
    }
    constexpr std::array<int, 5> states{0b10010, 0b01110, 0b01101, 0b01100, 0b10000};
    const auto at = std::find(states.begin(), states.end(), bits);
    return at == states.end() ? Wizard::Other : static_cast<Wizard>(at - states.begin() + 1);
}

// The state after a click of each button from each of the five states; none
// where the button is disabled and its click must change nothing. Columns:
// step-1 "Подтвердить" that unlocked step 2, the same stopped by a message,
// then Command3, Command5, Command6 and Command4, the order of Button.
inline constexpr std::optional<Wizard> kDisabled;
inline constexpr std::array<std::array<std::optional<Wizard>, 6>, 5> kStateTable{{
    {Wizard::S2, Wizard::S1, Wizard::S5, kDisabled, Wizard::S5, kDisabled},
    {Wizard::S2, Wizard::S2, Wizard::S5, Wizard::S3, Wizard::S4, kDisabled},
    {Wizard::S3, Wizard::S3, Wizard::S5, Wizard::S3, Wizard::S4, Wizard::S3},
    {Wizard::S4, Wizard::S4, Wizard::S5, Wizard::S3, Wizard::S4, kDisabled},
    {Wizard::S4, Wizard::S5, Wizard::S5, kDisabled, Wizard::S5, kDisabled},
}};

inline std::size_t stateTableColumn(Button button, bool messageShown)
{
    return button == Button::Command2 ? (messageShown ? 1 : 0) : static_cast<std::size_t>(button) + 1;
}

// The first field that the click of the button wrote and that is not the
// program's answer, or "": slenderness values and forces print back the same
// as Fixed4 texts; step-3 results are empty or numbers written in full,
// without "inf", "nan", an exponent or a point; the flag is "1" or "0", or
// as it was.
inline std::string unsoundResult(const Form& form, Button button, const std::string& flagBefore)
{
    const std::string flag = form.text(Field::Text15);
    const bool fixed4 = button == Button::Command2 || button == Button::Command5;
    using Fields = std::vector<Field>;
    const Fields fields = button == Button::Command2   ? Fields{Field::lblJ, Field::lblJ1}
                          : button == Button::Command5 ? Fields{Field::txtQp, Field::txtZ1}
                          : button == Button::Command4
                              ? Fields{Field::Text4, Field::Text7, Field::txtz2, Field::Text13, Field::Text14}
                              : Fields{};
    if (button == Button::Command5 && flag != "1" && flag != "0" && flag != flagBefore) {
        return "Text15=" + flag;
    }
    for (const Field field : fields) {
        const std::string text = form.text(field);
        try {
            if (fixed4 ? toText(textToFixed4(text)) == text
                       : text.empty() ||
                             (text.find_first_of(".aEin") == std::string::npos && std::isfinite(textToSingle(text)))) {
                continue;
            }
        } catch (const std::exception&) {
        }
        return std::string(fieldName(field)) + "=" + text.substr(0, 60);
    }
    return {};
}

// Clicks the button and says what is wrong with the outcome, or "" when
// nothing is: at most one message, none from a disabled button, the state
// the table gives (when the form was in one of its five states), and results
// that are the program's answer. The column of the table the click took
// goes into column.
inline std::string pressAndCheck(MapForm& form, Button button, std::size_t& column)
{
    const Wizard before = wizardState(form);
    const std::string flag = form.text(Field::Text15);
    const bool ran = press(form, button);
    const std::size_t messages = form.takeMessages().size();
    if (messages > (ran ? 1U : 0U)) {
        return std::to_string(messages) + " messages";
    }
    column = stateTableColumn(button, messages > 0);
    if (before != Wizard::Other) {
        const auto expected = kStateTable.at(static_cast<std::size_t>(before) - 1).at(column);
        if (ran != expected.has_value() || wizardState(form) != expected.value_or(before)) {
            return "state " + std::to_string(static_cast<int>(wizardState(form))) + " after a press from state " +
                   std::to_string(static_cast<int>(before));
        }
    }
    return ran ? unsoundResult(form, button, flag) : std::string();
}

} // namespace prochnar::test_support
