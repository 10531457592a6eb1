// A whole table checked on several threads: the same bytes and counts as the
// command's expected output, and the window's summary of those counts; the
// headers refused; the messages of rows and the cells beyond the header.

#include "calc/messages.h"
#include "formats/girder_identity.h"
#include "formats/table_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace prochnar {
namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TableCheck, TheExampleAsTheCommandWritesAndCountsIt)
{
    std::istringstream in(fileText(PROCHNAR_SOURCE_DIR "/examples/line-section.csv"));
    CsvReader reader(in);
    std::ostringstream out;
    const TableTotals totals = checkTable(reader, out, 3);
    EXPECT_EQ(out.str(), fileText(PROCHNAR_SOURCE_DIR "/tests/cli/tables/example.out"));
    // tests/cli/tables/example.err: the negative moment of every row leaves
    // its tensioned chord to check: 12 rows, 4 not holding, 7 to check, 1 not computed
    EXPECT_EQ(totals.notComputed(), 1U);
    EXPECT_TRUE(totals.messageShown);
    EXPECT_EQ(tableSummaryText(totals.rows, totals.holding, totals.notHolding, totals.toCheck),
              "Опор: 12, держат: 0, не держат: 4, проверьте: 7, не проверены: 1.");
}

// Batches whose checks take very different times, over more threads than
// cores: a whole calculation a row, then rows that stop at step 1. A batch
// checked early must still wait for its turn to be written.
TEST(TableCheck, BatchesWrittenInTheOrderRead)
{
    const std::string example = fileText(PROCHNAR_SOURCE_DIR "/examples/line-section.csv");
    const std::size_t headerEnd = example.find('\n') + 1;
    std::string table = example.substr(0, headerEnd);
    const std::string whole = example.substr(headerEnd, example.find('\n', headerEnd) + 1 - headerEnd);
    std::string stopped = whole; // no span: step 1 stops with a message
    stopped.replace(stopped.find(";24;"), 4, ";;");
    for (int round = 0; round < 4; ++round) {
        for (int row = 0; row < 600; ++row) {
            table += whole;
        }
        for (int row = 0; row < 600; ++row) {
            table += stopped;
        }
    }
    std::string written[2];
    for (const unsigned threads : {1U, 6U}) {
        std::istringstream in(table);
        CsvReader reader(in);
        std::ostringstream out;
        EXPECT_EQ(checkTable(reader, out, threads).rows, 4800U);
        written[threads == 1 ? 0 : 1] = out.str();
    }
    EXPECT_EQ(written[1], written[0]);
}

// A fault of the reader in the middle of a batch: every row before its line
// is checked and written, on one thread or several, before it is thrown.
TEST(TableCheck, RowsBeforeAFaultAreWritten)
{
    std::string table = "№;txtLp\n";
    for (int row = 0; row < 3000; ++row) {
        table += std::to_string(row) + ";Пр\n";
    }
    table += "x;\xCF\xF0\n1;2\n";
    for (const unsigned threads : {1U, 2U}) {
        std::istringstream in(table);
        CsvReader reader(in);
        std::ostringstream out;
        EXPECT_THROW((void)checkTable(reader, out, threads), CsvError);
        const std::string written = out.str();
        EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3001) << threads;
        EXPECT_NE(written.find("\n2999;Пр;"), std::string::npos) << threads;
    }
}

std::vector<std::string> splitCells(const std::string& line)
{
    std::vector<std::string> cells(1);
    for (const char c : line) {
        if (c == ';') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

// A header that names a field or a result twice, or a field but for case,
// is refused before anything is written, naming both columns or the right
// spelling; the engineer's own columns may repeat.
TEST(TableCheck, HeadersNamingAColumnTwiceOrMisspeltAreRefused)
{
    for (const auto& [header, what] : std::initializer_list<std::pair<std::string, std::string>>{
             {"a;txtMv;b;txtLp;c;d;txtMv", "столбцы 2 и 7 оба «txtMv» — оставьте один"},
             {"Text4;x;Text4", "столбцы 1 и 3 оба «Text4» — оставьте один"},
             {"Сообщение;Сообщение", "столбцы 1 и 2 оба «Сообщение» — оставьте один"},
             {"№;TXTLP", "столбец 2 «TXTLP» — пишите «txtLp»"},
             {"x;x;txtLp;Примечание;Примечание", ""},
         }) {
        std::istringstream in(header + "\n1;2;3;4;5;6;7\n");
        CsvReader reader(in);
        std::ostringstream out;
        std::optional<FileFaultAt> fault;
        try {
            (void)checkTable(reader, out, 2);
        } catch (const CsvError& error) {
            EXPECT_EQ(error.what(), what);
            fault = error.at();
        }
        EXPECT_EQ(fault.has_value(), !what.empty()) << header;
        EXPECT_EQ(out.str().empty(), fault.has_value()) << header;
        if (header.starts_with("a;")) {
            EXPECT_EQ(faultText(fault.value()), "строка 1: столбцы 2 и 7 оба «txtMv» — оставьте один");
        }
    }
}

// A row's message names the column of the field it is about and the cell as
// written, control characters escaped; several are joined with "; ". A row
// with more cells than the header keeps them after the results.
TEST(TableCheck, RowMessagesNameTheColumnAndExtraCellsAreKept)
{
    const std::string example = fileText(PROCHNAR_SOURCE_DIR "/examples/line-section.csv");
    const std::size_t headerEnd = example.find('\n');
    const std::vector<std::string> header = splitCells(example.substr(0, headerEnd));
    const std::vector<std::string> girder =
        splitCells(example.substr(headerEnd + 1, example.find('\n', headerEnd + 1) - headerEnd - 1));
    const auto at = [&](std::string_view name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    const std::string comma = "Десятичные вводятся через запяту.";
    TableRun run(header);
    for (const auto& [column, cell, message] : std::initializer_list<std::tuple<std::string, std::string, std::string>>{
             {"txtLpp", "4.4", "txtLpp: \"4.4\" — " + comma},
             {"txtH", "", "txtH: пусто — Не установленны значения"},
             {"txtl2", "8.0", "txtl2: \"8.0\" — " + comma},
             {"txtLpp", "4\x1B[2J\r\xC2\x9B", "txtLpp: \"4\\x1B[2J\\x0D\\u009B\" — " + comma},
             {"txtLpp", "1" + std::string(50, 'x'), "txtLpp: \"1" + std::string(39, 'x') + "…\" — " + comma},
             {"Text10", "4.4", "Text10: \"4.4\" — " + comma},
         }) {
        std::vector<std::string> row = girder;
        row.at(at(column)) = cell;
        const CheckedGirder checked = run.check(row);
        EXPECT_EQ(checked.message, message) << column << cell;
        EXPECT_EQ(checked.cells.back(), message);
    }

    std::vector<std::string> longer = girder;
    longer.insert(longer.end(), {"", "ещё", "", ""});
    const CheckedGirder kept = run.check(longer);
    EXPECT_EQ(kept.message, rowLongerThanHeaderText());
    EXPECT_EQ(kept.cells.size(), run.header().size() + 2);
    EXPECT_EQ(kept.cells.back(), "ещё");
    longer = girder;
    longer.resize(girder.size() + 3);
    const CheckedGirder blanks = run.check(longer); // empty cells beyond the header are nothing
    EXPECT_TRUE(blanks.message.empty() && blanks.status != GirderStatus::NotComputed);
    EXPECT_EQ(blanks.cells.size(), run.header().size());
}

// The identity a row carries, whatever the order of its columns and however
// many of them the table has.
TEST(GirderIdentity, FromTheColumnsOfARow)
{
    const std::vector<std::string> header{"№", " Опора ", "txtLp", "Км", "Примечание", "Опора"};
    const GirderIdentity identity = identityFromRow(header, {"1", " 40-41 ", "24", "104,2"});
    EXPECT_EQ(identity, (GirderIdentity{.support = "40-41", .km = "104,2"}));
    EXPECT_EQ(identityFromRow(header, {"1", "", "24", "", "осмотр 2025", "12"}).note, "осмотр 2025");
    EXPECT_TRUE(identityFromRow({"№", "txtLp"}, {"1", "24"}).empty());
    EXPECT_FALSE((GirderIdentity{.inspector = "Иванов"}).empty());
}

} // namespace
} // namespace prochnar
