#include "ui/main/main_window.h"

#include "calc/handlers.h"
#include "ui_Form1.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <array>
#include <utility>

// The form's pictures and icon live in a resource of this static library;
// the linker keeps them only when something refers to them.
static void initFormResources() { Q_INIT_RESOURCE(main_window); }

namespace prochnar {

void showMessageBox(QWidget* parent, const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, QStringLiteral("Прочнар"),
                    text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::Form1>()), presenter_(showMessageBox)
{
    initFormResources();
    ui_->setupUi(this);
    keepWireTableLook();

    // Built hidden: the governing-moment flag is never shown.
    ui_->Text15->hide();

    applyInitialState(*this);
    // The rest of the load: the step-2 results and the recommendation stay
    // out of sight, and the window starts in the ordinary z-order.
    ui_->txtQp->hide();
    ui_->txtZ1->hide();
    ui_->Text11->hide();
    ui_->Command10->show();
    ui_->Command12->hide();

    connectButtons();
    centreOnScreen();
}

MainWindow::~MainWindow() = default;

void MainWindow::setMessagePresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }

std::string MainWindow::text(std::string_view field) const
{
    const QWidget* widget = this->field(field);
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text().toStdString();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) {
        return memo->toPlainText().toStdString();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text().toStdString();
    }
    return {};
}

void MainWindow::setText(std::string_view field, const std::string& text)
{
    QWidget* widget = this->field(field);
    const QString value = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->setPlainText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    }
}

bool MainWindow::state(StateControl control) const
{
    const QWidget* widget = stateWidget(control);
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

void MainWindow::setState(StateControl control, bool on)
{
    QWidget* widget = stateWidget(control);
    switch (control) {
    case StateControl::Frame5Visible:
    case StateControl::Frame9Visible:
        widget->setVisible(on);
        break;
    case StateControl::Frame7Enabled:
    case StateControl::Command5Enabled:
    case StateControl::Command4Enabled:
        widget->setEnabled(on);
        break;
    }
}

void MainWindow::showMessage(const std::string& text, MessageIcon icon)
{
    presenter_(this, QString::fromStdString(text), icon);
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        keepWireTableLook();
    }
}

QWidget* MainWindow::field(std::string_view name) const
{
    const QString objectName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    auto* widget = findChild<QWidget*>(objectName);
    if (qobject_cast<QLineEdit*>(widget) == nullptr && qobject_cast<QPlainTextEdit*>(widget) == nullptr &&
        qobject_cast<QLabel*>(widget) == nullptr) {
        qWarning("Form1 has no field named %s", qPrintable(objectName));
        return nullptr;
    }
    return widget;
}

QWidget* MainWindow::stateWidget(StateControl control) const
{
    switch (control) {
    case StateControl::Frame5Visible:
        return ui_->Frame5;
    case StateControl::Frame7Enabled:
        return ui_->Frame7;
    case StateControl::Command5Enabled:
        return ui_->Command5;
    case StateControl::Frame9Visible:
        return ui_->Frame9;
    case StateControl::Command4Enabled:
        return ui_->Command4;
    }
    return nullptr;
}

// While the wire table is locked its fields take no focus and no typing, but
// keep the look of an open table: the disabled colours are the active ones.
void MainWindow::keepWireTableLook()
{
    QPalette palette = this->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Disabled, colorRole, palette.brush(QPalette::Active, colorRole));
    }
    ui_->Frame7->setPalette(palette);
}

void MainWindow::connectButtons()
{
    const std::array wiring{
        std::pair{ui_->Command2, Button::Command2}, std::pair{ui_->Command3, Button::Command3},
        std::pair{ui_->Command5, Button::Command5}, std::pair{ui_->Command6, Button::Command6},
        std::pair{ui_->Command4, Button::Command4},
    };
    for (const auto& [widget, button] : wiring) {
        connect(widget, &QPushButton::clicked, this, [this, button = button] { press(*this, button); });
    }
}

void MainWindow::centreOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

} // namespace prochnar
