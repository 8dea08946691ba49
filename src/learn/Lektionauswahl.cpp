#include "Lektionauswahl.h"

#include "Lernprogramm.h"
#include "app/Forms.h"
#include "app/Widgets.h"
#include "vocab/LessonOverview.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TForm6::TForm6(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Lektionen-Auswahl"));
    setFixedSize(kClientWidth, kClientHeight);

    ListBox1 = Named<QListWidget>(this, "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setAccessibleName(QStringLiteral("Lektionen"));
    Button1 = Named<QPushButton>(this, "Button1", QStringLiteral("Diese Lektion auswählen!"));
    // Enter on the list chooses through the default button.
    Button1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListBox1);
    layout->addWidget(Button1);

    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm6::ListBox1DblClick);
}

void TForm6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm6::FormShow()
{
    CenterOnScreen(this);
    FillLessonList();
    ListBox1->setFocus();
}

void TForm6::FillLessonList()
{
    ListBox1->clear();
    if (!Form5 || !Form5->LearningFile().isOpen())
        return;
    // A huge file takes a while: hourglass, and the window keeps repainting.
    const WaitCursor wait;
    RepaintPacer repaint;
    for (const LessonCount& lesson : CountLessons(Form5->LearningFile(), std::ref(repaint)))
        ListBox1->addItem(lesson.lesson);
}

void TForm6::ChooseLesson()
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (Form5)
        Form5->Label8->setText(selected.isEmpty() ? QString() : selected.first()->text());
    accept();
}

void TForm6::Button1Click()
{
    ChooseLesson();
}

void TForm6::ListBox1DblClick()
{
    ChooseLesson();
}
