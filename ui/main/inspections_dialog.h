#pragma once

#include "calc/angles.h"
#include "calc/inspections.h"
#include "calc/map_form.h"
#include "ui/main/widget_form.h"

#include <QDate>
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace prochnar {

// A flange thickness typed in mm, with the decimal comma and at most one
// decimal, above zero and at most the nominal angle's: its tenths, or why
// it is refused, naming whose flange it is ("полки пояса"). An empty text
// is no thickness and no refusal.
struct TypedThickness {
    std::optional<int> tenths;
    QString refusal;
};
[[nodiscard]] TypedThickness typedThickness(const QString& text, const QString& whose, const Angle* nominal);

// A day of the calendar as the inspections count it.
[[nodiscard]] CalendarDate calendarDate(QDate date);

// "Осмотры…": the girder's history — the year it was installed, the
// nominal angle of its chords and of its diagonals, and its inspections,
// each a date, the least flange thickness measured on the chords and on the
// diagonals and a note, added, changed and removed through the fields under
// the table. Below them, what they come to with the window's inputs: each
// member kind's thinning rate, least thickness, remaining life and the
// year of its replacement, in words and as a chart, recomputed at every
// change. "Применить последний осмотр" puts the sections as the latest
// inspection measured them into the window (apply) and keeps the history as
// it then is; OK keeps the history (history()), Отмена leaves it as it was
// kept last.
class InspectionsDialog final : public QDialog {
    Q_OBJECT

public:
    // The window's inputs as they are now.
    using Inputs = std::function<MapForm()>;
    // Puts the history's measured sections into the window and keeps it.
    using Apply = std::function<void(const GirderHistory& history)>;

    InspectionsDialog(const GirderHistory& history, Inputs inputs, Apply apply, MessagePresenter present,
                      QWidget* parent, QDate today = QDate::currentDate());

    [[nodiscard]] const GirderHistory& history() const { return history_; }

private:
    [[nodiscard]] QWidget* girderFields();
    [[nodiscard]] QWidget* inspectionsTable();
    void chooseAngle(Member member, int item);
    void chooseYear(int year);
    // The inspection as the fields under the table give it; none when its
    // date is after today or a thickness is refused (said).
    [[nodiscard]] std::optional<Inspection> typedInspection();
    void add();
    void change();
    void remove();
    void showSelected();
    void applyLatest();
    // Shows the inspections, the lives and the chart again.
    void refresh();
    void refuse(const QString& text);

    GirderHistory history_;
    Inputs inputs_;
    Apply apply_;
    MessagePresenter present_;
    QDate today_;
    QSpinBox* installed_ = nullptr;
    QComboBox* chordAngle_ = nullptr;
    QComboBox* diagonalAngle_ = nullptr;
    QTableWidget* table_ = nullptr;
    QDateEdit* date_ = nullptr;
    QLineEdit* chord_ = nullptr;
    QLineEdit* diagonals_ = nullptr;
    QLineEdit* note_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* remove_ = nullptr;
    QLabel* lives_ = nullptr;
    QChartView* chart_ = nullptr;
};

} // namespace prochnar
