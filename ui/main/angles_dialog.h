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
class QTableWidget;

namespace prochnar {

enum class AngleMember { Chord, Diagonals };

// The catalogue of equal-leg angles: a box that narrows the list to the
// sizes typed, a choice that keeps only the angles that hold for the chord
// or for the diagonals with the window's inputs (lightest first, with their
// least margin), the list, and the buttons "для пояса" and "для раскосов",
// which hand the selected angle over. It stays open until closed, so that
// the chord's angle and the diagonals' can be taken one after the other.
class AnglesDialog final : public QDialog {
    Q_OBJECT

public:
    // Called with the member and the angle's position in angleCatalogue().
    using Taken = std::function<void(AngleMember member, std::size_t angle)>;

    // The window's inputs as they are now.
    using Inputs = std::function<MapForm()>;

    AnglesDialog(Taken taken, Inputs inputs, QWidget* parent);

private:
    // Fills the list: the whole catalogue, or the angles that hold for the
    // member chosen, and keeps the selected angle if it is still there.
    void refill();
    void narrow(const QString& typed);
    void updateButtons();
    void take(AngleMember member);
    [[nodiscard]] std::optional<std::size_t> angleAt(int row) const;

    Taken taken_;
    Inputs inputs_;
    QLineEdit* filter_;
    QComboBox* holding_;
    QTableWidget* table_;
    QLabel* none_;
    QPushButton* forChord_;
    QPushButton* forDiagonals_;
};

} // namespace prochnar
