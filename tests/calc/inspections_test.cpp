// Dates, thinning rates and remaining lives, on histories worked by hand,
// and the least thickness of a member's nominal angle.
#include "calc/angles.h"
#include "calc/handlers.h"
#include "calc/inspections.h"
#include "calc/map_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <fstream>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace prochnar {
namespace {

TEST(Inspections, Dates)
{
    EXPECT_EQ(parseDate(" 29.02.2024 "), (CalendarDate{.year = 2024, .month = 2, .day = 29}));
    EXPECT_EQ(parseDate("2026-12-07"), (CalendarDate{.year = 2026, .month = 12, .day = 7}));
    for (const char* bad : {"29.02.2025", "29.02.1900", "31.04.2026", "00.01.2026", "7.12.2026", "2026-13-01",
                            "07.12.26", "07-12-2026", "", "07.12.1799"}) {
        EXPECT_FALSE(parseDate(bad).has_value()) << bad;
    }
    EXPECT_TRUE(parseDate("29.02.2000").has_value());
    EXPECT_EQ(dateText({.year = 2026, .month = 3, .day = 5}), "05.03.2026");
    EXPECT_DOUBLE_EQ(decimalYear({.year = 2024, .month = 2, .day = 29}), 2024 + 59.0 / 366);
    EXPECT_DOUBLE_EQ(decimalYear({.year = 2026, .month = 12, .day = 31}), 2026 + 364.0 / 365);
    EXPECT_DOUBLE_EQ(decimalYear({.year = 2026, .month = 1, .day = 1}), 2026);
}

// Installed in 1998 at 6,0 mm, 5,2 mm on 01.07.2020 (2020 + 182/366):
// v = 0,8 / 22,497268 = 0,035560 mm a year; to 3,0 mm 2,2 / v = 61,87 →
// 61,8 years, replaced by the integer part of 2020,4973 + 61,8 = 2082.
// Installed 2000 at 6,0, 5,8 in 2010, 5,0 in 2020: the least squares give
// 10 / 200 = 0,05, the last two 0,08, which governs; to 3,4 mm exactly
// 1,6 / 0,08 = 20,0 years: 2040.
TEST(Inspections, RatesAndRemainingLives)
{
    using enum MemberLife::Kind;
    const MemberLife one = memberLife({{1998, 60}, {decimalYear({2020, 7, 1}), 52}}, 30);
    EXPECT_EQ(one.kind, Years);
    EXPECT_NEAR(one.rate, 0.035560, 1e-6);
    EXPECT_EQ(one.lifeTenths, 618);
    EXPECT_EQ(one.replacementYear, 2082);
    EXPECT_EQ(memberLifeText(one), "утонение 0,036 мм/год, предел 3,0 мм, осталось 61,8 года — замена до 2082 г.");

    const std::vector<ThicknessAt> speeding{{2000, 60}, {2010, 58}, {2020, 50}};
    EXPECT_DOUBLE_EQ(*thinningRate(speeding), 0.08);
    const MemberLife fast = memberLife(speeding, 34);
    EXPECT_EQ(fast.lifeTenths, 200);
    EXPECT_EQ(fast.replacementYear, 2040);
    EXPECT_DOUBLE_EQ(*thinningRate({{2000, 60}, {2010, 50}, {2020, 49}}), 0.055); // slowing: least squares

    const MemberLife reached = memberLife({{2000, 60}, {2026.5, 33}}, 34);
    EXPECT_EQ(reached.kind, Reached);
    EXPECT_EQ(reached.replacementYear, 2026);
    EXPECT_EQ(memberLife({{2000, 60}, {2026.5, 34}}, 34).kind, Reached); // at the limit
    EXPECT_EQ(memberLife({{2000, 60}, {2020, 60}}, 34).kind, NoThinning);
    EXPECT_EQ(memberLife({{2000, 50}, {2020, 52}}, 34).kind, NoThinning); // a thicker reading
    EXPECT_EQ(memberLifeText(memberLife({{2000, 60}, {2020, 60}}, 34)), "утонение не выявлено");
    EXPECT_EQ(memberLife({{2020, 60}}, 34).kind, TooFewPoints);
    EXPECT_EQ(memberLife({{2020, 60}, {2020, 50}}, 34).kind, TooFewPoints);
    EXPECT_DOUBLE_EQ(*thinningRate({{2020, 60}, {2020.5, 59}}), 0.2);               // two inspections in one season
    EXPECT_NEAR(*thinningRate({{2000, 60}, {2020, 50}, {2020, 40}}), 0.075, 1e-12); // last two at one time: 20/266,67
    EXPECT_EQ(memberLife(speeding, std::nullopt).kind, NoLimit);

    // Two readings of one day, in either order: the life counts down from the thinner.
    GirderHistory twice{.chordAngle = angleNamed("75x6"), .installed = 2000};
    const CalendarDate day{2020, 6, 1};
    twice.inspections = {{.date = day, .chordTenths = 50}, {.date = day, .chordTenths = 46}};
    const std::vector<ThicknessAt> points = thicknessPoints(twice, Member::Chord);
    ASSERT_EQ(points.size(), 3U);
    EXPECT_EQ(points.back().tenths, 46);
    std::swap(twice.inspections.front(), twice.inspections.back());
    twice.inspections.push_back({.date = {1999, 12, 31}, .chordTenths = 58}); // before the installation: not counted
    EXPECT_EQ(thicknessPoints(twice, Member::Chord).size(), 3U);
    EXPECT_EQ(thicknessPoints(twice, Member::Chord).back().tenths, 46);
    // A reading of another angle, or from before the installation year, is
    // not one of the member now; one with no angle named is.
    const auto l75 = angleNamed("75x6");
    EXPECT_TRUE(readsPresentMember(l75, {2021, 1, 1}, l75, 2021));
    EXPECT_FALSE(readsPresentMember(l75, {2020, 12, 31}, l75, 2021));
    EXPECT_FALSE(readsPresentMember(angleNamed("63x5"), {2024, 1, 1}, l75, 2021));
    EXPECT_TRUE(readsPresentMember(std::nullopt, {2024, 1, 1}, l75, std::nullopt));

    EXPECT_EQ(replacementText(fast, one), "замена пояса до 2040 г. (через 20,0 года)");
    EXPECT_EQ(replacementText(one, fast), "замена раскосов до 2040 г. (через 20,0 года)");
    EXPECT_EQ(replacementText(one, reached), "предел раскосов достигнут: замена в 2026 г.");
    EXPECT_EQ(replacementText(memberLife({{2020, 60}}, 34), one), "замена раскосов до 2082 г. (через 61,8 года)");
    EXPECT_FALSE(replacementText({}, {}).has_value());

    // A plan's cell names a member kind whose life is not known beside the
    // other's year; one with no thinning limits nothing and is not named.
    const MemberLife still = memberLife({{2000, 60}, {2020, 60}}, 34);
    EXPECT_EQ(planReplacementText(fast, memberLife(speeding, std::nullopt)),
              "замена пояса до 2040 г. (через 20,0 года); раскосы: утонение 0,08 мм/год, предел толщины не определен");
    EXPECT_EQ(planReplacementText(memberLife({{2020, 60}}, 34), reached),
              "предел раскосов достигнут: замена в 2026 г.; пояс: мало точек для скорости утонения");
    EXPECT_EQ(planReplacementText(still, one), *replacementText(still, one));
    EXPECT_EQ(planReplacementText(still, {}),
              "год замены не определен; пояс: утонение не выявлено; раскосы: мало точек для скорости утонения");

    // A table's cell: the year and what governs; in one year a reached limit
    // before a life of 0,4 year (2016 at 6,0, 3,5 in 2026: 0,25 mm a year).
    const MemberLife soon = memberLife({{2016, 60}, {2026, 35}}, 34);
    EXPECT_EQ(soon.replacementYear, 2026);
    EXPECT_EQ(replacementYearText(fast, one), "2040 (пояс)");
    EXPECT_EQ(replacementYearText(soon, reached), "2026 (раскосы, предел достигнут)");
    EXPECT_EQ(replacementYearText(reached, soon), "2026 (пояс, предел достигнут)");
    EXPECT_EQ(replacementYear({}, one), 2082);
    EXPECT_EQ(replacementYearText({}, {}), "");
    EXPECT_EQ(rateText(0.1), "0,10");
    EXPECT_EQ(rateText(0.0356), "0,036");
}

// The worked calculation with L 63×5 chords and L 50×5 diagonals.
MapForm workedExample()
{
    MapForm form;
    std::ifstream file(std::string(PROCHNAR_CASES_DIR) + "/../../../examples/catalogue-angles.prochnar");
    for (std::string line; std::getline(file, line);) {
        const auto equals = line.find('=');
        if (line.starts_with('#') || equals == std::string::npos) {
            continue;
        }
        if (const auto field = fieldFromName(line.substr(0, equals))) {
            form.setText(*field, line.substr(equals + 1));
        }
    }
    return form;
}

// Each member's limit is the largest its rows' verdicts name.
TEST(Inspections, LeastThicknessOfTheNominalAngle)
{
    MapForm form = workedExample();
    const Angle chord = angleCatalogue()[*filterAngles("63x5").begin()];
    const Angle diagonal = angleCatalogue()[*filterAngles("50x5").begin()];
    // The compressed chord is short by 445,2 % unthinned: its limit is its thickness.
    EXPECT_EQ(nominalFlangeLimit(form, Member::Chord, chord), 50);
    EXPECT_EQ(nominalFlangeLimit(form, Member::Diagonals, diagonal), 21); // local stability
    // With Mp 4 the chord's rows name 2,6 and 0,7 mm; the sections as measured
    // (thinner figures in the fields) do not change the nominal angle's limit.
    form.setText(Field::txtMp, "4");
    form.setText(Field::Text9, "5");
    form.setText(Field::txtIy, "1,26");
    EXPECT_EQ(nominalFlangeLimit(form, Member::Chord, chord), 26);
    // Installed in 1998, three inspections out of order, one without the
    // diagonals: chord points (1998; 5,0), (2010,4137; 4,8), (2020,4973; 4,6),
    // (2024,3689; 4,4); the last two give 0,2 / 3,8716 = 0,05166 mm a year,
    // above the least squares' 0,02140; to 2,6 mm 1,8 / 0,05166 = 34,84 →
    // 34,8 years, by 2059.
    GirderHistory history{
        .chordAngle = filterAngles("63x5").front(),
        .diagonalAngle = filterAngles("50x5").front(),
        .installed = 1998,
        .inspections = {{{2020, 7, 1}, 46, 48, ""}, {{2010, 6, 1}, 48, {}, ""}, {{2024, 5, 15}, 44, 45, "после зимы"}}};
    EXPECT_EQ(thicknessPoints(history, Member::Diagonals).size(), 3U);
    EXPECT_EQ(latestInspection(history, Member::Chord)->note, "после зимы");
    const MemberLife life = lifeOf(form, history, Member::Chord);
    EXPECT_NEAR(life.rate, 0.051658, 1e-6);
    EXPECT_EQ(life.lifeTenths, 348);
    EXPECT_EQ(life.replacementYear, 2059);
    history.installed.reset(); // the inspections alone: 0,2 a year over 2020 … 2024 as well
    EXPECT_EQ(thicknessPoints(history, Member::Chord).front().tenths, 48);
    history.chordAngle.reset();
    EXPECT_EQ(lifeOf(form, history, Member::Chord).kind, MemberLife::Kind::NoLimit);
    form.setText(Field::txtH, "x");
    EXPECT_FALSE(nominalFlangeLimit(form, Member::Chord, chord).has_value());
}

// A confirming press reads only the fields it lists: any other changed,
// text or number, leaves its results and messages as they were. A nominal
// angle's form pressed again only where its fields changed rests on it.
TEST(Inspections, PressesReadOnlyTheirInputs)
{
    const std::array steps{Button::Command2, Button::Command5, Button::Command4};
    for (std::size_t s = 0; s < steps.size(); ++s) {
        MapForm before = workedExample();
        for (std::size_t earlier = 0; earlier < s; ++earlier) {
            press(before, steps.at(earlier));
        }
        const auto pressed = [&steps, s](MapForm form) {
            press(form, steps.at(s));
            std::vector<std::string> seen;
            for (const Field field : resultsOf(steps.at(s))) {
                seen.push_back(form.text(field));
            }
            for (const auto& message : form.takeMessages()) {
                seen.push_back(message.text);
            }
            return seen;
        };
        const std::vector<std::string> expected = pressed(before);
        const std::span<const Field> reads = inputsOf(steps.at(s));
        for (const auto& field : kFormFields) {
            if (std::ranges::find(reads, field.id) != reads.end()) {
                continue;
            }
            for (const char* text : {"7,25", "x", ""}) {
                MapForm changed = before;
                changed.setText(field.id, text);
                EXPECT_EQ(pressed(changed), expected) << field.name << " = " << text;
            }
        }
    }
}

// A step pressed again after one of its inputs changed writes what pressing
// it whole writes, and fails where that shows a message, whatever the text;
// its groups read and write the step's fields between them.
TEST(Inspections, PressedAgainWritesWhatAWholePressWrites)
{
    const std::array steps{Button::Command2, Button::Command5, Button::Command4};
    const auto fieldSet = [](std::span<const Field> fields) { return std::set<Field>(fields.begin(), fields.end()); };
    for (std::size_t s = 0; s < steps.size(); ++s) {
        const Button step = steps.at(s);
        std::set<Field> reads;
        std::set<Field> writes;
        for (const ResultGroup& group : resultGroups(step)) {
            reads.merge(fieldSet(group.reads));
            writes.merge(fieldSet(group.writes));
        }
        EXPECT_EQ(reads, fieldSet(inputsOf(step))) << s;
        EXPECT_EQ(writes, fieldSet(resultsOf(step))) << s;

        MapForm quiet = workedExample();
        for (std::size_t earlier = 0; earlier <= s; ++earlier) {
            press(quiet, steps.at(earlier));
        }
        ASSERT_TRUE(quiet.takeMessages().empty());
        for (const Field field : inputsOf(step)) {
            for (const char* text : {"7,25", "0,5", "0", "-3", "x", "", "1e3", "99999999999999999999"}) {
                MapForm whole = quiet;
                whole.setText(field, text);
                press(whole, step);
                const bool shown = !whole.takeMessages().empty();
                MapForm again = quiet;
                again.setText(field, text);
                std::bitset<kFieldCount> changed;
                changed.set(fieldIndex(field));
                ASSERT_EQ(pressAgain(again, step, changed), !shown) << fieldName(field) << " = " << text;
                for (const auto& each : kFormFields) {
                    if (shown) {
                        break;
                    }
                    EXPECT_EQ(again.text(each.id), whole.text(each.id)) << fieldName(field) << " = " << text;
                    // What changed is marked, for the steps after.
                    EXPECT_TRUE(whole.text(each.id) == quiet.text(each.id) || changed.test(fieldIndex(each.id)))
                        << fieldName(field) << " = " << text << ": " << each.name;
                }
            }
        }
    }
}

TEST(Inspections, NominalFormOfAPressedFormIsTheWholeOne)
{
    MapForm form = workedExample();
    form.setText(Field::txtMp, "4");
    for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
        press(form, button);
    }
    ASSERT_TRUE(form.takeMessages().empty());
    for (const Member member : kMembers) {
        // One for all the angles: each asked for is counted for itself.
        NominalTrials trials;
        trials.formPressedQuietly();
        for (const char* name : {"63x5", "50x5", "90x7"}) {
            const Angle& angle = angleCatalogue()[filterAngles(name).front()];
            const std::optional<MapForm> whole = withSection(form, member, angle);
            const Form* pressedAgain = trials.trial(form, member, angle);
            ASSERT_EQ(whole.has_value(), pressedAgain != nullptr) << name;
            for (const auto& field : kFormFields) {
                EXPECT_EQ(whole->text(field.id), pressedAgain->text(field.id)) << name << " " << field.name;
            }
        }
    }
}

// A nominal trial kept from the row before is taken again only where every
// text its presses read is the same: row after row with one input changed,
// pressed whole, and the unchanged row between them, each trial is the one
// withSection() counts afresh.
TEST(Inspections, TrialsKeptFromTheRowBeforeAreCountedAfresh)
{
    const auto pressed = [](MapForm form) -> std::optional<MapForm> {
        for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
            press(form, button);
        }
        return form.takeMessages().empty() ? std::optional(form) : std::nullopt;
    };
    const std::optional<MapForm> unchanged = pressed(workedExample());
    ASSERT_TRUE(unchanged);
    std::set<Field> inputs;
    for (const Button step : {Button::Command2, Button::Command5, Button::Command4}) {
        const std::span<const Field> read = inputsOf(step);
        inputs.insert(read.begin(), read.end());
    }
    const Angle& wide = angleCatalogue()[filterAngles("63x5").front()];
    const Angle& narrow = angleCatalogue()[filterAngles("50x5").front()];
    for (const Member member : kMembers) {
        LastNominals last;
        std::size_t asked = 0;
        for (const Field field : inputs) {
            for (const char* text : {"7,25", "0,35", ""}) {
                MapForm typed = *unchanged;
                typed.setText(field, text);
                const std::optional<MapForm> row = pressed(typed);
                if (!row) {
                    continue; // a row with a message is pressed whole, its trials too
                }
                for (const Angle* angle : {&wide, &narrow}) {
                    for (const MapForm* form : {&*row, &*unchanged, &*unchanged, &*row}) {
                        const std::optional<MapForm> whole = withSection(*form, member, *angle);
                        const Form* kept = last.trial(*form, member, *angle);
                        ++asked;
                        ASSERT_EQ(whole.has_value(), kept != nullptr) << fieldName(field) << " = " << text;
                        if (!whole) {
                            continue; // none on either: a press would show a message
                        }
                        for (const auto& each : kFormFields) {
                            ASSERT_EQ(kept->text(each.id), whole->text(each.id))
                                << fieldName(field) << " = " << text << ": " << each.name;
                        }
                    }
                }
            }
        }
        EXPECT_GT(asked, 500U);
    }
}

// The diagonals of the worked calculation measured: L 50×5 whose figures are
// thinned to t м. The nominal angle's limit stays local stability's, with λ
// 117,3469 of its i 0,98: 44,5 / (1 + 0,66227 · 31,3202) = 2,047 → 2,1 mm. At
// 4,2 mm (4,07 cm², i 0,98) the area row keeps (4,07 − 0,08709667) / 4,07 =
// 97,8 %; at 2,1 the flange is at the limit, at 2,0 below it.
TEST(Inspections, MeasuredSectionKeepsTheNominalLimit)
{
    const std::size_t nominal = filterAngles("50x5").front();
    const auto diagonals = [&](int tenths, const MeasuredSections& measured) {
        MapForm form = workedExample();
        const Angle thinned = *thinnedAngle(angleCatalogue()[nominal], tenths);
        form.setText(Field::Text10, areaText(thinned));
        form.setText(Field::txtIyy, radiusText(thinned));
        for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
            press(form, button);
        }
        return judgeStep3(form, measured)[2];
    };
    const auto at = [&](int tenths) { return MeasuredSections{.diagonals = MeasuredSection{nominal, tenths}}; };
    EXPECT_EQ(diagonals(42, at(42)),
              (Verdict{VerdictKind::Holds,
                       "держит, запас 97,8 %, полка 4,2 мм выше предела 2,1 мм (местная устойчивость)", 978}));
    EXPECT_TRUE(diagonals(21, at(21))->text.ends_with(" %, полка на пределе 2,1 мм (местная устойчивость)"));
    const std::optional<Verdict> below = diagonals(20, at(20));
    EXPECT_EQ(below->kind, VerdictKind::Check);
    EXPECT_EQ(below->text, "проверьте: полка 2,0 мм ниже предела 2,1 мм (местная устойчивость)");
    // Only for the figures of the measurement recorded, and only for the member measured.
    for (const MeasuredSections& other : {MeasuredSections{}, at(43), MeasuredSections{.chord = at(42).diagonals}}) {
        EXPECT_EQ(diagonals(42, other)->text, "держит, запас 97,8 %");
    }
}

} // namespace
} // namespace prochnar
