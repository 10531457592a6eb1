#pragma once

#include "calc/form.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QEvent;
class QString;

namespace Ui {
class Form1;
}

namespace prochnar {

// Shows one message of a handler and returns when the user has closed it.
using MessagePresenter = std::function<void(QWidget* parent, const QString& text, MessageIcon icon)>;

// The presenter the window starts with: a modal box titled "Прочнар" with one
// OK button, the error icon for MessageIcon::Error and no icon otherwise.
void showMessageBox(QWidget* parent, const QString& text, MessageIcon icon);

// The main window Form1: the three-tab wizard. It maps its widgets onto the
// Form interface of the calculation and runs the calculation's handlers when
// the wizard's buttons are clicked; it has no calculation of its own.
class MainWindow final : public QWidget, public Form {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the message boxes, for instance by a recorder in a test.
    void setMessagePresenter(MessagePresenter presenter);

    // Form: fields are the edit fields and labels, named by object name.
    [[nodiscard]] std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    void showMessage(const std::string& text, MessageIcon icon) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    [[nodiscard]] QWidget* field(std::string_view name) const;
    [[nodiscard]] QWidget* stateWidget(StateControl control) const;
    void keepWireTableLook();
    void connectButtons();
    void centreOnScreen();

    std::unique_ptr<Ui::Form1> ui_;
    MessagePresenter presenter_;
};

} // namespace prochnar
