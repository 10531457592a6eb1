#include "conclusion.h"

#include "table_run.h"

#include <algorithm>
#include <cstdlib>

namespace prochnar {

namespace {

// A row's name inside a sentence: its first letter, a capital of the
// Cyrillic alphabet (А to Я, two bytes of UTF-8), made small.
std::string inSentence(std::string_view name)
{
    std::string text(name);
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xD0) {
        const auto second = static_cast<unsigned char>(text[1]);
        if (second >= 0x90 && second <= 0x9F) { // А to П: а to п
            text[1] = static_cast<char>(second + 0x20);
        } else if (second >= 0xA0 && second <= 0xAF) { // Р to Я: р to я
            text[0] = static_cast<char>(0xD1);
            text[1] = static_cast<char>(second - 0x20);
        }
    }
    return text;
}

// "сжатый пояс, растянутый пояс" for the rows of the kind, but the one left out.
std::string rowsOfKind(const GirderJudgement& judged, VerdictKind kind, std::size_t except)
{
    std::string names;
    for (std::size_t row = 0; row < kVerdictRows; ++row) {
        if (row != except && judged.verdicts.at(row)->kind == kind) {
            names += (names.empty() ? "" : ", ") + inSentence(kStep3Rows.at(row).name);
        }
    }
    return names;
}

// The row of the kind with the least tenths: the largest shortage, or the
// least margin; the first of equals.
std::size_t leastOfKind(const GirderJudgement& judged, VerdictKind kind)
{
    std::size_t least = kVerdictRows;
    for (std::size_t row = 0; row < kVerdictRows; ++row) {
        const Verdict& verdict = *judged.verdicts.at(row);
        if (verdict.kind == kind && (least == kVerdictRows || verdict.tenths < judged.verdicts.at(least)->tenths)) {
            least = row;
        }
    }
    return least;
}

bool isRowOf(LatticeMember member, const Step3Row& row)
{
    switch (member) {
    case LatticeMember::CompressedChord:
        return row.member == Member::Chord && row.compressed;
    case LatticeMember::TensionedChord:
        return row.member == Member::Chord && !row.compressed;
    case LatticeMember::Diagonals:
        break;
    }
    return row.member == Member::Diagonals || (!row.member && row.phiOf == Member::Diagonals);
}

} // namespace

GirderJudgement judgeGirder(const Form& form, const MeasuredSections& measured)
{
    NominalTrials trials;
    return judgeGirder(form, measured, trials);
}

GirderJudgement judgeGirder(const Form& form, const MeasuredSections& measured, NominalTrials& trials)
{
    GirderJudgement judged;
    judged.verdicts = judgeStep3(form, measured, trials);
    for (std::size_t row = 0; row < kVerdictRows; ++row) {
        const Step3Row& step3 = kStep3Rows.at(row);
        // Asked why only for a row without a verdict: the rest are not judged again.
        if (!judged.verdicts.at(row)) {
            judged.unjudged.push_back(
                {step3.name, whyUnjudged(form.text(step3.demand), form.text(step3.capacity)).value()});
        }
    }
    if (!judged.unjudged.empty()) {
        judged.verdicts = {};
        return judged;
    }
    judged.leastMargin = leastMargin(judged.verdicts);
    const auto any = [&judged](VerdictKind kind) {
        return std::any_of(judged.verdicts.begin(), judged.verdicts.end(),
                           [kind](const auto& verdict) { return verdict->kind == kind; });
    };
    judged.status = any(VerdictKind::Fails)   ? GirderStatus::DoesNotHold
                    : any(VerdictKind::Check) ? GirderStatus::Check
                                              : GirderStatus::Holds;
    return judged;
}

Conclusion conclusionOf(const Form& form, const MeasuredSections& measured)
{
    const GirderJudgement judged = judgeGirder(form, measured);
    if (judged.status == GirderStatus::NotComputed) {
        const bool computed = std::any_of(kStep3Rows.begin(), kStep3Rows.end(),
                                          [&form](const Step3Row& row) { return !form.text(row.demand).empty(); });
        return {.status = judged.status,
                .text = "Вывод не сделан: " +
                        (computed ? unjudgedRowsText(judged.unjudged) : std::string("шаг 3 не дал результатов")) + "."};
    }
    const std::string toCheck = rowsOfKind(judged, VerdictKind::Check, kVerdictRows);
    const std::string checkTail = toCheck.empty() ? "." : "; проверьте: " + toCheck + ".";
    const auto percent = [&judged](std::size_t row) { return marginText(std::abs(judged.verdicts.at(row)->tenths)); };
    std::string text;
    if (judged.status == GirderStatus::DoesNotHold) {
        const std::size_t worst = leastOfKind(judged, VerdictKind::Fails);
        const std::string others = rowsOfKind(judged, VerdictKind::Fails, worst);
        text = "Вывод: ригель не держит — " + inSentence(kStep3Rows.at(worst).name) + ", не хватает " + percent(worst) +
               " %" + (others.empty() ? "" : "; не держат также: " + others);
    } else if (const std::size_t least = leastOfKind(judged, VerdictKind::Holds); least == kVerdictRows) {
        text = "Вывод: нужна проверка инженера";
        return {.status = judged.status, .text = text + " — проверьте: " + toCheck + "."};
    } else {
        text = std::string(judged.status == GirderStatus::Holds ? "Вывод: ригель держит"
                                                                : "Вывод: ригель держит по остальным строкам") +
               ", наименьший запас " + percent(least) + " % (" + inSentence(kStep3Rows.at(least).name) + ")";
    }
    return {.status = judged.status, .text = text + checkTail};
}

std::optional<VerdictKind> memberVerdict(LatticeMember member,
                                         const std::array<std::optional<Verdict>, kVerdictRows>& verdicts)
{
    std::optional<VerdictKind> worst;
    for (std::size_t row = 0; row < kVerdictRows; ++row) {
        if (!isRowOf(member, kStep3Rows.at(row))) {
            continue;
        }
        const std::optional<Verdict>& verdict = verdicts.at(row);
        if (!verdict) {
            return std::nullopt;
        }
        const auto rank = [](VerdictKind kind) {
            return kind == VerdictKind::Fails ? 2 : kind == VerdictKind::Check ? 1 : 0;
        };
        if (!worst || rank(verdict->kind) > rank(*worst)) {
            worst = verdict->kind;
        }
    }
    return worst;
}

std::string_view memberName(LatticeMember member)
{
    switch (member) {
    case LatticeMember::CompressedChord:
        return "сжатый пояс";
    case LatticeMember::TensionedChord:
        return "растянутый пояс";
    case LatticeMember::Diagonals:
        break;
    }
    return "раскосы";
}

std::string_view memberStateText(LatticeMember member, std::optional<VerdictKind> verdict)
{
    const bool many = member == LatticeMember::Diagonals;
    if (!verdict) {
        return many ? "не проверены" : "не проверен";
    }
    switch (*verdict) {
    case VerdictKind::Holds:
        return many ? "держат" : "держит";
    case VerdictKind::Fails:
        return many ? "не держат" : "не держит";
    case VerdictKind::Check:
        break;
    }
    return "проверьте";
}

} // namespace prochnar
