#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Whether a typed answer counts, and the units that comparison looks at (shared with the
// difference marking, so that the marks never disagree with the verdict).

struct AnswerOptions {
    bool ignoreCase = false;       // compare in Windows-1252 upper case (ß stays ß)
    bool umlautSpellings = false;  // ä = ae, ö = oe, ü = ue, ß = ss, Ä = Ae or AE, ...
    bool anyAlternative = false;   // "essen; speisen": one meaning typed alone is enough
};

// Blanks (code 32 only) removed at both ends and every run of blanks made one blank.
QString CollapseBlanks(const QString& text);

// The meanings of a stored answer: its pieces between ";" and between "/" with a blank on
// at least one side, each without its blanks, empty pieces left out. A comma and a "/"
// inside a word ("und/oder") never separate. A text without a separator has none.
QStringList AnswerAlternatives(const QString& stored);

// Whether one of the options that go beyond exact comparison is on. While none is, an
// answer is judged exactly as before they existed: only blanks at the ends of the typed
// answer are dropped ("to  go" stays wrong for "to go").
inline bool Forgiving(const AnswerOptions& options)
{
    return options.umlautSpellings || options.anyAlternative;
}

// A text as the verdict compares it: with Forgiving options, CollapseBlanks; otherwise a
// typed answer without blanks at its ends and a stored one as it is.
QString JudgedText(const QString& text, bool typed, const AnswerOptions& options);

// The verdict. Blanks at the ends of the typed answer never count; with Forgiving options
// a run of blanks counts as one blank in both texts. Beyond that the texts must be equal
// under the options. With
// anyAlternative, typing one meaning counts, and so do several or all of them, each once,
// in any order and with either separator.
bool AnswerCounts(const QString& typed, const QString& stored, const AnswerOptions& options);

// One compared character. With umlaut spellings an umlaut becomes the two units of its
// spelling, both with its source.
struct ComparisonUnit {
    char16_t key = 0;
    bool eitherCaseE = false;  // the E of a capital umlaut: matches e and E
    qsizetype source = 0;      // index of the character in the text it came from
};
std::vector<ComparisonUnit> ComparisonUnits(const QString& text, const AnswerOptions& options);

inline bool SameUnit(const ComparisonUnit& a, const ComparisonUnit& b)
{
    if (a.key == b.key)
        return true;
    const auto isE = [](char16_t c) { return c == u'e' || c == u'E'; };
    return (a.eitherCaseE || b.eitherCaseE) && isE(a.key) && isE(b.key);
}
