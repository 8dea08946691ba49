// The learning window's part in due reviews: the menu items and the tool button, the run of
// due cards, recording every judged answer of every run, and the Lernstand window.

#include "learn/Lernprogramm.h"

#include "app/Platform.h"
#include "app/SettingsStore.h"
#include "app/Widgets.h"
#include "review/ProgressWindow.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <optional>
#include <utility>

namespace {

ReviewSettings CurrentReviewSettings()
{
    return {ReadDesiredRetention() / 100.0, ReadNewCardsPerDay(), ReadRunSize()};
}

}  // namespace

void TForm5::BuildReviewControls()
{
    DueReviewsAction = new QAction(QStringLiteral("&Fällige Vokabeln"), this);
    DueReviewsAction->setObjectName(QStringLiteral("DueReviewsAction"));
    DueReviewsAction->setShortcut(QKeySequence(Qt::Key_F9));
    ProgressAction = new QAction(QStringLiteral("Lern&stand ..."), this);
    ProgressAction->setObjectName(QStringLiteral("ProgressAction"));
    Lernprogramm1->addSeparator();
    Lernprogramm1->addActions({DueReviewsAction, ProgressAction});

    // Beside "Zufall", the other way to start a run.
    const QString hint = QStringLiteral("Fällige Vokabeln");
    DueReviewsButton = new QToolButton(ToolBar1);
    DueReviewsButton->setObjectName(QStringLiteral("DueReviewsButton"));
    DueReviewsButton->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    DueReviewsButton->setText(hint);
    DueReviewsButton->setToolTip(hint);
    DueReviewsButton->setAccessibleName(hint);
    DueReviewsButton->setAutoRaise(true);
    DueReviewsButton->setFocusPolicy(Qt::NoFocus);  // reached through the menu, as its neighbours
    const QList<QAction*> items = ToolBar1->actions();
    QAction* after = nullptr;
    for (qsizetype i = 0; i + 1 < items.size() && !after; ++i)
        if (ToolBar1->widgetForAction(items[i]) == ToolButton3)
            after = items[i + 1];
    if (after)
        ToolBar1->insertWidget(after, DueReviewsButton);
    else
        ToolBar1->addWidget(DueReviewsButton);

    // A due run starts when a lesson run may; the Lernstand opens when the statistics do.
    DueReviewsAction->setEnabled(Zufall1->isEnabled());
    DueReviewsButton->setEnabled(Zufall1->isEnabled());
    ProgressAction->setEnabled(Statistik1->isEnabled());
    connect(Zufall1, &QAction::enabledChanged, DueReviewsAction, &QAction::setEnabled);
    connect(Zufall1, &QAction::enabledChanged, DueReviewsButton, &QToolButton::setEnabled);
    connect(Statistik1, &QAction::enabledChanged, ProgressAction, &QAction::setEnabled);

    connect(DueReviewsAction, &QAction::triggered, this, &TForm5::StartDueRun);
    connect(DueReviewsButton, &QToolButton::clicked, this, &TForm5::StartDueRun);
    connect(ProgressAction, &QAction::triggered, this, &TForm5::ShowProgress);
}

bool TForm5::OpenReviewStore(bool reportEveryFailure)
{
    if (!reviewStore_.isOpen())
        reviewStore_.open(ReviewStore::defaultPath());
    const bool open = reviewStore_.isOpen();
    const QString message = reviewStore_.takeMessage();
    // Lesson and random runs go on without the store: they say so once, not at every run.
    if (!message.isEmpty() && (open || reportEveryFailure || !storeFailureShown_))
        ShowError(this, message);
    storeFailureShown_ = !open && (storeFailureShown_ || !message.isEmpty());
    return open;
}

void TForm5::StartDueRun()
{
    if (!learningFile_.isOpen() || run_.isRunning() || preparing_ || !OpenReviewStore(true))
        return;
    const Direction direction =
        GermanToForeign() ? Direction::GermanToForeign : Direction::ForeignToGerman;
    const QDateTime now = Platform::instance().now();
    bool keysRead = false;
    std::optional<DueSelection> plan;
    LearningRun::Start start = LearningRun::Start::ReadFailed;
    {
        // A huge file takes a while: the window keeps repainting, and closing waits.
        const WaitCursor wait;
        const QScopedValueRollback guard(preparing_, true);
        RepaintPacer repaint;
        if (const auto keys = ReadCardKeys(learningFile_, std::ref(repaint))) {
            keysRead = true;
            plan = PlanDueRun(reviewStore_, *keys, direction, now, CurrentReviewSettings(),
                              std::ref(repaint));
            if (plan && !plan->entries.isEmpty())
                start = run_.startOrderedRun(learningFile_, plan->entries, std::ref(repaint));
        }
    }
    // A damaged store was replaced by a fresh one, which planned the run.
    if (const QString problem = reviewStore_.takeMessage(); !problem.isEmpty())
        ShowError(this, problem);
    if (keysRead && !plan)
        return;
    if (plan && plan->entries.isEmpty()) {
        ShowNotice(this, NothingDueMessage(*plan, LearningDay(now)));
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));  // RefuseRun or BeginRun ends it
    if (!RefuseRun(start)) {
        UpdateCounters();
        Label8->clear();
        BeginRun();
    }
}

void TForm5::BeginReviews()
{
    runMessageShown_ = false;
    const bool open = OpenReviewStore(false);
    const Direction direction =
        GermanToForeign() ? Direction::GermanToForeign : Direction::ForeignToGerman;
    reviews_ =
        RunReviews(open ? &reviewStore_ : nullptr, direction, ReadDesiredRetention() / 100.0);
}

void TForm5::RecordReview(bool right)
{
    const QuestionRow& row = run_.currentRow();
    const auto problem = reviews_.answered(row.entryNumber, CardKey::of(row.entry), right,
                                           Platform::instance().now());
    if (problem && !std::exchange(runMessageShown_, true))
        ShowError(this, *problem);
}

void TForm5::ShowProgress()
{
    if (!learningFile_.isOpen() || preparing_ || !OpenReviewStore(true))
        return;
    ProgressWindow window(this);
    std::optional<bool> loaded;  // nothing: the file could not be read
    {
        const WaitCursor wait;
        const QScopedValueRollback guard(preparing_, true);
        RepaintPacer repaint;
        if (const auto keys = ReadCardKeys(learningFile_, std::ref(repaint)))
            loaded = window.load(reviewStore_, learningFile_.path(), *keys,
                                 Platform::instance().now());
    }
    // After a damaged store was replaced, the window shows the fresh one's figures.
    if (const QString problem = reviewStore_.takeMessage(); !problem.isEmpty())
        ShowError(this, problem);
    if (!loaded)
        ShowError(this, QStringLiteral("Fehler beim Lesen der Datei!"));
    else if (*loaded)
        window.exec();
}
