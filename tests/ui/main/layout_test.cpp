// The main window as built: what it shows at start, whether every caption
// can be read in full, what the lock panels and the locked wire table let
// through, and how the window maps its widgets onto the calculation's form.

#include "calc/fields.h"
#include "tests/ui/caption_fit.h"
#include "window_driver.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QWindow>

#include <map>

using prochnar::StateControl;
using prochnar::test::inkFits;
using prochnar::test::WindowDriver;

namespace {

QString describe(const QWidget* widget, const QString& text)
{
    return QStringLiteral("%1 \"%2\" in %3x%4 px")
        .arg(widget->objectName(), text)
        .arg(widget->width())
        .arg(widget->height());
}

// Geometry of every widget of the window, relative to its parent.
std::map<QString, QRect> geometries(const QWidget& window)
{
    std::map<QString, QRect> result;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty()) {
            result[widget->objectName()] = widget->geometry();
        }
    }
    return result;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void startState();
    void formMapsWidgets();
    void captionsFit();
    void fieldsCarryTheirCaptions();
    void wireTableLockedButUnchanged();
    void lockPanelsTakeTheMouse_data();
    void lockPanelsTakeTheMouse();
    void resizingMovesNothing();
};

void LayoutTest::startState()
{
    WindowDriver driver;
    const prochnar::MainWindow& window = driver.window();

    QCOMPARE(window.windowTitle(), QStringLiteral("Прочнар"));
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(!driver.get<QLabel>("Image1")->pixmap().isNull());
    QVERIFY(!driver.get<QLabel>("Image2")->pixmap().isNull());
    QCOMPARE(window.geometry().center(), window.screen()->availableGeometry().center());

    auto* tabs = driver.get<QTabWidget>("SSTab1");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("шаг1"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("шаг2"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("шаг3"));

    // The window starts with the same texts as a form file that names nothing.
    for (const auto& [name, text] : prochnar::kFormFields) {
        QCOMPARE(driver.form().text(name), std::string(text));
    }
    // The guidance table is read in at start; the recommendation only when asked for.
    QCOMPARE(driver.text("Text2"), prochnar::test::builtDocuments().readText(prochnar::kGuidanceFile).text);
    QVERIFY(driver.text("Text2").contains(QStringLiteral("коэффициент")));
    QCOMPARE(driver.text("Text11"), QStringLiteral("Text11"));

    QVERIFY(driver.form().state(StateControl::Frame5Visible));
    QVERIFY(!driver.form().state(StateControl::Frame7Enabled));
    QVERIFY(!driver.form().state(StateControl::Command5Enabled));
    QVERIFY(driver.form().state(StateControl::Frame9Visible));
    QVERIFY(!driver.form().state(StateControl::Command4Enabled));

    for (const char* name : {"Text15", "txtQp", "txtZ1", "Text11", "Command12"}) {
        QVERIFY2(driver.get(name)->isHidden(), name);
    }
    for (const char* name : {"Command10", "Frame5", "Frame9", "Text2", "Text3", "Text5"}) {
        QVERIFY2(!driver.get(name)->isHidden(), name);
    }
    // Usable while step 2 is locked.
    for (const char* name : {"Text3", "Text5", "Command6", "Command2", "Command3"}) {
        QVERIFY2(driver.get(name)->isEnabled(), name);
    }
}

void LayoutTest::formMapsWidgets()
{
    WindowDriver driver;
    prochnar::Form& form = driver.form();

    // UTF-8 both ways, for an edit field, a label and a multi-line field.
    const std::string text = "12,5 см² α";
    for (const char* name : {"txtMn", "lblJ1", "Text2"}) {
        form.setText(name, text);
        QCOMPARE(form.text(name), text);
    }
    QCOMPARE(driver.get<QLabel>("lblJ1")->text(), QString::fromUtf8(text));
    QCOMPARE(driver.get<QPlainTextEdit>("Text2")->toPlainText(), QString::fromUtf8(text));

    QTest::ignoreMessage(QtWarningMsg, "Form1 has no field named Frame5");
    QCOMPARE(form.text("Frame5"), std::string());
}

// Every caption reads in full inside its own rectangle: no clipped word and
// no text running into a neighbour.
void LayoutTest::captionsFit()
{
    WindowDriver driver;
    QStringList clipped;
    int checked = 0;
    const auto check = [&](const QWidget* widget, const QRect& box, int flags, const QString& text, int around = 0) {
        widget->ensurePolished(); // a style sheet may change the font
        ++checked;
        if (!inkFits(widget, widget->font(), box, flags, text, around)) {
            clipped.append(describe(widget, text));
        }
    };

    for (const QLabel* label : driver.window().findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) { // not the pictures, nor the empty slenderness displays
            const int m = label->margin();
            check(label, label->contentsRect().adjusted(m, m, -m, -m),
                  int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), label->text(), m);
        }
    }
    for (QPushButton* button : driver.window().findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        check(button, button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button),
              Qt::AlignCenter | Qt::TextShowMnemonic, button->text());
    }
    for (QGroupBox* frame : driver.window().findChildren<QGroupBox*>()) {
        if (frame->title().isEmpty()) {
            continue;
        }
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title =
            frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        check(frame, title.intersected(frame->rect()), Qt::AlignCenter, frame->title());
    }
    // The slenderness displays with what step 1 typically writes there.
    auto* slenderness = driver.get<QLabel>("lblJ");
    for (const char* value : {"200", "86,73", "66,6667", "123,4567"}) {
        check(slenderness, slenderness->contentsRect(), int(slenderness->alignment()), QString::fromLatin1(value));
    }

    QVERIFY(checked > 60);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
}

// Each edit field is announced by the caption beside it; labels and buttons
// are announced by their own text.
void LayoutTest::fieldsCarryTheirCaptions()
{
    WindowDriver driver;
    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };

    QList<QWidget*> fields;
    for (QWidget* edit : driver.window().findChildren<QLineEdit*>()) {
        fields.append(edit);
    }
    for (QWidget* memo : driver.window().findChildren<QPlainTextEdit*>()) {
        fields.append(memo);
    }
    for (QWidget* field : fields) {
        if (field->isHidden()) {
            continue; // the carriers of step-2 results, never shown
        }
        QVERIFY2(!name(field).isEmpty(), qPrintable(field->objectName()));
    }
    QCOMPARE(name(driver.get("txtMn")), QStringLiteral("Аварийный  Мн нп"));
    QCOMPARE(name(driver.get("txtGg")), QStringLiteral("gpг -вес ригеля с гололедом"));
    QCOMPARE(name(driver.get("Text1")), driver.get<QLabel>("Label14")->text());
    QCOMPARE(name(driver.get("txtIyy")), driver.get<QLabel>("Label22")->text());
    QCOMPARE(name(driver.get("Text10")), QStringLiteral("Площадь сечения см.кв S"));
    QCOMPARE(name(driver.get("Text2")), driver.get<QLabel>("Label15")->text());
    QCOMPARE(name(driver.get("txtgpp3")), QStringLiteral("Gг 3"));
    QCOMPARE(name(driver.get("Text13")), QStringLiteral("Фактическое усилие"));

    for (const QWidget* widget : driver.window().findChildren<QWidget*>()) {
        if (qobject_cast<const QLabel*>(widget) != nullptr || qobject_cast<const QPushButton*>(widget) != nullptr) {
            QVERIFY2(widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        }
    }
    QCOMPARE(name(driver.get("Command5")), QStringLiteral("Подтвердить"));
}

void LayoutTest::wireTableLockedButUnchanged()
{
    WindowDriver driver;
    auto* wire = driver.get<QLineEdit>("txtgp4");
    driver.showTabOf(wire);
    QApplication::processEvents();
    const QImage locked = wire->grab().toImage();

    // Locked: neither the mouse nor the keyboard gets in.
    driver.type("txtgp4", QStringLiteral("17"));
    QCOMPARE(wire->text(), QStringLiteral("0"));
    QVERIFY(!wire->hasFocus());
    wire->setFocus();
    QVERIFY(!wire->hasFocus());

    driver.form().setState(StateControl::Frame7Enabled, true);
    QApplication::processEvents();
    QCOMPARE(wire->grab().toImage(), locked);

    driver.type("txtgp4", QStringLiteral("17"));
    QCOMPARE(wire->text(), QStringLiteral("17"));
}

void LayoutTest::lockPanelsTakeTheMouse_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("covered");
    QTest::addColumn<StateControl>("control");
    QTest::newRow("step 2") << QStringLiteral("Frame5") << QStringLiteral("Text2") << StateControl::Frame5Visible;
    QTest::newRow("step 3") << QStringLiteral("Frame9") << QStringLiteral("Text7") << StateControl::Frame9Visible;
}

void LayoutTest::lockPanelsTakeTheMouse()
{
    QFETCH(QString, panel);
    QFETCH(QString, covered);
    QFETCH(StateControl, control);

    WindowDriver driver;
    QWidget* lock = driver.get(qPrintable(panel));
    QWidget* field = driver.get(qPrintable(covered));
    driver.showTabOf(field);
    QApplication::processEvents();

    // A point of the covered field that the panel lies over.
    const QRect overlap = lock->geometry().intersected(field->geometry());
    QVERIFY(!overlap.isEmpty());
    const QPoint point = field->parentWidget()->mapTo(&driver.window(), overlap.center());

    QWidget* hit = driver.window().childAt(point);
    QVERIFY(hit == lock || lock->isAncestorOf(hit));
    QTest::mouseClick(driver.window().windowHandle(), Qt::LeftButton, {}, point);
    QVERIFY(!field->hasFocus());

    driver.form().setState(control, false);
    hit = driver.window().childAt(point);
    QVERIFY(hit == field || field->isAncestorOf(hit));
    QTest::mouseClick(driver.window().windowHandle(), Qt::LeftButton, {}, point);
    QVERIFY(field->hasFocus());
}

void LayoutTest::resizingMovesNothing()
{
    WindowDriver driver;
    const auto before = geometries(driver.window());
    driver.window().resize(1000, 760);
    QApplication::processEvents();
    QVERIFY(geometries(driver.window()) == before);
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
