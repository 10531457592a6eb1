#pragma once

#include "fields.h"
#include "form.h"

#include <array>
#include <string>
#include <vector>

namespace prochnar {

// A form without a window: the fields of a calculation in a table, the five
// state properties, and the messages shown, kept in order. It starts as the
// window is built, before its load handler runs: default texts, every state
// control enabled and visible.
class MapForm final : public Form {
public:
    struct ShownMessage {
        std::string text;
        MessageIcon icon;
        friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
    };

    MapForm();

    [[nodiscard]] std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    void showMessage(const std::string& text, MessageIcon icon) override;

    // Messages shown since the last call, in order.
    [[nodiscard]] std::vector<ShownMessage> takeMessages();

private:
    std::array<std::string, kFieldCount> texts_;
    std::array<bool, kStateProperties.size()> states_{};
    std::vector<ShownMessage> messages_;
};

} // namespace prochnar
