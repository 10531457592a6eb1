#include "map_form.h"

#include <stdexcept>
#include <utility>

namespace prochnar {

std::optional<StateControl> stateControlFromName(std::string_view name)
{
    for (const auto& property : kStateProperties) {
        if (property.name == name) {
            return property.control;
        }
    }
    return std::nullopt;
}

MapForm::MapForm()
{
    for (const auto& field : kFormFields) {
        texts_.emplace(field.name, field.text);
    }
    for (const auto& property : kStateProperties) {
        states_[property.control] = true;
    }
}

std::string MapForm::text(std::string_view field) const
{
    const auto it = texts_.find(field);
    if (it == texts_.end()) {
        throw std::invalid_argument("no field " + std::string(field));
    }
    return it->second;
}

void MapForm::setText(std::string_view field, const std::string& text)
{
    const auto it = texts_.find(field);
    if (it == texts_.end()) {
        throw std::invalid_argument("no field " + std::string(field));
    }
    it->second = text;
}

bool MapForm::state(StateControl control) const { return states_.at(control); }

void MapForm::setState(StateControl control, bool on) { states_[control] = on; }

void MapForm::showMessage(const std::string& text, MessageIcon icon) { messages_.push_back({text, icon}); }

std::vector<MapForm::ShownMessage> MapForm::takeMessages() { return std::exchange(messages_, {}); }

} // namespace prochnar
