#include "ui/about/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace prochnar {

bool openWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

} // namespace prochnar
