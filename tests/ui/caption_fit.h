#pragma once

// Whether a caption reads in full: the text is drawn as a label or button
// draws it, laid out in its box but without clipping, and no ink may fall
// outside the box.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QWidget>

namespace prochnar::test {

// True when no ink of the text falls outside the box grown by the given
// margin (the part of the widget around its text).
inline bool inkFits(const QWidget* widget, const QFont& font, const QRect& box, int flags, const QString& text,
                    int around = 0)
{
    constexpr int margin = 48;
    QImage image(box.size() + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(widget->logicalDpiY() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(margin, margin), box.size()), flags, text);
    }
    const QRect inside = QRect(QPoint(margin, margin), box.size()).adjusted(-around, -around, around, around);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inside.contains(x, y) && image.pixel(x, y) != qRgb(255, 255, 255)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace prochnar::test
