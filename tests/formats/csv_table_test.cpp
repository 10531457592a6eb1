// The table reader: its faults found at their line and column, in
// characters, wherever the reader's chunks of the file happen to end; the
// encoding it decides on; the records it hands out before a fault; its
// limits.

#include "calc/messages.h"
#include "formats/csv_table.h"

#include <gtest/gtest.h>

#include <optional>
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

// Reads the table to its end or its fault; the records read before either.
std::vector<std::vector<std::string>> readAll(const std::string& table, std::optional<CsvError>& fault)
{
    std::istringstream in(table);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> records;
    try {
        for (std::vector<std::string> record; reader.next(record);) {
            records.push_back(record);
        }
    } catch (const CsvError& error) {
        fault = error;
    }
    return records;
}

TEST(CsvTable, FaultsFoundAtTheirLineAndColumn)
{
    constexpr std::size_t kChunk = 16 * 1024; // the reader's
    const std::string quote = "кавычка не на своем месте";
    const std::string encoding = "знак не в UTF-8, хотя таблица до него в UTF-8 — сохраните ее в одной кодировке";
    const std::string wide(20000, 'x');
    // From the header's line break, 'x' up to one byte before a chunk ends,
    // so that the two bytes of the next letter lie in two chunks.
    const std::string toChunkEnd(kChunk - 5, 'x');
    for (const auto& [table, fault, line, column, what] : std::initializer_list<Case>{
             {"", FileFault::NoHeader, 1, 0, "нет строки заголовков"},
             {"a\"b;c\n", FileFault::QuoteOutOfPlace, 1, 2, quote},
             {"a;b\n1;2\"4\n", FileFault::QuoteOutOfPlace, 2, 4, "столбец «b»: " + quote},
             {"a;b\n\"1\"x;2\n", FileFault::QuoteOutOfPlace, 2, 4,
              "столбец «a»: " + quote}, // text after a closing quote
             {"a;b\r\nПр;2\"\r\n", FileFault::QuoteOutOfPlace, 2, 5, "столбец «b»: " + quote}, // characters, not bytes
             {"a;b\n\xCF\xF0;2\"\n", FileFault::QuoteOutOfPlace, 2, 5,
              "столбец «b»: " + quote}, // the same in windows-1251
             {"a;b\n\"x\ny\"z;1\n", FileFault::QuoteOutOfPlace, 3, 3, "столбец «a»: " + quote}, // a cell over two lines
             {"a;b\n" + wide + "\"\n", FileFault::QuoteOutOfPlace, 2, 20001,
              "столбец «a»: " + quote}, // over two chunks
             {"a;b\n" + toChunkEnd + "Пx\"", FileFault::QuoteOutOfPlace, 2, kChunk - 2, "столбец «a»: " + quote},
             // an open quote is where it opened, however far the file goes on
             {"a;b\n1;\"2\n3\n4\n", FileFault::QuoteNotClosed, 2, 0, "столбец «b»: ячейка в кавычках не закрыта"},
             {"\xEF\xBB\xBFОпора;b\n1;24\n\xD0;24\n", FileFault::BrokenUtf8, 3, 1, "столбец «Опора»: " + encoding},
             {"a;b\n1;Пр\xD0", FileFault::BrokenUtf8, 2, 5, "столбец «b»: " + encoding}, // cut off at the end
             {"a;Пb\n" + wide + "\xFF\n", FileFault::BrokenUtf8, 2, 20001, "столбец «a»: " + encoding},
             {"Пa" + wide + "\xFF;c\n", FileFault::BrokenUtf8, 1, 20003, encoding}, // a header over chunks
             {"\"Пa\nb\xFF;c\n", FileFault::BrokenUtf8, 2, 2, encoding},            // a header over lines
             {"a;b\n" + toChunkEnd + "Пx\n1;\xFF", FileFault::BrokenUtf8, 3, 3, "столбец «b»: " + encoding},
             // a windows-1251 row in the first chunk of a UTF-8 table
             {"a;b\nПр;1\n\xCF\xF0;2\nПр;3\n", FileFault::BrokenUtf8, 3, 1, "столбец «a»: " + encoding},
             // byte-order marks of encodings the reader refuses by name
             {"\xFF\xFE"
              "a\0;\0",
              FileFault::Utf16, 1, 0, "таблица в кодировке UTF-16 — сохраните ее в UTF-8 или windows-1251"},
             {"\xFE\xFF\0a", FileFault::Utf16, 1, 0,
              "таблица в кодировке UTF-16 — сохраните ее в UTF-8 или windows-1251"},
             {std::string("\xFF\xFE\0\0a\0\0\0", 8), FileFault::Utf32, 1, 0,
              "таблица в кодировке UTF-32 — сохраните ее в UTF-8 или windows-1251"},
             {std::string("\0\0\xFE\xFF", 4), FileFault::Utf32, 1, 0,
              "таблица в кодировке UTF-32 — сохраните ее в UTF-8 или windows-1251"},
         }) {
        std::optional<CsvError> error;
        readAll(table, error);
        ASSERT_TRUE(error) << what << " not found in " << table.substr(0, 40);
        EXPECT_EQ(error->at().fault, fault) << table.substr(0, 40);
        EXPECT_EQ(error->line(), line) << table.substr(0, 40);
        EXPECT_EQ(error->column(), column) << table.substr(0, 40);
        EXPECT_EQ(error->what(), what) << table.substr(0, 40);
    }
}

// The encoding is decided once, on the line of the first byte beyond ASCII:
// UTF-8 when that line is UTF-8 to its end, windows-1251 otherwise.
TEST(CsvTable, EncodingDecidedOnTheFirstLineBeyondAscii)
{
    for (const auto& [table, cell] : std::initializer_list<std::pair<std::string, std::string>>{
             {"a\nПр\n", "Пр"},
             {"a\n\xCF\xF0\n", "Пр"},
             // "Рёт" in windows-1251 starts with a UTF-8 letter but is not UTF-8 to its end
             {"a\n\xD0\xB8\xF2\n", "Рёт"},
             // a letter that the file's end cuts off is no UTF-8 either
             {"a\n\xD0", "Р"},
             // a later windows-1251 byte is a fault, an earlier ASCII line is neither
             {"a\n1\n\xCF\xF0\n", "1"},
         }) {
        std::optional<CsvError> error;
        const auto records = readAll(table, error);
        ASSERT_GE(records.size(), 2U) << table;
        EXPECT_EQ(records[1], std::vector<std::string>{cell}) << table;
        EXPECT_FALSE(error && records.size() == 3) << table;
    }
}

// Every record before a fault's line is handed out before the fault, both
// in the chunk of the file where the fault is and in earlier ones.
TEST(CsvTable, RecordsBeforeAFaultAreAllRead)
{
    for (const std::size_t rows : {std::size_t{10}, std::size_t{3000}}) {
        for (const std::string& faulty : {std::string("\xCF\xF0;2\n"), std::string("1;2\"\n")}) {
            std::string table = "Опора;b\n";
            for (std::size_t row = 0; row < rows; ++row) {
                table += "Пр;" + std::to_string(row) + "\n";
            }
            std::optional<CsvError> error;
            const auto records = readAll(table + faulty + "Пр;1\n", error);
            EXPECT_EQ(records.size(), rows + 1) << rows << faulty;
            ASSERT_TRUE(error);
            EXPECT_EQ(error->line(), rows + 2);
        }
    }
}

// A cell, a row and a header have limits, so that no file, however it goes
// on, makes the reader hold more than a chunk and a row; a row of 100 000
// short columns is within them.
TEST(CsvTable, LimitsOfCellsAndRows)
{
    const std::string manyColumns = [] {
        std::string row;
        for (int column = 0; column < 100'000; ++column) {
            row += "1,25;";
        }
        row.back() = '\n';
        return row;
    }();
    std::optional<CsvError> error;
    EXPECT_EQ(readAll(manyColumns + manyColumns, error).size(), 2U);
    EXPECT_FALSE(error);

    const std::string longCell(kMaxTableCell + 1, 'x');
    for (const auto& [table, fault, line, what] :
         std::initializer_list<std::tuple<std::string, FileFault, std::size_t, std::string>>{
             {"a;b\n" + std::string(200'000, '\0'), FileFault::CellTooLong, 2, "столбец «a»: ячейка длиннее 64 КБ"},
             {"a;b\n1;\"" + std::string(100'000, '\n'), FileFault::CellTooLong, 2, "столбец «b»: ячейка длиннее 64 КБ"},
             {"a;b\n1;2\n3;" + longCell + "\n", FileFault::CellTooLong, 3, "столбец «b»: ячейка длиннее 64 КБ"},
             // A header read whole from several chunks, one line of plain cells.
             {longCell + ";b\n1;2\n", FileFault::CellTooLong, 1, "ячейка длиннее 64 КБ"},
             {"a\n1\n\"" + std::string(70, '\n') + "x\";" + std::string(kMaxTableCells, ';') + "\n",
              FileFault::RowTooLong, 3, "строка таблицы длиннее 4 МБ или 250 000 ячеек"},
             {"a\n" +
                  [] {
                      std::string row;
                      for (int cell = 0; cell < 70; ++cell) {
                          row += std::string(kMaxTableCell, 'x') + ";";
                      }
                      return row;
                  }(),
              FileFault::RowTooLong, 2, "строка таблицы длиннее 4 МБ или 250 000 ячеек"},
             {std::string(kMaxTableRow + 1, 'a'), FileFault::HeaderTooLong, 1, "строка заголовков длиннее 4 МБ"},
         }) {
        error.reset();
        readAll(table, error);
        ASSERT_TRUE(error) << what;
        EXPECT_EQ(error->at().fault, fault) << what;
        EXPECT_EQ(error->line(), line) << what;
        EXPECT_EQ(error->what(), what);
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
             {"ab,c\n1;2;3;4\n", ',', {{"ab", "c"}, {"1;2;3;4"}}}, // the header's line only
             {"\"a\nb\";c\r\n 1 ;\n", ';', {{"a\nb", "c"}, {" 1 ", ""}}},
             // the header's line break in its first, quoted cell is not its end
             {"\"a\nb\",c\n1,2\n", ',', {{"a\nb", "c"}, {"1", "2"}}},
             // plain lines, empty ones skipped, around quoted cells and a carriage return
             {"a;b\n\n1;\n ;x \n\"q\";2\n3;\"4\n5\"\n\n6;7\r\n8;9\n",
              ';',
              {{"a", "b"}, {"1", ""}, {" ", "x "}, {"q", "2"}, {"3", "4\n5"}, {"6", "7"}, {"8", "9"}}},
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
        EXPECT_EQ(faultText(error.at()), "строка 2, знак 4, столбец «b»: кавычка не на своем месте");
        EXPECT_EQ(tableNotReadText(error.at()),
                  "Таблица не дочитана — строка 2, знак 4, столбец «b»: кавычка не на своем месте.");
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

// A written record reads back as its cells, whatever byte of a short or a
// long cell holds the delimiter, a quote or a line break; a cell without
// them is written as it stands.
TEST(CsvTable, WrittenRecordsReadBackCellForCell)
{
    for (const char delimiter : {';', ',', '\t'}) {
        std::vector<std::vector<std::string>> written{{"h1", "h2", "h3"}};
        std::string table;
        appendCsvRecord(table, written.front(), delimiter);
        for (const std::size_t size : {1U, 2U, 3U, 4U, 5U, 6U, 7U, 8U, 9U, 15U, 16U, 17U, 31U, 32U, 33U, 40U}) {
            const std::string plain(size, 'x');
            for (const char special : {delimiter, '"', '\r', '\n'}) {
                for (std::size_t at = 0; at < size; ++at) {
                    std::string cell = plain;
                    cell[at] = special;
                    written.push_back({plain, cell, "Перегон — «Лесная»"});
                    std::string record;
                    appendCsvRecord(record, written.back(), delimiter);
                    EXPECT_EQ(record.substr(0, size + 2), plain + delimiter + '"') << size << " " << at;
                    table += record;
                }
            }
        }
        std::optional<CsvError> fault;
        EXPECT_EQ(readAll(table, fault), written);
        EXPECT_FALSE(fault);
    }
}

} // namespace
} // namespace prochnar
