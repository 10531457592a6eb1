#include "calc/handlers.h"
#include "calc/map_form.h"
#include "tests/support/wizard_state.h"
#include "tests/support/worked_example.h"

#include <gtest/gtest.h>

#include <utility>

namespace prochnar {
namespace {

using test_support::fillWorkedExample;
using test_support::Wizard;
using test_support::wizardState;

// A fresh form after the window's load.
MapForm loaded()
{
    MapForm form;
    applyInitialState(form);
    return form;
}

enum class Event { ConfirmStep1Completed, ConfirmStep1Stopped, ConfirmStep2, Execute, ResetStep1, ResetStep2 };

// Brings a fresh form into the given state by the shortest road.
void reach(MapForm& form, Wizard state)
{
    fillWorkedExample(form);
    switch (state) {
    case Wizard::S1:
        break;
    case Wizard::S2:
        press(form, Button::Command2);
        break;
    case Wizard::S3:
        press(form, Button::Command2);
        press(form, Button::Command5);
        break;
    case Wizard::S4:
        press(form, Button::Command2);
        press(form, Button::Command5);
        press(form, Button::Command6);
        break;
    case Wizard::S5:
        press(form, Button::Command6);
        break;
    case Wizard::Other:
        break;
    }
    fillWorkedExample(form); // the resets cleared some fields
    (void)form.takeMessages();
    ASSERT_EQ(wizardState(form), state);
}

// Returns the state after the event, or nullopt when its button is disabled.
std::optional<Wizard> fire(MapForm& form, Event event)
{
    bool ran = true;
    switch (event) {
    case Event::ConfirmStep1Completed:
        ran = press(form, Button::Command2);
        EXPECT_TRUE(form.takeMessages().empty());
        break;
    case Event::ConfirmStep1Stopped:
        form.setText("txtIy", "1.5");
        ran = press(form, Button::Command2);
        EXPECT_EQ(form.takeMessages().size(), 1U);
        break;
    case Event::ConfirmStep2:
        ran = press(form, Button::Command5);
        break;
    case Event::Execute:
        ran = press(form, Button::Command4);
        break;
    case Event::ResetStep1:
        ran = press(form, Button::Command3);
        break;
    case Event::ResetStep2:
        ran = press(form, Button::Command6);
        break;
    }
    if (!ran) {
        return std::nullopt;
    }
    return wizardState(form);
}

TEST(Wizard, StartsWithStep2LockedAndStep3Covered)
{
    MapForm form = loaded();
    EXPECT_EQ(wizardState(form), Wizard::S1);
    EXPECT_TRUE(isEnabled(form, Button::Command2));
    EXPECT_TRUE(isEnabled(form, Button::Command3));
    EXPECT_TRUE(isEnabled(form, Button::Command6));
    EXPECT_FALSE(isEnabled(form, Button::Command5));
    EXPECT_FALSE(isEnabled(form, Button::Command4));
}

TEST(Wizard, StateTable)
{
    using E = Event;
    using W = Wizard;
    constexpr auto none = std::nullopt;
    struct Row {
        W from;
        std::array<std::optional<W>, 6> to; // in the order of Event
    };
    const std::array<Row, 5> table{{
        {W::S1, {W::S2, W::S1, none, none, W::S5, W::S5}},
        {W::S2, {W::S2, W::S2, W::S3, none, W::S5, W::S4}},
        {W::S3, {W::S3, W::S3, W::S3, W::S3, W::S5, W::S4}},
        {W::S4, {W::S4, W::S4, W::S3, none, W::S5, W::S4}},
        {W::S5, {W::S4, W::S5, none, none, W::S5, W::S5}},
    }};
    for (const Row& row : table) {
        for (std::size_t e = 0; e < row.to.size(); ++e) {
            MapForm form = loaded();
            reach(form, row.from);
            const auto after = fire(form, static_cast<E>(e));
            EXPECT_EQ(after, row.to[e]) << "from state " << static_cast<int>(row.from) << ", event " << e;
            if (!after) {
                EXPECT_EQ(wizardState(form), row.from) << "a disabled button changed the state";
            }
        }
    }
}

TEST(Wizard, StoppedStep1ShowsOneMessageAndStillWritesItsOutputs)
{
    MapForm form = loaded();
    fillWorkedExample(form);
    form.setText("txtLpp", "");
    press(form, Button::Command2);
    EXPECT_EQ(form.takeMessages(),
              (std::vector<MapForm::ShownMessage>{{"Не установленны значения", MessageIcon::None}}));
    EXPECT_EQ(form.text("lblJ"), "0");
    EXPECT_EQ(form.text("lblJ1"), "0");
    EXPECT_EQ(form.text("Text6"), "12,5");
    EXPECT_EQ(form.text("Text8"), "12,5");
    EXPECT_EQ(form.text("Text12"), "10");

    form.setText("txtLpp", "2,5");
    form.setText("txtIyy", "2.0");
    press(form, Button::Command2);
    EXPECT_EQ(form.takeMessages(),
              (std::vector<MapForm::ShownMessage>{{"Десятичные вводятся через запяту.", MessageIcon::Error}}));
    EXPECT_EQ(form.text("lblJ"), "166,6667");
    EXPECT_EQ(form.text("lblJ1"), "0");
    EXPECT_EQ(wizardState(form), Wizard::S1);
}

TEST(Wizard, Step2OpensStep3WhateverItsOutcome)
{
    MapForm form = loaded();
    reach(form, Wizard::S2);
    form.setText("Text5", "");
    form.setText("txtQp", "999");
    press(form, Button::Command5);
    EXPECT_EQ(form.takeMessages(),
              (std::vector<MapForm::ShownMessage>{{"Не выбраны коэффиценты продольного изгиба.", MessageIcon::None}}));
    EXPECT_EQ(form.text("txtQp"), "0");
    EXPECT_EQ(form.text("txtZ1"), "0");
    EXPECT_EQ(form.text("Text15"), "1");
    EXPECT_EQ(wizardState(form), Wizard::S3);

    // A span of 0 is reported instead of passing zeros off as forces.
    form = loaded();
    reach(form, Wizard::S2);
    form.setText("txtl", "0");
    press(form, Button::Command5);
    EXPECT_EQ(
        form.takeMessages(),
        (std::vector<MapForm::ShownMessage>{
            {"Ошибка вычисления: деление на ноль или переполнение. Проверьте исходные данные.", MessageIcon::Error}}));
    EXPECT_EQ(form.text("txtQp"), "0");
    EXPECT_EQ(wizardState(form), Wizard::S3);
}

TEST(Wizard, WholeCalculationWritesEveryResult)
{
    MapForm form = loaded();
    fillWorkedExample(form);
    ASSERT_TRUE(press(form, Button::Command2));
    ASSERT_TRUE(press(form, Button::Command5));
    ASSERT_TRUE(press(form, Button::Command4));
    EXPECT_TRUE(form.takeMessages().empty());
    EXPECT_EQ(form.text("lblJ"), "166,6667");
    EXPECT_EQ(form.text("lblJ1"), "57,5");
    EXPECT_EQ(form.text("Text15"), "1");
    EXPECT_EQ(form.text("txtQp"), "2743,5449");
    EXPECT_EQ(form.text("txtZ1"), "1829,03");
    EXPECT_EQ(form.text("Text4"), "0,9920635");
    EXPECT_EQ(form.text("Text7"), "0,4761905");
    EXPECT_EQ(form.text("txtz2"), "0,08709667"); // 10^4 · 1829,03 / (21 · 10^7)
    EXPECT_EQ(form.text("Text13"), "1371,772");
    EXPECT_EQ(form.text("Text14"), "168000");

    // A later failing press leaves no result of this one beside its own.
    form.setText("txtQp", "abc");
    press(form, Button::Command4);
    EXPECT_EQ(form.takeMessages().size(), 1U);
    EXPECT_EQ(form.text("txtz2"), "0,08709667");
    EXPECT_EQ(form.text("Text13"), "");
    EXPECT_EQ(form.text("Text14"), "");
}

TEST(Wizard, Step1ResetClearsItsFieldsAndLocks)
{
    MapForm form = loaded();
    reach(form, Wizard::S3);
    form.setText("txtl3", "5");
    press(form, Button::Command4);
    const std::string results = form.text("Text4") + form.text("Text14");
    press(form, Button::Command3);
    for (const char* cleared : {"txtLpp", "txtH", "txtB", "txtMn", "txtMp", "txtMv", "txtIy", "txtIyy", "lblJ", "Text9",
                                "Text10", "Text3", "Text5"}) {
        EXPECT_EQ(form.text(cleared), "") << cleared;
    }
    EXPECT_EQ(form.text("Text1"), "21");
    EXPECT_EQ(form.text("txtLp"), "20");
    EXPECT_EQ(form.text("lblJ1"), "57,5");
    EXPECT_EQ(form.text("txtl3"), "5");
    EXPECT_EQ(form.text("Text15"), "1");
    EXPECT_EQ(form.text("txtQp"), "2743,5449");
    EXPECT_EQ(form.text("Text4") + form.text("Text14"), results);
    EXPECT_EQ(wizardState(form), Wizard::S5);
}

TEST(Wizard, Step2ResetRestoresTheWireTable)
{
    MapForm form = loaded();
    form.setText("txtl8", "3");
    form.setText("txtgp4", "1,5");
    form.setText("txtgpp1", "x");
    form.setText("Text3", "0,9");
    press(form, Button::Command6);
    for (const char* row : {"txtl", "txtgp", "txtgpp"}) {
        for (int i = 1; i <= 8; ++i) {
            EXPECT_EQ(form.text(row + std::to_string(i)), "0");
        }
    }
    EXPECT_EQ(form.text("Text3"), "");
    EXPECT_EQ(form.text("Text1"), "21");
    EXPECT_EQ(wizardState(form), Wizard::S5);
}

} // namespace
} // namespace prochnar
