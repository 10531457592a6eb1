// prochnar-calc -o OUT.xlsx read back (its XML, through unzip) against the
// CSV the command writes for the same table: every cell, numbers as numbers
// and the rest as text, the header frozen and filtered, each verdict on the
// colour its words call for, the plan's sheet and the summary; LibreOffice,
// where present, shows the same cells. A cell Excel cannot hold writes nothing.

#include "calc/verdict_colours.h"
#include "formats/csv_table.h"
#include "formats/table_workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace prochnar {
namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::vector<std::string>>;

std::string commandOutput(const std::string& command)
{
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (int c = 0; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        text += static_cast<char>(c);
    }
    return pipe != nullptr && ::pclose(pipe) >= 0 ? text : "";
}

Records csvRecords(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    CsvReader reader(in);
    Records records;
    for (std::vector<std::string> record; reader.next(record);) {
        records.push_back(record);
    }
    return records;
}

// A sheet's cells by (row, column) from 0, and whether each is a number.
struct XmlCell {
    std::string value;
    bool number = false;
    std::size_t style = 0;
};
using Sheet = std::map<std::pair<std::size_t, std::size_t>, XmlCell>;

Sheet cellsOf(const std::string& xml)
{
    static const std::regex cell(
        R"re(<c r="([A-Z]+)(\d+)"(?: s="(\d+)")?( t="inlineStr")?(?:/>|>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>))re");
    Sheet sheet;
    for (std::sregex_iterator at(xml.begin(), xml.end(), cell), end; at != end; ++at) {
        const std::smatch& m = *at;
        std::size_t column = 0;
        for (const char letter : m.str(1)) {
            column = column * 26 + static_cast<std::size_t>(letter - 'A' + 1);
        }
        sheet[{std::stoul(m.str(2)) - 1, column - 1}] = {
            .value = m.str(5) + m.str(6), .number = m[5].matched, .style = m[3].matched ? std::stoul(m.str(3)) : 0};
    }
    return sheet;
}

// The fill colour ("FFRRGGBB", or "" for none) of each cell style.
std::vector<std::string> fillsOf(const std::string& styles)
{
    static const std::regex fill(R"re(<fill><patternFill patternType="\w+"(?:/>|><fgColor rgb="(\w+)"))re");
    static const std::regex xf(R"re(<xf [^>]*fillId="(\d+)")re");
    std::vector<std::string> fills;
    for (std::sregex_iterator at(styles.begin(), styles.end(), fill), end; at != end; ++at) {
        fills.push_back(at->str(1));
    }
    std::vector<std::string> byStyle;
    const auto cellXfs = styles.begin() + static_cast<std::ptrdiff_t>(styles.find("<cellXfs"));
    for (std::sregex_iterator at(cellXfs, styles.end(), xf), end; at != end; ++at) {
        byStyle.push_back(fills.at(std::stoul(at->str(1))));
    }
    return byStyle;
}

double numberOf(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

// A sheet's cell against the CSV's: a number of the same value, or the same
// text; an empty one absent or blank (on a colour).
void expectCell(const Sheet& sheet, std::size_t row, std::size_t column, const std::string& text)
{
    const auto found = sheet.find({row, column});
    const XmlCell cell = found == sheet.end() ? XmlCell{} : found->second;
    const bool number = row > 0 && cellNumber(text);
    EXPECT_EQ(cell.number, number) << text;
    EXPECT_TRUE(number ? numberOf(cell.value) == numberOf(text) : cell.value == text) << text;
}

class Workbook : public ::testing::TestWithParam<std::pair<const char*, bool>> {
protected:
    void SetUp() override { fs::create_directories(work_); }
    void TearDown() override { fs::remove_all(work_); }
    [[nodiscard]] std::string in(const std::string& name) const { return (work_ / name).string(); }
    [[nodiscard]] std::string part(const std::string& name) const
    {
        return commandOutput("unzip -p " + in("out.XLSX") + " " + name);
    }
    fs::path work_ = fs::path(::testing::TempDir()) / ("workbook-" + std::to_string(::getpid()));
};

TEST_P(Workbook, HoldsTheCellsOfTheCsv)
{
    const auto [table, planned] = GetParam();
    const std::string calc = std::string(PROCHNAR_CALC) + " --table " + PROCHNAR_SOURCE_DIR + table;
    commandOutput(calc + " -o " + in("out.csv") + (planned ? " --plan " + in("plan.csv") : "") + " 2>&1");
    const std::string summary =
        commandOutput(calc + " -o " + in("out.XLSX") + (planned ? " --plan " + in("plan2.csv") : "") + " 2>&1");
    const Records csv = csvRecords(in("out.csv"));
    const std::string sheetXml = part("xl/worksheets/sheet1.xml");
    const Sheet sheet = cellsOf(sheetXml);
    const std::vector<std::string> fills = fillsOf(part("xl/styles.xml"));
    ASSERT_GT(csv.size(), 1U);

    std::size_t numbers = 0;
    std::size_t coloured = 0;
    std::ptrdiff_t filled = 0;
    for (std::size_t column = 0; column < csv[0].size(); ++column) {
        const bool verdicts = std::any_of(kStep3Rows.begin(), kStep3Rows.end(),
                                          [&](const Step3Row& verdict) { return verdict.name == csv[0][column]; });
        for (std::size_t row = 0; row < csv.size(); ++row) {
            const std::string& text = csv[row].at(column);
            expectCell(sheet, row, column, text);
            numbers += row > 0 && cellNumber(text) ? 1 : 0;
            filled += text.empty() ? 0 : 1;
            if (row > 0 && verdicts && !text.empty()) {
                const VerdictKind kind = text.starts_with("держит")      ? VerdictKind::Holds
                                         : text.starts_with("не держит") ? VerdictKind::Fails
                                                                         : VerdictKind::Check;
                char argb[9];
                std::snprintf(argb, sizeof argb, "FF%06X", verdictBackgroundRgb(kind).packed());
                EXPECT_EQ(fills.at(sheet.at({row, column}).style), argb) << text;
                ++coloured;
            }
        }
    }
    EXPECT_GT(numbers, 10 * csv.size());
    EXPECT_GT(coloured, 3 * csv.size());
    // Nothing more than the CSV's cells; after an empty row, the summary.
    EXPECT_EQ(std::count_if(sheet.begin(), sheet.end(), [](const auto& cell) { return !cell.second.value.empty(); }),
              filled + 1);
    EXPECT_EQ("prochnar-calc: " + sheet.at({csv.size() + 1, 0}).value + "\n", summary);
    EXPECT_NE(sheetXml.find(R"(<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/>)"),
              std::string::npos);
    // A width for each column, fitted within its bounds (Excel adds 0,71 to each).
    static const std::regex width(R"re(<col min="(\d+)" max="\1" width="([\d.]+)")re");
    std::size_t widths = 0;
    for (std::sregex_iterator at(sheetXml.begin(), sheetXml.end(), width), end; at != end; ++at, ++widths) {
        EXPECT_TRUE(std::stod(at->str(2)) >= 8 && std::stod(at->str(2)) <= 61) << at->str(0);
    }
    EXPECT_EQ(widths, csv[0].size());
    std::string lastColumn;
    for (std::size_t n = csv[0].size(); n > 0; n = (n - 1) / 26) {
        lastColumn.insert(lastColumn.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    EXPECT_NE(sheetXml.find("<autoFilter ref=\"A1:" + lastColumn + std::to_string(csv.size()) + "\"/>"),
              std::string::npos);

    if (planned) {
        const Records plan = csvRecords(in("plan.csv"));
        const Sheet planSheet = cellsOf(part("xl/worksheets/sheet2.xml"));
        ASSERT_GT(plan.size(), 1U);
        for (std::size_t row = 0; row < plan.size(); ++row) {
            for (std::size_t column = 0; column < plan[row].size(); ++column) {
                expectCell(planSheet, row, column, plan[row][column]);
            }
        }
        EXPECT_NE(part("xl/workbook.xml").find("<sheet name=\"План замены\""), std::string::npos);
    }

    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "soffice is not installed";
    }
    commandOutput("cd " + in("") + " && HOME=" + in("") + " soffice --headless --convert-to " +
                  "'csv:Text - txt - csv (StarCalc):59,34,76,1' --outdir lo out.XLSX >/dev/null 2>&1");
    const Records shown = csvRecords(work_ / "lo" / "out.csv");
    ASSERT_EQ(shown.size(), csv.size() + 2);
    EXPECT_EQ("prochnar-calc: " + shown.back().front() + "\n", summary);
    for (std::size_t row = 0; row < csv.size(); ++row) {
        for (std::size_t column = 0; column < csv[row].size(); ++column) {
            const std::string& text = csv[row][column];
            const std::string& seen = shown[row].at(column);
            // A number with every digit, whichever its decimal sign.
            EXPECT_TRUE(row > 0 && cellNumber(text) ? seen.size() == text.size() && numberOf(seen) == numberOf(text)
                                                    : seen == text)
                << seen << " for " << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, Workbook,
                         ::testing::Values(std::pair{"/tests/cli/tables/history.csv", true},
                                           std::pair{"/examples/line-section.csv", false}),
                         [](const auto& param) { return std::string(param.param.second ? "planned" : "example"); });

TEST_F(Workbook, ACellExcelCannotHoldLeavesTheOldFile)
{
    std::ofstream(in("long.csv")) << "Примечание;txtLp\n" << std::string(32768, 'a') << ";20\n";
    std::ofstream(in("old.xlsx")) << "old";
    const std::string said = commandOutput(std::string(PROCHNAR_CALC) + " --table " + in("long.csv") + " -o " +
                                           in("old.xlsx") + " 2>&1; echo exit $?");
    EXPECT_NE(said.find("в строке 2 листа ячейка длиннее 32 767 знаков"), std::string::npos) << said;
    EXPECT_TRUE(said.ends_with("exit 2\n")) << said;
    EXPECT_EQ(commandOutput("cat " + in("old.xlsx")), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(work_), fs::directory_iterator()), 2); // no temporary file left
}

// Numbers as the table writes them, with their decimals (-1: text).
TEST(WorkbookCells, NumbersAndNames)
{
    for (const auto& [text, value, decimals] :
         std::vector<std::tuple<const char*, double, int>>{{"2,590158", 2.590158, 6},
                                                           {"-12,4", -12.4, 1},
                                                           {"0,066", 0.066, 3},
                                                           {"1990", 1990, 0},
                                                           {"0", 0, 0},
                                                           {"123456789012,345", 123456789012.345, 3},
                                                           {"1234567890123,456", 0, -1},
                                                           {"12-13", 0, -1},
                                                           {"2026-05-01", 0, -1},
                                                           {"007", 0, -1},
                                                           {"-0", 0, -1},
                                                           {"-0,0", 0, -1},
                                                           {"1,", 0, -1},
                                                           {",5", 0, -1},
                                                           {"1,5,5", 0, -1},
                                                           {"1.5", 0, -1},
                                                           {" 1", 0, -1},
                                                           {"1 ", 0, -1},
                                                           {"+1", 0, -1},
                                                           {"-", 0, -1},
                                                           {"", 0, -1},
                                                           {"1e5", 0, -1}}) {
        const auto number = cellNumber(text);
        EXPECT_EQ(number ? number->decimals : -1, decimals) << text;
        EXPECT_EQ(number ? number->value : 0, value) << text;
    }
    EXPECT_EQ(cellNumber("-2.5", '.')->value, -2.5); // a table written with points
    EXPECT_FALSE(cellNumber("2,5", '.'));
    EXPECT_TRUE(isWorkbookName("a.XlSx"));
    EXPECT_FALSE(isWorkbookName(".xlsx") || isWorkbookName("a.xlsx.csv"));
}

} // namespace
} // namespace prochnar
