#include "ui/main/report.h"

#include "ui/main/verdict_colours.h"

#include "calc/fields.h"
#include "calc/handlers.h"
#include "calc/verdicts.h"
#include "prochnar/version.h"
#include "ui/main/whole_file.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace prochnar {

namespace {

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// Vertical room before a heading or table. Lengths in the style sheet count
// the device's pixels, which on a printer are tiny: room is made of text.
constexpr const char* kGap = R"(<p style="font-size: 5pt;">&nbsp;</p>)";

constexpr const char* kTable = R"(<table border="1" cellspacing="0" cellpadding="2" width="100%" )"
                               R"(style="border-collapse: collapse; border-color: #808080;">)";

// The report's parts, each appended to one text.
class Report {
public:
    Report(const Form& form, const FormCaptions& captions) : form_{form}, captions_{captions} {}

    [[nodiscard]] const Form& form() const { return form_; }
    [[nodiscard]] QString caption(const char* label) const { return captions_.caption(label).toHtmlEscaped(); }
    [[nodiscard]] QString tab(int index) const { return captions_.tab(index).toHtmlEscaped(); }
    [[nodiscard]] QString value(Field field) const { return escaped(form_.text(field)); }

    void add(const QString& html) { html_ += html; }

    // A table of captions and values under the titles of their frames.
    void inputs(std::initializer_list<std::pair<QString, std::optional<Field>>> rows)
    {
        for (const auto& [text, field] : rows) {
            if (!field) {
                add(QStringLiteral("<tr><td colspan=\"2\" bgcolor=\"#e8e8e8\"><b>%1</b></td></tr>").arg(text));
            } else {
                add(QStringLiteral("<tr><td width=\"72%\">%1</td><td>%2</td></tr>").arg(text, value(*field)));
            }
        }
    }

    [[nodiscard]] QString html() const { return html_; }

private:
    const Form& form_;
    const FormCaptions& captions_;
    QString html_;
};

void step1(Report& r)
{
    // The moments and the general data side by side, as on the form.
    r.add(QLatin1String(kGap) + QStringLiteral("<h3>Шаг 1. Исходные данные</h3>") + QLatin1String(kTable) +
          QStringLiteral("<tr bgcolor=\"#e8e8e8\"><td colspan=\"2\" width=\"45%\"><b>%1</b></td><td colspan=\"2\" "
                         "width=\"55%\"><b>%2</b></td></tr>")
              .arg(r.caption("Frame1"), r.caption("Frame8")));
    struct SideBySide {
        const char* leftCaption;
        std::optional<Field> left;
        const char* rightCaption;
        Field right;
    };
    const std::array<SideBySide, 4> kSideBySide{{
        {"Label1", Field::txtMn, "Label26", Field::txtLp},
        {"Label2", Field::txtMp, "Label27", Field::txtl},
        {"Label3", Field::txtMv, "Label28", Field::txtG},
        {nullptr, std::nullopt, "Label29", Field::txtGg},
    }};
    for (const auto& [leftCaption, left, rightCaption, right] : kSideBySide) {
        r.add(QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"15%\">%2</td><td width=\"40%\">%3</td>"
                             "<td width=\"15%\">%4</td></tr>")
                  .arg(left ? r.caption(leftCaption) : QString(), left ? r.value(*left) : QString(),
                       r.caption(rightCaption), r.value(right)));
    }
    const auto titled = [&r](const char* caption, const char* column) {
        return r.caption(caption) + QStringLiteral(" — ") + r.caption(column);
    };
    r.add(QStringLiteral("</table>") + QLatin1String(kGap) + QLatin1String(kTable));
    r.inputs({
        {r.caption("Frame2"), std::nullopt},
        {r.caption("Label10"), Field::txtLpp},
        {r.caption("Label11"), Field::txtH},
        {r.caption("Label12"), Field::txtB},
        {titled("Label4", "Label20"), Field::txtIy},
        {titled("Label22", "Label21"), Field::txtIyy},
        {titled("Label33", "Label35"), Field::Text9},
        {titled("Label34", "Label36"), Field::Text10},
        {r.caption("Label14"), Field::Text1},
    });
    r.add(QStringLiteral("</table>"));
}

void step2(Report& r)
{
    r.add(QLatin1String(kGap) +
          QStringLiteral("<h3>Шаг 2. Гибкость, коэффициенты продольного изгиба и нагрузки проводов</h3>"));
    if (r.form().state(StateControl::Frame5Visible)) {
        r.add(QStringLiteral("<p><b>%1</b></p>").arg(r.caption("Label16")));
    }
    r.add(QLatin1String(kTable));
    struct Pair {
        const char* slendernessCaption;
        Field slenderness;
        const char* phiCaption;
        Field phi;
    };
    constexpr std::array<Pair, 2> kPairs{{
        {"Label18", Field::lblJ, "Label37", Field::Text3},
        {"Label19", Field::lblJ1, "Label38", Field::Text5},
    }};
    for (const auto& [slendernessCaption, slenderness, phiCaption, phi] : kPairs) {
        r.add(QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"20%\">%2</td><td width=\"30%\">%3</td>"
                             "<td width=\"20%\">%4</td></tr>")
                  .arg(r.caption(slendernessCaption), r.value(slenderness), r.caption(phiCaption), r.value(phi)));
    }
    r.add(QStringLiteral("</table><p>Провода:</p>") + QLatin1String(kTable) +
          QStringLiteral("<thead><tr><td width=\"12%\" bgcolor=\"#e8e8e8\"></td>"));
    for (std::size_t wire = 1; wire <= kWireCount; ++wire) {
        r.add(QStringLiteral("<td width=\"11%\" bgcolor=\"#e8e8e8\" align=\"center\"><b>%1</b></td>").arg(wire));
    }
    r.add(QStringLiteral("</tr></thead>"));
    constexpr std::array<std::pair<const char*, std::array<Field, kWireCount>>, 3> kWireRows{{
        {"Label25", kWirePositions},
        {"Label23", kWireWeights},
        {"Label24", kWireWeightsIce},
    }};
    for (const auto& [caption, fields] : kWireRows) {
        r.add(QStringLiteral("<tr><td>%1</td>").arg(r.caption(caption)));
        for (const Field field : fields) {
            r.add(QStringLiteral("<td align=\"right\">%1</td>").arg(r.value(field)));
        }
        r.add(QStringLiteral("</tr>"));
    }
    const std::string flag = r.form().text(Field::Text15);
    const QString governing = flag == "1" ? r.caption("Label2") : flag == "0" ? r.caption("Label3") : QString();
    r.add(QStringLiteral("</table>") + QLatin1String(kGap) + QLatin1String(kTable) +
          QStringLiteral("<tr><td width=\"72%\">Опорная реакция ригеля</td><td>%1</td></tr>"
                         "<tr><td>Усилие в раскосе</td><td>%2</td></tr>"
                         "<tr><td>Момент, по которому рассчитан сжатый пояс</td><td>%3</td></tr></table>")
              .arg(r.value(Field::txtQp), r.value(Field::txtZ1), governing));
}

// The captions of each row of step 3 on the form: the row's heading and the
// sign between its two values, in the order of kStep3Rows.
constexpr std::array<std::pair<const char*, const char*>, kVerdictRows> kRowCaptions{{
    {"Label17", "Label43"},
    {"Label32", "Label44"},
    {"Label39", "Label45"},
    {"Label40", "Label46"},
}};

void step3(Report& r)
{
    r.add(QLatin1String(kGap) + QStringLiteral("<h3>Шаг 3. Требуемые и фактические сечения и усилия</h3>"));
    if (r.form().state(StateControl::Frame9Visible)) {
        r.add(QStringLiteral("<p><b>%1</b></p>").arg(r.caption("Label47")));
    }
    const auto verdicts = judgeStep3(r.form());
    const auto header = [&r](const char* left, const char* right) {
        r.add(QStringLiteral("<tr bgcolor=\"#e8e8e8\"><td width=\"26%\"></td><td width=\"21%\" align=\"center\"><b>%1"
                             "</b></td><td width=\"4%\"></td><td width=\"21%\" align=\"center\"><b>%2</b></td>"
                             "<td width=\"28%\" align=\"center\"><b>Вывод</b></td></tr>")
                  .arg(r.caption(left), r.caption(right)));
    };
    // The first heading comes again at the top of a page the table runs on to.
    r.add(QLatin1String(kTable) + QStringLiteral("<thead>"));
    header("Label30", "Label31");
    r.add(QStringLiteral("</thead>"));
    for (std::size_t i = 0; i < kStep3Rows.size(); ++i) {
        const Step3Row& row = kStep3Rows.at(i);
        // The force row has headings of its own and, as on the form, the
        // force a diagonal carries on the left, the force it gets on the right.
        const bool force = !row.member.has_value();
        if (force) {
            header("Label41", "Label42");
        }
        const std::optional<Verdict>& verdict = verdicts.at(i);
        const QString judged = !verdict ? QString()
                                        : QStringLiteral("<span style=\"color: %1;\">%2</span>")
                                              .arg(verdictTextColour(verdict->kind).name(), escaped(verdict->text));
        r.add(QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"center\"><b>%3</b></td>"
                             "<td>%4</td><td>%5</td></tr>")
                  .arg(r.caption(kRowCaptions.at(i).first), r.value(force ? row.capacity : row.demand),
                       r.caption(kRowCaptions.at(i).second), r.value(force ? row.demand : row.capacity), judged));
    }
    r.add(QStringLiteral("</table>"));
}

// Where each button stands: its tab.
int tabOf(Button button)
{
    switch (button) {
    case Button::Command2:
    case Button::Command3:
        return 0;
    case Button::Command5:
    case Button::Command6:
        return 1;
    case Button::Command4:
        return 2;
    }
    return 0;
}

void messages(Report& r, const std::vector<PressRecord>& presses)
{
    QString items;
    for (const PressRecord& press : presses) {
        const std::string name(buttonName(press.button));
        for (const auto& message : press.messages) {
            items += QStringLiteral("<li>«%1» на вкладке «%2»: %3</li>")
                         .arg(r.caption(name.c_str()), r.tab(tabOf(press.button)), escaped(message.text));
        }
    }
    if (!items.isEmpty()) {
        r.add(QLatin1String(kGap) + QStringLiteral("<h3>Сообщения при последних нажатиях кнопок</h3><ul>") + items +
              QStringLiteral("</ul>"));
    }
}

} // namespace

QString reportHtml(const Form& form, const ReportFacts& facts, const FormCaptions& captions)
{
    Report r(form, captions);
    r.add(QStringLiteral(
              "<html><head><style>h2 { font-size: 14pt; } h3 { font-size: 11pt; } p, h2, h3, ul { margin: 0px; }"
              "</style></head><body><h2>Расчет остаточной прочности ригеля жесткой поперечины</h2><p>Отчет "
              "программы Прочнар %1, составлен %2 в %3.")
              .arg(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())),
                   facts.made.toString(QStringLiteral("dd.MM.yyyy")), facts.made.toString(QStringLiteral("HH:mm"))));
    if (!facts.file.isEmpty()) {
        r.add(QStringLiteral("<br>Файл расчета: %1").arg(facts.file.toHtmlEscaped()));
    }
    if (!facts.recomputed.isEmpty()) {
        r.add(QStringLiteral("<br>Результаты пересчитаны по исходным данным файла; в файле были другие значения "
                             "полей %1.")
                  .arg(facts.recomputed.join(QStringLiteral(", ")).toHtmlEscaped()));
    }
    r.add(QStringLiteral("</p>"));
    step1(r);
    step2(r);
    step3(r);
    messages(r, facts.presses);
    // One row, so that the lines and what they are for stay on one page.
    r.add(QLatin1String(kGap) + QLatin1String(kGap) +
          QStringLiteral(
              "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\"><tr><td width=\"22%\"><br>Расчет проверил:"
              "</td><td width=\"30%\" align=\"center\"><br>________________________<br><small>подпись</small></td>"
              "<td width=\"30%\" align=\"center\"><br>________________________<br><small>фамилия, инициалы</small>"
              "</td><td width=\"18%\" align=\"center\"><br>______________<br><small>дата</small></td></tr></table>"
              "</body></html>"));
    return r.html();
}

QString reportPlainText(const Form& form, const ReportFacts& facts)
{
    QTextDocument document;
    document.setHtml(reportHtml(form, facts));
    return document.toPlainText();
}

void printReport(const QString& html, QPagedPaintDevice& device)
{
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 9));
    document.setDocumentMargin(0);
    document.setHtml(html);

    // The text 2 cm from the edges of the paper, where the device lets it;
    // the page number under it.
    const int dpi = device.logicalDpiY();
    const QPageLayout layout = device.pageLayout();
    const QMarginsF printable = layout.marginsPixels(dpi);
    const qreal room = 20.0 / 25.4 * dpi;
    const QRectF paint = layout.paintRectPixels(dpi);
    const QRectF body =
        QRectF(QPointF(), paint.size())
            .adjusted(std::max(0.0, room - printable.left()), std::max(0.0, room - printable.top()),
                      -std::max(0.0, room - printable.right()), -std::max(0.0, room - printable.bottom()));
    document.setPageSize(body.size());

    // The signature's line and what it is for on one page.
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    if (!frames.isEmpty()) {
        const QRectF signature = document.documentLayout()->frameBoundingRect(frames.back());
        if (std::floor(signature.top() / body.height()) != std::floor(signature.bottom() / body.height())) {
            QTextFrameFormat format = frames.back()->frameFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            frames.back()->setFrameFormat(format);
        }
    }

    QPainter painter(&device);
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            device.newPage();
        }
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        document.drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
        painter.restore();
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
        painter.drawText(QRectF(body.left(), body.bottom(), body.width(), room / 2), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages));
    }
}

QByteArray reportPdf(const QString& html)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(QStringLiteral("Расчет остаточной прочности ригеля жесткой поперечины"));
        pdf.setCreator(QStringLiteral("Прочнар"));
        printReport(html, pdf);
    }
    return bytes;
}

QString writeReportPdf(const QString& path, const QString& html)
{
    const QString why = writeWholeFile(path, reportPdf(html));
    return why.isEmpty() ? QString()
                         : QStringLiteral("Отчет не записан в «%1»: %2.").arg(QDir::toNativeSeparators(path), why);
}

} // namespace prochnar
