#include <QApplication>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTimer>

#include "app/AnsiText.h"
#include "support/TestSupport.h"
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
    // The grid's rows as "lesson=count|lesson=count", read while the overview is shown.
    void rows_data()
    {
        QTest::addColumn<QByteArrayList>("lessons");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first occurrence order")
            << QByteArrayList{"A", "B", "A", "C", "B"} << QStringLiteral("A=2|B=2|C=1");
        QTest::newRow("case differs") << QByteArrayList{"Lektion 1", "lektion 1", "Lektion 1"}
                                      << QStringLiteral("Lektion 1=2|lektion 1=1");
        QTest::newRow("trailing tab")
            << QByteArrayList{"Lektion 1\t", "Lektion 1"} << QStringLiteral("Lektion 1=2");
        QTest::newRow("tab before and inside") << QByteArrayList{"\tTiere", "Ti\tere", "Tiere "}
                                               << QStringLiteral("Tiere=2|Ti\tere=1");
    }
    void rows()
    {
        QFETCH(QByteArrayList, lessons);
        QFETCH(QString, expected);
        VocabularyFile file;
        OpenLessonFile(file, lessons);
        TForm3 form;
        QStringList rows;
        QTimer::singleShot(0, &form, [&] {
            QTableWidget* grid = form.StringGrid1;
            for (int r = 0; r < grid->rowCount(); ++r)
                rows << grid->item(r, 0)->text() + QLatin1Char('=') + grid->item(r, 1)->text();
            form.reject();
        });
        form.ShowOverview(file);
        QCOMPARE(rows.join(QLatin1Char('|')), expected);
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
