#include "Editor.h"

#include "app/Forms.h"
#include "app/Widgets.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The editor's fixed layout: its controls, menus and tool bar. What they do is connected in
// Editor.cpp.

void TForm2::BuildLayout()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Vokabel-Editor"));

    // ---- Menus -------------------------------------------------------------------------
    // Per menu: its commands, then its items in order. A new command gets a member in
    // Editor.h, its item here, and its handler connected in Editor.cpp.
    MainMenu1 = Named<QMenuBar>(this, "MainMenu1");
    const auto menu = [](QMenuBar* bar, const char* name, const QString& title) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    Datei1 = menu(MainMenu1, "Datei1", QStringLiteral("&Datei"));
    Neu = Command(Datei1, "Neu", QStringLiteral("&Neu ..."), Qt::CTRL | Qt::Key_N);
    Oeffnen = Command(Datei1, "Oeffnen", QStringLiteral("&Öffnen ..."), Qt::CTRL | Qt::Key_O);
    Schlieenohnespeichern1 = Command(Datei1, "Schlieenohnespeichern1", QStringLiteral("&Schließen"),
                                     Qt::CTRL | Qt::Key_Q);
    Beenden1 = Command(Datei1, "Beenden1", QStringLiteral("&Beenden"), Qt::CTRL | Qt::Key_X);
    Datei1->addActions({Neu, Oeffnen, Schlieenohnespeichern1});
    Datei1->addSeparator();
    Datei1->addAction(Beenden1);

    Steuerung1 = menu(MainMenu1, "Steuerung1", QStringLiteral("&Steuerung"));
    Beginn1 = Command(Steuerung1, "Beginn1", QStringLiteral("&Beginn"), Qt::Key_F1);
    Vorheriges1 =
        Command(Steuerung1, "Vorheriges1", QStringLiteral("&Vorheriger Eintrag"), Qt::Key_F2);
    Nchstes1 = Command(Steuerung1, "Nchstes1", QStringLiteral("&Nächster Eintrag"), Qt::Key_F3);
    Letztes1 = Command(Steuerung1, "Letztes1", QStringLiteral("&Ende"), Qt::Key_F4);
    Steuerung1->addActions({Beginn1, Vorheriges1, Nchstes1, Letztes1});

    EditorFunktionen1 = menu(MainMenu1, "EditorFunktionen1", QStringLiteral("&Editor-Funktionen"));
    Eintrageinfgen1 = Command(EditorFunktionen1, "Eintrageinfgen1",
                              QStringLiteral("Eintrag &einfügen"), Qt::Key_F5);
    Eintraglschen1 = Command(EditorFunktionen1, "Eintraglschen1",
                             QStringLiteral("Eintrag l&öschen"), Qt::Key_F6);
    Links1 = Command(EditorFunktionen1, "Links1", QStringLiteral("&Linkes Vertauschfeld belegen"),
                     Qt::Key_F7);
    Rechts1 = Command(EditorFunktionen1, "Rechts1",
                      QStringLiteral("&Rechtes Vertauschfeld belegen"), Qt::Key_F8);
    Vertauschen1 = Command(EditorFunktionen1, "Vertauschen1",
                           QStringLiteral("Einträge &vertauschen"), Qt::CTRL | Qt::Key_V);
    EditorFunktionen1->addActions({Eintrageinfgen1, Eintraglschen1});
    EditorFunktionen1->addSeparator();
    EditorFunktionen1->addActions({Links1, Rechts1});
    EditorFunktionen1->addSeparator();
    EditorFunktionen1->addAction(Vertauschen1);

    Zubehr1 = menu(MainMenu1, "Zubehr1", QStringLiteral("&Zubehör"));
    Lektionenbersicht1 =
        Command(Zubehr1, "Lektionenbersicht1", QStringLiteral("&Lektionen-Übersicht"), Qt::Key_F9);
    DateiInformationen1 = Command(Zubehr1, "DateiInformationen1",
                                  QStringLiteral("&Datei-Informationen"), Qt::Key_F10);
    Zubehr1->addActions({Lektionenbersicht1, DateiInformationen1});

    Optionen1 = menu(MainMenu1, "Optionen1", QStringLiteral("&Optionen"));
    NachSynonymenfragen1 = Command(Optionen1, "NachSynonymenfragen1",
                                   QStringLiteral("Nach &Synonymen fragen"), Qt::Key_F11);
    NacheinerBeschreibungfragen1 =
        Command(Optionen1, "NacheinerBeschreibungfragen1",
                QStringLiteral("Nach einer &Beschreibung fragen"), Qt::Key_F12);
    for (QAction* tick : {NachSynonymenfragen1, NacheinerBeschreibungfragen1}) {
        tick->setCheckable(true);
        tick->setChecked(true);
    }
    Optionen1->addActions({NachSynonymenfragen1, NacheinerBeschreibungfragen1});
    AddFontItems(Optionen1, {SchriftartMSSansSerif1, SchriftartSymbol1, Voreinstellungen1});

    AddHelpMenu(MainMenu1, {HelpMenuBar, Hilfe1, LernkompassHilfe1, HomepagevonLernkompass1,
                            HomepagedesAutors1, Info1});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    auto* client = Named<QWidget>(this, "ClientArea");
    client->setFixedSize(kClientWidth, kClientHeight);
    layout->addWidget(client);
    setFixedSize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());

    // ---- Tool bar ------------------------------------------------------------------------
    ToolBar1 = Named<QToolBar>(client, "ToolBar1");
    ToolBar1->setGeometry(0, 0, kClientWidth, 32);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolButton1 =
        CommandButton(client, "ToolButton1", QStyle::SP_FileDialogStart, QStringLiteral("Neu"));
    ToolButton2 =
        CommandButton(client, "ToolButton2", QStyle::SP_DialogOpenButton, QStringLiteral("Öffnen"));
    ToolButton3 = CommandButton(client, "ToolButton3", QStyle::SP_DialogCancelButton,
                                QStringLiteral("Schließen"));
    ToolButton7 = CommandButton(client, "ToolButton7", QStyle::SP_FileDialogContentsView,
                                QStringLiteral("Lektionen-Übersicht"));
    ToolButton8 = CommandButton(client, "ToolButton8", QStyle::SP_FileDialogInfoView,
                                QStringLiteral("Datei-Informationen"));
    ToolButton5 = CommandButton(client, "ToolButton5", QStyle::SP_ComputerIcon,
                                QStringLiteral("Voreinstellungen"));
    ToolButton10 =
        CommandButton(client, "ToolButton10", QStyle::SP_BrowserStop, QStringLiteral("Beenden"));
    for (QToolButton* b : {ToolButton1, ToolButton2, ToolButton3})
        ToolBar1->addWidget(b);
    ToolBar1->addSeparator();
    for (QToolButton* b : {ToolButton7, ToolButton8})
        ToolBar1->addWidget(b);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton5);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(ToolButton10);

    // ---- File line -----------------------------------------------------------------------
    Label1 = Placed<QLabel>(client, "Label1", QRect(12, 40, 110, 20),
                            QStringLiteral("Ausgewählte Datei:"));
    Label1->adjustSize();
    Label2 = ValueLabel(client, "Label2", QStringLiteral("Ausgewählte Datei"), NoFileText());
    Label2->setGeometry(Label1->x() + Label1->width() + 6, 40,
                        kClientWidth - 12 - (Label1->x() + Label1->width() + 6), 20);

    // ---- The five fields in a raised frame -----------------------------------------------
    Panel1 = Placed<QFrame>(client, "Panel1", QRect(8, 66, kClientWidth - 16, 210));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setLineWidth(1);
    const char* const labelNames[] = {"Label3", "Label4", "Label5", "Label6", "Label7"};
    const QString labelTexts[] = {QStringLiteral("&Lektion:"), QStringLiteral("De&utsch:"),
                                  QStringLiteral("&Fremdsprache:"), QStringLiteral("S&ynonym(e):"),
                                  QStringLiteral("&Bemerkung:")};
    const char* const editNames[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"};
    QLabel** labels[] = {&Label3, &Label4, &Label5, &Label6, &Label7};
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    for (int k = 0; k < kEntryFields; ++k) {
        const int y = 12 + 32 * k;
        *labels[k] =
            Placed<QLabel>(Panel1, labelNames[k], QRect(14, y + 2, 112, 20), labelTexts[k]);
        QLineEdit* edit =
            Placed<QLineEdit>(Panel1, editNames[k], QRect(130, y, Panel1->width() - 146, 24));
        edit->setMaxLength(kFieldWidth);
        edit->setValidator(new LoadedFieldValidator(edit));
        (*labels[k])->setBuddy(edit);
        *edits[k] = edit;
    }
    Button1 =
        Placed<QPushButton>(Panel1, "Button1", QRect(Panel1->width() - 16 - 160, 172, 160, 28),
                            QStringLiteral("&Eintrag übernehmen"));
    Button1->setToolTip(QStringLiteral("Vokabel abspeichern"));

    // ---- Navigation and counters ---------------------------------------------------------
    GroupBox1 = Placed<QGroupBox>(client, "GroupBox1", QRect(8, 284, 250, 150),
                                  QStringLiteral("Steuerung"));
    const struct {
        QToolButton*& button;
        const char* name;
        QStyle::StandardPixmap icon;
        QString hint;
    } steps[] = {
        {SpeedButton1, "SpeedButton1", QStyle::SP_MediaSkipBackward, QStringLiteral("Beginn")},
        {SpeedButton2, "SpeedButton2", QStyle::SP_MediaSeekBackward,
         QStringLiteral("Vorheriger Eintrag")},
        {SpeedButton3, "SpeedButton3", QStyle::SP_MediaSeekForward,
         QStringLiteral("Nächster Eintrag")},
        {SpeedButton4, "SpeedButton4", QStyle::SP_MediaSkipForward, QStringLiteral("Ende")},
    };
    int left = 12;
    for (const auto& step : steps) {
        step.button = CommandButton(GroupBox1, step.name, step.icon, step.hint);
        step.button->setGeometry(left, 22, 36, 28);
        left += 40;
    }
    Label9 = Placed<QLabel>(GroupBox1, "Label9", QRect(12, 58, 110, 18),
                            QStringLiteral("Aktueller Eintrag:"));
    Label8 =
        ValueLabel(GroupBox1, "Label8", QStringLiteral("Aktueller Eintrag"), QStringLiteral("0"));
    Label8->setGeometry(12, 76, 110, 18);
    Label10 = Placed<QLabel>(GroupBox1, "Label10", QRect(130, 58, 110, 18),
                             QStringLiteral("Letzter Eintrag:"));
    Label11 =
        ValueLabel(GroupBox1, "Label11", QStringLiteral("Letzter Eintrag"), QStringLiteral("0"));
    Label11->setGeometry(130, 76, 110, 18);
    for (QLabel* counter : {Label8, Label11}) {
        QFont bold = counter->font();
        bold.setBold(true);
        counter->setFont(bold);
    }
    ScrollBar1 =
        Placed<QScrollBar>(GroupBox1, "ScrollBar1", QRect(12, 108, 226, 20), Qt::Horizontal);
    ScrollBar1->setRange(1, 1);
    ScrollBar1->setPageStep(10);
    ScrollBar1->setAccessibleName(QStringLiteral("Eintrag auswählen"));
    // Scroll bars take no focus by default; this one is the keyboard's way to jump far.
    ScrollBar1->setFocusPolicy(Qt::StrongFocus);

    // ---- Insertion and deletion ----------------------------------------------------------
    GroupBox2 = Placed<QGroupBox>(client, "GroupBox2", QRect(266, 284, 140, 150),
                                  QStringLiteral("Sonderfunktionen"));
    Button2 = Placed<QPushButton>(GroupBox2, "Button2", QRect(12, 34, 116, 30),
                                  QStringLiteral("Eintrag einfügen"));
    Button2->setToolTip(QStringLiteral("Eintrag vor dem aktuellen Eintrag einfügen"));
    Button3 = Placed<QPushButton>(GroupBox2, "Button3", QRect(12, 80, 116, 30),
                                  QStringLiteral("Eintrag löschen"));
    Button3->setToolTip(QStringLiteral("Aktuellen Eintrag löschen"));
    // Enter belongs to the fields; it must not click a button as well.
    for (QPushButton* button : {Button1, Button2, Button3})
        button->setAutoDefault(false);

    // ---- Exchange of two entries by number -----------------------------------------------
    GroupBox3 = Placed<QGroupBox>(client, "GroupBox3", QRect(414, 284, kClientWidth - 8 - 414, 150),
                                  QStringLiteral("Einträge vertauschen"));
    Edit6 = Placed<QLineEdit>(GroupBox3, "Edit6", QRect(12, 28, 68, 24));
    Edit7 = Placed<QLineEdit>(GroupBox3, "Edit7", QRect(91, 28, 68, 24));
    Edit6->setAccessibleName(QStringLiteral("Linkes Vertauschfeld"));
    Edit7->setAccessibleName(QStringLiteral("Rechtes Vertauschfeld"));
    SpeedButton5 = CommandButton(GroupBox3, "SpeedButton5", QStyle::SP_ArrowUp,
                                 QStringLiteral("Linkes Vertauschfeld belegen"));
    SpeedButton5->setGeometry(12, 58, 68, 26);
    SpeedButton6 = CommandButton(GroupBox3, "SpeedButton6", QStyle::SP_ArrowUp,
                                 QStringLiteral("Rechtes Vertauschfeld belegen"));
    SpeedButton6->setGeometry(91, 58, 68, 26);
    SpeedButton7 = CommandButton(GroupBox3, "SpeedButton7", QStyle::SP_BrowserReload,
                                 QStringLiteral("Einträge vertauschen"));
    SpeedButton7->setGeometry(12, 96, 147, 30);

    // Captions and values alike show their text as it is.
    for (QLabel* label : client->findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    // A large system font grows the client area; the window follows it.
    GrowWithFont(client);
    setFixedSize(client->width(), client->height() + MainMenu1->sizeHint().height());
    const int valueLeft = Label1->x() + Label1->width() + 6;  // the name follows its caption
    Label2->setGeometry(valueLeft, Label2->y(), client->width() - Label1->x() - valueLeft,
                        Label2->height());
}
