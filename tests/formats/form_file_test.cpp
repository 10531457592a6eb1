// The form file reader: faults found at their line and column; damaged files
// read as a form that writes back readable, or refused at one of their lines.

#include "calc/angles.h"
#include "calc/map_form.h"
#include "calc/messages.h"
#include "formats/calculation_file.h"
#include "formats/form_file.h"
#include "tests/support/wizard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace prochnar {
namespace {

// The fault a calculation's text is refused with; none when it is read.
std::optional<FileFaultAt> refusalOf(const std::string& content, std::size_t maxChars = kMaxFormFileSize)
{
    try {
        (void)readCalculation(content, maxChars);
    } catch (const CalculationFileError& error) {
        return error.fault();
    }
    return std::nullopt;
}

TEST(FormFile, FaultsFoundAtTheirLineAndColumn)
{
    using F = FileFault;
    for (const auto& [content, fault, line, column] :
         std::initializer_list<std::tuple<std::string, FileFault, std::size_t, std::size_t>>{
             {"txtMn=1\nno equals sign\n", F::NoEquals, 2, 1},
             {"\n\ntxtXX=1\n", F::UnknownName, 3, 1},
             {"Text2=guidance\n", F::UnknownName, 1, 1}, // not a field of the calculation
             {" txtMn=1\n", F::UnknownName, 1, 1},       // names are exact
             {"txtMn=1\nFrame7.Enabled= 1\n", F::BadState, 2, 16},
             {"txtMn=1\r\nFrame5.Visible=yes\r\n", F::BadState, 2, 16},
             {"Frame5.visible=1\n", F::UnknownName, 1, 1},
             {"txtMn=1\ntxtMp=\xD0\n", F::NotUtf8, 2, 7},              // a truncated sequence
             {"txtMn=\xD0", F::NotUtf8, 1, 7},                         // the same at the end of the file
             {"txtMn=\xC0\xAF\n", F::NotUtf8, 1, 7},                   // an overlong "/"
             {"txtMn=1\x80\n", F::NotUtf8, 1, 8},                      // a lone continuation byte
             {"txtMn=Прочнар\xFF\n", F::NotUtf8, 1, 14},               // columns count characters
             {"\xEF\xBB\xBFtxtMn=\xFF\n", F::NotUtf8, 1, 7},           // a byte-order mark is not one
             {"a\nb\nc\ntxtMn=\xED\xA0\x80\n", F::NotUtf8, 4, 7},      // a surrogate, found before the bad names
             {"txtMn=1\n" + std::string(1, '\0'), F::NoEquals, 2, 1},  // a NUL
             {"# comment\ntxtMn=€ 𝄞 \xDF\xBF ok\n", F::NotUtf8, 0, 0}, // two, three and four bytes, U+07FF too
         }) {
        MapForm form;
        try {
            readFormFile(content, form);
            EXPECT_EQ(line, 0U) << content;
        } catch (const FormFileError& error) {
            EXPECT_EQ(error.at().fault, fault) << content;
            EXPECT_EQ(error.line(), line) << content;
            EXPECT_EQ(error.column(), column) << content;
        }
    }
}

// Damage as it happens to a file: cut short, bytes overwritten, pieces lost,
// doubled or pasted from elsewhere.
TEST(FormFile, DamagedFilesReadAsAFormOrAreRefusedAtOneOfTheirLines)
{
    MapForm good;
    readFormFile("txtMn=3\ntxtLpp=2,5\ntxtl1=7\nText3=0,8\n", good);
    const std::string original = writeFormFile(good);
    std::mt19937 random(8509);
    const auto below = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    for (int round = 0; round < 5000; ++round) {
        std::string damaged = original;
        for (int hits = 1 + round % 4; hits > 0; --hits) {
            const std::size_t at = below(damaged.size());
            const std::string piece = below(1) ? damaged.substr(below(damaged.size()), below(40))
                                               : std::string(1 + below(2), "\r\n\0=#.\xD0\xFF"[below(7)]);
            damaged.replace(at, below(1) ? 0 : below(40), below(3) ? piece : "");
        }
        MapForm form;
        try {
            readFormFile(damaged, form);
            MapForm again; // what is written reads back (a text ending in CR loses the CR, as the format drops it)
            EXPECT_NO_THROW(readFormFile(writeFormFile(form), again)) << damaged;
        } catch (const FormFileError& error) {
            EXPECT_GE(error.line(), 1U) << damaged;
            EXPECT_LE(error.line(), std::count(damaged.begin(), damaged.end(), '\n') + 1) << damaged;
        }
    }
}

// The record of clicks written before a form reads back, other comments
// aside, and a calculation keeps the last click of each button that ran,
// through its file as well.
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
    EXPECT_EQ(readPressLog("# press Command6\r\n# message: ok\r\n"),
              (std::vector<PressRecord>{{Button::Command6, true, {M{"ok", MessageIcon::None}}}}));
    EXPECT_EQ(lastPresses(log), (std::vector<PressRecord>{log[1], log[3]}));
}

// Results are never taken from a file: they are recomputed from its inputs
// by the presses its wizard state has passed, whatever the file says of
// them, and those that differed are named.
TEST(FormFile, ResultsRecomputedFromTheInputs)
{
    MapForm done;
    applyInitialState(done);
    test_support::fillWorkedExample(done);
    std::vector<PressRecord> presses;
    for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
        ASSERT_TRUE(press(done, button));
        presses.push_back({.button = button, .ran = true, .messages = done.takeMessages()});
    }
    const std::string whole = calculationText(done, presses, {});
    const auto replaced = [&whole](const std::string& line, const std::string& by) {
        std::string text = whole;
        return text.replace(text.find(line), line.size(), by);
    };
    const std::string text4 = "Text4=" + done.text(Field::Text4) + "\n";
    ASSERT_NE(done.text(Field::Text4), "");

    const Calculation same = readCalculation(whole);
    EXPECT_TRUE(same.recomputed.empty());
    EXPECT_EQ(writeFormFile(same.form), writeFormFile(done));
    EXPECT_EQ(same.presses, presses);

    // An edited result, and messages the presses never showed.
    const Calculation edited =
        readCalculation("# press Command4\n# message: держит\n" + replaced(text4, "Text4=0,1\n"));
    EXPECT_EQ(edited.recomputed, std::vector<Field>{Field::Text4});
    EXPECT_EQ(writeFormFile(edited.form), writeFormFile(done));
    EXPECT_EQ(edited.presses, presses);

    // A name given twice: the later line wins, and the results are its.
    MapForm later = done;
    later.setText(Field::txtMp, "9");
    for (const Button button : {Button::Command2, Button::Command5, Button::Command4}) {
        press(later, button);
    }
    const Calculation twice = readCalculation(whole + "txtMp=9\n");
    EXPECT_EQ(writeFormFile(twice.form), writeFormFile(later));
    EXPECT_FALSE(twice.recomputed.empty());

    // A step the state has not passed has no results: step 2 locked, the
    // step 1 results of an earlier press are not shown.
    const Calculation locked = readCalculation(replaced("Frame7.Enabled=1", "Frame7.Enabled=0"));
    for (const Field field : {Field::lblJ, Field::txtQp, Field::Text4}) {
        EXPECT_EQ(locked.form.text(field), "") << fieldName(field);
    }
    EXPECT_EQ(locked.form.state(StateControl::Frame7Enabled), false); // the state as saved
    EXPECT_EQ(locked.recomputed.size(), resultsOf(Button::Command2).size() + resultsOf(Button::Command5).size() +
                                            resultsOf(Button::Command4).size());

    // "Выполнить" enabled but never pressed: its results stay empty, as saved.
    MapForm confirmed;
    applyInitialState(confirmed);
    test_support::fillWorkedExample(confirmed);
    press(confirmed, Button::Command2);
    press(confirmed, Button::Command5);
    const Calculation notRun = readCalculation(writeFormFile(confirmed));
    EXPECT_TRUE(notRun.recomputed.empty());
    EXPECT_EQ(notRun.form.text(Field::Text4), "");
    EXPECT_EQ(notRun.form.text(Field::txtQp), confirmed.text(Field::txtQp));
}

// A text longer than the reader allows is refused at the line that gave it.
TEST(FormFile, TextsLongerThanAllowedRefusedAtTheirLine)
{
    MapForm form;
    form.setText(Field::txtMn, "12345");
    const std::string content = writeFormFile(form) + "# later\ntxtMp=Жжжжжж\n";
    EXPECT_FALSE(refusalOf(content, 6));
    const std::optional<FileFaultAt> refused = refusalOf(content, 5);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->fault, FileFault::FieldTooLong);
    EXPECT_EQ(refused->line, 61);
    EXPECT_EQ(refused->name, "txtMp");
}

// The girder's identity goes with the calculation in comment lines, any
// characters of its texts kept; a file without them is written and read as
// before, unknown keys are passed over as comments (a later version may keep
// more), and a text is measured as the field will hold it.
TEST(FormFile, GirderIdentityKeptWithTheCalculation)
{
    MapForm done;
    applyInitialState(done);
    test_support::fillWorkedExample(done);
    press(done, Button::Command2);
    const std::vector<PressRecord> presses{{.button = Button::Command2, .ran = true, .messages = done.takeMessages()}};
    const GirderIdentity identity{.section = "Перегон А — Б, путь 1",
                                  .support = "  40-41",
                                  .km = "104,2 ",
                                  .inspected = {},
                                  .inspector = "a=b\\nc\\",
                                  .note = "строка 1\nстрока 2\r\n# press Command4\n=\\r"};
    const std::string before = calculationText(done, presses, {});
    EXPECT_EQ(before, writePressLog(presses) + writeFormFile(done));
    const std::string whole = calculationText(done, presses, identity);
    EXPECT_TRUE(whole.starts_with("# girder section=Перегон А — Б, путь 1\n# girder support=  40-41\n"));
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), std::count(before.begin(), before.end(), '\n') + 5);
    const Calculation back = readCalculation(whole);
    EXPECT_EQ(back.identity, identity);
    EXPECT_EQ(calculationText(back.form, back.presses, back.identity), whole);
    EXPECT_TRUE(readCalculation(before).identity.empty());
    EXPECT_EQ(readPressLog(whole), presses);

    const Calculation other =
        readCalculation("# girder span=12\n# girder km\n# girder km=1\n# girder km=\\q\\\r\n" + before);
    EXPECT_EQ(other.identity, (GirderIdentity{.km = "\\q\\"}));

    // The limit counts characters as the field holds them, escapes undone.
    const std::string limited = "# girder note=Ж\\n=\\n\\\\Ж\n" + writeFormFile(MapForm{});
    EXPECT_EQ(readCalculation(limited, 6).identity.note, "Ж\n=\n\\Ж");
    const std::optional<FileFaultAt> refused = refusalOf(limited + "# girder note=Жжжжжжж\n", 6);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->fault, FileFault::FieldTooLong);
    EXPECT_EQ(refused->line, 61);
    EXPECT_EQ(refused->name, "girder note");
}

// The girder's history goes with the calculation in comment lines, with the
// lives it gives as comments that are never read back; a line of it that
// cannot be read refuses the file at that line rather than lose it.
TEST(FormFile, GirderHistoryKeptWithTheCalculation)
{
    MapForm done;
    applyInitialState(done);
    test_support::fillWorkedExample(done);
    const GirderHistory history{
        .chordAngle = angleNamed("75x6"),
        .diagonalAngle = angleNamed("L 50×5"),
        .chordMeasured = 52,
        .installed = 1998,
        .inspections = {{{2024, 2, 29}, 55, {}, "после зимы\nи = весны"}, {{2010, 6, 1}, 59, 48, ""}}};
    const std::string text = calculationText(done, {}, {}, history);
    EXPECT_TRUE(text.starts_with("# history chord=L 75×6\n# history chord-measured=5,2\n"
                                 "# history diagonals=L 50×5\n# history installed=1998\n"
                                 "# inspection date=2024-02-29 chord=5,5 note=после зимы\\nи = весны\n"
                                 "# inspection date=2010-06-01 chord=5,9 diagonals=4,8\n# life chord: "));
    const Calculation back = readCalculation(text);
    EXPECT_EQ(back.history, history);
    EXPECT_EQ(calculationText(done, {}, {}, {}), writePressLog({}) + writeFormFile(done)); // none: as before
    EXPECT_TRUE(readCalculation(writeFormFile(done)).history.empty());
    EXPECT_TRUE(readCalculation("# history span=3\n# history chord\n" + writeFormFile(done)).history.empty());

    const std::pair<const char*, std::size_t> bad[] = {
        {"# history chord=L 75×11\n", 1},
        {"# history installed=98\n", 1},
        {"# history chord=75x6\n# inspection date=2023-02-29 chord=5\n", 2},
        {"# inspection chord=5\n", 1},
        {"# inspection date=2023-02-28 chord=5,25\n", 1},
        {"# inspection date=2023-02-28 chord=0\n", 1},
        {"# inspection date=28.02.2023\n", 1},
        {"\n# history chord=75x6\n# inspection date=2023-02-28 chord=6,1\n", 3},
        {"# inspection date=2023-02-28 wear=1\n", 1},
    };
    for (const auto& [lines, line] : bad) {
        const std::optional<FileFaultAt> refused = refusalOf(lines + writeFormFile(done));
        ASSERT_TRUE(refused) << lines;
        EXPECT_EQ(refused->fault, FileFault::BadHistory) << lines;
        EXPECT_EQ(refused->line, line) << lines;
    }
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
            EXPECT_TRUE(error.fault() == FileFault::Missing && error.line() == line && error.name() == missing)
                << missing << " at " << error.line() << ": " << error.what();
        }
    }
    // A calculation's file passes the place on to the window's words.
    for (const auto& [content, words] : std::initializer_list<std::pair<std::string, std::string>>{
             {"txtMn=1\nFrame5.Visible=2\n", "строка 2, знак 16: у Frame5.Visible может быть только 0 или 1"},
             {"txtMn=1\n", "строка 1: нет строки txtMp — файл оборван или это не целый расчет"},
             {"txtXX=1\n", "строка 1, знак 1: неизвестное имя «txtXX»"},
             {std::string(59, 'a') + "Жж=1\n", "строка 1, знак 1: неизвестное имя «" + std::string(59, 'a') + "...»"},
         }) {
        try {
            (void)readCalculation(content);
            ADD_FAILURE() << words;
        } catch (const CalculationFileError& error) {
            EXPECT_EQ(std::string(error.what()), words);
        }
    }
}

// A calculation's file of the largest size is read; a byte more, and it is
// refused before its lines are looked at.
TEST(FormFile, CalculationFilesUpToTheirLargestSize)
{
    const auto path = std::filesystem::temp_directory_path() / "prochnar-formats-largest.prochnar";
    for (const auto& [size, fault] :
         {std::pair{kMaxFormFileSize, FileFault::Missing}, std::pair{kMaxFormFileSize + 1, FileFault::TooLarge}}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(size - 1, '#') << '\n';
        try {
            (void)readCalculationFile(path);
            ADD_FAILURE() << size;
        } catch (const CalculationFileError& error) {
            EXPECT_EQ(error.fault().fault, fault) << size;
        }
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace prochnar
