#include "lightest.h"

#include "angles.h"
#include "fields.h"
#include "handlers.h"
#include "map_form.h"
#include "phi_table.h"

#include <algorithm>
#include <limits>

namespace prochnar {

namespace {

// Presses the button; false when it showed a message.
bool pressQuietly(MapForm& form, Button button)
{
    press(form, button);
    return form.takeMessages().empty();
}

} // namespace

std::optional<std::vector<Candidate>> anglesThatHold(const Form& form, Member member)
{
    // The inputs without the window: every state control enabled, so that
    // each press runs whatever the wizard's lock state.
    MapForm inputs;
    for (const auto& field : kFormFields) {
        inputs.setText(field.id, form.text(field.id));
    }
    const SectionFields section = sectionFields(member);
    const auto angles = angleCatalogue();

    bool computed = false;
    std::vector<Candidate> holding;
    for (std::size_t at = 0; at < angles.size(); ++at) {
        MapForm trial = inputs;
        trial.setText(section.area, areaText(angles[at]));
        trial.setText(section.radius, radiusText(angles[at]));
        if (!pressQuietly(trial, Button::Command2)) {
            continue;
        }
        const TablePhi fromTable = phiFromTable(trial.text(section.slenderness));
        if (fromTable.phi.empty()) {
            computed = true; // the form computes; this angle is too slender for the table
            continue;
        }
        trial.setText(section.phi, fromTable.phi);
        if (!pressQuietly(trial, Button::Command5) || !pressQuietly(trial, Button::Command4)) {
            continue;
        }
        computed = true;
        const auto verdicts = judgeStep3(trial);
        int least = std::numeric_limits<int>::max();
        bool holds = true;
        for (std::size_t row = 0; row < kStep3Rows.size() && holds; ++row) {
            if (belongsTo(kStep3Rows.at(row), member)) {
                const std::optional<Verdict>& verdict = verdicts.at(row);
                holds = verdict && verdict->kind == VerdictKind::Holds;
                least = holds ? std::min(least, verdict->tenths) : least;
            }
        }
        if (holds) {
            holding.push_back({.angle = at, .tenths = least});
        }
    }
    if (!computed) {
        return std::nullopt;
    }
    std::stable_sort(holding.begin(), holding.end(), [&angles](const Candidate& a, const Candidate& b) {
        const Angle& x = angles[a.angle];
        const Angle& y = angles[b.angle];
        return x.areaHundredths != y.areaHundredths ? x.areaHundredths < y.areaHundredths : x.legMm < y.legMm;
    });
    return holding;
}

} // namespace prochnar
