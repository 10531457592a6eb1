#include "ui/main/window_services.h"

#include "ui/about/about_window.h"
#include "ui/main/help_window.h"
#include "ui/main/on_top.h"
#include "ui/main/widget_form.h"
#include "ui_Form1.h"

#include <QDir>
#include <QEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

#include <utility>

namespace prochnar {

WindowServices::WindowServices(const Ui::Form1& ui, QWidget& window, const WidgetForm& form, ReferenceFiles files,
                               UrlOpener openUrl)
    : ui_{ui}, window_{window}, form_{form}, files_{std::move(files)}, openUrl_{std::move(openUrl)}
{
    ui_.Text2->setPlainText(files_.readText(kGuidanceFile).text);

    connect(ui_.Command10, &QPushButton::clicked, this, [this] { setOnTop(true); });
    connect(ui_.Command12, &QPushButton::clicked, this, [this] { setOnTop(false); });
    connect(ui_.Command7, &QPushButton::clicked, this, &WindowServices::showRecommendation);
    connect(ui_.Command1, &QPushButton::clicked, this, &WindowServices::openCatalogue);
    connect(ui_.Command9, &QPushButton::clicked, this, &WindowServices::showAbout);
    connect(ui_.Command8, &QPushButton::clicked, &window_, &QWidget::close);
    ui_.Text11->viewport()->installEventFilter(this);

    // F1 from whichever control of the window has the focus.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &window_);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &WindowServices::showHelp);
}

WindowServices::~WindowServices()
{
    delete about_;
    delete help_;
}

// A click anywhere in the text of the recommendation puts it away.
bool WindowServices::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_.Text11->viewport() && event->type() == QEvent::MouseButtonPress) {
        ui_.Text11->hide();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowServices::setOnTop(bool on)
{
    SetOnTop(&window_, on);
    ui_.Command10->setVisible(!on);
    ui_.Command12->setVisible(on);
}

void WindowServices::showRecommendation()
{
    ui_.Text11->show();
    ui_.Text11->setPlainText(files_.readText(kRecommendationFile).text);
}

// The catalogue opens in the desktop's viewer; a catalogue that is not
// there, or that nothing on the desktop opens, is a message.
void WindowServices::openCatalogue() const
{
    const QString path = files_.find(kCatalogueFile);
    if (path.isEmpty()) {
        form_.present(
            QStringLiteral("Каталог уголков «%1» не найден: искали в %2.").arg(kCatalogueFile, files_.lookedIn()),
            MessageIcon::Error);
    } else if (!openUrl_(QUrl::fromLocalFile(path))) {
        form_.present(QStringLiteral("Каталог уголков «%1» не открыт: в системе нет программы, которая показывает "
                                     "такие документы.")
                          .arg(QDir::toNativeSeparators(path)),
                      MessageIcon::Error);
    }
}

namespace {

// One window of its kind at a time: made and shown the first time, raised
// after that; deleted when closed.
template <typename W, typename Make> void showOne(QPointer<W>& window, const QWidget& owner, Make make)
{
    if (window == nullptr) {
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowIcon(owner.windowIcon());
        window->show();
        return;
    }
    window->raise();
    window->activateWindow();
}

} // namespace

// Without owner, so that the About window is neither kept on top with the
// main window nor closed with it.
void WindowServices::showAbout()
{
    showOne(about_, window_, [this] { return new AboutWindow(openUrl_); });
}

void WindowServices::showHelp()
{
    showOne(help_, window_, [this] { return new HelpWindow(files_); });
}

} // namespace prochnar
