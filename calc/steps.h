#pragma once

#include "fields.h"
#include "fixed4.h"
#include "messages.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace prochnar {

// The three steps of the wizard as functions of field texts. Each member is
// named after the control whose text it holds.

struct Step1Input {
    std::string_view txtLpp, txtH, txtB, txtIy, txtIyy;
    std::string_view txtMn, txtMp, txtMv, txtLp, txtl, txtG, txtGg, Text9, Text10;
};

struct Step1Result {
    Fixed4 chordSlenderness;    // for lblJ; 0 where not computed
    Fixed4 diagonalSlenderness; // for lblJ1; 0 where not computed
    Message message = Message::None;
    std::optional<Field> about; // the field the message is about: the first empty, or not a number
    bool unlockStep2 = false;   // both values computed
};

// Slenderness of a chord element, lп / iуг · 100, and of a diagonal,
// ((h + b) / 2) / iуг · 100.
[[nodiscard]] Step1Result step1(const Step1Input& in);

struct Step2Input {
    std::string_view txtMp, txtMv;
    std::array<std::string_view, kWireCount> wirePosition;  // txtl1 … txtl8
    std::array<std::string_view, kWireCount> wireWeight;    // txtgp1 … txtgp8
    std::array<std::string_view, kWireCount> wireWeightIce; // txtgpp1 … txtgpp8
    std::string_view txtLp, txtl, txtG, txtGg, txtH, txtLpp;
    std::string_view Text3, Text5;
};

struct Step2Result {
    std::optional<bool> iceMomentGoverns; // for Text15: "1" ice moment, "0" wind moment; none if not read
    Fixed4 reaction;                      // for txtQp; 0 where not computed
    Fixed4 diagonalForce;                 // for txtZ1; 0 where not computed
    Message message = Message::None;
    std::optional<Field> about; // the field the message is about: the first empty, or not a number
};

// The governing upper-chord moment, the support reaction from the wire loads,
// the fixed loads and the girder's weight, and the force in a diagonal.
[[nodiscard]] Step2Result step2(const Step2Input& in);

struct Step3Input {
    std::string_view txtMp, txtMv, txtMn, txtH, Text1, Text10, Text3, Text5, txtQp, txtZ1, Text15;
};

// The five results in the order they are computed and written. A result that
// the press did not reach because of an error is empty.
struct Step3Result {
    std::optional<float> Text4;  // required area, compressed chord angle
    std::optional<float> Text7;  // required area, tensioned chord angle
    std::optional<float> txtz2;  // required area, diagonal angle
    std::optional<float> Text13; // half the support reaction
    std::optional<float> Text14; // force a diagonal angle of the actual area carries
    Message message = Message::None;
    std::optional<Field> about; // the field whose text is not a number (or too large), if that was the error
};

[[nodiscard]] Step3Result step3(const Step3Input& in);

// Results of steps 1 and 3 one at a time, from the texts each reads, with the
// numbers their step gives them: a form whose steps went through counts
// again only the results that read a field it changed. Each throws as its
// step's reading and arithmetic do (ConversionError, ArithmeticError).
[[nodiscard]] Fixed4 chordSlenderness(std::string_view txtLpp, std::string_view txtIy); // lblJ
[[nodiscard]] Fixed4 diagonalSlenderness(std::string_view txtH, std::string_view txtB,
                                         std::string_view txtIyy); // lblJ1
[[nodiscard]] float diagonalCapacity(std::string_view Text1, std::string_view Text5,
                                     std::string_view Text10); // Text14

} // namespace prochnar
