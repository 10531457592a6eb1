#pragma once

#include "angles.h"
#include "fields.h"
#include "form.h"
#include "map_form.h"
#include "messages.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// What a row of step 3 comes to: the member holds, it does not, or the
// formula gave a number whose meaning the engineer must check (a demand of
// the other sign, a φ above the table's for the slenderness shown).
enum class VerdictKind { Holds, Fails, Check };

// The verdict on one row of step 3 in words: "держит, запас 92,0 %", "не
// держит, не хватает 12,4 %", "проверьте: …".
struct Verdict {
    VerdictKind kind = VerdictKind::Fails;
    std::string text;
    // In tenths of a per cent: the margin of a row that holds, the shortage
    // (below zero) of one that does not; for a row to check, the margin or
    // shortage of the demand's magnitude, which counts towards no girder's
    // least margin.
    int tenths = 0;
    friend bool operator==(const Verdict&, const Verdict&) = default;
};

// Holds when the demand is at most the capacity. The margin is the share of
// the capacity that may still be lost, (capacity − demand) / capacity,
// rounded down to 0,1 %, so never above 100 %; the shortage (demand −
// capacity) / capacity, rounded up. Both come from the exact numbers of the
// texts. A demand below zero (a moment acting the other way) is judged by
// its magnitude, as a row to check: "проверьте: усилие обратного знака, по
// модулю запас 94,8 %". None when a text is empty or not a number, or the
// capacity is zero or negative.
[[nodiscard]] std::optional<Verdict> judge(std::string_view demand, std::string_view capacity);
// judge()'s kind alone, without its words.
[[nodiscard]] std::optional<VerdictKind> judgedKind(std::string_view demand, std::string_view capacity);

// A number text without its minus sign (and the blanks before it, which a
// number's reading skips): a demand of the other sign counts by its
// magnitude.
[[nodiscard]] std::string_view magnitude(std::string_view text);

// The rows of step 3 in order, each a demand against the capacity that must
// meet it, as the window, the report and the table judge them: compressed
// chord (Text4 against Text6), tensioned chord (Text7, Text8), diagonal area
// (txtz2, Text12), and the diagonal force (Text13 against what a diagonal
// carries, Text14). The area rows belong to a member whose section fields
// (area and least radius of gyration) may hold a catalogue angle.
enum class Member { Chord, Diagonals };

struct SectionFields {
    Field area;
    Field radius;
    Field slenderness; // shown for the member on step 2
    Field phi;         // the member's φ on step 2, read for that slenderness
};

[[nodiscard]] constexpr SectionFields sectionFields(Member member)
{
    return member == Member::Chord ? SectionFields{Field::Text9, Field::txtIy, Field::lblJ, Field::Text3}
                                   : SectionFields{Field::Text10, Field::txtIyy, Field::lblJ1, Field::Text5};
}

inline constexpr std::array kMembers{Member::Chord, Member::Diagonals};

struct Step3Row {
    std::string_view name; // as the table's column and the report name the row
    Field demand;
    Field capacity;
    std::optional<Member> member; // none for the force row
    bool compressed;              // the member's flanges are compressed
    // The member whose φ the row's numbers use: the compressed chord's demand
    // is divided by it, the force a diagonal carries multiplied by it.
    std::optional<Member> phiOf;
    friend constexpr bool operator==(const Step3Row&, const Step3Row&) = default;
};

inline constexpr std::size_t kVerdictRows = 4;
inline constexpr std::array<Step3Row, kVerdictRows> kStep3Rows{{
    {"Сжатый пояс", Field::Text4, Field::Text6, Member::Chord, true, Member::Chord},
    {"Растянутый пояс", Field::Text7, Field::Text8, Member::Chord, false, std::nullopt},
    {"Раскосы", Field::txtz2, Field::Text12, Member::Diagonals, true, std::nullopt},
    {"Усилие в раскосе", Field::Text13, Field::Text14, std::nullopt, false, Member::Diagonals},
}};

// Whether the row of step 3 is one of the member's: the force of a diagonal
// belongs to the diagonals.
[[nodiscard]] constexpr bool belongsTo(const Step3Row& row, Member member)
{
    return row.member ? *row.member == member : member == Member::Diagonals;
}

// The row whose force the member's angle must also carry, and whose
// capacity grows with its area and φ: the force of a diagonal for the
// diagonals; none for the chord.
[[nodiscard]] constexpr std::optional<Step3Row> forceRowOf(Member member)
{
    for (const Step3Row& row : kStep3Rows) {
        if (!row.member && row.phiOf == member) {
            return row;
        }
    }
    return std::nullopt;
}

// The catalogue angle (its position in angleCatalogue()) that a member's
// section holds: the one whose area and radius its two fields hold as
// numbers, however they got there (picked, typed, opened or read from a
// table). None when the fields hold no catalogue angle's figures.
[[nodiscard]] std::optional<std::size_t> heldAngle(const Form& form, Member member);

// A member's section as measured on the girder: its nominal catalogue angle
// (its position in angleCatalogue()) and the least flange thickness measured,
// 0,1 mm, to which the angle's figures were thinned (thinnedAngle()).
struct MeasuredSection {
    std::size_t angle = 0;
    int tenths = 0;
    friend bool operator==(const MeasuredSection&, const MeasuredSection&) = default;
};

struct MeasuredSections {
    std::optional<MeasuredSection> chord = {};
    std::optional<MeasuredSection> diagonals = {};
    [[nodiscard]] const std::optional<MeasuredSection>& of(Member member) const
    {
        return member == Member::Chord ? chord : diagonals;
    }
};

// The form with the member's section fields holding the angle's area and
// radius, pressed again through the wizard's three steps with φ as typed;
// none when a press showed a message.
[[nodiscard]] std::optional<MapForm> withSection(const Form& form, Member member, const Angle& angle);

// The least flange thickness to which the angle may thin by the numbers of
// the row of step 3 in form, whose member's section holds the angle:
// leastFlange() with the magnitude of the row's demand, the member's
// slenderness, Rp (Text1) and, for the diagonals, the force of their force
// row, which the thinner angle must still carry.
[[nodiscard]] std::optional<FlangeLimit> rowFlangeLimit(const Form& form, const Step3Row& row, const Angle& angle);

// What a table's run keeps of the row before for the nominal angles of the
// next: a line section's inspections of one girder come row after row with
// the same nominal angles, lengths and loads, and so ask again for the same
// forms on them and the same flange limits. Each is taken again only where
// everything it was counted from is the same, so it is what counting it
// afresh would give.
class LastNominals {
public:
    // The least flange of the row of step 3 (its index) on the angle from
    // the inputs: leastFlange()'s, kept with its angle and texts.
    [[nodiscard]] std::optional<FlangeLimit> limit(std::size_t row, const Angle& angle, const FlangeInputs& inputs);
    // The member's nominal trial on form, whose results are its texts' own
    // pressed quietly: withSection()'s texts, read through to form; none when
    // a press would show a message. The one kept is taken again, reading
    // through to form, when its angle is the same and so is every text of
    // form its presses read (pressAgainReach()). Valid until the next call for
    // the member, while form is, unchanged.
    [[nodiscard]] const Form* trial(const Form& form, Member member, const Angle& angle);

private:
    struct Last {
        Angle angle{};
        bool compressed = false;
        bool usesPhi = false;
        std::string required;
        std::string slenderness;
        std::string resistance;
        std::string force;
        std::string carried;
        std::optional<FlangeLimit> limit;
    };
    std::array<std::optional<Last>, kVerdictRows> last_{};
    struct Trial {
        bool counted = false; // false while it is being counted
        Angle angle{};
        std::vector<std::string> read; // the texts its presses read, in the order of the fields
        std::optional<OverlayForm> form;
    };
    std::array<std::optional<Trial>, kMembers.size()> trials_{};
};

// The forms withSection() of the members' nominal angles, and the least
// flanges of their rows on them, each counted once for one form however
// many verdicts and lives ask for them: a table counts both for every row.
// One serves the texts of one form only; the trials and limits it counts
// are taken from last, when given, where all they read is the same.
class NominalTrials {
public:
    NominalTrials() = default;
    explicit NominalTrials(LastNominals* last) : last_{last} {}

    // Says that the form's results are those of its texts, pressed quietly
    // through the three steps, as a table's row after its check: the forms
    // on the nominal angles then press again only the steps that read a
    // field the angle changed, with the same results as withSection().
    void formPressedQuietly() { pressed_ = true; }

    // The texts of withSection(form, member, angle), read through to form;
    // none when a press showed a message. Valid while form is, unchanged.
    [[nodiscard]] const Form* trial(const Form& form, Member member, const Angle& angle);
    // rowFlangeLimit() of the angle on the form with it in the section of
    // the row's member; none for a row without a member, or without a form.
    [[nodiscard]] std::optional<FlangeLimit> rowLimit(const Form& form, const Step3Row& row, const Angle& angle);

private:
    struct Counted {
        Angle angle{};
        std::optional<OverlayForm> own; // the trial, unless last holds it
        const Form* trial = nullptr;
        std::array<std::optional<std::optional<FlangeLimit>>, kVerdictRows> limits{};
    };
    Counted& counted(const Form& form, Member member, const Angle& angle);
    std::array<std::optional<Counted>, kMembers.size()> counted_{};
    bool pressed_ = false;
    LastNominals* last_ = nullptr;
};

// The verdict of each row of step 3, from the form's texts. An area row that
// holds, of a member whose section holds a catalogue angle whose area the
// row's actual value still is, ends with the least flange thickness and the
// limit that gives it (leastFlange, with Rp from Text1, and for the
// diagonals the force row's force, which the thinner angle must still
// carry): ", полка не тоньше
// 4,3 мм (прочность)", "… (местная устойчивость)". When the local-stability
// limit is above the angle's own thickness the row is one to check:
// "проверьте: полка тоньше допустимой по местной устойчивости 6,2 мм". A row
// that uses a φ (the compressed chord Text3, the force of a diagonal Text5)
// greater than the table's φ for the slenderness shown above it is one to
// check, naming the table's value:
// "проверьте: J 0,8 больше табличного 0,269"; a φ at or below the table's
// is the engineer's conservative choice.
//
// A member's section measured (measured) whose two fields and the row's
// actual value hold, as numbers, the figures of its nominal angle thinned to
// the measured thickness keeps the nominal angle's least flange thickness:
// rowFlangeLimit() of the nominal angle on the form withSection() of it, as
// the remaining life counts down to, and says where the measured thickness
// stands: ", полка 5,2 мм выше предела 3,4 мм (местная устойчивость)", ",
// полка на пределе 3,4 мм (…)". A measured thickness below it makes the row
// one to check: "проверьте: полка 3,0 мм ниже предела 3,4 мм (прочность)".
[[nodiscard]] std::array<std::optional<Verdict>, kVerdictRows> judgeStep3(const Form& form,
                                                                          const MeasuredSections& measured = {});
// The same, with the measured sections' nominal forms counted in trials.
[[nodiscard]] std::array<std::optional<Verdict>, kVerdictRows>
judgeStep3(const Form& form, const MeasuredSections& measured, NominalTrials& trials);

// Why a row has no verdict (none when it has one).
[[nodiscard]] std::optional<Unjudged> whyUnjudged(std::string_view demand, std::string_view capacity);

// The smallest margin of the verdicts that hold or fail, in tenths of a per
// cent, below zero for the largest shortage; none when no row did.
[[nodiscard]] std::optional<int> leastMargin(const std::array<std::optional<Verdict>, kVerdictRows>& verdicts);

} // namespace prochnar
