#include "ui/main/help_window.h"

#include "ui/main/reference_files.h"

#include <QFont>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>

namespace prochnar {

HelpWindow::HelpWindow(const ReferenceFiles& files)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Прочнар. Справка"));
    setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    document()->setDocumentMargin(10);
    // The sections are reached by the links of its own contents line.
    setOpenLinks(true);
    setOpenExternalLinks(false);

    const TextFile help = files.readText(kHelpFile);
    if (help.read) {
        setHtml(help.text);
    } else {
        setPlainText(help.text);
    }

    resize(620, 520);
    if (const QScreen* screen = this->screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

} // namespace prochnar
