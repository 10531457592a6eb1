#pragma once

// Drives the main window as a user does: selects the tab of a control,
// clicks buttons with the mouse and types into fields with the keyboard.
// Message boxes are recorded instead of shown, and so are the addresses the
// window would hand to the desktop. The documents are read from the folder
// where the build puts them, unless the caller gives folders of its own.

#include "calc/form.h"
#include "ui/main/main_window.h"
#include "ui/main/reference_files.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace prochnar::test {

struct ShownMessage {
    QString text;
    MessageIcon icon;
};

// The documents as the build puts them beside the program.
inline ReferenceFiles builtDocuments() { return ReferenceFiles({QStringLiteral(PROCHNAR_DOCUMENTS_DIR)}); }

class WindowDriver {
public:
    explicit WindowDriver(const ReferenceFiles& files = builtDocuments())
        : window_(std::make_unique<MainWindow>(files, [this](const QUrl& url) {
              opened_.push_back(url);
              return true;
          }))
    {
        window_->setMessagePresenter([this](QWidget*, const QString& text, MessageIcon icon) {
            messages_.push_back({text, icon});
        });
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_.get())) {
            qFatal("the main window was not shown");
        }
    }

    [[nodiscard]] MainWindow& window() const { return *window_; }
    [[nodiscard]] Form& form() const { return window_->form(); }

    template <typename Widget = QWidget> [[nodiscard]] Widget* get(const char* name) const
    {
        auto* widget = window_->findChild<Widget*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            qFatal("Form1 has no %s named %s", Widget::staticMetaObject.className(), name);
        }
        return widget;
    }

    // Brings the tab that holds the widget to the front, as a user must.
    void showTabOf(QWidget* widget) const
    {
        auto* tabs = get<QTabWidget>("SSTab1");
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(widget)) {
                tabs->setCurrentIndex(i);
                return;
            }
        }
    }

    void click(const char* buttonName) const
    {
        auto* button = get<QPushButton>(buttonName);
        showTabOf(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Replaces the whole text of an edit field by typing.
    void type(const char* fieldName, const QString& text) const
    {
        auto* edit = get<QLineEdit>(fieldName);
        showTabOf(edit);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void type(std::initializer_list<std::pair<const char*, const char*>> entries) const
    {
        for (const auto& [name, text] : entries) {
            type(name, QString::fromUtf8(text));
        }
    }

    [[nodiscard]] QString text(Field field) const { return QString::fromStdString(window_->form().text(field)); }

    [[nodiscard]] std::vector<ShownMessage> takeMessages() { return std::exchange(messages_, {}); }

    // The addresses handed to the desktop since the last call.
    [[nodiscard]] std::vector<QUrl> takeOpened() { return std::exchange(opened_, {}); }

private:
    std::vector<ShownMessage> messages_;
    std::vector<QUrl> opened_;
    std::unique_ptr<MainWindow> window_; // last: goes first, while the recorders still stand
};

// Step-1 inputs that complete: chord 2,5 / 1,25 x 100 = 200, diagonal
// (1,5 + 0,5) / 2 / 2 x 100 = 50. The general data are those of the step-2
// worked example.
inline void typeStep1(const WindowDriver& driver)
{
    driver.type({
        {"txtMn", "3"},
        {"txtMp", "5"},
        {"txtMv", "3"},
        {"txtLp", "20"},
        {"txtl", "65"},
        {"txtG", "1"},
        {"txtGg", "1,5"},
        {"txtLpp", "2,5"},
        {"txtH", "1,5"},
        {"txtB", "0,5"},
        {"txtIy", "1,25"},
        {"txtIyy", "2"},
        {"Text9", "12,5"},
        {"Text10", "10"},
    });
}

// The loads of the step-2 worked example: one wire at 7 m.
inline void typeStep2(const WindowDriver& driver)
{
    driver.type({
        {"Text3", "0,8"},
        {"Text5", "0,8"},
        {"txtl1", "7"},
        {"txtgp1", "1"},
        {"txtgpp1", "2,5"},
    });
}

} // namespace prochnar::test
