#include "ui/about/hand_cursor.h"

#include <QPixmap>

// The picture lives in a resource of this static library; the linker keeps
// it only when something refers to it.
static void initHandResource() { Q_INIT_RESOURCE(about_window); }

namespace prochnar {

QCursor handCursor()
{
    initHandResource();
    return QCursor(QPixmap(QStringLiteral(":/prochnar/about/hand.xpm")), kHandHotSpot.x(), kHandHotSpot.y());
}

} // namespace prochnar
