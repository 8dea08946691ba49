#include "Editor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
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

namespace {

QString NoFileText()
{
    return QStringLiteral("(keine ausgewählt)");
}

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

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& title)
{
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& text,
                 const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

QToolButton* MakeButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                        const QString& hint, const QRect& place = {})
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    // Like every command, reachable through the menus and their keys.
    button->setFocusPolicy(Qt::NoFocus);
    if (!place.isNull())
        button->setGeometry(place);
    return button;
}

QPushButton* MakePushButton(QWidget* parent, const char* name, const QString& text,
                            const QString& hint, const QRect& place)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    // Enter belongs to the fields; it must not click a button as well.
    button->setAutoDefault(false);
    button->setGeometry(place);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    return edit;
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
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Vokabel-Editor"));

    // Menus.
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Datei1 = AddMenu(MainMenu1, "Datei1", QStringLiteral("&Datei"));
    Neu = AddItem(Datei1, "Neu", QStringLiteral("&Neu ..."), Qt::CTRL | Qt::Key_N);
    Oeffnen = AddItem(Datei1, "Oeffnen", QStringLiteral("&Öffnen ..."), Qt::CTRL | Qt::Key_O);
    Schlieenohnespeichern1 = AddItem(Datei1, "Schlieenohnespeichern1", QStringLiteral("&Schließen"),
                                     Qt::CTRL | Qt::Key_Q);
    Datei1->addSeparator();
    Beenden1 = AddItem(Datei1, "Beenden1", QStringLiteral("&Beenden"), Qt::CTRL | Qt::Key_X);

    Steuerung1 = AddMenu(MainMenu1, "Steuerung1", QStringLiteral("&Steuerung"));
    Beginn1 = AddItem(Steuerung1, "Beginn1", QStringLiteral("&Beginn"), Qt::Key_F1);
    Vorheriges1 =
        AddItem(Steuerung1, "Vorheriges1", QStringLiteral("&Vorheriger Eintrag"), Qt::Key_F2);
    Nchstes1 = AddItem(Steuerung1, "Nchstes1", QStringLiteral("&Nächster Eintrag"), Qt::Key_F3);
    Letztes1 = AddItem(Steuerung1, "Letztes1", QStringLiteral("&Ende"), Qt::Key_F4);

    EditorFunktionen1 =
        AddMenu(MainMenu1, "EditorFunktionen1", QStringLiteral("&Editor-Funktionen"));
    Eintrageinfgen1 = AddItem(EditorFunktionen1, "Eintrageinfgen1",
                              QStringLiteral("Eintrag &einfügen"), Qt::Key_F5);
    Eintraglschen1 = AddItem(EditorFunktionen1, "Eintraglschen1",
                             QStringLiteral("Eintrag l&öschen"), Qt::Key_F6);
    EditorFunktionen1->addSeparator();
    Links1 = AddItem(EditorFunktionen1, "Links1", QStringLiteral("&Linkes Vertauschfeld belegen"),
                     Qt::Key_F7);
    Rechts1 = AddItem(EditorFunktionen1, "Rechts1",
                      QStringLiteral("&Rechtes Vertauschfeld belegen"), Qt::Key_F8);
    EditorFunktionen1->addSeparator();
    Vertauschen1 = AddItem(EditorFunktionen1, "Vertauschen1",
                           QStringLiteral("Einträge &vertauschen"), Qt::CTRL | Qt::Key_V);

    Zubehr1 = AddMenu(MainMenu1, "Zubehr1", QStringLiteral("&Zubehör"));
    Lektionenbersicht1 =
        AddItem(Zubehr1, "Lektionenbersicht1", QStringLiteral("&Lektionen-Übersicht"), Qt::Key_F9);
    DateiInformationen1 = AddItem(Zubehr1, "DateiInformationen1",
                                  QStringLiteral("&Datei-Informationen"), Qt::Key_F10);

    Optionen1 = AddMenu(MainMenu1, "Optionen1", QStringLiteral("&Optionen"));
    NachSynonymenfragen1 = AddItem(Optionen1, "NachSynonymenfragen1",
                                   QStringLiteral("Nach &Synonymen fragen"), Qt::Key_F11);
    NacheinerBeschreibungfragen1 =
        AddItem(Optionen1, "NacheinerBeschreibungfragen1",
                QStringLiteral("Nach einer &Beschreibung fragen"), Qt::Key_F12);
    for (QAction* tick : {NachSynonymenfragen1, NacheinerBeschreibungfragen1}) {
        tick->setCheckable(true);
        tick->setChecked(true);
    }
    Optionen1->addSeparator();
    SchriftartMSSansSerif1 =
        AddItem(Optionen1, "SchriftartMSSansSerif1", QStringLiteral("Schriftart: MS Sans Serif"),
                Qt::SHIFT | Qt::Key_F1);
    SchriftartSymbol1 = AddItem(Optionen1, "SchriftartSymbol1",
                                QStringLiteral("Schriftart: Symbol"), Qt::SHIFT | Qt::Key_F2);
    Optionen1->addSeparator();
    Voreinstellungen1 = AddItem(Optionen1, "Voreinstellungen1", QStringLiteral("&Voreinstellungen"),
                                Qt::SHIFT | Qt::Key_F12);

    // Qt cannot right-align one title of a menu bar; a second bar in the corner can.
    HelpMenuBar = new QMenuBar(MainMenu1);
    HelpMenuBar->setObjectName(QStringLiteral("HelpMenuBar"));
    Hilfe1 = AddMenu(HelpMenuBar, "Hilfe1", QStringLiteral("&Hilfe"));
    LernkompassHilfe1 = AddItem(Hilfe1, "LernkompassHilfe1", QStringLiteral("&Lernkompass-Hilfe"));
    Hilfe1->addSeparator();
    HomepagevonLernkompass1 =
        AddItem(Hilfe1, "HomepagevonLernkompass1", QStringLiteral("Homepage von L&ernkompass"));
    HomepagedesAutors1 =
        AddItem(Hilfe1, "HomepagedesAutors1", QStringLiteral("Homepage des &Autors"));
    Hilfe1->addSeparator();
    Info1 = AddItem(Hilfe1, "Info1", QStringLiteral("&Info ..."));
    MainMenu1->setCornerWidget(HelpMenuBar, Qt::TopRightCorner);
    JoinMenuBars(MainMenu1, HelpMenuBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    layout->addWidget(client);
    setFixedSize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());

    // Tool bar.
    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(0, 0, kClientWidth, 32);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolButton1 =
        MakeButton(client, "ToolButton1", QStyle::SP_FileDialogStart, QStringLiteral("Neu"));
    ToolButton2 =
        MakeButton(client, "ToolButton2", QStyle::SP_DialogOpenButton, QStringLiteral("Öffnen"));
    ToolButton3 = MakeButton(client, "ToolButton3", QStyle::SP_DialogCancelButton,
                             QStringLiteral("Schließen"));
    ToolButton7 = MakeButton(client, "ToolButton7", QStyle::SP_FileDialogContentsView,
                             QStringLiteral("Lektionen-Übersicht"));
    ToolButton8 = MakeButton(client, "ToolButton8", QStyle::SP_FileDialogInfoView,
                             QStringLiteral("Datei-Informationen"));
    ToolButton5 = MakeButton(client, "ToolButton5", QStyle::SP_ComputerIcon,
                             QStringLiteral("Voreinstellungen"));
    ToolButton10 =
        MakeButton(client, "ToolButton10", QStyle::SP_BrowserStop, QStringLiteral("Beenden"));
    for (QToolButton* b : {ToolButton1, ToolButton2, ToolButton3}) ToolBar1->addWidget(b);
    ToolBar1->addSeparator();
    for (QToolButton* b : {ToolButton7, ToolButton8}) ToolBar1->addWidget(b);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton5);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton10);

    // File line.
    Label1 =
        MakeLabel(client, "Label1", QStringLiteral("Ausgewählte Datei:"), QRect(12, 40, 110, 20));
    Label1->adjustSize();
    Label2 = MakeLabel(client, "Label2", NoFileText(), QRect(0, 40, 0, 20));
    Label2->setGeometry(Label1->x() + Label1->width() + 6, 40,
                        kClientWidth - 12 - (Label1->x() + Label1->width() + 6), 20);
    // Value labels keep their text as what a screen reader says; the caption describes it.
    Label2->setAccessibleDescription(QStringLiteral("Ausgewählte Datei"));

    // The five fields in a raised frame.
    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setGeometry(8, 66, kClientWidth - 16, 210);
    const char* const labelNames[] = {"Label3", "Label4", "Label5", "Label6", "Label7"};
    const QString labelTexts[] = {QStringLiteral("&Lektion:"), QStringLiteral("De&utsch:"),
                                  QStringLiteral("&Fremdsprache:"), QStringLiteral("S&ynonym(e):"),
                                  QStringLiteral("&Bemerkung:")};
    const char* const editNames[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"};
    QLabel** labels[] = {&Label3, &Label4, &Label5, &Label6, &Label7};
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    for (int k = 0; k < kEntryFields; ++k) {
        const int y = 12 + 32 * k;
        *labels[k] = MakeLabel(Panel1, labelNames[k], labelTexts[k], QRect(14, y + 2, 112, 20));
        QLineEdit* edit = MakeEdit(Panel1, editNames[k], QRect(130, y, Panel1->width() - 146, 24));
        edit->setMaxLength(kFieldWidth);
        edit->setValidator(new LoadedFieldValidator(edit));
        edit->installEventFilter(this);
        InstallShortcutKeys(edit);
        (*labels[k])->setBuddy(edit);
        *edits[k] = edit;
    }
    Button1 = MakePushButton(Panel1, "Button1", QStringLiteral("&Eintrag übernehmen"),
                             QStringLiteral("Vokabel abspeichern"),
                             QRect(Panel1->width() - 16 - 160, 172, 160, 28));

    // Navigation and counters.
    GroupBox1 = new QGroupBox(QStringLiteral("Steuerung"), client);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 284, 250, 150);
    SpeedButton1 = MakeButton(GroupBox1, "SpeedButton1", QStyle::SP_MediaSkipBackward,
                              QStringLiteral("Beginn"), QRect(12, 22, 36, 28));
    SpeedButton2 = MakeButton(GroupBox1, "SpeedButton2", QStyle::SP_MediaSeekBackward,
                              QStringLiteral("Vorheriger Eintrag"), QRect(52, 22, 36, 28));
    SpeedButton3 = MakeButton(GroupBox1, "SpeedButton3", QStyle::SP_MediaSeekForward,
                              QStringLiteral("Nächster Eintrag"), QRect(92, 22, 36, 28));
    SpeedButton4 = MakeButton(GroupBox1, "SpeedButton4", QStyle::SP_MediaSkipForward,
                              QStringLiteral("Ende"), QRect(132, 22, 36, 28));
    Label9 = MakeLabel(GroupBox1, "Label9", QStringLiteral("Aktueller Eintrag:"),
                       QRect(12, 58, 110, 18));
    Label8 = MakeLabel(GroupBox1, "Label8", QStringLiteral("0"), QRect(12, 76, 110, 18));
    Label10 = MakeLabel(GroupBox1, "Label10", QStringLiteral("Letzter Eintrag:"),
                        QRect(130, 58, 110, 18));
    Label11 = MakeLabel(GroupBox1, "Label11", QStringLiteral("0"), QRect(130, 76, 110, 18));
    Label8->setAccessibleDescription(QStringLiteral("Aktueller Eintrag"));
    Label11->setAccessibleDescription(QStringLiteral("Letzter Eintrag"));
    for (QLabel* counter : {Label8, Label11}) {
        QFont bold = counter->font();
        bold.setBold(true);
        counter->setFont(bold);
    }
    ScrollBar1 = new QScrollBar(Qt::Horizontal, GroupBox1);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(12, 108, 226, 20);
    ScrollBar1->setRange(1, 1);
    ScrollBar1->setPageStep(10);
    ScrollBar1->setAccessibleName(QStringLiteral("Eintrag auswählen"));
    // Scroll bars take no focus by default; this one is the keyboard's way to jump far.
    ScrollBar1->setFocusPolicy(Qt::StrongFocus);

    // Insertion and deletion.
    GroupBox2 = new QGroupBox(QStringLiteral("Sonderfunktionen"), client);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(266, 284, 140, 150);
    Button2 = MakePushButton(GroupBox2, "Button2", QStringLiteral("Eintrag einfügen"),
                             QStringLiteral("Eintrag vor dem aktuellen Eintrag einfügen"),
                             QRect(12, 34, 116, 30));
    Button3 = MakePushButton(GroupBox2, "Button3", QStringLiteral("Eintrag löschen"),
                             QStringLiteral("Aktuellen Eintrag löschen"), QRect(12, 80, 116, 30));

    // Exchange of two entries by number.
    GroupBox3 = new QGroupBox(QStringLiteral("Einträge vertauschen"), client);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(414, 284, kClientWidth - 8 - 414, 150);
    Edit6 = MakeEdit(GroupBox3, "Edit6", QRect(12, 28, 68, 24));
    Edit7 = MakeEdit(GroupBox3, "Edit7", QRect(91, 28, 68, 24));
    Edit6->setAccessibleName(QStringLiteral("Linkes Vertauschfeld"));
    Edit7->setAccessibleName(QStringLiteral("Rechtes Vertauschfeld"));
    for (QLineEdit* edit : {Edit6, Edit7}) edit->installEventFilter(this);
    SpeedButton5 =
        MakeButton(GroupBox3, "SpeedButton5", QStyle::SP_ArrowUp,
                   QStringLiteral("Linkes Vertauschfeld belegen"), QRect(12, 58, 68, 26));
    SpeedButton6 =
        MakeButton(GroupBox3, "SpeedButton6", QStyle::SP_ArrowUp,
                   QStringLiteral("Rechtes Vertauschfeld belegen"), QRect(91, 58, 68, 26));
    SpeedButton7 = MakeButton(GroupBox3, "SpeedButton7", QStyle::SP_BrowserReload,
                              QStringLiteral("Einträge vertauschen"), QRect(12, 96, 147, 30));
    // A large system font grows the client area; the window follows it.
    GrowWithFont(client);
    setFixedSize(client->width(), client->height() + MainMenu1->sizeHint().height());
    const int valueLeft = Label1->x() + Label1->width() + 6;  // the name follows its caption
    Label2->setGeometry(valueLeft, Label2->y(), client->width() - Label1->x() - valueLeft,
                        Label2->height());

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
    for (QWidget* w : {ToolButton1, ToolButton2}) w->setEnabled(!open);
    Neu->setEnabled(!open);
    Oeffnen->setEnabled(!open);
    Schlieenohnespeichern1->setEnabled(open);
    // The items too, so that their keys do nothing without a document.
    for (QMenu* menu : {Steuerung1, EditorFunktionen1, Zubehr1}) {
        menu->menuAction()->setEnabled(open);
        for (QAction* item : menu->actions()) item->setEnabled(open);
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
    for (int k = 0; k < kEntryFields; ++k) Field(k)->clear();
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
    for (int k = 0; k < kEntryFields; ++k) entry.field(k) = Field(k)->text();
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
        for (int k = 1; k < kEntryFields; ++k) Field(k)->clear();
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
    const std::optional<QString> chosen = Platform::instance().openFileName(
        this, QStringLiteral("Neu"), FileFilter(), ReadCurrentDirectory(), FileChoice::MayBeNew);
    if (!chosen) {
        ShowError(this, QStringLiteral("Fehler beim Erzeugen der Datei!"));
        return;
    }
    WriteCurrentDirectory(DirectoryPart(*chosen));
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
    const std::optional<QString> chosen = Platform::instance().openFileName(
        this, QStringLiteral("Öffnen"), FileFilter(), ReadCurrentDirectory());
    if (!chosen) {
        ShowError(this, QStringLiteral("Fehler beim Öffnen der Datei!"));
        return;
    }
    WriteCurrentDirectory(DirectoryPart(*chosen));
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
