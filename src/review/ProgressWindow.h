#pragma once

#include "review/DueSelection.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;

// A chart of one value per day that the keyboard walks through: the arrow keys (and Home,
// End, Page Up, Page Down) move the selected day; its text is the chart's accessible
// description and is announced with selectionChanged.
class DayChart : public QWidget {
    Q_OBJECT

public:
    explicit DayChart(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(values_.size()); }
    int selected() const { return selected_; }
    void select(int index);
    // The chart without the selection, as it goes to the clipboard.
    QImage picture() const;
    // What the day says: its date and value in words.
    virtual QString describe(int index) const = 0;
    QSize sizeHint() const override { return chartSize(); }

Q_SIGNALS:
    void selectionChanged(const QString& text);

protected:
    virtual QSize chartSize() const = 0;
    virtual void paintChart(QPainter& painter, int selected) const = 0;
    virtual int dayAt(QPoint point) const = 0;
    // Days moved by Left/Right and by Up/Down.
    virtual int horizontalStep() const = 0;
    virtual int verticalStep() const = 0;

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    QList<int> values_;
    qint64 firstDay_ = 0;  // learning day of values_[0]
    int selected_ = -1;
};

// The due cards of the next 30 days as bars, today first.
class ForecastChart : public DayChart {
    Q_OBJECT

public:
    using DayChart::DayChart;
    void setForecast(const QList<int>& forecast, qint64 today);
    QString describe(int index) const override;

protected:
    QSize chartSize() const override;
    void paintChart(QPainter& painter, int selected) const override;
    int dayAt(QPoint point) const override;
    int horizontalStep() const override { return 1; }
    int verticalStep() const override { return 7; }
};

// The reviews per day of the last year: a column per week (Monday at the top), the darker
// the more reviews.
class ReviewCalendar : public DayChart {
    Q_OBJECT

public:
    using DayChart::DayChart;
    // firstDay must be a Monday.
    void setReviews(const QList<int>& perDay, qint64 firstDay);
    QString describe(int index) const override;

protected:
    QSize chartSize() const override;
    void paintChart(QPainter& painter, int selected) const override;
    int dayAt(QPoint point) const override;
    int horizontalStep() const override { return 7; }
    int verticalStep() const override { return 1; }
};

// The window "Lernstand": how far the learner is with the cards of one vocabulary file.
// The learning window reads the file's keys (ReadCardKeys), calls load() and, when it
// returns true, exec(). It only reads the review store.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Reads the figures of these cards as of now. False when the store failed; then
    // store.takeMessage() gives the text to show instead of the window.
    bool load(ReviewStore& store, const QString& vocabularyPath, const QList<CardKey>& keys,
              const QDateTime& now);
    void showFigures(const QString& vocabularyPath, const ProgressFigures& figures);

    QLabel* FileLabel;
    // Rows: new, due today, due in the next 7 days, well known; columns: the directions.
    QLabel* FigureLabels[4][2];
    ForecastChart* Forecast;
    QLabel* ForecastDayLabel;
    QLabel* ForecastTotalLabel;
    QPushButton* CopyForecastButton;
    ReviewCalendar* Calendar;
    QLabel* CalendarDayLabel;
    QLabel* CalendarTotalLabel;
    QLabel* StreakLabel;
    QPushButton* CopyCalendarButton;
    QPushButton* CloseButton;
};
