#pragma once

#include "calc/map_form.h"
#include "calc/table_run.h"
#include "formats/girder_identity.h"
#include "formats/line_plan.h"
#include "formats/table_check.h"
#include "formats/table_decimal.h"
#include "formats/table_life.h"
#include "ui/main/report_offer.h"
#include "ui/main/widget_form.h"

#include <QString>
#include <QWidget>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QElapsedTimer;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTimer;

namespace prochnar {

class CsvReader;
class SectionReport;
class PlanTableModel;
class TableResultsModel;

// Opens a girder's form in the wizard, with the identity its row carries.
using GirderOpener =
    std::function<void(const MapForm& form, const GirderIdentity& identity, const GirderHistory& history)>;

// Asks which decimal separator a table's numbers use when the numbers do not
// tell (text says which cell leaves it open): the comma, the point, or none
// for "Отмена". The default asks in a box with those three buttons.
using DecimalQuestion = std::function<std::optional<DecimalSeparator>(QWidget* parent, const QString& text)>;
[[nodiscard]] std::optional<DecimalSeparator> askDecimalSeparator(QWidget* parent, const QString& text);

// The girders of a table checked as prochnar-calc --table checks them: a
// sortable table of their own columns, the smallest margin and the verdicts
// (coloured and in words), the girders that need attention first and the
// rows that could not be checked above them; a summary line; "Сохранить
// результаты…" writes the same CSV as the command; a double click opens the
// girder in the wizard, with the identity of its row. A table with
// inspections also gets the command's life columns, a filter of the girders
// to replace by a year, and the replacement plan of its line section on a
// tab of its own once read (the same as --plan writes), where a double click
// opens a girder's latest calculation with its inspections. The table's
// decimal separator is decided first from its numbers, as the command
// decides it, a slice of rows at a time; a table whose numbers do not tell
// asks which. Rows are checked a slice at a time between events, with a
// progress bar, so the window answers while a large table runs.
class TableResultsWindow final : public QWidget {
    Q_OBJECT

public:
    TableResultsWindow(const QString& path, GirderOpener openGirder, QWidget* parent = nullptr);
    ~TableResultsWindow() override;
    TableResultsWindow(const TableResultsWindow&) = delete;
    TableResultsWindow& operator=(const TableResultsWindow&) = delete;
    TableResultsWindow(TableResultsWindow&&) = delete;
    TableResultsWindow& operator=(TableResultsWindow&&) = delete;

    [[nodiscard]] bool finished() const { return reader_ == nullptr; }
    // Writes the checked table as the command does; false when it cannot.
    bool save(const QString& path) const { return saveTo(path).isEmpty(); }
    // The same, in place of the file at path only once whole; returns why
    // it could not, or "". The rows are checked again as they are written,
    // a piece at a time, so that the results are never held whole.
    [[nodiscard]] QString saveTo(const QString& path) const;
    // Why the results may not be written at path at all: it is the table
    // shown, or an existing file that is not a regular one; "" when they may.
    [[nodiscard]] QString refusalOf(const QString& path) const;
    // Replaces the message boxes: the main window's presenter, so that its
    // table speaks as it does.
    void setMessagePresenter(MessagePresenter present) { present_ = std::move(present); }
    // Replaces the question after the report of the section was written,
    // and what opens it.
    void setOpenQuestion(OpenQuestion ask) { askToOpen_ = std::move(ask); }
    void setOpener(UrlOpener open) { open_ = std::move(open); }
    // Replaces the question of the decimal separator; set before the first
    // slice runs, when control returns to the event loop.
    void setDecimalQuestion(DecimalQuestion ask) { askDecimal_ = std::move(ask); }
    // The separator the table's numbers are read and shown with.
    [[nodiscard]] DecimalSeparator separator() const { return separator_; }

    // Starts writing the report of the section, the whole table in one PDF,
    // to path; returns why it could not start (the table itself, not a
    // regular file, not read, already writing, cannot be made), or "". Once
    // written the user is told where it went; a failure says why.
    [[nodiscard]] QString startSectionReport(const QString& path);
    [[nodiscard]] bool writingSectionReport() const;
    // Stops writing the report; the file at its path stays as it was.
    void cancelSectionReport();

private:
    void checkSlice();
    // Rows read at once: at most a batch, to the end of the file or to a
    // fault of it.
    struct Batch {
        std::vector<std::vector<std::string>> rows = {};
        bool ended = false;
        std::optional<FileFaultAt> fault = {};
    };
    [[nodiscard]] Batch readBatch();
    // Checks the rows on every processor, this thread once meanwhile has
    // run, and adds them to the table, the plan and the totals.
    void checkBatch(const std::vector<std::vector<std::string>>& batch, const std::function<void()>& meanwhile);
    // Reads rows for the decision of the separator until the slice is over;
    // true once decided (and the file is read again from its start), false
    // while rows remain or when the user cancelled the question.
    bool decideSlice(const QElapsedTimer& slice);
    // Ends the check; fault, when not empty, says why the table was not read
    // to its end.
    void finish(const QString& fault);
    [[nodiscard]] QString savedWithWaitCursor(const QString& path) const;
    // saveTo() for a name that asks for a workbook: the table, the plan and
    // the summary as prochnar-calc -o OUT.xlsx --plan writes them.
    [[nodiscard]] QString savedWorkbook(const QString& path, std::vector<TableLife>& runs, std::size_t count) const;
    void askAndSave();
    void askAndReport();
    void sectionReportEnded(const QString& path, const QString& failure);
    void openRow(int row);
    // Opens the plan's girder in the wizard: its latest calculation, with
    // every inspection of its rows in its history.
    void openPlanGirder(int row);
    void filterByYear();
    void showPlan();
    // The separator the summary names: the point's, the comma being the rule.
    [[nodiscard]] std::optional<DecimalSeparator> namedSeparator() const
    {
        return separator_ == DecimalSeparator::Point ? std::optional(separator_) : std::nullopt;
    }
    // The plan as --plan writes it, its header first; none without a plan.
    [[nodiscard]] std::vector<std::vector<std::string>> planRecords() const;

    GirderOpener openGirder_;
    MessagePresenter present_ = showMessageBox;
    QLabel* summary_;
    QProgressBar* progress_;
    QPushButton* save_;
    QPushButton* report_;
    QPushButton* cancel_;
    SectionReport* sectionReport_ = nullptr;
    QString sectionReportPath_;
    OpenQuestion askToOpen_ = askToOpenReport;
    DecimalQuestion askDecimal_ = askDecimalSeparator;
    UrlOpener open_ = openWithDesktop;
    QCheckBox* replacedBy_;
    QSpinBox* replacedYear_;
    QTabWidget* tabs_;
    QTableView* table_;
    QTableView* planView_ = nullptr;
    PlanTableModel* planModel_ = nullptr;
    QTimer* timer_;
    TableResultsModel* model_ = nullptr;

    QString path_;
    std::ifstream file_;
    std::size_t fileSize_ = 0;
    std::unique_ptr<CsvReader> reader_;
    std::optional<TableRun> run_;     // the girders' forms, for the wizard and the report
    std::optional<TableLife> life_;   // the rows' check, as the command's
    std::vector<TableLife> checks_;   // a check for each processor
    std::optional<Batch> ahead_;      // read while the batch before it was checked
    std::optional<LinePlan> plan_;    // a table with inspections and "Опора"
    std::vector<std::string> header_; // the table's own header record
    char delimiter_ = ';';
    TableTotals totals_;
    bool decided_ = false;            // the separator is known, the rows are checked
    std::optional<DecimalVote> vote_; // while it is being decided
    DecimalSeparator separator_ = DecimalSeparator::Comma;
};

} // namespace prochnar
