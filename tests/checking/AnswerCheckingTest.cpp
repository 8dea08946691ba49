#include "checking/AnswerComparison.h"
#include "checking/AnswerDifference.h"
#include "checking/AnswerMatching.h"
#include "learn/AnswerCheck.h"
#include "support/TestSupport.h"

#include <QAccessible>

namespace {

// Options: "i" ignores case, "u" accepts umlaut spellings, "a" one meaning of several.
struct Verdict {
    const char *typed, *stored, *options;
    bool withOptions, withoutOptions;
};
const Verdict kVerdicts[] = {
    // Umlaut spellings, both ways and with case.
    {"Maedchen", "Mädchen", "u", 1, 0},
    {"Mädchen", "Maedchen", "u", 1, 0},
    {"Aepfel", "Äpfel", "u", 1, 0},
    {"AEpfel", "Äpfel", "u", 1, 0},
    {"aepfel", "Äpfel", "u", 0, 0},
    {"aepfel", "Äpfel", "ui", 1, 0},
    {"OEL UEBER", "ÖL ÜBER", "u", 1, 0},
    {"AErobic", "Aerobic", "u", 0, 0},
    {"Masse", "Maße", "u", 1, 0},
    {"STRASSE", "Straße", "ui", 1, 0},
    {"STRASSE", "Straße", "i", 0, 0},
    {"GRÜßE", "grüsse", "ui", 1, 0},
    {"schon", "schön", "uia", 0, 0},
    {"schön", "schon", "uia", 0, 0},
    {"Madchen", "Mädchen", "u", 0, 0},
    {"Fus", "Fuß", "u", 0, 0},
    {"cafe", "café", "uia", 0, 0},
    // Alternatives.
    {"essen", "essen; speisen", "a", 1, 0},
    {"to dine; to eat", "to eat / to dine", "a", 1, 0},
    {"fressen / essen", "essen; speisen; fressen", "a", 1, 0},
    {"essen; essen", "essen; speisen", "a", 0, 0},
    {"essen; trinken", "essen; speisen", "a", 0, 0},
    {"und", "und/oder", "a", 0, 0},
    {"oder", "und /oder", "a", 1, 0},
    {"gehen", "gehen, laufen", "a", 0, 0},
    {"eat/dine", "eat / dine", "a", 0, 0},
    {"  speisen ", "essen ;  speisen;", "a", 1, 0},
    {"SPEISEN; AEPFEL", "Äpfel / speisen", "uia", 1, 0},
    // Blanks: at the ends whatever the options; runs of blanks only with a new option.
    {"  Haus  ", "Haus", "", 1, 1},
    {"to  go", "to go", "u", 1, 0},
    {"to  go", "to go", "i", 0, 0},
    {"to go ", "to  go", "uia", 1, 0},
    {"togo", "to go", "uia", 0, 0},
    {"\tHaus", "Haus", "uia", 0, 0},
    {"", "Haus", "uia", 0, 0},
};

// Marks: [wrong], (extra, in the typed answer), {missing, in the right one}; the other
// answer shows an empty pair where the characters belong.
struct Marking {
    const char *typed, *stored, *options, *typedMarks, *rightMarks;
    int count;
};
const Marking kMarkings[] = {
    {"recieve", "receive", "", "rec[ie]ve", "rec[ei]ve", 2},
    {"Hus", "Haus", "", "H{}us", "H{a}us", 1},
    {"Hauus", "Haus", "", "Ha(u)us", "Ha()us", 1},
    {"Hose", "Haus", "", "H[ose]", "H[aus]", 3},
    {"Rytmuss", "Rhythmus", "", "R{}yt{}mu(s)s", "R{h}yt{h}mu()s", 3},
    {"", "Haus", "", "{}", "{Haus}", 4},
    {"to  go ", "togo", "a", "to( )go", "to()go", 1},
    {"to  go ", "to go", "", "to( ) go", "to() go", 1},
    {"hAUss", "Haus", "i", "hAU(s)s", "Hau()s", 1},
    {"Maedchen", "Mädchen", "u", "Maedchen", "Mädchen", 0},
    {"MAEDCHN", "Mädchen", "ui", "MAEDCH{}N", "Mädch{e}n", 1},
    {"Mädchn", "Maedchen", "u", "Mädch{}n", "Maedch{e}n", 1},
    {"Madchen", "Mädchen", "u", "M[a]dchen", "M[ä]dchen", 1},
    {"to dien", "to eat / to dine", "a", "to di[en]", "to di[ne]", 2},
};

AnswerOptions Options(const char* letters)
{
    const QString l = QString::fromLatin1(letters);
    return {l.contains(u'i'), l.contains(u'u'), l.contains(u'a')};
}

QString Marked(const QString& text, const QList<DifferenceSpan>& spans, bool typedSide)
{
    QString result;
    qsizetype done = 0;
    for (const DifferenceSpan& span : spans) {
        const qsizetype start = typedSide ? span.typedStart : span.rightStart;
        const qsizetype length = typedSide ? span.typedLength : span.rightLength;
        const QString pair = QString::fromLatin1(span.kind == DifferenceKind::Wrong     ? "[]"
                                                 : span.kind == DifferenceKind::Missing ? "{}"
                                                                                        : "()");
        result += text.mid(done, start - done) + pair[0] + text.mid(start, length) + pair[1];
        done = start + length;
    }
    return result + text.mid(done);
}

template <typename Row, std::size_t n>
void AddRows(const Row (&rows)[n])
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < n; ++i)
        QTest::addRow("%s | %s | %s", rows[i].typed, rows[i].stored, rows[i].options) << int(i);
}

}  // namespace

class AnswerCheckingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answerCounts_data() { AddRows(kVerdicts); }
    void answerCounts()
    {
        QFETCH(int, row);
        const Verdict& v = kVerdicts[row];
        const QString typed = QString::fromUtf8(v.typed);
        const QString stored = QString::fromUtf8(v.stored);
        QCOMPARE(AnswerCounts(typed, stored, Options(v.options)), v.withOptions);
        QCOMPARE(AnswerCounts(typed, stored, {}), v.withoutOptions);
        // With the new options off, the verdict is the one of exact comparison.
        for (bool ignoreCase : {false, true})
            QCOMPARE(AnswerCounts(typed, stored, {ignoreCase, false, false}),
                     CheckAnswer(typed, stored, ignoreCase));
    }

    void markDifference_data() { AddRows(kMarkings); }
    void markDifference()
    {
        QFETCH(int, row);
        const Marking& m = kMarkings[row];
        const AnswerDifference difference = MarkDifference(
            QString::fromUtf8(m.typed), QString::fromUtf8(m.stored), Options(m.options));
        QCOMPARE(Marked(difference.typed, difference.spans, true), QString::fromUtf8(m.typedMarks));
        QCOMPARE(Marked(difference.right, difference.spans, false),
                 QString::fromUtf8(m.rightMarks));
        QCOMPARE(difference.wrongCharacters, m.count);
    }

    // A screen reader hears the summary; the marks are coloured and underlined.
    void comparisonReadsAsSummary()
    {
        AnswerComparison comparison;
        comparison.setAnswerFontFamily(QStringLiteral("Symbol"));
        comparison.showDifference(
            MarkDifference(QStringLiteral("<recieve> "), QStringLiteral("<receive>"), {}));
        comparison.show();
        QCOMPARE(QAccessible::queryAccessibleInterface(&comparison)->text(QAccessible::Name),
                 QStringLiteral("Ihre Antwort: <recieve>. Richtig: <receive>. 2 Zeichen falsch."));
        QVERIFY(comparison.accessibleName().isEmpty());
        QCOMPARE(comparison.text().count(QStringLiteral("text-decoration:underline")), 2);
        QCOMPARE(DifferenceSummary(MarkDifference({}, QStringLiteral("Haus"), {})),
                 QStringLiteral("Ihre Antwort ist leer. Richtig: Haus. 4 Zeichen falsch."));
    }
};

LK_TEST_MAIN(AnswerCheckingTest)
#include "AnswerCheckingTest.moc"
