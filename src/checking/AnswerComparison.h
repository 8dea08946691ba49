#pragma once

#include "checking/AnswerDifference.h"

#include <QLabel>

// The typed answer beside the right one, the differing characters in colour and
// underlined. Its text reads as the plain summary, so a screen reader says exactly
// "Ihre Antwort: recieve. Richtig: receive. 2 Zeichen falsch." (its name is its text).
class AnswerComparison : public QLabel {
    Q_OBJECT

public:
    explicit AnswerComparison(QWidget* parent = nullptr);

    void showDifference(const AnswerDifference& difference);
    // The font of the two answers (the captions keep the label's font); empty: the label's.
    void setAnswerFontFamily(const QString& family);

private:
    AnswerDifference difference_;
    QString answerFontFamily_;
};

// The rich text of the comparison; as plain text it is DifferenceSummary (difference).
QString ComparisonHtml(const AnswerDifference& difference, const QString& answerFontFamily = {});
