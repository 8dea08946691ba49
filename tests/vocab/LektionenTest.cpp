#include <QRandomGenerator>

#include "app/AnsiText.h"
#include "support/VocabTests.h"
#include "vocab/Lektionen.h"
#include "vocab/LessonOverview.h"

namespace {

// A vocabulary file whose entries carry these raw lesson fields, opened read-only.
void OpenLessonFile(VocabularyFile& file, const QByteArrayList& lessons)
{
    QByteArray bytes(kRecordSize, ' ');
    for (const QByteArray& lesson : lessons)
        bytes += lesson.leftJustified(kFieldWidth, ' ', true) +
                 QByteArray("wort").leftJustified(kRecordSize - kFieldWidth, ' ');
    const QString path = NewTestDirectory() + QStringLiteral("/lektionen.vok");
    QVERIFY(WriteBytes(path, bytes));
    QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
}

}  // namespace

class LektionenTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The grid's rows, read while the overview is shown: in order of first occurrence, case
    // counting, blanks and tabs around a name not.
    void rows()
    {
        VocabularyFile file;
        OpenLessonFile(file, {"A", "B", "A", "C", "B", "Lektion 1", "lektion 1", "Lektion 1\t",
                              "\tTiere", "Ti\tere", "Tiere "});
        TForm3 form;
        QString rows;
        WhileDialogShown(form, [&] {
            rows = GridTexts(form.StringGrid1);
            form.reject();
        });
        form.ShowOverview(file);
        QCOMPARE(rows, QStringLiteral("A,2|B,2|C,1|Lektion 1,2|lektion 1,1|Tiere,2|Ti\tere,1"));
    }

    // The block-wise count gives the rows of the plain entry-by-entry count, over several
    // blocks and with lessons that differ in case and blanks.
    void countLessons_matchesEntryByEntry()
    {
        const QByteArrayList names{"Lektion 1", "lektion 1",  "Lektion 1 ", "\tLektion 2",
                                   "Verben",    "Verben\x01", "VERBEN",     "\xc4rger"};
        QRandomGenerator random(4711);
        QByteArrayList lessons;
        for (int i = 0; i < 5000; ++i)
            lessons << names[random.bounded(int(names.size()))] +
                           (random.bounded(10) == 0 ? QByteArray::number(i % 37) : QByteArray());
        VocabularyFile file;
        OpenLessonFile(file, lessons);

        QList<LessonCount> expected;
        for (int i = 1; i <= file.entryCount(); ++i) {
            const QString lesson = TrimControls(file.readLesson(i).value());
            auto row = std::find_if(expected.begin(), expected.end(),
                                    [&](const LessonCount& c) { return c.lesson == lesson; });
            if (row == expected.end())
                expected << LessonCount{lesson, 1};
            else
                ++row->entries;
        }
        QVERIFY(expected.size() > 40);
        QVERIFY(CountLessons(file) == expected);
    }
};

LK_TEST_MAIN(LektionenTest)
#include "LektionenTest.moc"
