// The conclusion on a whole girder, the verdict of each kind of member of
// its lattice, and the lattice drawn from the girder's fields.

#include "calc/conclusion.h"
#include "calc/fields.h"
#include "calc/lattice.h"
#include "calc/map_form.h"

#include <gtest/gtest.h>

#include <sstream>

namespace prochnar {
namespace {

// The required and actual value of each row of step 3 ("-" for empty), the
// conclusion, and the verdicts of the compressed chord, the tensioned chord
// and the diagonals: H holds, F fails, C to check, - none.
TEST(Conclusion, OfTheWholeGirder)
{
    struct Case {
        const char* rows;
        const char* expected;
        const char* members;
    };
    const Case cases[] = {
        {"1 10  2 10  0,5 2  100 1000", "Вывод: ригель держит, наименьший запас 75,0 % (раскосы).", "HHH"},
        {"11 10  2 10  3 2  100 1000",
         "Вывод: ригель не держит — раскосы, не хватает 50,0 %; не держат также: сжатый пояс.", "FHF"},
        {"12 10  -1 10  1 2  1000 100",
         "Вывод: ригель не держит — усилие в раскосе, не хватает 900,0 %; не держат также: сжатый пояс; "
         "проверьте: растянутый пояс.",
         "FCF"},
        {"1 10  -1 10  1 2  -100 1000",
         "Вывод: ригель держит по остальным строкам, наименьший запас 50,0 % (раскосы); проверьте: "
         "растянутый пояс, усилие в раскосе.",
         "HCC"},
        {"-1 10  -1 10  -1 2  -1 1000",
         "Вывод: нужна проверка инженера — проверьте: сжатый пояс, растянутый пояс, раскосы, усилие в раскосе.", "CCC"},
        {"- 10  - 10  - 2  - 1000", "Вывод не сделан: шаг 3 не дал результатов.", "---"},
        {"1 10  2 x  0,5 0  100 1000",
         "Вывод не сделан: «Растянутый пояс» — фактическое значение не число; «Раскосы» — фактическое значение не "
         "больше нуля.",
         "---"},
    };
    for (const Case& c : cases) {
        MapForm form;
        std::istringstream rows(c.rows);
        for (const Step3Row& row : kStep3Rows) {
            std::string demand, capacity;
            rows >> demand >> capacity;
            form.setText(row.demand, demand == "-" ? "" : demand);
            form.setText(row.capacity, capacity);
        }
        const Conclusion conclusion = conclusionOf(form);
        EXPECT_EQ(conclusion.text, c.expected) << c.rows;
        const auto verdicts = judgeGirder(form).verdicts;
        std::string members;
        for (const LatticeMember member : kLatticeMembers) {
            const auto kind = memberVerdict(member, verdicts);
            members += !kind ? '-' : *kind == VerdictKind::Holds ? 'H' : *kind == VerdictKind::Fails ? 'F' : 'C';
        }
        EXPECT_EQ(members, c.members) << c.rows;
        const char status = "HFC-"[static_cast<int>(conclusion.status)];
        EXPECT_EQ(status, members.find('F') != std::string::npos   ? 'F'
                          : members.find('C') != std::string::npos ? 'C'
                                                                   : members[0])
            << c.rows;
    }
}

// Length, panel, height and width; the panels, 0 for no lattice.
TEST(Conclusion, LatticeOfTheGirder)
{
    const std::pair<const char*, int> cases[] = {
        {"20 2,5 1,5 0,8", 8}, {"20 3 1,5 0,8", 7},     {"20 2,9 1 1", 7},   {"1 2,5 1,5 0,8", 1},
        {"100 1 1 1", 100},    {"100 0,99 1 1", 0},     {"20 2,5 0 0,8", 0}, {"20 2,5 1,5 -1", 0},
        {"20.5 2,5 1 1", 0},   {"20 0,0000001 1 1", 0}, {"20 2,5 1", 0},
    };
    for (const auto& [sizes, panels] : cases) {
        MapForm form;
        std::istringstream in(sizes);
        for (const Field field : {Field::txtLp, Field::txtLpp, Field::txtH, Field::txtB}) {
            std::string text;
            in >> text;
            form.setText(field, text);
        }
        const auto lattice = latticeOf(form);
        EXPECT_EQ(lattice ? lattice->panels : 0, panels) << sizes;
    }
}

} // namespace
} // namespace prochnar
