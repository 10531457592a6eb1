#pragma once

#include "form.h"
#include "messages.h"
#include "verdicts.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar {

// What a girder as a whole comes to after step 3: it holds when every row
// holds; it does not when a row does not; it is to check when no row fails
// but one needs the engineer's look; it is not computed when a row could not
// be judged.
enum class GirderStatus { Holds, DoesNotHold, Check, NotComputed };

// The verdicts of the rows of step 3 and what the girder comes to. A girder
// is judged whole or not at all: when a row has no verdict, the others are
// dropped, and the rows without one say why.
struct GirderJudgement {
    std::array<std::optional<Verdict>, kVerdictRows> verdicts{};
    std::vector<UnjudgedRow> unjudged{};
    GirderStatus status = GirderStatus::NotComputed;
    std::optional<int> leastMargin{}; // tenths of a per cent (leastMargin())
};

// Sections measured are judged as judgeStep3() judges them.
[[nodiscard]] GirderJudgement judgeGirder(const Form& form, const MeasuredSections& measured = {});
// The same, with the measured sections' nominal forms counted in trials.
[[nodiscard]] GirderJudgement judgeGirder(const Form& form, const MeasuredSections& measured, NominalTrials& trials);

// The conclusion on the girder in one sentence, for the report's head:
// "Вывод: ригель не держит — сжатый пояс, не хватает 12,4 %; не держат
// также: раскосы; проверьте: растянутый пояс." (named by the row of the
// largest shortage), "Вывод: ригель держит, наименьший запас 31,8 % (сжатый
// пояс).", "Вывод: ригель держит по остальным строкам, наименьший запас …;
// проверьте: …", "Вывод: нужна проверка инженера — проверьте: …", and
// "Вывод не сделан: шаг 3 не дал результатов." when none is there (not
// executed, or stopped by a message before its first result), or "Вывод не
// сделан: «Раскосы» — фактическое значение не больше нуля." when a row could
// not be judged.
struct Conclusion {
    GirderStatus status = GirderStatus::NotComputed;
    std::string text;
};

[[nodiscard]] Conclusion conclusionOf(const Form& form, const MeasuredSections& measured = {});

// The kinds of member of the lattice, each judged by its rows of step 3:
// the upper chord is compressed, the lower one tensioned, the diagonals have
// an area row and a force row.
enum class LatticeMember { CompressedChord, TensionedChord, Diagonals };
inline constexpr std::array kLatticeMembers{LatticeMember::CompressedChord, LatticeMember::TensionedChord,
                                            LatticeMember::Diagonals};

// The member's verdict: the worst of its rows' (does not hold, then check,
// then holds); none when one of its rows has no verdict.
[[nodiscard]] std::optional<VerdictKind>
memberVerdict(LatticeMember member, const std::array<std::optional<Verdict>, kVerdictRows>& verdicts);

// The member's name, "сжатый пояс", and what it comes to in words, agreeing
// with it: "держит", "не держат", "проверьте", "не проверены".
[[nodiscard]] std::string_view memberName(LatticeMember member);
[[nodiscard]] std::string_view memberStateText(LatticeMember member, std::optional<VerdictKind> verdict);

} // namespace prochnar
