#include "calc/handlers.h"
#include "calc/map_form.h"
#include "cli/form_file.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace prochnar {
namespace {

std::size_t faultLine(std::string_view content)
{
    MapForm form;
    try {
        readFormFile(content, form);
    } catch (const FormFileError& error) {
        return error.line();
    }
    return 0;
}

TEST(FormFile, KeepsTextsAsTheyStand)
{
    MapForm form;
    readFormFile("# a comment\n\ntxtMn= 12,5 \ntxtMp=a=b\r\ntxtMv=\ntxtLp=1\ntxtLp=2\nText3=x\r\r\n", form);
    EXPECT_EQ(form.text("txtMn"), " 12,5 ");
    EXPECT_EQ(form.text("txtMp"), "a=b"); // only the first "=" separates
    EXPECT_EQ(form.text("txtMv"), "");
    EXPECT_EQ(form.text("txtLp"), "2");   // a later line wins
    EXPECT_EQ(form.text("Text3"), "x\r"); // one trailing CR is dropped
    EXPECT_EQ(form.text("Text1"), "21");  // not named: as the window starts
}

TEST(FormFile, ReadsStatesAndTextWithoutFinalNewline)
{
    MapForm form;
    applyInitialState(form);
    readFormFile("\xEF\xBB\xBF"
                 "Command4.Enabled=1\nFrame9.Visible=0\ntxtZ1=Ж",
                 form);
    EXPECT_TRUE(form.state(StateControl::Command4Enabled));
    EXPECT_FALSE(form.state(StateControl::Frame9Visible));
    EXPECT_FALSE(form.state(StateControl::Command5Enabled));
    EXPECT_EQ(form.text("txtZ1"), "Ж");
}

TEST(FormFile, FaultsNameTheirLine)
{
    EXPECT_EQ(faultLine("txtMn=1\nno equals sign\n"), 2U);
    EXPECT_EQ(faultLine("\n\ntxtXX=1\n"), 3U);
    EXPECT_EQ(faultLine("Text2=guidance\n"), 1U); // not a field of the calculation
    EXPECT_EQ(faultLine(" txtMn=1\n"), 1U);       // names are exact
    EXPECT_EQ(faultLine("=1\n"), 1U);
    EXPECT_EQ(faultLine("Frame5.Visible=2\n"), 1U);
    EXPECT_EQ(faultLine("txtMn=1\nFrame7.Enabled= 1\n"), 2U);
    EXPECT_EQ(faultLine("Frame5.visible=1\n"), 1U);
    EXPECT_EQ(faultLine("txtMn=1\ntxtMp=\xD0\n"), 2U);           // truncated sequence
    EXPECT_EQ(faultLine("txtMn=\xC0\xAF\n"), 1U);                // overlong "/"
    EXPECT_EQ(faultLine("a\nb\nc\ntxtMn=\xED\xA0\x80\n"), 4U);   // the encoding is checked first
    EXPECT_EQ(faultLine("txtMn=1\n\ntxtMn=\xED\xA0\x80\n"), 3U); // a surrogate
    EXPECT_EQ(faultLine("txtMn=\xF4\x90\x80\x80\n"), 1U);        // beyond U+10FFFF
    EXPECT_EQ(faultLine("txtMn=\xFF\n"), 1U);
    EXPECT_EQ(faultLine(std::string("txtMn=1\n") + std::string(1, '\0') + "\n"), 2U);
    EXPECT_EQ(faultLine("# comment\ntxtMn=€ 𝄞 ok\n"), 0U);
}

TEST(FormFile, WrittenFormReadsBackToTheSameForm)
{
    MapForm form;
    applyInitialState(form);
    form.setText("txtMn", "  -1,5\t");
    form.setText("Text9", "Ж=1");
    form.setState(StateControl::Frame5Visible, false);
    const std::string written = writeFormFile(form);

    MapForm again;
    readFormFile(written, again);
    EXPECT_EQ(writeFormFile(again), written);
    EXPECT_EQ(written.substr(0, 12), "txtMn=  -1,5");
    EXPECT_NE(written.find("\nFrame5.Visible=0\nFrame7.Enabled=0\nCommand5.Enabled=0\nFrame9.Visible=1\n"
                           "Command4.Enabled=0\n"),
              std::string::npos);
}

// The record of clicks written before a form reads back, other comments
// aside, and a calculation keeps the last click of each button that ran.
TEST(FormFile, ClicksReadBackAndTheLastOfEachIsKept)
{
    using M = MapForm::ShownMessage;
    const std::vector<PressRecord> log{
        {Button::Command2, true, {}},
        {Button::Command5, true, {M{"a b", MessageIcon::None}}},
        {Button::Command4, false, {}},
        {Button::Command2, true, {M{"x", MessageIcon::Error}, M{"y", MessageIcon::None}}}};
    const std::string written = writePressLog(log);
    EXPECT_EQ(written.substr(0, 51), "# press Command2\n# press Command5\n# message: a b\n# ");
    EXPECT_EQ(readPressLog("# message: lost\n# other\r\n" + written + "txtMn=1\n# press Command9\n"), log);
    EXPECT_EQ(lastPresses(log), (std::vector<PressRecord>{log[1], log[3]}));
}

// A whole calculation names every field and state; one cut short is
// refused at its last line, naming the first line it lacks.
TEST(FormFile, WholeCalculationsOnly)
{
    MapForm form;
    const std::string whole = writeFormFile(form);
    EXPECT_NO_THROW(readWholeFormFile("# a comment\n" + whole, form));
    for (const auto& [content, line, missing] :
         std::initializer_list<std::tuple<std::string, std::size_t, std::string>>{
             {whole.substr(0, whole.rfind("Command4")), 58, "Command4.Enabled"},
             {whole.substr(whole.find('\n') + 1), 58, "txtMn"},
             {"txtMn=1\n\n", 2, "txtMp"}}) {
        try {
            readWholeFormFile(content, form);
            ADD_FAILURE() << missing;
        } catch (const FormFileError& error) {
            EXPECT_TRUE(error.fault() == FormFileError::Fault::Missing && error.line() == line &&
                        error.name() == missing)
                << missing << " at " << error.line() << ": " << error.what();
        }
    }
}

} // namespace
} // namespace prochnar
