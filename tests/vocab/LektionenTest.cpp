#include <QApplication>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTimer>

#include "app/AnsiText.h"
#include "support/TestSupport.h"
#include "vocab/Lektionen.h"
#include "vocab/LessonOverview.h"

namespace {

// A vocabulary file whose entries carry these raw lesson fields.
QString WriteLessonFile(const QByteArrayList& lessons)
{
    QByteArray bytes(kRecordSize, ' ');
    for (const QByteArray& lesson : lessons)
        bytes += lesson.leftJustified(kFieldWidth, ' ', true) +
                 QByteArray("wort").leftJustified(kRecordSize - kFieldWidth, ' ');
    const QString path = NewTestDirectory() + QStringLiteral("/lektionen.vok");
    WriteBytes(path, bytes);
    return path;
}

// The rows as "lesson=count|lesson=count", in UTF-8.
QByteArray Rows(const QStringList& rows)
{
    return rows.join(QLatin1Char('|')).toUtf8();
}
QByteArray Rows(const QList<LessonCount>& counts)
{
    QStringList rows;
    for (const LessonCount& c : counts)
        rows << c.lesson + QLatin1Char('=') + QString::number(c.entries);
    return Rows(rows);
}

// The straightforward way, entry by entry.
QByteArray EntryByEntry(VocabularyFile& file)
{
    QStringList lessons;
    for (int i = 1; i <= file.entryCount(); ++i)
        lessons << TrimControls(file.readLesson(i).value());
    QStringList rows;
    for (int i = 0; i < lessons.size(); ++i)
        if (lessons.indexOf(lessons[i]) == i)
            rows << lessons[i] + QLatin1Char('=') + QString::number(lessons.count(lessons[i]));
    return Rows(rows);
}

// The grid's rows, read while the overview is shown.
QByteArray ShownRows(TForm3& form, VocabularyFile& file)
{
    QStringList rows;
    QTimer::singleShot(0, &form, [&] {
        QTableWidget* grid = form.StringGrid1;
        for (int r = 0; r < grid->rowCount(); ++r)
            rows << grid->item(r, 0)->text() + QLatin1Char('=') + grid->item(r, 1)->text();
        QVERIFY(QApplication::overrideCursor() == nullptr);
        form.reject();
    });
    form.ShowOverview(file);
    return Rows(rows);
}

}  // namespace

class LektionenTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rows_data()
    {
        QTest::addColumn<QByteArrayList>("lessons");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first occurrence order")
            << QByteArrayList{"A", "B", "A", "C", "B"} << QByteArray("A=2|B=2|C=1");
        QTest::newRow("case differs") << QByteArrayList{"Lektion 1", "lektion 1", "Lektion 1"}
                                      << QByteArray("Lektion 1=2|lektion 1=1");
        QTest::newRow("tab and blanks trimmed")
            << QByteArrayList{"Lektion 1\t", "  Lektion 1", "\r\nLektion 1 \x01"}
            << QByteArray("Lektion 1=3");
        QTest::newRow("inner blank kept")
            << QByteArrayList{"Lektion  1", "Lektion 1"} << QByteArray("Lektion  1=1|Lektion 1=1");
        QTest::newRow("ends at NUL")
            << QByteArrayList{QByteArray("A\0junk", 6), "A"} << QByteArray("A=2");
        QTest::newRow("Windows-1252")
            << QByteArrayList{"\x80 \xe4\xf6\xfc", "\x80 \xe4\xf6\xfc"} << QByteArray("€ äöü=2");
        QTest::newRow("empty lesson") << QByteArrayList{"", "A", "   "} << QByteArray("=2|A=1");
        QTest::newRow("no entries") << QByteArrayList{} << QByteArray();
    }
    void rows()
    {
        QFETCH(QByteArrayList, lessons);
        QFETCH(QByteArray, expected);
        VocabularyFile file;
        QVERIFY(file.open(WriteLessonFile(lessons), VocabularyFile::Access::ReadOnly));
        QCOMPARE(Rows(CountLessons(file)), expected);
        TForm3 form;
        QCOMPARE(ShownRows(form, file), expected);
        QCOMPARE(form.StringGrid1->horizontalHeaderItem(0)->text(), QStringLiteral("Lektionen"));
        QCOMPARE(form.StringGrid1->horizontalHeaderItem(1)->text(), QStringLiteral("Einträge"));
    }

    // Over several read blocks, with lessons that differ in case and blanks.
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
        QVERIFY(file.open(WriteLessonFile(lessons), VocabularyFile::Access::ReadOnly));
        QCOMPARE(Rows(CountLessons(file)), EntryByEntry(file));
    }

    // Every showing counts again: an entry added between two showings is listed.
    void showing_recounts()
    {
        VocabularyFile file;
        QVERIFY(file.open(WriteLessonFile({"A"})));
        TForm3 form;
        QCOMPARE(ShownRows(form, file), QByteArray("A=1"));
        QVERIFY(file.writeEntry(
            2, {QStringLiteral("B"), QStringLiteral("b"), QStringLiteral("b"), {}, {}}));
        QCOMPARE(ShownRows(form, file), QByteArray("A=1|B=1"));
    }
};

LK_TEST_MAIN(LektionenTest)
#include "LektionenTest.moc"
