#pragma once

#include "fields.h"
#include "form.h"

#include <bitset>
#include <optional>
#include <span>
#include <string_view>

namespace prochnar {

// The buttons of the wizard that run a handler.
enum class Button {
    Command2, // step-1 "Подтвердить"
    Command3, // step-1 "Сброс"
    Command5, // step-2 "Подтвердить"
    Command6, // step-2 "Сброс"
    Command4, // step-3 "Выполнить"
};

[[nodiscard]] std::string_view buttonName(Button button);
[[nodiscard]] std::optional<Button> buttonFromName(std::string_view name);

// The wizard's part of loading the window: locks steps 2 and 3.
void applyInitialState(Form& form);

void confirmStep1(Form& form); // Command2
void resetStep1(Form& form);   // Command3
void confirmStep2(Form& form); // Command5
void resetStep2(Form& form);   // Command6
void execute(Form& form);      // Command4

// Whether the button can be clicked in the form's current state: Command5
// and Command4 follow their enabled property, the others are always enabled.
[[nodiscard]] bool isEnabled(const Form& form, Button button);

// The fields a confirming press writes (Command2, Command5, Command4): its
// results, which its inputs determine. None for the other buttons.
[[nodiscard]] std::span<const Field> resultsOf(Button button);

// The fields a confirming press reads (Command2, Command5, Command4): a press
// whose fields hold the texts they held when it last ran quietly would
// write the same results again. None for the other buttons.
[[nodiscard]] std::span<const Field> inputsOf(Button button);

// Clicks the button: runs its handler if it is enabled. Returns false (and
// does nothing) for a disabled button.
bool press(Form& form, Button button);

// A confirming press's results in groups, each with the fields it reads:
// a press whose other inputs hold the texts they held when it last ran
// quietly writes the same texts in the groups that read none of the fields
// changed since. count() writes the group's texts as the press would, and
// is false where the press would show a message.
struct ResultGroup {
    std::span<const Field> reads;
    std::span<const Field> writes;
    bool (*count)(Form& form);
};
[[nodiscard]] std::span<const ResultGroup> resultGroups(Button button);

// Presses a confirming step again on a form whose results are its texts'
// own, pressed quietly, since when the fields in changed were written:
// only the groups that read a changed field are counted, with the texts the
// press would write. Adds the fields written to changed. False when the
// press would show a message; the form is then not the press's.
[[nodiscard]] bool pressAgain(Form& form, Button step, std::bitset<kFieldCount>& changed);

// What pressAgain() over the three confirming steps in turn, for the fields
// in changed, reads from the form it starts on and what it writes: the
// groups it counts, and of what they read, what no group before wrote.
struct PressReach {
    std::bitset<kFieldCount> reads;
    std::bitset<kFieldCount> writes;
};
[[nodiscard]] PressReach pressAgainReach(std::bitset<kFieldCount> changed);

} // namespace prochnar
