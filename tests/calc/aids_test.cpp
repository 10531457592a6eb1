// The engineer's aids: verdicts of step 3, the least flange thickness of a
// catalogue angle, φ from the table and the catalogue's filter.

#include "calc/angles.h"
#include "calc/phi_table.h"
#include "calc/verdicts.h"

#include <gtest/gtest.h>

namespace prochnar {
namespace {

struct Case {
    const char* name;
    const char* a;
    const char* b;
    const char* expected; // "" for none
};

const Angle& angle(std::string_view typed)
{
    const auto found = filterAngles(typed);
    EXPECT_EQ(found.size(), 1U) << typed;
    return angleCatalogue()[found.at(0)];
}

TEST(Aids, VerdictRoundsToTheSafeSide)
{
    const Case cases[] = {
        {"equal holds", "8", "8", "держит, запас 0,0 %"},
        {"margin exactly 4,5", "7,64", "8", "держит, запас 4,5 %"},
        {"margin 4,55 down", "7,636", "8", "держит, запас 4,5 %"},
        {"margin 4,45 down", "7,644", "8", "держит, запас 4,4 %"},
        {"shortage exactly 4,5", "8,36", "8", "не держит, не хватает 4,5 %"},
        {"shortage 4,55 up", "8,364", "8", "не держит, не хватает 4,6 %"},
        {"shortage 4,45 up", "8,356", "8", "не держит, не хватает 4,5 %"},
        {"any shortage shows", "8,0000001", "8", "не держит, не хватает 0,1 %"},
        {"single result", "0,9920635", "12,5", "держит, запас 92,0 %"},
        {"zero demand", "0", "5", "держит, запас 100,0 %"},
        {"negative demand", "-1", "10", "держит, запас 110,0 %"},
        {"large shortage", "1000", "1", "не держит, не хватает 99900,0 %"},
        {"zero capacity", "1", "0", ""},
        {"negative capacity", "1", "-2", ""},
        {"empty capacity", "1", "", ""},
        {"empty demand", "", "1", ""},
        {"decimal point", "2.5", "3", ""},
        {"letters", "1", "abc", ""},
        {"too fine to align", "0,0000000000000000000000001", "1", ""},
    };
    for (const Case& c : cases) {
        const auto verdict = judge(c.a, c.b);
        EXPECT_EQ(verdict ? verdict->text : "", c.expected) << c.name;
        if (verdict) {
            EXPECT_EQ(verdict->holds, verdict->text.starts_with("держит")) << c.name;
        }
    }
}

// L 63×5: b 63, t 5, S 6,13. t′ = 4,3 keeps 4,3 · (126 − 4,3) = 523,31 of
// the legs' 605 mm², so S may lose 0,8169 cm²: required 5,3131 gives exactly 4,3.
TEST(Aids, LeastFlangeThickness)
{
    const Case cases[] = {
        {"exactly 4,3", "5,3131", "", "43"}, {"just above", "5,3132", "", "44"},  {"hand case 4,374", "5,4", "", "44"},
        {"whole section", "6,13", "", "50"}, {"does not hold", "6,1301", "", ""}, {"no flange needed", "0,08", "", ""},
        {"negative", "-1", "", ""},          {"not a number", "x", "", ""},
    };
    for (const Case& c : cases) {
        const auto tenths = leastFlangeTenths(angle("63x5"), c.a);
        EXPECT_EQ(tenths ? std::to_string(*tenths) : "", c.expected) << c.name;
    }
}

TEST(Aids, VerdictsOfStep3WithCatalogueAngle)
{
    // Text4 Text6, Text7 Text8, txtz2 Text12, Text14 Text13; Text9 txtIy, Text10 txtIyy; the two angles.
    VerdictInput in{
        "5,3131",    "6,13", "7", "6,13", "1", "2", "1", "2", "6,130", "1,25", "2", "1", filterAngles("63x5").at(0),
        std::nullopt};
    auto rows = judgeStep3(in);
    ASSERT_TRUE(rows[0] && rows[1] && rows[2] && rows[3]);
    EXPECT_EQ(*rows[0], (Verdict{true, "держит, запас 13,3 %, полка не тоньше 4,3 мм"}));
    EXPECT_EQ(*rows[1], (Verdict{false, "не держит, не хватает 14,2 %"}));
    EXPECT_EQ(rows[2]->text, "держит, запас 50,0 %");
    EXPECT_EQ(*rows[3], (Verdict{false, "не держит, не хватает 100,0 %"}));

    // Only while the fields and the actual area still hold the angle's numbers.
    for (std::string VerdictInput::*field : {&VerdictInput::txtIy, &VerdictInput::Text9, &VerdictInput::Text6}) {
        VerdictInput changed = in;
        changed.*field = "6,2";
        EXPECT_TRUE(judgeStep3(changed)[0]->text.ends_with(" %"));
    }
    in.diagonalAngle = filterAngles("20x3").at(0); // 1,13 cm², 0,39 cm: not what Text10 holds
    EXPECT_EQ(judgeStep3(in)[2]->text, "держит, запас 50,0 %");
}

TEST(Aids, PhiFromTheTable)
{
    const Case cases[] = {
        {"first row", "0", "1,000", ""},
        {"a row", "70", "0,810", ""},
        {"guidance example", "74,5", "0,783", ""},
        {"between, exact", "75", "0,780", ""},
        {"zero in the data", "102,0408", "0,583", ""},
        {"rounds down", "0,0001", "0,999", ""},
        {"four decimals", "66,6667", "0,826", ""},
        {"last row", "200", "0,190", ""},
        {"just below last", "199,9999", "0,190", ""},
        {"beyond", "200,0001", "", "Гибкость I = 200,0001 вне таблицы: в ней J дан для I от 0 до 200. Введите J сами."},
        {"negative", "-0,5", "", "Гибкость I = -0,5 вне таблицы: в ней J дан для I от 0 до 200. Введите J сами."},
        {"none yet", "", "", "Гибкость I еще не вычислена: сначала подтвердите шаг1."},
        {"not a number", "abc", "", "Гибкость I еще не вычислена: сначала подтвердите шаг1."},
    };
    for (const Case& c : cases) {
        const TablePhi phi = phiFromTable(c.a);
        EXPECT_EQ(phi.phi, c.b) << c.name;
        EXPECT_EQ(phi.message, c.expected) << c.name;
    }
}

TEST(Aids, CatalogueAndFilter)
{
    ASSERT_EQ(angleCatalogue().size(), 116U);
    EXPECT_EQ(filterAngles("").size(), 116U);
    EXPECT_EQ(filterAngles("63").size(), 3U);
    EXPECT_TRUE(filterAngles("63x7").empty());
    EXPECT_TRUE(filterAngles("abc").empty());
    for (const char* typed : {"63×5", "63x5", "L 63 х 5", "л63Х5", "63*5"}) {
        EXPECT_EQ(designation(angle(typed)), "L 63×5") << typed;
    }
    const Angle& thin = angle("70x4.5");
    EXPECT_EQ(designation(thin), "L 70×4,5");
    EXPECT_EQ(areaText(thin) + " " + radiusText(thin), "6,2 1,39");
    EXPECT_TRUE(holdsAngle(thin, "6,20", " 1,39"));
    EXPECT_FALSE(holdsAngle(thin, "6,2", "1,4"));
    EXPECT_FALSE(holdsAngle(thin, "6.2", "1,39"));
}

} // namespace
} // namespace prochnar
