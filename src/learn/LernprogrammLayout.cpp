#include "Lernprogramm.h"

#include "app/Forms.h"
#include "app/Widgets.h"

#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

// The learning window's fixed layout: its controls, menus and tool bar. What they do is
// connected in Lernprogramm.cpp.

namespace {

constexpr int kToolBarHeight = 30;

void SetBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

}  // namespace

void TForm5::BuildLayout()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Lernprogramm"));

    // ---- Menus -------------------------------------------------------------------------
    // Per menu: its commands, then its items in order. A new command gets a member in
    // Lernprogramm.h, its item here, and its handler connected in Lernprogramm.cpp.
    MainMenu1 = Named<QMenuBar>(this, "MainMenu1");
    Datei1 = MainMenu1->addMenu(QStringLiteral("&Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Dateiffnen1 = Command(this, "Dateiffnen1", QStringLiteral("&Öffnen ..."),
                          QKeySequence(Qt::CTRL | Qt::Key_O));
    Dateischlieen1 = Command(this, "Dateischlieen1", QStringLiteral("&Schließen ..."),
                             QKeySequence(Qt::CTRL | Qt::Key_Q));
    Abbrechen1 = Command(this, "Abbrechen1", QStringLiteral("&Abbrechen"),
                         QKeySequence(Qt::CTRL | Qt::Key_A));
    Beenden1 =
        Command(this, "Beenden1", QStringLiteral("&Beenden"), QKeySequence(Qt::CTRL | Qt::Key_X));
    Datei1->addActions({Dateiffnen1, Dateischlieen1, Abbrechen1});
    Datei1->addSeparator();
    Datei1->addAction(Beenden1);

    Lernprogramm1 = MainMenu1->addMenu(QStringLiteral("&Lernprogramm"));
    Lernprogramm1->setObjectName(QStringLiteral("Lernprogramm1"));
    Lektion1 = Command(this, "Lektion1", QStringLiteral("&Lektion"), QKeySequence(Qt::Key_F1));
    Zufall1 = Command(this, "Zufall1", QStringLiteral("&Zufall"), QKeySequence(Qt::Key_F2));
    Statistik1 =
        Command(this, "Statistik1", QStringLiteral("&Statistik"), QKeySequence(Qt::Key_F3));
    DateiInformationen1 = Command(this, "DateiInformationen1",
                                  QStringLiteral("&Datei-Informationen"), QKeySequence(Qt::Key_F4));
    Lernprogramm1->addActions({Lektion1, Zufall1});
    Lernprogramm1->addSeparator();
    Lernprogramm1->addActions({Statistik1, DateiInformationen1});

    Optionen1 = MainMenu1->addMenu(QStringLiteral("O&ptionen"));
    Optionen1->setObjectName(QStringLiteral("Optionen1"));
    DeutschFremdsprache1 =
        Command(this, "DeutschFremdsprache1", QStringLiteral("&Deutsch -> Fremdsprache"),
                QKeySequence(Qt::Key_F5));
    FremdspracheDeutsch1 =
        Command(this, "FremdspracheDeutsch1", QStringLiteral("&Fremdsprache -> Deutsch"),
                QKeySequence(Qt::Key_F6));
    Richtung = new QActionGroup(this);
    Richtung->setExclusive(true);
    for (QAction* item : {DeutschFremdsprache1, FremdspracheDeutsch1}) {
        item->setCheckable(true);
        Richtung->addAction(item);
    }
    FalscheVokabelnautomatischlschen1 =
        Command(this, "FalscheVokabelnautomatischlschen1",
                QStringLiteral("Falsche Vokabeln &automatisch löschen"), QKeySequence(Qt::Key_F7));
    GroundKleinschreibungignorieren1 =
        Command(this, "GroundKleinschreibungignorieren1",
                QStringLiteral("&Groß- und Kleinschreibung ignorieren"), QKeySequence(Qt::Key_F8));
    FalscheVokabelnautomatischlschen1->setCheckable(true);
    GroundKleinschreibungignorieren1->setCheckable(true);
    Optionen1->addActions({DeutschFremdsprache1, FremdspracheDeutsch1});
    Optionen1->addSeparator();
    Optionen1->addActions({FalscheVokabelnautomatischlschen1, GroundKleinschreibungignorieren1});
    AddFontItems(Optionen1, {SchriftartMSSansSerif1, SchriftartSymbol1, Voreinstellungen1});

    AddHelpMenu(MainMenu1, {HelpMenuBar, Hilfe1, LernkompassHilfe1, HomepagevonLernkompass1,
                            HomepagedesAutors1, Info1});

    // ---- Client area below the menu bar: tool bar, left column, right column -----------
    auto* client = Named<QWidget>(this, "Client");
    client->setFixedSize(kClientWidth, kClientHeight);

    ToolBar1 = Named<QToolBar>(client, "ToolBar1");
    ToolBar1->setGeometry(0, 0, kClientWidth, kToolBarHeight);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolBar1->setMovable(false);
    // ---- Tool bar: the menu commands used most, with their icons -------------------------
    const auto tool = [this](const char* name, QStyle::StandardPixmap icon, const QString& hint) {
        QToolButton* button = CommandButton(ToolBar1, name, icon, hint);
        button->setText(hint);
        button->setAutoRaise(true);
        ToolBar1->addWidget(button);
        return button;
    };
    ToolButton1 = tool("ToolButton1", QStyle::SP_DialogOpenButton, QStringLiteral("Datei öffnen"));
    ToolButton2 = tool("ToolButton2", QStyle::SP_DirClosedIcon, QStringLiteral("Datei schließen"));
    ToolButton13 =
        tool("ToolButton13", QStyle::SP_BrowserStop, QStringLiteral("Lerndurchgang abbrechen"));
    ToolBar1->addSeparator();
    ToolButton5 = tool("ToolButton5", QStyle::SP_MediaPlay, QStringLiteral("Lektion"));
    ToolButton3 = tool("ToolButton3", QStyle::SP_BrowserReload, QStringLiteral("Zufall"));
    ToolBar1->addSeparator();
    ToolButton7 =
        tool("ToolButton7", QStyle::SP_FileDialogDetailedView, QStringLiteral("Statistik"));
    ToolButton8 =
        tool("ToolButton8", QStyle::SP_FileDialogInfoView, QStringLiteral("Datei-Informationen"));
    ToolBar1->addSeparator();
    ToolButton11 =
        tool("ToolButton11", QStyle::SP_FileDialogContentsView, QStringLiteral("Voreinstellungen"));
    ToolButton11->setToolTip(QString());
    ToolBar1->addSeparator();
    ToolButton10 = tool("ToolButton10", QStyle::SP_DialogCancelButton, QStringLiteral("Beenden"));

    // ---- Left column: the file and the question ------------------------------------------
    // The values of all rows start at one edge,
    // right of the widest caption.
    constexpr int left = 8;
    constexpr int columnWidth = 488;
    // A value shows file contents of any length and never widens its layout.
    const auto valueLabel = [](QWidget* parent, const char* name, const QString& caption) {
        QLabel* label = ValueLabel(parent, name, caption);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        return label;
    };
    Label1 = Named<QLabel>(client, "Label1", QStringLiteral("Ausgewählte Datei:"));
    Label7 = valueLabel(client, "Label7", QStringLiteral("Ausgewählte Datei"));
    Label2 = Named<QLabel>(client, "Label2", QStringLiteral("Lektion:"));
    Label8 = valueLabel(client, "Label8", QStringLiteral("Lektion"));
    QFont boldFont = font();
    boldFont.setBold(true);
    const QFontMetrics plain(font());
    const int captionWidth =
        16 + std::max({plain.horizontalAdvance(Label1->text()),
                       plain.horizontalAdvance(QStringLiteral("Synonym(e):")),
                       QFontMetrics(boldFont).horizontalAdvance(QStringLiteral("Fremdsprache:"))});
    const int rowHeight = plain.height() + 4;
    Label1->setGeometry(left, 40, captionWidth, rowHeight);
    Label7->setGeometry(left + captionWidth, 40, columnWidth - captionWidth, rowHeight);
    Label2->setGeometry(left, 64, captionWidth, rowHeight);
    Label8->setGeometry(left + captionWidth, 64, columnWidth - captionWidth, rowHeight);

    Panel1 = Named<QFrame>(client, "Panel1");
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    QPalette grey = Panel1->palette();
    grey.setColor(QPalette::Window, QColor(210, 210, 210));
    Panel1->setPalette(grey);
    Panel1->setGeometry(left, 92, columnWidth, 132);
    auto* panelGrid = new QGridLayout(Panel1);
    constexpr int panelMargin = 8;
    constexpr int panelSpacing = 6;
    panelGrid->setContentsMargins(panelMargin, panelMargin, panelMargin, panelMargin);
    panelGrid->setHorizontalSpacing(panelSpacing);
    panelGrid->setColumnMinimumWidth(
        0, captionWidth - Panel1->frameWidth() - panelMargin - panelSpacing);
    panelGrid->setColumnStretch(1, 1);
    Label3 = Named<QLabel>(Panel1, "Label3", QStringLiteral("Synonym(e):"));
    Label9 = valueLabel(Panel1, "Label9", QStringLiteral("Synonyme"));
    Label4 = Named<QLabel>(Panel1, "Label4", QStringLiteral("Bemerkung:"));
    Label10 = valueLabel(Panel1, "Label10", QStringLiteral("Bemerkung"));
    Label5 = Named<QLabel>(Panel1, "Label5");
    SetBold(Label5);
    Label11 = valueLabel(Panel1, "Label11", QStringLiteral("Frage"));
    Label6 = Named<QLabel>(Panel1, "Label6");
    SetBold(Label6);
    Edit1 = Named<QLineEdit>(Panel1, "Edit1");
    Edit1->setMaxLength(kFieldWidth);
    Edit1->setValidator(new AnsiLineValidator(Edit1));
    Label6->setBuddy(Edit1);
    panelGrid->addWidget(Label3, 0, 0);
    panelGrid->addWidget(Label9, 0, 1);
    panelGrid->addWidget(Label4, 1, 0);
    panelGrid->addWidget(Label10, 1, 1);
    panelGrid->addWidget(Label5, 2, 0);
    panelGrid->addWidget(Label11, 2, 1);
    panelGrid->addWidget(Label6, 3, 0);
    panelGrid->addWidget(Edit1, 3, 1);

    // ---- Feedback frame below the panel ---------------------------------------------------
    Panel2 = Named<QFrame>(client, "Panel2");
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Panel2->setGeometry(left, 232, columnWidth, 151);
    auto* feedback = new QVBoxLayout(Panel2);
    feedback->setContentsMargins(8, 8, 8, 10);
    feedback->setSpacing(4);
    Label22 = Named<QLabel>(Panel2, "Label22");
    SetBold(Label22);
    Label22->setAlignment(Qt::AlignCenter);
    Label23 = Named<QLabel>(Panel2, "Label23", QStringLiteral("Die richtige Antwort lautet:"));
    QFont underlined = Label23->font();
    underlined.setUnderline(true);
    Label23->setFont(underlined);
    Label23->setAlignment(Qt::AlignCenter);
    Label24 = valueLabel(Panel2, "Label24", QStringLiteral("Richtige Antwort"));
    Label24->setAlignment(Qt::AlignCenter);
    Button1 = Named<QPushButton>(Panel2, "Button1", QStringLiteral("&OK"));
    Button2 = Named<QPushButton>(Panel2, "Button2", QStringLiteral("&Antwort löschen"));
    Button2->setToolTip(QStringLiteral("Antwort löschen"));
    Button3 = Named<QPushButton>(Panel2, "Button3", QStringLiteral("Antwort &nicht löschen"));
    Button3->setToolTip(QStringLiteral("Antwort nicht löschen"));
    for (QPushButton* button : {Button1, Button2, Button3}) {
        // Enter in the answer field must not click a feedback button.
        button->setAutoDefault(false);
        button->hide();
    }
    for (QLabel* label : {Label22, Label23, Label24})
        label->hide();
    feedback->addWidget(Label22);
    feedback->addWidget(Label23);
    feedback->addWidget(Label24);
    feedback->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addStretch(1);
    feedback->addLayout(buttons);

    // ---- Right column: counters, percentage, time -----------------------------------------
    constexpr int right = 504;
    constexpr int rightWidth = kClientWidth - right - 8;
    GroupBox1 = Named<QGroupBox>(client, "GroupBox1", QStringLiteral("Vokabel-Auswertung"));
    GroupBox1->setGeometry(right, 38, rightWidth, 170);
    auto* counters = new QGridLayout(GroupBox1);
    counters->setColumnStretch(1, 1);
    const struct {
        QLabel*& caption;
        const char* captionName;
        QString text;
        QLabel*& value;
        const char* valueName;
    } rows[] = {
        {Label12, "Label12", QStringLiteral("Insgesamt:"), Label13, "Label13"},
        {Label14, "Label14", QStringLiteral("Noch zu bearbeiten:"), Label15, "Label15"},
        {Label16, "Label16", QStringLiteral("Gewußt:"), Label17, "Label17"},
        {Label18, "Label18", QStringLiteral("Nicht gewußt:"), Label19, "Label19"},
        {Label20, "Label20", QStringLiteral("Gelöscht:"), Label21, "Label21"},
    };
    int row = 0;
    for (const auto& r : rows) {
        r.caption = Named<QLabel>(GroupBox1, r.captionName, r.text);
        r.value = valueLabel(GroupBox1, r.valueName, r.text.chopped(1));
        r.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counters->addWidget(r.caption, row, 0);
        counters->addWidget(r.value, row, 1);
        ++row;
    }
    SetBold(Label17);
    Label17->setStyleSheet(QStringLiteral("color: #008000;"));
    SetBold(Label19);
    Label19->setStyleSheet(QStringLiteral("color: #ff0000;"));

    GroupBox2 = Named<QGroupBox>(client, "GroupBox2", QStringLiteral("Prozentsatz"));
    GroupBox2->setGeometry(right, 218, rightWidth, 74);
    Label25 = valueLabel(GroupBox2, "Label25", QStringLiteral("Prozentsatz"));
    Label25->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(GroupBox2))->addWidget(Label25);

    GroupBox3 = Named<QGroupBox>(client, "GroupBox3", QStringLiteral("Zeit"));
    GroupBox3->setGeometry(right, 302, rightWidth, 81);
    Label26 = valueLabel(GroupBox3, "Label26", QStringLiteral("Zeit"));
    Label26->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(GroupBox3))->addWidget(Label26);

    // Captions and values alike show their text as it is.
    for (QLabel* label : client->findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);

    // A large system font grows the client area. The captions above the panel keep the width
    // of their texts, and their values start where the panel's values do.
    GrowWithFont(client);
    for (const auto& [caption, value] : {std::pair{Label1, Label7}, std::pair{Label2, Label8}}) {
        caption->resize(captionWidth, caption->height());
        value->setGeometry(caption->x() + captionWidth, value->y(),
                           Panel1->x() + Panel1->width() - caption->x() - captionWidth,
                           value->height());
    }

    Timer1 = Named<QTimer>(this, "Timer1");
    Timer1->setInterval(1000);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
