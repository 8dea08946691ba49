#include "Editor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QValidator>
#include <algorithm>
#include <array>

#include "Dateiinfo.h"
#include "Lektionen.h"
#include "RecordMoves.h"
#include "app/AnsiText.h"
#include "app/Fehler.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Help.h"
#include "app/Info.h"
#include "app/Platform.h"
#include "app/Preferences.h"
#include "app/SettingsStore.h"
#include "app/Shortcuts.h"
#include "app/Start.h"
#include "app/Widgets.h"

QString TForm2::NoFileText()
{
    return QStringLiteral("(keine ausgewählt)");
}

namespace {

QString FileFilter()
{
    return QStringLiteral("Vokabeldateien (*.vok)");
}

QString WriteErrorText()
{
    return QStringLiteral("Fehler beim Schreiben der Datei!");
}

// Another program removed the open file or put another one in its place.
QString FileGoneText()
{
    return QStringLiteral("Die Datei existiert nicht mehr!");
}

QString InUseText()
{
    return QStringLiteral(
        "Die Datei wird bereits in einem anderen Lernkompass-Fenster "
        "bearbeitet.");
}

QString InvalidSwapText()
{
    return QStringLiteral("Beide Eingabefelder müssen gültige Werte enthalten!");
}

// A decimal number as the counters and swap fields hold it; anything else reads as -100.
int NumberOrMinus100(const QString& text)
{
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == start)
        return -100;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return -100;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : -100;
}

}  // namespace

QValidator::State LoadedFieldValidator::validate(QString& input, int& pos) const
{
    QString rest;
    for (QChar c : input)
        if (c.unicode() >= 32)
            rest += c;
    if (input.size() - rest.size() > loadedControls_)
        return Invalid;
    return AnsiLineValidator::validate(rest, pos);
}

void LoadedFieldValidator::setLoadedText(QLineEdit* field, const QString& text)
{
    auto* validator = const_cast<LoadedFieldValidator*>(
        static_cast<const LoadedFieldValidator*>(field->validator()));
    validator->loadedControls_ =
        std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 32; });
    field->setText(text);
}

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    BuildLayout();
    // Keys in the fields pass the window's handlers first.
    for (int k = 0; k < kEntryFields; ++k) {
        Field(k)->installEventFilter(this);
        InstallShortcutKeys(Field(k));
    }
    for (QLineEdit* edit : {Edit6, Edit7})
        edit->installEventFilter(this);

    // One handler per command, whichever control starts it.
    const auto on = [this](auto* sender, auto signal, void (TForm2::*handler)()) {
        connect(sender, signal, this, handler);
    };
    on(Neu, &QAction::triggered, &TForm2::NeuClick);
    on(ToolButton1, &QToolButton::clicked, &TForm2::NeuClick);
    on(Oeffnen, &QAction::triggered, &TForm2::OeffnenClick);
    on(ToolButton2, &QToolButton::clicked, &TForm2::OeffnenClick);
    on(Schlieenohnespeichern1, &QAction::triggered, &TForm2::Schlieenohnespeichern1Click);
    on(ToolButton3, &QToolButton::clicked, &TForm2::Schlieenohnespeichern1Click);
    on(Beenden1, &QAction::triggered, &TForm2::Beenden1Click);
    on(ToolButton10, &QToolButton::clicked, &TForm2::Beenden1Click);
    on(Beginn1, &QAction::triggered, &TForm2::Beginn1Click);
    on(SpeedButton1, &QToolButton::clicked, &TForm2::Beginn1Click);
    on(Vorheriges1, &QAction::triggered, &TForm2::Vorheriges1Click);
    on(SpeedButton2, &QToolButton::clicked, &TForm2::Vorheriges1Click);
    on(Nchstes1, &QAction::triggered, &TForm2::Nchstes1Click);
    on(SpeedButton3, &QToolButton::clicked, &TForm2::Nchstes1Click);
    on(Letztes1, &QAction::triggered, &TForm2::Letztes1Click);
    on(SpeedButton4, &QToolButton::clicked, &TForm2::Letztes1Click);
    on(Eintrageinfgen1, &QAction::triggered, &TForm2::Eintrageinfgen1Click);
    on(Button2, &QPushButton::clicked, &TForm2::Eintrageinfgen1Click);
    on(Eintraglschen1, &QAction::triggered, &TForm2::Eintraglschen1Click);
    on(Button3, &QPushButton::clicked, &TForm2::Eintraglschen1Click);
    on(Links1, &QAction::triggered, &TForm2::Links1Click);
    on(SpeedButton5, &QToolButton::clicked, &TForm2::Links1Click);
    on(Rechts1, &QAction::triggered, &TForm2::Rechts1Click);
    on(SpeedButton6, &QToolButton::clicked, &TForm2::Rechts1Click);
    on(Vertauschen1, &QAction::triggered, &TForm2::Vertauschen1Click);
    on(SpeedButton7, &QToolButton::clicked, &TForm2::Vertauschen1Click);
    on(Lektionenbersicht1, &QAction::triggered, &TForm2::Lektionenbersicht1Click);
    on(ToolButton7, &QToolButton::clicked, &TForm2::Lektionenbersicht1Click);
    on(DateiInformationen1, &QAction::triggered, &TForm2::DateiInformationen1Click);
    on(ToolButton8, &QToolButton::clicked, &TForm2::DateiInformationen1Click);
    on(NachSynonymenfragen1, &QAction::triggered, &TForm2::NachSynonymenfragen1Click);
    on(NacheinerBeschreibungfragen1, &QAction::triggered,
       &TForm2::NacheinerBeschreibungfragen1Click);
    on(SchriftartMSSansSerif1, &QAction::triggered, &TForm2::SchriftartMSSansSerif1Click);
    on(SchriftartSymbol1, &QAction::triggered, &TForm2::SchriftartSymbol1Click);
    on(Voreinstellungen1, &QAction::triggered, &TForm2::Voreinstellungen1Click);
    on(ToolButton5, &QToolButton::clicked, &TForm2::Voreinstellungen1Click);
    on(LernkompassHilfe1, &QAction::triggered, &TForm2::LernkompassHilfe1Click);
    on(HomepagevonLernkompass1, &QAction::triggered, &TForm2::HomepagevonLernkompass1Click);
    on(HomepagedesAutors1, &QAction::triggered, &TForm2::HomepagedesAutors1Click);
    on(Info1, &QAction::triggered, &TForm2::Info1Click);
    on(Button1, &QPushButton::clicked, &TForm2::Button1Click);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm2::ScrollBar1Change);

    DisableDocumentControls();
    BuildExchangeMenu();
    BuildSpeechItem();
}

// ---- state --------------------------------------------------------------------------

QLineEdit* TForm2::Field(int k) const
{
    const std::array<QLineEdit*, kEntryFields> fields = {Edit1, Edit2, Edit3, Edit4, Edit5};
    return fields.at(static_cast<std::size_t>(k));
}

bool TForm2::HasDocument() const
{
    return file_.isOpen();
}

std::optional<int> TForm2::ReadCounter(const QLabel* label, const QString& code)
{
    const int value = NumberOrMinus100(label->text());
    if (value < 0) {
        ReportInternalError(code);
        return std::nullopt;
    }
    return value;
}

std::optional<int> TForm2::CurrentEntryNumber(const QString& code)
{
    return ReadCounter(Label8, code);
}

std::optional<int> TForm2::LastEntryNumber(const QString& code)
{
    return ReadCounter(Label11, code);
}

void TForm2::ShowCounters(int current, int last)
{
    Label8->setText(QString::number(current));
    Label11->setText(QString::number(last));
    // The scroll bar follows the counters; only the user's moves run its handler.
    const QSignalBlocker block(ScrollBar1);
    ScrollBar1->setRange(1, std::max(last, 1));
    ScrollBar1->setValue(std::max(current, 1));
}

void TForm2::SetDocumentControls(bool open)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             Edit1,        Edit2,        Edit3,        Edit4,        Edit5,        Button1,
             Button2,      Button3,      SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4,
             SpeedButton5, SpeedButton6, SpeedButton7, Edit6,        Edit7,        ScrollBar1,
             ToolButton3,  ToolButton7,  ToolButton8})
        w->setEnabled(open);
    for (QWidget* w : {ToolButton1, ToolButton2})
        w->setEnabled(!open);
    Neu->setEnabled(!open);
    Oeffnen->setEnabled(!open);
    Schlieenohnespeichern1->setEnabled(open);
    // The items too, so that their keys do nothing without a document.
    for (QMenu* menu : {Steuerung1, EditorFunktionen1, Zubehr1}) {
        menu->menuAction()->setEnabled(open);
        for (QAction* item : menu->actions())
            item->setEnabled(open);
    }
}

void TForm2::EnableDocumentControls()
{
    SetDocumentControls(true);
}

void TForm2::DisableDocumentControls()
{
    SetDocumentControls(false);
}

void TForm2::ResetEditor()
{
    DisableDocumentControls();
    ShowCounters(0, 0);
    Label2->setText(NoFileText());
    for (int k = 0; k < kEntryFields; ++k)
        Field(k)->clear();
    file_.close();
    NachSynonymenfragen1->setChecked(ReadSynonyme());
    NacheinerBeschreibungfragen1->setChecked(ReadBeschreibung());
    ApplyFieldFonts();
}

void TForm2::LoadEntry(int i)
{
    const std::optional<VocabularyEntry> entry = file_.readEntry(i);
    for (int k = 0; k < kEntryFields; ++k)
        LoadedFieldValidator::setLoadedText(Field(k),
                                            entry ? entry->field(k).left(kFieldWidth) : QString());
    if (!entry)
        ShowError(this, QStringLiteral("Fehler beim Lesen der Datei!"));
}

void TForm2::TrimFields()
{
    for (int k = 0; k < kEntryFields; ++k) {
        const QString trimmed = TrimBlanks(Field(k)->text());
        if (trimmed != Field(k)->text())
            Field(k)->setText(trimmed);
    }
}

bool TForm2::StoreCurrentEntry(bool advance)
{
    TrimFields();
    const QString missing[] = {
        QStringLiteral("Es muß ein Name für die Lektion angegeben werden!\n"),
        QStringLiteral("Es muß die deutsche Bezeichnung angegeben werden!\n"),
        QStringLiteral("Es muß die Entsprechung in der Fremdsprache angegeben werden!\n")};
    QString message;
    QLineEdit* firstEmpty = nullptr;
    for (int k = 0; k < 3; ++k) {
        if (!Field(k)->text().isEmpty())
            continue;
        message += missing[k];
        if (!firstEmpty)
            firstEmpty = Field(k);
    }
    if (firstEmpty) {
        Platform::instance().messageBox(this, message, QStringLiteral("Eingabefehler"),
                                        MsgButtons::Ok, MsgIcon::None);
        firstEmpty->setFocus();
        return false;
    }

    const std::optional<int> current = CurrentEntryNumber(QStringLiteral("001"));
    if (!current)
        return false;
    VocabularyEntry entry;
    for (int k = 0; k < kEntryFields; ++k)
        entry.field(k) = Field(k)->text();
    if (!RefuseUnstorableText() || !FileIsAsKnown())
        return false;
    if (!file_.writeEntry(*current, entry)) {
        ShowError(this, WriteErrorText());
        return false;
    }
    if (!advance)
        return true;

    const std::optional<int> last = LastEntryNumber(QStringLiteral("002"));
    if (!last)
        return false;
    const int next = *current + 1;
    if (next > *last) {
        // A new entry at the end, in the file only once it is stored. It keeps the lesson,
        // so that a run of new entries need not repeat it.
        ShowCounters(next, next);
        for (int k = 1; k < kEntryFields; ++k)
            Field(k)->clear();
    } else {
        ShowCounters(next, *last);
        LoadEntry(next);
    }
    Edit2->setFocus();
    return true;
}

void TForm2::ApplyFieldFonts()
{
    const QString name = ReadFont();
    if (name.isEmpty())
        return;
    for (int k = 0; k < kEntryFields; ++k) {
        QFont font = Field(k)->font();
        font.setFamily(ReadFontField(k + 1) == 1 ? name : QStringLiteral("MS Sans Serif"));
        Field(k)->setFont(font);
    }
}

bool TForm2::RefuseUnstorableText()
{
    for (int k = 0; k < kEntryFields; ++k) {
        const QString text = Field(k)->text();
        const auto bad =
            std::find_if(text.cbegin(), text.cend(), [](QChar c) { return !IsAnsiChar(c); });
        if (bad == text.cend())
            continue;
        const QLabel* labels[] = {Label3, Label4, Label5, Label6, Label7};
        QString name = labels[k]->text().remove(QLatin1Char('&'));
        name.chop(1);  // the colon
        // A character beyond the basic plane is two UTF-16 units.
        const QString character = text.mid(bad - text.cbegin(), bad->isHighSurrogate() ? 2 : 1);
        ShowError(this, QStringLiteral("Das Zeichen „%1“ im Feld „%2“ kann in einer "
                                       "Vokabeldatei nicht gespeichert werden!")
                            .arg(character, name));
        Field(k)->setFocus();
        Field(k)->setCursorPosition(int(bad - text.cbegin()));
        return false;
    }
    return true;
}

bool TForm2::FileIsAsKnown()
{
    // Written into a file that lost its name, an entry would be gone with the window.
    if (!PathNamesOpenFile(file_.device())) {
        ShowError(this, FileGoneText());
        return false;
    }
    if (file_.changedElsewhere()) {
        ShowError(this, ChangedElsewhereMessage());
        ReloadCounters();
        return false;
    }
    return true;
}

void TForm2::ReloadCounters()
{
    // Where the entry on screen now stands in the file is unknown: it stays on screen as a
    // new entry after the file's last one, so that storing it overwrites nothing.
    file_.rememberSize();
    const int last = std::max(file_.entryCount(), 0) + 1;
    ShowCounters(last, last);
}

// ---- documents ----------------------------------------------------------------------

void TForm2::OpenDocument(const QString& path)
{
    const FileCheckResult check = CheckVocabularyFile(path, true);
    if (check.status != FileCheck::Valid) {
        ShowError(this, CheckMessage(check.status));
        return;
    }
    if (!file_.open(path, VocabularyFile::Access::ReadWrite)) {
        ShowError(this, file_.inUse() ? InUseText()
                                      : QStringLiteral("Die Datei kann nicht zum Schreiben "
                                                       "geöffnet werden!"));
        return;
    }
    Label2->setText(path);
    ShowCounters(1, file_.entryCount());
    EnableDocumentControls();
    LoadEntry(1);
    Edit1->setFocus();
}

void TForm2::NeuClick()
{
    ResetEditor();
    const std::optional<QString> chosen =
        ChooseFile(this, QStringLiteral("Neu"), FileFilter(), FileChoice::MayBeNew);
    if (!chosen) {
        ShowError(this, QStringLiteral("Fehler beim Erzeugen der Datei!"));
        return;
    }
    const QString path = ReplaceExtension(*chosen, QStringLiteral(".vok"));
    if (QFile existing(path); existing.open(QIODevice::ReadOnly)) {
        existing.close();
        if (!AskYesNo(this, QStringLiteral("Datei existiert bereits.\nWollen Sie die "
                                           "vorhandene Datei löschen und neu anlegen?")))
            return;
    }
    if (!file_.create(path)) {
        ShowError(this,
                  file_.inUse() ? InUseText() : QStringLiteral("Fehler beim Erzeugen der Datei!"));
        return;
    }
    EnableDocumentControls();
    Label2->setText(path);
    // Entry 1 exists only on screen until it is stored.
    ShowCounters(1, 1);
    Edit1->setFocus();
}

void TForm2::OeffnenClick()
{
    ResetEditor();
    const std::optional<QString> chosen = ChooseFile(this, QStringLiteral("Öffnen"), FileFilter());
    if (!chosen) {
        ShowError(this, QStringLiteral("Fehler beim Öffnen der Datei!"));
        return;
    }
    OpenDocument(*chosen);
}

void TForm2::Schlieenohnespeichern1Click()
{
    if (StoreCurrentEntry(false))
        ResetEditor();
}

void TForm2::Beenden1Click()
{
    const std::optional<int> last = LastEntryNumber(QStringLiteral("011"));
    if (!last)
        return;
    // A file must not be left with its only entry incomplete.
    if (*last == 1 && !StoreCurrentEntry(false)) {
        ShowError(this, QStringLiteral("Es muß mindestens ein Eintrag vorhanden sein!"));
        return;
    }
    close();
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CenterOnScreen(this);
    FormShow();
}

void TForm2::FormShow()
{
    const QString handedOver = HandedOverFileName();
    if (handedOver.isEmpty())
        return;
    ResetEditor();
    OpenDocument(handedOver);
}

void TForm2::reject()
{
    // Esc has no meaning in the editor; leaving it stores the entry, so only the close box
    // and "&Beenden" leave.
}

void TForm2::closeEvent(QCloseEvent* event)
{
    // QDialog::closeEvent would call reject(), which comes back here.
    if (!FormClose()) {
        event->ignore();
        return;
    }
    setResult(QDialog::Rejected);
    event->accept();
}

bool TForm2::FormClose()
{
    if (!HasDocument())
        return true;
    if (!StoreCurrentEntry(false))
        return false;
    ResetEditor();
    return true;
}

// ---- navigation ---------------------------------------------------------------------

void TForm2::ShowEntry(int i)
{
    LoadEntry(i);
    Label8->setText(QString::number(i));
    const QSignalBlocker block(ScrollBar1);
    ScrollBar1->setValue(i);
}

void TForm2::Beginn1Click()
{
    if (StoreCurrentEntry(false))
        ShowEntry(1);
    TrimFields();
}

void TForm2::Vorheriges1Click()
{
    if (StoreCurrentEntry(false)) {
        const std::optional<int> current = CurrentEntryNumber(QStringLiteral("003"));
        if (!current)
            return;
        if (*current > 1)
            ShowEntry(*current - 1);
    }
    TrimFields();
}

void TForm2::Nchstes1Click()
{
    if (StoreCurrentEntry(false)) {
        const std::optional<int> current = CurrentEntryNumber(QStringLiteral("004"));
        if (!current)
            return;
        const std::optional<int> last = LastEntryNumber(QStringLiteral("005"));
        if (!last)
            return;
        // New entries are begun only by storing with advance.
        if (*last > *current)
            ShowEntry(*current + 1);
    }
    TrimFields();
}

void TForm2::Letztes1Click()
{
    if (StoreCurrentEntry(false)) {
        const std::optional<int> last = LastEntryNumber(QStringLiteral("006"));
        if (!last)
            return;
        ShowEntry(*last);
    }
    TrimFields();
}

void TForm2::ScrollBar1Change(int position)
{
    const std::optional<int> current = CurrentEntryNumber(QStringLiteral("008"));
    if (!current || position == *current)
        return;
    if (HasDocument() && StoreCurrentEntry(false)) {
        ShowEntry(position);
        return;
    }
    const QSignalBlocker block(ScrollBar1);
    ScrollBar1->setValue(*current);
}

void TForm2::Button1Click()
{
    StoreCurrentEntry(true);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // A field would take Ctrl+V and Ctrl+X as paste and cut; here they are the menu's
        // "Einträge vertauschen" and "Beenden".
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::ControlModifier && (key->key() == Qt::Key_V || key->key() == Qt::Key_X)) {
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (int k = 0; k < kEntryFields; ++k) {
                if (watched == Field(k)) {
                    EditKeyDown(k);
                    return true;  // handled here; nothing else sees the Enter
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::EditKeyDown(int field)
{
    const bool synonyms = NachSynonymenfragen1->isChecked();
    const bool remark = NacheinerBeschreibungfragen1->isChecked();
    switch (field) {
        case 0: Edit2->setFocus(); break;
        case 1: Edit3->setFocus(); break;
        case 2:
            if (synonyms)
                Edit4->setFocus();
            else if (remark)
                Edit5->setFocus();
            else
                StoreCurrentEntry(true);
            break;
        case 3:
            if (remark)
                Edit5->setFocus();
            else
                StoreCurrentEntry(true);
            break;
        default: StoreCurrentEntry(true); break;
    }
}

// ---- entry editing ------------------------------------------------------------------

void TForm2::InsertEntry()
{
    // Storing also writes a new entry that was only on screen: from here on the file holds
    // `last` entries.
    if (!StoreCurrentEntry(false))
        return;
    const std::optional<int> last = LastEntryNumber(QStringLiteral("012"));
    if (!last)
        return;
    const std::optional<int> current = CurrentEntryNumber(QStringLiteral("013"));
    if (!current)
        return;
    if (!InsertBlankRecord(file_, *current, *last)) {
        ShowError(this, WriteErrorText());
        // Show what the file holds now.
        ShowCounters(*current, file_.entryCount());
        LoadEntry(*current);
        return;
    }
    ShowCounters(*current, *last + 1);
    LoadEntry(*current);
    Edit1->setFocus();
}

void TForm2::DeleteEntry()
{
    // No store first: the entry is discarded.
    const std::optional<int> current = CurrentEntryNumber(QStringLiteral("014"));
    if (!current)
        return;
    const std::optional<int> last = LastEntryNumber(QStringLiteral("010"));
    if (!last)
        return;
    if (*last == 1) {
        ShowError(this, QStringLiteral("Es muß mindestens ein Eintrag nach dem Löschen "
                                       "übrigbleiben!"));
        return;
    }
    // Deleting would replace whatever file now has the name.
    if (!FileIsAsKnown())
        return;
    if (!AskYesNo(this, QStringLiteral("Der aktuelle Eintrag wird gelöscht.\nSicher?")))
        return;

    const int shown = *current == *last ? *current - 1 : *current;
    // A new entry begun by storing with advance is not in the file yet: dropping the file's
    // last record would lose a real entry.
    const bool onlyOnScreen = *current == *last && file_.entryCount() == *last - 1;
    if (!onlyOnScreen) {
        DeleteResult result;
        {
            const WaitCursor wait;
            result = DeleteRecord(file_, *current, *last);
        }
        if (!file_.isOpen()) {
            // The file could not be opened again: no document is left to show.
            ShowError(this, result != DeleteResult::Deleted ? DeleteMessage(result)
                            : file_.inUse()                 ? InUseText()
                                            : QStringLiteral("Fehler beim Öffnen der Datei!"));
            ResetEditor();
            return;
        }
        if (result == DeleteResult::Changed) {
            ShowError(this, DeleteMessage(result));
            ReloadCounters();
            return;
        }
        if (result != DeleteResult::Deleted) {
            ShowError(this, DeleteMessage(result));
            // The entry was not removed; show the file as it is now.
            ShowCounters(*current, file_.entryCount());
            LoadEntry(*current);
            return;
        }
    }
    ShowCounters(shown, *last - 1);
    LoadEntry(shown);
}

void TForm2::ExchangeEntries()
{
    if (StoreCurrentEntry(false))
        ExchangeNumberedEntries();
    TrimFields();
}

void TForm2::ExchangeNumberedEntries()
{
    Edit6->setText(TrimBlanks(Edit6->text()));
    Edit7->setText(TrimBlanks(Edit7->text()));
    const int a = NumberOrMinus100(Edit6->text());
    const int b = NumberOrMinus100(Edit7->text());
    if (a < 1 || b < 1) {
        ShowError(this, InvalidSwapText());
        return;
    }
    if (a == b) {
        ShowNotice(this, QStringLiteral("Vertauschen ergibt keinen Sinn!"));
        return;
    }
    const std::optional<int> last = LastEntryNumber(QStringLiteral("015"));
    if (!last)
        return;
    const std::optional<int> current = CurrentEntryNumber(QStringLiteral("016"));
    if (!current)
        return;
    if (a > *last || b > *last) {
        ShowError(this, InvalidSwapText());
        return;
    }
    if (!SwapRecords(file_, a, b))
        ShowError(this, WriteErrorText());
    // When the current entry took part, the fields now show the one that took its place.
    LoadEntry(*current);
    Edit1->setFocus();
}

void TForm2::Eintrageinfgen1Click()
{
    InsertEntry();
}

void TForm2::Eintraglschen1Click()
{
    DeleteEntry();
}

void TForm2::Links1Click()
{
    Edit6->setText(Label8->text());
}

void TForm2::Rechts1Click()
{
    Edit7->setText(Label8->text());
}

void TForm2::Vertauschen1Click()
{
    ExchangeEntries();
}

// ---- accessories and options --------------------------------------------------------

void TForm2::Lektionenbersicht1Click()
{
    if (!StoreCurrentEntry(false))
        return;
    TrimFields();
    if (Form3)
        Form3->ShowOverview(file_);
}

void TForm2::DateiInformationen1Click()
{
    if (!StoreCurrentEntry(false))
        return;
    TrimFields();
    if (Form4)
        Form4->ShowForEditor(file_);
    // The dialog has said so when it found the file changed.
    if (file_.changedElsewhere())
        ReloadCounters();
}

void TForm2::NachSynonymenfragen1Click()
{
    WriteSynonyme(NachSynonymenfragen1->isChecked());
}

void TForm2::NacheinerBeschreibungfragen1Click()
{
    WriteBeschreibung(NacheinerBeschreibungfragen1->isChecked());
}

void TForm2::SchriftartMSSansSerif1Click()
{
    WriteFont(QStringLiteral("MS Sans Serif"));
    ApplyFieldFonts();
}

void TForm2::SchriftartSymbol1Click()
{
    WriteFont(QStringLiteral("Symbol"));
    ApplyFieldFonts();
}

void TForm2::Voreinstellungen1Click()
{
    if (Form7)
        Form7->exec();
    // The preferences may change the field fonts.
    ApplyFieldFonts();
}

void TForm2::LernkompassHilfe1Click()
{
    ShowHelpFile(this);
}

void TForm2::HomepagevonLernkompass1Click()
{
    OpenProductSite();
}

void TForm2::HomepagedesAutors1Click()
{
    OpenAuthorSite();
}

void TForm2::Info1Click()
{
    if (Form9)
        Form9->exec();
}
