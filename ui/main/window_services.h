#pragma once

#include "ui/about/url_opener.h"
#include "ui/main/reference_files.h"

#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace Ui {
class Form1;
}

namespace prochnar {

class AboutWindow;
class HelpWindow;
class WidgetForm;

// The main window's services beside the calculation: the guidance table of
// step 2, the recommendation over step 3 (a click in it puts it away), the
// catalogue of angles in the desktop's viewer, keeping the window on top,
// the About window, the help on F1, and "Выход". A document that cannot be
// shown is reported through the form's message presenter.
class WindowServices final : public QObject {
    Q_OBJECT

public:
    // For the window that ui set up, whose messages form presents; the
    // documents looked up in files, addresses (the catalogue, the About
    // window's links) handed to openUrl.
    WindowServices(const Ui::Form1& ui, QWidget& window, const WidgetForm& form, ReferenceFiles files,
                   UrlOpener openUrl);
    // The About window and the help, if still open, go with the main window.
    ~WindowServices() override;
    WindowServices(const WindowServices&) = delete;
    WindowServices& operator=(const WindowServices&) = delete;
    WindowServices(WindowServices&&) = delete;
    WindowServices& operator=(WindowServices&&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setOnTop(bool on);
    void showRecommendation();
    void openCatalogue() const;
    void showAbout();
    void showHelp();

    const Ui::Form1& ui_;
    QWidget& window_;
    const WidgetForm& form_;
    ReferenceFiles files_;
    UrlOpener openUrl_;
    // Top-level windows of their own, each deleted when closed.
    QPointer<AboutWindow> about_;
    QPointer<HelpWindow> help_;
};

} // namespace prochnar
