#include "Preferences.h"

#include "Forms.h"
#include "Platform.h"
#include "SettingsStore.h"
#include "Sound.h"
#include "Widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>

#include <array>
#include <optional>

namespace {

const QString kNoFontText = QStringLiteral("(noch keine ausgewählt)");
const QString kDefaultFontName = QStringLiteral("MS Sans Serif");

// One group of the sounds tab; the controls in the order of the tab key.
struct SoundGroup {
    QGroupBox* box;
    QRadioButton* builtIn;
    QRadioButton* none;
    QRadioButton* file;
    QLineEdit* field;
    QPushButton* choose;
    QFrame* bevel;
    QPushButton* play;
};

SoundGroup MakeSoundGroup(QWidget* parent, const QString& title, const QRect& rect,
                          const std::array<const char*, 8>& names)
{
    SoundGroup g;
    g.box = Placed<QGroupBox>(parent, names[0], rect, title);
    g.builtIn = Placed<QRadioButton>(g.box, names[1], QRect(14, 24, 220, 22),
                                     QStringLiteral("Standardsignal"));
    g.none = Placed<QRadioButton>(g.box, names[2], QRect(14, 48, 220, 22),
                                  QStringLiteral("Kein Signal"));
    // A bare circle: the file field beside it says what it stands for.
    g.file = Placed<QRadioButton>(g.box, names[3], QRect(14, 76, 17, 22));
    g.file->setAccessibleName(QStringLiteral("Sounddatei"));
    g.field = Placed<QLineEdit>(g.box, names[4], QRect(34, 75, 457, 24));
    g.field->setAccessibleName(QStringLiteral("Sounddatei"));
    g.choose = Placed<QPushButton>(g.box, names[5], QRect(497, 75, 36, 24), QStringLiteral("..."));
    g.choose->setAccessibleName(QStringLiteral("Sounddatei auswählen"));
    g.choose->setToolTip(QStringLiteral("Sounddatei auswählen"));
    g.bevel = Placed<QFrame>(g.box, names[6], QRect(14, 108, rect.width() - 28, 2));
    g.bevel->setFrameShape(QFrame::HLine);
    g.bevel->setFrameShadow(QFrame::Sunken);
    g.play = Placed<QPushButton>(g.box, names[7], QRect(rect.width() - 14 - 230, 118, 230, 28),
                                 QStringLiteral("Gewähltes Signal abspielen"));
    g.play->setIcon(g.play->style()->standardIcon(QStyle::SP_MediaPlay));
    return g;
}

void SetFontName(QWidget* widget, const QString& name)
{
    QFont font = widget->font();
    font.setFamily(name);
    widget->setFont(font);
}

// What a sound setting says, as the three options of its group show it.
void ShowSound(const QString& setting, const SoundGroup& g)
{
    if (setting.isEmpty()) {
        g.none->setChecked(true);
    } else if (setting == QLatin1String("default")) {
        g.builtIn->setChecked(true);
    } else {
        g.field->setText(setting);
        g.file->setChecked(true);
    }
}

QRadioButton* CheckedOption(const QString& setting, const SoundGroup& g)
{
    if (setting.isEmpty())
        return g.none;
    return setting == QLatin1String("default") ? g.builtIn : g.file;
}

// The setting the group's options stand for; nothing when no option is selected.
std::optional<QString> ChosenSound(QRadioButton* builtIn, QRadioButton* none, QRadioButton* file,
                                   QLineEdit* field)
{
    if (builtIn->isChecked())
        return QStringLiteral("default");
    if (none->isChecked())
        return QString();
    if (file->isChecked())
        return field->text();
    return std::nullopt;
}

}  // namespace

TForm7::TForm7(QWidget* parent)
    : QDialog(parent, kFixedToolWindow)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Voreinstellungen"));
    setFixedSize(kClientWidth, kClientHeight);

    PageControl1 = Placed<QTabWidget>(this, "PageControl1",
                                      QRect(8, 8, kClientWidth - 16, kClientHeight - 16 - 28 - 10));
    const int pageWidth = PageControl1->width() - 8;

    // Sounds.
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    const SoundGroup right = MakeSoundGroup(
        TabSheet1, QStringLiteral("Richtige Antwort"), QRect(8, 8, pageWidth - 16, 158),
        {"GroupBox2", "RadioButton1", "RadioButton5", "RadioButton2", "Edit1", "Button1", "Bevel1",
         "BitBtn1"});
    const SoundGroup wrong = MakeSoundGroup(
        TabSheet1, QStringLiteral("Falsche Antwort"), QRect(8, 174, pageWidth - 16, 158),
        {"GroupBox3", "RadioButton3", "RadioButton6", "RadioButton4", "Edit2", "Button2", "Bevel2",
         "BitBtn2"});
    GroupBox2 = right.box;
    RadioButton1 = right.builtIn;
    RadioButton5 = right.none;
    RadioButton2 = right.file;
    Edit1 = right.field;
    Button1 = right.choose;
    Bevel1 = right.bevel;
    BitBtn1 = right.play;
    GroupBox3 = wrong.box;
    RadioButton3 = wrong.builtIn;
    RadioButton6 = wrong.none;
    RadioButton4 = wrong.file;
    Edit2 = wrong.field;
    Button2 = wrong.choose;
    Bevel2 = wrong.bevel;
    BitBtn2 = wrong.play;
    PageControl1->addTab(TabSheet1, QStringLiteral("Sounds im Lernprogramm"));

    // Font.
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    GroupBox1 = Placed<QGroupBox>(TabSheet2, "GroupBox1", QRect(8, 8, pageWidth - 16, 324),
                                  QStringLiteral("Schriftart"));
    const int boxWidth = GroupBox1->width();
    Label1 =
        Placed<QLabel>(GroupBox1, "Label1", QRect(14, 30, 80, 20), QStringLiteral("Schriftart:"));
    Label2 =
        Placed<QLabel>(GroupBox1, "Label2", QRect(96, 30, boxWidth - 96 - 180, 20), kNoFontText);
    // Label2 shows a value; its caption describes it.
    Label2->setAccessibleDescription(QStringLiteral("Schriftart"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Button3 = Placed<QPushButton>(GroupBox1, "Button3", QRect(boxWidth - 14 - 156, 24, 156, 28),
                                  QStringLiteral("&Ändern ..."));
    Button4 = Placed<QPushButton>(GroupBox1, "Button4", QRect(boxWidth - 14 - 156, 58, 156, 28),
                                  QStringLiteral("&Standardschriftart"));
    Label3 = Placed<QLabel>(GroupBox1, "Label3", QRect(14, 98, boxWidth - 28, 64),
                            QStringLiteral("So schaut die ausgewählte Schriftart aus."));
    Label3->setFrameShape(QFrame::StyledPanel);
    Label3->setFrameShadow(QFrame::Sunken);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setWordWrap(true);
    Label4 = Placed<QLabel>(GroupBox1, "Label4", QRect(14, 176, 200, 20),
                            QStringLiteral("Betroffene Felder:"));
    const char* const boxNames[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
                                    "CheckBox5"};
    const QString boxTexts[] = {QStringLiteral("Lektion"), QStringLiteral("Deutsch"),
                                QStringLiteral("Fremdsprache"), QStringLiteral("Synonym(e)"),
                                QStringLiteral("Bemerkung")};
    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5};
    for (int k = 0; k < kFontFields; ++k) {
        *boxes[k] = Placed<QCheckBox>(GroupBox1, boxNames[k], QRect(30, 200 + 24 * k, 220, 22),
                                      boxTexts[k]);
    }
    PageControl1->addTab(TabSheet2, QStringLiteral("Schriftart"));

    // Shortcut texts, in two columns of six.
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    GroupBox4 = Placed<QGroupBox>(TabSheet3, "GroupBox4", QRect(8, 8, pageWidth - 16, 324),
                                  QStringLiteral("Shortcuts"));
    QLineEdit** edits[] = {&Edit3, &Edit4,  &Edit5,  &Edit6,  &Edit7,  &Edit8,
                           &Edit9, &Edit10, &Edit11, &Edit12, &Edit13, &Edit14};
    const int columnWidth = (GroupBox4->width() - 14) / 2;
    // Each field takes only what the entry fields it is typed into can hold.
    auto* validator = new AnsiLineValidator(this);
    for (int k = 1; k <= kShortcuts; ++k) {
        const int x = 14 + ((k - 1) / 6) * columnWidth;
        const int y = 30 + ((k - 1) % 6) * 46;
        QLineEdit* edit =
            Placed<QLineEdit>(GroupBox4, ("Edit" + QByteArray::number(k + 2)).constData(),
                              QRect(x + 72, y, columnWidth - 72 - 14, 24));
        edit->setValidator(validator);
        QLabel* label = Placed<QLabel>(GroupBox4, ("Label" + QByteArray::number(k + 4)).constData(),
                                       QRect(x, y + 2, 68, 20), QStringLiteral("Strg-F%1:").arg(k));
        label->setBuddy(edit);
        edit->setAccessibleName(QStringLiteral("Strg-F%1").arg(k));
        *edits[k - 1] = edit;
    }
    PageControl1->addTab(TabSheet3, QStringLiteral("Shortcuts"));
    BuildReviewSheet(pageWidth);

    Button5 = Placed<QPushButton>(
        this, "Button5", QRect(kClientWidth - 8 - 2 * 110 - 8, kClientHeight - 8 - 28 - 2, 110, 28),
        QStringLiteral("&OK"));
    Button6 = Placed<QPushButton>(
        this, "Button6", QRect(kClientWidth - 8 - 110, kClientHeight - 8 - 28 - 2, 110, 28),
        QStringLiteral("&Abbrechen"));
    // Enter in a field must not press a button of the dialog.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    for (QLineEdit* edit : {Edit1, Edit2})
        edit->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm7::BitBtn2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm7::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm7::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm7::Button6Click);

    GrowWithFont(this);
}

void TForm7::BuildReviewSheet(int pageWidth)
{
    ReviewSheet = Named<QWidget>(static_cast<QWidget*>(nullptr), "ReviewSheet");
    ReviewGroup = Placed<QGroupBox>(ReviewSheet, "ReviewGroup", QRect(8, 8, pageWidth - 16, 324),
                                    QStringLiteral("Fällige Vokabeln"));
    const int boxWidth = ReviewGroup->width();
    const auto row = [this](const char* labelName, const QString& caption, const char* boxName,
                            int low, int high, int y, QLabel*& label, QSpinBox*& box) {
        label = Placed<QLabel>(ReviewGroup, labelName, QRect(14, y + 2, 300, 20), caption);
        box = Placed<QSpinBox>(ReviewGroup, boxName, QRect(320, y, 110, 24));
        box->setRange(low, high);
        label->setBuddy(box);
    };
    row("RetentionLabel", QStringLiteral("&Gewünschte Behaltensquote:"), "RetentionBox",
        kMinRetentionPercent, kMaxRetentionPercent, 30, RetentionLabel, RetentionBox);
    RetentionBox->setSuffix(QStringLiteral(" %"));
    RetentionNote = Placed<QLabel>(
        ReviewGroup, "RetentionNote", QRect(14, 62, boxWidth - 28, 56),
        QStringLiteral("So sicher sollen Sie eine Vokabel noch wissen, wenn sie wieder fällig "
                       "ist. Eine höhere Quote heißt kürzere Abstände und mehr Wiederholungen."));
    RetentionNote->setWordWrap(true);
    row("NewCardsLabel", QStringLiteral("&Neue Vokabeln pro Tag:"), "NewCardsBox", 0,
        kMaxNewCardsPerDay, 130, NewCardsLabel, NewCardsBox);
    row("RunSizeLabel", QStringLiteral("&Vokabeln je Durchgang höchstens:"), "RunSizeBox", 1,
        kMaxRunSize, 166, RunSizeLabel, RunSizeBox);
    PageControl1->addTab(ReviewSheet, QStringLiteral("Wiederholung"));
}

QCheckBox* TForm7::FontFieldBox(int k) const
{
    const std::array<QCheckBox*, kFontFields> boxes{CheckBox1, CheckBox2, CheckBox3, CheckBox4,
                                                    CheckBox5};
    return boxes.at(static_cast<size_t>(k - 1));
}

QLineEdit* TForm7::ShortcutField(int k) const
{
    const std::array<QLineEdit*, kShortcuts> edits{Edit3, Edit4,  Edit5,  Edit6,  Edit7,  Edit8,
                                                   Edit9, Edit10, Edit11, Edit12, Edit13, Edit14};
    return edits.at(static_cast<size_t>(k - 1));
}

void TForm7::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm7::FormShow()
{
    CenterOnScreen(this);
    const QScopedValueRollback loading(loading_, true);
    SaveOnClose = true;
    PageControl1->setCurrentWidget(TabSheet1);
    Edit1->clear();
    Edit2->clear();
    const SoundGroup right{GroupBox2, RadioButton1, RadioButton5, RadioButton2,
                           Edit1,     Button1,      Bevel1,       BitBtn1};
    const SoundGroup wrong{GroupBox3, RadioButton3, RadioButton6, RadioButton4,
                           Edit2,     Button2,      Bevel2,       BitBtn2};
    const QString rightSound = ReadRightSound();
    ShowSound(rightSound, right);
    ShowSound(ReadWrongSound(), wrong);

    PageControl1->setCurrentWidget(TabSheet2);
    const QString font = ReadFont();
    // No font setting keeps what the dialog showed last time.
    if (!font.isEmpty()) {
        ShowFontName(font);
        fontChosenMark_ = 1;
    }
    for (int k = 1; k <= kFontFields; ++k)
        FontFieldBox(k)->setChecked(ReadFontField(k) == 1);

    PageControl1->setCurrentWidget(TabSheet3);
    for (int k = 1; k <= kShortcuts; ++k)
        ShortcutField(k)->setText(ReadShortcut(k));

    RetentionBox->setValue(ReadDesiredRetention());
    NewCardsBox->setValue(ReadNewCardsPerDay());
    RunSizeBox->setValue(ReadRunSize());

    PageControl1->setCurrentWidget(TabSheet1);
    // Last: switching the tabs above would move the focus away again.
    CheckedOption(rightSound, right)->setFocus();
}

void TForm7::ShowFontName(const QString& name)
{
    Label2->setText(name);
    SetFontName(Label3, name);
}

void TForm7::SavePreferences()
{
    if (const auto sound = ChosenSound(RadioButton1, RadioButton5, RadioButton2, Edit1))
        WriteRightSound(*sound);
    if (const auto sound = ChosenSound(RadioButton3, RadioButton6, RadioButton4, Edit2))
        WriteWrongSound(*sound);
    if (fontChosenMark_ == 1)
        WriteFont(Label2->text());
    for (int k = 1; k <= kFontFields; ++k)
        WriteFontField(FontFieldBox(k)->isChecked() ? 1 : 0, k);
    for (int k = 1; k <= kShortcuts; ++k)
        WriteShortcut(ShortcutField(k)->text(), k);
    WriteDesiredRetention(RetentionBox->value());
    WriteNewCardsPerDay(NewCardsBox->value());
    WriteRunSize(RunSizeBox->value());
}

void TForm7::FormClose()
{
    if (SaveOnClose)
        SavePreferences();
}

void TForm7::done(int result)
{
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TForm7::reject()
{
    Button6Click();
}

void TForm7::closeEvent(QCloseEvent* event)
{
    // The close box saves like "&OK"; only Esc and "&Abbrechen" go through reject().
    if (isVisible())
        done(QDialog::Rejected);
    event->accept();
}

bool TForm7::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 || watched == Edit2) {
        if (event->type() == QEvent::FocusIn && !loading_) {
            // Edit1Enter / Edit2Enter: typing a file name means choosing a file.
            (watched == Edit1 ? RadioButton2 : RadioButton4)->setChecked(true);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;  // Edit1KeyPress / Edit2KeyPress
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm7::ChooseSoundFile(QLineEdit* field, QRadioButton* fileOption)
{
    // Starts where the last vocabulary file was chosen, but does not move that place.
    const auto chosen = Platform::instance().openFileName(
        this, QStringLiteral("Sounddatei auswählen"), QStringLiteral("Sounddateien (*.wav)"),
        ReadCurrentDirectory());
    if (!chosen)
        return;
    field->setText(QDir::toNativeSeparators(*chosen));
    field->setFocus();
    fileOption->setChecked(true);
}

void TForm7::Button1Click()
{
    ChooseSoundFile(Edit1, RadioButton2);
}

void TForm7::Button2Click()
{
    ChooseSoundFile(Edit2, RadioButton4);
}

void TForm7::BitBtn1Click()
{
    SavePreferences();
    PlayRightSound();
}

void TForm7::BitBtn2Click()
{
    SavePreferences();
    PlayWrongSound();
}

void TForm7::Button3Click()
{
    // Only the name counts; size, style and colour chosen there are not used.
    const auto font = Platform::instance().chooseFont(this, Label3->font());
    if (!font)
        return;
    ShowFontName(font->family());
    fontChosenMark_ = 1;
}

void TForm7::Button4Click()
{
    ShowFontName(kDefaultFontName);
    fontChosenMark_ = 1;
}

void TForm7::Button5Click()
{
    SaveOnClose = true;
    done(QDialog::Accepted);
}

void TForm7::Button6Click()
{
    SaveOnClose = false;
    done(QDialog::Rejected);
}
