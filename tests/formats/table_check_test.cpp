// A whole table checked on several threads: the same bytes and counts as the
// command's expected output, and the window's summary of those counts.

#include "calc/messages.h"
#include "formats/table_check.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace prochnar
