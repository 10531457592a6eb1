#include "ui/main/widget_form.h"

#include "ui_Form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace prochnar {

void showMessageBox(QWidget* parent, const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, QStringLiteral("Прочнар"),
                    text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

namespace {

constexpr std::size_t stateIndex(StateControl control) { return static_cast<std::size_t>(control); }

} // namespace

WidgetForm::WidgetForm(const Ui::Form1& ui, QWidget& window) : window_{window}, presenter_{showMessageBox}
{
    // Each field's widget is the member of the same name: one the designer
    // form lacks, or of another kind, does not compile.
    const auto bind = [this](Field field, auto* widget) {
        if constexpr (std::is_same_v<decltype(widget), QLabel*>) {
            fields_.at(fieldIndex(field)).label = widget;
        } else {
            fields_.at(fieldIndex(field)).edit = widget;
        }
    };
#define PROCHNAR_BIND_FIELD(name, text) bind(Field::name, ui.name);
    PROCHNAR_FORM_FIELDS(PROCHNAR_BIND_FIELD)
#undef PROCHNAR_BIND_FIELD
    states_.at(stateIndex(StateControl::Frame5Visible)) = ui.Frame5;
    states_.at(stateIndex(StateControl::Frame7Enabled)) = ui.Frame7;
    states_.at(stateIndex(StateControl::Command5Enabled)) = ui.Command5;
    states_.at(stateIndex(StateControl::Frame9Visible)) = ui.Frame9;
    states_.at(stateIndex(StateControl::Command4Enabled)) = ui.Command4;
    phiButtons_ = {ui.cmdJ, ui.cmdJ1};
}

const std::string& WidgetForm::text(Field field) const
{
    const FieldWidget& widget = fields_.at(fieldIndex(field));
    std::string& read = read_.at(fieldIndex(field));
    read = (widget.edit != nullptr ? widget.edit->text() : widget.label->text()).toStdString();
    return read;
}

void WidgetForm::setText(Field field, const std::string& text)
{
    const FieldWidget& widget = fields_.at(fieldIndex(field));
    const QString value = QString::fromStdString(text);
    if (widget.edit != nullptr) {
        widget.edit->setText(value);
    } else {
        widget.label->setText(value);
    }
}

bool WidgetForm::state(StateControl control) const
{
    const QWidget* widget = states_.at(stateIndex(control));
    switch (control) {
    case StateControl::Frame5Visible:
    case StateControl::Frame9Visible:
        // Hidden only when hidden itself, not because its tab is not selected.
        return !widget->isHidden();
    case StateControl::Frame7Enabled:
    case StateControl::Command5Enabled:
    case StateControl::Command4Enabled:
        return widget->isEnabled();
    }
    return false;
}

void WidgetForm::setState(StateControl control, bool on)
{
    QWidget* widget = states_.at(stateIndex(control));
    switch (control) {
    case StateControl::Frame5Visible:
    case StateControl::Frame9Visible:
        widget->setVisible(on);
        break;
    case StateControl::Frame7Enabled:
        for (QPushButton* button : phiButtons_) {
            button->setEnabled(on);
        }
        widget->setEnabled(on);
        break;
    case StateControl::Command5Enabled:
    case StateControl::Command4Enabled:
        widget->setEnabled(on);
        break;
    }
}

void WidgetForm::showMessage(const std::string& text, MessageIcon icon)
{
    if (pressing_ != nullptr) {
        pressing_->messages.push_back({text, icon});
    }
    present(QString::fromStdString(text), icon);
}

void WidgetForm::present(const QString& text, MessageIcon icon) const { presenter_(&window_, text, icon); }

PressRecord WidgetForm::click(Button button)
{
    PressRecord record{.button = button, .ran = false, .messages = {}};
    pressing_ = &record;
    record.ran = press(*this, button);
    pressing_ = nullptr;
    return record;
}

QString WidgetForm::spokenName(Field field) const
{
    const FieldWidget& widget = fields_.at(fieldIndex(field));
    const QWidget* shown = widget.edit != nullptr ? static_cast<const QWidget*>(widget.edit) : widget.label;
    return shown->accessibleName().isEmpty() ? shown->objectName() : shown->accessibleName();
}

} // namespace prochnar
