// A whole table checked on several threads: the same bytes and counts as the
// command's expected output, and the window's summary of those counts; the
// rows before a fault of the reader.

#include "calc/messages.h"
#include "formats/table_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

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
    // tests/cli/tables/example.err: 12 rows, 7 holding, 4 not holding, 1 not computed
    EXPECT_EQ(totals.notComputed(), 1U);
    EXPECT_TRUE(totals.messageShown);
    EXPECT_EQ(tableSummaryText(totals.rows, totals.holding, totals.notHolding),
              "Опор: 12, держат: 7, не держат: 4, не проверены: 1.");
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

} // namespace
} // namespace prochnar
