#include "ui/main/on_top.h"

#include <QWidget>
#include <QWindow>

namespace prochnar {

void SetOnTop(QWidget* window, bool on)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    QWindow* handle = window->windowHandle();
    if (handle == nullptr) {
        // Not yet on screen: the flag is taken when the window is created.
        window->setWindowFlags(flags);
        return;
    }
    // QWidget::setWindowFlags would hide the window and build it anew; the
    // platform window takes the flag in place instead, so the window neither
    // moves nor blinks. The widget is told the same flags for its records.
    window->overrideWindowFlags(flags);
    handle->setFlags(flags);
}

} // namespace prochnar
