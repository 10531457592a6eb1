#include "ui/main/file_menu.h"

#include "ui/main/calculation_document.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QPushButton>
#include <QWidget>

namespace prochnar {

FileMenu::FileMenu(CalculationDocument& document, QPushButton& button, QWidget& window)
    : QMenu(&button), document_{document}
{
    setToolTipsVisible(true);
    const auto item = [this, &window](const QString& text, const QKeySequence& keys, auto command) {
        QAction* action = addAction(text);
        action->setShortcut(keys);
        window.addAction(action); // the keys work with the menu closed as well
        connect(action, &QAction::triggered, &document_, command);
    };
    item(QStringLiteral("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O), &CalculationDocument::chooseAndOpen);
    item(QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S), &CalculationDocument::save);
    item(QStringLiteral("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &CalculationDocument::saveAs);
    item(QStringLiteral("Данные опоры…"), QKeySequence(), [this] { document_.editIdentity(); });
    item(QStringLiteral("Осмотры…"), QKeySequence(), [this] { document_.editInspections(); });
    addSeparator();
    recentEnd_ = addSeparator();
    item(QStringLiteral("Отчёт…"), QKeySequence(Qt::CTRL | Qt::Key_P), &CalculationDocument::chooseAndReport);
    item(QStringLiteral("Печать…"), QKeySequence(), &CalculationDocument::print);
    addSeparator();
    item(QStringLiteral("Проверить таблицу опор…"), QKeySequence(), &CalculationDocument::chooseAndOpenTable);
    connect(this, &QMenu::aboutToShow, this, &FileMenu::showRecentFiles);
    button.setMenu(this);
}

void FileMenu::showRecentFiles()
{
    for (QAction* action : recent_) {
        delete action;
    }
    recent_.clear();
    const QStringList recent = document_.recentFiles();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent.at(i);
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this);
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, &document_, [this, path] { document_.openRecent(path); });
        insertAction(recentEnd_, action);
        recent_.push_back(action);
    }
}

} // namespace prochnar
