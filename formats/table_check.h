#pragma once

#include "formats/csv_table.h"

#include <cstddef>
#include <ostream>

namespace prochnar {

struct TableTotals {
    std::size_t rows = 0;
    std::size_t holding = 0;
    std::size_t notHolding = 0;
    bool messageShown = false; // some row had a message

    TableTotals& operator+=(const TableTotals& more)
    {
        rows += more.rows;
        holding += more.holding;
        notHolding += more.notHolding;
        messageShown = messageShown || more.messageShown;
        return *this;
    }
};

// Checks every row of a table and writes the table back to out (a
// byte-order mark, the header, then each row with its results, in the
// order read). The rows go in batches over `threads` threads: a thread takes
// the next batch from the reader, checks it on its own form while the others
// read or check theirs, and writes it once every batch before it is written.
// Holds no more than a batch per thread. A fault of the reader (CsvError) is
// thrown after the batches read before it are written.
[[nodiscard]] TableTotals checkTable(CsvReader& reader, std::ostream& out, unsigned threads);

} // namespace prochnar
