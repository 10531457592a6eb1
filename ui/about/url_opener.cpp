#include "ui/about/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace prochnar {

void openWithDesktop(const QUrl& url)
{
    // Whether a handler was found is of no consequence: nothing is reported.
    static_cast<void>(QDesktopServices::openUrl(url));
}

} // namespace prochnar
