// Starts a window and quits as soon as it has been shown and painted, so that
// the whole run of the process measures start-up to the first paint.
//   startup_probe --prochnar   the calculator's main window, as the program builds it
//   startup_probe --empty      an empty window of the same size: the floor of any
//                              Qt Widgets program
//   startup_probe --label      the same window with one line of text in the
//                              window's font: the floor of any window that shows
//                              text, which has to start the font database
// tools/bench.sh times both side by side.

#include "ui/main/main_window.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>
#include <string_view>

namespace {

// Quits the application once the watched window has handled its first paint.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // After this paint event is done and the frame is flushed.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const std::string_view mode = argc > 1 ? std::string_view(argv[1]) : std::string_view();
    if (mode != "--prochnar" && mode != "--empty" && mode != "--label") {
        std::fprintf(stderr, "usage: startup_probe --prochnar | --empty | --label\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (mode == "--prochnar") {
        window = std::make_unique<prochnar::MainWindow>();
    } else if (mode == "--label") {
        auto label = std::make_unique<QLabel>(QStringLiteral("Прочнар"));
        label->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
        window = std::move(label);
        window->resize(660, 532);
    } else {
        window = std::make_unique<QWidget>();
        window->resize(660, 532);
    }
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    return QApplication::exec();
}
