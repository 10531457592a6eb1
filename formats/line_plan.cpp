#include "formats/line_plan.h"

#include "calc/convert.h"
#include "calc/messages.h"
#include "formats/csv_table.h"
#include "formats/girder_history.h"
#include "formats/girder_identity.h"
#include "formats/text_encoding.h"

#include <algorithm>
#include <array>
#include <climits>
#include <exception>
#include <functional>
#include <numeric>
#include <string_view>
#include <thread>
#include <tuple>

namespace prochnar {

namespace {

// Names as an engineer orders them: a run of digits by its value ("9-10"
// before "10-11"), the rest byte by byte; below zero when a comes first,
// zero for names alike in this order.
int nameOrder(std::string_view a, std::string_view b)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto sign = [](auto x, auto y) { return x < y ? -1 : y < x ? 1 : 0; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const auto run = [&isDigit](std::string_view text, std::size_t& at) {
                while (at + 1 < text.size() && text[at] == '0' && isDigit(text[at + 1])) {
                    ++at; // leading zeros
                }
                const std::size_t start = at;
                while (at < text.size() && isDigit(text[at])) {
                    ++at;
                }
                return text.substr(start, at - start);
            };
            const std::string_view x = run(a, i);
            const std::string_view y = run(b, j);
            if (x.size() != y.size()) {
                return sign(x.size(), y.size());
            }
            if (const int order = x.compare(y); order != 0) {
                return sign(order, 0);
            }
            continue;
        }
        if (a[i] != b[j]) {
            return sign(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[j]));
        }
        ++i;
        ++j;
    }
    return sign(a.size() - i, b.size() - j);
}

// Names in that order, and names alike in it (but for leading zeros) byte
// by byte.
bool namedBefore(std::string_view a, std::string_view b)
{
    const int order = nameOrder(a, b);
    return order < 0 || (order == 0 && a < b);
}

// count(from, to, part) over [0, size): in two halves at once for
// LinePlan::kInHalvesFrom or more, part 0 on this thread and part 1 on
// another, as a plan is finished after the table's last row when every core
// is free. Both halves end before a fault of either is passed on.
template <typename Count> void inHalves(std::size_t size, const Count& count)
{
    const std::size_t half = size >= LinePlan::kInHalvesFrom ? size / 2 : size;
    std::array<std::exception_ptr, 2> faults; // each half's own
    {
        std::jthread second;
        if (half < size) {
            second = std::jthread([&] {
                try {
                    count(half, size, 1);
                } catch (...) {
                    faults[1] = std::current_exception();
                }
            });
        }
        try {
            count(0, half, 0);
        } catch (...) {
            faults[0] = std::current_exception();
        }
    }
    for (const std::exception_ptr& fault : faults) {
        if (fault) {
            std::rethrow_exception(fault);
        }
    }
}

} // namespace

LinePlan::LinePlan(const std::vector<std::string>& columns)
{
    const auto has = [&columns](std::string_view name) {
        return std::find(columns.begin(), columns.end(), name) != columns.end();
    };
    if (!has(kSupportColumn)) {
        throw PlanError(std::string(planWithoutSupportText()));
    }
    hasSection_ = has(kSectionColumn);
    hasKm_ = has(kKmColumn);
}

void LinePlan::add(const PlanPoint& point)
{
    lives_.clear();
    if (point.date && (!latest_ || *latest_ < *point.date)) {
        latest_ = point.date;
    }
    // A row whose measurements were refused names its girder all the same:
    // the plan says it was left out, and a girder of such rows alone is not lost.
    if (!point.counts && point.support.empty()) {
        return;
    }
    const auto [section, newSection] =
        sectionIndex_.try_emplace(point.section, static_cast<std::uint32_t>(sections_.size()));
    const std::uint32_t sectionIndex = section->second;
    if (newSection) {
        sections_.push_back(point.section);
    }
    std::string key = point.support;
    key += '\0';
    key += std::to_string(sectionIndex);
    const auto [found, added] = index_.try_emplace(std::move(key), girders_.size());
    if (added) {
        girders_.push_back({.section = sectionIndex, .support = point.support});
    }
    Girder& girder = girders_[found->second];
    if (!point.counts) {
        ++girder.refused;
        if (girder.km.empty()) {
            girder.km = point.km; // until a row counted gives it
        }
        return;
    }
    ++girder.counted;
    if (point.date) {
        ++girder.inspections;
        if (point.measured[0] || point.measured[1]) {
            const auto index = [](const std::optional<std::size_t>& angle) {
                return static_cast<std::int16_t>(angle ? static_cast<int>(*angle) : -1);
            };
            girder.measured.push_back({.date = *point.date,
                                       .tenths = {static_cast<std::int16_t>(point.measured[0].value_or(0)),
                                                  static_cast<std::int16_t>(point.measured[1].value_or(0))},
                                       .angle = {index(point.angle[0]), index(point.angle[1])}});
        }
    }
    // The latest inspection's row gives the angles, the limits, the
    // installation year and the km; an earlier one what the later lack.
    const bool latest = takesOverAsLatest(girder.latest, point.date);
    const auto take = [latest](std::int16_t& kept, const auto& given, std::int16_t none) {
        if (given && (latest || kept == none)) {
            kept = static_cast<std::int16_t>(*given);
        }
    };
    for (std::size_t m = 0; m < 2; ++m) {
        take(girder.angle.at(m), point.angle.at(m), -1);
        take(girder.limit.at(m), point.limit.at(m), 0);
    }
    take(girder.installed, point.installed, 0);
    if (!point.km.empty() && (latest || girder.km.empty())) {
        girder.km = point.km;
    }
    if (point.date && latest) {
        girder.latest = point.date;
    }
}

GirderHistory LinePlan::historyOf(const Girder& girder, std::array<std::size_t, 2>& former)
{
    GirderHistory history;
    const auto angle = [](std::int16_t index) {
        return index < 0 ? std::optional<std::size_t>() : static_cast<std::size_t>(index);
    };
    history.chordAngle = angle(girder.angle[0]);
    history.diagonalAngle = angle(girder.angle[1]);
    if (girder.installed != 0) {
        history.installed = girder.installed;
    }
    former = {};
    for (const Measured& measured : girder.measured) {
        // A reading counts for the member the girder has now.
        const auto reading = [&](std::size_t m) -> std::optional<int> {
            if (measured.tenths.at(m) == 0) {
                return std::nullopt;
            }
            if (!readsPresentMember(angle(measured.angle.at(m)), measured.date, history.angleOf(kMembers.at(m)),
                                    history.installed)) {
                ++former.at(m);
                return std::nullopt;
            }
            return measured.tenths.at(m);
        };
        history.inspections.push_back({.date = measured.date, .chordTenths = reading(0), .diagonalTenths = reading(1)});
    }
    return history;
}

std::optional<int> LinePlan::limitOf(const Girder& girder, std::size_t member)
{
    const std::int16_t limit = girder.limit.at(member);
    return limit == 0 ? std::optional<int>() : limit;
}

LinePlan::Lives LinePlan::lives(const Girder& girder)
{
    Lives lives;
    const GirderHistory history = historyOf(girder, lives.former);
    lives.member = {memberLife(thicknessPoints(history, Member::Chord), limitOf(girder, 0)),
                    memberLife(thicknessPoints(history, Member::Diagonals), limitOf(girder, 1))};
    return lives;
}

const std::vector<LinePlan::Lives>& LinePlan::allLives() const
{
    if (lives_.size() != girders_.size()) {
        lives_.assign(girders_.size(), {});
        try {
            inHalves(girders_.size(), [this](std::size_t from, std::size_t to, std::size_t /*part*/) {
                for (std::size_t i = from; i < to; ++i) {
                    lives_[i] = lives(girders_[i]);
                }
            });
        } catch (...) {
            lives_.clear(); // none kept half counted: asked again, they are counted again
            throw;
        }
    }
    return lives_;
}

std::string LinePlan::table(char delimiter, DecimalSeparator separator) const
{
    std::string text;
    writeTable(delimiter, separator, [&text](std::string_view part) { text += part; });
    return text;
}

void LinePlan::writeTable(char delimiter, DecimalSeparator separator,
                          const std::function<void(std::string_view)>& put) const
{
    // Written record by record: a plan of many girders never holds all its
    // cells at once, and writes its records in two halves at once, each
    // handed on whole.
    std::array<std::string, 2> parts{std::string(kUtf8Bom), std::string()};
    appendCsvRecord(parts[0], header(), delimiter);
    const std::vector<Planned> order = plannedOrder();
    inHalves(order.size(), [&](std::size_t from, std::size_t to, std::size_t part) {
        for (std::size_t i = from; i < to; ++i) {
            appendCsvRecord(parts.at(part), recordOf(order[i], separator), delimiter);
        }
    });
    for (const std::string& part : parts) {
        if (!part.empty()) {
            put(part);
        }
    }
}

std::vector<std::vector<std::string>> LinePlan::records(DecimalSeparator separator) const
{
    std::vector<std::vector<std::string>> records;
    records.reserve(girders_.size() + 1);
    records.push_back(header());
    for (const Planned& entry : plannedOrder()) {
        records.push_back(recordOf(entry, separator));
    }
    return records;
}

std::vector<std::string> LinePlan::header() const
{
    std::vector<std::string> header;
    if (hasSection_) {
        header.emplace_back(kSectionColumn);
    }
    header.emplace_back(kSupportColumn);
    if (hasKm_) {
        header.emplace_back(kKmColumn);
    }
    for (const std::string_view column :
         {"Осмотров", "Скорость утонения пояса, мм/год", "Предел пояса, мм", "Срок пояса, лет",
          "Скорость утонения раскосов, мм/год", "Предел раскосов, мм", "Срок раскосов, лет", "Год замены", "Замена"}) {
        header.emplace_back(column);
    }
    return header;
}

std::vector<LinePlan::Planned> LinePlan::plannedOrder() const
{
    std::vector<Planned> planned(girders_.size());
    for (std::size_t i = 0; i < girders_.size(); ++i) {
        Planned& entry = planned[i];
        entry.girder = i;
        entry.lives = &allLives()[i];
        const std::array<MemberLife, 2>& member = entry.lives->member;
        entry.year = replacementYear(member[0], member[1]);
        entry.reached = std::any_of(member.begin(), member.end(),
                                    [](const MemberLife& life) { return life.kind == MemberLife::Kind::Reached; });
    }
    // In one year by section and support: the plan does not depend on the
    // order of the table's rows. The sections are ranked once.
    std::vector<std::uint32_t> sectionOrder(sections_.size());
    std::iota(sectionOrder.begin(), sectionOrder.end(), 0);
    std::sort(sectionOrder.begin(), sectionOrder.end(),
              [this](std::uint32_t a, std::uint32_t b) { return namedBefore(sections_[a], sections_[b]); });
    std::vector<std::uint32_t> sectionRank(sections_.size());
    for (std::uint32_t rank = 0; rank < sectionOrder.size(); ++rank) {
        sectionRank[sectionOrder[rank]] = rank;
    }
    std::sort(planned.begin(), planned.end(), [this, &sectionRank](const Planned& a, const Planned& b) {
        const auto key = [](const Planned& p) {
            return std::tuple(!p.year.has_value(), !p.reached, p.year.value_or(INT_MAX));
        };
        if (key(a) != key(b)) {
            return key(a) < key(b);
        }
        const Girder& x = girders_[a.girder];
        const Girder& y = girders_[b.girder];
        return x.section != y.section ? sectionRank[x.section] < sectionRank[y.section]
                                      : namedBefore(x.support, y.support);
    });
    return planned;
}

std::vector<std::string> LinePlan::recordOf(const Planned& entry, DecimalSeparator separator) const
{
    const Girder& girder = girders_[entry.girder];
    std::vector<std::string> cells;
    cells.reserve(kRecordCells);
    if (hasSection_) {
        cells.push_back(sections_[girder.section]);
    }
    cells.push_back(girder.support);
    if (hasKm_) {
        cells.push_back(girder.km);
    }
    cells.push_back(std::to_string(girder.inspections));
    const std::array<MemberLife, 2>& member = entry.lives->member;
    for (std::size_t m = 0; m < member.size(); ++m) {
        using enum MemberLife::Kind;
        const MemberLife& life = member.at(m);
        cells.push_back(withSeparator(life.kind == TooFewPoints ? std::string() : rateText(life.rate), separator));
        const std::optional<int> limit = limitOf(girder, m);
        cells.push_back(withSeparator(limit ? thicknessTenthsText(*limit) : std::string(), separator));
        cells.push_back(withSeparator(life.kind == Years     ? lifeYearsText(life.lifeTenths)
                                      : life.kind == Reached ? lifeYearsText(0)
                                                             : std::string(),
                                      separator));
    }
    cells.push_back(entry.year ? std::to_string(*entry.year) : std::string());
    cells.push_back(planReplacementText(
        member[0], member[1],
        {.formerReadings = entry.lives->former, .refusedRows = girder.refused, .nothingElse = girder.counted == 0}));
    return cells;
}

std::size_t LinePlan::dueWithin(int years) const
{
    if (!latest_) {
        return 0;
    }
    const auto& lives = allLives();
    return static_cast<std::size_t>(std::count_if(lives.begin(), lives.end(), [&](const auto& both) {
        const std::optional<int> year = replacementYear(both.member[0], both.member[1]);
        return year && *year <= latest_->year + years;
    }));
}

} // namespace prochnar
