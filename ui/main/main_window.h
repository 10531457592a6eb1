#pragma once

#include "calc/form.h"
#include "calc/verdicts.h"
#include "ui/about/url_opener.h"
#include "ui/main/reference_files.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QEvent;
class QLabel;
class QLineEdit;
class QString;

namespace Ui {
class Form1;
}

namespace prochnar {

class AboutWindow;
class AnglesDialog;
class HelpWindow;
class TableResultsWindow;
enum class AngleMember;

// Shows one message of a handler and returns when the user has closed it.
using MessagePresenter = std::function<void(QWidget* parent, const QString& text, MessageIcon icon)>;

// The presenter the window starts with: a modal box titled "Прочнар" with one
// OK button, the error icon for MessageIcon::Error and no icon otherwise.
void showMessageBox(QWidget* parent, const QString& text, MessageIcon icon);

// The main window Form1: the three-tab wizard. It maps its widgets onto the
// Form interface of the calculation and runs the calculation's handlers when
// the wizard's buttons are clicked; it has no calculation of its own. Its
// other buttons and F1 open the documents that come with the program, the
// About window and the help, and keep the window on top. Beside the wizard
// it shows the engineer's aids of the calculation: a verdict on each row of
// step 3, φ from the table for step 2, and the catalogue of angles for the
// section fields of step 1.
class MainWindow final : public QWidget, public Form {
    Q_OBJECT

public:
    // With the documents where the program looks for them and the desktop
    // opening addresses.
    explicit MainWindow(QWidget* parent = nullptr);
    // With the documents looked up in the given folders, and addresses (the
    // catalogue, the About window's links) handed to the given opener.
    MainWindow(ReferenceFiles files, UrlOpener openUrl, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the message boxes, for instance by a recorder in a test.
    void setMessagePresenter(MessagePresenter presenter);

    // Checks the girders of a CSV table as prochnar-calc --table does and
    // shows them in a results window of their own, whose double click opens
    // a girder here through openGirder().
    TableResultsWindow* openTable(const QString& path);
    // Puts a girder's field texts into the wizard and starts it over at
    // step 1, steps 2 and 3 locked, as when the window was opened.
    void openGirder(const Form& form);

    // Form: fields are the edit fields and labels, named by object name.
    [[nodiscard]] std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    void showMessage(const std::string& text, MessageIcon icon) override;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] QWidget* field(std::string_view name) const;
    [[nodiscard]] QWidget* stateWidget(StateControl control) const;
    void keepWireTableLook();
    void connectButtons();
    void connectServices();
    void centreOnScreen();

    void setOnTop(bool on);
    void showRecommendation();
    void openCatalogue() const;
    void showAbout();
    void showHelp();

    void connectAids();
    void fillPhi(const QLabel* slenderness, QLineEdit* phi);
    void openAngles();
    void takeAngle(AngleMember member, std::size_t angle);
    // Shows the verdict of each row that the last "Выполнить" judged and
    // whose two values have not changed since; clears the others.
    void showVerdicts();

    std::unique_ptr<Ui::Form1> ui_;
    MessagePresenter presenter_;
    ReferenceFiles files_;
    UrlOpener openUrl_;
    // Top-level windows of their own, each deleted when closed; whichever is
    // still open goes with the main window.
    QPointer<AboutWindow> about_;
    QPointer<HelpWindow> help_;
    QPointer<AnglesDialog> angles_;

    std::array<bool, kVerdictRows> judged_{};
    // The catalogue angles last put into the chord's and the diagonals' fields.
    std::optional<std::size_t> chordAngle_;
    std::optional<std::size_t> diagonalAngle_;
};

} // namespace prochnar
