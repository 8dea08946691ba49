#include "Lektionen.h"

#include "LessonOverview.h"
#include "VocabularyFile.h"
#include "app/Forms.h"
#include "app/Widgets.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem* Cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Lektionen-Übersicht"));
    // About 252 x 300 with the tool window's frame.
    resize(244, 276);

    StringGrid1 = Named<QTableWidget>(this, "StringGrid1", 0, 2);
    StringGrid1->setAccessibleName(QStringLiteral("Lektionen und ihre Einträge"));
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("Lektionen"), QStringLiteral("Einträge")});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(kRowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->setShowGrid(true);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setWordWrap(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StringGrid1);
}

void TForm3::ShowOverview(VocabularyFile& file)
{
    file_ = &file;
    exec();
    file_ = nullptr;
}

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm3::FormShow()
{
    const WaitCursor waitCursor;
    RepaintPacer repaint;
    const QList<LessonCount> rows =
        file_ ? CountLessons(*file_, std::ref(repaint)) : QList<LessonCount>();
    StringGrid1->clearContents();
    StringGrid1->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        StringGrid1->setItem(r, 0, Cell(rows[r].lesson));
        StringGrid1->setItem(r, 1, Cell(QString::number(rows[r].entries)));
    }
    StringGrid1->scrollToTop();
    if (!rows.isEmpty())
        StringGrid1->setCurrentCell(0, 0);
    CenterOnScreen(this);
}
