// Every window in the states a user meets it, at a 12-point system font: what a screen
// reader hears (each label says the text it shows, and so announces its changes; each field,
// list, grid and button has a name), whether every caption shows whole and apart, and
// whether Enter on a button reached with Tab presses that button.

#include "app/Info.h"
#include "app/Preferences.h"
#include "app/Start.h"
#include "exchange/ImportDialog.h"
#include "learn/Lektionauswahl.h"
#include "learn/Lernprogramm.h"
#include "speech/ReadAloud.h"
#include "learn/StatisticsFile.h"
#include "learn/Statistik.h"
#include "review/ProgressWindow.h"
#include "support/TestSupport.h"
#include "tools/Drucker.h"
#include "tools/Konverter.h"
#include "tools/WinVokBytes.h"
#include "tools/Zipper.h"
#include "vocab/Dateiinfo.h"
#include "vocab/Editor.h"
#include "vocab/Lektionen.h"

#include <QPointer>
#include <QSignalSpy>
#include <QtWidgets>

#include <memory>

using namespace Qt::StringLiterals;

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
        text.remove(QRegularExpression(u"&(?!&)"_s));
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

QString Id(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// "objectName: fault" for every visible control a screen reader gets wrong.
QStringList Unheard(QWidget* window)
{
    QStringList faults;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QString id = Id(w);
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->pixmap().isNull()) {
            // An empty label is named after its group box by Qt; there is nothing to hear.
            if (!Shown(label).isEmpty() && AccessibleName(label) != Shown(label))
                faults << id + u": says \""_s + AccessibleName(label) + u"\", shows \""_s +
                              Shown(label) + u'"';
            // Qt announces a label's new text (a name change) only while the label has no
            // name of its own; the offscreen platform delivers no such events to check.
            if (!label->accessibleName().isEmpty())
                faults << id + u": a name of its own hides changes"_s;
        } else if ((label || NeedsName(w)) && AccessibleName(w).isEmpty()) {
            faults << id + u": no name"_s;
        }
    }
    return faults;
}

// Part of a compound control (a scroll area's content, a tab bar's arrows): laid out by Qt.
bool InsideControl(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QTabBar*>(p) ||
            qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p))
            return true;
    return false;
}

// Whether a control's caption needs more room than it has.
bool Cut(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!label->pixmap().isNull() || label->text().isEmpty())
            return false;
        if (label->wordWrap())
            return label->heightForWidth(label->width()) > label->height();
        return label->sizeHint().width() > label->width() ||
               label->sizeHint().height() > label->height();
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (button->text().isEmpty())
            return false;
        // What the button's text and icon take, without the style's least button width.
        QStyleOptionButton option;
        option.initFrom(button);
        option.iconSize = button->iconSize();
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        QSize contents = text;
        if (!button->icon().isNull())
            contents = QSize(text.width() + option.iconSize.width() + 4,
                             std::max(text.height(), option.iconSize.height()));
        const QSize needed =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, button);
        return needed.width() > button->width() || needed.height() > button->height();
    }
    if (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QToolButton*>(w))
        return w->sizeHint().width() > w->width() || w->sizeHint().height() > w->height();
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        const int title = box->fontMetrics().size(Qt::TextShowMnemonic, box->title()).width();
        return title > box->width();
    }
    return false;
}

// "a overlaps b" for the visible labels, fields and buttons of a window that share pixels,
// "x: cut" for each whose caption needs more room than it has.
QStringList Crowded(QWidget* window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);  // as the user sees it
    QStringList faults;
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || InsideControl(w, window))
            continue;
        if (Cut(w))
            faults << Id(w) + u": cut"_s;
        if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QAbstractButton*>(w))
            controls << w;
    }
    const auto place = [window](const QWidget* w) {
        return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    };
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (place(controls[i]).intersects(place(controls[j])) &&
                !controls[i]->isAncestorOf(controls[j]) && !controls[j]->isAncestorOf(controls[i]))
                faults << Id(controls[i]) + u" overlaps "_s + Id(controls[j]);
    return faults;
}

void Exec(QWidget* window, const Look& look, const std::function<void()>& inside = {})
{
    WhileShown(
        window, [window] { static_cast<QDialog*>(window)->exec(); },
        [&] {
            if (inside)
                inside();
            look(window);
        });
}

// A tool window's job, started by start, with look at its first repaint.
void DuringJob(QWidget* window, const Look& look, const std::function<void()>& start)
{
    Exec(
        window, [](QWidget*) {},
        [&] {
            QTimer::singleShot(0, window, [&] { look(window); });
            start();
        });
}

QString g_vocabulary;  // 30 entries in lessons L1 to L30, the handed-over file
QString g_statistics;  // two runs of lesson L1 of that file
QString g_jobs;        // a folder holding liste.bib and liste.vok

void HandOver(bool file)
{
    Form1->Label3->setText(file ? g_vocabulary : QString());
}

// The editor lets go of the file afterwards, also where the test's closing could not leave.
void ShowEditor(const Look& look, bool file)
{
    HandOver(file);
    Form2->ResetEditor();
    Exec(Form2, look);
    Form2->ResetEditor();
}

void ShowStatistics(const Look& look, int page)
{
    Form8->vocabularyPath = g_vocabulary;
    Form8->statisticsPath = g_statistics;
    Exec(Form8, look, [page] {
        Form8->ListBox1->setCurrentRow(0);
        Form8->Button1->click();
        Form8->PageControl1->setCurrentIndex(page);
    });
}

void ShowPreferences(const Look& look, int page)
{
    Exec(Form7, look, [page] { Form7->PageControl1->setCurrentIndex(page); });
}

FakePlatform& Fake()
{
    return static_cast<FakePlatform&>(Platform::instance());
}

// Every window in its states, and what Esc does there (with the status line's text after it):
// it closes a window that only shows something or has a cancel button, and has no meaning
// elsewhere; it cuts neither a conversion nor an export short, and cancels a zip job as
// "&Abbrechen" does. Rows with a running job are for Esc only. A new window joins with a row.
struct WindowState {
    const char* name;
    std::function<void(const Look&)> show;
    const char* esc;
    bool job = false;
};
const WindowState kStates[] = {
    {"Start with a handed-over file",
     [](const Look& look) {
         WhileShown(
             Form1, [] { Form1->show(); }, [&] { look(Form1); });
     },
     "stays"},
    {"Editor without a document", [](const Look& look) { ShowEditor(look, false); }, "stays"},
    {"Editor with an entry", [](const Look& look) { ShowEditor(look, true); }, "stays"},
    {"Lektionen-Übersicht",
     [](const Look& look) {
         Form2->ResetEditor();  // the editor's lock would refuse this second open
         VocabularyFile file;
         QVERIFY(file.open(g_vocabulary));
         WhileShown(
             Form3, [&] { Form3->ShowOverview(file); }, [&] { look(Form3); });
     },
     "closes"},
    {"Datei-Informationen, editing",
     [](const Look& look) {
         Form2->ResetEditor();  // the editor's lock would refuse this second open
         VocabularyFile file;
         QVERIFY(file.open(g_vocabulary));
         WhileShown(
             Form4, [&] { Form4->ShowForEditor(file); }, [&] { look(Form4); });
     },
     "closes"},
    {"Datei-Informationen, read-only",
     [](const Look& look) {
         WhileShown(
             Form4,
             [] {
                 Form4->ShowReadOnly({u"Titel"_s, {}, {}});
             },
             [&] { look(Form4); });
     },
     "closes"},
    {"Lernprogramm without a file",
     [](const Look& look) {
         HandOver(false);
         Form5->ResetLearningWindow();
         Exec(Form5, look);
     },
     "stays"},
    {"Lernprogramm, wrong answer",
     [](const Look& look) {
         HandOver(true);
         Form5->ResetLearningWindow();
         Exec(Form5, look, [] {
             Form5->Zufall1Click();
             Form5->Timer1Timer();
             TypeText(Form5->Edit1, u"falsch"_s);
             QTest::keyClick(Form5->Edit1, Qt::Key_Return);
             QVERIFY(Form5->Label24->isVisible());
         });
     },
     "stays"},
    {"Sprache der Fremdsprache",
     [](const Look& look) {
         LanguageDialog dialog(Form5, Platform::instance().speechVoices(), u"en"_s);
         Exec(&dialog, look);
     },
     "closes"},
    {"Lektionen-Auswahl",
     [](const Look& look) {
         QVERIFY(Form5->OpenLearningFile(g_vocabulary));
         Exec(Form6, look);
     },
     "closes"},
    {"Statistik, table", [](const Look& look) { ShowStatistics(look, 0); }, "closes"},
    {"Statistik, chart", [](const Look& look) { ShowStatistics(look, 1); }, "closes"},
    {"Voreinstellungen, sounds", [](const Look& look) { ShowPreferences(look, 0); }, "closes"},
    {"Voreinstellungen, font", [](const Look& look) { ShowPreferences(look, 1); }, "closes"},
    {"Voreinstellungen, shortcuts", [](const Look& look) { ShowPreferences(look, 2); }, "closes"},
    {"Voreinstellungen, Wiederholung", [](const Look& look) { ShowPreferences(look, 3); },
     "closes"},
    {"Lernstand",
     [](const Look& look) {
         ReviewStore store;
         store.open(NewTestDirectory() + u"/Wiederholungen.sqlite"_s);
         ProgressWindow window;
         QVERIFY(window.load(store, g_vocabulary, {}, QDateTime(QDate(2001, 3, 5), QTime(19, 0))));
         Exec(&window, look);
     },
     "closes"},
    {"Import",
     [](const Look& look) {
         ImportDialog dialog;
         QVERIFY(dialog.setSource(g_jobs + u"/liste.csv"_s));
         Exec(&dialog, look);
     },
     "closes"},
    {"Info", [](const Look& look) { Exec(Form9, look); }, "closes"},
    {"Zipper", [](const Look& look) { Exec(Form10, look); }, "stays Bereit."},
    {"Konverter", [](const Look& look) { Exec(Form11, look); }, "stays Bereit."},
    {"Drucker with the handed-over file",
     [](const Look& look) {
         HandOver(true);
         Exec(Form12, look);
     },
     "stays Bereit."},
    {"Konverter converting",
     [](const Look& look) {
         DuringJob(Form11, look, [] {
             Fake().fileAnswers << g_jobs + u"/liste.bib"_s << g_jobs + u"/neu.vok"_s;
             for (QPushButton* button : {Form11->Button1, Form11->Button2, Form11->Button3})
                 button->click();
         });
     },
     "stays Konvertierung erfolgreich abgeschlossen.", true},
    {"Drucker exporting",
     [](const Look& look) {
         DuringJob(Form12, look, [] {
             Form12->Edit1->setText(g_jobs + u"/liste.vok"_s);
             Form12->Button2->click();
         });
     },
     "stays Fertig.", true},
    {"Zipper packing",
     [](const Look& look) {
         DuringJob(Form10, look, [] {
             Fake().fileAnswers << g_jobs + u"/liste.vok"_s;
             Form10->Button1->click();
         });
     },
     "stays Abgebrochen.", true},
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
        g_vocabulary = WriteVocabularyFile(dir, u"englisch.vok"_s, NumberedEntries(30));
        g_statistics = dir + u"/Lernkompass.dat"_s;
        const QDate day(2001, 3, 5);
        for (int known : {7, 9})
            QVERIFY(WriteStatisticsRecord(
                g_statistics, {g_vocabulary, u"L1"_s, 10, known, 10 - known, 0, 95, day}));
        // As on a desktop set to a 12-point font, before any window exists.
        QFont font = QApplication::font();
        font.setPointSize(12);
        QApplication::setFont(font);
        Form1 = new TForm1({g_vocabulary});
        CreateForms();
        g_jobs = NewTestDirectory();
        QVERIFY(WriteBytes(g_jobs + u"/liste.bib"_s,
                           Library({Lesson("L", QByteArrayList(100, kHouse))})));
        WriteVocabularyFile(g_jobs, u"liste.vok"_s, NumberedEntries(300));
        QVERIFY(WriteBytes(g_jobs + u"/liste.csv"_s, "L;Haus;house\n;;\n;Baum;\n"));
    }
    void cleanupTestCase() { DestroyForms(); }

    void everyWindowSpeaks_data()
    {
        QTest::addColumn<int>("state");
        for (int i = 0; i < int(std::size(kStates)); ++i)
            if (!kStates[i].job || QTest::currentTestFunction() == QByteArray("escape"))
                QTest::newRow(kStates[i].name) << i;
    }
    void everyWindowSpeaks()
    {
        QFETCH(int, state);
        QStringList faults{u"not shown"_s};
        kStates[state].show([&](QWidget* window) { faults = Unheard(window); });
        QCOMPARE(faults.join(u'\n'), QString());
        QVERIFY(platform_.messages.isEmpty());
    }

    void everyCaptionFits_data() { everyWindowSpeaks_data(); }
    void everyCaptionFits()
    {
        QFETCH(int, state);
        QStringList faults{u"not shown"_s};
        kStates[state].show([&](QWidget* window) { faults = Crowded(window); });
        QCOMPARE(faults.join(u'\n'), QString());
    }

    // Each push button Tab reaches, in a fresh showing of its window: Enter presses it and
    // no other button. Whatever window the button opens is closed again at once.
    void everyButtonAnswersEnter_data() { everyWindowSpeaks_data(); }
    void everyButtonAnswersEnter()
    {
        QFETCH(int, state);
        QStringList buttons;
        kStates[state].show([&](QWidget* window) {
            for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
                if ((qobject_cast<QPushButton*>(b) || qobject_cast<QToolButton*>(b)) &&
                    b->isVisible() && b->isEnabled() && (b->focusPolicy() & Qt::TabFocus))
                    buttons << b->objectName();
        });
        QStringList faults;
        for (const QString& name : buttons) {
            kStates[state].show([&](QWidget* window) {
                auto* button = window->findChild<QAbstractButton*>(name);
                // The window's own focus: offscreen, a window shown again may stay inactive.
                for (int i = 0; i < 100 && window->focusWidget() != button; ++i)
                    PressKey(window, Qt::Key_Tab);
                if (window->focusWidget() != button) {
                    faults << name + u": not reached with Tab"_s;
                    return;
                }
                std::vector<std::unique_ptr<QSignalSpy>> spies;
                const QList<QAbstractButton*> all = window->findChildren<QAbstractButton*>();
                for (QAbstractButton* b : all)
                    spies.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked));
                QTimer closer;
                QObject::connect(&closer, &QTimer::timeout, [window] {
                    QWidget* opened = QApplication::activeModalWidget();
                    if (!opened || opened == window)
                        return;
                    opened->close();
                    if (auto* dialog = qobject_cast<QDialog*>(opened);
                        dialog && dialog->isVisible())
                        dialog->done(QDialog::Rejected);
                });
                closer.start(10);
                QTest::keyClick(button, Qt::Key_Return);
                closer.stop();
                QStringList pressed;
                for (size_t i = 0; i < spies.size(); ++i)
                    if (!spies[i]->isEmpty())
                        pressed << Id(all[qsizetype(i)]);
                if (pressed != QStringList{name})
                    faults << name + u": Enter pressed "_s + pressed.join(u',');
            });
        }
        QCOMPARE(faults.join(u'\n'), QString());
        platform_.clear();
    }

    // Esc where the focus is, with the first item of a list chosen: the window closes or
    // stays, and hands nothing back (the handed-over file, the chosen lesson) nor stores a
    // setting.
    void escape_data() { everyWindowSpeaks_data(); }
    void escape()
    {
        QFETCH(int, state);
        QString after;
        QPointer<QWidget> shown;  // some windows live only while their row shows them
        const auto handed = [] {
            return QStringList{QString::fromUtf8(ReadBytes(SettingsFilePath())),
                               Form1->Label3->text(), Form5->Label8->text()};
        };
        kStates[state].show([&](QWidget* window) {
            if (auto* list = window->findChild<QListWidget*>(); list && list->count())
                list->setCurrentRow(0);
            const QStringList before = handed();
            PressKey(shown = window, Qt::Key_Escape);
            after = QLatin1String(window->isVisible() ? "stays" : "closes");
            QCOMPARE(handed(), before);
        });
        if (auto* status = shown ? shown->findChild<QLabel*>(u"StatusText"_s) : nullptr)
            after += u' ' + status->text();
        QCOMPARE(after, QLatin1String(kStates[state].esc));
        platform_.clear();
    }
};

LK_TEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
