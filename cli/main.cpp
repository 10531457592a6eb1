// prochnar-calc: runs a calculation of Прочнар without a window.
//
//   prochnar-calc [--press NAMES] [FILE]
//   prochnar-calc --table IN.csv [-o OUT.csv] [--plan PLAN.csv]
//
// Reads a form file (FILE, or standard input when FILE is absent or "-"),
// clicks the buttons NAMES in order as the window would, and prints what each
// click showed followed by the whole form, itself a valid form file. With
// --table it checks a table of girders, one a row, and writes the table back
// with each girder's results and verdicts.

#include "calc/handlers.h"
#include "calc/inspections.h"
#include "calc/map_form.h"
#include "calc/messages.h"
#include "formats/calculation_file.h"
#include "formats/csv_table.h"
#include "formats/form_file.h"
#include "formats/input_file.h"
#include "formats/safe_output.h"
#include "formats/table_check.h"
#include "formats/table_decimal.h"
#include "formats/table_workbook.h"
#include "prochnar/version.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace prochnar;

constexpr int kExitUsage = 2;
constexpr int kExitInternal = 3;

constexpr std::string_view kUsage = "Использование: prochnar-calc [--press КНОПКИ] [ФАЙЛ]\n"
                                    "               prochnar-calc --table ВХОД.csv [-o ВЫХОД.csv] [--plan ПЛАН.csv]\n"
                                    "                             [--decimal comma|point]\n"
                                    "               prochnar-calc --help | --version\n"
                                    "\n"
                                    "Выполняет расчет остаточной прочности ригеля без окна.\n"
                                    "\n"
                                    "ФАЙЛ (стандартный ввод, когда ФАЙЛ не указан или это \"-\") — форма: текст\n"
                                    "UTF-8, по одной строке ИМЯ=ТЕКСТ. ИМЯ — поле окна (txtMn txtMp txtMv txtLp\n"
                                    "txtl txtG txtGg txtLpp txtH txtB txtIy txtIyy Text1 Text9 Text10 Text15 lblJ\n"
                                    "lblJ1 Text3 Text5 txtl1..8 txtgp1..8 txtgpp1..8 Text4 Text6 Text7 Text8 txtz2\n"
                                    "Text12 Text14 Text13 txtQp txtZ1), ТЕКСТ — его текст, как его вводят, с\n"
                                    "десятичной запятой. ИМЯ может быть и свойством состояния: Frame5.Visible,\n"
                                    "Frame7.Enabled, Command5.Enabled, Frame9.Visible или Command4.Enabled, со\n"
                                    "значением 0 или 1. Строки, начинающиеся с '#', и пустые строки пропускаются,\n"
                                    "из двух строк одного имени действует последняя, а то, чего форма не называет,\n"
                                    "остается таким, каким его показывает окно при запуске.\n"
                                    "\n"
                                    "--press КНОПКИ  кнопки через запятую, нажимаемые по порядку: Command2\n"
                                    "               (подтвердить шаг1), Command3 (сброс шага1), Command5\n"
                                    "               (подтвердить шаг2), Command6 (сброс шага2), Command4\n"
                                    "               (выполнить); по умолчанию Command2,Command5,Command4 — весь\n"
                                    "               расчет. Нажатие на недоступную кнопку ничего не делает.\n"
                                    "\n"
                                    "Печатает '# press ИМЯ' на каждое нажатие (с '(disabled)', когда кнопка\n"
                                    "недоступна), '# message: ТЕКСТ' или '# message error: ТЕКСТ' на каждое\n"
                                    "показанное сообщение, затем всю форму, которая сама — правильная форма.\n"
                                    "Код завершения: 0 — сообщений не было, 1 — было сообщение, 2 — неверный\n"
                                    "вызов или входной файл.\n"
                                    "\n"
                                    "Пример формы, весь расчет:\n"
                                    "  # шаг1: моменты, общие данные, решетка и уголки\n"
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
                                    "  # шаг2: коэффициенты продольного изгиба и один провод\n"
                                    "  Text3=0,8\n"
                                    "  Text5=0,8\n"
                                    "  txtl1=7\n"
                                    "  txtgp1=1\n"
                                    "  txtgpp1=2,5\n"
                                    "Сохраненная как girder.form, она дает по 'prochnar-calc girder.form' среди\n"
                                    "прочего txtQp=2743,5449 и Text4=0,9920635.\n"
                                    "\n"
                                    "--table ВХОД.csv  проверяет таблицу опор, по опоре в строке, как ее пишет\n"
                                    "               табличный редактор: разделитель ';', ',' или табуляция, как в\n"
                                    "               строке заголовков, ячейки в кавычках, UTF-8 (с BOM или без)\n"
                                    "               или windows-1251. Столбец с именем поля дает его текст; поле\n"
                                    "               без столбца или с пустой ячейкой остается как в окне при\n"
                                    "               запуске, а пустые Text3 или Text5 берут J из таблицы по\n"
                                    "               гибкости, как кнопка окна. Каждая строка получает три нажатия\n"
                                    "               полного расчета. Прочие столбцы переносятся как есть. Пишет\n"
                                    "               таблицу (в ВЫХОД.csv с -o) в UTF-8 с BOM и с разделителем\n"
                                    "               входной таблицы, добавляя столбцы, которых в ней нет: lblJ\n"
                                    "               lblJ1 Text3 Text5 txtQp txtZ1 Text4 Text7 txtz2 Text13 Text14,\n"
                                    "               'φ из таблицы', выводы 'Сжатый пояс', 'Растянутый пояс',\n"
                                    "               'Раскосы', 'Усилие в раскосе', 'Наименьший запас, %' и\n"
                                    "               'Сообщение'. Строка с сообщением выводов не получает. Вывод\n"
                                    "               'проверьте' (требование обратного знака, J больше табличного)\n"
                                    "               оставлен инженеру. Код завершения: 0 — все опоры оценены,\n"
                                    "               1 — есть строка с сообщением, 3 — сообщений нет, но есть\n"
                                    "               опора на проверку, 2 — неверный вызов или таблица не\n"
                                    "               читается; итог пишется в стандартный поток ошибок.\n"
                                    "\n"
                                    "               Столбцы осмотра: 'Уголок пояса' и 'Уголок раскосов' (уголок по\n"
                                    "               сортаменту: 'L 75×6', '75x6'), 't пояса, мм' и 't раскосов, мм'\n"
                                    "               (наименьшая измеренная толщина полки, '5,4'), 'Дата осмотра'\n"
                                    "               (ДД.ММ.ГГГГ или ГГГГ-ММ-ДД) и 'Год установки'. Уголок с толщиной\n"
                                    "               дает площадь и радиус инерции сечения (Text9 и txtIy пояса,\n"
                                    "               Text10 и txtIyy раскосов) утоненного уголка, уголок без\n"
                                    "               толщины — по сортаменту; сечение, заданное и так, и ячейкой\n"
                                    "               площади или радиуса, неизвестный уголок, несуществующая дата,\n"
                                    "               дата осмотра позже сегодняшней и толщина больше номинальной —\n"
                                    "               сообщение строки. Таблица со столбцами осмотра получает\n"
                                    "               еще 'Скорость утонения пояса, мм/год', 'Срок пояса, лет',\n"
                                    "               'Скорость утонения раскосов, мм/год', 'Срок раскосов, лет'\n"
                                    "               и 'Год замены': по двум точкам — году установки с номинальной\n"
                                    "               толщиной и осмотру строки — до предельной толщины уголка при\n"
                                    "               данных строки.\n"
                                    "\n"
                                    "               ВЫХОД.xlsx (по окончанию имени, в любом регистре) — книга\n"
                                    "               Excel с теми же ячейками: числа числами, выводы в цветах окна,\n"
                                    "               план замены на листе 'План замены', итог последней строкой.\n"
                                    "\n"
                                    "--plan ПЛАН.csv  с --table пишет еще план замены: по строке на опору.\n"
                                    "               Строки с одной 'Опора' (и одним 'Участок', если он есть) —\n"
                                    "               осмотры одной опоры, в порядке дат, как бы они ни шли в\n"
                                    "               файле. Столбцы: 'Участок', 'Опора', 'Км' (какие есть),\n"
                                    "               'Осмотров', для пояса и раскосов скорость утонения по всем\n"
                                    "               осмотрам (наименьшие квадраты и две последние точки, большее;\n"
                                    "               из двух замеров одного дня последним считается меньший; замеры\n"
                                    "               другого уголка и до года установки последнего осмотра не\n"
                                    "               учитываются), предел толщины (по данным последнего осмотра) и\n"
                                    "               срок, затем 'Год замены' и 'Замена' (что ее определяет; срок\n"
                                    "               части, который не определен, назван с причиной). Сначала опоры\n"
                                    "               с достигнутым пределом, затем по году, в одном году — по участку\n"
                                    "               и опоре, опоры без года последними. Строки с ошибкой в ячейках\n"
                                    "               не учитываются, 'Замена' называет их число.\n"
                                    "               Кодировка и разделитель — как у выходной таблицы. Итог\n"
                                    "               добавляет 'к замене в ближайшие 5 лет: N опор', считая от\n"
                                    "               последней даты осмотра в таблице, а не от сегодняшнего дня.\n"
                                    "\n"
                                    "--decimal comma|point  десятичный разделитель чисел таблицы (столбцов полей\n"
                                    "               и толщин): запятая, как в окне, или точка, как пишет табличный\n"
                                    "               редактор на английском. Без него он решается по всей таблице:\n"
                                    "               у строки разделитель большинства ее чисел (ячейка с другим —\n"
                                    "               ошибка строки); все строки с запятой или числа без дробной\n"
                                    "               части — запятая, все с точкой — точка. Таблица со строками с\n"
                                    "               разными разделителями, строка, где тех и других поровну, или\n"
                                    "               число с разделителем разрядов ('1.234,5', '1 234,5') не\n"
                                    "               проверяется, названы строка и столбец. Со стандартного ввода\n"
                                    "               разделитель решается по первому мегабайту таблицы; дальше\n"
                                    "               число с другим разделителем — ошибка его строки (для\n"
                                    "               уверенности дайте --decimal). Таблица с точкой получает свои\n"
                                    "               числа с точкой, перенесенные столбцы остаются как есть; итог\n"
                                    "               называет разделитель, если это точка или он задан --decimal.\n";

// The command's own messages; those about files and the calculation are
// calc/messages'.
namespace says {

std::string quoted(std::string_view text) { return "«" + visibleText(text) + "»"; }
std::string unknownButton(std::string_view name) { return "неизвестная кнопка " + quoted(name); }
std::string unknownOption(std::string_view option) { return "неизвестный параметр " + quoted(option); }
std::string needsValue(std::string_view option)
{
    return "после " + std::string(option) +
           (option == "--press"     ? " нужен список кнопок"
            : option == "--decimal" ? " нужно comma или point"
                                    : " нужно имя файла");
}
constexpr std::string_view kTwoFiles = "указано больше одного ФАЙЛА";
constexpr std::string_view kFileBesideTable = "ФАЙЛ вместе с --table: таблица и форма не читаются вместе";
constexpr std::string_view kOutputWithoutTable = "-o без --table";
constexpr std::string_view kPlanWithoutTable = "--plan без --table";
constexpr std::string_view kPlanIsOutput = "это и выходная таблица, и план — не записано";
constexpr std::string_view kPlanToFile = "--plan - : план пишется только в файл";
constexpr std::string_view kStandardInput = "стандартный ввод";
constexpr std::string_view kStandardOutput = "стандартный вывод";
constexpr std::string_view kTableRead = "это читаемая таблица — не записано";
constexpr std::string_view kNotRegular = "это не обычный файл — не записано (для устройства или канала: -o -)";
constexpr std::string_view kInternal = "внутренняя ошибка: ";
constexpr std::string_view kDecimalWithoutTable = "--decimal без --table";
constexpr std::string_view kChooseDecimal = " — укажите --decimal comma или --decimal point";
std::string unknownDecimal(std::string_view value)
{
    return "--decimal " + quoted(value) + ": разделитель — comma (запятая) или point (точка)";
}

} // namespace says

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::vector<Button> presses{Button::Command2, Button::Command5, Button::Command4};
    std::string file = "-";
    std::string table;                       // --table IN.csv
    std::string output;                      // -o OUT.csv
    std::string plan;                        // --plan PLAN.csv
    std::optional<DecimalSeparator> decimal; // --decimal comma|point
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
            throw UsageError(says::unknownButton(name));
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
                throw UsageError(says::needsValue(arg));
            }
            options.presses = parsePresses(args[++i]);
        } else if (arg.starts_with("--press=")) {
            options.presses = parsePresses(arg.substr(8));
        } else if (arg == "--table" || arg == "-o" || arg == "--plan") {
            if (i + 1 == args.size()) {
                throw UsageError(says::needsValue(arg));
            }
            (arg == "-o" ? options.output : arg == "--plan" ? options.plan : options.table) = std::string(args[++i]);
        } else if (arg == "--decimal") {
            if (i + 1 == args.size()) {
                throw UsageError(says::needsValue(arg));
            }
            const std::string_view value = args[++i];
            if (value != "comma" && value != "point") {
                throw UsageError(says::unknownDecimal(value));
            }
            options.decimal = value == "point" ? DecimalSeparator::Point : DecimalSeparator::Comma;
        } else if (arg.size() > 1 && arg.front() == '-') {
            throw UsageError(says::unknownOption(arg));
        } else if (haveFile) {
            throw UsageError(std::string(says::kTwoFiles));
        } else {
            options.file = std::string(arg);
            haveFile = true;
        }
    }
    if (!options.table.empty() && haveFile) {
        throw UsageError(std::string(says::kFileBesideTable));
    }
    if (options.table.empty() && !options.output.empty()) {
        throw UsageError(std::string(says::kOutputWithoutTable));
    }
    if (options.table.empty() && !options.plan.empty()) {
        throw UsageError(std::string(says::kPlanWithoutTable));
    }
    if (options.table.empty() && options.decimal) {
        throw UsageError(std::string(says::kDecimalWithoutTable));
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
            at.reason = systemErrorText(errno); // what the failed read left
        }
        throw UsageError(shownName + ": " + commandFaultText(at));
    }
    return content;
}

// What standard input's first bytes were, read again before the rest of it.
class HeadThenRest : public std::streambuf {
public:
    HeadThenRest(std::string head, std::streambuf& rest) : head_{std::move(head)}, rest_{rest} {}

protected:
    int_type underflow() override
    {
        if (!headGiven_) {
            headGiven_ = true;
            if (!head_.empty()) {
                setg(head_.data(), head_.data(), head_.data() + head_.size());
                return traits_type::to_int_type(head_.front());
            }
        }
        const std::streamsize got = rest_.sgetn(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        if (got <= 0) {
            return traits_type::eof();
        }
        setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
        return traits_type::to_int_type(buffer_.front());
    }

private:
    std::string head_;
    std::streambuf& rest_;
    bool headGiven_ = false;
    std::array<char, std::size_t{64} * 1024> buffer_{};
};

constexpr std::size_t kStandardInputHead = std::size_t{1024} * 1024;

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
        throw UsageError(std::string(says::kStandardOutput) + ": " + notWrittenText(error));
    }
}

// The day the command runs, by the local calendar: a table's inspection
// dated after it is a slip.
CalendarDate today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {.year = local.tm_year + 1900, .month = local.tm_mon + 1, .day = local.tm_mday};
}

// Checks each row of the table as it is read and writes it out at once.
int runTable(const Options& options)
{
    std::ifstream inFile;
    std::istream* in = &std::cin;
    const std::string shownName = options.table == "-" ? std::string(says::kStandardInput) : options.table;
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
    const std::vector<std::filesystem::path> inputs =
        options.table == "-" ? std::vector<std::filesystem::path>{} : std::vector<std::filesystem::path>{options.table};
    // A file written as -o's is: whole or not at all, never the table read.
    const auto openOutput = [&inputs](const std::string& name, auto& file) {
        if (const auto refusal = refuseOutput(name, inputs)) {
            throw UsageError(
                name + ": " +
                std::string(*refusal == OutputRefusal::SameAsInput ? says::kTableRead : says::kNotRegular));
        }
        try {
            file.emplace(name);
        } catch (const OutputError& error) {
            throw UsageError(name + ": " + error.what());
        }
    };
    const auto commitOutput = [](const std::string& name, SafeOutput& file) {
        try {
            file.commit();
        } catch (const OutputError& error) {
            throw UsageError(name + ": " + error.what());
        }
    };
    std::optional<SafeOutput> outFile;
    std::optional<TableWorkbook> workbook; // -o OUT.xlsx
    std::ostream* out = &std::cout;
    if (toFile && isWorkbookName(options.output)) {
        openOutput(options.output, workbook);
    } else if (toFile) {
        openOutput(options.output, outFile);
        out = &outFile->stream();
    }
    std::optional<SafeOutput> planFile;
    if (options.plan == "-") {
        throw UsageError(std::string(says::kPlanToFile));
    }
    if (!options.plan.empty()) {
        std::error_code ignored;
        if (toFile && std::filesystem::weakly_canonical(options.plan, ignored) ==
                          std::filesystem::weakly_canonical(options.output, ignored)) {
            throw UsageError(options.plan + ": " + std::string(says::kPlanIsOutput));
        }
        openOutput(options.plan, planFile);
    }

    // The decimal separator is decided from the whole table before its first
    // row is checked: a file is read twice; standard input decides from its
    // first megabyte, which is then read again before the rest.
    DecimalSeparator separator = options.decimal.value_or(DecimalSeparator::Comma);
    std::optional<HeadThenRest> replayed;
    std::optional<std::istream> replayedIn;
    if (!options.decimal) {
        DecimalDecision decision;
        if (options.table != "-") {
            decision = decideDecimal(inFile, options.table, std::thread::hardware_concurrency());
        } else {
            std::string head;
            decision = decideDecimal(std::cin, kStandardInputHead, head);
            replayed.emplace(std::move(head), *std::cin.rdbuf());
            in = &replayedIn.emplace(&*replayed);
        }
        if (decision.doubt) {
            throw UsageError(shownName + ":" + std::to_string(decision.doubt->cell.line) + ": " +
                             decision.doubt->text() + std::string(says::kChooseDecimal));
        }
        separator = decision.separator;
    }

    TableTotals totals;
    std::optional<LinePlan> plan;
    char delimiter = ';';
    try {
        CsvReader reader(*in);
        const unsigned threads = std::thread::hardware_concurrency();
        if (workbook) {
            workbook->setSeparator(separator);
        }
        totals = workbook ? checkTable(reader, *workbook, threads, planFile ? &plan : nullptr, separator, today())
                          : checkTable(reader, *out, threads, planFile ? &plan : nullptr, separator, today());
        delimiter = reader.delimiter();
        out->flush();
    } catch (const CsvError& error) {
        out->flush();
        throw UsageError(shownName + ":" + std::to_string(error.line()) + ": " + error.what());
    } catch (const PlanError& error) {
        throw UsageError(shownName + ": " + error.what());
    }
    if (outFile) {
        commitOutput(options.output, *outFile);
    } else if (!workbook) {
        finishStandardOutput(totals.writeError);
    }
    const std::string summary = checkedTableSummary(
        totals, planFile && plan ? &*plan : nullptr,
        separator == DecimalSeparator::Point || options.decimal ? std::optional(separator) : std::nullopt);
    if (planFile && plan) {
        plan->writeTable(delimiter, separator, [&planFile](std::string_view part) {
            planFile->stream().write(part.data(), static_cast<std::streamsize>(part.size()));
        });
        commitOutput(options.plan, *planFile);
    }
    if (workbook) {
        try {
            if (planFile && plan) {
                workbook->addPlan(plan->records(separator));
            }
            workbook->commit(summary);
        } catch (const OutputError& error) {
            throw UsageError(options.output + ": " + error.what());
        }
    }
    std::cerr << "prochnar-calc: " << summary << '\n';
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
    const std::string shownName = options.file == "-" ? std::string(says::kStandardInput) : options.file;
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
    // The girder's identity and history, if the form has them, stay with the
    // calculation, and the history's lives are counted with its inputs.
    HistoryRead history = readHistoryLines(content);
    if (history.fault) {
        throw UsageError(shownName + ":" + std::to_string(history.fault->line) + ": " +
                         commandFaultText(*history.fault));
    }
    const std::string out = calculationText(form, presses, readIdentityLines(content), history.history);
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
        std::cerr << "prochnar-calc: " << says::kInternal << error.what() << '\n';
        return kExitInternal;
    }
}
