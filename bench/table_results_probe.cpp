// Opens the results window on a table of girders, waits until every row is
// checked and prints how long that took; run under /usr/bin/time -v it tells
// the window's peak memory on a large table.
//   table_results_probe TABLE.csv [--save OUT.csv] [--grab PICTURE.png] [--right] [--plan] [--report OUT.pdf]
// --save writes the results as "Сохранить результаты…" does; --grab saves a
// picture of the window once it is shown (QT_QPA_PLATFORM=offscreen works),
// with --right scrolled to its last columns, with --plan on the plan's tab;
// --report writes the section's report as "Отчёт по участку…" does.

#include "ui/main/table_results_window.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <QTabWidget>

#include <cstdio>
#include <string_view>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QString table;
    QString save;
    QString grab;
    QString report;
    bool right = false;
    bool plan = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--right" || arg == "--plan") {
            (arg == "--right" ? right : plan) = true;
        } else if ((arg == "--save" || arg == "--grab" || arg == "--report") && i + 1 < argc) {
            (arg == "--save" ? save : arg == "--grab" ? grab : report) = QString::fromLocal8Bit(argv[++i]);
        } else if (table.isEmpty() && !arg.starts_with("--")) {
            table = QString::fromLocal8Bit(argv[i]);
        } else {
            table.clear();
            break;
        }
    }
    if (table.isEmpty()) {
        std::fprintf(stderr,
                     "usage: table_results_probe TABLE.csv [--save OUT.csv] [--grab PICTURE.png] [--right] [--plan]\n"
                     "                           [--report OUT.pdf]\n");
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
    if (!report.isEmpty()) {
        window.setOpenQuestion([](QWidget*, const QString&) { return false; });
        const QString why = window.startSectionReport(report);
        while (why.isEmpty() && window.writingSectionReport()) {
            QApplication::processEvents(QEventLoop::AllEvents, 100);
        }
        std::printf("report%s%s\n", why.isEmpty() ? " written" : ": ", qPrintable(why));
    }
    if (!grab.isEmpty()) {
        auto* tabs = window.findChild<QTabWidget*>();
        tabs->setCurrentIndex(plan ? 1 : 0);
        if (right) {
            QWidget* shown = tabs->currentWidget();
            auto* view = qobject_cast<QAbstractScrollArea*>(shown);
            QScrollBar* across = (view ? view : shown->findChild<QAbstractScrollArea*>())->horizontalScrollBar();
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
