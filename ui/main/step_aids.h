#pragma once

#include "calc/map_form.h"
#include "calc/verdicts.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <cstddef>
#include <optional>

class QLabel;
class QPushButton;
class QWidget;

namespace Ui {
class Form1;
}

namespace prochnar {

class AnglesDialog;
class CalculationDocument;
class GirderSketchWindow;
class WidgetForm;
enum class AngleMember;

// The engineer's aids beside the wizard: φ from the table under the "J"
// fields of step 2, the catalogue of angles for the section fields of step
// 1, a verdict on each row of step 3 after "Выполнить", which goes as soon
// as one of the row's two values changes, and the sketch of the girder in
// its verdicts' colours ("Схема…" on step 3).
class StepAids final : public QObject {
    Q_OBJECT

public:
    // Over the form of the window that ui set up. Made after the wizard's
    // buttons are wired, so that the verdicts follow the press of "Выполнить".
    // The sections picked from the catalogue are recorded in the document's
    // history, and the verdicts keep the least thickness of the sections it
    // records as measured.
    StepAids(const Ui::Form1& ui, WidgetForm& form, CalculationDocument& document, QWidget& window);

    // Shows the verdict of every row (judged), as after "Выполнить", or of none.
    void judgeAll(bool judged);

private:
    void fillPhi(Field slenderness, Field phi);
    void openAngles();
    void openSketch();
    // The window's texts, for the catalogue to try its angles on.
    [[nodiscard]] MapForm inputs() const;
    void takeAngle(AngleMember member, std::size_t angle, std::optional<int> measured);
    // Shows the verdict of each row that was judged and whose two values
    // have not changed since; clears the others.
    void showVerdicts();

    WidgetForm& form_;
    CalculationDocument& document_;
    QWidget& window_;
    std::array<QLabel*, kVerdictRows> labels_{};
    std::array<bool, kVerdictRows> judged_{};
    QPointer<AnglesDialog> angles_;
    QPointer<GirderSketchWindow> sketch_;
    std::array<QPushButton*, 5> wizardButtons_{};
};

} // namespace prochnar
