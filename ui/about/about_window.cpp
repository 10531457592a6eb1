#include "ui/about/about_window.h"

#include "ui/about/fit_caption.h"
#include "ui/about/hand_cursor.h"
#include "ui/about/links.h"
#include "ui_Form2.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <utility>

namespace prochnar {

AboutWindow::AboutWindow(UrlOpener openUrl) : ui_(std::make_unique<Ui::Form2>()), openUrl_(std::move(openUrl))
{
    ui_->setupUi(this);
    // A tool window stays out of the taskbar; no minimise or maximise
    // button, only the close button, and the size is fixed.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    // Qt counts tool windows out of "the last window closed"; this one keeps
    // the program running while it is open, as the main window does.
    setAttribute(Qt::WA_QuitOnClose, true);

    ui_->Label2->setText(QString::fromUtf8(PROCHNAR_AUTHOR_URL));
    ui_->Label3->setText(QString::fromUtf8(PROCHNAR_AUTHOR_MAIL));
    for (QLabel* link : {ui_->Label2, ui_->Label3}) {
        fitCaption(*link, 7.0);
        link->setCursor(handCursor());
        link->installEventFilter(this);
    }
    connect(ui_->Command1, &QPushButton::clicked, this, &QWidget::close);
    ui_->Command1->setFocus();

    if (const QScreen* screen = this->screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

AboutWindow::~AboutWindow() = default;

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click: the left button let go over the label it was pressed on.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* label = qobject_cast<const QLabel*>(watched);
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (label != nullptr && mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            openLink(label);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AboutWindow::openLink(const QLabel* label) const
{
    // A link that nothing opens is no fault of the About window: it says nothing.
    if (label == ui_->Label2) {
        static_cast<void>(openUrl_(webLink(label->text())));
    } else if (label == ui_->Label3) {
        static_cast<void>(openUrl_(mailLink(label->text(), mailSubject())));
    }
}

} // namespace prochnar
