#pragma once

#include "calc/table_run.h"
#include "formats/csv_table.h"
#include "formats/line_plan.h"
#include "formats/table_life.h"

#include <cstddef>
#include <ostream>
#include <string>

namespace prochnar {

// What a checked table adds up to: the command's summary line and the
// results window's count the same way.
struct TableTotals {
    std::size_t rows = 0;
    std::size_t holding = 0;
    std::size_t notHolding = 0;
    std::size_t toCheck = 0;
    bool messageShown = false; // some row had a message
    int writeError = 0;        // the system's reason the output failed, if it gave one

    // Counts one checked girder.
    void add(const CheckedGirder& girder)
    {
        ++rows;
        holding += girder.status == GirderStatus::Holds ? 1 : 0;
        notHolding += girder.status == GirderStatus::DoesNotHold ? 1 : 0;
        toCheck += girder.status == GirderStatus::Check ? 1 : 0;
        messageShown = messageShown || !girder.message.empty();
    }
    // Rows whose girder neither holds, fails nor is to check: a message, or no verdict.
    [[nodiscard]] std::size_t notComputed() const { return rows - holding - notHolding - toCheck; }

    TableTotals& operator+=(const TableTotals& more)
    {
        rows += more.rows;
        holding += more.holding;
        notHolding += more.notHolding;
        toCheck += more.toCheck;
        messageShown = messageShown || more.messageShown;
        writeError = writeError != 0 ? writeError : more.writeError;
        return *this;
    }
};

// The start of a checked table as written: a byte-order mark and the header
// record of the run's columns.
[[nodiscard]] std::string checkedTableHeader(const TableRun& run, char delimiter);
[[nodiscard]] std::string checkedTableHeader(const TableLife& run, char delimiter);

// Checks every row of a table and writes the table back to out (a
// byte-order mark, the header, then each row with its results, in the
// order read). The rows go in batches over `threads` threads: a thread takes
// the next batch from the reader, checks it on its own form while the others
// read or check theirs, and writes it once every batch before it is written.
// Holds no more than a batch per thread. A fault of the reader (CsvError) is
// thrown after every row read before it is checked and written; a header that
// headerFault() refuses is a CsvError before anything is written. The rows
// are checked by TableLife: a table with inspection columns gets the life
// columns. With plan, the plan is made for the header (a PlanError before
// anything is written) and each row is added to it as it is written. The
// table's numbers are read with separator, its dates against today
// (TableLife).
[[nodiscard]] TableTotals checkTable(CsvReader& reader, std::ostream& out, unsigned threads,
                                     std::optional<LinePlan>* plan = nullptr,
                                     DecimalSeparator separator = DecimalSeparator::Comma,
                                     std::optional<CalendarDate> today = std::nullopt);

// Where a checked table goes other than as CSV text: its header record, then
// every girder in the order read, one call at a time.
class CheckedTableSink {
public:
    CheckedTableSink() = default;
    virtual ~CheckedTableSink() = default;
    CheckedTableSink(const CheckedTableSink&) = delete;
    CheckedTableSink& operator=(const CheckedTableSink&) = delete;
    CheckedTableSink(CheckedTableSink&&) = delete;
    CheckedTableSink& operator=(CheckedTableSink&&) = delete;

    virtual void header(const std::vector<std::string>& columns) = 0;
    virtual void add(const CheckedGirder& girder) = 0;
};

// The same check, each girder handed to sink instead of written as text.
[[nodiscard]] TableTotals checkTable(CsvReader& reader, CheckedTableSink& sink, unsigned threads,
                                     std::optional<LinePlan>* plan = nullptr,
                                     DecimalSeparator separator = DecimalSeparator::Comma,
                                     std::optional<CalendarDate> today = std::nullopt);

// The summary of a checked table, as the command prints it and the workbook
// ends with it: the counts, with a plan the girders it replaces within five
// years, and the decimal separator when one is named.
[[nodiscard]] std::string checkedTableSummary(const TableTotals& totals, const LinePlan* plan,
                                              std::optional<DecimalSeparator> named = std::nullopt);

} // namespace prochnar
