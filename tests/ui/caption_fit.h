#pragma once

// Whether a caption reads in full: the text drawn as its widget draws it, in
// its box (grown by the margin around it) but without clipping, leaves no ink
// outside the box.

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace prochnar::test {

inline bool inkFits(const QWidget* widget, const QFont& font, const QRect& box, int flags, const QString& text,
                    int around = 0)
{
    constexpr int margin = 48;
    QImage image(box.size() + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(widget->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(widget->logicalDpiY() / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QRect(QPoint(margin, margin), box.size()), flags, text);
    painter.end();
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
