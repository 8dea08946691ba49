// What a screen reader hears in every window, in the states a user meets it: each label
// says the text it shows (and so announces its changes), each field, list, grid and button
// has a name.

#include "app/Forms.h"
#include "app/Info.h"
#include "app/Preferences.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "learn/StatisticsFile.h"
#include "learn/Statistik.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/Zipper.h"
#include "vocab/Dateiinfo.h"
#include "vocab/Editor.h"
#include "vocab/Lektionen.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using Look = std::function<void(QWidget*)>;

QString AccessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// The text a label shows, as plain text without mnemonic marks.
QString Shown(const QLabel* label)
{
    QString text = label->text();
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    if (label->buddy())
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

bool NeedsName(const QWidget* w)
{
    const QWidget* parent = w->parentWidget();
    if (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent))
        return false;  // the inner field of a compound control
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           (qobject_cast<const QAbstractItemView*>(w) && !qobject_cast<const QHeaderView*>(w)) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           (qobject_cast<const QAbstractSlider*>(w) && w->focusPolicy() != Qt::NoFocus);
}

// "objectName: fault" for every visible control a screen reader gets wrong.
QStringList Unheard(QWidget* window)
{
    QStringList faults;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QString id = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                     : w->objectName();
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->pixmap().isNull()) {
            // An empty label is named after its group box by Qt; there is nothing to hear.
            if (!Shown(label).isEmpty() && AccessibleName(label) != Shown(label))
                faults << id + QStringLiteral(": says \"") + AccessibleName(label) +
                              QStringLiteral("\", shows \"") + Shown(label) + u'"';
            // Qt announces a label's new text (a name change) only while the label has no
            // name of its own; the offscreen platform delivers no such events to check.
            if (!label->accessibleName().isEmpty())
                faults << id + QStringLiteral(": a name of its own hides changes");
        } else if ((label || NeedsName(w)) && AccessibleName(w).isEmpty()) {
            faults << id + QStringLiteral(": no name");
        }
    }
    return faults;
}

// Opens a window with `open` (usually its modal exec) and calls look while it is up; then
// closes it the way a user does.
void WhileShown(QWidget* window, const std::function<void()>& open, const Look& look)
{
    auto looked = std::make_shared<bool>(false);
    QTimer::singleShot(0, window, [=] {
        if (QTest::qWaitForWindowExposed(window))
            look(window);
        *looked = true;
        auto* dialog = qobject_cast<QDialog*>(window);
        if (!dialog) {
            window->hide();  // closing the start screen would end the program
            return;
        }
        dialog->close();
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
    open();
    QVERIFY(QTest::qWaitFor([&] { return *looked; }));
}

void Exec(QWidget* window, const Look& look)
{
    WhileShown(window, [window] { static_cast<QDialog*>(window)->exec(); }, look);
}

QString g_vocabulary;  // 30 entries in lessons L1 to L30, the handed-over file
QString g_statistics;  // two runs of lesson L1 of that file

void HandOver(bool file)
{
    Form1->Label3->setText(file ? g_vocabulary : QString());
}

// Every window in its states. A new window joins with one row here.
struct WindowState {
    const char* name;
    std::function<void(const Look&)> show;
};
const WindowState kStates[] = {
    {"Start with a handed-over file",
     [](const Look& look) { WhileShown(Form1, [] { Form1->show(); }, look); }},
    {"Editor without a document",
     [](const Look& look) {
         HandOver(false);
         Form2->ResetEditor();
         Exec(Form2, look);
     }},
    {"Editor with an entry",
     [](const Look& look) {
         HandOver(true);
         Exec(Form2, look);
     }},
    {"Lektionen-Übersicht",
     [](const Look& look) {
         VocabularyFile file;
         QVERIFY(file.open(g_vocabulary));
         WhileShown(Form3, [&] { Form3->ShowOverview(file); }, look);
     }},
    {"Datei-Informationen, editing",
     [](const Look& look) {
         VocabularyFile file;
         QVERIFY(file.open(g_vocabulary));
         WhileShown(Form4, [&] { Form4->ShowForEditor(file); }, look);
     }},
    {"Datei-Informationen, read-only",
     [](const Look& look) {
         WhileShown(Form4, [] { Form4->ShowReadOnly({QStringLiteral("Titel"), {}, {}}); }, look);
     }},
    {"Lernprogramm without a file",
     [](const Look& look) {
         HandOver(false);
         Form5->ResetLearningWindow();
         Exec(Form5, look);
     }},
    {"Lernprogramm, wrong answer",
     [](const Look& look) {
         HandOver(true);
         Form5->ResetLearningWindow();
         Exec(Form5, [look](QWidget* window) {
             Form5->Zufall1Click();
             Form5->Timer1Timer();
             TypeText(Form5->Edit1, QStringLiteral("falsch"));
             QTest::keyClick(Form5->Edit1, Qt::Key_Return);
             QVERIFY(Form5->Label24->isVisible());
             look(window);
         });
     }},
    {"Lektionen-Auswahl",
     [](const Look& look) {
         QVERIFY(Form5->OpenLearningFile(g_vocabulary));
         Exec(Form6, look);
     }},
    {"Statistik, table",
     [](const Look& look) {
         Form8->vocabularyPath = g_vocabulary;
         Form8->statisticsPath = g_statistics;
         Exec(Form8, [look](QWidget* window) {
             Form8->ListBox1->setCurrentRow(0);
             Form8->Button1->click();
             look(window);
         });
     }},
    {"Statistik, chart",
     [](const Look& look) {
         Form8->vocabularyPath = g_vocabulary;
         Form8->statisticsPath = g_statistics;
         Exec(Form8, [look](QWidget* window) {
             Form8->ListBox1->setCurrentRow(0);
             Form8->Button1->click();
             Form8->PageControl1->setCurrentIndex(1);
             look(window);
         });
     }},
    {"Voreinstellungen, sounds", [](const Look& look) { Exec(Form7, look); }},
    {"Voreinstellungen, font",
     [](const Look& look) {
         Exec(Form7, [look](QWidget* window) {
             Form7->PageControl1->setCurrentWidget(Form7->TabSheet2);
             look(window);
         });
     }},
    {"Voreinstellungen, shortcuts",
     [](const Look& look) {
         Exec(Form7, [look](QWidget* window) {
             Form7->PageControl1->setCurrentWidget(Form7->TabSheet3);
             look(window);
         });
     }},
    {"Info", [](const Look& look) { Exec(Form9, look); }},
    {"Zipper", [](const Look& look) { Exec(Form10, look); }},
    {"Konverter", [](const Look& look) { Exec(Form11, look); }},
    {"Drucker with the handed-over file",
     [](const Look& look) {
         HandOver(true);
         Exec(Form12, look);
     }},
};

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    FakePlatform platform_;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(WriteVersionCreatingStore());
        const QString dir = NewTestDirectory();
        g_vocabulary = WriteVocabularyFile(dir, QStringLiteral("englisch.vok"), NumberedEntries(30));
        g_statistics = dir + QStringLiteral("/Lernkompass.dat");
        const QDate day(2001, 3, 5);
        for (int known : {7, 9})
            QVERIFY(WriteStatisticsRecord(
                g_statistics, {g_vocabulary, QStringLiteral("L1"), 10, known, 10 - known, 0, 95, day}));
        Form1 = new TForm1({g_vocabulary});
        CreateForms();
    }
    void cleanupTestCase() { DestroyForms(); }

    void everyWindowSpeaks_data()
    {
        QTest::addColumn<int>("state");
        for (int i = 0; i < int(std::size(kStates)); ++i)
            QTest::newRow(kStates[i].name) << i;
    }
    void everyWindowSpeaks()
    {
        QFETCH(int, state);
        QStringList faults{QStringLiteral("not shown")};
        kStates[state].show([&](QWidget* window) { faults = Unheard(window); });
        QCOMPARE(faults.join(u'\n'), QString());
        QVERIFY(platform_.messages.isEmpty());
    }
};

LK_TEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
