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

// A series of lines, added to the chart by the caller.
QLineSeries* line(QChart& chart, const QString& name, const QPen& pen, const QList<QPointF>& points)
{
    auto* series = new QLineSeries(&chart);
    series->setName(name);
    series->setPen(pen);
    series->append(points);
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
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setBackgroundRoundness(0);

    // The range of the time axis: the points, today, and where the lines end.
    double first = today;
    double last = today;
    double thickest = 1;
    // Each member kind's series in the legend's order; the limits span the
    // time axis, known at the end.
    std::vector<QAbstractSeries*> series;
    std::vector<std::pair<QLineSeries*, double>> limits;
    const std::array<MemberLook, 2> looks{{
        {.member = Member::Chord, .name = "Пояса", .colour = QColor(0x1f, 0x5f, 0xa8)},
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
        series.push_back(measured);
        first = std::min(first, points.front().year);
        last = std::max(last, points.back().year);

        const std::optional<std::size_t> angle = history.angleOf(look.member);
        const int limitTenths = angle ? nominalFlangeLimit(form, look.member, angleCatalogue()[*angle]).value_or(0) : 0;
        if (const std::optional<double> rate = thinningRate(points)) {
            // Through the last point at the rate that governs, on to the limit.
            const ThicknessAt& end = points.back();
            const double endMm = end.tenths / 10.0;
            double until = end.year;
            if (limitTenths > 0 && *rate > 0 && end.tenths > limitTenths) {
                until = std::min(end.year + (endMm - limitTenths / 10.0) / *rate, end.year + kLongestLine);
            }
            const auto at = [&](double year) { return QPointF(year, endMm - *rate * (year - end.year)); };
            series.push_back(
                line(*chart, name + QStringLiteral(": %1 мм/год").arg(locale.toString(std::max(*rate, 0.0), 'f', 3)),
                     QPen(look.colour, 2), {at(points.front().year), at(until)}));
            last = std::max(last, until);
        }
        if (limitTenths > 0) {
            QLineSeries* limit =
                line(*chart, name + QStringLiteral(": предел %1 мм").arg(locale.toString(limitTenths / 10.0, 'f', 1)),
                     QPen(look.colour, 1.5, Qt::DashLine), {});
            series.push_back(limit);
            limits.emplace_back(limit, limitTenths / 10.0);
        }
    }
    const double from = std::floor(first) - 1;
    const double to = std::ceil(last) + 1;
    for (const auto& [limit, mm] : limits) {
        limit->append({{from, mm}, {to, mm}});
    }
    const double top = std::ceil(thickest) + 1;
    series.push_back(line(*chart, QStringLiteral("Сегодня"), QPen(QColor(0x60, 0x60, 0x60), 1.5, Qt::DotLine),
                          {{today, 0}, {today, top}}));
    for (QAbstractSeries* each : series) {
        chart->addSeries(each);
    }

    auto* years = new QValueAxis(chart);
    years->setTitleText(QStringLiteral("Время, год"));
    years->setRange(from, to);
    years->setLabelFormat(QStringLiteral("%.0f"));
    years->applyNiceNumbers();
    auto* thickness = new QValueAxis(chart);
    thickness->setTitleText(QStringLiteral("Толщина полки, мм"));
    thickness->setRange(0, top);
    thickness->setTickCount(static_cast<int>(top) + 1); // a line a millimetre
    thickness->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(years, Qt::AlignBottom);
    chart->addAxis(thickness, Qt::AlignLeft);
    for (QAbstractSeries* each : series) {
        each->attachAxis(years);
        each->attachAxis(thickness);
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
