#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// Which girder a calculation documents, as the engineer who inspected it
// names it: none of it enters the calculation. Every text as typed (UTF-8).
struct GirderIdentity {
    std::string section = {};   // участок: the line section
    std::string support = {};   // опора: "40-41"
    std::string km = {};        // км: "104,2"
    std::string inspected = {}; // дата осмотра, as written: "07.12.2026"
    std::string inspector = {}; // проверил: who checked the girder
    std::string note = {};      // примечание
    [[nodiscard]] bool empty() const;
    friend bool operator==(const GirderIdentity&, const GirderIdentity&) = default;
};

// The columns of a table of girders that carry an identity, as an engineer
// heads them: "Участок", "Опора", "Км", "Дата осмотра", "Проверил",
// "Примечание".
inline constexpr std::string_view kSectionColumn = "Участок";
inline constexpr std::string_view kSupportColumn = "Опора";
inline constexpr std::string_view kKmColumn = "Км";
inline constexpr std::string_view kInspectedColumn = "Дата осмотра";
inline constexpr std::string_view kInspectorColumn = "Проверил";
inline constexpr std::string_view kNoteColumn = "Примечание";

// The identity a table row carries in those of its columns that the header
// has, each cell with the blanks at its ends dropped; the rest empty. A
// column named twice gives its first; a row shorter than the header has
// empty cells at its end.
[[nodiscard]] GirderIdentity identityFromRow(const std::vector<std::string>& header,
                                             const std::vector<std::string>& row);

} // namespace prochnar
