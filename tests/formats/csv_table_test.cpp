// The table reader's faults found at their line and column, in characters,
// wherever the reader's chunks of the file happen to end.

#include "calc/messages.h"
#include "formats/csv_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace prochnar {
namespace {

struct Case {
    std::string table;
    FileFault fault;
    std::size_t line;
    std::size_t column;
    std::string what;
};

TEST(CsvTable, FaultsFoundAtTheirLineAndColumn)
{
    constexpr std::size_t kChunk = 16 * 1024; // the reader's
    const std::string quote = "a quote out of place";
    const std::string encoding = "neither UTF-8 nor windows-1251 throughout";
    const std::string wide(20000, 'x');
    // From the header's line break, 'x' up to one byte before a chunk ends,
    // so that the two bytes of the next letter lie in two chunks.
    const std::string toChunkEnd(kChunk - 5, 'x');
    for (const auto& [table, fault, line, column, what] : std::initializer_list<Case>{
             {"", FileFault::NoHeader, 1, 0, "no header row"},
             {"a\"b;c\n", FileFault::QuoteOutOfPlace, 1, 2, quote},
             {"a;b\n1;2\"4\n", FileFault::QuoteOutOfPlace, 2, 4, quote},
             {"a;b\n\"1\"x;2\n", FileFault::QuoteOutOfPlace, 2, 4, quote},           // text after a closing quote
             {"a;b\r\nПр;2\"\r\n", FileFault::QuoteOutOfPlace, 2, 5, quote},         // characters, not bytes
             {"a;b\n\xCF\xF0;2\"\n", FileFault::QuoteOutOfPlace, 2, 5, quote},       // the same in windows-1251
             {"a;b\n\"x\ny\"z;1\n", FileFault::QuoteOutOfPlace, 3, 3, quote},        // a cell over two lines
             {"a;b\n" + wide + "\"\n", FileFault::QuoteOutOfPlace, 2, 20001, quote}, // a line over two chunks
             {"a;b\n" + toChunkEnd + "Пx\"", FileFault::QuoteOutOfPlace, 2, kChunk - 2, quote}, // a letter over two
             {"a;b\n\"1;2\n", FileFault::QuoteNotClosed, 3, 0, "a quoted cell is not closed"},
             {"\xEF\xBB\xBFОпора;b\n1;24\n\xD0;24\n", FileFault::NeitherUtf8Nor1251, 3, 1, encoding}, // after a BOM
             {"a;b\n1;Пр\xD0", FileFault::NeitherUtf8Nor1251, 2, 5, encoding}, // cut off at the end
             {"a;Пb\n" + wide + "\xFF\n", FileFault::NeitherUtf8Nor1251, 2, 20001, encoding},
             {"Пa" + wide + "\xFF;c\n", FileFault::NeitherUtf8Nor1251, 1, 20003, encoding}, // a header over chunks
             {"a;b\n" + toChunkEnd + "Пx\n1;\xFF", FileFault::NeitherUtf8Nor1251, 3, 3, encoding},
         }) {
        std::istringstream in(table);
        CsvReader reader(in);
        std::vector<std::string> record;
        try {
            while (reader.next(record)) {
            }
            ADD_FAILURE() << what << " not found in " << table.substr(0, 40);
        } catch (const CsvError& error) {
            EXPECT_EQ(error.at().fault, fault) << table.substr(0, 40);
            EXPECT_EQ(error.line(), line) << table.substr(0, 40);
            EXPECT_EQ(error.column(), column) << table.substr(0, 40);
            EXPECT_EQ(error.what(), what) << table.substr(0, 40);
        }
    }
}

// The delimiter is the one the header uses most outside quotes, ";" on a
// tie; quoted cells keep delimiters, quotes and line breaks.
TEST(CsvTable, DialectsAsTheHeaderShowsThem)
{
    using Records = std::vector<std::vector<std::string>>;
    for (const auto& [table, delimiter, records] : std::initializer_list<std::tuple<std::string, char, Records>>{
             {"\"a;b;c\",d,e\n1,\"2\"\"\",3\n", ',', {{"a;b;c", "d", "e"}, {"1", "2\"", "3"}}},
             {"a\tb;c\tx\n1\t2;3\t4", '\t', {{"a", "b;c", "x"}, {"1", "2;3", "4"}}},
             {"a,b;c\n1,2;3\n", ';', {{"a,b", "c"}, {"1,2", "3"}}},
             {"\"a\nb\";c\r\n 1 ;\n", ';', {{"a\nb", "c"}, {" 1 ", ""}}},
             // a chunk that starts with the bytes of a byte-order mark, in a cell
             {"a\n" + std::string(16 * 1024 - 2, 'x') + "\xEF\xBB\xBFy\n",
              ';',
              {{"a"}, {std::string(16 * 1024 - 2, 'x') + "\xEF\xBB\xBFy"}}},
         }) {
        std::istringstream in(table);
        CsvReader reader(in);
        Records read;
        for (std::vector<std::string> record; reader.next(record);) {
            read.push_back(record);
        }
        EXPECT_EQ(reader.delimiter(), delimiter) << table;
        EXPECT_EQ(read, records) << table;
    }
}

// The window says where, in its own words.
TEST(CsvTable, FaultsInTheWindowsWords)
{
    std::istringstream in("Опора;b\n1;2\"4\n");
    CsvReader reader(in);
    std::vector<std::string> record;
    try {
        while (reader.next(record)) {
        }
        ADD_FAILURE();
    } catch (const CsvError& error) {
        EXPECT_EQ(faultText(error.at()), "строка 2, знак 4: кавычка не на своем месте");
        EXPECT_EQ(tableNotReadText(error.at()), "Таблица не дочитана — строка 2, знак 4: кавычка не на своем месте.");
    }
}

// The reader writes each record over the strings of one handed back: a short
// row read after long ones, early in the next chunk of the file, has its own cells
// and none left over from them.
TEST(CsvTable, ShortRowAfterLongOnesKeepsOnlyItsCells)
{
    std::string table = "a;b;c\n";
    for (int row = 0; row < 2740; ++row) { // just over the first chunk of the file
        table += "1;2;3\n";
    }
    table += "4\n;\n5;6;7\n";
    std::istringstream in(table);
    CsvReader reader(in);
    std::vector<std::string> record;
    std::vector<std::vector<std::string>> last;
    while (reader.next(record)) {
        last.push_back(record);
        if (last.size() > 3) {
            last.erase(last.begin());
        }
    }
    EXPECT_EQ(last, (std::vector<std::vector<std::string>>{{"4"}, {"", ""}, {"5", "6", "7"}}));
}

} // namespace
} // namespace prochnar
