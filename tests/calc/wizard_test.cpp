// The wizard's handlers clicked at random on forms holding whatever an
// engineer may type: every click follows the state table, whose every cell
// the walk visits, and writes only the program's answers.

#include "calc/fields.h"
#include "calc/handlers.h"
#include "calc/map_form.h"
#include "tests/support/wizard.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace prochnar {
namespace {

// A text built from the pieces typed or pasted by mistake: digits, commas and
// points, signs, blanks, letters, control bytes, long runs, the range ends.
std::string hostileText(std::mt19937& random)
{
    static const std::vector<std::string> pieces = [] {
        std::vector<std::string> all{"0",        "1",  "7",    "9",    ",",  ",",    ".",
                                     "-",        "+",  " ",    "\t",   "E",  "e5",   "кг",
                                     "١",        "１", "\x01", "\x7f", "\r", "\xff", "922337203685477,5807",
                                     "0,0000001"};
        all.insert(all.end(), {std::string(1, '\0'), std::string(300, '9'), std::string(300, '0')});
        return all;
    }();
    std::string text;
    for (auto n = random() % 5; n > 0; --n) {
        text += pieces[random() % pieces.size()];
    }
    return text;
}

TEST(Wizard, RandomClicksOnHostileFormsFollowTheStateTableAndWriteSoundResults)
{
    std::mt19937 random(20261207);
    std::set<std::pair<test_support::Wizard, std::size_t>> cells;
    constexpr std::array<Button, 5> buttons{Button::Command2, Button::Command3, Button::Command5, Button::Command6,
                                            Button::Command4};
    for (int round = 0; round < 3000; ++round) {
        MapForm form;
        applyInitialState(form);
        test_support::fillWorkedExample(form);
        std::string story;
        for (int step = 0; step < 8; ++step) {
            if (const auto choice = random() % 6; choice == 0) {
                const FieldDefault& field = kFormFields.at(random() % kFormFields.size());
                const std::string text = hostileText(random);
                form.setText(field.id, text);
                story += std::string(field.name) + "=\"" + text.substr(0, 30) + "\" ";
            } else if (choice == 1) {
                test_support::fillWorkedExample(form);
                story += "(worked example) ";
            }
            const Button button = buttons.at(random() % buttons.size());
            const auto before = test_support::wizardState(form);
            story += std::string(buttonName(button)) + " ";
            std::size_t column = 0;
            ASSERT_EQ(test_support::pressAndCheck(form, button, column), "") << story;
            cells.emplace(before, column);
        }
    }
    EXPECT_EQ(cells.size(), 30U) << "the walk missed cells of the state table";
}

// A trial form reading through to a table's form presses as a copy of it:
// the same texts, states and messages after any clicks and typing, and the
// form beneath it untouched.
TEST(Wizard, AFormReadThroughToAnotherPressesAsItsCopy)
{
    std::mt19937 random(20261208);
    constexpr std::array<Button, 5> buttons{Button::Command2, Button::Command3, Button::Command5, Button::Command6,
                                            Button::Command4};
    for (int round = 0; round < 500; ++round) {
        MapForm base;
        test_support::fillWorkedExample(base);
        for (auto n = random() % 3; n > 0; --n) {
            base.setText(kFormFields.at(random() % kFormFields.size()).id, hostileText(random));
        }
        const MapForm untouched = MapForm::withTextsOf(base);
        MapForm copy = MapForm::withTextsOf(base);
        OverlayForm overlay(base);
        std::string story;
        for (int step = 0; step < 6; ++step) {
            if (random() % 4 == 0) {
                const FieldDefault& field = kFormFields.at(random() % kFormFields.size());
                const std::string text = hostileText(random);
                copy.setText(field.id, text);
                overlay.setText(field.id, text);
                story += std::string(field.name) + "=\"" + text.substr(0, 30) + "\" ";
            }
            const Button button = buttons.at(random() % buttons.size());
            story += std::string(buttonName(button)) + " ";
            ASSERT_EQ(press(copy, button), press(overlay, button)) << story;
            ASSERT_EQ(!copy.takeMessages().empty(), overlay.takeShown()) << story;
            for (const auto& field : kFormFields) {
                ASSERT_EQ(copy.text(field.id), overlay.text(field.id)) << story << field.name;
                ASSERT_EQ(untouched.text(field.id), base.text(field.id)) << story << field.name;
            }
            for (std::size_t i = 0; i < kStateProperties.size(); ++i) {
                const auto control = static_cast<StateControl>(i);
                ASSERT_EQ(copy.state(control), overlay.state(control)) << story << i;
            }
        }
    }
}

} // namespace
} // namespace prochnar
