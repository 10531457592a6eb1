#include "ui/about/links.h"

#include <QByteArray>

namespace prochnar {

QString mailSubject() { return QStringLiteral("Вопрос по программе Прочнар"); }

QUrl webLink(const QString& caption) { return QUrl(caption, QUrl::TolerantMode); }

QUrl mailLink(const QString& address, const QString& subject)
{
    // In the address only what would end it ("?", "#", "%", blanks) or is not
    // ASCII is encoded; the characters an address is made of stay.
    const QByteArray to = QUrl::toPercentEncoding(address, "@!$'()*+,;=");
    const QByteArray about = QUrl::toPercentEncoding(subject);
    return QUrl(QString::fromLatin1("mailto:" + to + "?subject=" + about), QUrl::StrictMode);
}

} // namespace prochnar
