#pragma once

#include "calc/form.h"
#include "calc/inspections.h"

#include <QImage>
#include <QSize>

class QChart;

namespace prochnar {

// The chart of a girder's thinning: the flange thickness (мм) against time
// (год) of each member kind that has points — its points measured (and the
// nominal thickness at installation), the line of the rate that governs
// through the last point, continued to the least thickness, that least
// thickness as a horizontal line, and a vertical line at today (a decimal
// year). The lives are those of lifeOf() with the form's inputs. The chart
// speaks Russian, its numbers with the decimal comma.
[[nodiscard]] QChart* thinningChart(const Form& form, const GirderHistory& history, double today);

// The chart painted into an image of size pixels, for the report: its lines
// and letters as the dialog shows them at the size in points, scaled by
// scale.
[[nodiscard]] QImage thinningChartImage(const Form& form, const GirderHistory& history, double today, QSize size,
                                        qreal scale);

} // namespace prochnar
