#include "AnswerMatching.h"

#include "app/AnsiText.h"

#include <algorithm>
#include <functional>

namespace {

bool IsSeparator(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c == u';')
        return true;
    if (c != u'/')
        return false;
    return (i > 0 && text.at(i - 1) == u' ') || (i + 1 < text.size() && text.at(i + 1) == u' ');
}

bool SameText(const std::vector<ComparisonUnit>& a, const std::vector<ComparisonUnit>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameUnit);
}

// Whether every typed piece can be paired with a meaning of its own that it equals
// (augmenting paths: the relation is not transitive, "Ae" ~ "Ä" ~ "AE" but "Ae" !~ "AE").
bool PairUp(const std::vector<std::vector<bool>>& fits, std::size_t meaningCount)
{
    std::vector<int> owner(meaningCount, -1);
    std::vector<bool> seen;
    const std::function<bool(int)> claim = [&](int piece) {
        for (std::size_t m = 0; m < meaningCount; ++m) {
            if (fits[piece][m] && owner[m] < 0) {
                owner[m] = piece;
                return true;
            }
        }
        for (std::size_t m = 0; m < meaningCount; ++m) {
            if (!fits[piece][m] || seen[m])
                continue;
            seen[m] = true;
            if (owner[m] < 0 || claim(owner[m])) {
                owner[m] = piece;
                return true;
            }
        }
        return false;
    };
    for (std::size_t piece = 0; piece < fits.size(); ++piece) {
        seen.assign(meaningCount, false);
        if (!claim(static_cast<int>(piece)))
            return false;
    }
    return true;
}

// Spellings without umlauts. The E of a capital may be written either way (Ae, AE).
struct Spelling {
    char16_t umlaut;
    char16_t first;
    char16_t second;
};
constexpr Spelling kSpellings[] = {
    {0xE4, u'a', u'e'}, {0xF6, u'o', u'e'}, {0xFC, u'u', u'e'},  // ä ö ü
    {0xC4, u'A', u'E'}, {0xD6, u'O', u'E'}, {0xDC, u'U', u'E'},  // Ä Ö Ü
    {0xDF, u's', u's'},                                          // ß
};

}  // namespace

QString CollapseBlanks(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c == u' ' && (result.isEmpty() || result.back() == u' '))
            continue;
        result += c;
    }
    if (result.endsWith(u' '))
        result.chop(1);
    return result;
}

QStringList AnswerAlternatives(const QString& stored)
{
    QStringList pieces;
    bool separated = false;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= stored.size(); ++i) {
        const bool end = i == stored.size();
        if (!end && !IsSeparator(stored, i))
            continue;
        separated = separated || !end;
        const QString piece = CollapseBlanks(stored.mid(begin, i - begin));
        if (!piece.isEmpty())
            pieces << piece;
        begin = i + 1;
    }
    return separated ? pieces : QStringList();
}

std::vector<ComparisonUnit> ComparisonUnits(const QString& text, const AnswerOptions& options)
{
    std::vector<ComparisonUnit> units;
    units.reserve(text.size() + 4);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const Spelling* spelling = nullptr;
        if (options.umlautSpellings)
            for (const Spelling& s : kSpellings)
                if (s.umlaut == c)
                    spelling = &s;
        if (!spelling) {
            units.push_back({c, false, i});
            continue;
        }
        units.push_back({spelling->first, false, i});
        units.push_back({spelling->second, spelling->second == u'E', i});
    }
    if (options.ignoreCase) {
        QString keys(qsizetype(units.size()), Qt::Uninitialized);
        for (std::size_t i = 0; i < units.size(); ++i)
            keys[i] = QChar(units[i].key);
        keys = AnsiUpper(keys);
        for (std::size_t i = 0; i < units.size(); ++i)
            units[i].key = keys.at(i).unicode();
    }
    return units;
}

QString JudgedText(const QString& text, bool typed, const AnswerOptions& options)
{
    if (Forgiving(options))
        return CollapseBlanks(text);
    return typed ? TrimBlanks(text) : text;
}

bool AnswerCounts(const QString& typed, const QString& stored, const AnswerOptions& options)
{
    const QString answer = JudgedText(typed, true, options);
    const QString expected = JudgedText(stored, false, options);
    if (SameText(ComparisonUnits(answer, options), ComparisonUnits(expected, options)))
        return true;
    if (!options.anyAlternative)
        return false;
    const QStringList meanings = AnswerAlternatives(expected);
    QStringList pieces = AnswerAlternatives(answer);
    if (pieces.isEmpty())
        pieces = {answer};
    if (meanings.isEmpty() || pieces.size() > meanings.size())
        return false;

    std::vector<std::vector<ComparisonUnit>> meaningUnits;
    for (const QString& meaning : meanings)
        meaningUnits.push_back(ComparisonUnits(meaning, options));
    std::vector<std::vector<bool>> fits;
    for (const QString& piece : pieces) {
        const auto units = ComparisonUnits(piece, options);
        auto& row = fits.emplace_back();
        for (const auto& meaning : meaningUnits)
            row.push_back(SameText(units, meaning));
    }
    return PairUp(fits, meaningUnits.size());
}
