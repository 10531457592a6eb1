// The About window: a click on each link hands the desktop an address it can
// use, and a mail address parsed back gives the recipient and the subject as
// they were, in plain ASCII without blanks. Its captions are checked with the
// main window's.

#include "ui/about/about_window.h"
#include "ui/about/links.h"

#include <QLabel>
#include <QTest>
#include <QUrlQuery>

#include <algorithm>
#include <vector>

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void linksOpenValidAddresses();
};

void AboutTest::linksOpenValidAddresses()
{
    std::vector<QUrl> opened;
    prochnar::AboutWindow window([&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char* link : {"Label2", "Label3"}) {
        auto* label = window.findChild<QLabel*>(QLatin1String(link));
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    }
    QCOMPARE(opened.size(), std::size_t{2});
    QCOMPARE(opened[0].toString(), QStringLiteral(PROCHNAR_AUTHOR_URL));
    QVERIFY(opened[1].toEncoded().startsWith("mailto:" PROCHNAR_AUTHOR_MAIL "?subject=%"));

    for (const auto& [address, subject] : std::initializer_list<std::pair<QString, QString>>{
             {QStringLiteral("prochnar@example.org"), prochnar::mailSubject()},
             {QStringLiteral("first.last+tag@example.org"), QStringLiteral("two  spaces, a+plus & an=equals 100% #1?")},
             {QStringLiteral("автор@пример.рф"), QStringLiteral("Ёлка; «кавычки» — тире")}}) {
        const QByteArray encoded = prochnar::mailLink(address, subject).toEncoded();
        const QUrl parsed(QString::fromLatin1(encoded), QUrl::StrictMode);
        QVERIFY2(parsed.isValid() && parsed.scheme() == QStringLiteral("mailto"), encoded.constData());
        QCOMPARE(parsed.path(QUrl::FullyDecoded), address);
        QCOMPARE(QUrlQuery(parsed).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
        QVERIFY2(std::all_of(encoded.begin(), encoded.end(), [](char c) { return c > ' ' && c < 0x7F; }),
                 encoded.constData());
    }
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
