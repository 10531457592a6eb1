#pragma once

#include <QDialog>

#include <cstddef>
#include <functional>

class QLineEdit;
class QPushButton;
class QString;
class QTableWidget;

namespace prochnar {

enum class AngleMember { Chord, Diagonals };

// The catalogue of equal-leg angles: a box that narrows the list to the
// sizes typed, the list, and the buttons "для пояса" and "для раскосов",
// which hand the selected angle over. It stays open until closed, so that
// the chord's angle and the diagonals' can be taken one after the other.
class AnglesDialog final : public QDialog {
    Q_OBJECT

public:
    // Called with the member and the angle's position in angleCatalogue().
    using Taken = std::function<void(AngleMember member, std::size_t angle)>;

    AnglesDialog(Taken taken, QWidget* parent);

private:
    void narrow(const QString& typed);
    void updateButtons();
    void take(AngleMember member);

    Taken taken_;
    QLineEdit* filter_;
    QTableWidget* table_;
    QPushButton* forChord_;
    QPushButton* forDiagonals_;
};

} // namespace prochnar
