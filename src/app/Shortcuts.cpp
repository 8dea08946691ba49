#include "Shortcuts.h"

#include "SettingsStore.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Lives as a child of its field, so it goes when the field goes.
class ShortcutKeyFilter : public QObject {
public:
    explicit ShortcutKeyFilter(QLineEdit* field) : QObject(field), field_(field) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == field_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            HandleShortcutKey(field_, key->key(), key->modifiers());
        }
        return false;  // the field still gets the key
    }

private:
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
