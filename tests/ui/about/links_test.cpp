// The addresses the About window's links hand to the desktop.

#include "ui/about/links.h"

#include <gtest/gtest.h>

#include <QUrlQuery>

#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace prochnar {
namespace {

struct Mail {
    const char* name;
    const char* address;
    const char* subject;
};

void PrintTo(const Mail& mail, std::ostream* out) { *out << mail.name; }

class MailLink : public ::testing::TestWithParam<Mail> {};

// Parsed back, the address gives the recipient and the subject as they were,
// and what goes to the mail program is plain ASCII without blanks.
TEST_P(MailLink, ReadsBackAsWritten)
{
    const QString address = QString::fromUtf8(GetParam().address);
    const QString subject = QString::fromUtf8(GetParam().subject);
    const QUrl url = mailLink(address, subject);
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();

    const QUrl parsed(QString::fromLatin1(url.toEncoded()), QUrl::StrictMode);
    ASSERT_TRUE(parsed.isValid()) << parsed.errorString().toStdString();
    EXPECT_EQ(parsed.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(parsed.path(QUrl::FullyDecoded), address);
    const QUrlQuery query(parsed);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
    EXPECT_EQ(query.queryItems().size(), 1);

    for (const char c : url.toEncoded()) {
        EXPECT_TRUE(c > ' ' && static_cast<unsigned char>(c) < 0x7F) << "raw character " << int(c);
    }
}

INSTANTIATE_TEST_SUITE_P(Subjects, MailLink,
                         ::testing::Values(Mail{"Fixed", "prochnar@example.org", "Вопрос по программе Прочнар"},
                                           Mail{"Signs", "prochnar@example.org",
                                                "two  spaces, a+plus & an=equals 100% #1?"},
                                           Mail{"Typography", "prochnar@example.org", "Ёлка; «кавычки» — тире"},
                                           Mail{"TaggedAddress", "first.last+tag@example.org", "x"},
                                           Mail{"CyrillicAddress", "автор@пример.рф", "Вопрос"},
                                           Mail{"OddAddress", "odd?name#x@example.org", "a b"}),
                         [](const ::testing::TestParamInfo<Mail>& param) { return std::string(param.param.name); });

TEST(MailLink, PlainAddressStaysAsWritten)
{
    const QByteArray encoded = mailLink(QStringLiteral("prochnar@example.org"), mailSubject()).toEncoded();
    EXPECT_TRUE(encoded.startsWith("mailto:prochnar@example.org?subject=")) << encoded.constData();
    EXPECT_EQ(mailLink(QStringLiteral("a@b.c"), QStringLiteral("Вопрос по")).toEncoded(),
              QByteArray("mailto:a@b.c?subject=%D0%92%D0%BE%D0%BF%D1%80%D0%BE%D1%81%20%D0%BF%D0%BE"));
}

TEST(MailLink, SubjectMarksAQuestionToTheAuthor)
{
    EXPECT_TRUE(mailSubject().startsWith(QStringLiteral("Вопрос")));
    EXPECT_TRUE(mailSubject().contains(QStringLiteral("Прочнар")));
}

TEST(WebLink, CaptionUnchanged)
{
    for (const char* caption : {"https://example.org/prochnar", "http://example.org:8080/a/b?c=1&d=2#e",
                                "example.org/prochnar", "www.example.org"}) {
        const QUrl url = webLink(QString::fromUtf8(caption));
        EXPECT_EQ(url.toString(), QString::fromUtf8(caption));
    }
    // No scheme is added where the caption has none.
    EXPECT_TRUE(webLink(QStringLiteral("www.example.org")).scheme().isEmpty());
}

} // namespace
} // namespace prochnar
