#include "handlers.h"

#include "convert.h"
#include "errors.h"
#include "fields.h"
#include "steps.h"

#include <algorithm>
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

void show(Form& form, Message message, std::optional<Field> about)
{
    if (message == Message::None) {
        return;
    }
    if (about) {
        form.showFieldMessage(*about, std::string(messageText(message)), messageIcon(message));
    } else {
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

namespace {

Step2Input step2Input(const Form& form)
{
    Step2Input in{
        .txtMp = form.text(Field::txtMp),
        .txtMv = form.text(Field::txtMv),
        .wirePosition = {},
        .wireWeight = {},
        .wireWeightIce = {},
        .txtLp = form.text(Field::txtLp),
        .txtl = form.text(Field::txtl),
        .txtG = form.text(Field::txtG),
        .txtGg = form.text(Field::txtGg),
        .txtH = form.text(Field::txtH),
        .txtLpp = form.text(Field::txtLpp),
        .Text3 = form.text(Field::Text3),
        .Text5 = form.text(Field::Text5),
    };
    for (std::size_t i = 0; i < kWireCount; ++i) {
        in.wirePosition.at(i) = form.text(kWirePositions.at(i));
        in.wireWeight.at(i) = form.text(kWireWeights.at(i));
        in.wireWeightIce.at(i) = form.text(kWireWeightsIce.at(i));
    }
    return in;
}

// The texts of step 2's results, the flag of the governing moment first; the
// press shows its message between them (between()).
template <typename Between> void writeStep2(Form& form, const Step2Result& result, Between between)
{
    if (result.iceMomentGoverns) {
        form.setText(Field::Text15, *result.iceMomentGoverns ? "1" : "0");
    }
    between();
    form.setText(Field::txtQp, toText(result.reaction));
    form.setText(Field::txtZ1, toText(result.diagonalForce));
}

Step3Input step3Input(const Form& form)
{
    return {
        .txtMp = form.text(Field::txtMp),
        .txtMv = form.text(Field::txtMv),
        .txtMn = form.text(Field::txtMn),
        .txtH = form.text(Field::txtH),
        .Text1 = form.text(Field::Text1),
        .Text10 = form.text(Field::Text10),
        .Text3 = form.text(Field::Text3),
        .Text5 = form.text(Field::Text5),
        .txtQp = form.text(Field::txtQp),
        .txtZ1 = form.text(Field::txtZ1),
        .Text15 = form.text(Field::Text15),
    };
}

// A result the press did not reach is emptied, so that nothing of an
// earlier press stands beside the new results.
void writeStep3(Form& form, const Step3Result& result)
{
    const auto write = [&form](Field field, const std::optional<float>& value) {
        form.setText(field, value ? singleToText(*value) : std::string{});
    };
    write(Field::Text4, result.Text4);
    write(Field::Text7, result.Text7);
    write(Field::txtz2, result.txtz2);
    write(Field::Text13, result.Text13);
    write(Field::Text14, result.Text14);
}

} // namespace

void confirmStep1(Form& form)
{
    const Step1Input in{
        .txtLpp = form.text(Field::txtLpp),
        .txtH = form.text(Field::txtH),
        .txtB = form.text(Field::txtB),
        .txtIy = form.text(Field::txtIy),
        .txtIyy = form.text(Field::txtIyy),
        .txtMn = form.text(Field::txtMn),
        .txtMp = form.text(Field::txtMp),
        .txtMv = form.text(Field::txtMv),
        .txtLp = form.text(Field::txtLp),
        .txtl = form.text(Field::txtl),
        .txtG = form.text(Field::txtG),
        .txtGg = form.text(Field::txtGg),
        .Text9 = form.text(Field::Text9),
        .Text10 = form.text(Field::Text10),
    };
    const Step1Result result = step1(in);
    // Copied before the form changes: the input's texts are the form's own.
    const std::string chordArea(in.Text9);
    const std::string diagonalArea(in.Text10);

    if (result.unlockStep2) {
        form.setState(StateControl::Frame5Visible, false);
        form.setState(StateControl::Frame7Enabled, true);
        form.setState(StateControl::Command5Enabled, true);
    }
    show(form, result.message, result.about);
    form.setText(Field::lblJ, toText(result.chordSlenderness));
    form.setText(Field::lblJ1, toText(result.diagonalSlenderness));
    form.setText(Field::Text6, chordArea);
    form.setText(Field::Text8, chordArea);
    form.setText(Field::Text12, diagonalArea);
}

void resetStep1(Form& form)
{
    for (const Field field : {Field::txtLpp, Field::txtH, Field::txtB, Field::txtMn, Field::txtMp, Field::txtMv,
                              Field::txtIy, Field::txtIyy}) {
        form.setText(field, "");
    }
    form.setText(Field::Text1, "21");
    form.setText(Field::lblJ, "");
    lockStep2(form);
    form.setText(Field::Text9, "");
    form.setText(Field::Text10, "");
    form.setState(StateControl::Frame9Visible, false);
    form.setState(StateControl::Command4Enabled, false);
    form.setText(Field::Text3, "");
    form.setText(Field::Text5, "");
}

void confirmStep2(Form& form)
{
    const Step2Result result = step2(step2Input(form));
    writeStep2(form, result, [&] { show(form, result.message, result.about); });
    form.setState(StateControl::Frame9Visible, false);
    form.setState(StateControl::Command4Enabled, true);
}

void resetStep2(Form& form)
{
    for (const auto& row : {kWirePositions, kWireWeights, kWireWeightsIce}) {
        for (const Field field : row) {
            form.setText(field, "0");
        }
    }
    form.setText(Field::Text3, "");
    form.setText(Field::Text5, "");
    form.setState(StateControl::Frame9Visible, false);
    form.setState(StateControl::Command4Enabled, false);
}

void execute(Form& form)
{
    const Step3Result result = step3(step3Input(form));
    writeStep3(form, result);
    show(form, result.message, result.about);
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

namespace {

// What each confirming press reads and writes; nothing for the others.
struct StepFields {
    std::span<const Field> reads;
    std::span<const Field> writes;
};

StepFields stepFields(Button button)
{
    using enum Field;
    static constexpr std::array kReads1{txtLpp, txtH,  txtB, txtIy, txtIyy, txtMn, txtMp,
                                        txtMv,  txtLp, txtl, txtG,  txtGg,  Text9, Text10};
    static constexpr std::array kWrites1{lblJ, lblJ1, Text6, Text8, Text12};
    static constexpr std::array kReads2{txtMp,   txtMv,   txtl1,   txtl2,   txtl3,   txtl4,   txtl5,   txtl6,   txtl7,
                                        txtl8,   txtgp1,  txtgp2,  txtgp3,  txtgp4,  txtgp5,  txtgp6,  txtgp7,  txtgp8,
                                        txtgpp1, txtgpp2, txtgpp3, txtgpp4, txtgpp5, txtgpp6, txtgpp7, txtgpp8, txtLp,
                                        txtl,    txtG,    txtGg,   txtH,    txtLpp,  Text3,   Text5};
    // Text15 says which moment governs; step 3 reads it.
    static constexpr std::array kWrites2{txtQp, txtZ1, Text15};
    static constexpr std::array kReads3{txtMp, txtMv, txtMn, txtH, Text1, Text10, Text3, Text5, txtQp, txtZ1, Text15};
    static constexpr std::array kWrites3{Text4, Text7, txtz2, Text13, Text14};
    switch (button) {
    case Button::Command2:
        return {kReads1, kWrites1};
    case Button::Command5:
        return {kReads2, kWrites2};
    case Button::Command4:
        return {kReads3, kWrites3};
    default:
        return {};
    }
}

} // namespace

namespace {

// A text counted as a press would write it; false where the press would
// show a message instead.
template <typename Count> bool writeCounted(Form& form, Field field, Count count)
{
    try {
        form.setText(field, count());
        return true;
    } catch (const ConversionError&) {
        return false;
    } catch (const ArithmeticError&) {
        return false;
    }
}

bool countChordSlenderness(Form& form)
{
    return writeCounted(form, Field::lblJ, [&form] {
        return toText(chordSlenderness(form.text(Field::txtLpp), form.text(Field::txtIy)));
    });
}

bool countDiagonalSlenderness(Form& form)
{
    return writeCounted(form, Field::lblJ1, [&form] {
        return toText(diagonalSlenderness(form.text(Field::txtH), form.text(Field::txtB), form.text(Field::txtIyy)));
    });
}

// Step 1 copies the sections' areas to step 3 as they stand, once filled.
template <Field kArea, Field... kCopies> bool countAreaCopies(Form& form)
{
    const std::string& area = form.text(kArea);
    if (!isFilled(area)) {
        return false;
    }
    (form.setText(kCopies, area), ...);
    return true;
}

// The fields step 1 only asks to be filled.
constexpr std::array kStep1Filled{Field::txtMn, Field::txtMp, Field::txtMv, Field::txtLp,
                                  Field::txtl,  Field::txtG,  Field::txtGg};

bool countStep1Filled(Form& form)
{
    return std::ranges::all_of(kStep1Filled, [&form](Field field) { return isFilled(form.text(field)); });
}

bool countStep2(Form& form)
{
    const Step2Result result = step2(step2Input(form));
    if (result.message != Message::None) {
        return false;
    }
    writeStep2(form, result, [] {});
    return true;
}

bool countStep3(Form& form)
{
    const Step3Result result = step3(step3Input(form));
    if (result.message != Message::None) {
        return false;
    }
    writeStep3(form, result);
    return true;
}

bool countDiagonalCapacity(Form& form)
{
    return writeCounted(form, Field::Text14, [&form] {
        return singleToText(
            diagonalCapacity(form.text(Field::Text1), form.text(Field::Text5), form.text(Field::Text10)));
    });
}

} // namespace

std::span<const ResultGroup> resultGroups(Button button)
{
    using enum Field;
    static constexpr std::array kChordLength{txtLpp, txtIy};
    static constexpr std::array kChordSlenderness{lblJ};
    static constexpr std::array kDiagonalLength{txtH, txtB, txtIyy};
    static constexpr std::array kDiagonalSlenderness{lblJ1};
    static constexpr std::array kChordArea{Text9};
    static constexpr std::array kChordAreaCopies{Text6, Text8};
    static constexpr std::array kDiagonalArea{Text10};
    static constexpr std::array kDiagonalAreaCopy{Text12};
    static constexpr std::array<ResultGroup, 5> kGroups1{{
        {kChordLength, kChordSlenderness, countChordSlenderness},
        {kDiagonalLength, kDiagonalSlenderness, countDiagonalSlenderness},
        {kChordArea, kChordAreaCopies, countAreaCopies<Text9, Text6, Text8>},
        {kDiagonalArea, kDiagonalAreaCopy, countAreaCopies<Text10, Text12>},
        {kStep1Filled, {}, countStep1Filled},
    }};
    static const std::array<ResultGroup, 1> kGroups2{
        {{inputsOf(Button::Command5), resultsOf(Button::Command5), countStep2}}};
    // The force a diagonal carries reads the diagonals' section; the rest of
    // step 3 is counted as the whole step counts it (which writes that
    // force again, as its own group does).
    static constexpr std::array kCapacityReads{Text1, Text5, Text10};
    static constexpr std::array kCapacity{Text14};
    static constexpr std::array kRestReads{txtMp, txtMv, txtMn, txtH, Text1, Text3, txtQp, txtZ1, Text15};
    static constexpr std::array kRest{Text4, Text7, txtz2, Text13};
    static constexpr std::array<ResultGroup, 2> kGroups3{{
        {kCapacityReads, kCapacity, countDiagonalCapacity},
        {kRestReads, kRest, countStep3},
    }};
    switch (button) {
    case Button::Command2:
        return kGroups1;
    case Button::Command5:
        return kGroups2;
    case Button::Command4:
        return kGroups3;
    default:
        return {};
    }
}

namespace {

// Whether the group reads a field of fields: pressed again, it is counted.
bool readsAny(const ResultGroup& group, const std::bitset<kFieldCount>& fields)
{
    return std::ranges::any_of(group.reads, [&fields](Field field) { return fields.test(fieldIndex(field)); });
}

} // namespace

bool pressAgain(Form& form, Button step, std::bitset<kFieldCount>& changed)
{
    std::bitset<kFieldCount> wrote;
    for (const ResultGroup& group : resultGroups(step)) {
        if (!readsAny(group, changed)) {
            continue;
        }
        if (!group.count(form)) {
            return false;
        }
        for (const Field field : group.writes) {
            wrote.set(fieldIndex(field));
        }
    }
    changed |= wrote;
    return true;
}

PressReach pressAgainReach(std::bitset<kFieldCount> changed)
{
    PressReach reach{.reads = {}, .writes = changed};
    for (const Button step : {Button::Command2, Button::Command5, Button::Command4}) {
        std::bitset<kFieldCount> wrote;
        for (const ResultGroup& group : resultGroups(step)) {
            if (!readsAny(group, changed)) {
                continue;
            }
            // A group reads what the groups before it wrote.
            for (const Field field : group.reads) {
                if (!reach.writes.test(fieldIndex(field))) {
                    reach.reads.set(fieldIndex(field));
                }
            }
            for (const Field field : group.writes) {
                reach.writes.set(fieldIndex(field));
                wrote.set(fieldIndex(field));
            }
        }
        changed |= wrote;
    }
    return reach;
}

std::span<const Field> resultsOf(Button button) { return stepFields(button).writes; }

std::span<const Field> inputsOf(Button button) { return stepFields(button).reads; }

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
