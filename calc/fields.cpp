#include "fields.h"

#include <algorithm>

namespace prochnar {

std::optional<Field> fieldFromName(std::string_view name)
{
    const auto* found = std::find_if(kFormFields.begin(), kFormFields.end(),
                                     [name](const FieldDefault& field) { return field.name == name; });
    return found == kFormFields.end() ? std::nullopt : std::optional<Field>(found->id);
}

std::optional<Field> fieldFromNameIgnoringCase(std::string_view name)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const auto* found = std::find_if(kFormFields.begin(), kFormFields.end(), [&](const FieldDefault& field) {
        return std::ranges::equal(field.name, name, {}, lower, lower);
    });
    return found == kFormFields.end() ? std::nullopt : std::optional<Field>(found->id);
}

std::optional<StateControl> stateControlFromName(std::string_view name)
{
    for (const auto& property : kStateProperties) {
        if (property.name == name) {
            return property.control;
        }
    }
    return std::nullopt;
}

} // namespace prochnar
