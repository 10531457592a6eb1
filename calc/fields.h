#pragma once

#include "form.h"

#include <array>
#include <optional>
#include <string_view>

namespace prochnar {

struct FieldDefault {
    std::string_view name;
    std::string_view text; // the text the window starts with
};

// Every field that a calculation reads or writes, in the order in which a
// form file lists them, with the texts the window starts with.
inline constexpr std::array<FieldDefault, 54> kFormFields{{
    {"txtMn", ""},    {"txtMp", ""},    {"txtMv", ""},    {"txtLp", ""},        {"txtl", ""},     {"txtG", ""},
    {"txtGg", ""},    {"txtLpp", ""},   {"txtH", ""},     {"txtB", ""},         {"txtIy", ""},    {"txtIyy", ""},
    {"Text1", "21"},  {"Text9", ""},    {"Text10", ""},   {"Text15", "Text15"}, {"lblJ", ""},     {"lblJ1", ""},
    {"Text3", ""},    {"Text5", ""},    {"txtl1", "0"},   {"txtl2", "0"},       {"txtl3", "0"},   {"txtl4", "0"},
    {"txtl5", "0"},   {"txtl6", "0"},   {"txtl7", "0"},   {"txtl8", "0"},       {"txtgp1", "0"},  {"txtgp2", "0"},
    {"txtgp3", "0"},  {"txtgp4", "0"},  {"txtgp5", "0"},  {"txtgp6", "0"},      {"txtgp7", "0"},  {"txtgp8", "0"},
    {"txtgpp1", "0"}, {"txtgpp2", "0"}, {"txtgpp3", "0"}, {"txtgpp4", "0"},     {"txtgpp5", "0"}, {"txtgpp6", "0"},
    {"txtgpp7", "0"}, {"txtgpp8", "0"}, {"Text4", ""},    {"Text6", ""},        {"Text7", ""},    {"Text8", ""},
    {"txtz2", ""},    {"Text12", ""},   {"Text14", ""},   {"Text13", ""},       {"txtQp", ""},    {"txtZ1", "Text13"},
}};

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
