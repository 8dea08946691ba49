#include "AnswerDifference.h"

#include <algorithm>

namespace {

// A character with the one or two units it is compared by.
struct Character {
    ComparisonUnit units[2];
    bool spelt = false;  // two units: an umlaut spelt out
};

std::vector<Character> Characters(const QString& text, const AnswerOptions& options)
{
    std::vector<Character> characters;
    characters.reserve(text.size());
    for (const ComparisonUnit& unit : ComparisonUnits(text, options)) {
        if (!characters.empty() && characters.back().units[0].source == unit.source) {
            characters.back().units[1] = unit;
            characters.back().spelt = true;
        } else {
            characters.push_back({{unit, {}}, false});
        }
    }
    return characters;
}

bool SameCharacter(const Character& a, const Character& b)
{
    return a.spelt == b.spelt && SameUnit(a.units[0], b.units[0]) &&
           (!a.spelt || SameUnit(a.units[1], b.units[1]));
}

// Whether the umlaut a is spelt out as the characters b1, b2 ("ä" and "a", "e").
bool SpeltOut(const Character& a, const Character& b1, const Character& b2)
{
    return a.spelt && !b1.spelt && !b2.spelt && SameUnit(a.units[0], b1.units[0]) &&
           SameUnit(a.units[1], b2.units[0]);
}

// Edit distance over characters, where an umlaut and its spelling match at no cost.
class Alignment {
public:
    using Text = std::vector<Character>;
    Alignment(const Text& typed, const Text& right)
        : typed_(typed), right_(right), w_(right.size() + 1), d_((typed.size() + 1) * w_)
    {
        for (std::size_t j = 0; j < w_; ++j)
            d_[j] = int(j);
        for (std::size_t i = 1; i <= typed.size(); ++i) {
            const Character& t = typed[i - 1];
            int* row = &d_[i * w_];
            const int* up = row - w_;
            row[0] = int(i);
            for (std::size_t j = 1; j < w_; ++j) {
                const Character& r = right[j - 1];
                int best = std::min(
                    {up[j] + 1, row[j - 1] + 1, up[j - 1] + (SameCharacter(t, r) ? 0 : 1)});
                if (t.spelt && umlautTyped(i, j))
                    best = std::min(best, up[j - 2]);
                if (r.spelt && umlautRight(i, j))
                    best = std::min(best, at(i - 2, j - 1));
                row[j] = best;
            }
        }
    }
    int distance() const { return d_.back(); }
    QList<DifferenceSpan> spans() const;

private:
    int at(std::size_t i, std::size_t j) const { return d_[i * w_ + j]; }
    bool umlautTyped(std::size_t i, std::size_t j) const
    {
        return j >= 2 && SpeltOut(typed_[i - 1], right_[j - 2], right_[j - 1]);
    }
    bool umlautRight(std::size_t i, std::size_t j) const
    {
        return i >= 2 && SpeltOut(right_[j - 1], typed_[i - 2], typed_[i - 1]);
    }

    const Text& typed_;
    const Text& right_;
    std::size_t w_;
    std::vector<int> d_;
};

// Walks one cheapest alignment back from the end and joins neighbouring steps of one kind.
// On a tie a replacement wins over a removal plus an addition, so that swapped letters
// show as two wrong ones in place.
QList<DifferenceSpan> Alignment::spans() const
{
    QList<DifferenceSpan> spans;  // last first
    const auto add = [&](DifferenceKind kind, std::size_t i, std::size_t j, bool typedStep,
                         bool rightStep) {
        const qsizetype ti = qsizetype(i) - typedStep;
        const qsizetype rj = qsizetype(j) - rightStep;
        if (!spans.isEmpty() && spans.back().kind == kind &&
            spans.back().typedStart == ti + typedStep &&
            spans.back().rightStart == rj + rightStep) {
            DifferenceSpan& span = spans.back();
            span.typedStart = ti, span.typedLength += typedStep;
            span.rightStart = rj, span.rightLength += rightStep;
            return;
        }
        spans.push_back({kind, ti, qsizetype(typedStep), rj, qsizetype(rightStep)});
    };
    std::size_t i = typed_.size();
    std::size_t j = right_.size();
    while (i > 0 || j > 0) {
        const int here = at(i, j);
        const bool diagonal = i > 0 && j > 0;
        if (diagonal && here == at(i - 1, j - 1) && SameCharacter(typed_[i - 1], right_[j - 1])) {
            --i, --j;
        } else if (i > 0 && umlautTyped(i, j) && here == at(i - 1, j - 2)) {
            i -= 1, j -= 2;
        } else if (j > 0 && umlautRight(i, j) && here == at(i - 2, j - 1)) {
            i -= 2, j -= 1;
        } else if (diagonal && here == at(i - 1, j - 1) + 1) {
            add(DifferenceKind::Wrong, i--, j--, true, true);
        } else if (i > 0 && here == at(i - 1, j) + 1) {
            add(DifferenceKind::Extra, i--, j, true, false);
        } else {
            add(DifferenceKind::Missing, i, j--, false, true);
        }
    }
    std::reverse(spans.begin(), spans.end());
    return spans;
}

}  // namespace

AnswerDifference MarkDifference(const QString& typed, const QString& stored,
                                const AnswerOptions& options)
{
    AnswerDifference difference;
    difference.typed = JudgedText(typed, true, options);
    QStringList candidates = {JudgedText(stored, false, options)};
    // An answer that counts has nothing marked (even where no alignment matches it all,
    // as "ßs" for "sß" with umlaut spellings).
    if (AnswerCounts(typed, stored, options)) {
        difference.right = candidates.front();
        return difference;
    }
    const auto typedCharacters = Characters(difference.typed, options);
    if (options.anyAlternative)
        candidates += AnswerAlternatives(candidates.front());
    int best = -1;
    for (const QString& candidate : candidates) {
        const auto right = Characters(candidate, options);
        // The distance is at least the difference in length.
        const std::size_t shorter = std::min(typedCharacters.size(), right.size());
        const std::size_t longer = std::max(typedCharacters.size(), right.size());
        if (best >= 0 && longer - shorter >= std::size_t(best))
            continue;
        const Alignment alignment(typedCharacters, right);
        if (best >= 0 && alignment.distance() >= best)
            continue;
        best = alignment.distance();
        difference.right = candidate;
        difference.spans = alignment.spans();
    }
    for (const DifferenceSpan& span : difference.spans)
        difference.wrongCharacters += int(std::max(span.typedLength, span.rightLength));
    return difference;
}

SummaryParts DifferenceSummaryParts(const AnswerDifference& difference)
{
    SummaryParts parts;
    parts.beforeTyped = difference.typed.isEmpty() ? QStringLiteral("Ihre Antwort ist leer")
                                                   : QStringLiteral("Ihre Antwort: ");
    parts.betweenAnswers = QStringLiteral(". Richtig: ");
    parts.afterRight = difference.wrongCharacters == 0
                           ? QStringLiteral(". Kein Zeichen falsch.")
                           : QStringLiteral(". %1 Zeichen falsch.").arg(difference.wrongCharacters);
    return parts;
}

QString DifferenceSummary(const AnswerDifference& difference)
{
    const SummaryParts parts = DifferenceSummaryParts(difference);
    return parts.beforeTyped + difference.typed + parts.betweenAnswers + difference.right +
           parts.afterRight;
}
