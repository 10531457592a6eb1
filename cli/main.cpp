// prochnar-calc: runs a calculation of Прочнар without a window.
//
//   prochnar-calc [--press NAMES] [FILE]
//   prochnar-calc --table IN.csv [-o OUT.csv]
//
// Reads a form file (FILE, or standard input when FILE is absent or "-"),
// clicks the buttons NAMES in order as the window would, and prints what each
// click showed followed by the whole form, itself a valid form file. With
// --table it checks a table of girders, one a row, and writes the table back
// with each girder's results and verdicts.

#include "calc/handlers.h"
#include "calc/map_form.h"
#include "calc/messages.h"
#include "formats/calculation_file.h"
#include "formats/csv_table.h"
#include "formats/form_file.h"
#include "formats/input_file.h"
#include "formats/safe_output.h"
#include "formats/table_check.h"
#include "prochnar/version.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using namespace prochnar;

constexpr int kExitUsage = 2;
constexpr int kExitInternal = 3;

constexpr std::string_view kUsage = "usage: prochnar-calc [--press NAMES] [FILE]\n"
                                    "       prochnar-calc --table IN.csv [-o OUT.csv]\n"
                                    "       prochnar-calc --help | --version\n"
                                    "\n"
                                    "Runs a calculation of the girder's residual strength without a window.\n"
                                    "\n"
                                    "FILE (standard input when FILE is absent or \"-\") is a form: UTF-8 text,\n"
                                    "one NAME=TEXT per line. NAME is a field of the window (txtMn txtMp txtMv\n"
                                    "txtLp txtl txtG txtGg txtLpp txtH txtB txtIy txtIyy Text1 Text9 Text10\n"
                                    "Text15 lblJ lblJ1 Text3 Text5 txtl1..8 txtgp1..8 txtgpp1..8 Text4 Text6\n"
                                    "Text7 Text8 txtz2 Text12 Text14 Text13 txtQp txtZ1), TEXT its text as\n"
                                    "typed, with the decimal comma. NAME may also be a state property,\n"
                                    "Frame5.Visible, Frame7.Enabled, Command5.Enabled, Frame9.Visible or\n"
                                    "Command4.Enabled, with 0 or 1. Lines starting with '#' and empty lines are\n"
                                    "ignored, a later line wins, and what the form does not name keeps the value\n"
                                    "the window starts with.\n"
                                    "\n"
                                    "--press NAMES  comma-separated buttons to click in order: Command2 (step-1\n"
                                    "               confirm), Command3 (step-1 reset), Command5 (step-2\n"
                                    "               confirm), Command6 (step-2 reset), Command4 (execute);\n"
                                    "               default Command2,Command5,Command4, a whole calculation.\n"
                                    "               A click on a disabled button does nothing.\n"
                                    "\n"
                                    "Prints '# press NAME' for each click ('(disabled)' added when disabled),\n"
                                    "'# message: TEXT' or '# message error: TEXT' for each message shown, then\n"
                                    "the whole form, which is itself a valid form.\n"
                                    "Exit status: 0 no message shown, 1 a message shown, 2 bad usage or input.\n"
                                    "\n"
                                    "Example form, a whole calculation:\n"
                                    "  # step 1: moments, general data, lattice and angles\n"
                                    "  txtMn=3\n"
                                    "  txtMp=5\n"
                                    "  txtMv=4\n"
                                    "  txtLp=20\n"
                                    "  txtl=65\n"
                                    "  txtG=1\n"
                                    "  txtGg=1,5\n"
                                    "  txtLpp=2,5\n"
                                    "  txtH=1,5\n"
                                    "  txtB=0,8\n"
                                    "  txtIy=1,5\n"
                                    "  txtIyy=2\n"
                                    "  Text9=12,5\n"
                                    "  Text10=10\n"
                                    "  # step 2: buckling coefficients and one wire\n"
                                    "  Text3=0,8\n"
                                    "  Text5=0,8\n"
                                    "  txtl1=7\n"
                                    "  txtgp1=1\n"
                                    "  txtgpp1=2,5\n"
                                    "Saved as girder.form, 'prochnar-calc girder.form' prints, among the rest,\n"
                                    "txtQp=2743,5449 and Text4=0,9920635.\n"
                                    "\n"
                                    "--table IN.csv  checks a table of girders, one a row, as a spreadsheet\n"
                                    "               writes it: ';', ',' or tab as the header row uses, quoted\n"
                                    "               cells, UTF-8 (with or without BOM) or windows-1251. A column\n"
                                    "               named after a field gives its text; a field without a\n"
                                    "               column or with an empty cell keeps the window's default,\n"
                                    "               and an empty Text3 or Text5 takes phi from the table for\n"
                                    "               the slenderness, as the window's button does. Each row gets\n"
                                    "               the three presses of a whole calculation. Other columns are\n"
                                    "               carried through. Writes the table (to OUT.csv with -o) in\n"
                                    "               UTF-8 with BOM and the input's delimiter, adding the columns\n"
                                    "               it lacks: lblJ lblJ1 Text3 Text5 txtQp txtZ1 Text4 Text7\n"
                                    "               txtz2 Text13 Text14, 'φ из таблицы', the verdicts 'Сжатый\n"
                                    "               пояс', 'Растянутый пояс', 'Раскосы', 'Усилие в раскосе',\n"
                                    "               'Наименьший запас, %' and 'Сообщение'. A row with a message\n"
                                    "               gets no verdicts. A verdict 'проверьте' (a demand of the\n"
                                    "               other sign, a phi above the table's) needs the engineer.\n"
                                    "               Exit status 0 every girder judged, 1 a row with a message,\n"
                                    "               3 none with a message but a girder to check, 2 bad usage\n"
                                    "               or an unreadable table; a summary line goes to standard\n"
                                    "               error.\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::vector<Button> presses{Button::Command2, Button::Command5, Button::Command4};
    std::string file = "-";
    std::string table;  // --table IN.csv
    std::string output; // -o OUT.csv
    bool help = false;
    bool version = false;
};

std::vector<Button> parsePresses(std::string_view list)
{
    std::vector<Button> presses;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const auto button = buttonFromName(name);
        if (!button) {
            throw UsageError("unknown button '" + std::string(name) + "'");
        }
        presses.push_back(*button);
        if (comma == std::string_view::npos) {
            return presses;
        }
        list.remove_prefix(comma + 1);
    }
}

Options parseArguments(int argc, char** argv)
{
    Options options;
    bool haveFile = false;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--press") {
            if (i + 1 == args.size()) {
                throw UsageError("--press needs a list of buttons");
            }
            options.presses = parsePresses(args[++i]);
        } else if (arg.starts_with("--press=")) {
            options.presses = parsePresses(arg.substr(8));
        } else if (arg == "--table" || arg == "-o") {
            if (i + 1 == args.size()) {
                throw UsageError(std::string(arg) + " needs a file");
            }
            (arg == "-o" ? options.output : options.table) = std::string(args[++i]);
        } else if (arg.size() > 1 && arg.front() == '-') {
            throw UsageError("unknown option '" + std::string(arg) + "'");
        } else if (haveFile) {
            throw UsageError("more than one FILE");
        } else {
            options.file = std::string(arg);
            haveFile = true;
        }
    }
    if (!options.table.empty() && haveFile) {
        throw UsageError("a FILE beside --table");
    }
    if (options.table.empty() && !options.output.empty()) {
        throw UsageError("-o without --table");
    }
    return options;
}

std::string readInput(const std::string& file, const std::string& shownName)
{
    std::ifstream stream;
    std::istream* in = &std::cin;
    if (file != "-") {
        if (const auto fault = openInput(file, stream)) {
            throw UsageError(shownName + ": " + commandFaultText(*fault));
        }
        in = &stream;
    }
    std::string content;
    if (const auto fault = readFormBytes(*in, content)) {
        FileFaultAt at = fileFaultAt(*fault, 0);
        if (*fault == FileFault::Unreadable) {
            at.reason = std::generic_category().message(errno); // what the failed read left
        }
        throw UsageError(shownName + ": " + commandFaultText(at));
    }
    return content;
}

// Checks each row of the table as it is read and writes it out at once.
// Ends what was written to standard output: written to its end and closed,
// or a failure with the system's reason (a full disk, a closed descriptor).
// earlier is the reason an earlier write gave, where it was seen.
void finishStandardOutput(int earlier = 0)
{
    errno = 0;
    std::cout.flush();
    bool failed = !std::cout;
    int error = earlier != 0 ? earlier : errno;
    for (const bool ended : {std::fflush(stdout) == 0, std::fclose(stdout) == 0}) {
        failed = failed || !ended;
        error = error != 0 ? error : ended ? 0 : errno;
    }
    if (failed) {
        throw UsageError("standard output: cannot be written" +
                         (error != 0 ? " (" + std::generic_category().message(error) + ")" : std::string()));
    }
}

int runTable(const Options& options)
{
    std::ifstream inFile;
    std::istream* in = &std::cin;
    const std::string shownName = options.table == "-" ? "standard input" : options.table;
    if (options.table != "-") {
        if (const auto fault = openInput(options.table, inFile)) {
            throw UsageError(shownName + ": " + commandFaultText(*fault));
        }
        in = &inFile;
    }
    // The table is written to a new file that takes OUT.csv's place only
    // once it is whole: a fault of the reader, a full disk or an interrupt
    // leaves the old file as it was. OUT.csv may not be the table read, nor
    // a device or a pipe ("-" is standard output).
    const bool toFile = !options.output.empty() && options.output != "-";
    std::optional<SafeOutput> outFile;
    std::ostream* out = &std::cout;
    if (toFile) {
        const std::vector<std::filesystem::path> inputs = options.table == "-"
                                                              ? std::vector<std::filesystem::path>{}
                                                              : std::vector<std::filesystem::path>{options.table};
        if (const auto refusal = refuseOutput(options.output, inputs)) {
            throw UsageError(options.output + (*refusal == OutputRefusal::SameAsInput
                                                   ? ": is the table being read: not written"
                                                   : ": not a regular file: not written (use standard output)"));
        }
        try {
            outFile.emplace(options.output);
        } catch (const OutputError& error) {
            throw UsageError(options.output + ": " + error.what());
        }
        out = &outFile->stream();
    }

    TableTotals totals;
    try {
        CsvReader reader(*in);
        totals = checkTable(reader, *out, std::thread::hardware_concurrency());
        out->flush();
    } catch (const CsvError& error) {
        out->flush();
        throw UsageError(shownName + ":" + std::to_string(error.line()) + ": " + error.what());
    }
    if (outFile) {
        try {
            outFile->commit();
        } catch (const OutputError& error) {
            throw UsageError(options.output + ": " + error.what());
        }
    } else {
        finishStandardOutput(totals.writeError);
    }
    std::cerr << "prochnar-calc: " << totals.rows << " rows, " << totals.holding << " holding, " << totals.notHolding
              << " not holding, " << totals.toCheck << " to check, " << totals.notComputed() << " not computed\n";
    return totals.messageShown ? 1 : totals.toCheck > 0 ? 3 : 0;
}

int run(int argc, char** argv)
{
    const Options options = parseArguments(argc, argv);
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "prochnar-calc " << kVersion << '\n';
        return 0;
    }
    if (!options.table.empty()) {
        return runTable(options);
    }
    const std::string shownName = options.file == "-" ? "standard input" : options.file;
    const std::string content = readInput(options.file, shownName);

    MapForm form;
    applyInitialState(form);
    try {
        readFormFile(content, form);
    } catch (const FormFileError& error) {
        throw UsageError(shownName + ":" + std::to_string(error.line()) + ": " + error.what());
    }

    std::vector<PressRecord> presses;
    bool messageShown = false;
    for (const Button button : options.presses) {
        const bool ran = press(form, button);
        presses.push_back({.button = button, .ran = ran, .messages = form.takeMessages()});
        messageShown = messageShown || !presses.back().messages.empty();
    }
    // The girder's identity, if the form names it, stays with the calculation.
    const std::string out = calculationText(form, presses, readIdentityLines(content));
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    finishStandardOutput();
    return messageShown ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "prochnar-calc: " << error.what() << '\n';
        return kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "prochnar-calc: internal error: " << error.what() << '\n';
        return kExitInternal;
    }
}
