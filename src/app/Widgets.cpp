#include "Widgets.h"

#include "AnsiText.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

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

class ButtonKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Polish) {
            // Qt would make the first auto-default button of a dialog its default, so that
            // Enter in a field or on another button pressed it.
            auto* button = qobject_cast<QPushButton*>(watched);
            if (button && !button->isDefault())
                button->setAutoDefault(false);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled() ||
            !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)))
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

}  // namespace

void InstallButtonKeys()
{
    static QPointer<ButtonKeys> installed;
    if (installed || !qApp)
        return;
    installed = new ButtonKeys(qApp);
    qApp->installEventFilter(installed);
}

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
