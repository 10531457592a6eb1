#pragma once

#include "form.h"
#include "verdicts.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace prochnar {

// A catalogue angle that holds for a member, and its smallest margin over
// the member's rows of step 3, in tenths of a per cent.
struct Candidate {
    std::size_t angle; // its position in angleCatalogue()
    int tenths;
    friend bool operator==(const Candidate&, const Candidate&) = default;
};

// The catalogue angles that would hold for the member with the form's other
// inputs, lightest first (by area, then by leg). Each angle is tried on a
// copy of the form: its area and radius go into the member's section fields,
// step 1 is confirmed, the member's φ is taken from the table for the new
// slenderness (Text3 from lblJ for the chord, Text5 from lblJ1 for the
// diagonals; the other member's φ stays as typed), then step 2 is confirmed
// and step 3 executed. The angle holds when every row of the member holds,
// as judgeStep3 judges them: for the chord the compressed and the tensioned
// chord, for the diagonals their area and the force of a diagonal. A row to
// check disqualifies it as one that fails does. An angle whose slenderness
// lies outside the table of φ does not hold.
//
// None when the form cannot be computed with any angle: a press shows a
// message (a field empty or not a number) whichever angle is put in.
[[nodiscard]] std::optional<std::vector<Candidate>> anglesThatHold(const Form& form, Member member);

} // namespace prochnar
