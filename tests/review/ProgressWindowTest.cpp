#include "review/ProgressWindow.h"

#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>

namespace {

const QDateTime kNow(QDate(2001, 3, 5), QTime(19, 0));  // a Monday

QString Name(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// 3 of 5 cards reviewed right on three days in a row, due in 12 days; one of them also
// in the other direction, wrong today.
ProgressWindow* LoadedWindow(ReviewStore& store)
{
    store.open(NewTestDirectory() + QStringLiteral("/Wiederholungen.sqlite"));
    QList<CardKey> keys;
    for (int i = 1; i <= 5; ++i)
        keys << CardKey{QStringLiteral("Haus%1").arg(i), QStringLiteral("house%1").arg(i)};
    for (int ago = 2; ago >= 0; --ago)
        for (int i = 0; i < 3; ++i) store.record(keys.at(i), Direction::GermanToForeign,
                                                 Rating::Good, kNow.addDays(-ago));
    store.record(keys.at(0), Direction::ForeignToGerman, Rating::Again, kNow);
    auto* window = new ProgressWindow;
    if (!window->load(store, QStringLiteral("/home/anna/englisch.vok"), keys, kNow))
        qFatal("store failed");
    return window;
}

}  // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every figure is a label whose text is what a screen reader reads; its caption is
    // the description.
    void figuresReadAloud()
    {
        ReviewStore store;
        std::unique_ptr<ProgressWindow> window(LoadedWindow(store));
        QCOMPARE(window->windowTitle(), QStringLiteral("Lernstand"));
        QCOMPARE(window->FileLabel->text(), QStringLiteral("englisch.vok"));
        const int expected[2][4] = {{2, 0, 0, 3}, {4, 0, 1, 1}};
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r < 4; ++r) {
                QLabel* label = window->FigureLabels[r][c];
                QCOMPARE(label->text(), QString::number(expected[c][r]));
                QCOMPARE(Name(label), label->text());
                QVERIFY(!label->accessibleDescription().isEmpty());
            }
        QCOMPARE(window->FigureLabels[1][1]->accessibleDescription(),
                 QStringLiteral("Heute fällig, Fremdsprache -> Deutsch"));
        QCOMPARE(window->ForecastTotalLabel->text(),
                 QStringLiteral("In den nächsten 30 Tagen fällig: 4 Vokabeln"));
        QCOMPARE(window->CalendarTotalLabel->text(),
                 QStringLiteral("Im letzten Jahr: 10 Wiederholungen an 3 Tagen"));
        QCOMPARE(window->StreakLabel->text(), QStringLiteral("Tage in Folge gelernt: 3"));
        for (QLabel* label : {window->ForecastDayLabel, window->CalendarDayLabel,
                              window->StreakLabel, window->ForecastTotalLabel})
            QCOMPARE(Name(label), label->text());
    }

    // The charts are walked by keyboard; the chosen day is read out.
    void keyboard_data()
    {
        QTest::addColumn<bool>("calendar");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("forecast starts today")
            << false << QList<int>() << QStringLiteral("Heute: 0 Vokabeln fällig");
        QTest::newRow("forecast, tomorrow")
            << false << QList<int>{Qt::Key_Right} << QStringLiteral("Morgen: 1 Vokabel fällig");
        QTest::newRow("forecast, in twelve days")
            << false << QList<int>{Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                   Qt::Key_Right, Qt::Key_Right}
            << QStringLiteral("Samstag, 17.03.2001: 3 Vokabeln fällig");
        QTest::newRow("forecast, not before today")
            << false << QList<int>{Qt::Key_Left} << QStringLiteral("Heute: 0 Vokabeln fällig");
        QTest::newRow("calendar starts today")
            << true << QList<int>() << QStringLiteral("Montag, 05.03.2001: 4 Wiederholungen");
        QTest::newRow("calendar, up a day")
            << true << QList<int>{Qt::Key_Up}
            << QStringLiteral("Sonntag, 04.03.2001: 3 Wiederholungen");
        QTest::newRow("calendar, a week back")
            << true << QList<int>{Qt::Key_Left}
            << QStringLiteral("Montag, 26.02.2001: keine Wiederholung");
    }
    void keyboard()
    {
        QFETCH(bool, calendar);
        QFETCH(QList<int>, keys);
        QFETCH(QString, text);
        ReviewStore store;
        std::unique_ptr<ProgressWindow> window(LoadedWindow(store));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (calendar)
            QTest::keyClick(window.get(), Qt::Key_W, Qt::AltModifier);  // its caption's buddy
        DayChart* chart = calendar ? static_cast<DayChart*>(window->Calendar) : window->Forecast;
        QTRY_VERIFY(chart->hasFocus());
        for (const int key : keys) QTest::keyClick(chart, Qt::Key(key));
        QCOMPARE((calendar ? window->CalendarDayLabel : window->ForecastDayLabel)->text(), text);
        QCOMPARE(chart->accessibleDescription(), text);
        QVERIFY(!Name(chart).isEmpty());
    }

    void copyCharts()
    {
        ReviewStore store;
        std::unique_ptr<ProgressWindow> window(LoadedWindow(store));
        for (auto [button, chart] : {std::pair{window->CopyForecastButton,
                                               static_cast<DayChart*>(window->Forecast)},
                                     std::pair{window->CopyCalendarButton,
                                               static_cast<DayChart*>(window->Calendar)}}) {
            QGuiApplication::clipboard()->clear();
            button->click();
            const QImage copied = QGuiApplication::clipboard()->image();
            QCOMPARE(copied.size(), chart->sizeHint());
            QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), chart->picture());
        }
    }
};

LK_TEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
