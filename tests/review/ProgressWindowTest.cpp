#include "review/ProgressWindow.h"

#include "support/TestSupport.h"

#include <QAccessible>
#include <QClipboard>

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
        for (int i = 0; i < 3; ++i)
            store.record(keys.at(i), Direction::GermanToForeign, Rating::Good, kNow.addDays(-ago));
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
        // The charts go to the clipboard as pictures.
        const DayChart* charts[] = {window->Forecast, window->Calendar};
        for (QPushButton* button : {window->CopyForecastButton, window->CopyCalendarButton}) {
            button->click();
            const DayChart* chart = charts[button == window->CopyCalendarButton];
            QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                     chart->picture());
        }
    }

    // The charts are walked by keyboard; the chosen day is read out.
    void keyboard()
    {
        ReviewStore store;
        std::unique_ptr<ProgressWindow> window(LoadedWindow(store));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const struct {
            int key;
            QLabel* label;
            const char* text;
        } steps[] = {
            {Qt::Key_Left, window->ForecastDayLabel, "Heute: 0 Vokabeln fällig"},
            {Qt::Key_Right, window->ForecastDayLabel, "Morgen: 1 Vokabel fällig"},
            {Qt::Key_W, window->CalendarDayLabel, "Montag, 05.03.2001: 4 Wiederholungen"},
            {Qt::Key_Up, window->CalendarDayLabel, "Sonntag, 04.03.2001: 3 Wiederholungen"},
            {Qt::Key_Left, window->CalendarDayLabel, "Sonntag, 25.02.2001: keine Wiederholung"},
        };
        for (const auto& step : steps) {
            // Alt+W: the calendar's caption gives it the focus.
            QWidget* focused = QApplication::focusWidget();
            QTest::keyClick(focused, Qt::Key(step.key),
                            step.key == Qt::Key_W ? Qt::AltModifier : Qt::NoModifier);
            QTRY_COMPARE(step.label->text(), QString::fromUtf8(step.text));
            QCOMPARE(QApplication::focusWidget()->accessibleDescription(), step.label->text());
        }
    }
};

LK_TEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
