#include "Widgets.h"

#include "AnsiText.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace {

class MenuBarJoin : public QObject {
public:
    MenuBarJoin(QMenuBar* main, QMenuBar* corner) : QObject(main), bars_{main, corner}
    {
        for (QMenuBar* bar : bars_)
            for (QAction* title : bar->actions())
                if (title->menu())
                    title->menu()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* menu = qobject_cast<QMenu*>(watched);
        if (!menu || (key != Qt::Key_Left && key != Qt::Key_Right))
            return false;
        if (key == Qt::Key_Right && menu->activeAction() && menu->activeAction()->menu())
            return false;  // opens the submenu
        // The titles the arrows can reach, across both bars.
        struct Title {
            QMenuBar* bar;
            QAction* action;
        };
        QList<Title> titles;
        for (QMenuBar* bar : bars_)
            for (QAction* action : bar->actions())
                if (action->menu() && action->isVisible() &&
                    (action->isEnabled() ||
                     bar->style()->styleHint(QStyle::SH_Menu_AllowActiveAndDisabled)))
                    titles.append({bar, action});
        qsizetype at = -1;
        for (qsizetype i = 0; i < titles.size(); ++i)
            if (titles[i].action == menu->menuAction())
                at = i;
        if (at < 0)
            return false;
        const qsizetype step = key == Qt::Key_Right ? 1 : titles.size() - 1;
        const Title next = titles[(at + step) % titles.size()];
        if (next.bar == titles[at].bar)
            return false;  // the bar moves within itself
        menu->hide();
        next.bar->setActiveAction(next.action);
        return true;
    }

private:
    QMenuBar* bars_[2];
};

}  // namespace

void JoinMenuBars(QMenuBar* main, QMenuBar* corner)
{
    new MenuBarJoin(main, corner);
}

QValidator::State AnsiLineValidator::validate(QString& input, int&) const
{
    for (QChar c : input)
        if (c.unicode() < 32 || !IsAnsiChar(c))
            return Invalid;
    return Acceptable;
}

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

void RepaintPacer::operator()()
{
    if (sinceRepaint_.elapsed() < 50)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceRepaint_.restart();
}
