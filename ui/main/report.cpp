#include "ui/main/report.h"

#include "ui/main/girder_sketch.h"
#include "ui/main/report_parts.h"
#include "ui/main/thinning_chart.h"
#include "ui/main/verdict_colours.h"

#include "calc/angles.h"
#include "calc/conclusion.h"
#include "calc/fields.h"
#include "calc/handlers.h"
#include "calc/messages.h"
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
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace prochnar {

namespace report {

namespace {

// A field's text that is a number, split at its decimal comma: the sign, the
// whole part and the fraction, if it has a comma.
struct NumberParts {
    bool negative = false;
    QString whole;
    std::optional<QString> fraction;
};

std::optional<NumberParts> numberParts(const std::string& text)
{
    const QString trimmed = QString::fromStdString(text).trimmed();
    NumberParts parts;
    qsizetype at = 0;
    if (!trimmed.isEmpty() && (trimmed.front() == QLatin1Char('-') || trimmed.front() == QLatin1Char('+'))) {
        parts.negative = trimmed.front() == QLatin1Char('-');
        at = 1;
    }
    const qsizetype comma = trimmed.indexOf(QLatin1Char(','), at);
    parts.whole = trimmed.mid(at, comma < 0 ? -1 : comma - at);
    if (comma >= 0) {
        parts.fraction = trimmed.mid(comma + 1);
    }
    const auto digits = [](const QString& part) {
        return std::all_of(part.begin(), part.end(),
                           [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    const QString fraction = parts.fraction.value_or(QString());
    if (!digits(parts.whole) || !digits(fraction) || parts.whole.size() + fraction.size() == 0) {
        return std::nullopt;
    }
    return parts;
}

} // namespace

Column::Column(const std::vector<std::string>& texts)
{
    for (const std::string& text : texts) {
        if (const auto parts = numberParts(text)) {
            whole_ = std::max(whole_, parts->whole.size() + (parts->negative ? 1 : 0));
            fraction_ = std::max(fraction_, parts->fraction.value_or(QString()).size());
            comma_ = comma_ || parts->fraction.has_value();
        }
    }
}

QString Column::operator()(const std::string& text, QStringView unit) const
{
    const auto parts = numberParts(text);
    if (!parts) {
        return escaped(text);
    }
    constexpr QChar kFigureSpace(0x2007);
    constexpr QChar kPunctuationSpace(0x2008);
    constexpr QChar kMinus(0x2212);
    const QString whole = (parts->negative ? QString(kMinus) : QString()) + parts->whole;
    QString shown = QString(whole_ - whole.size(), kFigureSpace) + whole;
    if (comma_) {
        const QString fraction = parts->fraction.value_or(QString());
        shown += (parts->fraction ? QStringLiteral(",") : QString(kPunctuationSpace)) + fraction +
                 QString(fraction_ - fraction.size(), kFigureSpace);
    }
    return QStringLiteral("<span style=\"white-space: pre;\">%1%2</span>")
        .arg(shown, unit.isEmpty() ? QString() : QChar(0x00A0) + unit.toString());
}

} // namespace report

namespace {

using report::Column;
using report::escaped;
using report::kGap;
using report::kTable;

constexpr const char* kHead = "<html><head><style>h2 { font-size: 14pt; } h3 { font-size: 11pt; } p, h2, h3, ul { "
                              "margin: 0px; }</style></head><body>";

// The report's parts, each appended to one text.
class Report {
public:
    Report(const Form& form, const FormCaptions& captions, const GirderHistory& history)
        : form_{form}, captions_{captions}, history_{history}, measured_{measuredSections(history)}
    {
    }

    [[nodiscard]] const Form& form() const { return form_; }
    [[nodiscard]] const GirderHistory& history() const { return history_; }
    [[nodiscard]] const MeasuredSections& measured() const { return measured_; }
    [[nodiscard]] QString caption(const char* label) const { return captions_.caption(label).toHtmlEscaped(); }
    [[nodiscard]] QString tab(int index) const { return captions_.tab(index).toHtmlEscaped(); }
    [[nodiscard]] std::string text(Field field) const { return form_.text(field); }

    void add(const QString& html) { html_ += html; }

    // A table's rows of captions and values under the titles of their
    // frames (a row without a field or text), the values aligned on their
    // commas, each with its unit when its caption names none.
    struct Row {
        QString caption;
        std::optional<Field> field = std::nullopt;
        QStringView unit = {};
        QString text = {}; // in place of a field's: a text of the report's own
    };
    void inputs(std::initializer_list<Row> rows)
    {
        std::vector<std::string> texts;
        for (const Row& row : rows) {
            texts.push_back(row.field ? form_.text(*row.field) : std::string());
        }
        const Column column(texts);
        for (const Row& row : rows) {
            if (!row.field && row.text.isEmpty()) {
                add(QStringLiteral("<tr><td colspan=\"2\" bgcolor=\"#e8e8e8\"><b>%1</b></td></tr>").arg(row.caption));
            } else {
                add(QStringLiteral("<tr><td width=\"72%\">%1</td><td>%2</td></tr>")
                        .arg(row.caption, row.field ? column(form_.text(*row.field), row.unit) : row.text));
            }
        }
    }

    [[nodiscard]] QString html() const { return html_; }

private:
    const Form& form_;
    const FormCaptions& captions_;
    const GirderHistory& history_;
    MeasuredSections measured_;
    QString html_;
};

// The girder the calculation documents, as far as it was named: where it
// stands on a line, when and by whom it was inspected on the next, then the
// note.
void identity(Report& r, const GirderIdentity& girder)
{
    using Fact = std::pair<const char*, const std::string*>;
    const std::array<std::vector<Fact>, 3> lines{{
        {{"Участок", &girder.section}, {"Опора", &girder.support}, {"Км", &girder.km}},
        {{"Дата осмотра", &girder.inspected}, {"Проверил", &girder.inspector}},
        {{"Примечание", &girder.note}},
    }};
    QStringList shown;
    for (const auto& line : lines) {
        QStringList facts;
        for (const auto& [name, text] : line) {
            if (!text->empty()) {
                facts << QStringLiteral("%1: <b>%2</b>").arg(QString::fromUtf8(name), escaped(visibleText(*text)));
            }
        }
        if (!facts.isEmpty()) {
            shown << facts.join(QStringLiteral("; "));
        }
    }
    if (!shown.isEmpty()) {
        r.add(QLatin1String(kGap) + QStringLiteral("<p>") + shown.join(QStringLiteral("<br>")) +
              QStringLiteral("</p>"));
    }
}

// The conclusion on the girder, in the colour of its verdict, and the
// sketch of the lattice with each member in its verdict's colour.
void conclusionAndSketch(Report& r)
{
    const Conclusion conclusion = conclusionOf(r.form(), r.measured());
    QColor colour(Qt::black);
    switch (conclusion.status) {
    case GirderStatus::Holds:
        colour = verdictTextColour(VerdictKind::Holds);
        break;
    case GirderStatus::DoesNotHold:
        colour = verdictTextColour(VerdictKind::Fails);
        break;
    case GirderStatus::Check:
        colour = verdictTextColour(VerdictKind::Check);
        break;
    case GirderStatus::NotComputed:
        break;
    }
    r.add(QLatin1String(kGap) + QStringLiteral("<p style=\"font-size: 11pt;\"><b><span style=\"color: %1;\">%2"
                                               "</span></b></p>")
                                    .arg(colour.name(), escaped(conclusion.text)));

    // At 300 dots an inch across the 17 cm of the page's text: sharp on paper.
    constexpr int kWidthMm = 170;
    constexpr int kDotsPerInch = 300;
    const QImage image = girderSketchImage(girderSketchOf(r.form(), r.measured()), kWidthMm * kDotsPerInch * 10 / 254);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    // The document's lengths are pixels of 96 an inch, scaled to the device.
    constexpr double kPixelsPerMm = 96 / 25.4;
    const int width = static_cast<int>(std::lround(kWidthMm * kPixelsPerMm));
    r.add(QLatin1String(kGap) +
          QStringLiteral("<h3>Схема ригеля</h3><p><img src=\"data:image/png;base64,%1\" width=\"%2\" "
                         "height=\"%3\"></p><p><small>Цвет элемента — вывод по его строкам шага 3: зеленый — держит, "
                         "красный — не держит, желтый — проверьте, серый — не проверен; стойки расчет не проверяет. "
                         "Высота ригеля показана не в масштабе длины.</small></p>")
              .arg(QString::fromLatin1(png.toBase64()))
              .arg(width)
              .arg(std::lround(width * image.height() / static_cast<double>(image.width()))));
}

// "L 63×5, ГОСТ 8509-93" for a member whose section is a catalogue angle,
// "L 75×6, ГОСТ 8509-93, полки утонены до 5,2 мм по осмотру" for one measured.
QString angleText(const Form& form, Member member, const MeasuredSections& measured)
{
    if (const std::optional<MeasuredSection>& section = measured.of(member)) {
        const Angle& nominal = angleCatalogue()[section->angle];
        const std::optional<Angle> thinned = thinnedAngle(nominal, section->tenths);
        const SectionFields fields = sectionFields(member);
        if (thinned && holdsAngle(*thinned, form.text(fields.area), form.text(fields.radius))) {
            return QString::fromStdString(designation(nominal)) +
                   QStringLiteral(", ГОСТ 8509-93, полки утонены до %1 мм по осмотру")
                       .arg(QString::fromStdString(thicknessText(*thinned)));
        }
    }
    const std::optional<std::size_t> held = heldAngle(form, member);
    return held ? QString::fromStdString(designation(angleCatalogue()[*held])) + QStringLiteral(", ГОСТ 8509-93")
                : QString();
}

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
        QStringView rightUnit;
    };
    const std::array<SideBySide, 4> kSideBySide{{
        {"Label1", Field::txtMn, "Label26", Field::txtLp, {}},
        {"Label2", Field::txtMp, "Label27", Field::txtl, {}},
        {"Label3", Field::txtMv, "Label28", Field::txtG, report::kWeightUnit},
        {nullptr, std::nullopt, "Label29", Field::txtGg, report::kWeightUnit},
    }};
    const Column moments({r.text(Field::txtMn), r.text(Field::txtMp), r.text(Field::txtMv)});
    const Column general({r.text(Field::txtLp), r.text(Field::txtl), r.text(Field::txtG), r.text(Field::txtGg)});
    for (const auto& [leftCaption, left, rightCaption, right, rightUnit] : kSideBySide) {
        r.add(QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"15%\">%2</td><td width=\"40%\">%3</td>"
                             "<td width=\"15%\">%4</td></tr>")
                  .arg(left ? r.caption(leftCaption) : QString(),
                       left ? moments(r.text(*left), report::kMomentUnit) : QString(), r.caption(rightCaption),
                       general(r.text(right), rightUnit)));
    }
    const auto titled = [&r](const char* caption, const char* column) {
        return r.caption(caption) + QStringLiteral(" — ") + r.caption(column);
    };
    r.add(QStringLiteral("</table>") + QLatin1String(kGap) + QLatin1String(kTable));
    const QString chordAngle = angleText(r.form(), Member::Chord, r.measured());
    const QString diagonalAngle = angleText(r.form(), Member::Diagonals, r.measured());
    r.inputs({
        {.caption = r.caption("Frame2")},
        {.caption = r.caption("Label10"), .field = Field::txtLpp},
        {.caption = r.caption("Label11"), .field = Field::txtH},
        {.caption = r.caption("Label12"), .field = Field::txtB},
        {.caption = titled("Label4", "Label20"), .field = Field::txtIy},
        {.caption = titled("Label22", "Label21"), .field = Field::txtIyy},
        {.caption = titled("Label33", "Label35"), .field = Field::Text9},
        {.caption = titled("Label34", "Label36"), .field = Field::Text10},
        {.caption = r.caption("Label14"), .field = Field::Text1},
    });
    if (!chordAngle.isEmpty() || !diagonalAngle.isEmpty()) {
        r.inputs({
            {.caption = QStringLiteral("Уголки по каталогу")},
            {.caption = QStringLiteral("Уголок — ") + r.caption("Label20"), .text = chordAngle},
            {.caption = QStringLiteral("Уголок — ") + r.caption("Label21"), .text = diagonalAngle},
        });
    }
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
    const Column slendernesses({r.text(Field::lblJ), r.text(Field::lblJ1)});
    const Column phis({r.text(Field::Text3), r.text(Field::Text5)});
    for (const auto& [slendernessCaption, slenderness, phiCaption, phi] : kPairs) {
        r.add(QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"20%\">%2</td><td width=\"30%\">%3</td>"
                             "<td width=\"20%\">%4</td></tr>")
                  .arg(r.caption(slendernessCaption), slendernesses(r.text(slenderness)), r.caption(phiCaption),
                       phis(r.text(phi))));
    }
    r.add(QStringLiteral("</table><p>Провода:</p>") + QLatin1String(kTable) +
          QStringLiteral("<thead><tr><td width=\"12%\" bgcolor=\"#e8e8e8\"></td>"));
    for (std::size_t wire = 1; wire <= kWireCount; ++wire) {
        r.add(QStringLiteral("<td width=\"11%\" bgcolor=\"#e8e8e8\" align=\"center\"><b>%1</b></td>").arg(wire));
    }
    r.add(QStringLiteral("</tr></thead>"));
    // The caption of the positions names their unit; the weights are per metre.
    const std::array<std::pair<QString, std::array<Field, kWireCount>>, 3> kWireRows{{
        {r.caption("Label25"), kWirePositions},
        {r.caption("Label23") + QStringLiteral(", ") + report::kWeightUnit.toString(), kWireWeights},
        {r.caption("Label24") + QStringLiteral(", ") + report::kWeightUnit.toString(), kWireWeightsIce},
    }};
    std::vector<Column> wires;
    for (std::size_t wire = 0; wire < kWireCount; ++wire) {
        wires.emplace_back(std::vector<std::string>{r.text(kWirePositions.at(wire)), r.text(kWireWeights.at(wire)),
                                                    r.text(kWireWeightsIce.at(wire))});
    }
    for (const auto& [caption, fields] : kWireRows) {
        r.add(QStringLiteral("<tr><td>%1</td>").arg(caption));
        for (std::size_t wire = 0; wire < kWireCount; ++wire) {
            r.add(QStringLiteral("<td align=\"right\">%1</td>").arg(wires.at(wire)(r.text(fields.at(wire)))));
        }
        r.add(QStringLiteral("</tr>"));
    }
    const std::string flag = r.form().text(Field::Text15);
    const QString governing = flag == "1" ? r.caption("Label2") : flag == "0" ? r.caption("Label3") : QString();
    const Column forces({r.text(Field::txtQp), r.text(Field::txtZ1)});
    r.add(QStringLiteral("</table>") + QLatin1String(kGap) + QLatin1String(kTable) +
          QStringLiteral("<tr><td width=\"72%\">Опорная реакция ригеля</td><td>%1</td></tr>"
                         "<tr><td>Усилие в раскосе</td><td>%2</td></tr>"
                         "<tr><td>Момент, по которому рассчитан сжатый пояс</td><td>%3</td></tr></table>")
              .arg(forces(r.text(Field::txtQp), report::kForceUnit), forces(r.text(Field::txtZ1), report::kForceUnit),
                   governing));
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
    const auto verdicts = judgeStep3(r.form(), r.measured());
    const auto header = [&r](const char* left, const char* right) {
        r.add(QStringLiteral("<tr bgcolor=\"#e8e8e8\"><td width=\"26%\"></td><td width=\"21%\" align=\"center\"><b>%1"
                             "</b></td><td width=\"4%\"></td><td width=\"21%\" align=\"center\"><b>%2</b></td>"
                             "<td width=\"28%\" align=\"center\"><b>Вывод</b></td></tr>")
                  .arg(r.caption(left), r.caption(right)));
    };
    // As on the form, the force row has the force a diagonal carries on the
    // left, the force it gets on the right.
    const auto left = [](const Step3Row& row) { return row.member ? row.demand : row.capacity; };
    const auto right = [](const Step3Row& row) { return row.member ? row.capacity : row.demand; };
    std::vector<std::string> lefts;
    std::vector<std::string> rights;
    for (const Step3Row& row : kStep3Rows) {
        lefts.push_back(r.text(left(row)));
        rights.push_back(r.text(right(row)));
    }
    const Column leftColumn(lefts);
    const Column rightColumn(rights);
    // The first heading comes again at the top of a page the table runs on to.
    r.add(QLatin1String(kTable) + QStringLiteral("<thead>"));
    header("Label30", "Label31");
    r.add(QStringLiteral("</thead>"));
    for (std::size_t i = 0; i < kStep3Rows.size(); ++i) {
        const Step3Row& row = kStep3Rows.at(i);
        // The force row has headings of its own.
        const bool force = !row.member.has_value();
        if (force) {
            header("Label41", "Label42");
        }
        const std::optional<Verdict>& verdict = verdicts.at(i);
        const QString judged = !verdict ? QString()
                                        : QStringLiteral("<span style=\"color: %1;\">%2</span>")
                                              .arg(verdictTextColour(verdict->kind).name(), escaped(verdict->text));
        const QStringView unit = force ? report::kForceUnit : report::kAreaUnit;
        r.add(QStringLiteral("<tr><td>%1</td><td>%2</td><td align=\"center\"><b>%3</b></td>"
                             "<td>%4</td><td>%5</td></tr>")
                  .arg(r.caption(kRowCaptions.at(i).first), leftColumn(r.text(left(row)), unit),
                       r.caption(kRowCaptions.at(i).second), rightColumn(r.text(right(row)), unit), judged));
    }
    r.add(QStringLiteral("</table>"));
}

// The girder's inspections and what they come to, when it has any: the
// nominal angles and the year installed, the inspections by date, each
// member kind's life and the replacement in the words of the dialog and of
// prochnar-calc, and the chart of thinning with the report's date as today,
// painted at 300 dots an inch.
void inspections(Report& r, const QDate& today)
{
    const GirderHistory& history = r.history();
    if (history.inspections.empty()) {
        return;
    }
    r.add(QLatin1String(kGap) + QStringLiteral("<h3>Осмотры и остаточный срок</h3>"));
    QStringList facts;
    if (history.installed) {
        facts << QStringLiteral("Год установки: <b>%1</b>").arg(*history.installed);
    }
    for (const auto& [member, name] : {std::pair{Member::Chord, "поясов"}, std::pair{Member::Diagonals, "раскосов"}}) {
        if (const std::optional<std::size_t> angle = history.angleOf(member)) {
            facts << QStringLiteral("уголок %1: <b>%2</b>")
                         .arg(QString::fromUtf8(name), escaped(designation(angleCatalogue()[*angle])));
        }
    }
    if (!facts.isEmpty()) {
        r.add(QStringLiteral("<p>%1.</p>").arg(facts.join(QStringLiteral("; "))));
    }
    std::vector<Inspection> dated = history.inspections;
    std::ranges::stable_sort(dated, [](const Inspection& a, const Inspection& b) { return a.date < b.date; });
    std::vector<std::string> chords;
    std::vector<std::string> diagonals;
    const auto mm = [](std::optional<int> tenths) {
        return tenths ? QString::number(*tenths / 10) + QStringLiteral(",") + QString::number(*tenths % 10) : QString();
    };
    for (const Inspection& inspection : dated) {
        chords.push_back(mm(inspection.chordTenths).toStdString());
        diagonals.push_back(mm(inspection.diagonalTenths).toStdString());
    }
    const Column chordColumn(chords);
    const Column diagonalColumn(diagonals);
    r.add(QLatin1String(kTable) +
          QStringLiteral("<thead><tr bgcolor=\"#e8e8e8\"><td width=\"16%\"><b>Дата</b></td><td width=\"20%\" "
                         "align=\"center\"><b>Полка пояса, мм</b></td><td width=\"20%\" align=\"center\"><b>Полка "
                         "раскосов, мм</b></td><td width=\"44%\"><b>Примечание</b></td></tr></thead>"));
    for (std::size_t row = 0; row < dated.size(); ++row) {
        r.add(QStringLiteral("<tr><td>%1</td><td align=\"center\">%2</td><td align=\"center\">%3</td><td>%4</td></tr>")
                  .arg(escaped(dateText(dated.at(row).date)), chordColumn(chords.at(row)),
                       diagonalColumn(diagonals.at(row)), escaped(visibleText(dated.at(row).note))));
    }
    r.add(QStringLiteral("</table>"));
    const MemberLife chord = lifeOf(r.form(), history, Member::Chord);
    const MemberLife diagonal = lifeOf(r.form(), history, Member::Diagonals);
    const std::optional<std::string> replacement = replacementText(chord, diagonal);
    r.add(QLatin1String(kGap) + QStringLiteral("<p>Пояса: %1<br>Раскосы: %2<br><b>%3</b></p>")
                                    .arg(escaped(memberLifeText(chord)), escaped(memberLifeText(diagonal)),
                                         replacement ? QStringLiteral("Вывод: ") + escaped(*replacement)
                                                     : QStringLiteral("Год замены не определен.")));

    // Laid out at 760 × 425, a little smaller than the dialog shows it, for
    // larger letters, and painted at 300 dots an inch across the 17 cm of
    // the page's text.
    constexpr int kWidthMm = 170;
    constexpr int kHeightMm = 95;
    const QSize laidOut(760, 425);
    const qreal scale = kWidthMm / 25.4 * 300 / laidOut.width();
    const QImage image = thinningChartImage(
        r.form(), history, decimalYear({.year = today.year(), .month = today.month(), .day = today.day()}), laidOut,
        scale);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    constexpr double kPixelsPerMm = 96 / 25.4;
    r.add(QLatin1String(kGap) +
          QStringLiteral(
              "<p><img src=\"data:image/png;base64,%1\" width=\"%2\" height=\"%3\"></p><p><small>Точки — "
              "измеренные толщины (в год установки — толщина уголка по каталогу); сплошная линия — скорость "
              "утонения, по которой считается срок, через последний осмотр до предельной толщины; штриховая "
              "— предельная толщина; пунктир — дата отчета. Скорость утонения v — большая из двух: наклон прямой "
              "наименьших квадратов по всем точкам и наклон между двумя последними; предельная толщина "
              "tпред — наименьшая толщина полки номинального уголка при исходных данных расчета; срок τ = "
              "(tпосл − tпред) / v с округлением вниз до 0,1 года; год замены — целая часть даты последней "
              "точки + τ. Не учтены язвенная коррозия, неравномерный износ и неточность скорости по немногим "
              "точкам.</small></p>")
              .arg(QString::fromLatin1(png.toBase64()))
              .arg(std::lround(kWidthMm * kPixelsPerMm))
              .arg(std::lround(kHeightMm * kPixelsPerMm)));
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

// Keeps together on a page what a page should not part: a table that fits
// on one (the signature's lines and what they are for among them) and the
// heading or lead-in line before a table or paragraph with what it heads.
void keepTogether(QTextDocument& document, qreal pageHeight)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const auto pageOf = [pageHeight](qreal y) { return std::floor(y / pageHeight); };
    QTextBlock lead;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        QTextFrame* frame = it.currentFrame();
        const QTextBlock block = it.currentBlock();
        if (frame == nullptr && block.text().trimmed().isEmpty()) {
            continue; // room, which may end a page
        }
        if (frame != nullptr) {
            // Lays the document out again up to the frame's end, after a break moved it.
            (void)layout->blockBoundingRect(frame->lastCursorPosition().block());
        }
        const QRectF box = frame != nullptr ? layout->frameBoundingRect(frame) : layout->blockBoundingRect(block);
        const bool parted = frame != nullptr && pageOf(box.top()) != pageOf(box.bottom()) && box.height() < pageHeight;
        if (lead.isValid()) {
            const QRectF title = layout->blockBoundingRect(lead);
            if (parted || pageOf(title.top()) != pageOf(std::min(box.bottom(), box.top() + 2 * title.height()))) {
                QTextBlockFormat format = lead.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(lead).setBlockFormat(format);
            }
        } else if (parted) {
            QTextFrameFormat format = frame->frameFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            frame->setFrameFormat(format);
        }
        const bool leads = block.blockFormat().headingLevel() > 0 || block.text().endsWith(QLatin1Char(':'));
        lead = frame == nullptr && leads ? block : QTextBlock();
    }
}

// Where a page's text goes on the device: 2 cm from the edges of the paper,
// where the device lets it; the foot under it, in half that room.
struct PageFrame {
    QRectF body;
    qreal room = 0;
};

PageFrame pageFrame(QPagedPaintDevice& device)
{
    const int dpi = device.logicalDpiY();
    const QPageLayout layout = device.pageLayout();
    const QMarginsF printable = layout.marginsPixels(dpi);
    const qreal room = 20.0 / 25.4 * dpi;
    const QRectF paint = layout.paintRectPixels(dpi);
    return {QRectF(QPointF(), paint.size())
                .adjusted(std::max(0.0, room - printable.left()), std::max(0.0, room - printable.top()),
                          -std::max(0.0, room - printable.right()), -std::max(0.0, room - printable.bottom())),
            room};
}

// Lays the report out in pages of the frame's text, for the device.
void layOut(QTextDocument& document, const QString& html, QPagedPaintDevice& device, const PageFrame& frame)
{
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 9));
    document.setDocumentMargin(0);
    document.setHtml(html);
    document.setPageSize(frame.body.size());
    keepTogether(document, frame.body.height());
}

void paintPage(QPainter& painter, QTextDocument& document, int page, const PageFrame& frame)
{
    const QRectF& body = frame.body;
    painter.save();
    painter.translate(body.left(), body.top() - page * body.height());
    document.drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
    painter.restore();
}

void paintFoot(QPainter& painter, const PageFrame& frame, const QString& left, const QString& right)
{
    const QRectF foot(frame.body.left(), frame.body.bottom(), frame.body.width(), frame.room / 2);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    if (!left.isEmpty()) {
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(left, Qt::ElideRight, static_cast<int>(foot.width() * 0.75)));
    }
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, right);
}

} // namespace

QString reportHtml(const Form& form, const ReportFacts& facts, const FormCaptions& captions)
{
    Report r(form, captions, facts.history);
    r.add(QLatin1String(kHead) +
          QStringLiteral("<h2>Расчет остаточной прочности ригеля жесткой поперечины</h2><p>Отчет "
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
    identity(r, facts.identity);
    conclusionAndSketch(r);
    step1(r);
    step2(r);
    step3(r);
    inspections(r, facts.made.isValid() ? facts.made.date() : QDate::currentDate());
    messages(r, facts.presses);
    // One row, so that the lines and what they are for stay on one page.
    r.add(
        QLatin1String(kGap) + QLatin1String(kGap) +
        QStringLiteral(
            "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\"><tr><td width=\"22%\"><br>Расчет проверил:</td>"
            "<td width=\"30%\" align=\"center\"><br>________________________<br><small>подпись</small></td>"
            "<td width=\"30%\" align=\"center\"><br>________________________<br><small>фамилия, инициалы</small>"
            "</td><td width=\"18%\" align=\"center\"><br>______________<br><small>дата</small></td></tr></table>"));
    // The method after the signature, from a page of its own; or only the
    // girder's own numbers, right after it.
    r.add((facts.method == ReportMethod::Whole ? report::formulasHtml(form) : report::ownFormulasHtml(form)) +
          QStringLiteral("</body></html>"));
    return r.html();
}

QString sharedMethodHtml()
{
    return QLatin1String(kHead) + report::sharedFormulasHtml() + QStringLiteral("</body></html>");
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
    const PageFrame frame = pageFrame(device);
    layOut(document, html, device, frame);
    QPainter painter(&device);
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            device.newPage();
        }
        paintPage(painter, document, page, frame);
        paintFoot(painter, frame, {}, QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages));
    }
}

ReportPages::ReportPages(QPagedPaintDevice& device) : device_{device}
{
    const PageFrame frame = pageFrame(device);
    body_ = frame.body;
    room_ = frame.room;
    painter_ = std::make_unique<QPainter>(&device);
}

ReportPages::~ReportPages() = default;

void ReportPages::addDocument(const QString& html, const QString& foot)
{
    QTextDocument document;
    const PageFrame frame{body_, room_};
    layOut(document, html, device_, frame);
    for (int page = 0; page < document.pageCount(); ++page) {
        newPage(foot);
        painter_->resetTransform();
        paintPage(*painter_, document, page, frame);
    }
}

QPainter& ReportPages::newPage(const QString& foot)
{
    if (pages_++ > 0) {
        device_.newPage();
    }
    painter_->resetTransform();
    paintFoot(*painter_, {body_, room_}, foot, QStringLiteral("Страница %1").arg(pages_));
    painter_->translate(body_.topLeft());
    return *painter_;
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
