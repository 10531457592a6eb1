#pragma once

// The pieces of rich text the report is made of, shared by its parts.

#include "calc/form.h"

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

namespace prochnar::report {

[[nodiscard]] inline QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// Vertical room before a heading or table. Lengths in the style sheet count
// the device's pixels, which on a printer are tiny: room is made of text.
inline constexpr const char* kGap = R"(<p style="font-size: 5pt;">&nbsp;</p>)";

inline constexpr const char* kTable = R"(<table border="1" cellspacing="0" cellpadding="2" width="100%" )"
                                      R"(style="border-collapse: collapse; border-color: #808080;">)";

// The units of the fields whose captions name none. The moments and weights
// are in the units the formulas of the steps take them in: a moment times
// 10⁴ is in Н·м, a weight of a metre times 10 in Н/м.
inline constexpr QStringView kMomentUnit = u"тс·м";
inline constexpr QStringView kWeightUnit = u"кгс/м";
inline constexpr QStringView kAreaUnit = u"см²";
inline constexpr QStringView kForceUnit = u"Н";

// The numbers of a column of a table aligned on their decimal commas: each
// is padded with figure spaces, as wide as a digit, to the most whole digits
// of the column on its left and the most fraction digits on its right, and
// a number without a comma where others have one stands a punctuation
// space, as wide as a comma, in its place. A text that is not a number is
// shown as it is.
class Column {
public:
    explicit Column(const std::vector<std::string>& texts);

    // The number with its unit after it, if it has one, as a cell holds it.
    [[nodiscard]] QString operator()(const std::string& text, QStringView unit = {}) const;

private:
    qsizetype whole_ = 0;
    qsizetype fraction_ = 0;
    bool comma_ = false;
};

// The section "Как получены числа": the formulas of the three steps with the
// form's numbers put in, those of the verdicts and of the aids, and the
// tables they use (φ for Ст3 and Ст4, the catalogue's angles the sections hold).
[[nodiscard]] QString formulasHtml(const Form& form);

// The same split in two for a report of many girders: the formulas with the
// form's numbers and the catalogue's angles its sections hold, after the
// girder's report; and the rest, the same for every girder (the units, how
// the verdicts, φ from the table and the flange thickness are found, the
// table of φ), once at the end.
[[nodiscard]] QString ownFormulasHtml(const Form& form);
[[nodiscard]] QString sharedFormulasHtml();

} // namespace prochnar::report
