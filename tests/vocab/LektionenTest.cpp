#include "app/AnsiText.h"
#include "support/TestSupport.h"
#include "vocab/LessonOverview.h"
#include "vocab/Lektionen.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTimer>

namespace {

// A vocabulary file whose entries carry these raw lesson fields (Windows-1252 bytes,
// padded with blanks); the other fields are plain words.
QString WriteLessonFile(const QList<QByteArray>& lessons)
{
    QByteArray bytes(kRecordSize, ' ');
    for (const QByteArray& lesson : lessons) {
        QByteArray record = lesson.leftJustified(kFieldWidth, ' ', true);
        record += QByteArray("wort").leftJustified(kRecordSize - kFieldWidth, ' ');
        bytes += record;
    }
    const QString path = NewTestDirectory() + QStringLiteral("/lektionen.vok");
    WriteBytes(path, bytes);
    return path;
}

// Expected rows, written in the source as UTF-8.
QStringList S(std::initializer_list<const char*> rows)
{
    QStringList list;
    for (const char* row : rows)
        list << QString::fromUtf8(row);
    return list;
}

QStringList Rows(const QList<LessonCount>& counts)
{
    QStringList rows;
    for (const LessonCount& c : counts)
        rows << c.lesson + QLatin1Char('=') + QString::number(c.entries);
    return rows;
}

// The straightforward way: compare every entry with the rows listed so far and count a
// new lesson over all later entries.
QList<LessonCount> QuadraticCount(VocabularyFile& file)
{
    QStringList lessons;
    for (int i = 1; i <= file.entryCount(); ++i)
        lessons << TrimControls(file.readLesson(i).value());
    QList<LessonCount> rows;
    for (int i = 0; i < lessons.size(); ++i) {
        bool listed = false;
        for (const LessonCount& row : rows)
            listed = listed || row.lesson == lessons[i];
        if (listed)
            continue;
        int count = 0;
        for (int j = i; j < lessons.size(); ++j)
            count += lessons[j] == lessons[i] ? 1 : 0;
        rows.append({lessons[i], count});
    }
    return rows;
}

// The grid's rows as "lesson=count", read while the overview is shown.
QStringList ShownRows(TForm3& form, VocabularyFile& file)
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
    return rows;
}

}  // namespace

class LektionenTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rows_data()
    {
        QTest::addColumn<QList<QByteArray>>("lessons");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first occurrence order")
            << QList<QByteArray>{"A", "B", "A", "C", "B"}
            << S({"A=2", "B=2", "C=1"});
        QTest::newRow("case differs")
            << QList<QByteArray>{"Lektion 1", "lektion 1", "Lektion 1"}
            << S({"Lektion 1=2", "lektion 1=1"});
        QTest::newRow("tab and blanks trimmed")
            << QList<QByteArray>{"Lektion 1\t", "  Lektion 1", "\r\nLektion 1 \x01"}
            << S({"Lektion 1=3"});
        QTest::newRow("inner blank kept")
            << QList<QByteArray>{"Lektion  1", "Lektion 1"}
            << S({"Lektion  1=1", "Lektion 1=1"});
        QTest::newRow("ends at NUL")
            << QList<QByteArray>{QByteArray("A\0junk", 6), "A"} << S({"A=2"});
        QTest::newRow("named like the title") << QList<QByteArray>{"Lektionen", "Eintr\xe4ge"}
                                              << S({"Lektionen=1", "Einträge=1"});
        QTest::newRow("Windows-1252") << QList<QByteArray>{"\x80 \xe4\xf6\xfc", "\x80 \xe4\xf6\xfc"}
                                      << S({"€ äöü=2"});
        QTest::newRow("empty lesson") << QList<QByteArray>{"", "A", "   "}
                                      << S({"=2", "A=1"});
        QTest::newRow("no entries") << QList<QByteArray>{} << QStringList();
    }
    void rows()
    {
        QFETCH(QList<QByteArray>, lessons);
        QFETCH(QStringList, expected);
        VocabularyFile file;
        QVERIFY(file.open(WriteLessonFile(lessons), VocabularyFile::Access::ReadOnly));
        QCOMPARE(Rows(CountLessons(file)), expected);
        TForm3 form;
        QCOMPARE(ShownRows(form, file), expected);
        QCOMPARE(form.StringGrid1->horizontalHeaderItem(0)->text(), QStringLiteral("Lektionen"));
        QCOMPARE(form.StringGrid1->horizontalHeaderItem(1)->text(), QStringLiteral("Einträge"));
    }

    // Many entries, over several read blocks, with lessons that differ in case and in
    // blanks around them: the same rows as comparing entry by entry.
    void countLessons_matchesEntryByEntry()
    {
        const QList<QByteArray> names{"Lektion 1", "lektion 1", "Lektion 1 ", "\tLektion 2",
                                      "Verben", "Verben\x01", "VERBEN", "\xc4rger"};
        QRandomGenerator random(4711);
        QList<QByteArray> lessons;
        for (int i = 0; i < 5000; ++i)
            lessons << names[random.bounded(int(names.size()))] +
                           (random.bounded(10) == 0 ? QByteArray::number(i % 37) : QByteArray());
        VocabularyFile file;
        QVERIFY(file.open(WriteLessonFile(lessons), VocabularyFile::Access::ReadOnly));
        const QList<LessonCount> rows = CountLessons(file);
        QCOMPARE(rows, QuadraticCount(file));
        int total = 0;
        for (const LessonCount& row : rows)
            total += row.entries;
        QCOMPARE(total, 5000);
    }

    // Every showing counts again: an entry added between two showings is listed.
    void showing_recounts()
    {
        const QString path = WriteLessonFile({"A"});
        VocabularyFile file;
        QVERIFY(file.open(path));
        TForm3 form;
        QCOMPARE(ShownRows(form, file), S({"A=1"}));
        QVERIFY(file.writeEntry(2, {QStringLiteral("B"), QStringLiteral("b"),
                                    QStringLiteral("b"), {}, {}}));
        QCOMPARE(ShownRows(form, file), S({"A=1", "B=1"}));
    }
};

LK_TEST_MAIN(LektionenTest)
#include "LektionenTest.moc"
