// The About window as built: its frame, texts, fonts and colours, the
// pointing hand over its links, and what a click on each link opens.

#include "tests/ui/caption_fit.h"
#include "ui/about/about_window.h"
#include "ui/about/fit_caption.h"
#include "ui/about/hand_cursor.h"
#include "ui/about/links.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QUrlQuery>

#include <vector>

using prochnar::AboutWindow;

namespace {

// The About window with a recorder in place of the desktop.
class AboutDriver {
public:
    AboutDriver() : window_([this](const QUrl& url) { opened_.push_back(url); })
    {
        window_.show();
        if (!QTest::qWaitForWindowExposed(&window_)) {
            qFatal("the About window was not shown");
        }
    }

    [[nodiscard]] AboutWindow& window() { return window_; }
    template <typename Widget = QWidget> [[nodiscard]] Widget* get(const char* name)
    {
        auto* widget = window_.findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("Form2 has no %s", name);
        }
        return widget;
    }
    [[nodiscard]] std::vector<QUrl> takeOpened() { return std::exchange(opened_, {}); }

private:
    std::vector<QUrl> opened_;
    AboutWindow window_;
};

QColor textColour(QLabel* label)
{
    label->ensurePolished();
    return label->palette().color(label->foregroundRole());
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void frame();
    void texts();
    void fonts();
    void captionsFit();
    void onlyTheButtonTakesFocus();
    void okCloses();
    void handOverTheLinks();
    void handPicture();
    void webLinkOpensTheCaptionUnchanged();
    void mailLinkIsValid();
    void aClickIsPressAndReleaseOnTheLink();
    void longAddressShrinksToFit();
};

void AboutTest::frame()
{
    AboutDriver driver;
    AboutWindow& window = driver.window();
    QCOMPARE(window.objectName(), QStringLiteral("Form2"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Прочнар. О программе"));
    QCOMPARE(window.size(), QSize(285, 176));
    // Fixed: neither smaller nor larger, no minimise or maximise button.
    QCOMPARE(window.minimumSize(), QSize(285, 176));
    QCOMPARE(window.maximumSize(), QSize(285, 176));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
    // A tool window: a window of its own that the taskbar leaves out.
    QCOMPARE(window.windowType(), Qt::Tool);
    QVERIFY(window.isWindow());
    QVERIFY(window.parentWidget() == nullptr);
    // Counted among the windows that keep the program running.
    QVERIFY(window.testAttribute(Qt::WA_QuitOnClose));
    // Centred, to the pixel that an odd size leaves over.
    const QPoint offCentre = window.geometry().center() - window.screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
}

void AboutTest::texts()
{
    AboutDriver driver;
    QCOMPARE(driver.get<QLabel>("Label1")->text(),
             QStringLiteral("Программа предназначена для расчета остаточной прочности ригеля жесткой поперечины, "
                            "имеющего коррозионные повреждения."));
    QVERIFY(driver.get<QLabel>("Label1")->wordWrap());
    // The addresses are those the build was configured with.
    QCOMPARE(driver.get<QLabel>("Label2")->text(), QString::fromUtf8(PROCHNAR_AUTHOR_URL));
    QCOMPARE(driver.get<QLabel>("Label3")->text(), QString::fromUtf8(PROCHNAR_AUTHOR_MAIL));
    QCOMPARE(driver.get<QPushButton>("Command1")->text(), QStringLiteral("OK"));

    // Labels and the button are announced by their own text.
    for (const char* name : {"Label1", "Label2", "Label3", "Command1"}) {
        QWidget* widget = driver.get(name);
        QVERIFY2(widget->accessibleName().isEmpty(), name);
        QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(), name);
    }
}

void AboutTest::fonts()
{
    AboutDriver driver;
    const QColor blue(0, 0, 255);

    auto* purpose = driver.get<QLabel>("Label1");
    QCOMPARE(QFontInfo(purpose->font()).family(), QStringLiteral("Liberation Sans"));
    QVERIFY(purpose->font().italic());
    QVERIFY(!purpose->font().bold());
    QCOMPARE(textColour(purpose), blue);

    for (const char* name : {"Label2", "Label3"}) {
        auto* link = driver.get<QLabel>(name);
        QCOMPARE(QFontInfo(link->font()).family(), QStringLiteral("Liberation Sans"));
        QVERIFY2(link->font().italic() && link->font().bold(), name);
        QVERIFY2(!link->font().underline(), name);
        QVERIFY2(link->font().pointSizeF() > purpose->font().pointSizeF(), name);
        QCOMPARE(textColour(link), blue);
        QCOMPARE(link->textFormat(), Qt::PlainText);
    }
    QVERIFY(driver.get<QPushButton>("Command1")->font().bold());
}

void AboutTest::captionsFit()
{
    AboutDriver driver;
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        auto* label = driver.get<QLabel>(name);
        QVERIFY2(QRect(QPoint(0, 0), driver.window().size()).contains(label->geometry()), name);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        QVERIFY2(prochnar::test::inkFits(label, label->font(), label->contentsRect(), flags, label->text()), name);
    }
    auto* ok = driver.get<QPushButton>("Command1");
    QStyleOptionButton option;
    option.initFrom(ok);
    option.text = ok->text();
    QVERIFY(prochnar::test::inkFits(ok, ok->font(),
                                    ok->style()->subElementRect(QStyle::SE_PushButtonContents, &option, ok),
                                    Qt::AlignCenter, ok->text()));
}

void AboutTest::onlyTheButtonTakesFocus()
{
    AboutDriver driver;
    QCOMPARE(driver.window().focusWidget(), driver.get("Command1"));
    for (const QWidget* widget : driver.window().findChildren<QWidget*>()) {
        if (widget != driver.get("Command1")) {
            QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(widget->objectName()));
        }
    }
}

void AboutTest::okCloses()
{
    AboutDriver driver;
    QTest::mouseClick(driver.get("Command1"), Qt::LeftButton);
    QVERIFY(!driver.window().isVisible());
    QVERIFY(driver.takeOpened().empty());
}

void AboutTest::handOverTheLinks()
{
    AboutDriver driver;
    for (const char* name : {"Label2", "Label3"}) {
        const QCursor cursor = driver.get(name)->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), prochnar::kHandHotSpot);
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    }
    for (const char* name : {"Label1", "Command1", "Frame1"}) {
        QVERIFY2(driver.get(name)->cursor().shape() != Qt::BitmapCursor, name);
    }
}

void AboutTest::handPicture()
{
    const QImage hand = prochnar::handCursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(hand.size(), QSize(32, 32));

    // The hot spot is the fingertip: drawn itself, nothing drawn above it.
    const QPoint tip = prochnar::kHandHotSpot;
    QVERIFY(qAlpha(hand.pixel(tip)) == 255);
    for (int y = 0; y < tip.y(); ++y) {
        for (int x = 0; x < hand.width(); ++x) {
            QCOMPARE(qAlpha(hand.pixel(x, y)), 0);
        }
    }
    // A white glove over a cyan cuff, on a transparent ground, in no more
    // than 16 colours.
    QSet<QRgb> colours;
    int white = 0;
    int cyan = 0;
    int whiteBottom = 0;
    int cyanTop = hand.height();
    for (int y = 0; y < hand.height(); ++y) {
        for (int x = 0; x < hand.width(); ++x) {
            const QRgb pixel = hand.pixel(x, y);
            colours.insert(pixel);
            if (pixel == qRgb(255, 255, 255)) {
                ++white;
                whiteBottom = y;
            } else if (pixel == qRgb(0, 255, 255)) {
                ++cyan;
                cyanTop = std::min(cyanTop, y);
            }
        }
    }
    QVERIFY(qAlpha(hand.pixel(0, 0)) == 0);
    QVERIFY(colours.size() <= 16);
    QVERIFY(white > 150);
    QVERIFY(cyan > 20);
    QVERIFY(cyanTop > whiteBottom);
}

void AboutTest::webLinkOpensTheCaptionUnchanged()
{
    AboutDriver driver;
    auto* web = driver.get<QLabel>("Label2");
    QTest::mouseClick(web, Qt::LeftButton, {}, web->rect().center());
    std::vector<QUrl> opened = driver.takeOpened();
    QCOMPARE(opened.size(), std::size_t{1});
    QCOMPARE(opened.front().toString(), QString::fromUtf8(PROCHNAR_AUTHOR_URL));

    // The caption at the time of the click, with no scheme added.
    for (const QString& caption : {QStringLiteral("www.example.org/prochnar"),
                                   QStringLiteral("https://example.org/a?b=1&c=2#d"), QStringLiteral("ftp://x.y/")}) {
        web->setText(caption);
        QTest::mouseClick(web, Qt::LeftButton, {}, web->rect().center());
        opened = driver.takeOpened();
        QCOMPARE(opened.size(), std::size_t{1});
        QCOMPARE(opened.front().toString(), caption);
    }
    QVERIFY(QUrl(QStringLiteral("www.example.org/prochnar")).scheme().isEmpty());
}

void AboutTest::mailLinkIsValid()
{
    AboutDriver driver;
    auto* mail = driver.get<QLabel>("Label3");
    QTest::mouseClick(mail, Qt::LeftButton, {}, mail->rect().center());
    const std::vector<QUrl> opened = driver.takeOpened();
    QCOMPARE(opened.size(), std::size_t{1});
    const QUrl& url = opened.front();

    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), mail->text());
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), prochnar::mailSubject());
    // Handed on as plain ASCII without blanks, as a mail program expects it.
    const QByteArray encoded = url.toEncoded();
    QVERIFY(!encoded.contains(' '));
    for (const char c : encoded) {
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    }
    QVERIFY(encoded.startsWith("mailto:" + mail->text().toUtf8() + "?subject=%"));
}

void AboutTest::aClickIsPressAndReleaseOnTheLink()
{
    AboutDriver driver;
    auto* web = driver.get<QLabel>("Label2");

    // Pressed on the link, let go beside it: no click.
    QTest::mousePress(web, Qt::LeftButton, {}, web->rect().center());
    QTest::mouseRelease(web, Qt::LeftButton, {}, web->rect().bottomRight() + QPoint(5, 5));
    QVERIFY(driver.takeOpened().empty());

    QTest::mouseClick(web, Qt::RightButton, {}, web->rect().center());
    QVERIFY(driver.takeOpened().empty());

    QTest::mouseClick(driver.get("Label1"), Qt::LeftButton);
    QVERIFY(driver.takeOpened().empty());
    QVERIFY(driver.window().isVisible());
}

void AboutTest::longAddressShrinksToFit()
{
    AboutDriver driver;
    auto* web = driver.get<QLabel>("Label2");
    const double normal = web->font().pointSizeF();

    // What a packager may set: longer than the label at the normal size.
    web->setText(QStringLiteral("https://prochnar.example.org/programs/prochnar/"));
    QVERIFY(QFontMetricsF(web->font()).horizontalAdvance(web->text()) > web->contentsRect().width());
    prochnar::fitCaption(*web, 7.0);
    QVERIFY(web->font().pointSizeF() < normal);
    QVERIFY(web->font().pointSizeF() >= 7.0);
    QVERIFY(web->font().bold() && web->font().italic());
    QVERIFY(prochnar::test::inkFits(web, web->font(), web->contentsRect(), int(web->alignment()), web->text()));
    QCOMPARE(web->text(), QStringLiteral("https://prochnar.example.org/programs/prochnar/"));

    // No smaller than the floor, however long.
    web->setText(QString(200, QLatin1Char('w')));
    prochnar::fitCaption(*web, 7.0);
    QCOMPARE(web->font().pointSizeF(), 7.0);

    // A caption that fits keeps its size.
    auto* mail = driver.get<QLabel>("Label3");
    const double mailSize = mail->font().pointSizeF();
    prochnar::fitCaption(*mail, 7.0);
    QCOMPARE(mail->font().pointSizeF(), mailSize);
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
