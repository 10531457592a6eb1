#pragma once

#include <QString>

#include <string_view>

namespace prochnar {

// A text of the core (UTF-8) as the window shows it.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace prochnar
