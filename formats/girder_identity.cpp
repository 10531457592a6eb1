#include "formats/girder_identity.h"

#include <algorithm>
#include <array>
#include <utility>

namespace prochnar {

namespace {

std::string_view trimmed(std::string_view text)
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

} // namespace

bool GirderIdentity::empty() const
{
    return section.empty() && support.empty() && km.empty() && inspected.empty() && inspector.empty() && note.empty();
}

GirderIdentity identityFromRow(const std::vector<std::string>& header, const std::vector<std::string>& row)
{
    GirderIdentity identity;
    const std::array<std::pair<std::string_view, std::string*>, 6> columns{{
        {kSectionColumn, &identity.section},
        {kSupportColumn, &identity.support},
        {kKmColumn, &identity.km},
        {kInspectedColumn, &identity.inspected},
        {kInspectorColumn, &identity.inspector},
        {kNoteColumn, &identity.note},
    }};
    for (const auto& column : columns) {
        const std::string_view name = column.first;
        const auto found = std::find_if(header.begin(), header.end(),
                                        [name](const std::string& heading) { return trimmed(heading) == name; });
        const auto at = static_cast<std::size_t>(found - header.begin());
        if (found != header.end() && at < row.size()) {
            *column.second = trimmed(row[at]);
        }
    }
    return identity;
}

} // namespace prochnar
