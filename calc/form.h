#pragma once

#include <cstdint>
#include <string>

namespace prochnar {

// The five controls whose enabled or visible property is the whole lock state
// of the wizard. Nothing else records which steps are open.
enum class StateControl {
    Frame5Visible,   // step-2 lock panel "Не подтвержден шаг1"
    Frame7Enabled,   // the wire table of step 2
    Command5Enabled, // step-2 "Подтвердить"
    Frame9Visible,   // step-3 lock panel "Не подтвержден шаг2"
    Command4Enabled, // step-3 "Выполнить"
};

enum class MessageIcon { None, Error };

// A field of the calculation (fields.h).
enum class Field : std::uint8_t;

// What the wizard's handlers need from a window. A field (edit field or
// label) is addressed by its identifier; texts are UTF-8. The handlers are
// written once against this interface: the Qt window implements it over its
// widgets, MapForm over a plain table for the command line and the tests.
class Form {
public:
    virtual ~Form() = default;

    // The field's text, held by the form until the field is set or, on a
    // window, read again: a table's steps read each of its fields many times.
    [[nodiscard]] virtual const std::string& text(Field field) const = 0;
    virtual void setText(Field field, const std::string& text) = 0;

    [[nodiscard]] virtual bool state(StateControl control) const = 0;
    virtual void setState(StateControl control, bool on) = 0;

    // A modal message box titled "Прочнар" with one OK button; returns when
    // the user has closed it.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // The same message, about one field (an empty one, or one whose text is
    // not a number): a window shows it as showMessage does, a table names
    // the field's column with it.
    virtual void showFieldMessage(Field /*about*/, const std::string& text, MessageIcon icon)
    {
        showMessage(text, icon);
    }

protected:
    // Copied and moved only as the concrete form, never through the interface.
    Form() = default;
    Form(const Form&) = default;
    Form& operator=(const Form&) = default;
    Form(Form&&) = default;
    Form& operator=(Form&&) = default;
};

} // namespace prochnar
