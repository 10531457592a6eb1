#include "map_form.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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

// The fields in an open-addressed hash table built at compile time. Every
// name has four to seven bytes, so a name is packed into one integer: its
// first three bytes, its last three and its length (bits 24 to 31 mix the
// fourth byte with another, which these already hold). Hashing it is a
// multiplication, and a lookup compares once.
constexpr unsigned kSlotBits = 8;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
constexpr std::size_t kEmpty = kFormFields.size();
constexpr std::size_t kShortestName = 4;
constexpr std::size_t kLongestName = 7;

// Four bytes from `at`, in the machine's order: one load when running.
constexpr std::uint64_t word(std::string_view name, std::size_t at)
{
    if (!std::is_constant_evaluated()) {
        std::uint32_t loaded = 0;
        std::memcpy(&loaded, name.data() + at, sizeof loaded);
        return loaded;
    }
    std::array<unsigned char, sizeof(std::uint32_t)> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes.at(i) = static_cast<unsigned char>(name[at + i]);
    }
    return std::bit_cast<std::uint32_t>(bytes);
}

// 0 for a name no field can have.
constexpr std::uint64_t packName(std::string_view name)
{
    if (name.size() < kShortestName || name.size() > kLongestName) {
        return 0;
    }
    return word(name, 0) | (word(name, name.size() - 4) << 24U) | (std::uint64_t{name.size()} << 56U);
}

constexpr std::size_t hashName(std::uint64_t packed)
{
    // The top bits of the product, which every byte of the name reaches.
    return static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15ULL) >> (64U - kSlotBits));
}

struct Slot {
    std::uint64_t name = 0; // packed
    std::size_t index = kEmpty;
};

constexpr std::array<Slot, kSlots> fieldSlots()
{
    std::array<Slot, kSlots> slots{};
    for (std::size_t i = 0; i < kFormFields.size(); ++i) {
        const std::uint64_t packed = packName(kFormFields.at(i).name);
        if (packed == 0) {
            throw std::logic_error("a field name of four to seven bytes");
        }
        std::size_t slot = hashName(packed);
        while (slots.at(slot).index != kEmpty) {
            slot = (slot + 1) % kSlots;
        }
        slots.at(slot) = {packed, i};
    }
    return slots;
}

constexpr auto kFieldSlots = fieldSlots();

// Kept out of fieldIndex, so that a lookup that finds its field sets up no
// frame for the exception.
[[noreturn]] [[gnu::noinline]] void noField(std::string_view field)
{
    throw std::invalid_argument("no field " + std::string(field));
}

std::size_t fieldIndex(std::string_view field)
{
    const std::uint64_t packed = packName(field);
    for (std::size_t slot = hashName(packed);; slot = (slot + 1) % kSlots) {
        const Slot& entry = kFieldSlots.at(slot);
        if (entry.index == kEmpty || packed == 0) {
            noField(field);
        }
        if (entry.name == packed) {
            return entry.index;
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
