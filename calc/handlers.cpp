#include "handlers.h"

#include "convert.h"
#include "steps.h"

#include <array>
#include <string>

namespace prochnar {

namespace {

struct ButtonName {
    Button button;
    std::string_view name;
};

constexpr std::array<ButtonName, 5> kButtons{{
    {Button::Command2, "Command2"},
    {Button::Command3, "Command3"},
    {Button::Command5, "Command5"},
    {Button::Command6, "Command6"},
    {Button::Command4, "Command4"},
}};

// The fields of the wire table, a row each: positions, weights, weights with
// ice.
enum WireRow : std::size_t { Positions, Weights, WeightsIce };
constexpr std::array<std::array<std::string_view, kWireCount>, 3> kWireFields{{
    {"txtl1", "txtl2", "txtl3", "txtl4", "txtl5", "txtl6", "txtl7", "txtl8"},
    {"txtgp1", "txtgp2", "txtgp3", "txtgp4", "txtgp5", "txtgp6", "txtgp7", "txtgp8"},
    {"txtgpp1", "txtgpp2", "txtgpp3", "txtgpp4", "txtgpp5", "txtgpp6", "txtgpp7", "txtgpp8"},
}};

void show(Form& form, Message message)
{
    if (message != Message::None) {
        form.showMessage(std::string(messageText(message)), messageIcon(message));
    }
}

void lockStep2(Form& form)
{
    form.setState(StateControl::Frame5Visible, true);
    form.setState(StateControl::Frame7Enabled, false);
    form.setState(StateControl::Command5Enabled, false);
}

} // namespace

std::string_view buttonName(Button button)
{
    for (const auto& entry : kButtons) {
        if (entry.button == button) {
            return entry.name;
        }
    }
    return {};
}

std::optional<Button> buttonFromName(std::string_view name)
{
    for (const auto& entry : kButtons) {
        if (entry.name == name) {
            return entry.button;
        }
    }
    return std::nullopt;
}

void applyInitialState(Form& form)
{
    // Frame5 is left as built: the step-2 lock panel is shown from the start.
    form.setState(StateControl::Frame7Enabled, false);
    form.setState(StateControl::Frame9Visible, true);
    form.setState(StateControl::Command5Enabled, false);
    form.setState(StateControl::Command4Enabled, false);
}

void confirmStep1(Form& form)
{
    const Step1Input in{
        .txtLpp = form.text("txtLpp"),
        .txtH = form.text("txtH"),
        .txtB = form.text("txtB"),
        .txtIy = form.text("txtIy"),
        .txtIyy = form.text("txtIyy"),
        .txtMn = form.text("txtMn"),
        .txtMp = form.text("txtMp"),
        .txtMv = form.text("txtMv"),
        .txtLp = form.text("txtLp"),
        .txtl = form.text("txtl"),
        .txtG = form.text("txtG"),
        .txtGg = form.text("txtGg"),
        .Text9 = form.text("Text9"),
        .Text10 = form.text("Text10"),
    };
    const Step1Result result = step1(in);

    if (result.unlockStep2) {
        form.setState(StateControl::Frame5Visible, false);
        form.setState(StateControl::Frame7Enabled, true);
        form.setState(StateControl::Command5Enabled, true);
    }
    show(form, result.message);
    form.setText("lblJ", toText(result.chordSlenderness));
    form.setText("lblJ1", toText(result.diagonalSlenderness));
    form.setText("Text6", in.Text9);
    form.setText("Text8", in.Text9);
    form.setText("Text12", in.Text10);
}

void resetStep1(Form& form)
{
    for (const char* field : {"txtLpp", "txtH", "txtB", "txtMn", "txtMp", "txtMv", "txtIy", "txtIyy"}) {
        form.setText(field, "");
    }
    form.setText("Text1", "21");
    form.setText("lblJ", "");
    lockStep2(form);
    form.setText("Text9", "");
    form.setText("Text10", "");
    form.setState(StateControl::Frame9Visible, false);
    form.setState(StateControl::Command4Enabled, false);
    form.setText("Text3", "");
    form.setText("Text5", "");
}

void confirmStep2(Form& form)
{
    Step2Input in{
        .txtMp = form.text("txtMp"),
        .txtMv = form.text("txtMv"),
        .wirePosition = {},
        .wireWeight = {},
        .wireWeightIce = {},
        .txtLp = form.text("txtLp"),
        .txtl = form.text("txtl"),
        .txtG = form.text("txtG"),
        .txtGg = form.text("txtGg"),
        .txtH = form.text("txtH"),
        .txtLpp = form.text("txtLpp"),
        .Text3 = form.text("Text3"),
        .Text5 = form.text("Text5"),
    };
    for (std::size_t i = 0; i < kWireCount; ++i) {
        in.wirePosition.at(i) = form.text(kWireFields[Positions].at(i));
        in.wireWeight.at(i) = form.text(kWireFields[Weights].at(i));
        in.wireWeightIce.at(i) = form.text(kWireFields[WeightsIce].at(i));
    }
    const Step2Result result = step2(in);

    if (result.iceMomentGoverns) {
        form.setText("Text15", *result.iceMomentGoverns ? "1" : "0");
    }
    show(form, result.message);
    form.setText("txtQp", toText(result.reaction));
    form.setText("txtZ1", toText(result.diagonalForce));
    form.setState(StateControl::Frame9Visible, false);
    form.setState(StateControl::Command4Enabled, true);
}

void resetStep2(Form& form)
{
    for (const auto& row : kWireFields) {
        for (const std::string_view field : row) {
            form.setText(field, "0");
        }
    }
    form.setText("Text3", "");
    form.setText("Text5", "");
    form.setState(StateControl::Frame9Visible, false);
    form.setState(StateControl::Command4Enabled, false);
}

void execute(Form& form)
{
    const Step3Input in{
        .txtMp = form.text("txtMp"),
        .txtMv = form.text("txtMv"),
        .txtMn = form.text("txtMn"),
        .txtH = form.text("txtH"),
        .Text1 = form.text("Text1"),
        .Text10 = form.text("Text10"),
        .Text3 = form.text("Text3"),
        .Text5 = form.text("Text5"),
        .txtQp = form.text("txtQp"),
        .txtZ1 = form.text("txtZ1"),
        .Text15 = form.text("Text15"),
    };
    const Step3Result result = step3(in);

    // A result the press did not reach is emptied, so that nothing of an
    // earlier press stands beside the new results.
    const auto write = [&form](const char* field, const std::optional<float>& value) {
        form.setText(field, value ? singleToText(*value) : std::string{});
    };
    write("Text4", result.Text4);
    write("Text7", result.Text7);
    write("txtz2", result.txtz2);
    write("Text13", result.Text13);
    write("Text14", result.Text14);
    show(form, result.message);
}

bool isEnabled(const Form& form, Button button)
{
    switch (button) {
    case Button::Command5:
        return form.state(StateControl::Command5Enabled);
    case Button::Command4:
        return form.state(StateControl::Command4Enabled);
    default:
        return true;
    }
}

bool press(Form& form, Button button)
{
    if (!isEnabled(form, button)) {
        return false;
    }
    switch (button) {
    case Button::Command2:
        confirmStep1(form);
        break;
    case Button::Command3:
        resetStep1(form);
        break;
    case Button::Command5:
        confirmStep2(form);
        break;
    case Button::Command6:
        resetStep2(form);
        break;
    case Button::Command4:
        execute(form);
        break;
    }
    return true;
}

} // namespace prochnar
