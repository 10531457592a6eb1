// make_profel: writes the catalogue of equal-leg steel angles, profel.doc, from
// the data file angles_gost8509.csv.
//
//   make_profel CSV OUTPUT
//
// The catalogue is an RTF document (word processors open RTF under the name
// profel.doc): a title, one table row per profile with the figures exactly as
// the data file prints them (decimal comma instead of the point), and the
// notes on the source and on the rows to treat with care. Cyrillic is written
// as \uN? escapes, so the file itself is plain ASCII.
//
// The data file is checked while it is read: the header, six numeric columns
// per row, sizes in order, and figures that agree with each other. A row that
// fails stops the generator with the file, the line and the reason, exit
// status 1, and no output is written.

#include "data/angle_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace {

using prochnar_data::Angle;
using prochnar_data::sizeName;

// Remarks on single profiles of the shipped data file: the table marks each
// such row with the number of its remark. A remark whose sizes a data file
// does not hold is left out. The texts speak of the figures of those rows:
// whoever changes one of them in the data file rewords its remark.
struct Remark {
    std::vector<std::pair<std::string_view, std::string_view>> sizes; // b and t as the data file prints them
    std::string_view text;
};

const std::vector<Remark>& remarks()
{
    static const std::vector<Remark> list{
        {{{"160", "14"}},
         "В таблице ГОСТ напечатаны S = 43,57 см² и 34,20 кг — известная опечатка: она противоречит моменту "
         "инерции и радиусу инерции той же строки и геометрии сечения. Здесь взяты исправленная площадь 43,27 см² "
         "и масса 0,785 · S = 33,97 кг."},
        {{{"90", "9"}, {"125", "9"}, {"160", "20"}, {"180", "11"}, {"200", "14"}, {"250", "30"}},
         "Оставлены напечатанные в ГОСТ значения; они расходятся с расчетом по геометрии сечения или с 0,785 · S на "
         "0,1–0,3 %."},
        {{{"50", "6"}, {"220", "16"}},
         "Источники расходятся в массе 1 м: для 50 × 6 взято 4,47 кг (а не 4,42), для 220 × 16 — 53,83 кг (а не "
         "54,83, очевидная описка); оба значения согласны с площадью."},
        {{{"90", "10"},
          {"90", "12"},
          {"100", "15"},
          {"120", "8"},
          {"120", "10"},
          {"120", "12"},
          {"120", "15"},
          {"150", "10"},
          {"150", "12"},
          {"150", "15"},
          {"150", "18"},
          {"180", "15"},
          {"180", "18"},
          {"180", "20"},
          {"200", "24"}},
         "Масса 1 м вычислена как 0,785 · S: единственный источник дает ее с точностью до 0,1 кг, и она с ним "
         "совпадает."},
    };
    return list;
}

constexpr std::string_view kTitle = "Уголки стальные горячекатаные равнополочные";
constexpr std::string_view kSubtitle = "по ГОСТ 8509-93: площадь сечения S и наименьший радиус инерции iуг";
constexpr std::string_view kUsage =
    "Для шага 1 программы Прочнар: iуг — в поле «iуг минимальное значение радиуса инерции уголка (см)», S — в поле "
    "«Площадь сечения см.кв S», для уголка пояса (основа) и для уголка раскоса (раскосы). Число в столбце «Прим.» — "
    "номер примечания после таблицы.";
// Long notes are written as joined literals, which tidy takes for a missing comma.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
constexpr std::string_view kGeneralNotes[] = {
    "Значения взяты из общедоступных перепечаток таблицы ГОСТ 8509-93 и сверены построчно по четырем независимым "
    "таблицам и с расчетом по номинальным размерам сечения (b, t, радиусы закругления): площади совпадают с точностью "
    "до 0,3 %, радиусы инерции — до 0,005 см, кроме отмеченных строк. Где таблицы расходились, взято значение "
    "большинства, согласное с геометрией.",
    "Дополнительные размеры (25 × 5, 30 × 5, 40 × 6, 50 × 7, 50 × 8, 60 × 4 … 60 × 10, 70 × 10, 80 × 10, 80 × 12, "
    "90 × 10, 90 × 12, 100 × 15, 120 × …, 150 × …, 180 × 15 … 180 × 20, 200 × 24) и iуг размеров 20 × … — 45 × …, "
    "220 × … и 250 × … взяты каждый из одной таблицы; все они совпадают с расчетом по геометрии.",
    "Не вошли: 250 × 35 (нет напечатанного iуг), 45 × 6, 65 × 6, 65 × 8 и 200 × 18 (нет значений).",
    "Масса 1 м — по номинальным размерам при плотности стали 7,85 г/см³. iуг — радиус инерции относительно оси "
    "y0–y0, наименьший; именно он определяет гибкость одиночного сжатого уголка.",
    "Каталог справочный: для ответственного расчета сверяйте значения с действующим стандартом.",
};
// NOLINTEND(bugprone-suspicious-missing-comma)

// UTF-8 text as RTF: ASCII as it is (with \, { and } escaped, a tab as \tab), every other
// character as \uN? with N the signed 16-bit UTF-16 unit and "?" the
// replacement for readers that do not know Unicode.
std::string rtfText(std::string_view utf8)
{
    std::string out;
    const auto unit = [&out](std::uint32_t u) {
        out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(u))) + "?";
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        std::uint32_t code = 0;
        std::size_t length = 0;
        if (byte < 0x80) {
            code = byte;
            length = 1;
        } else if ((byte & 0xE0) == 0xC0) {
            code = byte & 0x1Fu;
            length = 2;
        } else if ((byte & 0xF0) == 0xE0) {
            code = byte & 0x0Fu;
            length = 3;
        } else if ((byte & 0xF8) == 0xF0) {
            code = byte & 0x07u;
            length = 4;
        } else {
            throw std::logic_error("invalid UTF-8 in a text of the catalogue");
        }
        if (i + length > utf8.size()) {
            throw std::logic_error("truncated UTF-8 in a text of the catalogue");
        }
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        }
        i += length;
        if (code == '\t') {
            out += "\\tab ";
        } else if (code == '\\' || code == '{' || code == '}') {
            out += '\\';
            out += static_cast<char>(code);
        } else if (code >= 0x20 && code < 0x7F) {
            out += static_cast<char>(code);
        } else if (code < 0x10000) {
            unit(code);
        } else {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FFu));
        }
    }
    return out;
}

std::string decimalComma(std::string text)
{
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

// "b × t" never breaks at its blanks.
std::string sizeText(std::string_view b, std::string_view t)
{
    return std::string(b) + "\u00A0×\u00A0" + decimalComma(std::string(t));
}

std::string keepSizesTogether(std::string_view text)
{
    std::string out(text);
    for (std::size_t at = 0; (at = out.find(" × ", at)) != std::string::npos;) {
        out.replace(at, 4, "\u00A0×\u00A0");
    }
    return out;
}

std::string paragraph(std::string_view format, std::string_view text)
{
    return "{\\pard" + std::string(format) + " " + rtfText(keepSizesTogether(text)) + "\\par}\n";
}

// The table: columns in twips, centred on an A4 page. Rows have a fixed
// height, so that the page breaks fall where the generator puts them: every
// page starts with the heading row (word processors differ in repeating it
// on their own).
constexpr int kCellWidths[] = {1900, 1500, 1500, 1700, 1000};
constexpr std::string_view kHeadings[] = {"Уголок b × t, мм", "S, см²", "iуг, см", "Масса 1 м, кг", "Прим."};
constexpr int kRowHeight = 250;     // twips, 12.5 pt
constexpr int kHeadingHeight = 340; // twips
constexpr std::size_t kRowsOnFirstPage = 45;
constexpr std::size_t kRowsPerPage = 50;

std::string tableRow(const std::vector<std::string>& cells, bool heading)
{
    std::string row = "\\trowd\\trgaph70\\trqc\\trkeep\\trrh-" + std::to_string(heading ? kHeadingHeight : kRowHeight);
    if (heading) {
        row += "\\trhdr";
    }
    row += '\n';
    int right = 0;
    for (const int width : kCellWidths) {
        right += width;
        row += "\\clvertalc\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
               "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
        if (heading) {
            row += "\\clcbpat2";
        }
        row += "\\cellx" + std::to_string(right) + '\n';
    }
    row += heading ? "\\pard\\intbl\\qc\\b " : "\\pard\\intbl\\qc ";
    for (const std::string& cell : cells) {
        row += rtfText(cell) + "\\cell ";
    }
    row += heading ? "\\b0\\row\n" : "\\row\n";
    return row;
}

std::string catalogue(const std::vector<Angle>& angles)
{
    // The remarks that concern sizes of this file, numbered in order, with
    // those sizes; and the numbers each size carries in the table.
    struct Shown {
        std::string sizes;
        std::string_view text;
    };
    std::vector<Shown> shown;
    std::map<std::string, std::string> marks;
    for (const Remark& remark : remarks()) {
        Shown entry{{}, remark.text};
        const std::string number = std::to_string(shown.size() + 1);
        for (const auto& [b, t] : remark.sizes) {
            const std::string key = std::string(b) + "x" + std::string(t);
            if (std::none_of(angles.begin(), angles.end(),
                             [&key](const Angle& angle) { return sizeName(angle) == key; })) {
                continue;
            }
            entry.sizes += (entry.sizes.empty() ? "" : ", ") + sizeText(b, t);
            std::string& mark = marks[key];
            mark += (mark.empty() ? "" : ", ") + number;
        }
        if (!entry.sizes.empty()) {
            shown.push_back(std::move(entry));
        }
    }

    std::string doc = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\n"
                      "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\n"
                      "{\\colortbl;\\red0\\green0\\blue0;\\red225\\green225\\blue225;}\n";
    doc += "{\\info{\\title " + rtfText(kTitle) + "}}\n";
    doc += "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\n";
    doc += "\\f0\\fs20\n";
    doc += paragraph("\\qc\\sa60\\b\\fs28", kTitle);
    doc += paragraph("\\qc\\sa120\\fs22", kSubtitle);
    doc += paragraph("\\ql\\sa200", kUsage);

    const std::vector<std::string> headings(std::begin(kHeadings), std::end(kHeadings));
    doc += tableRow(headings, true);
    std::size_t onPage = 0;
    std::size_t pageRows = kRowsOnFirstPage;
    for (const Angle& angle : angles) {
        if (onPage == pageRows) {
            doc += paragraph("\\qr\\sa60\\pagebb\\i", "Продолжение таблицы");
            doc += tableRow(headings, true);
            onPage = 0;
            pageRows = kRowsPerPage;
        }
        const auto mark = marks.find(sizeName(angle));
        doc += tableRow({sizeText(angle.b.text, angle.t.text), decimalComma(angle.area.text),
                         decimalComma(angle.imin.text), decimalComma(angle.mass.text),
                         mark == marks.end() ? std::string{} : mark->second},
                        false);
        ++onPage;
    }

    doc += paragraph("\\sb240\\sa60\\keepn\\b", "Примечания");
    for (std::size_t r = 0; r < shown.size(); ++r) {
        doc += paragraph("\\ql\\sa60\\fi-284\\li284\\tx284",
                         std::to_string(r + 1) + ".\t" + shown[r].sizes + ". " + std::string(shown[r].text));
    }
    for (const std::string_view note : kGeneralNotes) {
        doc += paragraph("\\ql\\sa60", note);
    }
    doc += "}\n";
    return doc;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_profel CSV OUTPUT\n"
                     "Writes the catalogue of equal-leg steel angles (RTF) from the data file CSV.\n";
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];
    std::string document;
    try {
        document = catalogue(prochnar_data::readCatalogue(input));
    } catch (const prochnar_data::DataError& error) {
        std::cerr << "make_profel: " << input;
        if (error.line() > 0) {
            std::cerr << ':' << error.line();
        }
        std::cerr << ": " << error.what() << '\n';
        return 1;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << document;
    out.close();
    if (!out) {
        std::cerr << "make_profel: cannot write " << output << '\n';
        std::remove(output.c_str());
        return 1;
    }
    return 0;
}
