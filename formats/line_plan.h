#pragma once

#include "formats/table_life.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace prochnar {

// A header that a plan cannot group into girders: it has no "Опора".
class PlanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The replacement plan of a line section: the rows of one support (and one
// section, when the table has "Участок") are the inspections of one girder,
// in date order whatever their order in the table. Each girder's member
// kinds get their life over all its inspections (thicknessPoints and
// memberLife: the least squares and the last two points), counted down to
// the limit of its latest inspection's row; the plan holds one small record
// per girder, never the rows.
class LinePlan {
public:
    // Throws PlanError when the columns have no "Опора".
    explicit LinePlan(const std::vector<std::string>& columns);

    void add(const PlanPoint& point);

    // The plan as a table: a byte-order mark, the header, then one row per
    // girder, sorted by the year of replacement, reached limits first and
    // girders without a year last; in one year by section and support, runs
    // of digits in them by value ("9-10" before "10-11").
    [[nodiscard]] std::string table(char delimiter, DecimalSeparator separator = DecimalSeparator::Comma) const;
    // The same table handed to put in parts, in order: the records of a
    // plan of many girders are written in two halves at once.
    void writeTable(char delimiter, DecimalSeparator separator, const std::function<void(std::string_view)>& put) const;
    // From this many girders on, their lives and their records are counted
    // in two halves at once.
    static constexpr std::size_t kInHalvesFrom = 2048;
    // The same table as records, the header first.
    [[nodiscard]] std::vector<std::vector<std::string>>
    records(DecimalSeparator separator = DecimalSeparator::Comma) const;

    // The girders whose replacement falls within `years` years of the latest
    // inspection date of the table (the limits reached among them): the
    // plan's count does not depend on the day it is run.
    [[nodiscard]] std::size_t dueWithin(int years) const;

private:
    // A thickness measured, 0,1 mm; 0 for none.
    struct Measured {
        CalendarDate date = {};
        std::array<std::int16_t, 2> tenths = {};
        std::array<std::int16_t, 2> angle = {-1, -1}; // the row's, in the catalogue; -1 for none
    };
    struct Girder {
        std::uint32_t section = 0; // in sections_
        std::uint32_t inspections = 0;
        std::uint32_t refused = 0; // rows whose measurements were refused
        std::uint32_t counted = 0; // and the others
        std::string support = {};
        std::string km = {};
        std::vector<Measured> measured = {};
        std::array<std::int16_t, 2> angle = {-1, -1}; // in the catalogue; -1 for none
        std::array<std::int16_t, 2> limit = {};       // 0,1 mm; 0 for none
        std::int16_t installed = 0;                   // 0 for none
        std::optional<CalendarDate> latest = {};      // of the row kept, once one is dated
    };
    // Each member kind's lives, and how many of its readings were of a
    // former member (readsPresentMember) and left out.
    struct Lives {
        std::array<MemberLife, 2> member{};
        std::array<std::size_t, 2> former{};
    };
    [[nodiscard]] static GirderHistory historyOf(const Girder& girder, std::array<std::size_t, 2>& former);
    [[nodiscard]] static std::optional<int> limitOf(const Girder& girder, std::size_t member);
    [[nodiscard]] static Lives lives(const Girder& girder);
    // A girder in the plan's order: its year and whether a limit is reached.
    struct Planned {
        std::size_t girder = 0;
        const Lives* lives = nullptr; // in allLives()
        std::optional<int> year;
        bool reached = false;
    };
    [[nodiscard]] std::vector<std::string> header() const;
    // The girders sorted as the plan lists them.
    [[nodiscard]] std::vector<Planned> plannedOrder() const;
    [[nodiscard]] std::vector<std::string> recordOf(const Planned& entry, DecimalSeparator separator) const;
    static constexpr std::size_t kRecordCells = 12; // at most
    // Each girder's lives, counted once after the last row added: the
    // table, its records and the count of those due all ask for them.
    [[nodiscard]] const std::vector<Lives>& allLives() const;

    bool hasSection_ = false;
    bool hasKm_ = false;
    std::vector<std::string> sections_; // each section's name once
    std::unordered_map<std::string, std::uint32_t> sectionIndex_;
    std::unordered_map<std::string, std::size_t> index_; // support and section → girder
    std::vector<Girder> girders_;
    std::optional<CalendarDate> latest_;
    // allLives(), emptied by add(). A plan is read by one thread at a time.
    mutable std::vector<Lives> lives_;
};

} // namespace prochnar
