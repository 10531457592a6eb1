// Inspection columns in a table: a measured angle checks the girder as its
// thinned figures typed would, a table written back is read again with its
// life columns in place, and the plan of a line section does not depend on
// the order of its rows.

#include "calc/angles.h"
#include "calc/convert.h"
#include "formats/csv_table.h"
#include "formats/line_plan.h"
#include "formats/table_decimal.h"
#include "formats/table_life.h"
#include "formats/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace prochnar {
namespace {

std::vector<std::string> cellsOf(const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ';');) {
        cells.push_back(cell);
    }
    return cells;
}

// tests/cli/tables/history.csv: its header and rows.
std::vector<std::vector<std::string>> historyTable()
{
    std::ifstream in(PROCHNAR_SOURCE_DIR "/tests/cli/tables/history.csv");
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        rows.push_back(cellsOf(line));
    }
    return rows;
}

TEST(TableLife, AMeasuredAngleChecksAsItsFiguresTyped)
{
    const auto table = historyTable();
    TableLife life(table[0]);
    ASSERT_TRUE(life.measured());
    const CheckedGirder measured = life.check(table[3]); // L 75×6 at 5,2, L 50×5 at 4,6
    EXPECT_TRUE(measured.message.empty());
    EXPECT_EQ(measured.cells.size(), life.header().size());

    // The same row with the section figures in their fields instead.
    std::vector<std::string> header(table[0].begin() + 9, table[0].end());
    std::vector<std::string> row(table[3].begin() + 9, table[3].end());
    const Angle chord = *thinnedAngle(angleCatalogue()[*angleNamed("75x6")], 52);
    const Angle diagonal = *thinnedAngle(angleCatalogue()[*angleNamed("50x5")], 46);
    header.insert(header.end(), {"Text9", "txtIy", "Text10", "txtIyy"});
    row.insert(row.end(), {areaText(chord), radiusText(chord), areaText(diagonal), radiusText(diagonal)});
    TableRun typed(header);
    const CheckedGirder expected = typed.check(row);
    ASSERT_EQ(expected.status, GirderStatus::Holds);
    // Judged alike, the measured ones naming their flange against the nominal limit.
    for (std::size_t at = 0; at < kVerdictRows; ++at) {
        ASSERT_TRUE(measured.verdicts.at(at) && expected.verdicts.at(at));
        EXPECT_EQ(measured.verdicts.at(at)->kind, expected.verdicts.at(at)->kind);
        EXPECT_EQ(measured.verdicts.at(at)->tenths, expected.verdicts.at(at)->tenths);
        EXPECT_TRUE(measured.verdicts.at(at)->text.starts_with(expected.verdicts.at(at)->text));
    }
    EXPECT_NE(measured.verdicts.at(0)->text, expected.verdicts.at(0)->text);
    EXPECT_EQ(measured.leastMargin, expected.leastMargin);

    // Written back and read again: the life columns filled where they stand.
    TableLife again(life.header());
    EXPECT_EQ(again.header(), life.header());
    const std::vector<std::string> read = again.check(measured.cells).cells;
    EXPECT_EQ(read.back(), "2115 (пояс)");
    EXPECT_TRUE(std::equal(read.end() - kLifeColumns.size(), read.end(), measured.cells.end() - kLifeColumns.size()));
}

// An inspection dated after the day the table is checked is a slip: refused
// in its row, and in a table with dates alone not read for the plan, whose
// horizon it would move. On the day itself it counts.
TEST(TableLife, AnInspectionAfterTodayIsRefused)
{
    const auto table = historyTable();
    const std::size_t dateAt = 3;
    ASSERT_EQ(table[0][dateAt], "Дата осмотра");
    TableLife life(table[0], DecimalSeparator::Comma, CalendarDate{.year = 2024, .month = 6, .day = 20});
    std::vector<std::string> row = table[3]; // 12-13 on 2024-06-20
    PlanPoint point;
    EXPECT_TRUE(life.check(row, &point).message.empty());
    EXPECT_EQ(point.date, (CalendarDate{.year = 2024, .month = 6, .day = 20}));
    row[dateAt] = "21.06.2024";
    const CheckedGirder later = life.check(row, &point);
    EXPECT_EQ(later.status, GirderStatus::NotComputed);
    EXPECT_EQ(later.message, "Дата осмотра: \"21.06.2024\" — дата осмотра позже сегодняшней.");
    EXPECT_FALSE(point.date.has_value());
    EXPECT_TRUE(TableLife(table[0]).check(row).message.empty()); // no day given, nothing refused

    // The dates without the measurement columns.
    const std::vector<std::string> header(table[0].begin(), table[0].begin() + dateAt + 1);
    TableLife dated(header, DecimalSeparator::Comma, CalendarDate{.year = 2024, .month = 6, .day = 20});
    (void)dated.check({"Перегон А", "12-13", "104,2", "2124-06-20"}, &point);
    EXPECT_FALSE(point.date.has_value());
    (void)dated.check({"Перегон А", "12-13", "104,2", "2024-06-20"}, &point);
    EXPECT_TRUE(point.date.has_value());
}

// The plan's points of a table's rows, in their order.
std::vector<PlanPoint> planPoints(const std::vector<std::vector<std::string>>& table)
{
    TableLife life(table[0]);
    std::vector<PlanPoint> points(table.size() - 1);
    for (std::size_t i = 1; i < table.size(); ++i) {
        (void)life.check(table[i], &points[i - 1]);
    }
    return points;
}

TEST(LinePlan, GirdersWhateverTheOrderOfTheirRows)
{
    const auto table = historyTable();
    std::vector<PlanPoint> points = planPoints(table);
    // 16-17 inspected once more, in 2010, measuring nothing but naming the
    // chord's angle, which its 2024 row lacks: the angle is kept whichever
    // row comes first, and the installation counts.
    PlanPoint earlier = points[6];
    earlier.date = CalendarDate{.year = 2010, .month = 6, .day = 1};
    earlier.measured = {};
    points[6].angle[0].reset();
    points[6].limit[0].reset();
    points.push_back(earlier);
    // Перегон А 12-13 once more in 2018, that row's cells refused: left out, and said.
    PlanPoint refused = points[1];
    refused.counts = false;
    points.push_back(refused);
    LinePlan inOrder(table[0]);
    LinePlan reversed(table[0]);
    for (std::size_t i = 0; i < points.size(); ++i) {
        inOrder.add(points[i]);
        reversed.add(points[points.size() - 1 - i]);
        if (i + 2 == points.size()) {
            (void)inOrder.dueWithin(5); // read before its last row: the lives are counted again after it
        }
    }
    const std::string plan = inOrder.table(';');
    EXPECT_EQ(reversed.table(';'), plan);
    // Eight girders, "12-13" of two sections apart; the limit reached first.
    EXPECT_EQ(std::count(plan.begin(), plan.end(), '\n'), 9);
    EXPECT_NE(plan.find("\nПерегон А;14-15;104,5;3;0,15;3,2;0,0;"), std::string::npos);
    EXPECT_NE(plan.find("\nПерегон А;16-17;104,8;2;0,029;3,2;62,0;"), std::string::npos);
    EXPECT_NE(plan.find("\nПерегон А;12-13;104,2;3;0,05;3,2;40,0;0,017;2,1;150,1;2064;\"замена пояса до 2064 г. "
                        "(через 40,0 года); не учтено строк с ошибкой: 1\"\n"),
              std::string::npos);
    // From 20.06.2024 on: 14-15 reached, Перегон Б 12-13 in 2027.
    EXPECT_EQ(inOrder.dueWithin(5), 2U);
    EXPECT_EQ(inOrder.dueWithin(2), 1U);

    std::vector<std::string> noSupport = table[0];
    noSupport[1] = "Опора №";
    EXPECT_THROW(LinePlan{noSupport}, PlanError);
}

// A plan of many girders counts their lives and writes their records in two
// halves at once: the same table, in parts, as its records one by one.
TEST(LinePlan, ManyGirdersWrittenInHalvesAsOneByOne)
{
    const auto table = historyTable();
    std::vector<PlanPoint> points = planPoints(table);
    LinePlan plan(table[0]);
    std::mt19937 random(7);
    for (std::size_t girder = 0; girder < 3 * LinePlan::kInHalvesFrom / 2; ++girder) {
        for (PlanPoint point : points) {
            point.support = std::to_string(random() % 100) + "-" + std::to_string(girder);
            plan.add(point);
        }
    }
    std::string expected(kUtf8Bom);
    for (const auto& record : plan.records(DecimalSeparator::Point)) {
        appendCsvRecord(expected, record, ',');
    }
    std::vector<std::string> parts;
    plan.writeTable(',', DecimalSeparator::Point, [&parts](std::string_view part) { parts.emplace_back(part); });
    EXPECT_EQ(parts.size(), 2U);
    EXPECT_EQ(parts.at(0) + parts.at(1), expected);
    EXPECT_EQ(plan.table(',', DecimalSeparator::Point), expected);
}

// Girders of one year stand by section and support, numbers in them by
// value, whichever comes first in the table.
TEST(LinePlan, GirdersOfOneYearByTheirNames)
{
    const auto table = historyTable();
    TableLife life(table[0]);
    PlanPoint point;
    (void)life.check(table[7], &point); // Перегон А 16-17, inspected once
    const auto planOf = [&](const std::vector<std::pair<std::string, std::string>>& girders) {
        LinePlan plan(table[0]);
        for (const auto& [section, support] : girders) {
            PlanPoint named = point;
            named.section = section;
            named.support = support;
            plan.add(named);
        }
        return plan.table(';');
    };
    const std::string plan = planOf({{"Перегон Б", "2-3"},
                                     {"Перегон А", "10-11"},
                                     {"Перегон А", "010-11"},
                                     {"Перегон А", "9-10"},
                                     {"Перегон А", "9-9"},
                                     {"Перегон А", "9-1"},
                                     {"Перегон А", "9-01"}});
    EXPECT_EQ(planOf({{"Перегон А", "9-9"},
                      {"Перегон А", "9-1"},
                      {"Перегон А", "010-11"},
                      {"Перегон А", "9-01"},
                      {"Перегон А", "9-10"},
                      {"Перегон Б", "2-3"},
                      {"Перегон А", "10-11"}}),
              plan);
    std::vector<std::string> supports;
    for (auto at = plan.find('\n'); at + 1 < plan.size(); at = plan.find('\n', at + 1)) {
        supports.push_back(cellsOf(plan.substr(at + 1, plan.find('\n', at + 1) - at - 1)).at(1));
    }
    EXPECT_EQ(supports, (std::vector<std::string>{"9-01", "9-1", "9-9", "9-10", "010-11", "10-11", "2-3"}));
}

// A girder of the plan opens with its latest inspection's form and every
// inspection, whatever the order of its rows; a refused row is left out.
TEST(LinePlan, AGirderOpensWithItsLatestRowAndAllInspections)
{
    const auto table = historyTable();
    TableLife life(table[0]);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (life.ofGirder(table[i], "Перегон А", "12-13")) {
            rows.insert(rows.begin(), table[i]); // latest first
        }
    }
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_FALSE(life.ofGirder(table[1], "Перегон Б", "12-13"));
    std::vector<std::string> refused = rows.front();
    refused[3] = "2030-02-30"; // no such date: this row counts for nothing
    refused[6] = "5,0";
    rows.push_back(refused);
    const std::optional<TableLife::Girder> girder = life.girderOfRows(rows);
    ASSERT_TRUE(girder.has_value());
    // The 2024 row's section: L 75×6 thinned to 5,2 mm.
    EXPECT_EQ(girder->form.text(Field::Text9), areaText(*thinnedAngle(angleCatalogue()[*angleNamed("75x6")], 52)));
    std::vector<int> chord;
    for (const Inspection& inspection : girder->history.inspections) {
        chord.push_back(inspection.chordTenths.value_or(0));
    }
    std::sort(chord.begin(), chord.end());
    EXPECT_EQ(chord, (std::vector<int>{52, 55, 57}));
    EXPECT_EQ(girder->history.installed, 1988);
    EXPECT_FALSE(life.girderOfRows({refused}).has_value());

    // Перегон Б 22-23 got L 75×6 chords in 2021, after two inspections of its
    // L 63×5 ones: their readings are none of the girder's now, on either
    // member kind (its diagonals count from the installation too).
    rows.clear();
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (life.ofGirder(table[i], "Перегон Б", "22-23")) {
            rows.push_back(table[i]);
        }
    }
    const std::optional<TableLife::Girder> replaced = life.girderOfRows(rows);
    ASSERT_TRUE(replaced.has_value());
    EXPECT_EQ(replaced->history.chordAngle, angleNamed("75x6"));
    EXPECT_EQ(replaced->history.inspections.size(), 3U);
    for (const Inspection& inspection : replaced->history.inspections) {
        const bool now = inspection.date.year >= 2021;
        EXPECT_EQ(inspection.chordTenths.has_value(), now);
        EXPECT_EQ(inspection.diagonalTenths.has_value(), now);
    }
}

// What a cell tells of the separator, and a table's rows deciding it: a
// lone slip in a row keeps the row's separator, the engineer's own columns
// tell nothing, rows that disagree or a row with as many of both leave it
// open naming the cell, and a row a cut head may have cut short is not
// counted.
TEST(TableDecimal, CellsAndRowsDecideTheSeparator)
{
    using enum DecimalMark;
    for (const auto& [text, mark] :
         std::initializer_list<std::pair<std::string_view, DecimalMark>>{{"6,875", Comma},
                                                                         {" -0.5 ", Point},
                                                                         {".5", Point},
                                                                         {"12", None},
                                                                         {"1 234", None},
                                                                         {"", None},
                                                                         {"4.4e3", None},
                                                                         {"L 75×6", None},
                                                                         {"1.234,5", Grouped},
                                                                         {"1,234.5", Grouped},
                                                                         {"1\u00A0234,5", Grouped},
                                                                         {"1\u202F234.5", Grouped},
                                                                         {"1.234.567", Grouped},
                                                                         {"+2,", Comma},
                                                                         {",", None},
                                                                         {"7.", Point},
                                                                         {"1,2,3", Grouped},
                                                                         {",5.", Grouped}}) {
        EXPECT_EQ(decimalMarkOf(text), mark) << text;
    }
    EXPECT_EQ(withDecimalComma(" 1.5 "), " 1,5 ");
    EXPECT_EQ(withSeparator("-12,4", DecimalSeparator::Point), "-12.4");
    EXPECT_EQ(withSeparator("-12,4", DecimalSeparator::Comma), "-12,4");

    const auto decide = [](const std::string& table) {
        std::istringstream in(table);
        return decideDecimal(in);
    };
    const std::string header = "Км;txtLp;txtH;t пояса, мм;Дата осмотра\n";
    EXPECT_EQ(decide(header + "104,2;24.5;1.5;5,2;18.06.2018\n104,5;24;2.5;;\n").separator, DecimalSeparator::Point);
    EXPECT_FALSE(decide(header + "104,2;24.5;1.5;5,2;18.06.2018\n").doubt);
    EXPECT_EQ(decide(header + "1.5;24;2;;\n").separator, DecimalSeparator::Comma);
    const DecimalDecision rows = decide(header + "1;24,5;1,5;;\n2;24.5;1.5;;\n");
    ASSERT_TRUE(rows.doubt);
    EXPECT_EQ(rows.doubt->text(),
              "столбец «txtLp»: \"24.5\" — десятичная точка, а в строке 2 в столбце «txtLp» \"24,5\" — запятая: "
              "в таблице оба десятичных разделителя");
    EXPECT_EQ(rows.doubt->cell.line, 3U);
    const DecimalDecision tie = decide(header + "1;24,5;1.5;;\n");
    ASSERT_TRUE(tie.doubt);
    EXPECT_TRUE(tie.doubt->point);
    EXPECT_EQ(tie.doubt->cell.column, "txtH");
    EXPECT_TRUE(decide(header + "1;24,5;1 234,5;;\n").doubt->grouped);

    std::istringstream cut(header + "1;24,5;;;\n2;1.234,5;;;\n");
    std::string head;
    EXPECT_FALSE(decideDecimal(cut, header.size() + 17, head).doubt);
    EXPECT_EQ(head, (header + "1;24,5;;;\n2;1.234").substr(0, header.size() + 17));
}

// A large table's separator is decided in two halves at once: the same
// decision, doubt and line as one reader over the whole file, whatever lies
// at the middle (a quoted line break, a fault, a doubt either side) and
// whether the first half tells the encoding or not.
TEST(TableDecimal, InHalvesDecidesAsTheWholeFile)
{
    std::mt19937 random(20261208);
    const auto pick = [&random](std::initializer_list<std::string_view> texts) {
        return std::string(*(texts.begin() + std::uniform_int_distribution<std::size_t>(0, texts.size() - 1)(random)));
    };
    const auto chance = [&random](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    const std::string path = testing::TempDir() + "halves.csv";
    int late = 0; // doubts in the second half
    for (int table = 0; table < 400; ++table) {
        // Rows of one separator up to the row that makes the table doubt, if
        // any: with each, or another kind of doubt, anywhere.
        const bool point = chance(50);
        const std::string usual = point ? "24.5" : "24,5";
        const std::string other = point ? "24,5" : "24.5";
        const int rows = std::uniform_int_distribution<int>(1, 40)(random);
        const int doubtAt = std::uniform_int_distribution<int>(0, rows + rows / 2)(random);
        std::string text = pick({"Км;txtLp;txtH;t пояса, мм;Примечание\n", "Km;txtLp;txtH;t пояса, мм;Note\n",
                                 "Km;txtLp;txtH;t \xEF\xEE\xFF\xF1\xE0, \xEC\xEC;Note\n", "Km;txtLp;txtH;t;Note\n"});
        for (int row = 0; row < rows; ++row) {
            text += pick({"104,2", "1", ""}) + ";";
            const bool odd = row >= doubtAt && chance(30);
            const std::string kind = odd && chance(70) ? other : usual;
            for (int cell = 0; cell < 3; ++cell) {
                text += (odd && chance(30) ? pick({"", "24", "24,5", "24.5", "1 234,5",
                                                   "1\xA0"
                                                   "234",
                                                   "x"})
                                           : kind) +
                        ";";
            }
            text += chance(90) ? pick({"", "ок", "\xEE\xEA"})
                               : pick({"\"а;\nб\"", "\"а\n\nб\"\"\"", "\"незакрыта", "\xFF", "а\"б"});
            text += chance(95) ? "\n" : "\r\n";
        }
        std::ofstream(path, std::ios::binary) << text;
        std::istringstream whole(text);
        const DecimalDecision once = decideDecimal(whole);
        std::ifstream file(path, std::ios::binary);
        const DecimalDecision halves = decideDecimal(file, path, 2, 1);
        const auto shown = [](const DecimalDecision& decision) {
            return std::to_string(static_cast<int>(decision.separator)) + " " +
                   (decision.doubt ? std::to_string(decision.doubt->cell.line) + " " + decision.doubt->text() : "");
        };
        ASSERT_EQ(shown(halves), shown(once)) << text;
        std::string again;
        EXPECT_TRUE(std::getline(file, again)) << "the file is left at its start";
        late += once.doubt && once.doubt->cell.line > static_cast<std::size_t>(rows / 2 + 1) ? 1 : 0;
    }
    EXPECT_GT(late, 20) << "the tables should doubt past their middle now and then";

    // A first half all ASCII leaves the encoding to the line of the first
    // letter: a reader starting at the middle would see that line cut at
    // another place (the end of its own first 16 KiB) and might decide it
    // otherwise. Here the letter's line is UTF-8 up to the cut and broken
    // after it: read whole it is windows-1251, and the point row after it
    // makes the table doubt.
    std::string text = "Km;txtLp\n";
    const auto fillTo = [&text](std::size_t size) {
        while (text.size() < size) {
            text += "1;24,5\n";
        }
    };
    fillTo(35'000);
    text += "1;24,5;\u0416" + std::string(1000, 'a') + "\xFF\n1;24.5\n";
    fillTo(38'000);
    std::ofstream(path, std::ios::binary) << text;
    std::istringstream whole(text);
    const DecimalDecision once = decideDecimal(whole);
    ASSERT_TRUE(once.doubt);
    std::ifstream file(path, std::ios::binary);
    const DecimalDecision halves = decideDecimal(file, path, 2, 1);
    ASSERT_TRUE(halves.doubt);
    EXPECT_EQ(halves.doubt->cell.line, once.doubt->cell.line);
}

} // namespace
} // namespace prochnar
