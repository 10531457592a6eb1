// Fuzzes a table of girders: the bytes are read by CsvReader and every row
// is checked by checkTable, on one thread or two (by the input's size), into
// memory. A fault of the table (CsvError) is an answer; anything else thrown,
// a crash, a leak or a hang is not. A table read to its end has written its
// header and each row it counted.

#include "formats/csv_table.h"
#include "formats/table_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace prochnar;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    try {
        CsvReader reader(in);
        const TableTotals totals = checkTable(reader, out, static_cast<unsigned>(size % 2) + 1);
        const std::string written = out.str();
        const auto lines = static_cast<std::size_t>(std::count(written.begin(), written.end(), '\n'));
        if (lines < totals.rows + 1 || totals.holding + totals.notHolding > totals.rows) {
            std::abort();
        }
    } catch (const CsvError&) {
        return 0;
    }
    return 0;
}
