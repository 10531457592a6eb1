#pragma once

#include "ui/about/url_opener.h"
#include "ui/main/calculation_document.h"
#include "ui/main/reference_files.h"
#include "ui/main/widget_form.h"

#include <QSettings>
#include <QWidget>

#include <memory>

class QCloseEvent;
class QEvent;

namespace Ui {
class Form1;
}

namespace prochnar {

class StepAids;
class WindowServices;

// The main window Form1: the three-tab wizard. Its widgets are the form of
// the calculation (WidgetForm), whose handlers its wizard buttons run; the
// calculation is a document that can be kept in a file, reported and
// printed (CalculationDocument, with its "Файл" menu); beside the wizard
// stand the engineer's aids (StepAids) and the services of the window
// (WindowServices). The window wires these together and shows them.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    // With the documents where the program looks for them and the desktop
    // opening addresses.
    explicit MainWindow(QWidget* parent = nullptr);
    // With the documents looked up in the given folders, and addresses (the
    // catalogue, the About window's links, a report just written) handed to
    // the given opener.
    MainWindow(ReferenceFiles files, UrlOpener openUrl, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    MainWindow(MainWindow&&) = delete;
    MainWindow& operator=(MainWindow&&) = delete;

    // The calculation's form over the window's widgets.
    [[nodiscard]] WidgetForm& form() const { return *form_; }
    // The calculation as a document: its file, report and table of girders.
    [[nodiscard]] CalculationDocument& document() const { return *document_; }

    // Replaces the message boxes, for instance by a recorder in a test.
    void setMessagePresenter(MessagePresenter presenter) { form_->setPresenter(std::move(presenter)); }
    // Replaces the question before changes would be lost.
    void setSaveQuestion(SaveQuestion ask) { document_->setSaveQuestion(std::move(ask)); }

protected:
    void changeEvent(QEvent* event) override;
    // Asks whether to save first, once a file holds the calculation.
    void closeEvent(QCloseEvent* event) override;

private:
    void keepWireTableLook();
    void connectWizard();
    void showReplaced(bool fromFile);
    void centreOnScreen();

    std::unique_ptr<Ui::Form1> ui_;
    // The recent files, kept with the toolkit's settings of the program.
    QSettings settings_{QStringLiteral("prochnar"), QStringLiteral("prochnar")};
    std::unique_ptr<WidgetForm> form_;
    std::unique_ptr<CalculationDocument> document_;
    std::unique_ptr<WindowServices> services_;
    std::unique_ptr<StepAids> aids_;
};

} // namespace prochnar
