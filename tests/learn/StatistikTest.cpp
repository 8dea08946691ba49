#include "learn/StatisticsChart.h"
#include "learn/Statistik.h"
#include "support/VocabTests.h"

#include <QClipboard>
#include <QRadioButton>
#include <QTabWidget>

namespace {

using Runs = QList<RunResult>;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = kKnownColour.rgb();

// A run of the file the window is shown for, unless another file is named.
RunResult B(const char* lesson, int total = 10, int known = 7, int day = 5,
            const char* file = "b.vok")
{
    const QString path = QStringLiteral("/daten/") + QString::fromUtf8(file);
    return {path, QString::fromUtf8(lesson), total, known, total - known, 1, 245, {2001, 3, day}};
}

QString WriteStatistics(const Runs& runs)
{
    QByteArray bytes;
    for (const RunResult& run : runs)
        bytes += EncodeStatisticsRecord(run).value();
    const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
    WriteBytes(path, bytes);
    return path;
}

// The vocabulary file lives in another directory than the records say: only its name counts.
void Show(TForm8& form, const QString& statistics)
{
    form.statisticsPath = statistics;
    form.vocabularyPath = NewTestDirectory() + QStringLiteral("/b.vok");
    form.show();
}

QString Rows(const TForm8& form)
{
    return GridTexts(form.StringGrid1, true);
}

QImage ShownChart(const TForm8& form)
{
    return form.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class StatistikTest : public QObject {
    Q_OBJECT

    FakePlatform platform;

private Q_SLOTS:
    void init() { platform.clear(); }

    void evaluate_data()
    {
        // choice: row of the lesson list, -1 "&Zufall"; knownY: of the first run's marker, 0
        // no curve; cutTo: the file's size after showing, -1 kept; width: of the chart
        DataColumns<Runs, QString, int, QString, int, int, int>("runs", "lessons", "choice", "rows",
                                                                "knownY", "cutTo", "width");
        QTest::newRow("two files, one lesson's runs in record order")
            << Runs{B("2"), B("1", 12, 9),   B("1", 10, 7, 5, "a.vok"), B("A1", 10, 7, 5, "a.vok"),
                    B(""),  B("1", 8, 8, 7), B("C", 10, 7, 5, "B.vok")}
            << "2|1" << 1 << "1,05.03.2001,12,9,3,1,245|1,07.03.2001,8,8,0,1,245" << 60 << -1
            << 550;
        QTest::newRow("no random run: one empty row, the vertical axis only")
            << Runs{B("L"), B("", 10, 7, 5, "a.vok")} << "L" << -1 << ",,,,,," << 0 << -1 << 550;
        QTest::newRow("file shortened while open: the listing ends")
            << Runs(3, B("L")) << "L" << 0 << "L,05.03.2001,10,7,3,1,245" << 70
            << kStatisticsRecordSize + 100 << 550;
        QTest::newRow("30 random runs of this file widen the chart")
            << (Runs(30, B("")) << B("", 10, 7, 5, "a.vok") << B("L")) << "L" << -1
            << QStringList(30, QStringLiteral(",05.03.2001,10,7,3,1,245")).join(u'|') << 70 << -1
            << 650;
    }
    void evaluate()
    {
        const auto [runs, choice, knownY, cutTo] =
            DataRow<Runs, int, int, int>("runs", "choice", "knownY", "cutTo");
        const QString path = WriteStatistics(runs);
        TForm8 form;
        Show(form, path);
        QTEST(ListTexts(form.ListBox1, true).join(u'|'), "lessons");
        if (cutTo >= 0)
            QVERIFY(QFile::resize(path, cutTo));
        if (choice < 0)
            form.RadioButton2->click();
        form.ListBox1->setCurrentRow(choice);
        form.Button1->click();
        QTEST(Rows(form), "rows");
        // A stored lesson ends in blanks: drawn as it stands, the same as without them,
        // never cut with "…".
        if (QTableWidgetItem* lesson = form.StringGrid1->item(0, 0); lesson) {
            const QRect cell = form.StringGrid1->visualItemRect(lesson);
            const QImage asStored = form.StringGrid1->viewport()->grab(cell).toImage();
            lesson->setText(lesson->text().trimmed());
            QCOMPARE(form.StringGrid1->viewport()->grab(cell).toImage(), asStored);
        }

        // Selected but not evaluated: the chart still shows the evaluated runs.
        form.ListBox1->setCurrentRow(0);
        form.PageControl1->setCurrentIndex(1);
        const QImage chart = ShownChart(form);
        QTEST(form.Image1->width(), "width");
        QCOMPARE(chart.pixel(50, 10), kBlack);
        if (knownY)
            QCOMPARE(chart.pixel(50, knownY), kBlue);
        else
            QCOMPARE(CountPixels(chart, kBlue), 0);
        QGuiApplication::clipboard()->clear();
        form.Button2->click();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 chart);
        QVERIFY(platform.messages.isEmpty());
    }

    // "&Anzeigen" without a lesson, then with "&Zufall"; the file is only read.
    void messages_data()
    {
        DataColumns<QByteArray, QStringList>("bytes", "messages");  // bytes null: no file
        const QString none = QStringLiteral("Keine Lektion ausgewählt!");
        const QString damaged = QStringLiteral("Statistikdatei fehlerhaft oder leer!");
        QTest::newRow("no lesson selected")
            << EncodeStatisticsRecord(B("L")).value() << QStringList{none};
        const QString missing = QStringLiteral("Statistikdatei nicht vorhanden!");
        QTest::newRow("missing") << QByteArray() << QStringList{missing, none};
        QTest::newRow("0 bytes") << QByteArray("") << QStringList{damaged, none};
        QTest::newRow("200 bytes") << QByteArray(200, ' ') << QStringList{damaged, none};
    }
    void messages()
    {
        const auto [bytes] = DataRow<QByteArray>("bytes");
        const QString path = NewTestDirectory() + QStringLiteral("/Lernkompass.dat");
        if (!bytes.isNull())
            QVERIFY(WriteBytes(path, bytes));
        TForm8 form;
        Show(form, path);
        form.Button1->click();
        QVERIFY(form.StringGrid1->isHidden() && !form.PageControl1->isEnabled());
        form.RadioButton2->click();
        form.Button1->click();
        QCOMPARE(Rows(form), QStringLiteral(",,,,,,"));
        QTEST(platform.messageTexts(), "messages");
        for (const auto& message : platform.messages)
            QCOMPARE(message.caption, QStringLiteral("Fehler"));
        QCOMPARE(ReadBytes(path), bytes);
    }

    // A click on a lesson evaluates it at once, on either page.
    void listItem_evaluatesAtOnce()
    {
        TForm8 form;
        Show(form, WriteStatistics({B("Y"), B("X"), B("X"), B("X")}));
        QListWidget* list = form.ListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(Rows(form).count(u'X'), 3);
        form.PageControl1->setCurrentIndex(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(CountPixels(ShownChart(form), kBlue), 9);  // the one run of Y
        QVERIFY(platform.messages.isEmpty());
    }
};

LK_TEST_MAIN(StatistikTest)
#include "StatistikTest.moc"
