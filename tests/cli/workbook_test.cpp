// prochnar-calc -o OUT.xlsx: the workbook read back (its XML, through
// unzip) holds every cell of the CSV the command writes for the same table,
// numbers as numbers and the rest as text, the header frozen and filtered,
// each verdict on the colour its words call for, the plan on its own sheet
// and the summary last; LibreOffice, where present, reads the same cells.

#include "calc/verdict_colours.h"
#include "formats/csv_table.h"
#include "formats/table_workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
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
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    return text;
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

// A cell of a sheet as its XML holds it.
struct XmlCell {
    std::string value;
    bool number = false;
    int style = 0;
};
using Sheet = std::map<std::pair<std::size_t, std::size_t>, XmlCell>; // (row, column) from 0

std::string between(const std::string& xml, std::size_t from, const std::string& open, const std::string& close)
{
    const std::size_t start = xml.find(open, from);
    const std::size_t end = start == std::string::npos ? start : xml.find(close, start + open.size());
    return start == std::string::npos || end == std::string::npos
               ? std::string()
               : xml.substr(start + open.size(), end - start - open.size());
}

std::string unescaped(std::string text)
{
    for (const auto& [entity, character] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
        for (std::size_t at = 0; (at = text.find(entity, at)) != std::string::npos; ++at) {
            text.replace(at, std::string_view(entity).size(), character);
        }
    }
    return text;
}

// Every <c> of a worksheet: "A1" read as row 0, column 0.
Sheet cellsOf(const std::string& xml)
{
    Sheet sheet;
    for (std::size_t at = 0; (at = xml.find("<c r=\"", at)) != std::string::npos;) {
        at += 6;
        std::size_t column = 0;
        for (; xml[at] >= 'A' && xml[at] <= 'Z'; ++at) {
            column = column * 26 + static_cast<std::size_t>(xml[at] - 'A' + 1);
        }
        const std::size_t row = std::stoul(xml.substr(at)) - 1;
        const std::size_t tagEnd = xml.find('>', at);
        const std::string tag = xml.substr(at, tagEnd - at);
        XmlCell cell;
        if (const std::size_t style = tag.find("s=\""); style != std::string::npos) {
            cell.style = std::stoi(tag.substr(style + 3));
        }
        if (xml[tagEnd - 1] != '/') {
            const std::string body = xml.substr(tagEnd + 1, xml.find("</c>", tagEnd) - tagEnd - 1);
            cell.number = tag.find("t=\"") == std::string::npos;
            cell.value =
                unescaped(cell.number ? between(body, 0, "<v>", "</v>") : between(body, body.find("<t"), ">", "</t>"));
            EXPECT_TRUE(cell.number || tag.find("t=\"inlineStr\"") != std::string::npos) << tag;
        }
        sheet[{row, column - 1}] = cell;
    }
    return sheet;
}

// The fill colour ("FFRRGGBB") behind each style's cells; empty for none.
std::vector<std::string> fillsOf(const std::string& styles)
{
    std::vector<std::string> fills;
    const std::string fillList = between(styles, 0, "<fills", "</fills>");
    for (std::size_t at = 0; (at = fillList.find("<fill>", at)) != std::string::npos; ++at) {
        fills.push_back(between(fillList.substr(at, fillList.find("</fill>", at) - at), 0, "<fgColor rgb=\"", "\""));
    }
    std::vector<std::string> byStyle;
    const std::string xfs = between(styles, 0, "<cellXfs", "</cellXfs>");
    for (std::size_t at = 0; (at = xfs.find("<xf ", at)) != std::string::npos; ++at) {
        byStyle.push_back(fills.at(std::stoul(between(xfs, at, "fillId=\"", "\""))));
    }
    return byStyle;
}

std::string argb(Rgb rgb)
{
    char text[9];
    std::snprintf(text, sizeof text, "FF%06X", rgb.packed());
    return text;
}

// A number with its decimal comma or point.
double numberOf(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

// A sheet's cell against the CSV's text: a number as a number of the same
// value, anything else as the same text; an empty cell absent or empty.
void expectCell(const Sheet& sheet, std::size_t row, std::size_t column, const std::string& text)
{
    SCOPED_TRACE(text);
    const auto found = sheet.find({row, column});
    if (text.empty()) {
        EXPECT_TRUE(found == sheet.end() || found->second.value.empty());
        return;
    }
    ASSERT_NE(found, sheet.end());
    const bool number = row > 0 && cellNumber(text).has_value();
    EXPECT_EQ(found->second.number, number);
    if (number) {
        EXPECT_DOUBLE_EQ(numberOf(found->second.value), numberOf(text));
    } else {
        EXPECT_EQ(found->second.value, text);
    }
}

class Workbook : public ::testing::TestWithParam<std::pair<const char*, bool>> {
protected:
    void SetUp() override
    {
        work_ = fs::path(::testing::TempDir()) / ("workbook-" + std::to_string(::getpid()));
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }
    [[nodiscard]] std::string in(const std::string& name) const { return (work_ / name).string(); }
    fs::path work_;
};

TEST_P(Workbook, HoldsTheCellsOfTheCsv)
{
    const auto [table, planned] = GetParam();
    const std::string calc = std::string(PROCHNAR_CALC) + " --table " + PROCHNAR_SOURCE_DIR + table;
    commandOutput(calc + " -o " + in("out.csv") + (planned ? " --plan " + in("plan.csv") : "") + " 2>&1");
    const std::string stderrText =
        commandOutput(calc + " -o " + in("out.XLSX") + (planned ? " --plan " + in("plan2.csv") : "") + " 2>&1");
    const Records csv = csvRecords(in("out.csv"));
    ASSERT_GT(csv.size(), 1U);
    ASSERT_EQ(std::system(("cd " + in("") + " && unzip -q out.XLSX -d x").c_str()), 0) << stderrText;
    const auto xml = [this](const std::string& part) {
        std::ifstream file(work_ / "x" / part, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    };
    const std::string sheetXml = xml("xl/worksheets/sheet1.xml");
    const Sheet sheet = cellsOf(sheetXml);
    const std::vector<std::string> fills = fillsOf(xml("xl/styles.xml"));

    std::size_t numbers = 0;
    std::size_t coloured = 0;
    std::size_t filled = 0;
    std::map<std::size_t, bool> verdictColumns;
    for (std::size_t row = 0; row < csv.size(); ++row) {
        for (std::size_t column = 0; column < csv[row].size(); ++column) {
            const std::string& text = csv[row][column];
            if (row == 0 && std::any_of(kStep3Rows.begin(), kStep3Rows.end(),
                                        [&text](const Step3Row& verdict) { return verdict.name == text; })) {
                verdictColumns[column] = true;
            }
            filled += text.empty() ? 0 : 1;
            expectCell(sheet, row, column, text);
            numbers += row > 0 && cellNumber(text) ? 1 : 0;
            if (row > 0 && verdictColumns.contains(column) && !text.empty()) {
                const VerdictKind kind = text.starts_with("держит")      ? VerdictKind::Holds
                                         : text.starts_with("не держит") ? VerdictKind::Fails
                                                                         : VerdictKind::Check;
                EXPECT_EQ(fills.at(static_cast<std::size_t>(sheet.at({row, column}).style)),
                          argb(verdictBackgroundRgb(kind)));
                ++coloured;
            }
        }
    }
    // Nothing more than the CSV's cells, then the summary.
    EXPECT_EQ(std::count_if(sheet.begin(), sheet.end(), [](const auto& cell) { return !cell.second.value.empty(); }),
              filled + 1);
    EXPECT_EQ(verdictColumns.size(), kVerdictRows);
    EXPECT_GT(numbers, csv.size());
    EXPECT_GT(coloured, csv.size());
    // The summary after an empty row, as the command prints it.
    EXPECT_EQ(sheet.lower_bound({csv.size(), 0}), sheet.find({csv.size() + 1, 0}));
    EXPECT_EQ("prochnar-calc: " + sheet.at({csv.size() + 1, 0}).value + "\n", stderrText);
    EXPECT_NE(sheetXml.find(R"(<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/>)"),
              std::string::npos);
    std::string lastColumn;
    for (std::size_t n = csv[0].size(); n > 0; n = (n - 1) / 26) {
        lastColumn.insert(lastColumn.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    EXPECT_NE(sheetXml.find("<autoFilter ref=\"A1:" + lastColumn + std::to_string(csv.size()) + "\"/>"),
              std::string::npos);

    if (planned) {
        const Records plan = csvRecords(in("plan.csv"));
        const Sheet planSheet = cellsOf(xml("xl/worksheets/sheet2.xml"));
        ASSERT_GT(plan.size(), 1U);
        for (std::size_t row = 0; row < plan.size(); ++row) {
            for (std::size_t column = 0; column < plan[row].size(); ++column) {
                expectCell(planSheet, row, column, plan[row][column]);
            }
        }
        EXPECT_NE(xml("xl/workbook.xml").find("<sheet name=\"План замены\""), std::string::npos);
    }

    // LibreOffice shows the same cells (with its own decimal point).
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "soffice is not installed";
    }
    commandOutput("cd " + in("") + " && HOME=" + in("") + " soffice --headless --convert-to " +
                  "'csv:Text - txt - csv (StarCalc):59,34,76,1' --outdir lo out.XLSX >/dev/null 2>&1");
    Records shown = csvRecords(work_ / "lo" / "out.csv");
    ASSERT_EQ(shown.size(), csv.size() + 2);
    EXPECT_EQ(shown.back().front() + "\n", stderrText.substr(std::string_view("prochnar-calc: ").size()));
    for (std::size_t row = 0; row < csv.size(); ++row) {
        for (std::size_t column = 0; column < csv[row].size(); ++column) {
            const std::string& text = csv[row][column];
            const std::string& seen = shown[row].at(column);
            if (row > 0 && cellNumber(text)) {
                // Every digit shown, whichever the decimal sign.
                EXPECT_EQ(seen.size(), text.size()) << seen;
                EXPECT_DOUBLE_EQ(numberOf(seen), numberOf(text));
            } else {
                EXPECT_EQ(seen, text);
            }
        }
    }
}

// Numbers as the table writes them, and texts that only look like numbers.
TEST(Workbook, NumbersOfCells)
{
    const std::vector<std::pair<const char*, std::optional<std::pair<double, int>>>> cases{
        {"2,590158", std::pair{2.590158, 6}},
        {"65,4", std::pair{65.4, 1}},
        {"-12,4", std::pair{-12.4, 1}},
        {"0,066", std::pair{0.066, 3}},
        {"1990", std::pair{1990.0, 0}},
        {"0", std::pair{0.0, 0}},
        {"123456789012,345", std::pair{123456789012.345, 3}},
        {"1234567890123,456", std::nullopt}, // 16 digits: a double would change it
        {"12-13", std::nullopt},
        {"2026-05-01", std::nullopt},
        {"007", std::nullopt},
        {"-0", std::nullopt},
        {"-0,0", std::nullopt},
        {"1,", std::nullopt},
        {",5", std::nullopt},
        {"1,5,5", std::nullopt},
        {"1.5", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"+1", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"1e5", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        const auto number = cellNumber(text);
        ASSERT_EQ(number.has_value(), expected.has_value()) << text;
        if (number) {
            EXPECT_DOUBLE_EQ(number->value, expected->first) << text;
            EXPECT_EQ(number->decimals, expected->second) << text;
        }
    }
    EXPECT_TRUE(isWorkbookName("a.XlSx"));
    EXPECT_FALSE(isWorkbookName(".xlsx"));
    EXPECT_FALSE(isWorkbookName("a.xlsx.csv"));
}

INSTANTIATE_TEST_SUITE_P(Tables, Workbook,
                         ::testing::Values(std::pair{"/tests/cli/tables/history.csv", true},
                                           std::pair{"/examples/line-section.csv", false}),
                         [](const auto& param) { return std::string(param.param.second ? "planned" : "example"); });

} // namespace
} // namespace prochnar
