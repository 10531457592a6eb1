#pragma once

#include <functional>

class QUrl;

namespace prochnar {

// Hands an address (a web page, a mail to write, a document) to whatever
// opens it; a test puts a recorder in its place.
using UrlOpener = std::function<void(const QUrl&)>;

// Opens the address with the desktop's default handler and returns at once,
// without waiting for the handler or examining the outcome.
void openWithDesktop(const QUrl& url);

} // namespace prochnar
