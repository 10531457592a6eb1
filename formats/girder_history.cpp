#include "formats/girder_history.h"

#include "calc/angles.h"
#include "formats/girder_identity.h"

#include <algorithm>

namespace prochnar {

namespace {

std::string isoDate(CalendarDate date)
{
    const std::string text = dateText(date); // ДД.ММ.ГГГГ
    return text.substr(6, 4) + "-" + text.substr(3, 2) + "-" + text.substr(0, 2);
}

// A thickness of the member's history, at most its nominal angle's (the
// angles come first in a file).
bool fitsAngle(const GirderHistory& history, Member member, int tenths)
{
    const std::optional<std::size_t> angle = history.angleOf(member);
    return !angle || tenths <= angleCatalogue()[*angle].thicknessTenths;
}

struct LineFault {
    std::string reason;
};

// Reads "KEY=VALUE" of a "# history" line into the history; false for a key
// it does not know.
bool readHistoryKey(std::string_view key, std::string_view value, GirderHistory& history)
{
    if (key == "chord" || key == "diagonals") {
        const std::optional<std::size_t> angle = angleNamed(value);
        if (!angle) {
            throw LineFault{"нет такого уголка в каталоге: " + visibleText(value)};
        }
        (key == "chord" ? history.chordAngle : history.diagonalAngle) = angle;
    } else if (key == "chord-measured" || key == "diagonals-measured") {
        const std::optional<int> tenths = thicknessTenths(value);
        if (!tenths) {
            throw LineFault{"толщина не число мм с одним знаком после запятой: " + visibleText(value)};
        }
        (key == "chord-measured" ? history.chordMeasured : history.diagonalMeasured) = tenths;
    } else if (key == "installed") {
        const std::optional<CalendarDate> date = parseDate("01.01." + std::string(value));
        if (!date) {
            throw LineFault{"год установки не год: " + visibleText(value)};
        }
        history.installed = date->year;
    } else {
        return false;
    }
    return true;
}

Inspection readInspection(std::string_view line)
{
    Inspection inspection;
    bool dated = false;
    while (!line.empty()) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            throw LineFault{"нет «=» в " + visibleText(line)};
        }
        const std::string_view key = line.substr(0, equals);
        line.remove_prefix(equals + 1);
        if (key == "note") {
            inspection.note = unescapedLineText(line);
            break;
        }
        const std::size_t blank = std::min(line.find(' '), line.size());
        const std::string_view value = line.substr(0, blank);
        line.remove_prefix(std::min(blank + 1, line.size()));
        if (key == "date") {
            const std::optional<CalendarDate> date =
                value.size() == 10 && value[4] == '-' ? parseDate(value) : std::nullopt;
            if (!date) {
                throw LineFault{"нет такой даты: " + visibleText(value)};
            }
            inspection.date = *date;
            dated = true;
        } else if (key == "chord" || key == "diagonals") {
            const std::optional<int> tenths = thicknessTenths(value);
            if (!tenths) {
                throw LineFault{"толщина не число мм с одним знаком после запятой: " + visibleText(value)};
            }
            (key == "chord" ? inspection.chordTenths : inspection.diagonalTenths) = tenths;
        } else {
            throw LineFault{"неизвестное поле осмотра: " + visibleText(key)};
        }
    }
    if (!dated) {
        throw LineFault{"у осмотра нет даты"};
    }
    return inspection;
}

} // namespace

std::string thicknessTenthsText(int tenths)
{
    return std::to_string(tenths / 10) + (tenths % 10 != 0 ? "," + std::to_string(tenths % 10) : "");
}

std::optional<int> thicknessTenths(std::string_view text)
{
    const std::size_t comma = text.find(',');
    const std::string_view whole = text.substr(0, comma);
    const std::string_view tenth = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 4 || !digits(whole) || !digits(tenth) ||
        (comma != std::string_view::npos && tenth.size() != 1)) {
        return std::nullopt;
    }
    const int tenths = std::stoi(std::string(whole)) * 10 + (tenth.empty() ? 0 : tenth[0] - '0');
    return tenths > 0 ? std::optional(tenths) : std::nullopt;
}

std::string historyLines(const GirderHistory& history)
{
    std::string out;
    const auto line = [&out](std::string_view key, const std::string& value) {
        out.append(kHistoryLinePrefix).append(key).append("=").append(value).append("\n");
    };
    const auto catalogue = angleCatalogue();
    if (history.chordAngle) {
        line("chord", designation(catalogue[*history.chordAngle]));
    }
    if (history.chordMeasured) {
        line("chord-measured", thicknessTenthsText(*history.chordMeasured));
    }
    if (history.diagonalAngle) {
        line("diagonals", designation(catalogue[*history.diagonalAngle]));
    }
    if (history.diagonalMeasured) {
        line("diagonals-measured", thicknessTenthsText(*history.diagonalMeasured));
    }
    if (history.installed) {
        line("installed", std::to_string(*history.installed));
    }
    for (const Inspection& inspection : history.inspections) {
        out.append(kInspectionLinePrefix).append("date=").append(isoDate(inspection.date));
        if (inspection.chordTenths) {
            out.append(" chord=").append(thicknessTenthsText(*inspection.chordTenths));
        }
        if (inspection.diagonalTenths) {
            out.append(" diagonals=").append(thicknessTenthsText(*inspection.diagonalTenths));
        }
        if (!inspection.note.empty()) {
            out.append(" note=").append(escapedLineText(inspection.note));
        }
        out.append("\n");
    }
    return out;
}

HistoryRead readHistoryLines(std::string_view content)
{
    HistoryRead read;
    std::size_t number = 0;
    try {
        while (!content.empty()) {
            ++number;
            std::string_view line = nextLine(content);
            if (line.starts_with(kHistoryLinePrefix)) {
                line.remove_prefix(kHistoryLinePrefix.size());
                const std::size_t equals = line.find('=');
                if (equals != std::string_view::npos) {
                    readHistoryKey(line.substr(0, equals), line.substr(equals + 1), read.history);
                }
            } else if (line.starts_with(kInspectionLinePrefix)) {
                line.remove_prefix(kInspectionLinePrefix.size());
                const Inspection inspection = readInspection(line);
                if ((inspection.chordTenths && !fitsAngle(read.history, Member::Chord, *inspection.chordTenths)) ||
                    (inspection.diagonalTenths &&
                     !fitsAngle(read.history, Member::Diagonals, *inspection.diagonalTenths))) {
                    throw LineFault{"толщина больше толщины уголка"};
                }
                read.history.inspections.push_back(inspection);
            }
        }
    } catch (const LineFault& fault) {
        read.fault = FileFaultAt{.fault = FileFault::BadHistory, .line = number, .reason = fault.reason};
        read.history = {};
    }
    return read;
}

} // namespace prochnar
