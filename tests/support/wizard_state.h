#pragma once

#include "calc/form.h"

namespace prochnar::test_support {

// The reachable combinations of the wizard's lock state: step 2 locked or
// open, step 3 covered (panel shown, "Выполнить" disabled), open or bare
// (panel hidden, "Выполнить" disabled). Other means a combination that the
// handlers never produce.
enum class Wizard { S1 = 1, S2, S3, S4, S5, Other };

inline Wizard wizardState(const Form& form)
{
    const bool panel2 = form.state(StateControl::Frame5Visible);
    const bool table = form.state(StateControl::Frame7Enabled);
    const bool confirm2 = form.state(StateControl::Command5Enabled);
    const bool panel3 = form.state(StateControl::Frame9Visible);
    const bool execute = form.state(StateControl::Command4Enabled);

    const bool step2Locked = panel2 && !table && !confirm2;
    const bool step2Open = !panel2 && table && confirm2;
    const bool covered = panel3 && !execute;
    const bool open3 = !panel3 && execute;
    const bool bare = !panel3 && !execute;
    if (step2Locked && covered) return Wizard::S1;
    if (step2Open && covered) return Wizard::S2;
    if (step2Open && open3) return Wizard::S3;
    if (step2Open && bare) return Wizard::S4;
    if (step2Locked && bare) return Wizard::S5;
    return Wizard::Other;
}

} // namespace prochnar::test_support
