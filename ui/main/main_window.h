#pragma once

#include "calc/form.h"
#include "calc/handlers.h"
#include "calc/verdicts.h"
#include "formats/form_file.h"
#include "ui/about/url_opener.h"
#include "ui/main/reference_files.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QCloseEvent;
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

// Asks whether to save the changes of a calculation before they would be
// lost; answers QMessageBox::Save, Discard or Cancel.
using SaveQuestion = std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text)>;

// The question the window starts with: a modal box titled "Прочнар" with
// the buttons "Сохранить", "Не сохранять" and "Отмена".
QMessageBox::StandardButton askToSave(QWidget* parent, const QString& text);

// The extension of a calculation's file, without the dot.
inline constexpr QLatin1String kCalculationSuffix{"prochnar"};

// The main window Form1: the three-tab wizard. It maps its widgets onto the
// Form interface of the calculation and runs the calculation's handlers when
// the wizard's buttons are clicked; it has no calculation of its own. Its
// other buttons and F1 open the documents that come with the program, the
// About window and the help, and keep the window on top. Beside the wizard
// it shows the engineer's aids of the calculation: a verdict on each row of
// step 3, φ from the table for step 2, and the catalogue of angles for the
// section fields of step 1. A calculation can be kept in a file, in the
// format of prochnar-calc, and documented in a report for the record.
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
    // Replaces the question before changes would be lost.
    void setSaveQuestion(SaveQuestion ask);

    // The calculation as its file: the last click of each button and what
    // it showed, then every field and the wizard's state.
    [[nodiscard]] std::string calculationFile() const;
    // The file the calculation was last opened from or saved to, or "".
    [[nodiscard]] const QString& filePath() const { return filePath_; }
    // Shows the calculation of a file: every field, the wizard's state and
    // the clicks that made it. A file that cannot be read or is not a whole
    // calculation changes nothing; a message names it and the line.
    bool openFile(const QString& path);
    // Writes the calculation to a new file that replaces the old one only
    // when it is complete; a failure says so and leaves the old one whole.
    bool saveFile(const QString& path);
    // The report of the calculation as a PDF file; a failure says so.
    bool writeReport(const QString& path);

    // Checks the girders of a CSV table as prochnar-calc --table does and
    // shows them in a results window of their own, whose double click opens
    // a girder here through openGirder().
    TableResultsWindow* openTable(const QString& path);
    // Puts a girder's field texts into the wizard and starts it over at
    // step 1, steps 2 and 3 locked, as when the window was opened.
    void openGirder(const Form& form);

    // Form: fields are the edit fields and labels, named by object name.
    [[nodiscard]] std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    void showMessage(const std::string& text, MessageIcon icon) override;

protected:
    void changeEvent(QEvent* event) override;
    // Asks whether to save first, once a file holds the calculation.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] QWidget* field(Field field) const;
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

    void runPress(Button button);

    void connectFiles();
    void showRecentFiles();
    void chooseAndOpen();
    bool save();
    bool saveAs();
    void chooseAndReport();
    void chooseAndOpenTable();
    void print();
    [[nodiscard]] QString chooseFile(bool save, const QString& title, const QString& filter, const QString& start);
    // Whether the calculation may be replaced: saved, or the user let it go.
    bool mayReplace();
    void keepFile(const QString& path);
    void markModified();
    [[nodiscard]] QString reportText() const;

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

    SaveQuestion ask_;
    QString filePath_;
    std::string savedFile_; // the calculation as last opened or saved
    // The last click of each button of the wizard and what it showed; the
    // click under way, while its handler runs.
    std::vector<PressRecord> presses_;
    PressRecord* pressing_ = nullptr;
    QAction* recentEnd_ = nullptr;
    std::vector<QAction*> recent_;

    std::array<bool, kVerdictRows> judged_{};
};

} // namespace prochnar
