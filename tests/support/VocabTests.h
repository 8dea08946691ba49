#pragma once

// What the word-list and learning tests share: their includes, data columns, and readers
// of what a window shows.

#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTimer>

#include <functional>

// A list from a text split at '|'.
inline QStringList SplitTexts(const char* texts)
{
    return QString::fromUtf8(texts).split(u'|');
}

inline QStringList ListTexts(const QListWidget* list, bool trimmed = false)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << (trimmed ? list->item(i)->text().trimmed() : list->item(i)->text());
    return items;
}

// A grid's rows joined by '|', their cells (trimmed, if asked) joined by ','.
inline QString GridTexts(const QTableWidget* grid, bool trimmed = false)
{
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << (!grid->item(r, c) ? QString()
                      : trimmed         ? grid->item(r, c)->text().trimmed()
                                        : grid->item(r, c)->text());
        rows << cells.join(u',');
    }
    return rows.join(u'|');
}

// Runs `act` once the dialog is up in its modal loop; `act` must leave it closed.
inline void WhileDialogShown(QDialog& dialog, std::function<void()> act)
{
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        dialog.activateWindow();
        act();
        if (dialog.isVisible()) {
            QTest::qFail("the dialog did not close", __FILE__, __LINE__);
            dialog.reject();
        }
    });
}
