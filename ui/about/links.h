#pragma once

#include <QString>
#include <QUrl>

namespace prochnar {

// The subject of a mail to the author: it marks the mail as a question.
[[nodiscard]] QString mailSubject();

// The web link: the caption as it stands, with no scheme added.
[[nodiscard]] QUrl webLink(const QString& caption);

// The mail link: "mailto:", the address, then the subject as a query item.
// Both are percent-encoded where they need it, so that a subject with spaces
// and Cyrillic letters still makes a valid address; a plain address stays
// as written.
[[nodiscard]] QUrl mailLink(const QString& address, const QString& subject);

} // namespace prochnar
