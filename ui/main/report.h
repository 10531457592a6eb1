#pragma once

#include "calc/form.h"
#include "calc/inspections.h"
#include "formats/form_file.h"
#include "formats/girder_identity.h"
#include "ui/main/form_captions.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <QRectF>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace prochnar {

// How much of the section "Как получены числа" a report holds: all of it,
// from a page of its own; or, in a report of many girders, only the formulas
// with the form's numbers and the catalogue's angles, the rest being the same
// for every girder and given once (sharedMethodHtml()).
enum class ReportMethod { Whole, OwnNumbers };

// What a report says beside the form: the file that keeps the calculation
// (empty if none), when the report was made, the last clicks of the
// wizard's buttons with what they showed, the names of the results that
// the file held otherwise than their recomputation (none when they agreed),
// which girder the calculation documents, how much of the method it holds,
// and its history: the sections it records as measured are judged as the
// window judges them, and its inspections, when it has any, give a section
// of their own with the remaining lives and the chart of thinning.
struct ReportFacts {
    QString file;
    QDateTime made;
    std::vector<PressRecord> presses;
    QStringList recomputed;
    GirderIdentity identity = {};
    ReportMethod method = ReportMethod::Whole;
    GirderHistory history = {};
};

// The report of the calculation in form for the engineering record, as rich
// text in Russian: every input under its caption as the window shows it, the
// wire table, the results of the three steps with a verdict on each row of
// step 3, the messages of the last clicks, and a line for the signature of
// the engineer who checked it. Any form: the window's, or one read from a file.
[[nodiscard]] QString reportHtml(const Form& form, const ReportFacts& facts,
                                 const FormCaptions& captions = FormCaptions::designer());

// The part of "Как получены числа" that is the same for every girder, as a
// text of its own, for the end of a report of many girders.
[[nodiscard]] QString sharedMethodHtml();

// The report's text as it reads on paper, without its layout.
[[nodiscard]] QString reportPlainText(const Form& form, const ReportFacts& facts);

// Lays the report out on the pages of the device, 2 cm from the edges of
// the paper, and paints it, with the page number at the foot of each page.
void printReport(const QString& html, QPagedPaintDevice& device);

// Paints reports and pages of the caller's one after another on the pages of
// one device, laid out as printReport() lays a report out, numbering the
// pages through: "Страница 7" at the right of each page's foot, the caller's
// words at its left.
class ReportPages {
public:
    explicit ReportPages(QPagedPaintDevice& device);
    ~ReportPages();
    ReportPages(const ReportPages&) = delete;
    ReportPages& operator=(const ReportPages&) = delete;
    ReportPages(ReportPages&&) = delete;
    ReportPages& operator=(ReportPages&&) = delete;

    // Lays the rich text out and paints it from a new page.
    void addDocument(const QString& html, const QString& foot);
    // Starts a new page; the painter's origin is the top left corner of the
    // text's room, whose size body() gives in the device's pixels.
    QPainter& newPage(const QString& foot);
    [[nodiscard]] QSizeF body() const { return body_.size(); }
    [[nodiscard]] int pages() const { return pages_; }

private:
    QPagedPaintDevice& device_;
    QRectF body_;
    qreal room_ = 0;
    std::unique_ptr<QPainter> painter_;
    int pages_ = 0;
};

// The report as PDF bytes, on A4 portrait pages.
[[nodiscard]] QByteArray reportPdf(const QString& html);

// Writes the report as a PDF file in place of the one at path, only when
// whole; returns why it could not, in the window's words ("Отчет не записан
// в «…»: …."), or "".
[[nodiscard]] QString writeReportPdf(const QString& path, const QString& html);

} // namespace prochnar
