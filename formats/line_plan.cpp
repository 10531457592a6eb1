#include "formats/line_plan.h"

#include "calc/convert.h"
#include "calc/messages.h"
#include "formats/csv_table.h"
#include "formats/girder_history.h"
#include "formats/girder_identity.h"
#include "formats/text_encoding.h"

#include <algorithm>
#include <climits>
#include <tuple>

namespace prochnar {

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
    if (!point.counts) {
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
    if (point.date) {
        ++girder.inspections;
        if (point.measured[0] || point.measured[1]) {
            girder.measured.push_back({.date = *point.date,
                                       .tenths = {static_cast<std::int16_t>(point.measured[0].value_or(0)),
                                                  static_cast<std::int16_t>(point.measured[1].value_or(0))}});
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

GirderHistory LinePlan::historyOf(const Girder& girder)
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
    const auto tenths = [](std::int16_t value) { return value == 0 ? std::optional<int>() : value; };
    for (const Measured& measured : girder.measured) {
        history.inspections.push_back({.date = measured.date,
                                       .chordTenths = tenths(measured.tenths[0]),
                                       .diagonalTenths = tenths(measured.tenths[1])});
    }
    return history;
}

std::optional<int> LinePlan::limitOf(const Girder& girder, std::size_t member)
{
    const std::int16_t limit = girder.limit.at(member);
    return limit == 0 ? std::optional<int>() : limit;
}

std::array<MemberLife, 2> LinePlan::lives(const Girder& girder) const
{
    const GirderHistory history = historyOf(girder);
    return {memberLife(thicknessPoints(history, Member::Chord), limitOf(girder, 0)),
            memberLife(thicknessPoints(history, Member::Diagonals), limitOf(girder, 1))};
}

const std::vector<std::array<MemberLife, 2>>& LinePlan::allLives() const
{
    if (lives_.size() != girders_.size()) {
        lives_.clear();
        lives_.reserve(girders_.size());
        for (const Girder& girder : girders_) {
            lives_.push_back(lives(girder));
        }
    }
    return lives_;
}

std::string LinePlan::table(char delimiter, DecimalSeparator separator) const
{
    std::string text(kUtf8Bom);
    for (const std::vector<std::string>& record : records(separator)) {
        appendCsvRecord(text, record, delimiter);
    }
    return text;
}

std::vector<std::vector<std::string>> LinePlan::records(DecimalSeparator separator) const
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
    std::vector<std::vector<std::string>> records;
    records.reserve(girders_.size() + 1);
    records.push_back(std::move(header));

    struct Planned {
        std::size_t girder = 0;
        std::array<MemberLife, 2> lives{};
        std::optional<int> year;
        bool reached = false;
    };
    std::vector<Planned> planned(girders_.size());
    for (std::size_t i = 0; i < girders_.size(); ++i) {
        Planned& entry = planned[i];
        entry.girder = i;
        entry.lives = allLives()[i];
        entry.year = replacementYear(entry.lives[0], entry.lives[1]);
        entry.reached = std::any_of(entry.lives.begin(), entry.lives.end(),
                                    [](const MemberLife& life) { return life.kind == MemberLife::Kind::Reached; });
    }
    std::stable_sort(planned.begin(), planned.end(), [](const Planned& a, const Planned& b) {
        const auto key = [](const Planned& p) {
            return std::tuple(!p.year.has_value(), !p.reached, p.year.value_or(INT_MAX));
        };
        return key(a) < key(b);
    });
    for (const Planned& entry : planned) {
        const Girder& girder = girders_[entry.girder];
        std::vector<std::string>& cells = records.emplace_back();
        cells.reserve(records.front().size());
        if (hasSection_) {
            cells.push_back(sections_[girder.section]);
        }
        cells.push_back(girder.support);
        if (hasKm_) {
            cells.push_back(girder.km);
        }
        cells.push_back(std::to_string(girder.inspections));
        for (std::size_t m = 0; m < entry.lives.size(); ++m) {
            using enum MemberLife::Kind;
            const MemberLife& life = entry.lives.at(m);
            cells.push_back(withSeparator(life.kind == TooFewPoints ? std::string() : rateText(life.rate), separator));
            const std::optional<int> limit = limitOf(girder, m);
            cells.push_back(withSeparator(limit ? thicknessTenthsText(*limit) : std::string(), separator));
            cells.push_back(withSeparator(life.kind == Years     ? lifeYearsText(life.lifeTenths)
                                          : life.kind == Reached ? lifeYearsText(0)
                                                                 : std::string(),
                                          separator));
        }
        cells.push_back(entry.year ? std::to_string(*entry.year) : std::string());
        cells.push_back(planReplacementText(entry.lives[0], entry.lives[1]));
    }
    return records;
}

std::size_t LinePlan::dueWithin(int years) const
{
    if (!latest_) {
        return 0;
    }
    const auto& lives = allLives();
    return static_cast<std::size_t>(std::count_if(lives.begin(), lives.end(), [&](const auto& both) {
        const std::optional<int> year = replacementYear(both[0], both[1]);
        return year && *year <= latest_->year + years;
    }));
}

} // namespace prochnar
