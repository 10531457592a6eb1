#include "ui/main/girder_sketch.h"

#include "ui/main/verdict_colours.h"

#include "calc/angles.h"
#include "calc/fields.h"
#include "calc/verdicts.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace prochnar {

namespace {

const QColor kNotJudged{128, 128, 128};
const QColor kInk{40, 40, 40};

QColor colourOf(std::optional<VerdictKind> verdict) { return verdict ? verdictTextColour(*verdict) : kNotJudged; }

QString fieldText(const Form& form, Field field) { return QString::fromStdString(form.text(field)).trimmed(); }

// "1 панель", "3 панели", "8 панелей", "12 панелей".
QString panelsText(int panels)
{
    const int lastTwo = panels % 100;
    const int last = panels % 10;
    const char* word = (lastTwo >= 11 && lastTwo <= 14) ? "панелей"
                       : last == 1                      ? "панель"
                       : (last >= 2 && last <= 4)       ? "панели"
                                                        : "панелей";
    return QStringLiteral("%1 %2").arg(panels).arg(QString::fromUtf8(word));
}

QFont sketchFont(qreal units, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(static_cast<int>(units));
    font.setBold(bold);
    return font;
}

QPen memberPen(std::optional<VerdictKind> verdict, qreal width)
{
    QPen pen(colourOf(verdict), width);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A dimension line from a to b with ticks at its ends.
void dimension(QPainter& painter, QPointF a, QPointF b, bool vertical)
{
    painter.setPen(QPen(kInk, 1.2));
    painter.drawLine(a, b);
    const QPointF tick = vertical ? QPointF(5, 0) : QPointF(0, 5);
    painter.drawLine(a - tick, a + tick);
    painter.drawLine(b - tick, b + tick);
}

constexpr qreal kUnitsWide = 1000;

// Where the parts of the sketch stand, in its units.
struct Layout {
    qreal left = 60;         // the girder's side, from its first support
    qreal right = 530;       // to its second
    qreal top = 36;          // the upper chord
    qreal bottom = 126;      // the lower chord
    qreal sectionLeft = 560; // the cross section
    qreal sectionWidth = 60; //
    qreal legendLeft = 665;  // the words beside the members
    static constexpr qreal kMinHeight = 90;
    static constexpr qreal kMaxHeight = 170;
    static constexpr qreal kBelow = 72; // the dimensions under the girder
};

Layout layoutOf(const Lattice& lattice)
{
    Layout at;
    // Girders are long and low: the height is drawn to scale only within
    // bounds that leave the lattice and its words readable.
    const qreal height =
        std::clamp((at.right - at.left) * lattice.height / lattice.length, Layout::kMinHeight, Layout::kMaxHeight);
    at.bottom = at.top + height;
    at.sectionWidth = std::clamp(height * lattice.width / lattice.height, 24.0, 75.0);
    at.legendLeft = at.sectionLeft + at.sectionWidth + 30;
    return at;
}

void paintSide(QPainter& painter, const Layout& at, const GirderSketch& sketch)
{
    const Lattice& lattice = *sketch.lattice;
    const qreal step = (at.right - at.left) / lattice.panels;
    const auto node = [&](int i) { return at.left + step * i; };
    const auto [compressed, tensioned, diagonals] = sketch.verdicts;

    // The posts first, thin and grey: no row of step 3 checks them.
    painter.setPen(QPen(kNotJudged, 1.5));
    for (int i = 0; i <= lattice.panels; ++i) {
        painter.drawLine(QPointF(node(i), at.top), QPointF(node(i), at.bottom));
    }
    // Each diagonal falls towards the middle of the span.
    painter.setPen(memberPen(diagonals, 3));
    for (int i = 0; i < lattice.panels; ++i) {
        const bool leftHalf = 2 * i + 1 <= lattice.panels;
        painter.drawLine(QPointF(node(i), leftHalf ? at.top : at.bottom),
                         QPointF(node(i + 1), leftHalf ? at.bottom : at.top));
    }
    painter.setPen(memberPen(compressed, 7));
    painter.drawLine(QPointF(at.left, at.top), QPointF(at.right, at.top));
    painter.setPen(memberPen(tensioned, 7));
    painter.drawLine(QPointF(at.left, at.bottom), QPointF(at.right, at.bottom));

    // The supports under the ends of the lower chord.
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(Qt::white);
    for (const qreal x : {at.left, at.right}) {
        painter.drawPolygon(
            QPolygonF({QPointF(x, at.bottom + 5), QPointF(x - 10, at.bottom + 22), QPointF(x + 10, at.bottom + 22)}));
    }
    painter.setBrush(Qt::NoBrush);

    // The height beside the first support, the length and panels under the girder.
    painter.setFont(sketchFont(15));
    dimension(painter, QPointF(at.left - 30, at.top), QPointF(at.left - 30, at.bottom), true);
    painter.save();
    painter.translate(at.left - 38, (at.top + at.bottom) / 2);
    painter.rotate(-90);
    painter.drawText(QRectF(-100, -20, 200, 20), Qt::AlignCenter, QStringLiteral("h = %1 м").arg(sketch.height));
    painter.restore();
    const qreal y = at.bottom + 40;
    dimension(painter, QPointF(at.left, y), QPointF(at.right, y), false);
    for (int i = 1; i < lattice.panels; ++i) {
        painter.drawLine(QPointF(node(i), y - 3), QPointF(node(i), y + 3));
    }
    painter.drawText(
        QRectF(at.left, y + 4, at.right - at.left, 22), Qt::AlignHCenter | Qt::AlignTop,
        QStringLiteral("Lp = %1 м, %2, lп = %3 м").arg(sketch.length, panelsText(lattice.panels), sketch.panel));
}

void paintSection(QPainter& painter, const Layout& at, const GirderSketch& sketch)
{
    const QRectF box(at.sectionLeft, at.top, at.sectionWidth, at.bottom - at.top);
    const auto [compressed, tensioned, diagonals] = sketch.verdicts;
    painter.setPen(memberPen(diagonals, 2));
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.setPen(QPen(kNotJudged, 1));
    painter.drawRect(box);
    // An angle at each corner, its legs along the faces.
    const qreal leg = std::min(14.0, box.width() / 3);
    const auto angle = [&](QPointF corner, qreal dx, qreal dy, std::optional<VerdictKind> verdict) {
        painter.setPen(memberPen(verdict, 4));
        painter.drawLine(corner, corner + QPointF(dx * leg, 0));
        painter.drawLine(corner, corner + QPointF(0, dy * leg));
    };
    angle(box.topLeft(), 1, 1, compressed);
    angle(box.topRight(), -1, 1, compressed);
    angle(box.bottomLeft(), 1, -1, tensioned);
    angle(box.bottomRight(), -1, -1, tensioned);
    painter.setPen(kInk);
    painter.setFont(sketchFont(15));
    painter.drawText(QRectF(box.center().x() - 60, box.top() - 26, 120, 20), Qt::AlignCenter,
                     QStringLiteral("сечение"));
    dimension(painter, QPointF(box.left(), at.bottom + 40), QPointF(box.right(), at.bottom + 40), false);
    painter.drawText(QRectF(box.center().x() - 60, at.bottom + 44, 120, 22), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("b = %1 м").arg(sketch.width));
}

// Each member named beside the girder at its height, in its colour.
void paintWords(QPainter& painter, const Layout& at, const GirderSketch& sketch)
{
    const std::array<qreal, kLatticeMembers.size()> heights{at.top, (at.top + at.bottom) / 2, at.bottom};
    const std::array<std::size_t, kLatticeMembers.size()> order{0, 2, 1}; // chord, diagonals, chord, top down
    painter.setFont(sketchFont(15, true));
    for (std::size_t line = 0; line < order.size(); ++line) {
        const std::size_t member = order.at(line);
        const std::optional<VerdictKind> verdict = sketch.verdicts.at(member);
        const qreal y = heights.at(line);
        painter.setPen(memberPen(verdict, member == 2 ? 3 : 7));
        painter.drawLine(QPointF(at.legendLeft, y), QPointF(at.legendLeft + 22, y));
        const std::string_view name = memberName(kLatticeMembers.at(member));
        const std::string_view state = memberStateText(kLatticeMembers.at(member), verdict);
        QString words = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        if (!sketch.angles.at(member).isEmpty()) {
            words += QStringLiteral(", ") + sketch.angles.at(member);
        }
        words += QStringLiteral(" — ") + QString::fromUtf8(state.data(), static_cast<qsizetype>(state.size()));
        painter.setPen(colourOf(verdict));
        painter.drawText(QRectF(at.legendLeft + 30, y - 22, kUnitsWide - at.legendLeft - 30, 44),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, words);
    }
}

} // namespace

GirderSketch girderSketchOf(const Form& form, const MeasuredSections& measured)
{
    GirderSketch sketch;
    sketch.lattice = latticeOf(form);
    const auto verdicts = judgeGirder(form, measured).verdicts;
    for (std::size_t i = 0; i < kLatticeMembers.size(); ++i) {
        const LatticeMember member = kLatticeMembers.at(i);
        sketch.verdicts.at(i) = memberVerdict(member, verdicts);
        const Member kind = member == LatticeMember::Diagonals ? Member::Diagonals : Member::Chord;
        const SectionFields fields = sectionFields(kind);
        const std::optional<MeasuredSection>& section = measured.of(kind);
        const std::optional<Angle> thinned =
            section ? thinnedAngle(angleCatalogue()[section->angle], section->tenths) : std::nullopt;
        if (thinned && holdsAngle(*thinned, form.text(fields.area), form.text(fields.radius))) {
            sketch.angles.at(i) = QString::fromStdString(designation(angleCatalogue()[section->angle]) + ", полка " +
                                                         thicknessText(*thinned) + " мм");
        } else if (const auto held = heldAngle(form, kind)) {
            sketch.angles.at(i) = QString::fromStdString(designation(angleCatalogue()[*held]));
        }
    }
    sketch.length = fieldText(form, Field::txtLp);
    sketch.panel = fieldText(form, Field::txtLpp);
    sketch.height = fieldText(form, Field::txtH);
    sketch.width = fieldText(form, Field::txtB);
    return sketch;
}

QSizeF sketchUnits(const GirderSketch& sketch)
{
    return {kUnitsWide, sketch.lattice ? layoutOf(*sketch.lattice).bottom + Layout::kBelow : 120};
}

void paintGirderSketch(QPainter& painter, const QRectF& target, const GirderSketch& sketch)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QSizeF units = sketchUnits(sketch);
    const qreal scale = std::min(target.width() / units.width(), target.height() / units.height());
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-units.width() / 2, -units.height() / 2);
    if (!sketch.lattice) {
        painter.setPen(kInk);
        painter.setFont(sketchFont(18));
        painter.drawText(QRectF(QPointF(), units).adjusted(20, 0, -20, 0), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("Схема не построена: длина поперечины Lp, длина элемента lп, высота h и "
                                        "ширина b ячейки должны быть числами больше нуля, а панелей — не больше %1.")
                             .arg(kMaxLatticePanels));
    } else {
        const Layout at = layoutOf(*sketch.lattice);
        paintSide(painter, at, sketch);
        paintSection(painter, at, sketch);
        paintWords(painter, at, sketch);
    }
    painter.restore();
}

QImage girderSketchImage(const GirderSketch& sketch, int width)
{
    const QSizeF units = sketchUnits(sketch);
    const int height = static_cast<int>(std::lround(width * units.height() / units.width()));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintGirderSketch(painter, QRectF(image.rect()), sketch);
    return image;
}

GirderSketchWidget::GirderSketchWidget(const Form& form, MeasuredNow measured, QWidget* parent)
    : QWidget(parent), form_{form}, measured_{std::move(measured)}
{
    setAccessibleName(QStringLiteral("Схема ригеля"));
    setMinimumSize(500, 145);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QSize GirderSketchWidget::sizeHint() const { return {760, 221}; }

void GirderSketchWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    paintGirderSketch(painter, QRectF(rect()).adjusted(6, 6, -6, -6), girderSketchOf(form_, measured_()));
}

GirderSketchWindow::GirderSketchWindow(const Form& form, MeasuredNow measured, QWidget* parent)
    : QDialog(parent), sketch_{new GirderSketchWidget(form, std::move(measured), this)}
{
    setWindowTitle(QStringLiteral("Схема ригеля — Прочнар"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sketch_, 1);
    layout->addWidget(buttons);
}

void GirderSketchWindow::refresh() { sketch_->update(); }

} // namespace prochnar
