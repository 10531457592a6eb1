#pragma once

#include "fields.h"
#include "form.h"

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <vector>

namespace prochnar {

// A form without a window: the fields of a calculation in a table, the five
// state properties, and the messages shown, kept in order. It starts as the
// window is built, before its load handler runs: default texts, every state
// control enabled and visible.
class MapForm final : public Form {
public:
    // A message as shown, and the field it is about, if any. Two are the
    // same when they show the same: the field is not part of what is shown,
    // nor of a calculation's file.
    struct ShownMessage {
        std::string text;
        MessageIcon icon;
        std::optional<Field> about{};
        friend bool operator==(const ShownMessage& a, const ShownMessage& b)
        {
            return a.text == b.text && a.icon == b.icon;
        }
    };

    MapForm();
    // A form as built, holding the texts of form's fields.
    [[nodiscard]] static MapForm withTextsOf(const Form& form);

    [[nodiscard]] const std::string& text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    void showFieldMessage(Field about, const std::string& text, MessageIcon icon) override;

    // Messages shown since the last call, in order.
    [[nodiscard]] std::vector<ShownMessage> takeMessages();
    // Whether there are any to take.
    [[nodiscard]] bool hasMessages() const { return !messages_.empty(); }

private:
    explicit MapForm(const std::array<std::string, kFieldCount>& texts);

    std::array<std::string, kFieldCount> texts_;
    std::array<bool, kStateProperties.size()> states_{};
    std::vector<ShownMessage> messages_;
};

// A form that reads as another, the base, but for the fields written to it
// since, with every state control enabled and visible as a form just built:
// a trial of another section on a table's form writes a handful of its some
// fifty texts, and copying all of them would cost more than the trial. It
// keeps only whether a message was shown. The base must outlive it, unchanged.
class OverlayForm final : public Form {
public:
    explicit OverlayForm(const Form& base);

    [[nodiscard]] const std::string& text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    [[nodiscard]] bool state(StateControl control) const override;
    void setState(StateControl control, bool on) override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    void showFieldMessage(Field about, const std::string& text, MessageIcon icon) override;

    // Whether a message was shown since the last call.
    [[nodiscard]] bool takeShown();
    // The fields written on it, and from now on another form to read the
    // others from.
    [[nodiscard]] const std::bitset<kFieldCount>& written() const { return written_; }
    void readThrough(const Form& base) { base_ = &base; }
    // As a new overlay of base: nothing written, every state on, nothing shown.
    void restart(const Form& base);

private:
    const Form* base_;
    std::array<std::string, kFieldCount> texts_;
    std::bitset<kFieldCount> written_;
    std::array<bool, kStateProperties.size()> states_{};
    bool shown_ = false;
};

} // namespace prochnar
