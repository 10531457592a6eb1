#pragma once

#include <QDialog>

#include "calc/map_form.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QTableView;

namespace prochnar {

enum class AngleMember { Chord, Diagonals };

class AngleList;
class ShownAngles;

// The catalogue of equal-leg angles: a box that narrows the list to the
// sizes typed, a choice that keeps only the angles that hold for the chord
// or for the diagonals with the window's inputs (lightest first, with their
// least margin), the list, the flange thickness measured on the girder
// (optional), and the buttons "для пояса" and "для раскосов", which hand
// the selected angle over with the measurement. It stays open until closed, so that
// the chord's angle and the diagonals' can be taken one after the other.
// The list is a view of the angles shown, filtered and ordered over a model
// of the whole catalogue, so that a screen reader sees the rows shown and
// can select one.
class AnglesDialog final : public QDialog {
    Q_OBJECT

public:
    // Called with the member, the angle's position in angleCatalogue() and
    // the flange thickness measured, 0,1 mm (none when not given).
    using Taken = std::function<void(AngleMember member, std::size_t angle, std::optional<int> measured)>;
    // Says why a measured thickness is refused.
    using Refuse = std::function<void(const QString& text)>;

    // The window's inputs as they are now.
    using Inputs = std::function<MapForm()>;

    AnglesDialog(Taken taken, Inputs inputs, Refuse refuse, QWidget* parent);

private:
    // Shows the whole catalogue, or the angles that hold for the member
    // chosen, and keeps the selected angle if it is still shown.
    void refill();
    void narrow(const QString& typed);
    // Keeps one angle selected while any is shown.
    void keepOneSelected();
    void updateButtons();
    void take(AngleMember member);
    [[nodiscard]] std::optional<std::size_t> selectedAngle() const;

    Taken taken_;
    Inputs inputs_;
    Refuse refuse_;
    QLineEdit* filter_;
    QLineEdit* measured_;
    QComboBox* holding_;
    AngleList* angles_;
    ShownAngles* shown_;
    QTableView* table_;
    QLabel* none_;
    QPushButton* forChord_;
    QPushButton* forDiagonals_;
};

} // namespace prochnar
