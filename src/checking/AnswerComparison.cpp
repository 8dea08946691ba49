#include "AnswerComparison.h"

namespace {

// Dark enough for a 4.5:1 contrast on the window's grey; the underline carries the mark
// for every reader who cannot tell the colours apart.
constexpr auto kTypedMark = "color:#b00000;text-decoration:underline";
constexpr auto kRightMark = "color:#006000;text-decoration:underline";

enum class Side { Typed, Right };

QString MarkedAnswer(const AnswerDifference& difference, Side side, const QString& family)
{
    const QString& text = side == Side::Typed ? difference.typed : difference.right;
    const QString style = QString::fromLatin1(side == Side::Typed ? kTypedMark : kRightMark);
    QString html;
    qsizetype done = 0;
    for (const DifferenceSpan& span : difference.spans) {
        const qsizetype start = side == Side::Typed ? span.typedStart : span.rightStart;
        const qsizetype length = side == Side::Typed ? span.typedLength : span.rightLength;
        if (length == 0)
            continue;
        html += text.mid(done, start - done).toHtmlEscaped();
        html += QStringLiteral("<span style=\"%1\">%2</span>")
                    .arg(style, text.mid(start, length).toHtmlEscaped());
        done = start + length;
    }
    html += text.mid(done).toHtmlEscaped();
    if (family.isEmpty())
        return html;
    QString quoted = family;
    quoted.remove(u'\'').remove(u'"');
    return QStringLiteral("<span style=\"font-family:'%1'\">%2</span>")
        .arg(quoted.toHtmlEscaped(), html);
}

}  // namespace

QString ComparisonHtml(const AnswerDifference& difference, const QString& answerFontFamily)
{
    const SummaryParts parts = DifferenceSummaryParts(difference);
    // pre-wrap keeps every character as typed, so the plain text is the summary exactly.
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") +
           parts.beforeTyped.toHtmlEscaped() +
           MarkedAnswer(difference, Side::Typed, answerFontFamily) +
           parts.betweenAnswers.toHtmlEscaped() +
           MarkedAnswer(difference, Side::Right, answerFontFamily) +
           parts.afterRight.toHtmlEscaped() + QStringLiteral("</p>");
}

AnswerComparison::AnswerComparison(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAccessibleDescription(QStringLiteral("Vergleich Ihrer Antwort mit der richtigen"));
}

void AnswerComparison::showDifference(const AnswerDifference& difference)
{
    difference_ = difference;
    setText(ComparisonHtml(difference_, answerFontFamily_));
}

void AnswerComparison::setAnswerFontFamily(const QString& family)
{
    answerFontFamily_ = family;
    if (!text().isEmpty())
        setText(ComparisonHtml(difference_, answerFontFamily_));
}
