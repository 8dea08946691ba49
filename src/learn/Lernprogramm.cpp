#include "Lernprogramm.h"

#include "Lektionauswahl.h"
#include "StatisticsFile.h"
#include "Statistik.h"
#include "app/AnsiText.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/Help.h"
#include "app/Info.h"
#include "app/Platform.h"
#include "app/Preferences.h"
#include "app/SettingsStore.h"
#include "app/Shortcuts.h"
#include "app/Sound.h"
#include "app/Start.h"
#include "app/Widgets.h"
#include "checking/AnswerComparison.h"
#include "vocab/Dateiinfo.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QActionGroup>
#include <QFile>
#include <QGridLayout>
#include <QCursor>
#include <QGuiApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kDefaultFontName = QStringLiteral("MS Sans Serif");
constexpr int kToolBarHeight = 30;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A label that shows file contents: any length, never widens its layout. A screen reader
// says its text; the caption only describes it (an accessible name would replace the text).
QLabel* MakeValueLabel(QWidget* parent, const char* name, const QString& caption)
{
    QLabel* label = MakeLabel(parent, name);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setAccessibleDescription(caption);
    return label;
}

void SetBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

void SetFontName(QWidget* widget, const QString& name)
{
    QFont font = widget->font();
    font.setFamilies({name});
    widget->setFont(font);
}

QAction* MakeAction(QObject* parent, const char* name, const QString& text,
                    const QKeySequence& shortcut = QKeySequence())
{
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

QToolButton* MakeToolButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon,
                            const QString& hint)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setIcon(bar->style()->standardIcon(icon));
    button->setText(hint);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // reached through the menus
    bar->addWidget(button);
    return button;
}

QPushButton* MakeFeedbackButton(QWidget* parent, const char* name, const QString& text,
                                const QString& hint)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    // Enter in the answer field must not click a feedback button.
    button->setAutoDefault(false);
    button->hide();
    return button;
}

}  // namespace

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Lernprogramm"));

    // Menus.
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Datei1 = MainMenu1->addMenu(QStringLiteral("&Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Dateiffnen1 = MakeAction(this, "Dateiffnen1", QStringLiteral("&Öffnen ..."),
                             QKeySequence(Qt::CTRL | Qt::Key_O));
    Dateischlieen1 = MakeAction(this, "Dateischlieen1", QStringLiteral("&Schließen ..."),
                                QKeySequence(Qt::CTRL | Qt::Key_Q));
    Abbrechen1 = MakeAction(this, "Abbrechen1", QStringLiteral("&Abbrechen"),
                            QKeySequence(Qt::CTRL | Qt::Key_A));
    Beenden1 = MakeAction(this, "Beenden1", QStringLiteral("&Beenden"),
                          QKeySequence(Qt::CTRL | Qt::Key_X));
    Datei1->addActions({Dateiffnen1, Dateischlieen1, Abbrechen1});
    Datei1->addSeparator();
    Datei1->addAction(Beenden1);

    Lernprogramm1 = MainMenu1->addMenu(QStringLiteral("&Lernprogramm"));
    Lernprogramm1->setObjectName(QStringLiteral("Lernprogramm1"));
    Lektion1 = MakeAction(this, "Lektion1", QStringLiteral("&Lektion"), QKeySequence(Qt::Key_F1));
    Zufall1 = MakeAction(this, "Zufall1", QStringLiteral("&Zufall"), QKeySequence(Qt::Key_F2));
    Statistik1 = MakeAction(this, "Statistik1", QStringLiteral("&Statistik"),
                            QKeySequence(Qt::Key_F3));
    DateiInformationen1 = MakeAction(this, "DateiInformationen1",
                                     QStringLiteral("&Datei-Informationen"),
                                     QKeySequence(Qt::Key_F4));
    Lernprogramm1->addActions({Lektion1, Zufall1});
    Lernprogramm1->addSeparator();
    Lernprogramm1->addActions({Statistik1, DateiInformationen1});

    Optionen1 = MainMenu1->addMenu(QStringLiteral("O&ptionen"));
    Optionen1->setObjectName(QStringLiteral("Optionen1"));
    DeutschFremdsprache1 = MakeAction(this, "DeutschFremdsprache1",
                                      QStringLiteral("&Deutsch -> Fremdsprache"),
                                      QKeySequence(Qt::Key_F5));
    FremdspracheDeutsch1 = MakeAction(this, "FremdspracheDeutsch1",
                                      QStringLiteral("&Fremdsprache -> Deutsch"),
                                      QKeySequence(Qt::Key_F6));
    Richtung = new QActionGroup(this);
    Richtung->setExclusive(true);
    for (QAction* item : {DeutschFremdsprache1, FremdspracheDeutsch1}) {
        item->setCheckable(true);
        Richtung->addAction(item);
    }
    FalscheVokabelnautomatischlschen1 =
        MakeAction(this, "FalscheVokabelnautomatischlschen1",
                   QStringLiteral("Falsche Vokabeln &automatisch löschen"),
                   QKeySequence(Qt::Key_F7));
    GroundKleinschreibungignorieren1 =
        MakeAction(this, "GroundKleinschreibungignorieren1",
                   QStringLiteral("&Groß- und Kleinschreibung ignorieren"),
                   QKeySequence(Qt::Key_F8));
    FalscheVokabelnautomatischlschen1->setCheckable(true);
    GroundKleinschreibungignorieren1->setCheckable(true);
    SchriftartMSSansSerif1 = MakeAction(this, "SchriftartMSSansSerif1",
                                        QStringLiteral("Schriftart: MS Sans Serif"),
                                        QKeySequence(Qt::SHIFT | Qt::Key_F1));
    SchriftartSymbol1 = MakeAction(this, "SchriftartSymbol1", QStringLiteral("Schriftart: Symbol"),
                                   QKeySequence(Qt::SHIFT | Qt::Key_F2));
    Voreinstellungen1 = MakeAction(this, "Voreinstellungen1", QStringLiteral("&Voreinstellungen"),
                                   QKeySequence(Qt::SHIFT | Qt::Key_F12));
    Optionen1->addActions({DeutschFremdsprache1, FremdspracheDeutsch1});
    Optionen1->addSeparator();
    Optionen1->addActions({FalscheVokabelnautomatischlschen1, GroundKleinschreibungignorieren1});
    Optionen1->addSeparator();
    Optionen1->addActions({SchriftartMSSansSerif1, SchriftartSymbol1});
    Optionen1->addSeparator();
    Optionen1->addAction(Voreinstellungen1);

    // A menu bar of its own in the corner puts "&Hilfe" at the right end.
    HelpMenuBar = new QMenuBar(MainMenu1);
    HelpMenuBar->setObjectName(QStringLiteral("HelpMenuBar"));
    Hilfe1 = HelpMenuBar->addMenu(QStringLiteral("&Hilfe"));
    Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
    LernkompassHilfe1 = MakeAction(this, "LernkompassHilfe1", QStringLiteral("&Lernkompass-Hilfe"));
    HomepagevonLernkompass1 = MakeAction(this, "HomepagevonLernkompass1",
                                         QStringLiteral("Homepage von L&ernkompass"));
    HomepagedesAutors1 = MakeAction(this, "HomepagedesAutors1",
                                    QStringLiteral("Homepage des &Autors"));
    Info1 = MakeAction(this, "Info1", QStringLiteral("&Info ..."));
    Hilfe1->addAction(LernkompassHilfe1);
    Hilfe1->addSeparator();
    Hilfe1->addActions({HomepagevonLernkompass1, HomepagedesAutors1});
    Hilfe1->addSeparator();
    Hilfe1->addAction(Info1);
    MainMenu1->setCornerWidget(HelpMenuBar, Qt::TopRightCorner);
    JoinMenuBars(MainMenu1, HelpMenuBar);

    // The client area below the menu bar: tool bar, left column, right column.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight);

    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(0, 0, kClientWidth, kToolBarHeight);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolBar1->setMovable(false);
    ToolButton1 = MakeToolButton(ToolBar1, "ToolButton1", QStyle::SP_DialogOpenButton,
                                 QStringLiteral("Datei öffnen"));
    ToolButton2 = MakeToolButton(ToolBar1, "ToolButton2", QStyle::SP_DirClosedIcon,
                                 QStringLiteral("Datei schließen"));
    ToolButton13 = MakeToolButton(ToolBar1, "ToolButton13", QStyle::SP_BrowserStop,
                                  QStringLiteral("Lerndurchgang abbrechen"));
    ToolBar1->addSeparator();
    ToolButton5 = MakeToolButton(ToolBar1, "ToolButton5", QStyle::SP_MediaPlay,
                                 QStringLiteral("Lektion"));
    ToolButton3 = MakeToolButton(ToolBar1, "ToolButton3", QStyle::SP_BrowserReload,
                                 QStringLiteral("Zufall"));
    ToolBar1->addSeparator();
    ToolButton7 = MakeToolButton(ToolBar1, "ToolButton7", QStyle::SP_FileDialogDetailedView,
                                 QStringLiteral("Statistik"));
    ToolButton8 = MakeToolButton(ToolBar1, "ToolButton8", QStyle::SP_FileDialogInfoView,
                                 QStringLiteral("Datei-Informationen"));
    ToolBar1->addSeparator();
    ToolButton11 = MakeToolButton(ToolBar1, "ToolButton11", QStyle::SP_FileDialogContentsView,
                                  QStringLiteral("Voreinstellungen"));
    ToolButton11->setToolTip(QString());
    ToolBar1->addSeparator();
    ToolButton10 = MakeToolButton(ToolBar1, "ToolButton10", QStyle::SP_DialogCancelButton,
                                  QStringLiteral("Beenden"));

    // Left column: the file and the question. The values of all rows start at one edge,
    // right of the widest caption.
    constexpr int left = 8;
    constexpr int columnWidth = 488;
    Label1 = MakeLabel(client, "Label1", QStringLiteral("Ausgewählte Datei:"));
    Label7 = MakeValueLabel(client, "Label7", QStringLiteral("Ausgewählte Datei"));
    Label2 = MakeLabel(client, "Label2", QStringLiteral("Lektion:"));
    Label8 = MakeValueLabel(client, "Label8", QStringLiteral("Lektion"));
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

    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
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
    Label3 = MakeLabel(Panel1, "Label3", QStringLiteral("Synonym(e):"));
    Label9 = MakeValueLabel(Panel1, "Label9", QStringLiteral("Synonyme"));
    Label4 = MakeLabel(Panel1, "Label4", QStringLiteral("Bemerkung:"));
    Label10 = MakeValueLabel(Panel1, "Label10", QStringLiteral("Bemerkung"));
    Label5 = MakeLabel(Panel1, "Label5");
    SetBold(Label5);
    Label11 = MakeValueLabel(Panel1, "Label11", QStringLiteral("Frage"));
    Label6 = MakeLabel(Panel1, "Label6");
    SetBold(Label6);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
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

    // Feedback frame below the panel.
    Panel2 = new QFrame(client);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Panel2->setGeometry(left, 232, columnWidth, 151);
    auto* feedback = new QVBoxLayout(Panel2);
    feedback->setContentsMargins(8, 8, 8, 10);
    feedback->setSpacing(4);
    Label22 = MakeLabel(Panel2, "Label22");
    SetBold(Label22);
    Label22->setAlignment(Qt::AlignCenter);
    Label23 = MakeLabel(Panel2, "Label23", QStringLiteral("Die richtige Antwort lautet:"));
    QFont underlined = Label23->font();
    underlined.setUnderline(true);
    Label23->setFont(underlined);
    Label23->setAlignment(Qt::AlignCenter);
    Label24 = MakeValueLabel(Panel2, "Label24", QStringLiteral("Richtige Antwort"));
    Label24->setAlignment(Qt::AlignCenter);
    Button1 = MakeFeedbackButton(Panel2, "Button1", QStringLiteral("&OK"), QString());
    Button2 = MakeFeedbackButton(Panel2, "Button2", QStringLiteral("&Antwort löschen"),
                                 QStringLiteral("Antwort löschen"));
    Button3 = MakeFeedbackButton(Panel2, "Button3", QStringLiteral("Antwort &nicht löschen"),
                                 QStringLiteral("Antwort nicht löschen"));
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

    // Right column: counters, percentage, time.
    constexpr int right = 504;
    constexpr int rightWidth = kClientWidth - right - 8;
    GroupBox1 = new QGroupBox(QStringLiteral("Vokabel-Auswertung"), client);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
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
        r.caption = MakeLabel(GroupBox1, r.captionName, r.text);
        r.value = MakeValueLabel(GroupBox1, r.valueName, r.text.chopped(1));
        r.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counters->addWidget(r.caption, row, 0);
        counters->addWidget(r.value, row, 1);
        ++row;
    }
    SetBold(Label17);
    Label17->setStyleSheet(QStringLiteral("color: #008000;"));
    SetBold(Label19);
    Label19->setStyleSheet(QStringLiteral("color: #ff0000;"));

    GroupBox2 = new QGroupBox(QStringLiteral("Prozentsatz"), client);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(right, 218, rightWidth, 74);
    Label25 = MakeValueLabel(GroupBox2, "Label25", QStringLiteral("Prozentsatz"));
    Label25->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(GroupBox2))->addWidget(Label25);

    GroupBox3 = new QGroupBox(QStringLiteral("Zeit"), client);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(right, 302, rightWidth, 81);
    Label26 = MakeValueLabel(GroupBox3, "Label26", QStringLiteral("Zeit"));
    Label26->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(GroupBox3))->addWidget(Label26);

    // A large system font grows the client area. The captions above the panel keep the width
    // of their texts, and their values start where the panel's values do.
    GrowWithFont(client);
    for (const auto& [caption, value] : {std::pair{Label1, Label7}, std::pair{Label2, Label8}}) {
        caption->resize(captionWidth, caption->height());
        value->setGeometry(caption->x() + captionWidth, value->y(),
                           Panel1->x() + Panel1->width() - caption->x() - captionWidth,
                           value->height());
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The run's Ctrl+A wins over the answer field's select-all; Enter judges the answer.
    Edit1->installEventFilter(this);
    InstallShortcutKeys(Edit1);
    // Enter confirms the focused feedback button; the focus stays among them.
    for (QPushButton* button : {Button1, Button2, Button3})
        button->installEventFilter(this);

    connect(Dateiffnen1, &QAction::triggered, this, &TForm5::Dateiffnen1Click);
    connect(ToolButton1, &QToolButton::clicked, this, &TForm5::Dateiffnen1Click);
    connect(Dateischlieen1, &QAction::triggered, this, &TForm5::Dateischlieen1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TForm5::Dateischlieen1Click);
    connect(Abbrechen1, &QAction::triggered, this, &TForm5::Abbrechen1Click);
    connect(ToolButton13, &QToolButton::clicked, this, &TForm5::Abbrechen1Click);
    connect(Beenden1, &QAction::triggered, this, &TForm5::Beenden1Click);
    connect(ToolButton10, &QToolButton::clicked, this, &TForm5::Beenden1Click);
    connect(Lektion1, &QAction::triggered, this, &TForm5::Lektion1Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TForm5::Lektion1Click);
    connect(Zufall1, &QAction::triggered, this, &TForm5::Zufall1Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TForm5::Zufall1Click);
    connect(Statistik1, &QAction::triggered, this, &TForm5::Statistik1Click);
    connect(ToolButton7, &QToolButton::clicked, this, &TForm5::Statistik1Click);
    connect(DateiInformationen1, &QAction::triggered, this, &TForm5::DateiInformationen1Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TForm5::DateiInformationen1Click);
    connect(DeutschFremdsprache1, &QAction::triggered, this, &TForm5::DeutschFremdsprache1Click);
    connect(FremdspracheDeutsch1, &QAction::triggered, this, &TForm5::FremdspracheDeutsch1Click);
    connect(FalscheVokabelnautomatischlschen1, &QAction::triggered, this,
            &TForm5::FalscheVokabelnautomatischlschen1Click);
    connect(GroundKleinschreibungignorieren1, &QAction::triggered, this,
            &TForm5::GroundKleinschreibungignorieren1Click);
    connect(SchriftartMSSansSerif1, &QAction::triggered, this,
            &TForm5::SchriftartMSSansSerif1Click);
    connect(SchriftartSymbol1, &QAction::triggered, this, &TForm5::SchriftartSymbol1Click);
    connect(Voreinstellungen1, &QAction::triggered, this, &TForm5::Voreinstellungen1Click);
    connect(ToolButton11, &QToolButton::clicked, this, &TForm5::Voreinstellungen1Click);
    connect(LernkompassHilfe1, &QAction::triggered, this, &TForm5::LernkompassHilfe1Click);
    connect(HomepagevonLernkompass1, &QAction::triggered, this,
            &TForm5::HomepagevonLernkompass1Click);
    connect(HomepagedesAutors1, &QAction::triggered, this, &TForm5::HomepagedesAutors1Click);
    connect(Info1, &QAction::triggered, this, &TForm5::Info1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Timer1, &QTimer::timeout, this, &TForm5::Timer1Timer);

    BuildCheckingOptions();
    BuildSpeechOptions();

    // German to foreign language at program start; kept while the program runs.
    Label5->setText(QStringLiteral("Deutsch:"));
    Label6->setText(QStringLiteral("Fremdsprache:"));
    DeutschFremdsprache1->setChecked(true);
    ResetLearningWindow();
}

bool TForm5::GermanToForeign() const
{
    return DeutschFremdsprache1->isChecked();
}

void TForm5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())  // not when it comes back from the task bar
        FormShow();
}

void TForm5::FormShow()
{
    CenterOnScreen(this);
    const QString handedOver = HandedOverFileName();
    if (!handedOver.isEmpty())
        OpenLearningFile(handedOver);
}

void TForm5::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm5::reject()
{
}

void TForm5::closeEvent(QCloseEvent* event)
{
    if (preparing_) {
        event->ignore();
        return;
    }
    // QDialog's own would go through reject(), which does nothing here.
    done(QDialog::Rejected);
    event->accept();
}

void TForm5::FormClose()
{
    // Ends a run without a record and leaves nothing open or ticking behind a hidden
    // window; the start screen resets the window again before it shows it.
    CloseLearningFile();
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_A)) {
            event->ignore();
            return true;
        }
    }
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        return Edit1KeyDown(static_cast<QKeyEvent*>(event));

    auto* button = qobject_cast<QPushButton*>(watched);
    if (button && (button == Button1 || button == Button2 || button == Button3)) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // A held Enter must not run through the next questions.
                if (!key->isAutoRepeat())
                    button->click();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            FeedbackButtonExit(button, static_cast<QFocusEvent*>(event)->reason());
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm5::Edit1KeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // An Enter still held from confirming the last question does not judge the empty
    // field of the next one.
    if (!event->isAutoRepeat())
        CheckAnswer();
    return true;
}

void TForm5::FeedbackButtonExit(QPushButton* button, Qt::FocusReason reason)
{
    // Menus and other windows may take the focus for a while.
    if (!feedbackShown_ || reason == Qt::PopupFocusReason ||
        reason == Qt::ActiveWindowFocusReason)
        return;
    if (button == Button1 && Button1->isVisible())
        Button1->setFocus(reason);
    else if (button == Button2 && Button3->isVisible())
        Button3->setFocus(reason);
    else if (button == Button3 && Button2->isVisible())
        Button2->setFocus(reason);
}

void TForm5::ResetLearningWindow()
{
    NoFileState();
    Label7->setText(QStringLiteral("(keine ausgewählt)"));
    Label7->setToolTip(QString());
    ResetRunDisplay();
}

void TForm5::CloseLearningFile()
{
    ResetLearningWindow();
    learningFile_.close();
}

bool TForm5::OpenLearningFile()
{
    const QString start = ReadCurrentDirectory();
    const auto chosen = Platform::instance().openFileName(
        this, QStringLiteral("Öffnen"), QStringLiteral("Vokabeldateien (*.vok)"), start);
    if (!chosen) {
        ShowError(this, QStringLiteral("Fehler beim Öffnen der Datei!"));
        return false;
    }
    WriteCurrentDirectory(DirectoryPart(*chosen));
    return OpenLearningFile(*chosen);
}

bool TForm5::OpenLearningFile(const QString& path)
{
    const FileCheckResult check = CheckVocabularyFile(path, false);
    if (check.status != FileCheck::Valid) {
        ShowError(this, CheckMessage(check.status));
        return false;
    }
    if (learningFile_.isOpen())
        CloseLearningFile();
    if (!learningFile_.open(path, VocabularyFile::Access::ReadOnly)) {
        ShowError(this, QStringLiteral("Fehler beim Öffnen der Datei!"));
        return false;
    }
    Label7->setText(path);
    Label7->setToolTip(path);  // a long path is cut at the window's edge
    FileOpenState();
    return true;
}

void TForm5::ResetRunDisplay()
{
    for (QLabel* label : {Label8, Label9, Label10, Label11, Label13, Label15, Label17, Label19,
                          Label21, Label22, Label24, Label25, Label26})
        label->clear();
    HideFeedback();
    FalscheVokabelnautomatischlschen1->setChecked(ReadAutoDelete());
    GroundKleinschreibungignorieren1->setChecked(ReadIgnoreGrossKlein());
    Edit1->clear();
    run_.reset();
    expectedAnswer_.clear();
    ApplyLearningFonts();
}

void TForm5::ApplyLearningFonts()
{
    const QString font = ReadFont();
    if (font.isEmpty())
        return;
    const auto nameOf = [&font](int field) {
        return ReadFontField(field) == 1 ? font : kDefaultFontName;
    };
    const int questionField = GermanToForeign() ? 2 : 3;
    const int answerField = GermanToForeign() ? 3 : 2;
    SetFontName(Label8, nameOf(1));
    SetFontName(Label11, nameOf(questionField));
    SetFontName(Edit1, nameOf(answerField));
    SetFontName(Label24, nameOf(answerField));
    SetFontName(Label9, nameOf(4));
    SetFontName(Label10, nameOf(5));
}

void TForm5::NoFileState()
{
    SetControlState(ControlState::NoFile);
}

void TForm5::FileOpenState()
{
    SetControlState(ControlState::FileOpen);
}

void TForm5::RunState()
{
    SetControlState(ControlState::Run);
}

void TForm5::SetControlState(ControlState state)
{
    const bool noFile = state == ControlState::NoFile;
    const bool fileOpen = state == ControlState::FileOpen;
    const bool run = state == ControlState::Run;

    Dateiffnen1->setEnabled(noFile);
    ToolButton1->setEnabled(noFile);
    Dateischlieen1->setEnabled(!noFile);
    ToolButton2->setEnabled(!noFile);
    Abbrechen1->setEnabled(run);
    ToolButton13->setEnabled(run);
    // The items follow their menu, also for their shortcuts.
    Lernprogramm1->menuAction()->setEnabled(!noFile);
    Statistik1->setEnabled(!noFile);
    DateiInformationen1->setEnabled(!noFile);
    ToolButton7->setEnabled(!noFile);
    ToolButton8->setEnabled(!noFile);
    Lektion1->setEnabled(fileOpen);
    Zufall1->setEnabled(fileOpen);
    ToolButton5->setEnabled(fileOpen);
    ToolButton3->setEnabled(fileOpen);
    Richtung->setEnabled(!run);
    Edit1->setEnabled(run);
    if (!run)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}

void TForm5::SetDirection(bool germanToForeign)
{
    DeutschFremdsprache1->setChecked(germanToForeign);
    FremdspracheDeutsch1->setChecked(!germanToForeign);
    Label5->setText(germanToForeign ? QStringLiteral("Deutsch:") : QStringLiteral("Fremdsprache:"));
    Label6->setText(germanToForeign ? QStringLiteral("Fremdsprache:") : QStringLiteral("Deutsch:"));
    ApplyLearningFonts();
}

void TForm5::ShowFileInfoReadOnly()
{
    const auto header = learningFile_.readHeader();
    if (!header) {
        ShowError(this, QStringLiteral("Fehler beim Lesen der Datei!"));
        return;
    }
    if (Form4)
        Form4->ShowReadOnly(*header);
}

void TForm5::ShowStatistics()
{
    QFile statistics(StatisticsFilePath(Platform::instance().programDirectory()));
    if (!statistics.open(QIODevice::ReadOnly)) {
        ShowError(this, QStringLiteral("Statistikdatei nicht vorhanden!"));
        return;
    }
    statistics.close();
    if (!Form8)
        return;
    Form8->vocabularyPath = learningFile_.path();
    Form8->statisticsPath = statistics.fileName();
    Form8->exec();
}

void TForm5::StartLessonRun()
{
    if (!Form6 || !learningFile_.isOpen())
        return;
    const auto seed = static_cast<std::uint64_t>(Platform::instance().now().toMSecsSinceEpoch());
    // The dialog writes the chosen lesson here; closed without a choice it writes nothing.
    Label8->clear();
    Form6->exec();
    const QString lesson = Label8->text();
    if (lesson.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    // A lesson of a huge file takes a while to read: the window keeps repainting.
    RepaintPacer repaint;
    LearningRun::Start start;
    {
        const QScopedValueRollback guard(preparing_, true);
        start = run_.startLessonRun(learningFile_, lesson, seed, std::ref(repaint));
    }
    if (!RefuseRun(start)) {
        UpdateCounters();
        BeginRun();
    }
}

void TForm5::StartRandomRun()
{
    if (!learningFile_.isOpen())
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const auto seed = static_cast<std::uint64_t>(Platform::instance().now().toMSecsSinceEpoch());
    if (!RefuseRun(run_.startRandomRun(learningFile_, seed))) {
        UpdateCounters();
        Label8->clear();
        BeginRun();
    }
}

bool TForm5::RefuseRun(LearningRun::Start start)
{
    if (start == LearningRun::Start::Started)
        return false;
    QGuiApplication::restoreOverrideCursor();
    switch (start) {
    case LearningRun::Start::NoQuestions:
        UpdateCounters();  // all 0: the lesson has no entry to ask
        break;
    case LearningRun::Start::TooFewEntries:
        ShowError(this, LearningRun::tooFewEntriesMessage());
        break;
    case LearningRun::Start::ReadFailed:
        Label8->clear();
        ShowError(this, QStringLiteral("Fehler beim Lesen der Datei!"));
        break;
    case LearningRun::Start::Started:
        break;
    }
    return true;
}

void TForm5::BeginRun()
{
    QGuiApplication::restoreOverrideCursor();
    if (!run_.isRunning())
        return;
    ShowQuestion();
    RunState();  // starts the timer and enables the answer field
    Edit1->setFocus();
}

void TForm5::ShowQuestion()
{
    const VocabularyEntry& entry = run_.currentRow().entry;
    Label8->setText(entry.lesson);
    Label9->setText(entry.synonyms);
    Label10->setText(entry.remark);
    const Direction direction =
        GermanToForeign() ? Direction::GermanToForeign : Direction::ForeignToGerman;
    Label11->setText(run_.questionText(direction));
    expectedAnswer_ = run_.expectedAnswer(direction);
    SpeakQuestion(false);
}

void TForm5::UpdateCounters()
{
    const RunCounters& c = run_.counters();
    Label13->setText(QString::number(c.total));
    Label15->setText(QString::number(c.remaining));
    Label17->setText(QString::number(c.known));
    Label19->setText(QString::number(c.notKnown));
    Label21->setText(QString::number(c.deleted));
    Label25->setText(run_.percentageText(Platform::instance().locale()));
}

void TForm5::Timer1Timer()
{
    if (!run_.isRunning())
        return;
    run_.tick();
    Label26->setText(run_.elapsedText());
}

void TForm5::EndRun()
{
    UpdateCounters();
    Timer1->stop();
    Platform& platform = Platform::instance();
    const RunResult result = run_.result(learningFile_.path(), platform.today());
    if (!WriteStatisticsRecord(StatisticsFilePath(platform.programDirectory()), result))
        ShowError(this, QStringLiteral("Fehler beim Schreiben der Statistikdatei!"));
    // The final counts stay on screen while the notice is up.
    ShowNotice(this, QStringLiteral("Lerndurchgang beendet!"));
    ResetRunDisplay();
    FileOpenState();
}

void TForm5::AbortRun()
{
    ResetRunDisplay();
    FileOpenState();
}

void TForm5::CheckAnswer()
{
    if (!run_.isRunning() || feedbackShown_)
        return;
    const bool right = AnswerCounts(Edit1->text(), expectedAnswer_, CheckingOptions());
    Platform::instance().stopSpeaking();  // the sound of the verdict comes first
    if (right)
        PlayRightSound();
    else
        PlayWrongSound();

    feedbackShown_ = true;
    Label22->setText(right ? QStringLiteral("Richtig!") : QStringLiteral("Falsch!"));
    Label22->show();
    // Stored case, also when case is ignored.
    Label24->setText(right ? QString() : expectedAnswer_);
    Label23->setVisible(!right);
    Label24->setVisible(!right);
    ShowAnswerComparison(right);
    SpeakAfterVerdict(right);
    // Only the buttons on show are in the tab chain.
    const auto offer = [](QPushButton* button, bool shown) {
        button->setFocusPolicy(shown ? Qt::StrongFocus : Qt::NoFocus);
        button->setEnabled(shown);
        button->setVisible(shown);
    };
    offer(Button1, right);
    offer(Button2, !right);
    offer(Button3, !right);
    Edit1->setEnabled(false);  // Enter cannot judge twice
    if (right)
        Button1->setFocus();
    else if (FalscheVokabelnautomatischlschen1->isChecked())
        Button2->setFocus();
    else
        Button3->setFocus();
}

void TForm5::HideFeedback()
{
    feedbackShown_ = false;
    for (QWidget* feedback : std::initializer_list<QWidget*>{Label22, Label23, Label24, Comparison,
                                                             Button1, Button2, Button3})
        feedback->hide();
}

void TForm5::PrepareAnswerField()
{
    Edit1->clear();
    Edit1->setEnabled(true);
    Edit1->setFocus();
}

void TForm5::AcceptAnswer()
{
    HideFeedback();
    FinishStep(run_.acceptAnswer());
}

void TForm5::DropQuestion()
{
    HideFeedback();
    FinishStep(run_.dropQuestion());
}

void TForm5::KeepQuestion()
{
    HideFeedback();
    FinishStep(run_.keepQuestion());
}

void TForm5::FinishStep(LearningRun::Step step)
{
    switch (step) {
    case LearningRun::Step::Ended:
        EndRun();
        break;
    case LearningRun::Step::Next:
        UpdateCounters();
        ShowQuestion();
        PrepareAnswerField();
        break;
    case LearningRun::Step::NoRun:
        break;
    }
}

void TForm5::Button1Click()
{
    AcceptAnswer();
}

void TForm5::Button2Click()
{
    DropQuestion();
}

void TForm5::Button3Click()
{
    KeepQuestion();
}

void TForm5::Dateiffnen1Click()
{
    OpenLearningFile();
}

void TForm5::Dateischlieen1Click()
{
    CloseLearningFile();
}

void TForm5::Abbrechen1Click()
{
    AbortRun();
}

void TForm5::Beenden1Click()
{
    close();
}

void TForm5::Lektion1Click()
{
    StartLessonRun();
}

void TForm5::Zufall1Click()
{
    StartRandomRun();
}

void TForm5::Statistik1Click()
{
    ShowStatistics();
}

void TForm5::DateiInformationen1Click()
{
    ShowFileInfoReadOnly();
}

void TForm5::DeutschFremdsprache1Click()
{
    SetDirection(true);
}

void TForm5::FremdspracheDeutsch1Click()
{
    SetDirection(false);
}

void TForm5::FalscheVokabelnautomatischlschen1Click(bool checked)
{
    WriteAutoDelete(checked);
}

void TForm5::GroundKleinschreibungignorieren1Click(bool checked)
{
    WriteIgnoreGrossKlein(checked);
}

void TForm5::SchriftartMSSansSerif1Click()
{
    WriteFont(kDefaultFontName);
    ApplyLearningFonts();
}

void TForm5::SchriftartSymbol1Click()
{
    WriteFont(QStringLiteral("Symbol"));
    ApplyLearningFonts();
}

void TForm5::Voreinstellungen1Click()
{
    if (Form7)
        Form7->exec();
    // The preferences may have changed the font settings.
    ApplyLearningFonts();
}

void TForm5::LernkompassHilfe1Click()
{
    ShowHelpFile(this);
}

void TForm5::HomepagevonLernkompass1Click()
{
    OpenProductSite();
}

void TForm5::HomepagedesAutors1Click()
{
    OpenAuthorSite();
}

void TForm5::Info1Click()
{
    if (Form9)
        Form9->exec();
}
