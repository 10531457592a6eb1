// Opens the results window on a table of girders, waits until every row is
// checked and prints how long that took; run under /usr/bin/time -v it tells
// the window's peak memory on a large table.
//   table_results_probe TABLE.csv [--save OUT.csv] [--grab PICTURE.png] [--right]
// --save writes the results as "Сохранить результаты…" does; --grab saves a
// picture of the window once it is shown (QT_QPA_PLATFORM=offscreen works),
// with --right scrolled to its last columns.

#include "ui/main/table_results_window.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>

#include <cstdio>
#include <string_view>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QString table;
    QString save;
    QString grab;
    bool right = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--right") {
            right = true;
        } else if ((arg == "--save" || arg == "--grab") && i + 1 < argc) {
            (arg == "--save" ? save : grab) = QString::fromLocal8Bit(argv[++i]);
        } else if (table.isEmpty() && !arg.starts_with("--")) {
            table = QString::fromLocal8Bit(argv[i]);
        } else {
            table.clear();
            break;
        }
    }
    if (table.isEmpty()) {
        std::fprintf(stderr, "usage: table_results_probe TABLE.csv [--save OUT.csv] [--grab PICTURE.png] [--right]\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    prochnar::TableResultsWindow window(
        table, [](const prochnar::MapForm&, const prochnar::GirderIdentity&, const prochnar::GirderHistory&) {});
    window.show();
    while (!window.finished()) {
        QApplication::processEvents(QEventLoop::AllEvents, 100);
    }
    const qint64 checked = clock.elapsed();
    std::printf("checked in %.2f s: %s\n", static_cast<double>(checked) / 1000.0,
                qPrintable(window.findChild<QLabel*>()->text()));
    if (!save.isEmpty()) {
        clock.restart();
        const QString why = window.saveTo(save);
        std::printf("saved in %.2f s%s%s\n", static_cast<double>(clock.elapsed()) / 1000.0, why.isEmpty() ? "" : ": ",
                    qPrintable(why));
    }
    if (!grab.isEmpty()) {
        if (right) {
            QScrollBar* across = window.findChild<QAbstractScrollArea*>()->horizontalScrollBar();
            across->setValue(across->maximum());
        }
        clock.restart();
        while (clock.elapsed() < 200) { // the window laid out and painted
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        if (!window.grab().save(grab)) {
            std::fprintf(stderr, "table_results_probe: the picture was not saved\n");
            return 1;
        }
    }
    return 0;
}
