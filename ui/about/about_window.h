#pragma once

#include "ui/about/url_opener.h"

#include <QWidget>

#include <memory>

class QEvent;
class QLabel;

namespace Ui {
class Form2;
}

namespace prochnar {

// The About window Form2: what the program is for, and two links to its
// author, a web address and a mail address, each taken from its label's
// caption when clicked. A top-level window of its own, kept out of the
// taskbar, of a fixed size; "OK" closes it.
class AboutWindow final : public QWidget {
    Q_OBJECT

public:
    explicit AboutWindow(UrlOpener openUrl = openWithDesktop);
    ~AboutWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLink(const QLabel* label) const;

    std::unique_ptr<Ui::Form2> ui_;
    UrlOpener openUrl_;
};

} // namespace prochnar
