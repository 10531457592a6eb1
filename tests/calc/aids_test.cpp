// The engineer's aids: verdicts of step 3, the least flange thickness of a
// catalogue angle, φ from the table and the catalogue's filter.

#include "calc/angles.h"
#include "calc/convert.h"
#include "calc/fields.h"
#include "calc/lightest.h"
#include "calc/map_form.h"
#include "calc/phi_table.h"
#include "calc/table_run.h"
#include "calc/verdicts.h"

#include "tests/support/wizard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace prochnar {
namespace {

struct Case {
    const char* name;
    const char* in;
    const char* expected; // "" for none
};

const Angle& angle(std::string_view typed)
{
    const auto found = filterAngles(typed);
    EXPECT_EQ(found.size(), 1U) << typed;
    return angleCatalogue()[found.at(0)];
}

// Demand and capacity; "+m" holds with the margin m, "-s" falls short by s,
// "?" before either is a demand of the other sign, judged by its magnitude.
TEST(Aids, VerdictRoundsToTheSafeSide)
{
    // clang-format off
    const Case cases[] = {
        {"equal holds", "8 8", "+0,0"},          {"margin exactly 4,5", "7,64 8", "+4,5"},
        {"margin 4,55 down", "7,636 8", "+4,5"}, {"margin 4,45 down", "7,644 8", "+4,4"},
        {"shortage exactly", "8,36 8", "-4,5"},  {"shortage 4,55 up", "8,364 8", "-4,6"},
        {"shortage 4,45 up", "8,356 8", "-4,5"}, {"any shortage shows", "8,0000001 8", "-0,1"},
        {"single", "0,9920635 12,5", "+92,0"},   {"zero demand", "0 5", "+100,0"},
        {"other sign", "-1 10", "?+90,0"},      {"other sign short", "-10,5 10", "?-5,0"},
        {"other sign equal", "-10 10", "?+0,0"}, {"zero capacity", "1 0", ""},
        {"negative capacity", "1 -2", ""},       {"empty capacity", "1 ", ""},
        {"decimal point", "2.5 3", ""},          {"too fine", "0,0000000000000000000000001 1", ""},
        // Past what 64 bits divide: counted in 128.
        {"enormous shortage", "100000000000000000000 3", "-3333333333333333333233,4"},
        {"beyond 64 bits of tenths", "100000000000000000000 0,00000000001", "-999999999999999999999999999999900,0"}};
    // clang-format on

    for (const Case& c : cases) {
        const std::string in = c.in, expected = c.expected;
        const auto verdict = judge(in.substr(0, in.find(' ')), in.substr(in.find(' ') + 1));
        const bool check = expected.starts_with("?");
        const std::string figure = expected.substr(check ? 1 : 0);
        const bool margin = figure.starts_with("+");
        const std::string words = (check ? "проверьте: усилие обратного знака, по модулю "
                                   : margin ? "держит, "
                                            : "не держит, ") +
                                  std::string(margin ? "запас " : "не хватает ");
        EXPECT_EQ(verdict ? verdict->text : "", expected.empty() ? "" : words + figure.substr(1) + " %") << c.name;
        const VerdictKind kind = check ? VerdictKind::Check : margin ? VerdictKind::Holds : VerdictKind::Fails;
        EXPECT_TRUE(expected.empty() || (verdict && verdict->kind == kind)) << c.name;
    }
}

// A girder's least margin, tenths of a per cent with a decimal comma; a
// shortage with its minus.
TEST(Aids, MarginTexts)
{
    for (const auto& [tenths, text] :
         std::initializer_list<std::pair<int, std::string_view>>{{0, "0,0"},
                                                                 {5, "0,5"},
                                                                 {-5, "-0,5"},
                                                                 {978, "97,8"},
                                                                 {-1234, "-123,4"},
                                                                 {-2'000'000'000, "-200000000,0"},
                                                                 {std::numeric_limits<int>::min(), "-214748364,8"}}) {
        EXPECT_EQ(marginText(tenths), text) << tenths;
    }
    // The same writer for other decimals: zeros after the comma kept.
    EXPECT_EQ(fixedText(5, 3), "0,005");
    EXPECT_EQ(fixedText(0, 3), "0,000");
    EXPECT_EQ(fixedText(-7, 2), "-0,07");
    EXPECT_EQ(fixedText(123'456, 2), "1234,56");
    EXPECT_EQ(fixedText(std::numeric_limits<long long>::min(), 1), "-922337203685477580,8");
}

// Two exact numbers are compared at the larger of their scales, up to 24
// digits after the comma, while both stay below 10^33 there.
TEST(Aids, ExactPairsBelowTheirLimit)
{
    const Int128 below33 = Int128{1'000'000'000'000'000'000} * 1'000'000'000'000'000 - 1;
    const auto pair = [](Int128 a, int scaleA, Int128 b, int scaleB) {
        return overCommonScale({.digits = a, .scale = scaleA}, {.digits = b, .scale = scaleB});
    };
    EXPECT_TRUE(pair(below33, 0, 1, 0));
    EXPECT_TRUE(pair(1, 0, -below33, 0));
    EXPECT_FALSE(pair(below33 + 1, 0, 1, 0));
    EXPECT_FALSE(pair(1, 0, -below33 - 1, 0));
    const Int128 nines = 999'999'999; // times 10^24, just below 10^33
    const std::optional<ExactPair> raised = pair(-nines, 0, 1, 24);
    ASSERT_TRUE(raised);
    EXPECT_EQ(raised->a, -nines * Int128{1'000'000'000'000} * 1'000'000'000'000);
    EXPECT_EQ(raised->b, 1);
    EXPECT_EQ(raised->scale, 24);
    EXPECT_FALSE(pair(nines + 1, 0, 1, 24));
    EXPECT_FALSE(pair(-(nines + 1), 0, 1, 24));
    EXPECT_TRUE(pair(0, 0, 1, 24));
    EXPECT_FALSE(pair(1, 0, 1, 25)); // finer than any number of a calculation
}

// L 63×5: b 63, t 5, S 6,13. t′ = 4,3 keeps 4,3 · (126 − 4,3) = 523,31 of
// the legs' 605 mm², so S may lose 0,8169 cm²: required 5,3131 gives exactly 4,3.
TEST(Aids, LeastFlangeThickness)
{
    const Case cases[] = {
        {"exactly 4,3", "5,3131", "43"}, {"just above", "5,3132", "44"},  {"hand case 4,374", "5,4", "44"},
        {"whole section", "6,13", "50"}, {"does not hold", "6,1301", ""}, {"no flange needed", "0,08", ""},
        {"negative", "-1", ""},          {"not a number", "x", ""},       {"a tenth left", "0,1", "1"}};
    for (const Case& c : cases) {
        const auto limit = leastFlange(angle("63x5"), {.required = c.in}); // tensioned: strength alone
        EXPECT_EQ(limit ? std::to_string(limit->tenths) : "", c.expected) << c.name;
    }
}

// One question to leastFlange(): the angle and its inputs, and in a table of
// cases the limit expected, as limitText() writes it.
struct FlangeAsk {
    const char* angle;
    const char* required;
    bool compressed, usesPhi;
    const char* slenderness;
    const char* resistance;
    const char* expected = "";
    const char* force = "";
    const char* carried = "";
    [[nodiscard]] FlangeInputs inputs() const
    {
        return {required, compressed, usesPhi, slenderness, resistance, force, carried};
    }
};

// A limit as its tenths and "s" for local stability or "p" for strength; "" none.
std::string limitText(const std::optional<FlangeLimit>& limit)
{
    return limit ? std::to_string(limit->tenths) + (limit->governs == FlangeLimit::Governs::LocalStability ? "s" : "p")
                 : std::string();
}

// The larger of the strength and local-stability limits; E = 206 000, Ry = 10·Rp МПа.
// L 75×6 (R 9), λ 168,9189, Rp 21: λ̄ = 168,9189·√(210/206 000) = 5,39 → 4, λ̄uf = 0,40 + 0,07·4 = 0,68,
//   √(E/Ry) = 31,3202: t′ ≥ (75 − 9)/(1 + 0,68·31,3202) = 66/22,2977 = 2,960 → 3,0. At λ 10 λ̄ = 0,319 → 0,8:
//   66/(1 + 0,456·31,3202) = 4,319 → 4,4. Area only, required 8,38: k(150 − k) ≥ 864 − 100·(8,78 − 8,38) = 824:
//   5,7·144,3 = 822,51 short, 5,8. With φ: ρ(75; 6) = √((468 827 − 278 965)/864) = 14,824 mm (centroid 20,969),
//   ρ(75; 5,7) = 14,842, λ(5,7) = 168,713, φт 0,263860 against 0,263243 at λ: 8,38·0,263243/0,263860 = 8,3604
//   ≤ A(5,7) = 8,3651; at 5,6 8,3537 > 8,2264. L 50×3 (R 5,5), λ 30, Rp 24: √(E/Ry) = 29,2973, λ̄ = 1,0240,
//   λ̄uf = 0,47168: 44,5/(1 + 0,47168·29,2973) = 3,0029 → 3,1, above t = 3.
TEST(Aids, LeastFlangeLimits)
{
    const FlangeAsk cases[] = {{"75x6", "3,017684", true, true, "168,9189", "21", "30s"},
                               {"75x6", "3,017684", true, false, "10", "21", "44s"},
                               {"75x6", "8,38", true, true, "168,9189", "21", "57p"},
                               {"75x6", "8,38", false, false, "", "", "58p"},
                               {"50x3", "1", true, false, "30", "24", "31s"},
                               {"75x6", "8,38", true, true, "250", "21", ""},
                               {"75x6", "8,38", true, false, "x", "21", ""},
                               {"75x6", "8,38", true, false, "10", "0", ""},
                               {"75x6", "1", true, false, "10", "0,5", "8s"}, // Ry 5: 66/(1 + 0,456·202,98) = 0,705
                               {"75x6", "8,79", true, false, "10", "21", ""}};
    for (const FlangeAsk& c : cases) {
        EXPECT_EQ(limitText(leastFlange(angle(c.angle), c.inputs())), c.expected) << c.angle << " " << c.required;
    }
    EXPECT_NEAR(sharpAngleRadius(75, 6), 14.824, 0.0005);
    for (const Angle& a : angleCatalogue()) { // the catalogue's fillets add little
        const double rho = sharpAngleRadius(a.legMm, a.thicknessTenths / 10.0) / 10;
        EXPECT_NEAR(rho / (a.radiusHundredths / 100.0), 1, 0.03) << designation(a);
    }
}

// Thinned to a measured thickness, rounded down: L 75×6 at 5,0 keeps 87 800 −
// 60·1 440 + 50·1 450 = 73 900 (0,1 mm)², 7,39 cm², and i = 1,48 · 14,8867 /
// 14,8239 = 1,4863 → 1,48; L 50×5 at 4,2 keeps 40 736, 4,07 cm², i 0,9842 → 0,98.
TEST(Aids, ThinnedAngle)
{
    const auto figures = [](const char* size, int tenths) {
        const auto thinned = thinnedAngle(angle(size), tenths);
        return thinned ? areaText(*thinned) + " " + radiusText(*thinned) + " " + thicknessText(*thinned)
                       : std::string();
    };
    EXPECT_EQ(figures("75x6", 50), "7,39 1,48 5");
    EXPECT_EQ(figures("50x5", 42), "4,07 0,98 4,2");
    // Every flange of every catalogue angle, and of an angle the catalogue
    // lacks: the radius scales as the sharp-cornered section's, rounded down.
    std::vector<Angle> angles(angleCatalogue().begin(), angleCatalogue().end());
    angles.push_back(
        {.legMm = 77, .thicknessTenths = 65, .areaHundredths = 950, .radiusHundredths = 150, .filletTenths = 90});
    for (const Angle& a : angles) {
        const double whole = sharpAngleRadius(10.0 * a.legMm, a.thicknessTenths);
        for (int k = 1; k <= a.thicknessTenths; ++k) {
            const double scaled = a.radiusHundredths * sharpAngleRadius(10.0 * a.legMm, k) / whole;
            ASSERT_EQ(thinnedAngle(a, k)->radiusHundredths, static_cast<int>(std::floor(scaled + 1e-9)))
                << designation(a) << " " << k;
        }
    }
    EXPECT_EQ(figures("75x6", 60), "8,78 1,48 6"); // unthinned: the catalogue's own
    EXPECT_EQ(figures("75x6", 61), "");
    EXPECT_EQ(figures("75x6", 0), "");
}

// A diagonal's flanges must also carry its force: L 50×5 (S 4,80, R 5,5), λ 100
// (φт 0,60), Rp 21, carrying 30 000 against 24 000. A(k) = 500 + k(1000 − k) of
// 48 000 (0,1 mm)²; ρ(50; 4) = 9,8826 against ρ(50; 5) = 9,8292 gives λ(4) =
// 99,4593, φт 0,604865: 30 000 · 38 900/48 000 · 0,604865/0,60 = 24 509,7 ≥ 24 000;
// at 3,9 (37 979, λ 99,3993, φт 0,605406) 23 950,8 falls short, so 4,0, above the
// area's 1,0 (k(1000 − k) ≥ 9 500) and local stability's 44,5/20,528 = 2,2.
TEST(Aids, LeastFlangeKeepsTheForce)
{
    const auto limit = [](const char* force, const char* carried, const char* slenderness = "100") {
        return limitText(leastFlange(angle("50x5"), {.required = "1",
                                                     .compressed = true,
                                                     .slenderness = slenderness,
                                                     .resistance = "21",
                                                     .force = force,
                                                     .carried = carried}));
    };
    EXPECT_EQ(limit("", ""), "22s");
    EXPECT_EQ(limit("24000", "30000"), "40p");
    EXPECT_EQ(limit("-24000", "30000"), "40p"); // the other sign, by magnitude
    EXPECT_EQ(limit("30000", "30000"), "50p");  // carried exactly: no thinning at all
    EXPECT_EQ(limit("30000,01", "30000"), "");  // short already
    EXPECT_EQ(limit("24000", "0"), "");
    EXPECT_EQ(limit("x", "30000"), "");
    EXPECT_EQ(limit("24000", "30000", "250"), ""); // λ outside the table of φ
}

// A limit kept from the row before is taken again only for the very same
// angle and numbers: each pair below differs in one of them and in its
// limit, and every answer, asked in turn, is the one counted afresh.
TEST(Aids, LastFlangeLimitsOnlyForTheSameNumbers)
{
    const std::pair<FlangeAsk, FlangeAsk> pairs[] = {
        {{"75x6", "8,38", true, true, "168,9189", "21"}, {"75x5", "8,38", true, true, "168,9189", "21"}},
        {{"75x6", "8,38", true, true, "168,9189", "21"}, {"75x6", "3,017684", true, true, "168,9189", "21"}},
        {{"75x6", "3,017684", true, false, "10", "21"}, {"75x6", "3,017684", false, false, "10", "21"}},
        {{"75x6", "8,38", true, true, "168,9189", "21"}, {"75x6", "8,38", true, false, "168,9189", "21"}},
        {{"75x6", "8,38", true, true, "168,9189", "21"}, {"75x6", "8,38", true, true, "250", "21"}},
        {{"75x6", "1", true, false, "10", "21"}, {"75x6", "1", true, false, "10", "0,5"}},
        {{"50x5", "1", true, false, "100", "21", "", "24000", "30000"}, {"50x5", "1", true, false, "100", "21"}},
        {{"50x5", "1", true, false, "100", "21", "", "24000", "30000"},
         {"50x5", "1", true, false, "100", "21", "", "30000", "30000"}},
        {{"50x5", "1", true, false, "100", "21", "", "24000", "30000"},
         {"50x5", "1", true, false, "100", "21", "", "24000", "24000"}},
    };
    for (const auto& [first, second] : pairs) {
        const std::string one = limitText(leastFlange(angle(first.angle), first.inputs()));
        const std::string other = limitText(leastFlange(angle(second.angle), second.inputs()));
        ASSERT_NE(one, other) << second.angle << " " << second.required << " "
                              << second.slenderness; // the pair tells the number apart
        LastNominals last;
        for (const bool firstOne : {true, false, false, true, true}) {
            const FlangeAsk& ask = firstOne ? first : second;
            // Texts of their own, so that the same number is not the same bytes.
            const std::string required(ask.required);
            FlangeAsk copied = ask;
            copied.required = required.c_str();
            EXPECT_EQ(limitText(last.limit(0, angle(ask.angle), copied.inputs())), firstOne ? one : other)
                << ask.angle << " " << ask.required;
        }
        // Each row of step 3 keeps its own.
        (void)last.limit(1, angle(second.angle), second.inputs());
        EXPECT_EQ(limitText(last.limit(0, angle(first.angle), first.inputs())), one);
    }
}

// Whether a section holds a catalogue angle is read from its fields alone,
// however the figures got there: typed by hand they give the least flange
// thickness as picked ones do.
TEST(Aids, VerdictsOfStep3WithCatalogueAngle)
{
    const auto texts = [](const MapForm& form) {
        std::string all;
        for (const auto& row : judgeStep3(form)) {
            all += (row ? row->text : "-") + " | ";
        }
        return all;
    };
    MapForm form;
    for (const auto& [field, text] : std::initializer_list<std::pair<Field, const char*>>{
             {Field::Text4, "5,3131"},
             {Field::Text6, "6,13"},
             {Field::Text7, "7"},
             {Field::Text8, "6,13"},
             {Field::txtz2, "1"},
             {Field::Text12, "2"},
             {Field::Text13, "1"},
             {Field::Text14, "2"},
             {Field::Text9, "6,130"}, // L 63×5 typed, as numbers the catalogue's
             {Field::txtIy, "1,25"},
             {Field::Text10, "2"}, // no angle of the catalogue
             {Field::txtIyy, "1"},
             {Field::lblJ, "10"}, // L 63×5: 56/(1 + 0,456·31,3202) = 3,7 local, 4,3 strength
             {Field::lblJ1, "117,3469"},
         }) {
        form.setText(field, text);
    }
    EXPECT_EQ(heldAngle(form, Member::Chord), filterAngles("63x5").at(0));
    EXPECT_FALSE(heldAngle(form, Member::Diagonals).has_value());
    const std::string chord =
        "держит, запас 13,3 %, полка не тоньше 4,3 мм (прочность) | не держит, не хватает 14,2 % | ";
    EXPECT_EQ(texts(form), chord + "держит, запас 50,0 % | держит, запас 50,0 % | ");
    // Only while the fields and the actual area still hold the angle's numbers.
    for (const Field field : {Field::txtIy, Field::Text9, Field::Text6}) {
        MapForm changed = form;
        changed.setText(field, "6,2");
        EXPECT_EQ(texts(changed).find("полка"), std::string::npos) << fieldName(field);
    }
    // The diagonals as L 50×5 (R 5,5), λ̄ = 117,3469/31,3202 = 3,7467: 44,5/(1 + 0,66227·31,3202) = 2,047
    // above 1,0 for the area. Carrying 2 against a force of 1 the flanges need 2,4: A(2,4) = 23 924 of
    // 48 000 (0,1 mm)², λ(2,4) 115,4423, φт 0,481904 against 0,468572, carries 2 · 0,498417 · 1,028452 =
    // 1,0252; at 2,3 0,9856. Against 0,5 local stability governs; the force row never gets a thickness.
    // As L 50×3 at Rp 24 and λ 30 the flange is too slender already (3,1 above 3).
    form.setText(Field::Text10, "4,8");
    form.setText(Field::txtIyy, "0,98");
    form.setText(Field::Text12, "4,8");
    EXPECT_EQ(texts(form), chord + "держит, запас 79,1 %, полка не тоньше 2,4 мм (прочность) | "
                                   "держит, запас 50,0 % | ");
    form.setText(Field::Text13, "0,5");
    EXPECT_EQ(texts(form), chord + "держит, запас 79,1 %, полка не тоньше 2,1 мм (местная устойчивость) | "
                                   "держит, запас 75,0 % | ");
    for (const auto& [field, text] : {std::pair{Field::Text10, "2,96"},
                                      {Field::txtIyy, "1"},
                                      {Field::Text12, "2,96"},
                                      {Field::lblJ1, "30"},
                                      {Field::Text1, "24"}}) {
        form.setText(field, text);
    }
    EXPECT_EQ(judgeStep3(form)[2],
              (Verdict{VerdictKind::Check, "проверьте: полка тоньше допустимой по местной устойчивости 3,1 мм", 662}));
    EXPECT_EQ(leastMargin(judgeStep3(form)), -142);
    EXPECT_FALSE(leastMargin({}).has_value());
}

// A φ above the table's for the slenderness shown is flagged on the row that
// uses it; one at or below the table's is not, and rows to check count
// towards no least margin.
TEST(Aids, PhiAboveTheTableIsToCheck)
{
    MapForm form;
    for (const auto& [field, text] : std::initializer_list<std::pair<Field, const char*>>{
             {Field::Text4, "1"},
             {Field::Text6, "2"},
             {Field::Text7, "1"},
             {Field::Text8, "2"},
             {Field::txtz2, "1"},
             {Field::Text12, "4"},
             {Field::Text13, "3"},
             {Field::Text14, "4"},
             {Field::lblJ, "200"},
             {Field::lblJ1, "70"}, // table: 0,190 and 0,810
         }) {
        form.setText(field, text);
    }
    const auto kinds = [&form](const char* text3, const char* text5) {
        form.setText(Field::Text3, text3);
        form.setText(Field::Text5, text5);
        std::string all;
        for (const auto& row : judgeStep3(form)) {
            all += row->kind == VerdictKind::Check ? row->text + "|" : "-|";
        }
        return all;
    };
    EXPECT_EQ(kinds("0,19", "0,81"), "-|-|-|-|");
    EXPECT_EQ(kinds("0,1", ""), "-|-|-|-|");
    EXPECT_EQ(kinds("0,8", "0,8101"),
              "проверьте: J 0,8 больше табличного 0,190|-|-|проверьте: J 0,8101 больше табличного 0,810|");
    EXPECT_EQ(leastMargin(judgeStep3(form)), 500); // the tensioned chord's; the force row's 25 % is to check
    form.setText(Field::lblJ, "");                 // no slenderness, no table to compare with
    EXPECT_EQ(kinds("0,8", "0,5"), "-|-|-|-|");
}

TEST(Aids, PhiFromTheTable)
{
    const std::string none = "Гибкость I еще не вычислена: сначала подтвердите шаг1.";
    // clang-format off
    const Case cases[] = {
        {"first row", "0", "1,000"},             {"a row", "70", "0,810"},
        {"guidance example", "74,5", "0,783"},   {"data 0,60", "102,0408", "0,583"},
        {"rounds down", "0,0001", "0,999"},      {"last row", "200", "0,190"},
        {"just below last", "199,9999", "0,190"}, {"not a number", "abc", none.c_str()},
        {"none yet", "", none.c_str()},
        {"beyond", "200,0001", "Гибкость I = 200,0001 вне таблицы: в ней J дан для I от 0 до 200. Введите J сами."},
        {"negative", "-0,5", "Гибкость I = -0,5 вне таблицы: в ней J дан для I от 0 до 200. Введите J сами."}};
    // clang-format on
    for (const Case& c : cases) {
        const TablePhi phi = phiFromTable(c.in);
        EXPECT_EQ(phi.phi.empty() ? phi.message : phi.phi, c.expected) << c.name;
        // The number the verdicts compare is the one written.
        const std::optional<std::int64_t> number = phiThousandthsFromTable(c.in);
        EXPECT_EQ(number ? phiThousandthsText(*number) : std::string(), phi.phi) << c.name;
    }
}

// The unrounded φ that the flange searches take ratios of: each row's own
// value at its slenderness, the middle of each pair of rows between them,
// nothing outside the table.
TEST(Aids, InterpolatedPhiBetweenEveryPairOfRows)
{
    const std::vector<PhiTableRow> rows = phiTableRows();
    const auto thousandths = [](const std::string& text) { return textToDouble(text); };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto at = static_cast<double>(rows[i].slenderness);
        EXPECT_NEAR(interpolatedPhi(at).value_or(-1), thousandths(rows[i].phi), 1e-12) << rows[i].slenderness;
        if (i + 1 < rows.size()) {
            const double middle = (at + static_cast<double>(rows[i + 1].slenderness)) / 2;
            EXPECT_NEAR(interpolatedPhi(middle).value_or(-1),
                        (thousandths(rows[i].phi) + thousandths(rows[i + 1].phi)) / 2, 1e-12)
                << middle;
        }
    }
    EXPECT_FALSE(interpolatedPhi(static_cast<double>(rows.front().slenderness) - 1e-9));
    EXPECT_FALSE(interpolatedPhi(static_cast<double>(rows.back().slenderness) + 1e-9));
    EXPECT_FALSE(interpolatedPhi(std::nan("")));
}

TEST(Aids, CatalogueAndFilter)
{
    EXPECT_EQ(filterAngles("").size(), angleCatalogue().size());
    EXPECT_EQ(angleCatalogue().size(), 116U);
    EXPECT_EQ(filterAngles("63").size(), 3U);
    EXPECT_TRUE(filterAngles("63x7").empty() && filterAngles("abc").empty());
    for (const char* typed : {"63×5", "63x5", "L 63 х 5", "л63Х5", "63*5"}) {
        EXPECT_EQ(designation(angle(typed)), "L 63×5") << typed;
    }
    const Angle& thin = angle("70x4.5");
    EXPECT_EQ(designation(thin) + " " + areaText(thin) + " " + radiusText(thin), "L 70×4,5 6,2 1,39");
    EXPECT_TRUE(holdsAngle(thin, "6,20", " 1,39"));
    EXPECT_FALSE(holdsAngle(thin, "6,2", "1,4") || holdsAngle(thin, "6.2", "1,39") ||
                 holdsAngle(angle("63x5"), "0,613", "1,25") ||
                 holdsAngle(thin, "6,2" + std::string(40, '0') + "1", "1,39")); // too many digits
}

// The worked example as a table of one row: its fields' names and texts.
struct ExampleTable {
    std::vector<std::string> columns;
    std::vector<std::string> cells;
};
ExampleTable workedExampleTable()
{
    ExampleTable table;
    for (const auto& [field, text] : test_support::kWorkedExample) {
        table.columns.emplace_back(fieldName(field));
        table.cells.emplace_back(text);
    }
    return table;
}

// A girder of a table holds only when every row of step 3 was judged: a
// chord area that is no number or not above zero leaves it unchecked, with
// the rows named and why, never counted as holding on its other rows.
TEST(Aids, TableGirderWithARowNotJudgedIsNotChecked)
{
    ExampleTable table = workedExampleTable();
    const std::vector<std::string>& columns = table.columns;
    std::vector<std::string>& cells = table.cells;
    const auto area = static_cast<std::size_t>(std::find(columns.begin(), columns.end(), "Text9") - columns.begin());
    TableRun run(columns);
    // Its φ 0,8 is above the table's for its slenderness: to check, until φ
    // comes from the table.
    EXPECT_EQ(run.check(cells).status, GirderStatus::Check);
    const std::vector<std::string> typed = cells;
    for (const char* phi : {"Text3", "Text5"}) {
        cells.at(static_cast<std::size_t>(std::find(columns.begin(), columns.end(), phi) - columns.begin())).clear();
    }
    EXPECT_EQ(run.check(cells).status, GirderStatus::Holds);
    cells = typed;
    const std::string bothChords = "«Сжатый пояс» — фактическое значение не больше нуля; «Растянутый пояс» — "
                                   "фактическое значение не больше нуля.";
    for (const auto& [text, message] : std::initializer_list<std::pair<const char*, std::string>>{
             {"-1", "Опора не проверена: " + bothChords},
             {"0", "Опора не проверена: " + bothChords},
         }) {
        cells.at(area) = text;
        const CheckedGirder girder = run.check(cells);
        EXPECT_EQ(girder.status, GirderStatus::NotComputed) << text;
        EXPECT_EQ(girder.message, message) << text;
        EXPECT_FALSE(girder.leastMargin.has_value()) << text;
        EXPECT_TRUE(std::none_of(girder.verdicts.begin(), girder.verdicts.end(), [](const auto& verdict) {
            return verdict.has_value();
        })) << text;
    }
    EXPECT_EQ(whyUnjudged("1", "x"), Unjudged::CapacityNotANumber);
    EXPECT_EQ(whyUnjudged("", "1"), Unjudged::DemandNotANumber);
    EXPECT_EQ(whyUnjudged("1", "2"), std::nullopt);
}

// Row after row, a table's run counts again only what a row changes over
// the one before, when that one was pressed quietly: each row with one cell
// changed, the worked example, and the changed row again, with and without
// a measured section over the row's, checks as a run that checks it alone.
TEST(Aids, TableRowsCheckedOverTheRowBeforeAsAlone)
{
    ExampleTable table = workedExampleTable();
    const std::vector<std::string>& columns = table.columns;
    std::vector<std::string>& cells = table.cells;
    const RowExtras measured{.texts = {{Field::Text9, "11"}, {Field::txtIy, "1,6"}}};
    TableRun run(columns);
    std::size_t checked = 0;
    for (std::size_t column = 0; column < columns.size(); ++column) {
        for (const char* text : {"7,25", "0,35", "", "x", "0"}) {
            std::vector<std::string> changed = cells;
            changed.at(column) = text;
            for (const RowExtras* extras : {&measured, static_cast<const RowExtras*>(nullptr)}) {
                for (const auto* row : {&changed, &cells, &cells, &changed}) {
                    const RowExtras& given = extras != nullptr ? *extras : RowExtras{};
                    const CheckedGirder over = run.check(*row, given);
                    TableRun aloneRun(columns);
                    const CheckedGirder alone = aloneRun.check(*row, given);
                    ASSERT_EQ(over.cells, alone.cells) << columns.at(column) << " = " << text;
                    EXPECT_EQ(over.status, alone.status) << columns.at(column) << " = " << text;
                    // The form left for the row's life and plan, every field and state.
                    for (const auto& field : kFormFields) {
                        ASSERT_EQ(run.form().text(field.id), aloneRun.form().text(field.id))
                            << columns.at(column) << " = " << text << ": " << field.name;
                    }
                    for (const auto& state : kStateProperties) {
                        ASSERT_EQ(run.form().state(state.control), aloneRun.form().state(state.control))
                            << columns.at(column) << " = " << text;
                    }
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 400U);
}

// The worked example's panel of chord is 2,5 m and its diagonal 1,15 m long
// (λ 166,67 at iуг 1,5 cm, 57,5 at 2 cm), and the table of φ stops at λ 200.
// Every angle lighter than L 63×4 (S 4,96, iуг 1,25: λ = 250 / 1,25 = 200,
// φ 0,190) has iуг below 1,25 and so no φ; required area 0,9920635 · 0,8 /
// 0,190 = 4,17711 cm² leaves (4,96 − 4,17711) / 4,96 = 15,7 %. Every angle
// lighter than L 30×3 (S 1,74, iуг 0,59: λ 194,9, φ 0,200) has iуг below
// 0,575 (L 28×3: 0,55, λ 209,1); a diagonal carries 168000 · 0,174 · 0,2 /
// 0,8 = 7308 against 1371,772, so 81,2 %. L 70×4,5 and L 32×3 come before
// the heavier L 63×6 and L 30×4 that precede them in the catalogue.
TEST(Aids, LightestAngleThatHolds)
{
    MapForm form;
    test_support::fillWorkedExample(form);
    const auto firstThree = [&form](Member member) {
        std::string text;
        const auto holding = anglesThatHold(form, member).value();
        for (std::size_t at = 0; at < 3 && at < holding.size(); ++at) {
            text += designation(angleCatalogue()[holding.at(at).angle]) + " " + std::to_string(holding.at(at).tenths) +
                    "; ";
        }
        return text;
    };
    EXPECT_EQ(firstThree(Member::Chord), "L 63×4 157; L 63×5 318; L 70×4,5 443; ");
    EXPECT_EQ(firstThree(Member::Diagonals), "L 30×3 812; L 32×3 843; L 35×3 880; ");
    form.setText(Field::txtMp, "50000"); // a moment no chord of the catalogue carries
    EXPECT_EQ(anglesThatHold(form, Member::Chord), std::vector<Candidate>{});
    EXPECT_EQ(anglesThatHold(MapForm{}, Member::Diagonals), std::nullopt); // nothing typed
}

} // namespace
} // namespace prochnar
