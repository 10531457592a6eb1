#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QWidget;

namespace prochnar {

// The captions of the main window's designer form (Form1.ui) by the name of
// their control: a label's text, a button's caption, a frame's title, and
// the titles of the wizard's tabs. What a report names its inputs by.
class FormCaptions {
public:
    // The captions of a widget on which Form1 is set up.
    explicit FormCaptions(const QWidget& form);

    // The designer form's captions, read once from a copy of the form that
    // is built but never shown.
    [[nodiscard]] static const FormCaptions& designer();

    // The caption of the named control; "" for a name without one.
    [[nodiscard]] QString caption(const char* name) const { return captions_.value(QLatin1String(name)); }
    // The title of the wizard's tab at index.
    [[nodiscard]] QString tab(int index) const { return tabs_.value(index); }

private:
    QHash<QString, QString> captions_;
    QStringList tabs_;
};

} // namespace prochnar
