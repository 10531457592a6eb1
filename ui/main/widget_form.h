#pragma once

#include "calc/fields.h"
#include "calc/form.h"
#include "calc/handlers.h"
#include "formats/form_file.h"

#include <QString>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace Ui {
class Form1;
}

namespace prochnar {

// Shows one message and returns when the user has closed it.
using MessagePresenter = std::function<void(QWidget* parent, const QString& text, MessageIcon icon)>;

// The presenter the window starts with: a modal box titled "Прочнар" with one
// OK button, the error icon for MessageIcon::Error and no icon otherwise.
void showMessageBox(QWidget* parent, const QString& text, MessageIcon icon);

// The Form of the calculation over the widgets of Form1: each field is its
// edit field or label of the same name, the five state controls are the lock
// panels and buttons of steps 2 and 3. Messages go to a presenter, by
// default a message box over the window.
class WidgetForm final : public Form {
public:
    // Over the widgets that ui set up on window.
    WidgetForm(const Ui::Form1& ui, QWidget& window);
    ~WidgetForm() override = default;
    WidgetForm(const WidgetForm&) = delete;
    WidgetForm& operator=(const WidgetForm&) = delete;
    WidgetForm(WidgetForm&&) = delete;
    WidgetForm& operator=(WidgetForm&&) = delete;

    [[nodiscard]] const std::string& text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    // A handler's message; kept with the click under way, if any.
    void showMessage(const std::string& text, MessageIcon icon) override;

    // Replaces the message boxes, for instance by a recorder in a test.
    void setPresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }
    [[nodiscard]] const MessagePresenter& presenter() const { return presenter_; }
    // A message of the window's own, not of a handler.
    void present(const QString& text, MessageIcon icon) const;

    // Clicks the button of the wizard; what the click did and showed.
    [[nodiscard]] PressRecord click(Button button);

    // The edit field of a field; none for the two labels of step 2.
    [[nodiscard]] QLineEdit* edit(Field field) const { return fields_.at(fieldIndex(field)).edit; }
    // The field as the user knows it: the caption it is announced by, or its name.
    [[nodiscard]] QString spokenName(Field field) const;

private:
    struct FieldWidget {
        QLineEdit* edit = nullptr;
        QLabel* label = nullptr;
    };

    std::array<FieldWidget, kFieldCount> fields_{};
    mutable std::array<std::string, kFieldCount> read_{}; // each field's text as last read
    std::array<QWidget*, kStateProperties.size()> states_{};
    // Enabled with the wire table: φ from the table can be taken while it can be filled.
    std::array<QPushButton*, 2> phiButtons_{};
    QWidget& window_;
    MessagePresenter presenter_;
    PressRecord* pressing_ = nullptr;
};

} // namespace prochnar
