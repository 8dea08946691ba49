#pragma once

#include <Qt>

class QLineEdit;

// The user's twelve shortcut texts (settings Shortcut1 to Shortcut12), typed into an entry
// field with Ctrl+F1 to Ctrl+F12.

// Ctrl+F1 to Ctrl+F12 insert shortcut text 1 to 12; Shift or Alt held as well do not
// matter. Any other key does nothing here, and no key is consumed: the field handles it
// as usual afterwards.
void HandleShortcutKey(QLineEdit* field, int key, Qt::KeyboardModifiers modifiers);

// Puts shortcut text k (1 to 12) on the clipboard, replacing whatever it held, and lets the
// field paste it, as the user would: it replaces the selection or goes in at the caret,
// cut at the field's length limit, and is refused whole when the field's validator refuses
// the result.
void InsertShortcutText(QLineEdit* field, int k);

// Calls HandleShortcutKey for every key pressed in field, before the field's own handling,
// and adds "Sonderzeichen einfügen" with the twelve texts to the field's context menu: some
// desktops take Ctrl+F1 to Ctrl+F12 for themselves, and the texts stay within reach.
void InstallShortcutKeys(QLineEdit* field);
