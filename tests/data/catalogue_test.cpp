// The catalogue of angles profel.doc: what the build generated holds every
// profile of the data file as printed there, and the generator refuses a data
// file it cannot trust.

#include "test_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar::test_data {
namespace {

namespace fs = std::filesystem;

struct RtfRow {
    bool heading = false;
    std::vector<std::string> cells;
};

struct RtfText {
    std::string text; // all the text, table cells included, as UTF-8
    std::vector<RtfRow> rows;
};

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Reads the text and the table rows of an RTF document the way a word
// processor does: control words, groups and line breaks of the file are not
// text; \uN (with its one replacement character) is the UTF-16 unit N; \~ is a
// no-break space; \trowd starts a row, \trhdr marks it as a heading, \cell
// ends a cell and \row ends the row.
RtfText readRtf(std::string_view rtf)
{
    RtfText result;
    RtfRow row;
    std::string cell;
    std::uint32_t highSurrogate = 0;
    const auto text = [&](std::uint32_t code) {
        std::string utf8;
        appendUtf8(utf8, code);
        cell += utf8;
        result.text += utf8;
    };
    for (std::size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '{' || c == '}' || c == '\n' || c == '\r') {
            ++i;
            continue;
        }
        if (c != '\\') {
            text(static_cast<unsigned char>(c));
            ++i;
            continue;
        }
        ++i;
        if (i >= rtf.size()) {
            break;
        }
        const char symbol = rtf[i];
        if (symbol == '\\' || symbol == '{' || symbol == '}') {
            text(static_cast<unsigned char>(symbol));
            ++i;
            continue;
        }
        if (symbol == '~') {
            text(0xA0);
            ++i;
            continue;
        }
        std::string word;
        while (i < rtf.size() && ((rtf[i] >= 'a' && rtf[i] <= 'z') || (rtf[i] >= 'A' && rtf[i] <= 'Z'))) {
            word += rtf[i++];
        }
        std::string number;
        if (i < rtf.size() && rtf[i] == '-') {
            number += rtf[i++];
        }
        while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9') {
            number += rtf[i++];
        }
        if (i < rtf.size() && rtf[i] == ' ') {
            ++i; // the delimiter belongs to the control word
        }
        if (word.empty()) {
            ++i; // a control symbol other than the ones above
        } else if (word == "u") {
            auto unit = static_cast<std::uint32_t>(std::stoi(number) & 0xFFFF);
            ++i; // the replacement character (\uc1)
            if (unit >= 0xD800 && unit < 0xDC00) {
                highSurrogate = unit;
            } else if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate != 0) {
                text(0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
                highSurrogate = 0;
            } else {
                text(unit);
            }
        } else if (word == "trowd") {
            row = RtfRow{};
            cell.clear();
        } else if (word == "trhdr") {
            row.heading = true;
        } else if (word == "cell") {
            row.cells.push_back(cell);
            cell.clear();
            result.text += '\t';
        } else if (word == "row") {
            result.rows.push_back(row);
            cell.clear();
            result.text += '\n';
        } else if (word == "par") {
            result.text += '\n';
        } else if (word == "tab") {
            text('\t');
        }
    }
    return result;
}

std::string noBreakToSpace(std::string text)
{
    const std::string noBreak = "\u00A0";
    for (std::size_t at = 0; (at = text.find(noBreak, at)) != std::string::npos;) {
        text.replace(at, noBreak.size(), " ");
    }
    return text;
}

std::vector<RtfRow> bodyRows(const RtfText& doc)
{
    std::vector<RtfRow> body;
    for (const RtfRow& row : doc.rows) {
        if (!row.heading) {
            body.push_back(row);
        }
    }
    return body;
}

TEST(Catalogue, IsAnRtfDocumentInPlainAscii)
{
    const std::string rtf = readFile(documentPath("profel.doc"));
    ASSERT_TRUE(rtf.starts_with("{\\rtf1")) << "a word processor recognises RTF by its first bytes";
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(rtf[i]), 0x80) << "byte " << i << ": RTF text must be escaped";
        if (rtf[i] == '\\') {
            ++i; // an escaped brace does not count
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}') {
            --depth;
            ASSERT_TRUE(depth > 0 || rtf.find_first_not_of("\r\n", i + 1) == std::string::npos)
                << "the document's group closes before its end, at byte " << i;
        }
    }
    EXPECT_EQ(depth, 0) << "unbalanced groups";
}

TEST(Catalogue, HoldsEveryProfileOfTheDataFileAsPrinted)
{
    const auto csv = csvRows(sourcePath("angles_gost8509.csv"));
    const RtfText doc = readRtf(readFile(documentPath("profel.doc")));
    const std::vector<RtfRow> body = bodyRows(doc);

    ASSERT_EQ(body.size(), csv.size()) << "one table row per profile";
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const auto& data = csv[i];
        ASSERT_EQ(data.size(), 6U);
        const auto& cells = body[i].cells;
        ASSERT_EQ(cells.size(), 5U) << "row " << i + 1;
        SCOPED_TRACE(data[0] + "x" + data[1]);
        EXPECT_EQ(noBreakToSpace(cells[0]), data[0] + " × " + withComma(data[1]));
        EXPECT_EQ(cells[1], withComma(data[2])); // area S
        EXPECT_EQ(cells[2], withComma(data[5])); // least radius of gyration
        EXPECT_EQ(cells[3], withComma(data[3])); // mass per metre
    }
}

TEST(Catalogue, EveryHeadingRowNamesTheColumnsInTheirOrder)
{
    const RtfText doc = readRtf(readFile(documentPath("profel.doc")));
    int headings = 0;
    for (const RtfRow& row : doc.rows) {
        if (!row.heading) {
            continue;
        }
        ++headings;
        ASSERT_EQ(row.cells.size(), 5U);
        EXPECT_EQ(noBreakToSpace(row.cells[0]), "Уголок b × t, мм");
        EXPECT_EQ(row.cells[1], "S, см²");
        EXPECT_EQ(row.cells[2], "iуг, см");
        EXPECT_EQ(row.cells[3], "Масса 1 м, кг");
    }
    EXPECT_GE(headings, 1);
    EXPECT_EQ(doc.rows.front().heading, true) << "the table starts with its heading";
}

TEST(Catalogue, MarksRowsWithRemarksThatExist)
{
    const RtfText doc = readRtf(readFile(documentPath("profel.doc")));
    const std::string notes = doc.text.substr(doc.text.find("Примечания"));
    int marked = 0;
    for (const RtfRow& row : bodyRows(doc)) {
        if (row.cells.size() < 5 || row.cells[4].empty()) {
            continue;
        }
        ++marked;
        for (const std::string& mark : split(row.cells[4], ',')) {
            const std::string number = mark.substr(mark.find_first_not_of(' '));
            EXPECT_NE(notes.find("\n" + number + ".\t"), std::string::npos)
                << noBreakToSpace(row.cells[0]) << " refers to remark " << number << ", which is not there";
        }
    }
    EXPECT_GT(marked, 0) << "the corrected and doubtful rows carry a remark";
}

// The generator run on data files written for each case.
class Generator : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / ("prochnar-make-profel-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    struct Run {
        int status = -1;
        std::string errors;
        bool wroteOutput = false;
    };

    Run generate(const fs::path& input)
    {
        const fs::path output = dir_ / "profel.doc";
        const fs::path errors = dir_ / "errors.txt";
        const std::string command = "'" + std::string(PROCHNAR_MAKE_PROFEL) + "' '" + input.string() + "' '" +
                                    output.string() + "' 2>'" + errors.string() + "'";
        const int raw = std::system(command.c_str());
        Run run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.errors = fs::exists(errors) ? readFile(errors) : std::string{};
        run.wroteOutput = fs::exists(output);
        return run;
    }

    Run generateFrom(std::string_view csv)
    {
        const fs::path input = dir_ / "angles.csv";
        writeFile(input, csv);
        return generate(input);
    }

    fs::path dir_;
};

constexpr std::string_view kHeader = "b_mm,t_mm,area_cm2,mass_kg_m,i_x_cm,i_min_cm\n";
constexpr std::string_view kRow20x3 = "20,3,1.13,0.89,0.59,0.39\n";
constexpr std::string_view kRow50x5 = "50,5,4.80,3.77,1.53,0.98\n";
constexpr std::string_view kRow100x10 = "100,10,19.24,15.10,3.05,1.96\n";

TEST_F(Generator, WritesTheCatalogueOfAGoodFile)
{
    const Run run =
        generateFrom(std::string(kHeader) + std::string(kRow20x3) + std::string(kRow50x5) + std::string(kRow100x10));
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.wroteOutput);
    const std::vector<RtfRow> body = bodyRows(readRtf(readFile(dir_ / "profel.doc")));
    ASSERT_EQ(body.size(), 3U);
    EXPECT_EQ(noBreakToSpace(body[1].cells[0]), "50 × 5");
    EXPECT_EQ(body[2].cells[1], "19,24");
}

TEST_F(Generator, AcceptsTheShippedDataFile)
{
    const Run run = generate(sourcePath("angles_gost8509.csv"));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(run.wroteOutput);
}

TEST_F(Generator, AcceptsWindowsLineEnds)
{
    const Run run = generateFrom("b_mm,t_mm,area_cm2,mass_kg_m,i_x_cm,i_min_cm\r\n20,3,1.13,0.89,0.59,0.39\r\n");
    EXPECT_EQ(run.status, 0) << run.errors;
}

TEST_F(Generator, FailsOnAMissingFile)
{
    const Run run = generate(dir_ / "no-such.csv");
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(run.wroteOutput);
    EXPECT_NE(run.errors.find("no-such.csv"), std::string::npos) << run.errors;
}

struct BadFile {
    const char* name;
    std::string csv;
    const char* where; // ":line:" the message must point at, or "" for the file as a whole
    const char* says;  // a part of the message
};

void PrintTo(const BadFile& bad, std::ostream* out) { *out << bad.name; }

class GeneratorRejects : public Generator, public ::testing::WithParamInterface<BadFile> {};

TEST_P(GeneratorRejects, WithAMessageAndNoOutput)
{
    const BadFile& bad = GetParam();
    const Run run = generateFrom(bad.csv);
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_FALSE(run.wroteOutput) << "a rejected file must leave no catalogue behind";
    EXPECT_NE(run.errors.find(std::string("angles.csv") + bad.where), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(bad.says), std::string::npos) << run.errors;
}

std::string withRows(std::string_view first, std::string_view second = {}, std::string_view third = {})
{
    return std::string(kHeader) + std::string(first) + std::string(second) + std::string(third);
}

INSTANTIATE_TEST_SUITE_P(
    BadDataFiles, GeneratorRejects,
    ::testing::Values(
        BadFile{"MissingColumn", withRows(kRow20x3, "50,5,4.80,3.77,1.53\n"), ":3:", "expected 6 columns"},
        BadFile{"ExtraColumn", withRows(kRow20x3, "50,5,4.80,3.77,1.53,0.98,7\n"), ":3:", "found 7"},
        BadFile{"DecimalComma", withRows("50,5,4,80,3.77,1.53,0.98\n"), ":2:", "columns"},
        BadFile{"Letters", withRows(kRow20x3, kRow50x5, "100,10,abc,15.10,3.05,1.96\n"), ":4:", "area_cm2"},
        BadFile{"EmptyField", withRows("50,5,4.80,,1.53,0.98\n"), ":2:", "mass_kg_m"},
        BadFile{"Blank", withRows("50,5, 4.80,3.77,1.53,0.98\n"), ":2:", "not a number"},
        BadFile{"Sign", withRows("50,5,-4.80,3.77,1.53,0.98\n"), ":2:", "not a number"},
        BadFile{"Exponent", withRows("50,5,4.8e0,3.77,1.53,0.98\n"), ":2:", "not a number"},
        BadFile{"TrailingPoint", withRows("50,5,4.,3.77,1.53,0.98\n"), ":2:", "not a number"},
        BadFile{"Zero", withRows("50,0,4.80,3.77,1.53,0.98\n"), ":2:", "greater than zero"},
        BadFile{"RadiiSwapped", withRows("50,5,4.80,3.77,0.98,1.53\n"), ":2:", "i_min_cm"},
        BadFile{"MassSlip", withRows("220,16,68.58,54.83,6.81,4.36\n"), ":2:", "mass_kg_m"},
        BadFile{"AreaOfAnotherSize", withRows("50,5,5.69,4.47,1.52,0.98\n"), ":2:", "area_cm2"},
        BadFile{"OutOfOrder", withRows(kRow50x5, kRow20x3), ":3:", "comes after"},
        BadFile{"Twice", withRows(kRow20x3, kRow20x3), ":3:", "each size once"},
        BadFile{"EmptyLine", withRows(kRow20x3, "\n", kRow50x5), ":3:", "empty line"},
        BadFile{"OtherHeader", "b,t,A,m,ix,imin\n" + std::string(kRow20x3), ":1:", "header"},
        BadFile{"HeaderColumnsSwapped", "b_mm,t_mm,area_cm2,mass_kg_m,i_min_cm,i_x_cm\n" + std::string(kRow20x3),
                ":1:", "header"},
        BadFile{"NoHeader", std::string(kRow20x3), ":1:", "header"}, BadFile{"EmptyFile", "", ": ", "empty"},
        BadFile{"NoProfile", std::string(kHeader), ": ", "no profile"}),
    [](const ::testing::TestParamInfo<BadFile>& param) { return std::string(param.param.name); });

} // namespace
} // namespace prochnar::test_data
