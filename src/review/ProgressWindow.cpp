#include "ProgressWindow.h"

#include "app/FileNames.h"
#include "app/Widgets.h"

#include <QAccessible>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QLocale& German()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

QString Count(int n, const char* one, const char* many)
{
    return German().toString(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

QString DayName(qint64 day)
{
    return German().toString(LearningDate(day), QStringLiteral("dddd, dd.MM.yyyy"));
}

void DrawTextAt(QPainter& painter, int left, int top, const QString& text)
{
    painter.drawText(QPoint(left, top + painter.fontMetrics().ascent()), text);
}

// Forecast layout: bars of 14 pixels, 4 apart, above a line with a date every week.
constexpr int kBarLeft = 44;
constexpr int kBarTop = 12;
constexpr int kBarHeight = 120;
constexpr int kBarStep = 18;
constexpr int kBarWidth = 14;
const QColor kBarColour(40, 90, 200);

// Calendar layout: squares of 11 pixels, 2 apart; month names above, weekdays on the left.
constexpr int kCellLeft = 30;
constexpr int kCellTop = 20;
constexpr int kCellStep = 13;
constexpr int kCellSize = 11;

QColor CellColour(int reviews, int most)
{
    if (reviews <= 0)
        return QColor(228, 230, 234);
    static const QColor levels[] = {{155, 220, 168}, {84, 180, 110}, {40, 140, 70}, {20, 90, 45}};
    const int level = std::min(3, (reviews * 4 - 1) / std::max(1, most));
    return levels[level];
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    return label;
}

// A label that shows a value: its text is what a screen reader reads, the caption goes
// into the description.
QLabel* Value(const QString& objectName, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAccessibleDescription(caption);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

DayChart::DayChart(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DayChart::select(int index)
{
    if (values_.isEmpty())
        return;
    selected_ = std::clamp(index, 0, count() - 1);
    const QString text = describe(selected_);
    setAccessibleDescription(text);
    update();
    Q_EMIT selectionChanged(text);
}

QImage DayChart::picture() const
{
    QImage image(chartSize(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setFont(font());
    paintChart(painter, -1);
    return image;
}

void DayChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintChart(painter, selected_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void DayChart::keyPressEvent(QKeyEvent* event)
{
    int to = selected_;
    switch (event->key()) {
        case Qt::Key_Left: to -= horizontalStep(); break;
        case Qt::Key_Right: to += horizontalStep(); break;
        case Qt::Key_Up: to -= verticalStep(); break;
        case Qt::Key_Down: to += verticalStep(); break;
        case Qt::Key_PageUp: to -= 7 * horizontalStep(); break;
        case Qt::Key_PageDown: to += 7 * horizontalStep(); break;
        case Qt::Key_Home: to = 0; break;
        case Qt::Key_End: to = count() - 1; break;
        default: QWidget::keyPressEvent(event); return;
    }
    // A step beyond either end stays on the day it would leave.
    if (to >= 0 && to < count())
        select(to);
}

void DayChart::mousePressEvent(QMouseEvent* event)
{
    const int day = dayAt(event->position().toPoint());
    if (day >= 0 && day < count())
        select(day);
    QWidget::mousePressEvent(event);
}

void DayChart::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void DayChart::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ForecastChart::setForecast(const QList<int>& forecast, qint64 today)
{
    values_ = forecast;
    firstDay_ = today;
    setMinimumSize(chartSize());
    select(0);
}

QString ForecastChart::describe(int index) const
{
    const QString day = index == 0   ? QStringLiteral("Heute")
                        : index == 1 ? QStringLiteral("Morgen")
                                     : DayName(firstDay_ + index);
    return day + QStringLiteral(": ") +
           Count(values_.value(index), "Vokabel fällig", "Vokabeln fällig");
}

QSize ForecastChart::chartSize() const
{
    return {kBarLeft + kBarStep * int(ProgressFigures::kForecastDays) + 12,
            kBarTop + kBarHeight + 30};
}

void ForecastChart::paintChart(QPainter& painter, int selected) const
{
    const QSize size = chartSize();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setPen(Qt::black);
    const int most =
        std::max(1, values_.isEmpty() ? 0 : *std::max_element(values_.begin(), values_.end()));
    const int bottom = kBarTop + kBarHeight;
    const QFontMetrics metrics = painter.fontMetrics();
    for (const int value : {0, most}) {
        const int y = bottom - kBarHeight * value / most;
        const QString label = German().toString(value);
        DrawTextAt(painter, kBarLeft - 6 - metrics.horizontalAdvance(label),
                   y - metrics.height() / 2, label);
        painter.drawLine(kBarLeft - 4, y, kBarLeft, y);
    }
    painter.drawLine(kBarLeft, kBarTop, kBarLeft, bottom);
    painter.drawLine(kBarLeft, bottom, kBarLeft + kBarStep * count(), bottom);
    for (int k = 0; k < count(); ++k) {
        const int x = kBarLeft + 3 + kBarStep * k;
        const int height = kBarHeight * values_.at(k) / most;
        if (height > 0)
            painter.fillRect(x, bottom - height, kBarWidth, height,
                             k == selected ? QColor(230, 120, 20) : kBarColour);
        if (k == selected)
            painter.fillRect(x, bottom + 2, kBarWidth, 3, QColor(230, 120, 20));
        if (k % 7 == 0) {
            const QString label =
                k == 0 ? QStringLiteral("heute")
                       : German().toString(LearningDate(firstDay_ + k), QStringLiteral("dd.MM."));
            DrawTextAt(painter, x + kBarWidth / 2 - metrics.horizontalAdvance(label) / 2,
                       bottom + 8, label);
        }
    }
}

int ForecastChart::dayAt(QPoint point) const
{
    return point.x() < kBarLeft ? -1 : (point.x() - kBarLeft) / kBarStep;
}

void ReviewCalendar::setReviews(const QList<int>& perDay, qint64 firstDay)
{
    values_ = perDay;
    firstDay_ = firstDay;
    setMinimumSize(chartSize());
    select(count() - 1);
}

QString ReviewCalendar::describe(int index) const
{
    const int reviews = values_.value(index);
    return DayName(firstDay_ + index) + QStringLiteral(": ") +
           (reviews == 0 ? QStringLiteral("keine Wiederholung")
                         : Count(reviews, "Wiederholung", "Wiederholungen"));
}

QSize ReviewCalendar::chartSize() const
{
    const int weeks = (count() + 6) / 7;
    return {kCellLeft + kCellStep * std::max(weeks, 53) + 24, kCellTop + kCellStep * 7 + 26};
}

void ReviewCalendar::paintChart(QPainter& painter, int selected) const
{
    const QSize size = chartSize();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    const int most = values_.isEmpty() ? 0 : *std::max_element(values_.begin(), values_.end());
    const char* const weekdays[] = {"Mo", "Mi", "Fr"};
    for (int k = 0; k < 3; ++k)
        DrawTextAt(painter, 2, kCellTop + kCellStep * 2 * k + kCellSize / 2 - metrics.height() / 2,
                   QString::fromLatin1(weekdays[k]));
    for (int i = 0; i < count(); ++i) {
        const int x = kCellLeft + kCellStep * (i / 7);
        const int y = kCellTop + kCellStep * (i % 7);
        const QDate date = LearningDate(firstDay_ + i);
        // The month's name above the first week that begins in it.
        if (i % 7 == 0 && date.day() <= 7)
            DrawTextAt(painter, x, 2,
                       German().standaloneMonthName(date.month(), QLocale::ShortFormat));
        painter.fillRect(x, y, kCellSize, kCellSize, CellColour(values_.at(i), most));
        if (i == selected) {
            painter.setPen(QPen(QColor(230, 120, 20), 2));
            painter.drawRect(x, y, kCellSize, kCellSize);
            painter.setPen(Qt::black);
        }
    }
    // The legend: from none to the most reviews of a day.
    const int legendTop = kCellTop + kCellStep * 7 + 6;
    int x = kCellLeft;
    DrawTextAt(painter, x, legendTop, QStringLiteral("weniger"));
    x += metrics.horizontalAdvance(QStringLiteral("weniger")) + 6;
    for (const int reviews : {0, 1, most / 2, most * 3 / 4, most}) {
        painter.fillRect(x, legendTop + 2, kCellSize, kCellSize,
                         CellColour(reviews == 0 ? 0 : std::max(1, reviews), std::max(1, most)));
        x += kCellStep;
    }
    DrawTextAt(painter, x + 4, legendTop, QStringLiteral("mehr"));
}

int ReviewCalendar::dayAt(QPoint point) const
{
    if (point.x() < kCellLeft || point.y() < kCellTop)
        return -1;
    const int row = (point.y() - kCellTop) / kCellStep;
    return row < 7 ? (point.x() - kCellLeft) / kCellStep * 7 + row : -1;
}

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Lernstand"));

    auto* fileCaption = Caption(QStringLiteral("Datei:"), this);
    FileLabel = Value(QStringLiteral("FileLabel"), QStringLiteral("Datei"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileCaption);
    fileRow->addWidget(FileLabel, 1);

    const QString columns[] = {QStringLiteral("Deutsch -> Fremdsprache"),
                               QStringLiteral("Fremdsprache -> Deutsch")};
    const QString rows[] = {QStringLiteral("Neu (noch nie gelernt):"),
                            QStringLiteral("Heute fällig:"),
                            QStringLiteral("In den nächsten 7 Tagen fällig:"),
                            QStringLiteral("Gut gewusst (heute zu mindestens 90 %):")};
    const char* const names[] = {"New", "DueToday", "DueWeek", "WellKnown"};
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(24);
    for (int c = 0; c < 2; ++c) {
        auto* header = Caption(columns[c], this);
        header->setStyleSheet(QStringLiteral("font-weight: bold"));
        figures->addWidget(header, 0, c + 1, Qt::AlignRight);
    }
    for (int r = 0; r < 4; ++r) {
        figures->addWidget(Caption(rows[r], this), r + 1, 0);
        for (int c = 0; c < 2; ++c) {
            QLabel* value = Value(QString::fromLatin1(names[r]) +
                                      QLatin1String(c == 0 ? "GermanToForeign" : "ForeignToGerman"),
                                  rows[r].chopped(1) + QStringLiteral(", ") + columns[c], this);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            figures->addWidget(value, r + 1, c + 1);
            FigureLabels[r][c] = value;
        }
    }
    figures->setColumnStretch(3, 1);

    auto* forecastCaption =
        Caption(QStringLiteral("&Vorschau: fällige Vokabeln der nächsten 30 Tage"), this);
    Forecast = new ForecastChart(this);
    Forecast->setObjectName(QStringLiteral("Forecast"));
    Forecast->setAccessibleName(QStringLiteral("Vorschau: fällige Vokabeln der nächsten 30 Tage"));
    forecastCaption->setBuddy(Forecast);
    ForecastDayLabel = Value(QStringLiteral("ForecastDayLabel"),
                             QStringLiteral("Gewählter Tag der Vorschau"), this);
    ForecastTotalLabel =
        Value(QStringLiteral("ForecastTotalLabel"), QStringLiteral("Vorschau, alle 30 Tage"), this);
    CopyForecastButton = new QPushButton(QStringLiteral("Vorschau in die &Zwischenablage"), this);
    CopyForecastButton->setObjectName(QStringLiteral("CopyForecastButton"));

    auto* calendarCaption =
        Caption(QStringLiteral("&Wiederholungen pro Tag im letzten Jahr (alle Dateien)"), this);
    Calendar = new ReviewCalendar(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setAccessibleName(
        QStringLiteral("Wiederholungen pro Tag im letzten Jahr (alle Dateien)"));
    calendarCaption->setBuddy(Calendar);
    CalendarDayLabel = Value(QStringLiteral("CalendarDayLabel"),
                             QStringLiteral("Gewählter Tag des Kalenders"), this);
    CalendarTotalLabel = Value(QStringLiteral("CalendarTotalLabel"),
                               QStringLiteral("Kalender, das ganze Jahr"), this);
    StreakLabel = Value(QStringLiteral("StreakLabel"), QStringLiteral("Lernserie"), this);
    CopyCalendarButton = new QPushButton(QStringLiteral("&Kalender in die Zwischenablage"), this);
    CopyCalendarButton->setObjectName(QStringLiteral("CopyCalendarButton"));
    CloseButton = new QPushButton(QStringLiteral("&Schließen"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);
    for (QPushButton* button : {CopyForecastButton, CopyCalendarButton})
        button->setAutoDefault(false);

    auto* forecastRow = new QHBoxLayout;
    forecastRow->addWidget(ForecastDayLabel, 1);
    forecastRow->addWidget(CopyForecastButton);
    auto* calendarRow = new QHBoxLayout;
    calendarRow->addWidget(CalendarDayLabel, 1);
    calendarRow->addWidget(CopyCalendarButton);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addSpacing(6);
    layout->addLayout(figures);
    layout->addSpacing(10);
    layout->addWidget(forecastCaption);
    layout->addWidget(Forecast, 0, Qt::AlignLeft);
    layout->addWidget(ForecastTotalLabel);
    layout->addLayout(forecastRow);
    layout->addSpacing(10);
    layout->addWidget(calendarCaption);
    layout->addWidget(Calendar, 0, Qt::AlignLeft);
    layout->addWidget(CalendarTotalLabel);
    layout->addWidget(StreakLabel);
    layout->addLayout(calendarRow);
    layout->addLayout(closeRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Forecast, &DayChart::selectionChanged, ForecastDayLabel, &QLabel::setText);
    connect(Calendar, &DayChart::selectionChanged, CalendarDayLabel, &QLabel::setText);
    connect(CopyForecastButton, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setImage(Forecast->picture()); });
    connect(CopyCalendarButton, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setImage(Calendar->picture()); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool ProgressWindow::load(ReviewStore& store, const QString& vocabularyPath,
                          const QList<CardKey>& keys, const QDateTime& now)
{
    const WaitCursor wait;
    RepaintPacer repaint;
    const auto figures = LoadProgress(store, keys, now, [&repaint] { repaint(); });
    if (!figures)
        return false;
    showFigures(vocabularyPath, *figures);
    return true;
}

void ProgressWindow::showFigures(const QString& vocabularyPath, const ProgressFigures& figures)
{
    FileLabel->setText(FileNamePart(vocabularyPath));
    const DirectionFigures* directions[] = {&figures.germanToForeign, &figures.foreignToGerman};
    for (int c = 0; c < 2; ++c) {
        const DirectionFigures& d = *directions[c];
        const int values[] = {d.fresh, d.dueToday, d.dueWeek, d.wellKnown};
        for (int r = 0; r < 4; ++r)
            FigureLabels[r][c]->setText(German().toString(values[r]));
    }

    Forecast->setForecast(figures.forecast, figures.today);
    int dueSoon = 0;
    for (const int n : figures.forecast)
        dueSoon += n;
    ForecastTotalLabel->setText(QStringLiteral("In den nächsten 30 Tagen fällig: ") +
                                Count(dueSoon, "Vokabel", "Vokabeln"));

    Calendar->setReviews(figures.calendar, figures.firstCalendarDay);
    int reviews = 0;
    int days = 0;
    for (const int n : figures.calendar) {
        reviews += n;
        days += n > 0;
    }
    CalendarTotalLabel->setText(QStringLiteral("Im letzten Jahr: ") +
                                Count(reviews, "Wiederholung", "Wiederholungen") +
                                QStringLiteral(" an ") + Count(days, "Tag", "Tagen"));
    StreakLabel->setText(QStringLiteral("Tage in Folge gelernt: ") +
                         German().toString(figures.streak));
    Forecast->setFocus();
}
