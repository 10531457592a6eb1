#include "verdicts.h"

#include "angles.h"
#include "convert.h"
#include "errors.h"
#include "handlers.h"
#include "phi_table.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>

namespace prochnar {

namespace {

// A count of tenths with one decimal: "92,0", "4,3". Never below zero: a
// margin, a shortage or a thickness.
std::string tenthsText(Int128 tenths)
{
    if (tenths <= std::numeric_limits<long long>::max()) {
        return fixedText(static_cast<long long>(tenths), 1); // every margin but an absurd one
    }
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(tenths % 10)));
        tenths /= 10;
    } while (tenths != 0);
    digits.insert(digits.end() - 1, ',');
    return digits;
}

// Margins of hundreds of millions of per cent say no more than that.
int clampTenths(Int128 tenths)
{
    constexpr Int128 kMax = 2'000'000'000;
    return static_cast<int>(std::min(tenths, kMax));
}

std::optional<ExactPair> exactPair(std::string_view demand, ExactDecimal capacity)
{
    try {
        return overCommonScale(textToExact(demand), capacity);
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

std::optional<ExactPair> exactPair(std::string_view demand, std::string_view capacity)
{
    try {
        return exactPair(demand, textToExact(capacity));
    } catch (const ConversionError&) {
        return std::nullopt;
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

bool pressQuietly(OverlayForm& form, Button button)
{
    press(form, button);
    return !form.takeShown();
}

// The bytes a verdict's text may take with a flange's clause, the longest
// some 150: reserved at once, the clauses are appended without moving it.
constexpr std::size_t kVerdictRoom = 192;

// The flange of a measured section against the least thickness of its
// nominal angle: held above or at it, one to check below it.
Verdict measuredAgainst(Verdict verdict, const FlangeLimit& limit, int measured)
{
    const std::string_view governs =
        limit.governs == FlangeLimit::Governs::LocalStability ? "местная устойчивость" : "прочность";
    // "4,3 мм (прочность)", after the words that place the flange against it.
    const auto appendLimit = [&limit, governs](std::string& text) {
        text.append(tenthsText(limit.tenths)).append(" мм (").append(governs).append(")");
    };
    if (measured < limit.tenths) {
        std::string text;
        text.reserve(kVerdictRoom);
        text.append("проверьте: полка ").append(tenthsText(measured)).append(" мм ниже предела ");
        appendLimit(text);
        return Verdict{.kind = VerdictKind::Check, .text = std::move(text), .tenths = verdict.tenths};
    }
    if (measured == limit.tenths) {
        verdict.text.append(", полка на пределе ");
    } else {
        verdict.text.append(", полка ").append(tenthsText(measured)).append(" мм выше предела ");
    }
    appendLimit(verdict.text);
    return verdict;
}

// The area row's verdict, with the least flange thickness when it holds and
// the member's section holds a catalogue angle, or a measured one, whose
// area the actual value still is; one to check when that angle's flange is
// too slender already, or the measured flange thinner than its nominal
// angle allows.
// Whether a member's section fields hold the figures of its measured
// section, the nominal angle thinned: asked by each of its area rows, read
// once a judgement.
class ThinnedHeld {
public:
    ThinnedHeld(const Form& form, const MeasuredSections& measured) : form_{form}, measured_{measured} {}

    // The thinned angle when the member's section fields hold it; none otherwise.
    const std::optional<Angle>& of(Member member)
    {
        const std::size_t at = member == Member::Chord ? 0 : 1;
        if (!asked_.at(at)) {
            asked_.at(at) = true;
            if (const std::optional<MeasuredSection>& found = measured_.of(member)) {
                const SectionFields section = sectionFields(member);
                std::optional<Angle> thinned = thinnedAngle(angleCatalogue()[found->angle], found->tenths);
                if (thinned && holdsAngle(*thinned, form_.text(section.area), form_.text(section.radius))) {
                    held_.at(at) = thinned;
                }
            }
        }
        return held_.at(at);
    }

private:
    const Form& form_;
    const MeasuredSections& measured_;
    std::array<bool, kMembers.size()> asked_{};
    std::array<std::optional<Angle>, kMembers.size()> held_{};
};

std::optional<Verdict> judgeArea(const Form& form, const Step3Row& row, const MeasuredSections& measured,
                                 ThinnedHeld& thinnedHeld, NominalTrials& trials)
{
    const std::string& actual = form.text(row.capacity);
    std::optional<Verdict> verdict = judge(form.text(row.demand), actual);
    if (!verdict || verdict->kind != VerdictKind::Holds || !row.member) {
        return verdict;
    }
    const SectionFields section = sectionFields(*row.member);
    const std::string& radius = form.text(section.radius);
    if (const std::optional<MeasuredSection>& found = measured.of(*row.member)) {
        const Angle& nominal = angleCatalogue()[found->angle];
        // The row's actual value is most often the area field's own text.
        const std::optional<Angle>& thinned = thinnedHeld.of(*row.member);
        if (thinned && (actual == form.text(section.area) || holdsAngle(*thinned, actual, radius))) {
            const std::optional<FlangeLimit> limit = trials.rowLimit(form, row, nominal);
            return limit ? measuredAgainst(std::move(*verdict), *limit, found->tenths) : verdict;
        }
    }
    const std::optional<std::size_t> held = heldAngle(form, *row.member);
    if (!held) {
        return verdict;
    }
    const Angle& angle = angleCatalogue()[*held];
    if (!holdsAngle(angle, actual, radius)) {
        return verdict;
    }
    const std::optional<FlangeLimit> limit = rowFlangeLimit(form, row, angle);
    if (!limit) {
        return verdict;
    }
    const bool stability = limit->governs == FlangeLimit::Governs::LocalStability;
    if (stability && limit->tenths > angle.thicknessTenths) {
        return Verdict{.kind = VerdictKind::Check,
                       .text = "проверьте: полка тоньше допустимой по местной устойчивости " +
                               tenthsText(limit->tenths) + " мм",
                       .tenths = verdict->tenths};
    }
    verdict->text.append(", полка не тоньше ")
        .append(tenthsText(limit->tenths))
        .append(stability ? " мм (местная устойчивость)" : " мм (прочность)");
    return verdict;
}

// A judged pair's kind: one of the other sign is to check by its magnitude.
VerdictKind kindOf(const ExactPair& pair)
{
    if (pair.a < 0) {
        return VerdictKind::Check;
    }
    return pair.a <= pair.b ? VerdictKind::Holds : VerdictKind::Fails;
}

} // namespace

std::optional<VerdictKind> judgedKind(std::string_view demand, std::string_view capacity)
{
    const std::optional<ExactPair> pair = exactPair(demand, capacity);
    if (!pair || pair->b <= 0) {
        return std::nullopt;
    }
    return kindOf(*pair);
}

std::optional<Verdict> judge(std::string_view demand, std::string_view capacity)
{
    const std::optional<ExactPair> pair = exactPair(demand, capacity);
    if (!pair || pair->b <= 0) {
        return std::nullopt;
    }
    const bool otherSign = pair->a < 0;
    const Int128 need = otherSign ? -pair->a : pair->a;
    const Int128 have = pair->b;
    const std::string_view check = "проверьте: усилие обратного знака, по модулю ";
    std::string text;
    text.reserve(kVerdictRoom); // with room for the flange's clause of a held area row
    // Numbers of a calculation have few digits: divided in 64 bits when a
    // thousand times them fits there.
    constexpr Int128 kNarrow = Int128{1} << 53;
    const bool narrow = need < kNarrow && have < kNarrow;
    const auto over = [narrow](Int128 numerator, Int128 denominator) -> Int128 {
        return narrow ? static_cast<std::int64_t>(numerator) / static_cast<std::int64_t>(denominator)
                      : numerator / denominator;
    };
    if (need <= have) {
        const Int128 margin = over(1000 * (have - need), have); // rounded down
        text.append(otherSign ? check : "держит, ").append("запас ").append(tenthsText(margin)).append(" %");
        return Verdict{.kind = kindOf(*pair), .text = std::move(text), .tenths = clampTenths(margin)};
    }
    const Int128 shortage = over(1000 * (need - have) + have - 1, have); // rounded up
    text.append(otherSign ? check : "не держит, ").append("не хватает ").append(tenthsText(shortage)).append(" %");
    return Verdict{.kind = kindOf(*pair), .text = std::move(text), .tenths = -clampTenths(shortage)};
}

std::string_view magnitude(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first != std::string_view::npos && text[first] == '-') {
        text.remove_prefix(first + 1); // the blanks before the sign go with it, as a number reads them
    }
    return text;
}

std::optional<std::size_t> heldAngle(const Form& form, Member member)
{
    const SectionFields fields = sectionFields(member);
    return angleHeldBy(form.text(fields.area), form.text(fields.radius));
}

namespace {

// The fields a trial on another angle changes: the member's section area
// and radius.
std::bitset<kFieldCount> sectionChange(Member member)
{
    const SectionFields section = sectionFields(member);
    std::bitset<kFieldCount> changed;
    changed.set(fieldIndex(section.area)).set(fieldIndex(section.radius));
    return changed;
}

// withSection() into trial, counting again only the results that read a
// changed field (the section's, or a result counted again) when the form's
// results are its texts' own, pressed quietly; pressing every step
// otherwise. Filled in place: the trial reads through to form.
void pressWithSection(std::optional<OverlayForm>& trial, const Form& form, Member member, const Angle& angle,
                      bool pressed)
{
    if (trial) {
        trial->restart(form); // its texts' room kept
    } else {
        trial.emplace(form);
    }
    const SectionFields section = sectionFields(member);
    trial->setText(section.area, areaText(angle));
    trial->setText(section.radius, radiusText(angle));
    std::bitset<kFieldCount> changed = sectionChange(member);
    for (const Button step : {Button::Command2, Button::Command5, Button::Command4}) {
        if (pressed ? !pressAgain(*trial, step, changed) : !pressQuietly(*trial, step)) {
            trial.reset();
            return;
        }
    }
}

} // namespace

std::optional<MapForm> withSection(const Form& form, Member member, const Angle& angle)
{
    std::optional<OverlayForm> trial;
    pressWithSection(trial, form, member, angle, false);
    return trial ? std::optional(MapForm::withTextsOf(*trial)) : std::nullopt;
}

namespace {

// What leastFlange() reads for the row of a member on form (views of its
// texts).
FlangeInputs flangeInputs(const Form& form, const Step3Row& row)
{
    const SectionFields section = sectionFields(*row.member);
    const std::string_view required = magnitude(form.text(row.demand));
    const std::string& slenderness = form.text(section.slenderness);
    const std::string& resistance = form.text(Field::Text1);
    // The member's force row, if it has one: the thinner angle must carry it too.
    const std::optional<Step3Row> forceRow = forceRowOf(*row.member);
    const std::string_view force = forceRow ? magnitude(form.text(forceRow->demand)) : std::string_view();
    const std::string_view carried = forceRow ? std::string_view(form.text(forceRow->capacity)) : std::string_view();
    return {.required = required,
            .compressed = row.compressed,
            .usesPhi = row.phiOf.has_value(),
            .slenderness = slenderness,
            .resistance = resistance,
            .force = force,
            .carried = carried};
}

} // namespace

std::optional<FlangeLimit> rowFlangeLimit(const Form& form, const Step3Row& row, const Angle& angle)
{
    if (!row.member) {
        return std::nullopt;
    }
    return leastFlange(angle, flangeInputs(form, row));
}

std::optional<FlangeLimit> LastNominals::limit(std::size_t row, const Angle& angle, const FlangeInputs& inputs)
{
    std::optional<Last>& last = last_.at(row);
    if (last && last->angle == angle && last->compressed == inputs.compressed && last->usesPhi == inputs.usesPhi &&
        last->required == inputs.required && last->slenderness == inputs.slenderness &&
        last->resistance == inputs.resistance && last->force == inputs.force && last->carried == inputs.carried) {
        return last->limit;
    }
    // Counted before it is kept: a limit never stands beside other numbers.
    std::optional<FlangeLimit> limit = leastFlange(angle, inputs);
    last.emplace(Last{.angle = angle,
                      .compressed = inputs.compressed,
                      .usesPhi = inputs.usesPhi,
                      .required = std::string(inputs.required),
                      .slenderness = std::string(inputs.slenderness),
                      .resistance = std::string(inputs.resistance),
                      .force = std::string(inputs.force),
                      .carried = std::string(inputs.carried),
                      .limit = limit});
    return last->limit;
}

const Form* LastNominals::trial(const Form& form, Member member, const Angle& angle)
{
    // What each member's trial reads and writes, and the fields it reads in a list.
    struct Reach {
        PressReach fields;
        std::vector<Field> reads;
    };
    static const std::array<Reach, kMembers.size()> kReach = [] {
        std::array<Reach, kMembers.size()> reach;
        for (std::size_t m = 0; m < kMembers.size(); ++m) {
            reach.at(m).fields = pressAgainReach(sectionChange(kMembers.at(m)));
            for (const FieldDefault& field : kFormFields) {
                if (reach.at(m).fields.reads.test(fieldIndex(field.id))) {
                    reach.at(m).reads.push_back(field.id);
                }
            }
        }
        return reach;
    }();
    const std::size_t at = member == Member::Chord ? 0 : 1;
    const Reach& reach = kReach.at(at);
    std::optional<Trial>& kept = trials_.at(at);
    const auto sameReads = [&form, &reach, &kept] {
        for (std::size_t i = 0; i < reach.reads.size(); ++i) {
            if (kept->read[i] != form.text(reach.reads[i])) {
                return false;
            }
        }
        return true;
    };
    if (kept && kept->counted && kept->angle == angle && sameReads()) {
        if (!kept->form) {
            return nullptr;
        }
        // Every field the presses write is the trial's own: none reads
        // through to the other form.
        if ((reach.fields.writes & ~kept->form->written()).none()) {
            kept->form->readThrough(form);
            return &*kept->form;
        }
    }
    if (!kept) {
        kept.emplace(Trial{.counted = false, .angle = angle, .read = {}, .form = {}});
        kept->read.resize(reach.reads.size());
    }
    // Counted into the slot's own room; kept only once counted whole.
    kept->counted = false;
    kept->angle = angle;
    for (std::size_t i = 0; i < reach.reads.size(); ++i) {
        kept->read[i] = form.text(reach.reads[i]);
    }
    pressWithSection(kept->form, form, member, angle, true);
    kept->counted = true;
    return kept->form ? &*kept->form : nullptr;
}

NominalTrials::Counted& NominalTrials::counted(const Form& form, Member member, const Angle& angle)
{
    std::optional<Counted>& counted = counted_.at(member == Member::Chord ? 0 : 1);
    if (!counted || counted->angle != angle) {
        counted.emplace(Counted{});
        counted->angle = angle;
        if (pressed_ && last_ != nullptr) {
            counted->trial = last_->trial(form, member, angle);
        } else {
            pressWithSection(counted->own, form, member, angle, pressed_);
            counted->trial = counted->own ? &*counted->own : nullptr;
        }
    }
    return *counted;
}

const Form* NominalTrials::trial(const Form& form, Member member, const Angle& angle)
{
    return counted(form, member, angle).trial;
}

std::optional<FlangeLimit> NominalTrials::rowLimit(const Form& form, const Step3Row& row, const Angle& angle)
{
    if (!row.member) {
        return std::nullopt;
    }
    Counted& found = counted(form, *row.member, angle);
    const auto at = static_cast<std::size_t>(std::find(kStep3Rows.begin(), kStep3Rows.end(), row) - kStep3Rows.begin());
    std::optional<std::optional<FlangeLimit>>& limit = found.limits.at(at);
    if (!limit) {
        if (found.trial == nullptr) {
            limit.emplace();
        } else if (last_ != nullptr) {
            limit = last_->limit(at, angle, flangeInputs(*found.trial, row));
        } else {
            limit = rowFlangeLimit(*found.trial, row, angle);
        }
    }
    return *limit;
}

std::array<std::optional<Verdict>, kVerdictRows> judgeStep3(const Form& form, const MeasuredSections& measured)
{
    NominalTrials trials;
    return judgeStep3(form, measured, trials);
}

std::array<std::optional<Verdict>, kVerdictRows> judgeStep3(const Form& form, const MeasuredSections& measured,
                                                            NominalTrials& trials)
{
    std::array<std::optional<Verdict>, kVerdictRows> verdicts;
    ThinnedHeld thinnedHeld(form, measured);
    for (std::size_t row = 0; row < kStep3Rows.size(); ++row) {
        verdicts.at(row) = judgeArea(form, kStep3Rows.at(row), measured, thinnedHeld, trials);
    }
    // A row that uses a φ above the table's for its member's slenderness.
    for (std::size_t row = 0; row < kStep3Rows.size(); ++row) {
        std::optional<Verdict>& verdict = verdicts.at(row);
        if (!verdict || !kStep3Rows.at(row).phiOf) {
            continue;
        }
        const SectionFields section = sectionFields(*kStep3Rows.at(row).phiOf);
        const std::string& given = form.text(section.phi);
        // Compared as numbers: the table's words are written only for a φ above it.
        const std::optional<std::int64_t> table = phiThousandthsFromTable(form.text(section.slenderness));
        if (!table) {
            continue;
        }
        if (const std::optional<ExactPair> pair = exactPair(given, {.digits = *table, .scale = 3});
            pair && pair->a > pair->b) {
            verdict = Verdict{.kind = VerdictKind::Check,
                              .text = std::string("проверьте: J ")
                                          .append(given)
                                          .append(" больше табличного ")
                                          .append(phiThousandthsText(*table)),
                              .tenths = verdict->tenths};
        }
    }
    return verdicts;
}

std::optional<Unjudged> whyUnjudged(std::string_view demand, std::string_view capacity)
{
    if (judge(demand, capacity)) {
        return std::nullopt;
    }
    if (!exactPair(capacity, capacity)) {
        return Unjudged::CapacityNotANumber;
    }
    if (!exactPair(demand, demand)) {
        return Unjudged::DemandNotANumber;
    }
    return Unjudged::CapacityNotPositive;
}

std::optional<int> leastMargin(const std::array<std::optional<Verdict>, kVerdictRows>& verdicts)
{
    std::optional<int> least;
    for (const auto& verdict : verdicts) {
        if (verdict && verdict->kind != VerdictKind::Check) {
            least = std::min(least.value_or(verdict->tenths), verdict->tenths);
        }
    }
    return least;
}

} // namespace prochnar
