#include "app/AnsiText.h"
#include "learn/StatisticsChart.h"
#include "learn/Statistik.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString WriteStatistics(const QList<RunResult>& runs)
{
    QByteArray bytes;
    for (const RunResult& run : runs) bytes += EncodeStatisticsRecord(run).value();
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    WriteBytes(path, bytes);
    return path;
}

QString Vocabulary(const QString& name)
{
    // Another directory than the one in the records: only the name counts.
    return NewTestDirectory() + QLatin1Char('/') + name;
}

void Show(TForm8& form, const QString& statistics,
          const QString& vocabulary = Vocabulary(QStringLiteral("b.vok")))
{
    form.statisticsPath = statistics;
    form.vocabularyPath = vocabulary;
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
    for (int i = 0; i < form.ListBox1->count(); ++i)
        if (TrimBlanks(form.ListBox1->item(i)->text()) == lesson)
            return form.ListBox1->item(i);
    return nullptr;
}

void ClickLesson(TForm8& form, const QString& lesson)
{
    QListWidgetItem* item = Lesson(form, lesson);
    QVERIFY(item);
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {},
                      form.ListBox1->visualItemRect(item).center());
}

QStringList Row(const TForm8& form, int r)
{
    QStringList cells;
    for (int c = 0; c < form.StringGrid1->columnCount(); ++c) {
        const QTableWidgetItem* item = form.StringGrid1->item(r, c);
        cells << (item ? TrimBlanks(item->text()) : QString());
    }
    return cells;
}

int CountPixels(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour.rgb();
    return n;
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

private Q_SLOTS:
    void init()
    {
        platform.clear();
        platform.programDir = NewTestDirectory();
    }

    void lessonList_holdsTheLessonRunsOfTheCurrentFileOnly()
    {
        const QString stats = WriteStatistics(
            {Run(QStringLiteral("a.vok"), QStringLiteral("A1")), B(QStringLiteral("B1")),
             Run(QStringLiteral("a.vok"), QStringLiteral("Nur in a")),
             B(QString()),  // random run: no lesson
             B(QStringLiteral("B2")), B(QStringLiteral("B1")),
             Run(QStringLiteral("B.vok"), QStringLiteral("Großes B"))});
        TForm8 form;
        Show(form, stats);
        QCOMPARE(Lessons(form), (QStringList{QStringLiteral("B1"), QStringLiteral("B2")}));
        QVERIFY(platform.messages.isEmpty());
    }

    void lessonList_findsRunsOfANameStoredChanged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("longer than the field")
            << QString(81, QLatin1Char('n')) + QStringLiteral(".vok");
        QTest::newRow("outside Windows-1252")
            << QStringLiteral("\u0441\u043b\u043e\u0432\u0430.vok");
    }
    void lessonList_findsRunsOfANameStoredChanged()
    {
        QFETCH(QString, name);
        const QString stats = WriteStatistics({Run(name, QStringLiteral("Lang"))});
        TForm8 form;
        Show(form, stats, Vocabulary(name));
        QCOMPARE(Lessons(form), QStringList{QStringLiteral("Lang")});
    }

    void lessonRuns_areListedInRecordOrderWithTheirDates()
    {
        const QString stats = WriteStatistics({B(QStringLiteral("1"), 12, 9, 1, QDate(2001, 3, 5)),
                                               B(QStringLiteral("2")),
                                               Run(QStringLiteral("a.vok"), QStringLiteral("1")),
                                               B(QStringLiteral("1"), 8, 8, 0, QDate(2001, 3, 7))});
        TForm8 form;
        Show(form, stats);
        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("1")));
        form.Button1->click();

        QVERIFY(form.PageControl1->isEnabled());
        QVERIFY(form.StringGrid1->isVisible());
        QVERIFY(form.HeaderControl1->isVisible());
        QCOMPARE(form.StringGrid1->rowCount(), 2);
        QCOMPARE(Row(form, 0),
                 (QStringList{QStringLiteral("1"), QStringLiteral("05.03.2001"),
                              QStringLiteral("12"), QStringLiteral("9"), QStringLiteral("3"),
                              QStringLiteral("1"), QStringLiteral("245")}));
        QCOMPARE(Row(form, 1),
                 (QStringList{QStringLiteral("1"), QStringLiteral("07.03.2001"),
                              QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("0"),
                              QStringLiteral("0"), QStringLiteral("245")}));
        QCOMPARE(form.StringGrid1->height(), 2 * TForm8::kRowHeight);
    }

    void randomRuns_ofTheCurrentFileAreListed()
    {
        const QString stats =
            WriteStatistics({B(QString(), 30, 20), Run(QStringLiteral("a.vok"), QString()),
                             B(QStringLiteral("L")), B(QString(), 30, 25)});
        TForm8 form;
        Show(form, stats);
        form.RadioButton2->click();
        QVERIFY(!form.ListBox1->isEnabled());
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), 2);
        QCOMPARE(Row(form, 0).at(3), QStringLiteral("20"));
        QCOMPARE(Row(form, 1).at(3), QStringLiteral("25"));
        QCOMPARE(Row(form, 1).at(0), QString());
    }

    void randomWithoutRandomRuns_showsOneEmptyRowAndTheAxisOnly()
    {
        const QString stats =
            WriteStatistics({B(QStringLiteral("L")), Run(QStringLiteral("a.vok"), QString())});
        TForm8 form;
        Show(form, stats);
        form.RadioButton2->click();
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        QCOMPARE(Row(form, 0), QStringList(7, QString()));

        form.PageControl1->setCurrentIndex(1);
        const QImage chart = ShownChart(form);
        QCOMPARE(chart.pixel(50, 10), qRgb(0, 0, 0));
        QCOMPARE(chart.pixel(50, 210), qRgb(0, 0, 0));
        QCOMPARE(chart.pixel(60, 210), qRgb(255, 255, 255));
        QCOMPARE(CountPixels(chart, kKnownColour), 0);
        QCOMPARE(CountPixels(chart, kKnownOrDeletedColour), 0);
    }

    void clickOnALesson_evaluatesAtOnce_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("table") << 0;
        QTest::newRow("chart") << 1;
    }
    void clickOnALesson_evaluatesAtOnce()
    {
        QFETCH(int, page);
        const QString stats = WriteStatistics({B(QStringLiteral("X")), B(QStringLiteral("Y")),
                                               B(QStringLiteral("X")), B(QStringLiteral("X"))});
        TForm8 form;
        Show(form, stats);
        ClickLesson(form, QStringLiteral("Y"));
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        form.PageControl1->setCurrentIndex(page);

        ClickLesson(form, QStringLiteral("X"));
        QCOMPARE(TrimBlanks(form.selectedStatisticsLesson()), QStringLiteral("X"));
        if (page == 0) {
            QCOMPARE(form.StringGrid1->rowCount(), 3);
        } else {
            // Three runs: blue and lime curves of three markers and two lines each.
            const QImage chart = ShownChart(form);
            QCOMPARE(chart.pixel(90, 70), kKnownColour.rgb());
            QCOMPARE(chart.pixel(70, 30), kKnownOrDeletedColour.rgb());
            QCOMPARE(chart.pixel(90, 215), qRgb(0, 0, 0));
        }
        QVERIFY(platform.messages.isEmpty());
    }

    void keyboard_selectAndEnterEvaluates()
    {
        const QString stats = WriteStatistics({B(QStringLiteral("J")), B(QStringLiteral("K"))});
        TForm8 form;
        Show(form, stats);
        QApplication::setActiveWindow(&form);
        form.ListBox1->setFocus();
        form.ListBox1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::keyClick(form.ListBox1, Qt::Key_Down);
        QTest::keyClick(form.ListBox1, Qt::Key_Return);
        QTRY_VERIFY(form.PageControl1->isEnabled());
        QCOMPARE(Row(form, 0).at(0), QStringLiteral("K"));
        QVERIFY(platform.messages.isEmpty());
    }

    void noLessonSelected_isReported()
    {
        const QString stats = WriteStatistics({B(QStringLiteral("K"))});
        TForm8 form;
        Show(form, stats);
        form.Button1->click();
        QCOMPARE(platform.messages.size(), 1);
        const FakePlatform::Message& message = platform.messages.first();
        QCOMPARE(message.text, QStringLiteral("Keine Lektion ausgewählt!"));
        QCOMPARE(message.caption, QStringLiteral("Fehler"));
        QCOMPARE(message.buttons, MsgButtons::Ok);
        QCOMPARE(message.icon, MsgIcon::None);
        QVERIFY(!form.PageControl1->isEnabled());
        QVERIFY(form.StringGrid1->isHidden());
    }

    void unusableFile_isReportedAndShowsNoRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message");
        const QString damaged = QStringLiteral("Statistikdatei fehlerhaft oder leer!");
        const QByteArray record = EncodeStatisticsRecord(B({})).value();
        QTest::newRow("missing") << QByteArray() << false
                                 << QStringLiteral("Statistikdatei nicht vorhanden!");
        QTest::newRow("0 bytes") << QByteArray() << true << damaged;
        QTest::newRow("200 bytes") << record + QByteArray(7, ' ') << true << damaged;
        QTest::newRow("two records less one byte") << record + record.left(192) << true << damaged;
    }
    void unusableFile_isReportedAndShowsNoRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QFETCH(QString, message);
        const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
        if (exists)
            QVERIFY(WriteBytes(path, bytes));
        TForm8 form;
        Show(form, path);
        QCOMPARE(platform.messageTexts(), QStringList{message});
        QCOMPARE(platform.messages.first().caption, QStringLiteral("Fehler"));
        QCOMPARE(platform.messages.first().icon, MsgIcon::None);
        QVERIFY(form.isVisible());
        QCOMPARE(form.ListBox1->count(), 0);

        form.RadioButton2->click();
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        QCOMPARE(Row(form, 0), QStringList(7, QString()));
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(ReadBytes(path), bytes);  // only read
    }

    void fileShortenedWhileOpen_endsTheListing()
    {
        const QString stats = WriteStatistics(
            {B(QStringLiteral("L")), B(QStringLiteral("L")), B(QStringLiteral("L"))});
        TForm8 form;
        Show(form, stats);
        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("L")));

        QVERIFY(QFile::resize(stats, kStatisticsRecordSize + 100));
        form.Button1->click();
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        QCOMPARE(Row(form, 0).at(0), QStringLiteral("L"));
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(CountPixels(ShownChart(form), kKnownColour), 9);

        QVERIFY(QFile::resize(stats, 0));
        form.PageControl1->setCurrentIndex(0);
        QCOMPARE(form.StringGrid1->rowCount(), 1);
        QCOMPARE(Row(form, 0), QStringList(7, QString()));
        QVERIFY(platform.messages.isEmpty());
    }

    void pageChange_withLessonKeepsTheLessonLastEvaluated()
    {
        const QString stats = WriteStatistics(
            {B(QStringLiteral("A")), B(QStringLiteral("B")), B(QStringLiteral("B"))});
        TForm8 form;
        Show(form, stats);
        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("A")));
        form.Button1->click();
        form.ListBox1->setCurrentItem(Lesson(form, QStringLiteral("B")));
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(CountPixels(ShownChart(form), kKnownColour), 9);  // A's one run
        QCOMPARE(TrimBlanks(form.selectedStatisticsLesson()), QStringLiteral("A"));
    }

    void thirtyRuns_widenTheChartWhichScrollsAndStaysWide()
    {
        const QString stats = WriteStatistics(QList<RunResult>(30, B(QString())) +
                                              QList<RunResult>{B(QStringLiteral("L"))});
        TForm8 form;
        Show(form, stats);
        form.RadioButton2->click();
        form.Button1->click();
        QCOMPARE(form.StringGrid1->height(), 30 * TForm8::kRowHeight);
        QTRY_VERIFY(form.ScrollBox1->verticalScrollBar()->maximum() > 0);
        QCOMPARE(form.ScrollBox1->horizontalScrollBar()->maximum(), 0);

        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(form.chartImage().size(), QSize(650, 236));
        QCOMPARE(form.Image1->size(), QSize(650, 236));
        QTRY_COMPARE(form.ScrollBox2->horizontalScrollBar()->maximum(), 100);
        QCOMPARE(form.ScrollBox2->verticalScrollBar()->maximum(), 0);

        // A new showing starts on the text page, keeps the choice and the chart's width.
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        Show(form, stats);
        QCOMPARE(form.PageControl1->currentIndex(), 0);
        QVERIFY(!form.PageControl1->isEnabled());
        QVERIFY(form.StringGrid1->isHidden() && form.HeaderControl1->isHidden());
        QVERIFY(form.RadioButton2->isChecked() && !form.ListBox1->isEnabled());
        QCOMPARE(Lessons(form), QStringList{QStringLiteral("L")});
        form.RadioButton1->click();
        ClickLesson(form, QStringLiteral("L"));
        form.PageControl1->setCurrentIndex(1);
        QCOMPARE(form.chartImage().width(), 650);
    }

    void closing_closesTheStatisticsFile()
    {
        if (!QFileInfo::exists(QStringLiteral("/proc/self/fd")))
            QSKIP("needs /proc to see open files");
        const QString stats = WriteStatistics({B(QStringLiteral("L"))});
        const auto isOpen = [&] {
            const QString target = QFileInfo(stats).canonicalFilePath();
            for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd"))
                                           .entryInfoList(QDir::AllEntries | QDir::System))
                if (fd.symLinkTarget() == target)
                    return true;
            return false;
        };
        TForm8 form;
        Show(form, stats);
        QVERIFY(isOpen());
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!isOpen());
        Show(form, stats);
        QVERIFY(isOpen());
        form.close();
        QVERIFY(!isOpen());
    }

    void copyButton_putsTheChartOnTheClipboard()
    {
        const QString stats = WriteStatistics({B(QStringLiteral("L"))});
        TForm8 form;
        Show(form, stats);
        ClickLesson(form, QStringLiteral("L"));
        form.PageControl1->setCurrentIndex(1);
        QGuiApplication::clipboard()->clear();
        form.Button2->click();
        const QImage copied =
            QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied.size(), QSize(550, 236));
        QCOMPARE(copied.pixel(50, 70), kKnownColour.rgb());
        QCOMPARE(copied.pixel(50, 30), kKnownOrDeletedColour.rgb());
        QCOMPARE(copied, ShownChart(form));
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
        QFETCH(int, width);
        const QString stats = WriteStatistics({B(QStringLiteral("L"))});
        TForm8 form;
        Show(form, stats);
        ClickLesson(form, QStringLiteral("L"));
        form.HeaderControl1->resizeSection(section, requested);
        QCOMPARE(form.HeaderControl1->sectionSize(section), width);
        int sum = 0;
        for (int c = 0; c < 7; ++c) {
            QCOMPARE(form.StringGrid1->columnWidth(c), form.HeaderControl1->sectionSize(c));
            sum += form.HeaderControl1->sectionSize(c);
        }
        QCOMPARE(form.StringGrid1->width(), sum);
        QCOMPARE(form.HeaderControl1->width(), sum);
        // "Zeit" fills what the others leave, but keeps 70 pixels.
        QVERIFY(form.HeaderControl1->sectionSize(6) >= 70);
        QVERIFY(sum >= form.ScrollBox1->viewport()->width());
    }
};

LK_TEST_MAIN(StatistikTest)
#include "StatistikTest.moc"
