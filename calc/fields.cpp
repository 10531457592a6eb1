#include "fields.h"

#include <algorithm>

namespace prochnar {

std::optional<Field> fieldFromName(std::string_view name)
{
    const auto* found = std::find_if(kFormFields.begin(), kFormFields.end(),
                                     [name](const FieldDefault& field) { return field.name == name; });
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
