#include "ui/about/fit_caption.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLabel>

namespace prochnar {

void fitCaption(QLabel& label, double smallestPointSize)
{
    QFont font = label.font();
    const double room = label.contentsRect().width() - 2.0 * label.margin();
    while (font.pointSizeF() - 0.5 >= smallestPointSize &&
           QFontMetricsF(font, &label).horizontalAdvance(label.text()) > room) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label.setFont(font);
}

} // namespace prochnar
