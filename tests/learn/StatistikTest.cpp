#include "app/AnsiText.h"
#include "learn/StatisticsChart.h"
#include "learn/Statistik.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {

using Runs = QList<RunResult>;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = kKnownColour.rgb();

RunResult Run(const QString& file, const QString& lesson, int total = 10, int known = 7,
              int deleted = 2, QDate date = QDate(2001, 3, 5))
{
    return RunResult{
        QStringLiteral("/daten/") + file, lesson, total, known, total - known, deleted, 245, date};
}

// A run of the file the window is shown for.
RunResult B(const QString& lesson, int total = 10, int known = 7, int deleted = 2,
            QDate date = QDate(2001, 3, 5))
{
    return Run(QStringLiteral("b.vok"), lesson, total, known, deleted, date);
}

RunResult B(const char* lesson)
{
    return B(QString::fromUtf8(lesson));
}

QString WriteStatistics(const Runs& runs)
{
    QByteArray bytes;
    for (const RunResult& run : runs) bytes += EncodeStatisticsRecord(run).value();
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    WriteBytes(path, bytes);
    return path;
}

// The vocabulary file lives in another directory than the records say: only its name counts.
void Show(TForm8& form, const QString& statistics, const QString& file = QStringLiteral("b.vok"))
{
    form.statisticsPath = statistics;
    form.vocabularyPath = NewTestDirectory() + QLatin1Char('/') + file;
    form.show();
}

QStringList Lessons(const TForm8& form)
{
    QStringList lessons;
    for (int i = 0; i < form.ListBox1->count(); ++i)
        lessons << TrimBlanks(form.ListBox1->item(i)->text());
    return lessons;
}

QListWidgetItem* Lesson(const TForm8& form, const QString& lesson)
{
    return form.ListBox1->item(int(Lessons(form).indexOf(lesson)));
}

void ClickLesson(TForm8& form, const char* lesson)
{
    QListWidgetItem* item = Lesson(form, QString::fromUtf8(lesson));
    QVERIFY(item);
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {},
                      form.ListBox1->visualItemRect(item).center());
}

// The cells of a grid row joined by '|'.
QString Row(const TForm8& form, int r)
{
    QStringList cells;
    for (int c = 0; c < form.StringGrid1->columnCount(); ++c) {
        const QTableWidgetItem* item = form.StringGrid1->item(r, c);
        cells << (item ? TrimBlanks(item->text()) : QString());
    }
    return cells.join(u'|');
}

// The chart as the window shows it.
QImage ShownChart(const TForm8& form)
{
    return form.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class StatistikTest : public QObject {
    Q_OBJECT

    FakePlatform platform;

    // Exactly one message was shown: this error with an OK button and no icon.
    void VerifyOneError(const QString& text)
    {
        QCOMPARE(platform.messageTexts(), QStringList{text});
        QCOMPARE(platform.messages.first().caption, QStringLiteral("Fehler"));
        QCOMPARE(platform.messages.first().buttons, MsgButtons::Ok);
        QCOMPARE(platform.messages.first().icon, MsgIcon::None);
    }

private Q_SLOTS:
    void init()
    {
        platform.clear();
        platform.programDir = NewTestDirectory();
    }

    void lessonList_holdsTheLessonRunsOfTheCurrentFileOnly_data()
    {
        QTest::addColumn<Runs>("runs");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lessons");
        const QString a = QStringLiteral("a.vok");
        const QStringList lang{QStringLiteral("Lang")};
        QTest::newRow("two files")
            << Runs{Run(a, QStringLiteral("A1")), B("B1"), Run(a, QStringLiteral("Nur in a")),
                    B(""), B("B2"), B("B1"), Run(QStringLiteral("B.vok"), QStringLiteral("C"))}
            << "b.vok" << QStringList{QStringLiteral("B1"), QStringLiteral("B2")};
        // Names the record cannot store as they are.
        const QString longName = QString(81, u'n') + QStringLiteral(".vok");
        QTest::newRow("name longer than the field")
            << Runs{Run(longName, lang[0])} << longName << lang;
        const QString cyrillic = QStringLiteral("\u0441\u043b\u043e\u0432\u0430.vok");
        QTest::newRow("name outside Windows-1252")
            << Runs{Run(cyrillic, lang[0])} << cyrillic << lang;
    }
    void lessonList_holdsTheLessonRunsOfTheCurrentFileOnly()
    {
        QFETCH(Runs, runs);
        QFETCH(QString, file);
        TForm8 form;
        Show(form, WriteStatistics(runs), file);
        QTEST(Lessons(form), "lessons");
        QVERIFY(platform.messages.isEmpty());
    }

    // A page change evaluates the lesson last evaluated, not the one merely selected since.
    void lessonRuns_areListedInRecordOrderWithTheirDates()
    {
        TForm8 form;
        Show(form, WriteStatistics({B(QStringLiteral("1"), 12, 9, 1, QDate(2001, 3, 5)), B("2"),
                                    Run(QStringLiteral("a.vok"), QStringLiteral("1")),
                                    B(QStringLiteral("1"), 8, 8, 0, QDate(2001, 3, 7))}));
        form.Button1->click();
        VerifyOneError(QStringLiteral("Keine Lektion ausgewählt!"));
        QVERIFY(!form.PageControl1->isEnabled() && form.StringGrid1->isHidden());

        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("1")));
        form.Button1->click();
        QVERIFY(form.PageControl1->isEnabled() && form.HeaderControl1->isVisible());
        QCOMPARE(form.StringGrid1->rowCount(), 2);
        QCOMPARE(Row(form, 0), QStringLiteral("1|05.03.2001|12|9|3|1|245"));
        QCOMPARE(Row(form, 1), QStringLiteral("1|07.03.2001|8|8|0|0|245"));

        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("2")));
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(ShownChart(form).pixel(50, 60), kBlue);  // 9 of 12
    }

    void randomRuns_ofTheCurrentFileAreListed_data()
    {
        QTest::addColumn<Runs>("runs");
        QTest::addColumn<QStringList>("rows");
        const RunResult randomOfA = Run(QStringLiteral("a.vok"), QString());
        QTest::newRow("two")
            << Runs{B(QString(), 30, 20), randomOfA, B("L"), B(QString(), 30, 25)}
            << QStringList{QStringLiteral("|05.03.2001|30|20|10|2|245"),
                           QStringLiteral("|05.03.2001|30|25|5|2|245")};
        QTest::newRow("none: one empty row and the axis only")
            << Runs{B("L"), randomOfA} << QStringList{QStringLiteral("||||||")};
    }
    void randomRuns_ofTheCurrentFileAreListed()
    {
        QFETCH(Runs, runs);
        QFETCH(QStringList, rows);
        TForm8 form;
        Show(form, WriteStatistics(runs));
        form.RadioButton2->click();
        QVERIFY(!form.ListBox1->isEnabled());
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r) QCOMPARE(Row(form, r), rows[r]);
        form.PageControl1->setCurrentIndex(1);
        const QImage chart = ShownChart(form);
        QVERIFY(chart.pixel(50, 10) == kBlack && chart.pixel(50, 210) == kBlack);
        QCOMPARE(chart.pixel(60, 210) == kBlack, rows.size() > 1);  // horizontal axis
        QCOMPARE(CountPixels(chart, kBlue) > 0, rows.size() > 1);
    }

    void listItem_evaluatesAtOnce_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("click, table") << 0 << false;
        QTest::newRow("click, chart") << 1 << false;
        QTest::newRow("Down, Enter") << 0 << true;
    }
    void listItem_evaluatesAtOnce()
    {
        QFETCH(int, page);
        QFETCH(bool, byKeyboard);
        TForm8 form;
        Show(form, WriteStatistics({B("Y"), B("X"), B("X"), B("X")}));
        ClickLesson(form, "Y");
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        form.PageControl1->setCurrentIndex(page);
        if (byKeyboard) {
            QApplication::setActiveWindow(&form);
            form.ListBox1->setFocus();
            QTest::keyClick(form.ListBox1, Qt::Key_Down);
            QTest::keyClick(form.ListBox1, Qt::Key_Return);
        } else {
            ClickLesson(form, "X");
        }
        if (page == 0) {
            QTRY_COMPARE(form.StringGrid1->rowCount(), 3);
            QCOMPARE(Row(form, 0).left(2), QStringLiteral("X|"));
        } else {
            // Three runs: blue and lime curves of three markers and two lines each.
            const QImage chart = ShownChart(form);
            QCOMPARE(chart.pixel(90, 70), kBlue);
            QCOMPARE(chart.pixel(70, 30), kKnownOrDeletedColour.rgb());
            QCOMPARE(chart.pixel(90, 215), kBlack);
        }
        QVERIFY(platform.messages.isEmpty());
    }

    void unusableFile_isReportedAndShowsNoRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // null: no file
        QTest::addColumn<QString>("message");
        const QString damaged = QStringLiteral("Statistikdatei fehlerhaft oder leer!");
        const QByteArray record = EncodeStatisticsRecord(B("")).value();
        QTest::newRow("missing") << QByteArray() << "Statistikdatei nicht vorhanden!";
        QTest::newRow("0 bytes") << QByteArray("") << damaged;
        QTest::newRow("200 bytes") << record + QByteArray(7, ' ') << damaged;
        QTest::newRow("two records less one byte") << record + record.left(192) << damaged;
    }
    void unusableFile_isReportedAndShowsNoRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
        if (!bytes.isNull())
            QVERIFY(WriteBytes(path, bytes));
        TForm8 form;
        Show(form, path);
        VerifyOneError(message);
        QVERIFY(form.isVisible());
        QCOMPARE(form.ListBox1->count(), 0);

        form.RadioButton2->click();
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        QCOMPARE(Row(form, 0), QStringLiteral("||||||"));
        QCOMPARE(platform.messages.size(), 1);  // no second message
        QCOMPARE(ReadBytes(path), bytes);       // only read
    }

    void fileShortenedWhileOpen_endsTheListing()
    {
        const QString stats = WriteStatistics(Runs(3, B("L")));
        TForm8 form;
        Show(form, stats);
        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("L")));

        QVERIFY(QFile::resize(stats, kStatisticsRecordSize + 100));
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        QCOMPARE(Row(form, 0).left(2), QStringLiteral("L|"));
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(CountPixels(ShownChart(form), kBlue), 9);

        QVERIFY(QFile::resize(stats, 0));
        form.PageControl1->setCurrentIndex(0);
        QCOMPARE(Row(form, 0), QStringLiteral("||||||"));
        QVERIFY(platform.messages.isEmpty());
    }

    void thirtyRuns_widenTheChartWhichScrollsCopiesAndStaysWide()
    {
        const QString stats = WriteStatistics(Runs(30, B("")) << B("L"));
        TForm8 form;
        Show(form, stats);
        form.RadioButton2->click();
        form.Button1->click();
        QCOMPARE(form.StringGrid1->height(), 30 * TForm8::kRowHeight);
        QTRY_VERIFY(form.ScrollBox1->verticalScrollBar()->maximum() > 0);
        QCOMPARE(form.ScrollBox1->horizontalScrollBar()->maximum(), 0);
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(ShownChart(form).size(), QSize(650, 236));
        QCOMPARE(ShownChart(form).pixel(630, 210 - 200 * 7 / 10), kBlue);
        QCOMPARE(form.Image1->size(), QSize(650, 236));
        QTRY_COMPARE(form.ScrollBox2->horizontalScrollBar()->maximum(), 100);
        QCOMPARE(form.ScrollBox2->verticalScrollBar()->maximum(), 0);
        // The copy button puts the whole chart on the clipboard.
        QGuiApplication::clipboard()->clear();
        form.Button2->click();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 ShownChart(form));

        // A new showing starts on the text page, keeps the choice and the chart's width.
        QTest::keyClick(&form, Qt::Key_Escape);
        Show(form, stats);
        QVERIFY(form.PageControl1->currentIndex() == 0 && !form.PageControl1->isEnabled());
        QVERIFY(form.StringGrid1->isHidden() && form.HeaderControl1->isHidden());
        QVERIFY(form.RadioButton2->isChecked() && !form.ListBox1->isEnabled());
        form.RadioButton1->click();
        ClickLesson(form, "L");
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(ShownChart(form).width(), 650);
    }

    void headerResize_fitsTheGrid_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("width");
        QTest::newRow("wider") << 0 << 150 << 150;
        QTest::newRow("Lektion below its minimum") << 0 << 80 << 100;
        QTest::newRow("Datum below its minimum") << 1 << 20 << 70;
    }
    void headerResize_fitsTheGrid()
    {
        QFETCH(int, section);
        QFETCH(int, requested);
        TForm8 form;
        Show(form, WriteStatistics({B("L")}));
        ClickLesson(form, "L");
        QHeaderView* header = form.HeaderControl1;
        header->resizeSection(section, requested);
        QTEST(header->sectionSize(section), "width");
        int sum = 0;
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(form.StringGrid1->columnWidth(c), header->sectionSize(c));
            sum += header->sectionSize(c);
        }
        QCOMPARE(form.StringGrid1->width(), sum);
        QCOMPARE(header->width(), sum);
        // "Zeit" fills what the others leave, but keeps 70 pixels.
        QVERIFY(header->sectionSize(6) >= 70);
        QVERIFY(sum >= form.ScrollBox1->viewport()->width());
    }
};

LK_TEST_MAIN(StatistikTest)
#include "StatistikTest.moc"
