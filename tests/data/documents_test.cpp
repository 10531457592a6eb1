// The text documents: the guidance table gip.txt, the recommendations
// rek.txt and the help Help.hlp, as the build places them beside the program.

#include "test_files.h"

#ifdef PROCHNAR_HAVE_CALC
#include "calc/messages.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace prochnar::test_data {
namespace {

class TextDocument : public ::testing::TestWithParam<const char*> {};

TEST_P(TextDocument, IsUtf8WithLineFeeds)
{
    const std::string text = readFile(documentPath(GetParam()));
    ASSERT_FALSE(text.empty());
    const std::size_t bad = firstInvalidUtf8(text);
    EXPECT_EQ(bad, std::string::npos) << "not UTF-8 at byte " << bad;
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF")) << "a byte-order mark would show in the field";
    EXPECT_EQ(text.find('\r'), std::string::npos) << "line ends are LF only";
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_NE(text.find("\xD0"), std::string::npos) << "the documents are in Russian";
}

INSTANTIATE_TEST_SUITE_P(Shipped, TextDocument, ::testing::Values("gip.txt", "rek.txt", "Help.hlp"),
                         [](const auto& param) {
                             std::string name = param.param;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

// A number as gip.txt writes it: digits with an optional decimal comma.
bool isNumber(const std::string& text)
{
    static const std::regex number("[0-9]+(,[0-9]+)?");
    return std::regex_match(text, number);
}

// A cell of the table without the column rule "| " before it and the note
// mark "*" after it.
std::string bareCell(std::string cell)
{
    if (cell.starts_with("| ")) {
        cell.erase(0, 2);
    }
    if (cell.ends_with('*')) {
        cell.pop_back();
    }
    return cell;
}

struct GuidanceTable {
    std::vector<std::string> heading;                       // the cells of the heading line
    std::vector<std::vector<std::string>> rows;             // the cells of the number lines
    std::vector<std::pair<std::string, std::string>> pairs; // every (I, J) in the table
};

GuidanceTable guidanceTable(const std::string& text)
{
    GuidanceTable table;
    for (const std::string& line : lines(text)) {
        std::vector<std::string> cells = split(line, '\t');
        if (cells.size() < 2) {
            continue;
        }
        for (std::string& cell : cells) {
            cell = bareCell(cell);
        }
        if (std::all_of(cells.begin(), cells.end(), isNumber)) {
            for (std::size_t i = 0; i + 1 < cells.size(); i += 2) {
                table.pairs.emplace_back(cells[i], cells[i + 1]);
            }
            table.rows.push_back(cells);
        } else if (table.heading.empty()) {
            table.heading = cells;
        }
    }
    return table;
}

TEST(Guidance, HoldsEveryPairOfTheBucklingTable)
{
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& row : csvRows(sourcePath("phi_st3_st4.csv"))) {
        ASSERT_EQ(row.size(), 2U);
        expected.emplace_back(row[0], withComma(row[1]));
    }
    ASSERT_EQ(expected.size(), 21U);

    GuidanceTable table = guidanceTable(readFile(documentPath("gip.txt")));
    std::sort(expected.begin(), expected.end());
    std::sort(table.pairs.begin(), table.pairs.end());
    EXPECT_EQ(table.pairs, expected);
}

TEST(Guidance, ColumnsLineUpUnderTheirHeadings)
{
    const GuidanceTable table = guidanceTable(readFile(documentPath("gip.txt")));
    ASSERT_FALSE(table.heading.empty()) << "the table has a heading line";
    ASSERT_EQ(table.heading.size() % 2, 0U);
    for (std::size_t i = 0; i < table.heading.size(); ++i) {
        EXPECT_EQ(table.heading[i], i % 2 == 0 ? "I" : "J") << "heading cell " << i;
    }
    for (const auto& row : table.rows) {
        EXPECT_EQ(row.size(), table.heading.size()) << "a row with another number of columns: " << row.front();
    }
}

double parseComma(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return std::stod(text);
}

// J between two rows of the table, by linear interpolation.
double interpolate(double slenderness)
{
    const auto rows = csvRows(sourcePath("phi_st3_st4.csv"));
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const double l1 = std::stod(rows[i][0]);
        const double l2 = std::stod(rows[i + 1][0]);
        if (slenderness >= l1 && slenderness <= l2) {
            const double j1 = std::stod(rows[i][1]);
            const double j2 = std::stod(rows[i + 1][1]);
            return j1 + (j2 - j1) * (slenderness - l1) / (l2 - l1);
        }
    }
    return NAN;
}

TEST(Guidance, WorkedExampleOfInterpolationIsRight)
{
    // "Пример: I = <I> ..." and on the next line "J = ... = <J>. В поле J вводят <J>."
    const std::vector<std::string> text = lines(readFile(documentPath("gip.txt")));
    const auto example =
        std::find_if(text.begin(), text.end(), [](const std::string& line) { return line.starts_with("Пример"); });
    ASSERT_NE(example, text.end());
    ASSERT_NE(example + 1, text.end());

    std::smatch slenderness;
    ASSERT_TRUE(std::regex_search(*example, slenderness, std::regex("I = ([0-9]+(,[0-9]+)?)")));
    std::smatch result;
    const std::string& next = *(example + 1);
    ASSERT_TRUE(std::regex_search(next, result, std::regex("= ([0-9]+,[0-9]+)\\. ")));
    std::smatch entered;
    ASSERT_TRUE(std::regex_search(next, entered, std::regex("вводят ([0-9]+,[0-9]+)")));

    const double expected = interpolate(parseComma(slenderness[1]));
    EXPECT_NEAR(parseComma(result[1]), expected, 0.0005);
    EXPECT_EQ(result[1], entered[1]);
}

// Links, sources and scripts of the help as written in its HTML.
std::vector<std::string> attributeValues(const std::string& html, const std::string& attribute)
{
    std::vector<std::string> values;
    const std::regex pattern("\\b" + attribute + "\\s*=\\s*\"([^\"]*)\"", std::regex::icase);
    for (auto it = std::sregex_iterator(html.begin(), html.end(), pattern); it != std::sregex_iterator(); ++it) {
        values.push_back((*it)[1]);
    }
    return values;
}

TEST(Help, NeedsNothingBeyondItself)
{
    const std::string html = readFile(documentPath("Help.hlp"));
    std::string lower = html;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(lower.find("<script"), std::string::npos);
    EXPECT_EQ(lower.find("<img"), std::string::npos) << "pictures would be separate files";
    EXPECT_EQ(lower.find("<link"), std::string::npos);
    EXPECT_TRUE(attributeValues(html, "src").empty());
    EXPECT_EQ(lower.find("url("), std::string::npos);
}

TEST(Help, EveryLinkLeadsToASectionOfTheHelp)
{
    const std::string html = readFile(documentPath("Help.hlp"));
    std::vector<std::string> targets = attributeValues(html, "name");
    for (const std::string& id : attributeValues(html, "id")) {
        targets.push_back(id);
    }
    const std::vector<std::string> links = attributeValues(html, "href");
    EXPECT_FALSE(links.empty());
    for (const std::string& link : links) {
        ASSERT_TRUE(link.starts_with("#")) << link << ": the help links only within itself";
        EXPECT_NE(std::find(targets.begin(), targets.end(), link.substr(1)), targets.end()) << link << " leads nowhere";
    }
}

#ifdef PROCHNAR_HAVE_CALC
TEST(Help, QuotesEveryMessageOfTheCalculationExactly)
{
    const std::string html = readFile(documentPath("Help.hlp"));
    for (const Message message :
         {Message::ValuesNotSet, Message::CoefficientsNotSet, Message::DecimalComma, Message::Arithmetic}) {
        const std::string text(messageText(message));
        ASSERT_FALSE(text.empty());
        EXPECT_NE(html.find("«" + text + "»"), std::string::npos) << "the help does not quote: " << text;
    }
}
#endif

} // namespace
} // namespace prochnar::test_data
