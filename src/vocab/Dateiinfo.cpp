#include "Dateiinfo.h"

#include "Editor.h"
#include "app/AnsiText.h"
#include "app/Forms.h"
#include "app/Platform.h"
#include "app/Widgets.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, kFixedToolWindow)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Datei-Informationen"));
    setFixedSize(kClientWidth, kClientHeight);

    Edit1 = Named<QLineEdit>(this, "Edit1");
    Edit2 = Named<QLineEdit>(this, "Edit2");
    Edit3 = Named<QLineEdit>(this, "Edit3");
    for (QLineEdit* edit : {Edit1, Edit2, Edit3}) {
        edit->setMaxLength(edit == Edit3 ? kRemarksWidth : kFieldWidth);
        edit->setValidator(new LoadedFieldValidator(this));
    }
    Label1 = Named<QLabel>(this, "Label1", QStringLiteral("Titel:"));
    Label2 = Named<QLabel>(this, "Label2", QStringLiteral("Autor:"));
    Label3 = Named<QLabel>(this, "Label3", QStringLiteral("Bemerkungen:"));
    for (const auto& [label, edit] :
         {std::pair{Label1, Edit1}, std::pair{Label2, Edit2}, std::pair{Label3, Edit3}}) {
        label->setBuddy(edit);
        edit->setAccessibleName(label->text().chopped(1));  // without the colon
    }

    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(8, 10, 8, 10);
    layout->setVerticalSpacing(10);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addRow(Label1, Edit1);
    layout->addRow(Label2, Edit2);
    layout->addRow(Label3, Edit3);

    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        edit->installEventFilter(this);
}

void TForm4::setMode(int mode)
{
    mode_ = mode;
    const bool readOnly = mode == ReadOnlyMode;
    setWindowTitle(readOnly ? QStringLiteral("Datei-Informationen (nur lesen)")
                            : QStringLiteral("Datei-Informationen"));
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        edit->setReadOnly(readOnly);
}

void TForm4::ShowForEditor(VocabularyFile& file)
{
    file_ = &file;
    setMode(EditMode);
    exec();
    file_ = nullptr;
}

void TForm4::ShowReadOnly(const VocabularyHeader& header)
{
    file_ = nullptr;
    setMode(ReadOnlyMode);
    setTexts({TrimBlanks(header.title), TrimBlanks(header.author), TrimBlanks(header.remarks)});
    exec();
}

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm4::FormShow()
{
    CenterOnScreen(this);
    Edit1->setFocus();
    if (mode_ != EditMode)
        return;
    setTexts(file_ ? file_->readHeader().value_or(VocabularyHeader{}) : VocabularyHeader{});
}

void TForm4::setTexts(const VocabularyHeader& header)
{
    const QString texts[] = {header.title, header.author, header.remarks};
    QLineEdit* const edits[] = {Edit1, Edit2, Edit3};
    for (int k = 0; k < 3; ++k)
        LoadedFieldValidator::setLoadedText(edits[k], texts[k]);
    // Long texts show their beginning.
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        edit->setCursorPosition(0);
}

void TForm4::done(int result)
{
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TForm4::FormClose()
{
    if (mode_ != EditMode)
        return;
    // Fitted to the field widths, also in the fields themselves.
    const VocabularyHeader header{FitToWidth(Edit1->text(), kFieldWidth),
                                  FitToWidth(Edit2->text(), kFieldWidth),
                                  FitToWidth(Edit3->text(), kRemarksWidth)};
    setTexts(header);
    if (file_ && !PathNamesOpenFile(file_->device()))
        ShowError(this, QStringLiteral("Die Datei existiert nicht mehr!"));
    else if (file_ && file_->changedElsewhere())
        ShowError(this, ChangedElsewhereMessage());
    else if (!file_ || !file_->writeHeader(header))
        ShowError(this, QStringLiteral("Fehler beim Schreiben der Datei!"));
}

bool TForm4::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Edit1)
                Edit1KeyDown();
            else if (watched == Edit2)
                Edit2KeyDown();
            else if (watched == Edit3)
                Edit3KeyDown();
            return true;  // the Enter goes no further
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm4::Edit1KeyDown()
{
    Edit2->setFocus();
}

void TForm4::Edit2KeyDown()
{
    Edit3->setFocus();
}

void TForm4::Edit3KeyDown()
{
    Edit1->setFocus();
}
