#include "formats/table_check.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace prochnar {

namespace {

constexpr std::size_t kBatch = 512;

class Pipeline {
public:
    Pipeline(CsvReader& reader, std::ostream* out, CheckedTableSink* sink, std::string header, LinePlan* plan)
        : reader_{reader}, out_{out}, sink_{sink}, header_{std::move(header)}, plan_{plan}
    {
    }

    // One thread's loop: read a batch, check it, write it in its turn.
    void work(TableLife run)
    {
        std::vector<std::vector<std::string>> rows(kBatch);
        std::vector<PlanPoint> points(plan_ != nullptr ? kBatch : 0);
        std::vector<CheckedGirder> checked(sink_ != nullptr ? kBatch : 0); // what the sink takes in turn
        std::string text;
        for (;;) {
            std::size_t size = 0;
            std::size_t turn = 0;
            {
                const std::lock_guard lock(readMutex_);
                if (readEnd_) {
                    return;
                }
                turn = nextTurn_++;
                bool faulted = false;
                try {
                    while (size < kBatch && reader_.next(rows[size])) {
                        ++size;
                    }
                } catch (...) {
                    // The rows read before the fault are checked and written;
                    // batches after this one are never read, so none waits
                    // for its turn: the fault ends the table here.
                    fault_ = std::current_exception();
                    faulted = true;
                }
                readEnd_ = faulted || size < kBatch;
            }
            TableTotals totals;
            text.clear();
            if (turn == 0) {
                text = header_; // the first batch is there even when empty
            }
            bool failed = false;
            try {
                for (std::size_t i = 0; i < size; ++i) {
                    CheckedGirder girder = run.check(rows[i], plan_ != nullptr ? &points[i] : nullptr);
                    totals.add(girder);
                    if (sink_ != nullptr) {
                        checked[i] = std::move(girder);
                    } else {
                        appendCsvRecord(text, girder.cells, reader_.delimiter());
                    }
                }
            } catch (...) {
                failed = true;
                const std::lock_guard lock(readMutex_);
                fault_ = fault_ ? fault_ : std::current_exception();
                readEnd_ = true;
            }
            std::unique_lock lock(writeMutex_);
            written_.wait(lock, [&] { return writeTurn_ == turn; });
            // After a fault nothing more is written, but the turn still
            // passes on so that no thread waits for it for ever.
            stopped_ = stopped_ || failed;
            if (!stopped_ && sink_ != nullptr) {
                for (std::size_t i = 0; i < size; ++i) {
                    sink_->add(checked[i]);
                }
            }
            if (!stopped_) {
                errno = 0;
                if (out_ != nullptr) {
                    out_->write(text.data(), static_cast<std::streamsize>(text.size()));
                }
                totals_ += totals;
                for (std::size_t i = 0; plan_ != nullptr && i < size; ++i) {
                    plan_->add(points[i]);
                }
                // errno belongs to this thread: the reason is kept for the caller.
                if (out_ != nullptr && !*out_ && totals_.writeError == 0) {
                    totals_.writeError = errno;
                }
            }
            ++writeTurn_;
            lock.unlock();
            written_.notify_all();
            if (failed) {
                return;
            }
        }
    }

    TableTotals finish()
    {
        if (fault_) {
            std::rethrow_exception(fault_);
        }
        return totals_;
    }

private:
    CsvReader& reader_;
    std::ostream* out_;      // the CSV text, or
    CheckedTableSink* sink_; // the girders themselves
    const std::string header_;
    LinePlan* plan_;

    std::mutex readMutex_;
    std::size_t nextTurn_ = 0;
    bool readEnd_ = false;
    std::exception_ptr fault_;

    std::mutex writeMutex_;
    std::condition_variable written_;
    std::size_t writeTurn_ = 0;
    bool stopped_ = false;
    TableTotals totals_;
};

} // namespace

std::string checkedTableHeader(const TableRun& run, char delimiter)
{
    std::string header(kUtf8Bom);
    appendCsvRecord(header, run.header(), delimiter);
    return header;
}

std::string checkedTableHeader(const TableLife& run, char delimiter)
{
    std::string header(kUtf8Bom);
    appendCsvRecord(header, run.header(), delimiter);
    return header;
}

namespace {

TableTotals checkTable(CsvReader& reader, std::ostream* out, CheckedTableSink* sink, unsigned threads,
                       std::optional<LinePlan>* plan, DecimalSeparator separator, std::optional<CalendarDate> today)
{
    std::vector<std::string> columns;
    if (!reader.next(columns)) {
        throw CsvError(FileFault::NoHeader, 1);
    }
    if (auto fault = headerFault(columns)) {
        throw CsvError(std::move(*fault));
    }
    if (plan != nullptr) {
        plan->emplace(columns);
    }
    const TableLife run(columns, separator, today);
    if (sink != nullptr) {
        sink->header(run.header());
    }
    Pipeline pipeline(reader, out, sink, sink != nullptr ? std::string() : checkedTableHeader(run, reader.delimiter()),
                      plan != nullptr ? &**plan : nullptr);
    std::vector<std::jthread> helpers;
    for (unsigned i = 1; i < std::max(threads, 1U); ++i) {
        helpers.emplace_back([&pipeline, run] { pipeline.work(run); });
    }
    pipeline.work(run);
    helpers.clear();
    return pipeline.finish();
}

} // namespace

TableTotals checkTable(CsvReader& reader, std::ostream& out, unsigned threads, std::optional<LinePlan>* plan,
                       DecimalSeparator separator, std::optional<CalendarDate> today)
{
    return checkTable(reader, &out, nullptr, threads, plan, separator, today);
}

TableTotals checkTable(CsvReader& reader, CheckedTableSink& sink, unsigned threads, std::optional<LinePlan>* plan,
                       DecimalSeparator separator, std::optional<CalendarDate> today)
{
    return checkTable(reader, nullptr, &sink, threads, plan, separator, today);
}

std::string checkedTableSummary(const TableTotals& totals, const LinePlan* plan, std::optional<DecimalSeparator> named)
{
    std::string summary = tableSummaryText(totals.rows, totals.holding, totals.notHolding, totals.toCheck);
    // Each addition takes the full stop, which then ends it.
    if (plan != nullptr) {
        summary.pop_back();
        summary += "; " + dueSoonText(plan->dueWithin(5)) + ".";
    }
    if (named) {
        summary.pop_back();
        summary += "; " + tableDecimalText(*named == DecimalSeparator::Point) + ".";
    }
    return summary;
}

} // namespace prochnar
