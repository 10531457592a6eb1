// The documents in the main window itself: the guidance table and the
// recommendations fit their fields without scroll bars, and the help explains
// every caption the window shows.

#include "test_files.h"

#include "ui/main/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

namespace prochnar::test_data {
namespace {

QString document(const char* name) { return QString::fromStdString(readFile(documentPath(name))); }

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<MainWindow>();
        window_->setMessagePresenter([](QWidget*, const QString&, MessageIcon) {});
        window_->show();
        QApplication::processEvents();
    }

    // The field on its tab, selected, filled with the document and laid out.
    QPlainTextEdit* showDocument(const char* field, int tab, const char* name)
    {
        auto* tabs = window_->findChild<QTabWidget*>("SSTab1");
        auto* edit = window_->findChild<QPlainTextEdit*>(field);
        if (tabs == nullptr || edit == nullptr) {
            ADD_FAILURE() << "the window has no " << field;
            return nullptr;
        }
        tabs->setCurrentIndex(tab);
        edit->show();
        edit->setPlainText(document(name));
        QApplication::processEvents();
        return edit;
    }

    static int lineCount(const QPlainTextEdit& edit)
    {
        int count = 0;
        for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
            count += block.layout()->lineCount();
        }
        return count;
    }

    static std::string fontOf(const QPlainTextEdit& edit)
    {
        const QFontInfo info(edit.font());
        return info.family().toStdString() + " " + std::to_string(info.pointSizeF()) + " pt";
    }

    std::unique_ptr<MainWindow> window_;
};

TEST_F(Window, GuidanceTableShowsWholeInText2)
{
    const QPlainTextEdit* edit = showDocument("Text2", 1, "gip.txt");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->verticalScrollBar()->maximum(), 0)
        << lineCount(*edit) << " lines do not fit the field in " << fontOf(*edit);
    EXPECT_EQ(edit->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(lineCount(*edit), edit->document()->blockCount()) << "a line of the table wraps in " << fontOf(*edit);
}

TEST_F(Window, RecommendationsShowWholeInText11)
{
    const QPlainTextEdit* edit = showDocument("Text11", 2, "rek.txt");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->verticalScrollBar()->maximum(), 0)
        << lineCount(*edit) << " lines do not fit the field in " << fontOf(*edit);
    EXPECT_EQ(edit->horizontalScrollBar()->maximum(), 0);
}

TEST_F(Window, HelpIsRichText) { EXPECT_TRUE(Qt::mightBeRichText(document("Help.hlp"))); }

TEST_F(Window, HelpExplainsEveryCaptionOfTheWindow)
{
    QTextDocument help;
    help.setHtml(document("Help.hlp"));
    QString text = help.toPlainText();
    text.replace(QChar::Nbsp, QLatin1Char(' '));

    QStringList captions;
    for (const QLabel* label : window_->findChildren<QLabel*>()) {
        captions << label->text();
    }
    for (const QPushButton* button : window_->findChildren<QPushButton*>()) {
        captions << button->text();
    }
    for (const QGroupBox* box : window_->findChildren<QGroupBox*>()) {
        captions << box->title();
    }
    const auto* tabs = window_->findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
        captions << tabs->tabText(i);
    }
    captions.removeAll(QString());
    captions.removeDuplicates();
    ASSERT_GT(captions.size(), 40);
    for (const QString& caption : captions) {
        EXPECT_TRUE(text.contains(caption)) << "the help does not mention «" << caption.toStdString() << "»";
    }
}

} // namespace
} // namespace prochnar::test_data

int main(int argc, char** argv)
{
    // Offscreen: the same 96 dots per inch everywhere, and no display needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
