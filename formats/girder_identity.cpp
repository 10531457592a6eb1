#include "formats/girder_identity.h"

#include <algorithm>

namespace prochnar {

std::string_view nextLine(std::string_view& content)
{
    const std::size_t end = std::min(content.find('\n'), content.size());
    std::string_view line = content.substr(0, end);
    content.remove_prefix(std::min(end + 1, content.size()));
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view trimmedCell(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string escapedLineText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescapedLineText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if (text[at] == '\\' && (next == '\\' || next == 'n' || next == 'r')) {
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}

bool GirderIdentity::empty() const
{
    return section.empty() && support.empty() && km.empty() && inspected.empty() && inspector.empty() && note.empty();
}

GirderIdentity identityFromRow(const std::vector<std::string>& header, const std::vector<std::string>& row)
{
    GirderIdentity identity;
    for (const IdentityKey& key : kIdentityKeys) {
        const auto found = std::find_if(header.begin(), header.end(), [&key](const std::string& heading) {
            return trimmedCell(heading) == key.column;
        });
        const auto at = static_cast<std::size_t>(found - header.begin());
        if (found != header.end() && at < row.size()) {
            identity.*key.text = trimmedCell(row[at]);
        }
    }
    return identity;
}

std::string identityLines(const GirderIdentity& identity)
{
    std::string out;
    for (const auto& [key, text, column] : kIdentityKeys) {
        if (!(identity.*text).empty()) {
            out.append(kIdentityLinePrefix)
                .append(key)
                .append("=")
                .append(escapedLineText(identity.*text))
                .append("\n");
        }
    }
    return out;
}

GirderIdentity readIdentityLines(std::string_view content)
{
    GirderIdentity identity;
    while (!content.empty()) {
        std::string_view line = nextLine(content);
        if (!line.starts_with(kIdentityLinePrefix)) {
            continue;
        }
        line.remove_prefix(kIdentityLinePrefix.size());
        const std::string_view key = line.substr(0, line.find('='));
        const auto known = std::find_if(kIdentityKeys.begin(), kIdentityKeys.end(),
                                        [key](const IdentityKey& entry) { return entry.key == key; });
        if (known != kIdentityKeys.end() && key.size() < line.size()) {
            identity.*known->text = unescapedLineText(line.substr(key.size() + 1));
        }
    }
    return identity;
}

} // namespace prochnar
