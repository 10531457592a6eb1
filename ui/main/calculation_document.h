#pragma once

#include "calc/handlers.h"
#include "formats/calculation_file.h"
#include "formats/form_file.h"
#include "formats/girder_identity.h"
#include "ui/about/url_opener.h"
#include "ui/main/report_offer.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QSettings;
class QWidget;

namespace prochnar {

class TableResultsWindow;
class WidgetForm;

// Asks whether to save the changes of a calculation before they would be
// lost; answers QMessageBox::Save, Discard or Cancel.
using SaveQuestion = std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text)>;

// The question the window starts with: a modal box titled "Прочнар" with
// the buttons "Сохранить", "Не сохранять" and "Отмена".
QMessageBox::StandardButton askToSave(QWidget* parent, const QString& text);

// The extension of a calculation's file, without the dot.
inline constexpr QLatin1String kCalculationSuffix{"prochnar"};

// The characters an edit field of the window holds (a line edit's default
// limit): a calculation with a longer text is refused rather than cut.
inline constexpr std::size_t kWindowFieldChars = 32767;

// The calculation of the file at path (readCalculationFile()), its results
// recomputed, its texts no longer than kWindowFieldChars. None for a
// file that is not a whole calculation; refusal then says why, in the
// window's words: "Расчет «…» не открыт: строка 44: нет строки Text4 — …".
[[nodiscard]] std::optional<Calculation> readCalculationAt(const QString& path, QString& refusal);

// The window's title for a calculation kept in the file at path ("" for
// none) of the girder at support (as typed, "" for none): "Прочнар —
// girder.prochnar, опора 40-41[*]", "Прочнар — girder.prochnar[*]",
// "Прочнар — опора 40-41" or "Прочнар". The "[*]" shows a change once a
// file keeps the calculation; one in the name or the support is shown as
// typed, and blanks and line breaks in the support as one blank.
[[nodiscard]] QString calculationTitle(const QString& path, const std::string& support);

// The calculation shown in the window as a document: the file that keeps
// it, the text last opened or saved, the last click of each wizard button
// and what it showed, and the recently used files. It opens, saves, reports
// and prints the calculation, asks before unsaved changes would be lost,
// and opens a table of girders whose girders it takes in as new
// calculations. It keeps which girder the calculation documents, with it in
// its file. The window's title shows the file, the girder's support and
// whether the calculation changed.
class CalculationDocument final : public QObject {
    Q_OBJECT

public:
    // The calculation in form, shown by window; the recent files kept in
    // settings, which outlive the document.
    CalculationDocument(WidgetForm& form, QWidget& window, QSettings& settings);

    // Replaces the question before changes would be lost.
    void setSaveQuestion(SaveQuestion ask) { ask_ = std::move(ask); }
    // Replaces the question after a report was written, and what opens it.
    void setOpenQuestion(OpenQuestion ask) { askToOpen_ = std::move(ask); }
    void setOpener(UrlOpener open) { open_ = std::move(open); }

    // The calculation as its file: the last click of each button and what
    // it showed, then every field and the wizard's state.
    [[nodiscard]] std::string text() const;
    // The file the calculation was last opened from or saved to, or "".
    [[nodiscard]] const QString& filePath() const { return filePath_; }
    // The recently used files, newest first.
    [[nodiscard]] QStringList recentFiles() const;
    // Which girder the calculation documents.
    [[nodiscard]] const GirderIdentity& identity() const { return identity_; }
    // Takes another identity: the title shows its support, and the
    // calculation kept in a file is marked changed, as by an edit of a field.
    void setIdentity(const GirderIdentity& identity);
    // The girder's history kept with the calculation: its nominal angles,
    // installation year and inspections. Setting it marks the calculation
    // changed.
    [[nodiscard]] const GirderHistory& history() const { return history_; }
    void setHistory(const GirderHistory& history);
    // Takes the history and puts each section it records as measured into
    // the window: the area and radius of the nominal angle thinned to the
    // measured thickness (thinnedAngle()).
    void applyMeasured(const GirderHistory& history);
    // Puts a section into the window, the angle's own figures or those of
    // it thinned to a measured thickness (none: not measured), and records
    // the angle as the member's nominal one with its measurement. Refused
    // with a message, changing nothing, when an inspection measured the
    // member's flanges thicker than the angle's.
    bool takeSection(Member member, std::size_t angle, std::optional<int> measured);

    // Clicks a button of the wizard and keeps it as the button's last click.
    void click(Button button);
    // Shows the calculation of a file: its inputs and the wizard's state as
    // saved, with the results recomputed from them and the clicks of the
    // recomputation. A saved result that differed is replaced, the user is
    // told which, and the calculation is marked changed. A file that cannot
    // be read or is not a whole calculation changes nothing; a message names
    // it and the line.
    bool openFile(const QString& path);
    // Puts a girder's field texts into the wizard as a new calculation of
    // the girder of identity, once changes kept in a file may be lost, and
    // computes it as a table does: from the window's start, the three
    // confirming presses through the handlers, kept as the last clicks. One
    // with a text longer than a field holds is refused with a message.
    void openGirder(const Form& girder, const GirderIdentity& identity, const GirderHistory& history = {});
    // Writes the calculation to a new file that replaces the old one only
    // when it is complete; a failure says so and leaves the old one whole.
    bool saveFile(const QString& path);
    // The report of the calculation as a PDF file; a failure says so.
    bool writeReport(const QString& path);
    // Tells where the report at path went and opens it if the user wants.
    void offerReport(const QString& path);
    // The report's file the calculation proposes: its own name with ".pdf"
    // beside it; unsaved, "опора 40-41.pdf" after its support (a sign a file
    // name may not hold made "-"), or "отчет.pdf", in the folder the file
    // dialogs start in.
    [[nodiscard]] QString reportPath() const;
    // Checks the girders of a CSV table as prochnar-calc --table does and
    // shows them in a results window of their own, whose double click opens
    // a girder through openGirder().
    TableResultsWindow* openTable(const QString& path);

    // Whether the calculation may be replaced: saved, or the user let it go.
    bool mayReplace();
    // Marks the title when the calculation kept in a file has changed.
    void markModified();

    // The commands of the "Файл" menu, which ask for the file; a report of
    // a calculation without an identity offers "Данные опоры" first, whose
    // "Отмена" makes the report without it.
    void chooseAndOpen();
    void openRecent(const QString& path);
    bool save();
    bool saveAs();
    void chooseAndReport();
    void print();
    void chooseAndOpenTable();
    // "Данные опоры…": edits the identity in its dialog, hint said above
    // the fields; true when the user confirmed it.
    bool editIdentity(const QString& hint = {});
    // "Осмотры…": edits the history in its dialog; true when the user
    // confirmed it.
    bool editInspections();

signals:
    // Another calculation took the place of the last, with its results
    // computed: from a file, or a new one from a table's girder.
    void replaced(bool fromFile);
    // The girder's history was taken or replaced.
    void historyChanged();

private:
    void load(const Calculation& calculation, const QString& path);
    void keepFile(const QString& path);
    void showTitle();
    // Puts the member's section as the history records it into the window.
    void putSection(Member member);
    // Offers the dialog of the identity before a report, when it is empty.
    void offerIdentity();
    [[nodiscard]] QString reportHtml() const;
    [[nodiscard]] QString startFolder() const;
    [[nodiscard]] QString chooseFile(bool save, const QString& title, const QString& filter, const QString& start);

    WidgetForm& form_;
    QWidget& window_;
    QSettings& settings_;
    SaveQuestion ask_;
    OpenQuestion askToOpen_;
    UrlOpener open_;
    QString filePath_;
    std::string savedText_; // the calculation as last opened or saved
    std::vector<PressRecord> presses_;
    GirderIdentity identity_;
    GirderHistory history_;
};

} // namespace prochnar
