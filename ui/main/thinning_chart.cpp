#include "ui/main/thinning_chart.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace prochnar {

namespace {

// A remaining life far beyond the inspections is drawn only this far.
constexpr double kLongestLine = 100;

struct MemberLook {
    Member member;
    const char* name;
    QColor colour;
};

QLocale chartLocale()
{
    QLocale locale(QLocale::Russian, QLocale::Russia);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QLineSeries* line(QChart& chart, const QString& name, const QPen& pen, const QList<QPointF>& points)
{
    auto* series = new QLineSeries(&chart);
    series->setName(name);
    series->setPen(pen);
    series->append(points);
    chart.addSeries(series);
    return series;
}

} // namespace

QChart* thinningChart(const Form& form, const GirderHistory& history, double today)
{
    const QLocale locale = chartLocale();
    auto* chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(locale);
    chart->setTitle(QStringLiteral("Утонение полок"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setBackgroundRoundness(0);

    // The range of the time axis: the points, today, and where the lines end.
    double first = today;
    double last = today;
    double thickest = 1;
    struct Limit {
        double mm;
        QPen pen;
        QString name;
    };
    std::vector<Limit> limits;
    const std::array<MemberLook, 2> looks{{
        {.member = Member::Chord, .name = "Пояс", .colour = QColor(0x1f, 0x5f, 0xa8)},
        {.member = Member::Diagonals, .name = "Раскосы", .colour = QColor(0xc0, 0x56, 0x1b)},
    }};
    for (const MemberLook& look : looks) {
        const std::vector<ThicknessAt> points = thicknessPoints(history, look.member);
        if (points.empty()) {
            continue;
        }
        const QString name = QString::fromUtf8(look.name);
        auto* measured = new QScatterSeries(chart);
        measured->setName(name + QStringLiteral(": измерено"));
        measured->setColor(look.colour);
        measured->setBorderColor(look.colour);
        measured->setMarkerSize(9);
        for (const ThicknessAt& point : points) {
            measured->append(point.year, point.tenths / 10.0);
            thickest = std::max(thickest, point.tenths / 10.0);
        }
        first = std::min(first, points.front().year);
        last = std::max(last, points.back().year);

        const std::optional<std::size_t> angle = history.angleOf(look.member);
        const int limitTenths = angle ? nominalFlangeLimit(form, look.member, angleCatalogue()[*angle]).value_or(0) : 0;
        const std::optional<double> rate = thinningRate(points);
        if (rate) {
            // Through the last point at the rate that governs, on to the limit.
            const ThicknessAt& end = points.back();
            const double endMm = end.tenths / 10.0;
            double until = end.year;
            if (limitTenths > 0 && *rate > 0 && end.tenths > limitTenths) {
                until = std::min(end.year + (endMm - limitTenths / 10.0) / *rate, end.year + kLongestLine);
            }
            const auto at = [&](double year) { return QPointF(year, endMm - *rate * (year - end.year)); };
            QPen pen(look.colour, 2);
            line(*chart, name + QStringLiteral(": %1 мм/год").arg(locale.toString(std::max(*rate, 0.0), 'f', 3)), pen,
                 {at(points.front().year), at(until)});
            last = std::max(last, until);
        }
        if (limitTenths > 0) {
            QPen pen(look.colour, 1.5, Qt::DashLine);
            limits.push_back(
                {.mm = limitTenths / 10.0,
                 .pen = pen,
                 .name = name + QStringLiteral(": предел %1 мм").arg(locale.toString(limitTenths / 10.0, 'f', 1))});
        }
        chart->addSeries(measured); // over its lines
    }
    const double from = std::floor(first) - 1;
    const double to = std::ceil(last) + 1;
    for (const Limit& limit : limits) {
        line(*chart, limit.name, limit.pen, {{from, limit.mm}, {to, limit.mm}});
    }
    const double top = std::ceil(thickest) + 1;
    line(*chart, QStringLiteral("Сегодня"), QPen(QColor(0x60, 0x60, 0x60), 1.5, Qt::DotLine),
         {{today, 0}, {today, top}});

    auto* years = new QValueAxis(chart);
    years->setTitleText(QStringLiteral("Время, год"));
    years->setRange(from, to);
    years->setLabelFormat(QStringLiteral("%.0f"));
    years->applyNiceNumbers();
    auto* thickness = new QValueAxis(chart);
    thickness->setTitleText(QStringLiteral("Толщина полки, мм"));
    thickness->setRange(0, top);
    thickness->setLabelFormat(QStringLiteral("%.1f"));
    chart->addAxis(years, Qt::AlignBottom);
    chart->addAxis(thickness, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(years);
        series->attachAxis(thickness);
    }
    return chart;
}

QImage thinningChartImage(const Form& form, const GirderHistory& history, double today, QSize size, qreal scale)
{
    QGraphicsScene scene;
    QChart* chart = thinningChart(form, history, today);
    scene.addItem(chart); // the scene owns it
    chart->resize(size);
    // The chart lays itself out on a posted event.
    QCoreApplication::sendPostedEvents();
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), QRectF(QPointF(), QSizeF(size)));
    return image;
}

} // namespace prochnar
