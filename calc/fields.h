#pragma once

#include "form.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace prochnar {

// Every field that a calculation reads or writes, in the order in which a
// form file lists them, with the text the window starts with. The one list
// from which the field identifiers, their names and their defaults are made.
#define PROCHNAR_FORM_FIELDS(X)                                                                                        \
    X(txtMn, "")                                                                                                       \
    X(txtMp, "")                                                                                                       \
    X(txtMv, "")                                                                                                       \
    X(txtLp, "")                                                                                                       \
    X(txtl, "")                                                                                                        \
    X(txtG, "")                                                                                                        \
    X(txtGg, "")                                                                                                       \
    X(txtLpp, "")                                                                                                      \
    X(txtH, "")                                                                                                        \
    X(txtB, "")                                                                                                        \
    X(txtIy, "")                                                                                                       \
    X(txtIyy, "")                                                                                                      \
    X(Text1, "21")                                                                                                     \
    X(Text9, "")                                                                                                       \
    X(Text10, "")                                                                                                      \
    X(Text15, "Text15")                                                                                                \
    X(lblJ, "")                                                                                                        \
    X(lblJ1, "")                                                                                                       \
    X(Text3, "")                                                                                                       \
    X(Text5, "")                                                                                                       \
    X(txtl1, "0")                                                                                                      \
    X(txtl2, "0")                                                                                                      \
    X(txtl3, "0")                                                                                                      \
    X(txtl4, "0")                                                                                                      \
    X(txtl5, "0")                                                                                                      \
    X(txtl6, "0")                                                                                                      \
    X(txtl7, "0")                                                                                                      \
    X(txtl8, "0")                                                                                                      \
    X(txtgp1, "0")                                                                                                     \
    X(txtgp2, "0")                                                                                                     \
    X(txtgp3, "0")                                                                                                     \
    X(txtgp4, "0")                                                                                                     \
    X(txtgp5, "0")                                                                                                     \
    X(txtgp6, "0")                                                                                                     \
    X(txtgp7, "0")                                                                                                     \
    X(txtgp8, "0")                                                                                                     \
    X(txtgpp1, "0")                                                                                                    \
    X(txtgpp2, "0")                                                                                                    \
    X(txtgpp3, "0")                                                                                                    \
    X(txtgpp4, "0")                                                                                                    \
    X(txtgpp5, "0")                                                                                                    \
    X(txtgpp6, "0")                                                                                                    \
    X(txtgpp7, "0")                                                                                                    \
    X(txtgpp8, "0")                                                                                                    \
    X(Text4, "")                                                                                                       \
    X(Text6, "")                                                                                                       \
    X(Text7, "")                                                                                                       \
    X(Text8, "")                                                                                                       \
    X(txtz2, "")                                                                                                       \
    X(Text12, "")                                                                                                      \
    X(Text14, "")                                                                                                      \
    X(Text13, "")                                                                                                      \
    X(txtQp, "")                                                                                                       \
    X(txtZ1, "Text13")

// A field of the calculation, named after its control; a misspelt one does
// not compile. The names as text belong to files, tables and widgets only.
enum class Field : std::uint8_t {
#define PROCHNAR_FIELD_ID(name, text) name,
    PROCHNAR_FORM_FIELDS(PROCHNAR_FIELD_ID)
#undef PROCHNAR_FIELD_ID
};

struct FieldDefault {
    Field id;
    std::string_view name;
    std::string_view text; // the text the window starts with
};

inline constexpr std::array kFormFields{
#define PROCHNAR_FIELD_DEFAULT(name, text) FieldDefault{Field::name, #name, text},
    PROCHNAR_FORM_FIELDS(PROCHNAR_FIELD_DEFAULT)
#undef PROCHNAR_FIELD_DEFAULT
};
inline constexpr std::size_t kFieldCount = kFormFields.size();

[[nodiscard]] constexpr std::size_t fieldIndex(Field field) { return static_cast<std::size_t>(field); }
[[nodiscard]] constexpr std::string_view fieldName(Field field) { return kFormFields.at(fieldIndex(field)).name; }

// The field of that name, if any: for the names read from files, table
// headers and widgets.
[[nodiscard]] std::optional<Field> fieldFromName(std::string_view name);
// The same with ASCII letters of either case: "TXTLP" gives txtLp.
[[nodiscard]] std::optional<Field> fieldFromNameIgnoringCase(std::string_view name);

// The wire table of step 2, by wire: position, weight, weight with ice.
inline constexpr std::size_t kWireCount = 8;
inline constexpr std::array<Field, kWireCount> kWirePositions{Field::txtl1, Field::txtl2, Field::txtl3, Field::txtl4,
                                                              Field::txtl5, Field::txtl6, Field::txtl7, Field::txtl8};
inline constexpr std::array<Field, kWireCount> kWireWeights{Field::txtgp1, Field::txtgp2, Field::txtgp3, Field::txtgp4,
                                                            Field::txtgp5, Field::txtgp6, Field::txtgp7, Field::txtgp8};
inline constexpr std::array<Field, kWireCount> kWireWeightsIce{Field::txtgpp1, Field::txtgpp2, Field::txtgpp3,
                                                               Field::txtgpp4, Field::txtgpp5, Field::txtgpp6,
                                                               Field::txtgpp7, Field::txtgpp8};

struct StateProperty {
    StateControl control;
    std::string_view name; // as written in a form file
};

inline constexpr std::array<StateProperty, 5> kStateProperties{{
    {StateControl::Frame5Visible, "Frame5.Visible"},
    {StateControl::Frame7Enabled, "Frame7.Enabled"},
    {StateControl::Command5Enabled, "Command5.Enabled"},
    {StateControl::Frame9Visible, "Frame9.Visible"},
    {StateControl::Command4Enabled, "Command4.Enabled"},
}};

[[nodiscard]] std::optional<StateControl> stateControlFromName(std::string_view name);

} // namespace prochnar
