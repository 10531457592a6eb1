#pragma once

#include "formats/table_life.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPdfWriter;
class QSaveFile;
class QTimer;

namespace prochnar {

class ReportPages;
class TableResultsModel;
class WholeWrites;

// The report of a line section: one PDF for a whole checked table of
// girders, on A4 pages numbered through. A table with inspections opens with
// the replacement plan of the section, a line a girder. A summary first: the title, the
// table's name, when it was made, the window's summary line, then a line a
// girder, the worst first as the margin's column sorts them, with its
// identity, its conclusion in words and its least margin in the colours of
// the window. Then each girder's report from a new page, in the same order,
// computed as the wizard opens it and holding only the formulas with its own
// numbers; the rest of the method once at the end.
//
// Rich text is laid out and painted on the thread of the windows, so the
// report is written a piece at a time between events: a page of the summary
// or a girder a piece. Only the order of the girders is held whole. It goes
// to a new file beside the target, put in its place once whole; stopped or
// failed, it is removed.
class SectionReport final : public QObject {
    Q_OBJECT

public:
    // The table of the file table, checked into model by run; summary: the
    // window's summary line. The model must outlive the report.
    // plan: the replacement plan of the section as --plan writes it, its
    // header first, or none; the report then opens with it.
    SectionReport(const QString& table, const TableResultsModel& model, const TableLife& life, QString summary,
                  std::vector<std::vector<std::string>> plan = {}, QObject* parent = nullptr);
    ~SectionReport() override;
    SectionReport(const SectionReport&) = delete;
    SectionReport& operator=(const SectionReport&) = delete;
    SectionReport(SectionReport&&) = delete;
    SectionReport& operator=(SectionReport&&) = delete;

    // Starts writing the report to path; returns why it could not, or "".
    [[nodiscard]] QString start(const QString& path);
    // Stops writing; the file at path stays as it was.
    void cancel();
    [[nodiscard]] bool writing() const { return file_ != nullptr; }

signals:
    // Girders whose report is painted, of the model's girderCount().
    void progressed(int girders);
    // The report is in place at its path (failure empty), or could not be
    // written, and why. Not sent for a report cancelled.
    void finished(const QString& failure);

private:
    void slice();
    // Paints the next piece; false when none is left.
    bool step();
    void summaryPage();
    // A page of the plan, from the head on the first.
    void planPage();
    // The plan's columns' shares of the width, by what their cells take.
    [[nodiscard]] std::vector<qreal> planShares(QPainter& painter, qreal width) const;
    // Paints the summary's title, the table's name, the summary line and what
    // the order is; gives the height it took.
    [[nodiscard]] qreal summaryHead(QPainter& painter, qreal width) const;
    void girderSection(std::size_t girder);
    // The summary's line for a girder: its identity and conclusion.
    [[nodiscard]] std::vector<QString> summaryCells(std::size_t girder);
    void close(const QString& failure);

    QString table_;
    const TableResultsModel& model_;
    TableLife life_;
    std::vector<std::vector<std::string>> plan_; // its header, then a row a girder
    std::size_t planNext_ = 1;                   // the next girder of the plan
    std::vector<qreal> planShares_;              // of the width, a column each
    QString summary_;
    std::vector<std::string> row_; // the input row in hand
    bool hasSection_ = false;      // whether the table has a column "Участок"
    QDateTime made_;
    QTimer* timer_;
    std::vector<std::uint32_t> order_; // the girders, the worst first
    std::size_t summaryNext_ = 0;      // the next girder of the summary
    std::size_t sectionNext_ = 0;      // the next girder's report
    bool methodDone_ = false;
    // Destroyed in reverse order: the painter ends the PDF before the file
    // is dropped.
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<WholeWrites> writes_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<ReportPages> pages_;
};

} // namespace prochnar
