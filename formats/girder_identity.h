#pragma once

#include <array>
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

// The next line of a file's content without its line ending (LF or CRLF);
// content loses it.
[[nodiscard]] std::string_view nextLine(std::string_view& content);

// A table's cell without the blanks, tabs and line breaks at its ends.
[[nodiscard]] std::string_view trimmedCell(std::string_view text);

// The identity a table row carries in those of its columns that the header
// has, each cell with the blanks at its ends dropped; the rest empty. A
// column named twice gives its first; a row shorter than the header has
// empty cells at its end.
[[nodiscard]] GirderIdentity identityFromRow(const std::vector<std::string>& header,
                                             const std::vector<std::string>& row);

// A calculation's file keeps the identity in comment lines before the
// clicks, one for each text that is not empty, in the order below:
//
//     # girder support=40-41
//
// The form reader passes over them as over any comment, so a program that
// does not know them reads the file all the same, and a calculation without
// an identity is written as before. KEY ends at the first "="; in TEXT a
// backslash, a line break and a carriage return are written "\\", "\n" and
// "\r", every other character as typed ("=" and blanks at the ends too).
inline constexpr std::string_view kIdentityLinePrefix = "# girder ";
// Each text of an identity: its key in the file, its column in a table.
struct IdentityKey {
    std::string_view key;
    std::string GirderIdentity::*text;
    std::string_view column;
};
inline constexpr std::array<IdentityKey, 6> kIdentityKeys{{
    {"section", &GirderIdentity::section, kSectionColumn},
    {"support", &GirderIdentity::support, kSupportColumn},
    {"km", &GirderIdentity::km, kKmColumn},
    {"inspected", &GirderIdentity::inspected, kInspectedColumn},
    {"inspector", &GirderIdentity::inspector, kInspectorColumn},
    {"note", &GirderIdentity::note, kNoteColumn},
}};

[[nodiscard]] std::string identityLines(const GirderIdentity& identity);

// A text as a comment line of a calculation's file keeps it, and back: a
// backslash, a line break and a carriage return as "\\", "\n" and "\r"; a
// backslash before any other character is kept.
[[nodiscard]] std::string escapedLineText(std::string_view text);
[[nodiscard]] std::string unescapedLineText(std::string_view text);

// The identity that a file's lines keep; a later line for a key wins. A
// "# girder" line with a key this program does not know, or without "=", is
// a comment like any other: a later version may keep more of the girder, and
// its files still open here. A backslash before any other character is kept.
[[nodiscard]] GirderIdentity readIdentityLines(std::string_view content);

} // namespace prochnar
