#include "DueSelection.h"

#include "app/AnsiText.h"

#include <QLocale>

#include <algorithm>

namespace {

// The same pair twice in one file is one card: only its first entry counts.
QList<CardKey> DistinctKeys(const QList<CardKey>& keys)
{
    QList<CardKey> distinct;
    distinct.reserve(keys.size());
    QSet<CardKey> seen;
    seen.reserve(keys.size());
    for (const CardKey& key : keys)
        if (!seen.contains(key)) {
            seen.insert(key);
            distinct.append(key);
        }
    return distinct;
}

// A term field as the file holds it: up to its first NUL, blanks at both ends removed.
// Decodes only what remains, without copying the field first.
QString TermText(const char* field)
{
    qsizetype end = 0;
    while (end < kFieldWidth && field[end] != '\0')
        ++end;
    qsizetype begin = 0;
    while (begin < end && field[begin] == ' ')
        ++begin;
    while (end > begin && field[end - 1] == ' ')
        --end;
    return FromAnsi(QByteArray::fromRawData(field + begin, end - begin));
}

}  // namespace

std::optional<QList<CardKey>> ReadCardKeys(VocabularyFile& file,
                                           const std::function<void()>& progress)
{
    QList<CardKey> keys;
    keys.reserve(file.entryCount());
    const auto visit = [&](int, QByteArrayView record) {
        keys.append(
            {TermText(record.data() + kFieldWidth), TermText(record.data() + 2 * kFieldWidth)});
    };
    if (file.scanEntries(visit, progress) != file.entryCount())
        return std::nullopt;  // shortened meanwhile
    return keys;
}

DueSelection SelectDueCards(const QList<CardKey>& keys,
                            const QList<std::optional<CardState>>& cards,
                            const QSet<qint64>& introducedToday, qint64 today,
                            const ReviewSettings& settings)
{
    struct Due {
        double recall;
        int index;
        bool operator<(const Due& other) const
        {
            return recall != other.recall ? recall < other.recall : index < other.index;
        }
    };
    QList<Due> due;
    QSet<qint64> seen;
    int introduced = 0;
    bool anyNew = false;
    std::optional<qint64> nextDue;
    const int n = int(std::min(keys.size(), cards.size()));
    for (int i = 0; i < n; ++i) {
        const auto& card = cards.at(i);
        if (!card) {
            anyNew = true;
            continue;
        }
        if (seen.contains(card->id))
            continue;
        seen.insert(card->id);
        if (introducedToday.contains(card->id))
            ++introduced;
        if (card->dueDay <= today)
            due.append(
                {fsrs::Retrievability(double(today - card->lastDay), card->memory.stability), i});
        else if (!nextDue || card->dueDay < *nextDue)
            nextDue = card->dueDay;
    }

    DueSelection selection;
    const int runSize = std::max(1, settings.runSize);
    const int dueTaken = std::min(runSize, int(due.size()));
    std::partial_sort(due.begin(), due.begin() + dueTaken, due.end());
    for (int k = 0; k < dueTaken; ++k)
        selection.entries.append(due.at(k).index + 1);
    selection.dueCount = dueTaken;

    const int allowance = std::max(0, settings.newCardsPerDay - introduced);
    int freshLeft = std::min(runSize - dueTaken, allowance);
    QSet<CardKey> chosen;
    for (int i = 0; i < n && freshLeft > 0; ++i) {
        if (cards.at(i) || chosen.contains(keys.at(i)))
            continue;
        chosen.insert(keys.at(i));
        selection.entries.append(i + 1);
        --freshLeft;
    }

    if (selection.entries.isEmpty()) {
        if (anyNew && settings.newCardsPerDay > 0 && (!nextDue || *nextDue > today + 1))
            nextDue = today + 1;  // the new cards of tomorrow
        selection.nextDueDay = nextDue;
    }
    return selection;
}

std::optional<DueSelection> PlanDueRun(ReviewStore& store, const QList<CardKey>& keys,
                                       Direction direction, const QDateTime& now,
                                       const ReviewSettings& settings,
                                       const ReviewStore::Progress& progress)
{
    const qint64 today = LearningDay(now);
    const auto cards = store.cardsFor(keys, direction, progress);
    if (!cards)
        return std::nullopt;
    const auto introduced = store.cardsFirstReviewedOn(today);
    if (!introduced)
        return std::nullopt;
    return SelectDueCards(keys, *cards, *introduced, today, settings);
}

QString NothingDueMessage(const DueSelection& selection, qint64 today)
{
    const QString none = QStringLiteral("Heute ist keine Vokabel fällig.");
    if (!selection.nextDueDay)
        return none;
    if (*selection.nextDueDay == today + 1)
        return none + QStringLiteral("\nDie nächsten Vokabeln sind morgen fällig.");
    const QLocale german(QLocale::German, QLocale::Germany);
    return none + QStringLiteral("\nDie nächsten Vokabeln sind am %1 fällig.")
                      .arg(german.toString(LearningDate(*selection.nextDueDay),
                                           QStringLiteral("dddd, dd.MM.yyyy")));
}

RunReviews::RunReviews(ReviewStore* store, Direction direction, double desiredRetention)
    : store_(store && store->isOpen() ? store : nullptr),
      direction_(direction),
      retention_(desiredRetention)
{
}

std::optional<QString> RunReviews::answered(int entryNumber, const CardKey& key, bool right,
                                            const QDateTime& now)
{
    if (!store_)
        return std::nullopt;
    const bool again = answered_.contains(entryNumber);
    answered_.insert(entryNumber);
    store_->record(key, direction_, right ? Rating::Good : Rating::Again, now, retention_, again);
    const QString message = store_->takeMessage();
    if (message.isEmpty())
        return std::nullopt;
    // A damaged store has been replaced by a fresh one, which goes on.
    if (store_->lastStatus() != ReviewStore::Status::Damaged)
        store_ = nullptr;
    return message;
}

DirectionFigures CountDirection(const QList<std::optional<CardState>>& cards, qint64 today,
                                QList<int>* forecast)
{
    DirectionFigures figures;
    for (const auto& card : cards) {
        if (!card) {
            ++figures.fresh;
            continue;
        }
        const qint64 daysAhead = std::max<qint64>(0, card->dueDay - today);
        if (daysAhead == 0)
            ++figures.dueToday;
        else if (daysAhead <= 7)
            ++figures.dueWeek;
        if (fsrs::Retrievability(double(today - card->lastDay), card->memory.stability) >= 0.9)
            ++figures.wellKnown;
        if (forecast && daysAhead < forecast->size())
            ++(*forecast)[daysAhead];
    }
    return figures;
}

std::optional<ProgressFigures> LoadProgress(ReviewStore& store, const QList<CardKey>& keys,
                                            const QDateTime& now,
                                            const ReviewStore::Progress& progress)
{
    ProgressFigures figures;
    figures.today = LearningDay(now);
    figures.forecast = QList<int>(ProgressFigures::kForecastDays, 0);
    const auto cards = store.cardsInBothDirections(DistinctKeys(keys), progress);
    if (!cards)
        return std::nullopt;
    figures.germanToForeign =
        CountDirection(cards->germanToForeign, figures.today, &figures.forecast);
    figures.foreignToGerman =
        CountDirection(cards->foreignToGerman, figures.today, &figures.forecast);
    // 52 whole weeks before this one, so that the calendar's columns begin on Mondays.
    figures.firstCalendarDay =
        figures.today - (LearningDate(figures.today).dayOfWeek() - 1) - 52 * 7;
    const auto calendar = store.reviewsPerDay(figures.firstCalendarDay, figures.today);
    const auto streak = calendar ? store.streak(figures.today) : std::nullopt;
    if (!streak)
        return std::nullopt;
    figures.calendar = *calendar;
    figures.streak = *streak;
    return figures;
}
