#include "map_form.h"

#include <utility>

namespace prochnar {

namespace {

std::size_t stateIndex(StateControl control) { return static_cast<std::size_t>(control); }

} // namespace

MapForm::MapForm()
{
    for (const auto& field : kFormFields) {
        texts_.at(fieldIndex(field.id)) = field.text;
    }
    states_.fill(true);
}

MapForm::MapForm(const std::array<std::string, kFieldCount>& texts) : texts_(texts) { states_.fill(true); }

MapForm MapForm::withTextsOf(const Form& form)
{
    // A table's checks copy its own forms by the thousand: field by field
    // through the interface only for a form of another kind.
    if (const auto* same = dynamic_cast<const MapForm*>(&form)) {
        return MapForm(same->texts_);
    }
    MapForm copy;
    for (const auto& field : kFormFields) {
        copy.setText(field.id, form.text(field.id));
    }
    return copy;
}

const std::string& MapForm::text(Field field) const { return texts_.at(fieldIndex(field)); }

void MapForm::setText(Field field, const std::string& text) { texts_.at(fieldIndex(field)) = text; }

bool MapForm::state(StateControl control) const { return states_.at(stateIndex(control)); }

void MapForm::setState(StateControl control, bool on) { states_.at(stateIndex(control)) = on; }

void MapForm::showMessage(const std::string& text, MessageIcon icon)
{
    messages_.push_back({.text = text, .icon = icon, .about = std::nullopt});
}

void MapForm::showFieldMessage(Field about, const std::string& text, MessageIcon icon)
{
    messages_.push_back({.text = text, .icon = icon, .about = about});
}

std::vector<MapForm::ShownMessage> MapForm::takeMessages() { return std::exchange(messages_, {}); }

OverlayForm::OverlayForm(const Form& base) : base_{&base} { states_.fill(true); }

void OverlayForm::restart(const Form& base)
{
    base_ = &base;
    written_.reset();
    states_.fill(true);
    shown_ = false;
}

const std::string& OverlayForm::text(Field field) const
{
    const std::size_t at = fieldIndex(field);
    return written_.test(at) ? texts_.at(at) : base_->text(field);
}

void OverlayForm::setText(Field field, const std::string& text)
{
    const std::size_t at = fieldIndex(field);
    texts_.at(at) = text;
    written_.set(at);
}

bool OverlayForm::state(StateControl control) const { return states_.at(stateIndex(control)); }

void OverlayForm::setState(StateControl control, bool on) { states_.at(stateIndex(control)) = on; }

void OverlayForm::showMessage(const std::string& /*text*/, MessageIcon /*icon*/) { shown_ = true; }

void OverlayForm::showFieldMessage(Field /*about*/, const std::string& /*text*/, MessageIcon /*icon*/)
{
    shown_ = true;
}

bool OverlayForm::takeShown() { return std::exchange(shown_, false); }

} // namespace prochnar
