#include "Shortcuts.h"

#include "SettingsStore.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

// Lives as a child of its field, so it goes when the field goes.
class ShortcutKeyFilter : public QObject {
public:
    explicit ShortcutKeyFilter(QLineEdit* field) : QObject(field), field_(field) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != field_)
            return false;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            HandleShortcutKey(field_, key->key(), key->modifiers());
        } else if (event->type() == QEvent::ContextMenu) {
            // The field's own menu, as it would show it, with the texts below.
            QMenu* menu = field_->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            AddTexts(menu->addMenu(QStringLiteral("Sonderzeichen einfügen")));
            menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        return false;  // the field still gets the key
    }

private:
    void AddTexts(QMenu* menu)
    {
        menu->setEnabled(!field_->isReadOnly());
        for (int k = 1; k <= 12; ++k) {
            const QString text = ReadShortcut(k);
            QString item = text.isEmpty() ? QStringLiteral("(leer)") : text;
            item.replace(QLatin1Char('&'), QStringLiteral("&&"));
            QAction* action =
                menu->addAction(item + QStringLiteral("\tStrg+F") + QString::number(k));
            action->setEnabled(!text.isEmpty());
            connect(action, &QAction::triggered, field_,
                    [field = field_, k] { InsertShortcutText(field, k); });
        }
    }

    QLineEdit* field_;
};

}  // namespace

void HandleShortcutKey(QLineEdit* field, int key, Qt::KeyboardModifiers modifiers)
{
    if (!field || !modifiers.testFlag(Qt::ControlModifier))
        return;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        InsertShortcutText(field, key - Qt::Key_F1 + 1);
}

void InsertShortcutText(QLineEdit* field, int k)
{
    QGuiApplication::clipboard()->setText(ReadShortcut(k));
    // A read-only field takes nothing, as with a paste by the user.
    if (!field->isReadOnly())
        field->paste();
}

void InstallShortcutKeys(QLineEdit* field)
{
    field->installEventFilter(new ShortcutKeyFilter(field));
}
