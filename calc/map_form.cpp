#include "map_form.h"

#include <algorithm>
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

namespace {

// The fields in an open-addressed hash table built at compile time. The
// hash reads the length and three bytes, which tell every field apart, so a
// lookup compares once.
constexpr std::size_t kSlots = 256;
constexpr std::size_t kEmpty = kFormFields.size();
constexpr std::size_t kShortestName = 4;

constexpr std::size_t hashName(std::string_view name)
{
    const auto byte = [name](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(name[i])); };
    return (name.size() + 47 * byte(name.size() - 1) + byte(3) + 7 * byte(name.size() - 2)) % kSlots;
}

constexpr bool namesLongEnough()
{
    return std::all_of(kFormFields.begin(), kFormFields.end(),
                       [](const FieldDefault& field) { return field.name.size() >= kShortestName; });
}
static_assert(namesLongEnough(), "the hash of a field name reads its first four bytes");

constexpr std::array<std::size_t, kSlots> fieldSlots()
{
    std::array<std::size_t, kSlots> slots{};
    slots.fill(kEmpty);
    for (std::size_t i = 0; i < kFormFields.size(); ++i) {
        std::size_t slot = hashName(kFormFields.at(i).name);
        while (slots.at(slot) != kEmpty) {
            slot = (slot + 1) % kSlots;
        }
        slots.at(slot) = i;
    }
    return slots;
}

constexpr auto kFieldSlots = fieldSlots();

std::size_t fieldIndex(std::string_view field)
{
    for (std::size_t slot = field.size() < kShortestName ? 0 : hashName(field);; slot = (slot + 1) % kSlots) {
        const std::size_t index = kFieldSlots.at(slot);
        if (index == kEmpty || field.size() < kShortestName) {
            throw std::invalid_argument("no field " + std::string(field));
        }
        if (kFormFields.at(index).name == field) {
            return index;
        }
    }
}

std::size_t stateIndex(StateControl control) { return static_cast<std::size_t>(control); }

} // namespace

MapForm::MapForm()
{
    for (std::size_t i = 0; i < kFormFields.size(); ++i) {
        texts_.at(i) = kFormFields.at(i).text;
    }
    states_.fill(true);
}

std::string MapForm::text(std::string_view field) const { return texts_.at(fieldIndex(field)); }

void MapForm::setText(std::string_view field, const std::string& text) { texts_.at(fieldIndex(field)) = text; }

bool MapForm::state(StateControl control) const { return states_.at(stateIndex(control)); }

void MapForm::setState(StateControl control, bool on) { states_.at(stateIndex(control)) = on; }

void MapForm::showMessage(const std::string& text, MessageIcon icon) { messages_.push_back({text, icon}); }

std::vector<MapForm::ShownMessage> MapForm::takeMessages() { return std::exchange(messages_, {}); }

} // namespace prochnar
