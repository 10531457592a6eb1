#pragma once

#include <QMenu>

#include <vector>

class QAction;
class QPushButton;
class QWidget;

namespace prochnar {

class CalculationDocument;

// The menu of the button "Файл": open, save and save as, the girder's
// identity ("Данные опоры…"), its inspections ("Осмотры…"), the recently used files, the report and
// printing, and the check of a table of girders, each a command of the
// document. Its keys work in the window with the menu closed.
class FileMenu final : public QMenu {
    Q_OBJECT

public:
    FileMenu(CalculationDocument& document, QPushButton& button, QWidget& window);

private:
    // Lists the recent files again, as the menu opens.
    void showRecentFiles();

    CalculationDocument& document_;
    QAction* recentEnd_ = nullptr;
    std::vector<QAction*> recent_;
};

} // namespace prochnar
