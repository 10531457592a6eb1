#include "ui/main/form_captions.h"

#include "ui_Form1.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QWidget>

namespace prochnar {

FormCaptions::FormCaptions(const QWidget& form)
{
    for (const QWidget* widget : form.findChildren<const QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            captions_.insert(label->objectName(), label->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            captions_.insert(button->objectName(), button->text());
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
            captions_.insert(frame->objectName(), frame->title());
        }
    }
    if (const auto* tabs = form.findChild<const QTabWidget*>(QStringLiteral("SSTab1"))) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs_ << tabs->tabText(i);
        }
    }
}

const FormCaptions& FormCaptions::designer()
{
    static const FormCaptions captions = [] {
        QWidget form;
        Ui::Form1 ui;
        ui.setupUi(&form);
        return FormCaptions(form);
    }();
    return captions;
}

} // namespace prochnar
