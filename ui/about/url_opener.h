#pragma once

#include <functional>

class QUrl;

namespace prochnar {

// Hands an address (a web page, a mail to write, a document) to whatever
// opens it, and says whether something took it; a test puts a recorder in
// its place.
using UrlOpener = std::function<bool(const QUrl&)>;

// Opens the address with the desktop's default handler and returns at once,
// without waiting for the handler: false when the desktop has none to start.
bool openWithDesktop(const QUrl& url);

} // namespace prochnar
