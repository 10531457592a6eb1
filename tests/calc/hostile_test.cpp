// Whatever an engineer types or pastes into a field, a press ends with at
// most one message, never aborts, and writes only results that are the
// program's answer: numbers that read back, or empty where not reached.

#include "calc/convert.h"
#include "calc/errors.h"
#include "calc/handlers.h"
#include "calc/map_form.h"
#include "calc/messages.h"
#include "tests/support/worked_example.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace prochnar {
namespace {

// A whole calculation that succeeds, step 3 open.
MapForm completeForm()
{
    MapForm form;
    applyInitialState(form);
    test_support::fillWorkedExample(form);
    press(form, Button::Command2);
    press(form, Button::Command5);
    press(form, Button::Command4);
    EXPECT_TRUE(form.takeMessages().empty());
    return form;
}

std::vector<std::string> hostileTexts()
{
    return {
        "",
        "   ",
        "\t",
        "1.5",
        "1,5.",
        "abc",
        "12 кг",
        std::string(1000, '9'),
        "-" + std::string(1000, '9'),
        std::string(1000, '0') + "1",
        "0," + std::string(1000, '0') + "1",
        "1E+308",
        "9" + std::string(400, '9') + "E999",
        "١٢٣",     // Arabic-Indic digits
        "１２,５", // full-width digits
        "1\x01",
        std::string("1\0"
                    "5",
                    3),
        "\x7f",
        "1\r",
        std::string(100'000, '7'),
        std::string(100'000, '1') + ",5",
        "0",
        "-0",
        "922337203685477,5807",
        "922337203685477,5808",
        "-922337203685477,5807",
    };
}

bool readsBackAsFixed4(const std::string& text)
{
    try {
        return toText(textToFixed4(text)) == text;
    } catch (const std::exception&) {
        return false;
    }
}

bool readsBackAsSingle(const std::string& text)
{
    if (text.empty()) {
        return true;
    }
    try {
        (void)textToSingle(text);
        return text.find_first_of(".aEin") == std::string::npos;
    } catch (const std::exception&) {
        return false;
    }
}

void expectSoundResults(const MapForm& form, const std::string& context)
{
    for (const char* field : {"lblJ", "lblJ1", "txtQp", "txtZ1"}) {
        EXPECT_TRUE(readsBackAsFixed4(form.text(field))) << context << ": " << field << " = " << form.text(field);
    }
    for (const char* field : {"Text4", "Text7", "txtz2", "Text13", "Text14"}) {
        EXPECT_TRUE(readsBackAsSingle(form.text(field))) << context << ": " << field << " = " << form.text(field);
    }
    const std::string flag = form.text("Text15");
    EXPECT_TRUE(flag == "1" || flag == "0") << context;
}

TEST(HostileInput, EveryFieldEveryTextEveryButton)
{
    // The numeric inputs of the three steps and the results step 3 reads back.
    const std::vector<std::string> fields{
        "txtMn", "txtMp", "txtMv",  "txtLp",  "txtl",    "txtG",    "txtGg", "txtLpp", "txtH",
        "txtB",  "txtIy", "txtIyy", "Text1",  "Text9",   "Text10",  "Text3", "Text5",  "txtl1",
        "txtl5", "txtl8", "txtgp1", "txtgp4", "txtgpp1", "txtgpp8", "txtQp", "txtZ1",  "Text15",
    };
    const MapForm complete = completeForm();
    const auto started = std::chrono::steady_clock::now();
    for (const std::string& field : fields) {
        for (const std::string& text : hostileTexts()) {
            MapForm form = complete;
            form.setText(field, text);
            for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
                const std::string context =
                    field + " = \"" + text.substr(0, 40) + "\", " + std::string(buttonName(button));
                EXPECT_TRUE(press(form, button)) << context;
                const auto messages = form.takeMessages();
                ASSERT_LE(messages.size(), 1U) << context;
                if (!messages.empty() && messages.front().icon == MessageIcon::Error) {
                    EXPECT_TRUE(messages.front().text == messageText(Message::DecimalComma) ||
                                messages.front().text == messageText(Message::Arithmetic))
                        << context;
                }
            }
            expectSoundResults(form, field + " = \"" + text.substr(0, 40) + "\"");
        }
    }
    // 27 fields × 26 texts × 3 presses, some of them 100 000 characters long.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST(HostileInput, ZeroDivisorsInEveryStepAreReported)
{
    const std::vector<std::pair<std::string, Button>> divisors{
        {"txtIy", Button::Command2}, {"txtIyy", Button::Command2}, {"txtl", Button::Command5},
        {"txtLp", Button::Command5}, {"txtH", Button::Command5},   {"txtH", Button::Command4},
        {"Text1", Button::Command4}, {"Text3", Button::Command4},
    };
    for (const auto& [field, button] : divisors) {
        MapForm form = completeForm();
        form.setText(field, "0");
        press(form, button);
        EXPECT_EQ(form.takeMessages(), (std::vector<MapForm::ShownMessage>{
                                           {std::string(messageText(Message::Arithmetic)), MessageIcon::Error}}))
            << field << " = 0, " << buttonName(button);
        expectSoundResults(form, field + " = 0");
    }
    // lп + h = 0 in the root of step 2.
    MapForm form = completeForm();
    form.setText("txtLpp", "-1,5");
    press(form, Button::Command5);
    EXPECT_EQ(form.takeMessages().size(), 1U);
    EXPECT_EQ(form.text("txtZ1"), "0");
    EXPECT_EQ(form.text("txtQp"), "2743,5449");
}

} // namespace
} // namespace prochnar
