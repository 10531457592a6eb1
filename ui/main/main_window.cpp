#include "ui/main/main_window.h"

#include "ui/main/file_menu.h"
#include "ui/main/step_aids.h"
#include "ui/main/window_services.h"
#include "ui_Form1.h"

#include <QCloseEvent>
#include <QEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>

#include <array>
#include <utility>

// The form's pictures and icon live in a resource of this static library;
// the linker keeps them only when something refers to them.
static void initFormResources() { Q_INIT_RESOURCE(main_window); }

namespace prochnar {

MainWindow::MainWindow(QWidget* parent) : MainWindow(ReferenceFiles::standard(), openWithDesktop, parent) {}

MainWindow::MainWindow(ReferenceFiles files, UrlOpener openUrl, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::Form1>())
{
    initFormResources();
    ui_->setupUi(this);
    keepWireTableLook();
    form_ = std::make_unique<WidgetForm>(*ui_, *this);
    document_ = std::make_unique<CalculationDocument>(*form_, *this, settings_);
    document_->setOpener(openUrl); // the reports it writes

    // Built hidden: the governing-moment flag is never shown.
    ui_->Text15->hide();
    applyInitialState(*form_);
    // The rest of the load: the step-2 results and the recommendation stay
    // out of sight, and the window starts in the ordinary z-order.
    ui_->txtQp->hide();
    ui_->txtZ1->hide();
    ui_->Text11->hide();
    ui_->Command10->show();
    ui_->Command12->hide();

    connectWizard();
    services_ = std::make_unique<WindowServices>(*ui_, *this, *form_, std::move(files), std::move(openUrl));
    aids_ = std::make_unique<StepAids>(*ui_, *form_, *document_, *this);
    new FileMenu(*document_, *ui_->cmdFile, *this);
    connect(document_.get(), &CalculationDocument::replaced, this, &MainWindow::showReplaced);
    centreOnScreen();
}

MainWindow::~MainWindow() = default;

// The wizard's buttons run their handlers through the document, which keeps
// each one's last click; every edit of a field may change the calculation.
void MainWindow::connectWizard()
{
    const std::array wiring{
        std::pair{ui_->Command2, Button::Command2}, std::pair{ui_->Command3, Button::Command3},
        std::pair{ui_->Command5, Button::Command5}, std::pair{ui_->Command6, Button::Command6},
        std::pair{ui_->Command4, Button::Command4},
    };
    for (const auto& [widget, button] : wiring) {
        connect(widget, &QPushButton::clicked, document_.get(), [this, button = button] { document_->click(button); });
    }
    for (const auto& field : kFormFields) {
        if (QLineEdit* edit = form_->edit(field.id)) {
            connect(edit, &QLineEdit::textChanged, document_.get(), &CalculationDocument::markModified);
        }
    }
}

// A calculation comes in computed and shows its verdicts: one opened from a
// file on the tab the user is on, a girder of a table on the last step its
// presses reached, brought to the front over the table.
void MainWindow::showReplaced(bool fromFile)
{
    aids_->judgeAll(true);
    if (!fromFile) {
        ui_->SSTab1->setCurrentIndex(form_->state(StateControl::Command4Enabled) ? 2
                                     : form_->state(StateControl::Frame7Enabled) ? 1
                                                                                 : 0);
        raise();
        activateWindow();
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        keepWireTableLook();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (document_->mayReplace()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
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

void MainWindow::centreOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

} // namespace prochnar
