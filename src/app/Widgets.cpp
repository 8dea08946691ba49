#include "Widgets.h"

#include "AnsiText.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
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

void AddFontItems(QMenu* options, const FontItems& items)
{
    items.msSansSerif =
        Command(options, "SchriftartMSSansSerif1", QStringLiteral("Schriftart: MS Sans Serif"),
                Qt::SHIFT | Qt::Key_F1);
    items.symbol = Command(options, "SchriftartSymbol1", QStringLiteral("Schriftart: Symbol"),
                           Qt::SHIFT | Qt::Key_F2);
    items.preferences = Command(options, "Voreinstellungen1", QStringLiteral("&Voreinstellungen"),
                                Qt::SHIFT | Qt::Key_F12);
    options->addSeparator();
    options->addActions({items.msSansSerif, items.symbol});
    options->addSeparator();
    options->addAction(items.preferences);
}

void AddHelpMenu(QMenuBar* main, const HelpMenu& help)
{
    help.bar = Named<QMenuBar>(main, "HelpMenuBar");
    help.menu = help.bar->addMenu(QStringLiteral("&Hilfe"));
    help.menu->setObjectName(QStringLiteral("Hilfe1"));
    help.menu->menuAction()->setObjectName(QStringLiteral("Hilfe1"));
    help.help = Command(help.menu, "LernkompassHilfe1", QStringLiteral("&Lernkompass-Hilfe"));
    help.site =
        Command(help.menu, "HomepagevonLernkompass1", QStringLiteral("Homepage von L&ernkompass"));
    help.authorSite =
        Command(help.menu, "HomepagedesAutors1", QStringLiteral("Homepage des &Autors"));
    help.info = Command(help.menu, "Info1", QStringLiteral("&Info ..."));
    help.menu->addAction(help.help);
    help.menu->addSeparator();
    help.menu->addActions({help.site, help.authorSite});
    help.menu->addSeparator();
    help.menu->addAction(help.info);
    main->setCornerWidget(help.bar, Qt::TopRightCorner);
    JoinMenuBars(main, help.bar);
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

RepaintPacer::RepaintPacer(Input input, int intervalMs, First first)
    : input_(input), intervalMs_(intervalMs)
{
    if (first == First::AfterInterval)
        sinceRepaint_.start();
}

void RepaintPacer::now()
{
    QCoreApplication::processEvents(input_ == Input::Held ? QEventLoop::ExcludeUserInputEvents
                                                          : QEventLoop::AllEvents);
    sinceRepaint_.start();
}

QLabel* ValueLabel(QWidget* parent, const char* name, const QString& caption, const QString& text)
{
    auto* label = Named<QLabel>(parent, name, text);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleDescription(caption);
    return label;
}

QAction* Command(QObject* parent, const char* name, const QString& text, const QKeySequence& key)
{
    auto* action = Named<QAction>(parent, name, text);
    action->setShortcut(key);
    return action;
}

QToolButton* CommandButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                           const QString& hint)
{
    auto* button = Named<QToolButton>(parent, name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
