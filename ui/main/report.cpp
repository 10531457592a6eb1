#include "ui/main/report.h"

#include "calc/fields.h"
#include "calc/verdicts.h"
#include "prochnar/version.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace prochnar {

namespace {

// The text a control of the window shows: a label's or a button's caption,
// a frame's title.
QString shown(const QWidget& window, const char* name)
{
    const auto* widget = window.findChild<const QWidget*>(QLatin1String(name));
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return frame->title();
    }
    return {};
}

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// Vertical room before a heading or table. Lengths in the style sheet count
// the device's pixels, which on a printer are tiny: room is made of text.
constexpr const char* kGap = R"(<p style="font-size: 5pt;">&nbsp;</p>)";

constexpr const char* kTable = R"(<table border="1" cellspacing="0" cellpadding="2" width="100%" )"
                               R"(style="border-collapse: collapse; border-color: #808080;">)";

// The report's parts, each appended to one text.
class Report {
public:
    Report(const QWidget& window, const Form& form) : window_{window}, form_{form} {}

    [[nodiscard]] QString caption(const char* label) const { return shown(window_, label).toHtmlEscaped(); }
    [[nodiscard]] QString value(const char* field) const { return escaped(form_.text(fieldFromName(field).value())); }

    void add(const QString& html) { html_ += html; }

    // A table of captions and values under the titles of their frames.
    void inputs(std::initializer_list<std::pair<QString, const char*>> rows)
    {
        for (const auto& [text, field] : rows) {
            if (field == nullptr) {
                add(QStringLiteral("<tr><td colspan=\"2\" bgcolor=\"#e8e8e8\"><b>%1</b></td></tr>").arg(text));
            } else {
                add(QStringLiteral("<tr><td width=\"72%\">%1</td><td>%2</td></tr>").arg(text, value(field)));
            }
        }
    }

    [[nodiscard]] QString html() const { return html_; }

private:
    const QWidget& window_;
    const Form& form_;
    QString html_;
};

void step1(Report& r)
{
    // The moments and the general data side by side, as on the form.
    r.add(QLatin1String(kGap) + QStringLiteral("<h3>Шаг 1. Исходные данные</h3>") + QLatin1String(kTable) +
          QStringLiteral("<tr bgcolor=\"#e8e8e8\"><td colspan=\"2\" width=\"45%\"><b>%1</b></td><td colspan=\"2\" "
                         "width=\"55%\"><b>%2</b></td></tr>")
              .arg(r.caption("Frame1"), r.caption("Frame8")));
    constexpr std::array<std::array<const char*, 4>, 4> kSideBySide{{
        {"Label1", "txtMn", "Label26", "txtLp"},
        {"Label2", "txtMp", "Label27", "txtl"},
        {"Label3", "txtMv", "Label28", "txtG"},
        {nullptr, nullptr, "Label29", "txtGg"},
    }};
    for (const auto& [leftCaption, left, rightCaption, right] : kSideBySide) {
        r.add(QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"15%\">%2</td><td width=\"40%\">%3</td>"
                             "<td width=\"15%\">%4</td></tr>")
                  .arg(left == nullptr ? QString() : r.caption(leftCaption),
                       left == nullptr ? QString() : r.value(left), r.caption(rightCaption), r.value(right)));
    }
    const auto titled = [&r](const char* caption, const char* column) {
        return r.caption(caption) + QStringLiteral(" — ") + r.caption(column);
    };
    r.add(QStringLiteral("</table>") + QLatin1String(kGap) + QLatin1String(kTable));
    r.inputs({
        {r.caption("Frame2"), nullptr},
        {r.caption("Label10"), "txtLpp"},
        {r.caption("Label11"), "txtH"},
        {r.caption("Label12"), "txtB"},
        {titled("Label4", "Label20"), "txtIy"},
        {titled("Label22", "Label21"), "txtIyy"},
        {titled("Label33", "Label35"), "Text9"},
        {titled("Label34", "Label36"), "Text10"},
        {r.caption("Label14"), "Text1"},
    });
    r.add(QStringLiteral("</table>"));
}

void step2(Report& r, const Form& form)
{
    r.add(QLatin1String(kGap) +
          QStringLiteral("<h3>Шаг 2. Гибкость, коэффициенты продольного изгиба и нагрузки проводов</h3>"));
    if (form.state(StateControl::Frame5Visible)) {
        r.add(QStringLiteral("<p><b>%1</b></p>").arg(r.caption("Label16")));
    }
    r.add(QLatin1String(kTable));
    constexpr std::array<std::array<const char*, 4>, 2> kPairs{{
        {"Label18", "lblJ", "Label37", "Text3"},
        {"Label19", "lblJ1", "Label38", "Text5"},
    }};
    for (const auto& [slenderness, field, phiCaption, phi] : kPairs) {
        r.add(QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"20%\">%2</td><td width=\"30%\">%3</td>"
                             "<td width=\"20%\">%4</td></tr>")
                  .arg(r.caption(slenderness), r.value(field), r.caption(phiCaption), r.value(phi)));
    }
    r.add(QStringLiteral("</table><p>Провода:</p>") + QLatin1String(kTable) +
          QStringLiteral("<thead><tr><td width=\"12%\" bgcolor=\"#e8e8e8\"></td>"));
    for (int wire = 1; wire <= 8; ++wire) {
        r.add(QStringLiteral("<td width=\"11%\" bgcolor=\"#e8e8e8\" align=\"center\"><b>%1</b></td>").arg(wire));
    }
    r.add(QStringLiteral("</tr></thead>"));
    constexpr std::array<std::array<const char*, 2>, 3> kWireRows{{
        {"Label25", "txtl"},
        {"Label23", "txtgp"},
        {"Label24", "txtgpp"},
    }};
    for (const auto& [caption, prefix] : kWireRows) {
        r.add(QStringLiteral("<tr><td>%1</td>").arg(r.caption(caption)));
        for (int wire = 1; wire <= 8; ++wire) {
            const std::string field = std::string(prefix) + std::to_string(wire);
            r.add(QStringLiteral("<td align=\"right\">%1</td>").arg(r.value(field.c_str())));
        }
        r.add(QStringLiteral("</tr>"));
    }
    const std::string flag = form.text(Field::Text15);
    const QString governing = flag == "1" ? r.caption("Label2") : flag == "0" ? r.caption("Label3") : QString();
    r.add(QStringLiteral("</table>") + QLatin1String(kGap) + QLatin1String(kTable) +
          QStringLiteral("<tr><td width=\"72%\">Опорная реакция ригеля</td><td>%1</td></tr>"
                         "<tr><td>Усилие в раскосе</td><td>%2</td></tr>"
                         "<tr><td>Момент, по которому рассчитан сжатый пояс</td><td>%3</td></tr></table>")
              .arg(r.value("txtQp"), r.value("txtZ1"), governing));
}

void step3(Report& r, const Form& form)
{
    r.add(QLatin1String(kGap) + QStringLiteral("<h3>Шаг 3. Требуемые и фактические сечения и усилия</h3>"));
    if (form.state(StateControl::Frame9Visible)) {
        r.add(QStringLiteral("<p><b>%1</b></p>").arg(r.caption("Label47")));
    }
    const auto verdicts = judgeStep3(form);
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
    struct Row {
        const char* heading;
        const char* left;
        const char* sign;
        const char* right;
    };
    constexpr std::array<Row, kVerdictRows> rows{{
        {"Label17", "Text4", "Label43", "Text6"},
        {"Label32", "Text7", "Label44", "Text8"},
        {"Label39", "txtz2", "Label45", "Text12"},
        {"Label40", "Text14", "Label46", "Text13"},
    }};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (row + 1 == rows.size()) {
            header("Label41", "Label42");
        }
        const std::optional<Verdict>& verdict = verdicts.at(row);
        const QString judged = !verdict ? QString()
                                        : QStringLiteral("<span style=\"color: %1;\">%2</span>")
                                              .arg(verdict->holds ? QLatin1String("#008000") : QLatin1String("#c80000"),
                                                   escaped(verdict->text));
        r.add(QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"center\"><b>%3</b></td>"
                             "<td>%4</td><td>%5</td></tr>")
                  .arg(r.caption(rows.at(row).heading), r.value(rows.at(row).left), r.caption(rows.at(row).sign),
                       r.value(rows.at(row).right), judged));
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

void messages(Report& r, const QWidget& window, const std::vector<PressRecord>& presses)
{
    const auto* tabs = window.findChild<const QTabWidget*>(QStringLiteral("SSTab1"));
    QString items;
    for (const PressRecord& press : presses) {
        const std::string name(buttonName(press.button));
        for (const auto& message : press.messages) {
            items += QStringLiteral("<li>«%1» на вкладке «%2»: %3</li>")
                         .arg(r.caption(name.c_str()),
                              tabs == nullptr ? QString() : tabs->tabText(tabOf(press.button)).toHtmlEscaped(),
                              escaped(message.text));
        }
    }
    if (!items.isEmpty()) {
        r.add(QLatin1String(kGap) + QStringLiteral("<h3>Сообщения при последних нажатиях кнопок</h3><ul>") + items +
              QStringLiteral("</ul>"));
    }
}

} // namespace

QString reportHtml(const QWidget& window, const Form& form, const ReportFacts& facts)
{
    Report r(window, form);
    r.add(QStringLiteral(
              "<html><head><style>h2 { font-size: 14pt; } h3 { font-size: 11pt; } p, h2, h3, ul { margin: 0px; }"
              "</style></head><body><h2>Расчет остаточной прочности ригеля жесткой поперечины</h2><p>Отчет "
              "программы Прочнар %1, составлен %2 в %3.")
              .arg(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())),
                   facts.made.toString(QStringLiteral("dd.MM.yyyy")), facts.made.toString(QStringLiteral("HH:mm"))));
    if (!facts.file.isEmpty()) {
        r.add(QStringLiteral("<br>Файл расчета: %1").arg(facts.file.toHtmlEscaped()));
    }
    r.add(QStringLiteral("</p>"));
    step1(r);
    step2(r, form);
    step3(r, form);
    messages(r, window, facts.presses);
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

} // namespace prochnar
