#pragma once

#include "checking/AnswerMatching.h"

#include <QList>
#include <QString>

// Where a typed answer differs from the right one: an alignment by edit distance (fewest
// characters added, removed or replaced), compared under the same options as the verdict.

enum class DifferenceKind {
    Missing,  // in the right answer, not typed
    Extra,    // typed, not in the right answer
    Wrong,    // typed in place of other characters
};

// Ranges in AnswerDifference::typed and ::right. A missing span has typedLength 0 and
// typedStart where the characters belong; an extra span has rightLength 0 likewise.
struct DifferenceSpan {
    DifferenceKind kind = DifferenceKind::Wrong;
    qsizetype typedStart = 0;
    qsizetype typedLength = 0;
    qsizetype rightStart = 0;
    qsizetype rightLength = 0;
};

struct AnswerDifference {
    QString typed;  // the typed answer as judged (JudgedText)
    QString right;  // the stored answer alike, or the meaning of it nearest to the typed one
    QList<DifferenceSpan> spans;  // in text order
    // Characters that differ: each missing or extra one counts once, a replaced stretch
    // counts its longer side. Two swapped neighbours ("ie" for "ei") count as two.
    int wrongCharacters = 0;
};

// With anyAlternative, the right answer shown is whichever of the whole stored answer and
// its meanings is nearest to the typed answer (the whole one on a tie). An answer that
// counts gets no spans and the whole stored answer.
AnswerDifference MarkDifference(const QString& typed, const QString& stored,
                                const AnswerOptions& options);

// What a screen reader says: "Ihre Antwort: recieve. Richtig: receive. 2 Zeichen falsch."
QString DifferenceSummary(const AnswerDifference& difference);
// The summary is beforeTyped + typed + betweenAnswers + right + afterRight; a display
// that marks the two answers builds its text from the same parts.
struct SummaryParts {
    QString beforeTyped;
    QString betweenAnswers;
    QString afterRight;
};
SummaryParts DifferenceSummaryParts(const AnswerDifference& difference);
