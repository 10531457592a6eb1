#pragma once

#include "calc/conclusion.h"
#include "calc/form.h"
#include "calc/lattice.h"

#include <QDialog>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QPainter;

namespace prochnar {

// What the sketch of a girder shows: the lattice its fields give (none when
// they give none), and for each kind of member, in the order of
// kLatticeMembers, its verdict (none when not judged) and the catalogue
// angle its section holds ("L 63×5", or empty). The sizes as their fields
// show them.
struct GirderSketch {
    std::optional<Lattice> lattice;
    std::array<std::optional<VerdictKind>, kLatticeMembers.size()> verdicts{};
    std::array<QString, kLatticeMembers.size()> angles{};
    QString length, panel, height, width;
};

[[nodiscard]] GirderSketch girderSketchOf(const Form& form, const MeasuredSections& measured = {});

// The sketch is drawn into a box 1000 units wide, whatever the target's
// size, so that the lines and letters keep their proportions on a screen
// and on paper; as high as the girder's drawing needs.
[[nodiscard]] QSizeF sketchUnits(const GirderSketch& sketch);

// Paints the sketch into target, scaled to fit and centred: the girder's
// side with its chords, posts and diagonals, panel by panel, its cross
// section b × h, each member in its verdict's colour (grey when not judged)
// and named in words beside it ("сжатый пояс, L 63×5 — не держит"), the
// length, panels and sizes. A girder whose fields give no lattice is a line
// of text saying so.
void paintGirderSketch(QPainter& painter, const QRectF& target, const GirderSketch& sketch);

// The sketch as an image of the width in pixels, on white.
[[nodiscard]] QImage girderSketchImage(const GirderSketch& sketch, int width);

// The sections the calculation records as measured, as they are now.
using MeasuredNow = std::function<MeasuredSections()>;

// The sketch of a form, painted again whenever it is shown or updated.
class GirderSketchWidget final : public QWidget {
    Q_OBJECT

public:
    GirderSketchWidget(const Form& form, MeasuredNow measured, QWidget* parent);
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Form& form_;
    MeasuredNow measured_;
};

// "Схема ригеля": a window of its own beside the main one, the sketch of
// the calculation in form, and "Закрыть".
class GirderSketchWindow final : public QDialog {
    Q_OBJECT

public:
    GirderSketchWindow(const Form& form, MeasuredNow measured, QWidget* parent);

    // Paints the sketch again, after the form changed.
    void refresh();

private:
    GirderSketchWidget* sketch_;
};

} // namespace prochnar
