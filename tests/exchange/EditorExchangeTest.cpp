#include "app/SettingsStore.h"
#include "exchange/ImportDialog.h"
#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>

namespace {

using namespace Qt::StringLiterals;

const QByteArray kList = "Lektion;Deutsch;Englisch\r\nL9;Baum;tree\r\nL9;Haus;house\r\n";
const QList<VocabularyEntry> kImported = {{u"L9"_s, u"Baum"_s, u"tree"_s, {}, {}},
                                          {u"L9"_s, u"Haus"_s, u"house"_s, {}, {}}};

}  // namespace

// The editor's "&Importieren ..." and "&Exportieren ...", by keyboard, with the file dialogs
// answered by the fake platform.
class EditorExchangeTest : public QObject {
    Q_OBJECT
    FakePlatform platform;
    QString dir;
    TForm2* editor = nullptr;

    // Alt+D, then the item's letter in the menu that opens.
    void fileMenu(Qt::Key item)
    {
        QTest::keyClick(editor, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), item);
    }

    QString view() const
    {
        return editor->Label8->text() + u'/' + editor->Label11->text() + u" bar "_s +
               QString::number(editor->ScrollBar1->value()) + u'/' +
               QString::number(editor->ScrollBar1->maximum()) + u' ' + editor->Edit2->text();
    }

    QString openTwoEntries(TForm2* form)
    {
        const QString path = WriteVocabularyFile(dir, u"offen.vok"_s, NumberedEntries(2));
        platform.fileAnswers << path;
        form->Oeffnen->trigger();
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(WriteVersionCreatingStore()); }

    void init()
    {
        platform.clear();
        dir = NewTestDirectory();
        editor = new TForm2;
        editor->ResetEditor();
        editor->show();
        QVERIFY(QTest::qWaitForWindowActive(editor));
    }

    void cleanup() { delete editor; }

    // The entry on screen is stored first; the save dialog's file type chooses the format
    // and gives the name its extension unless it has one of that format's.
    void exportList_data()
    {
        DataColumns<QString, QString, QString, QByteArray>("type", "typed", "written", "head");
        QTest::newRow("first type: CSV")
            << QString() << u"liste"_s << u"liste.csv"_s
            << QByteArray(
                   "\xEF\xBB\xBFLektion;Deutsch;Fremdsprache;Synonyme;Bemerkung\r\n"
                   "L1;deutsch1;foreign1;;\r\nL2;deutsch2;neu;;\r\n");
        QTest::newRow("Anki text after another extension")
            << u"Anki-Text (*.txt)"_s << u"liste.csv"_s << u"liste.csv.txt"_s
            << QByteArray(
                   "#separator:tab\n#html:false\n#columns:Deutsch\tFremdsprache\tSynonyme"
                   "\tBemerkung\tLektion\n#deck column:5\n");
        QTest::newRow("KVTML keeps .xml")
            << u"KVTML (*.kvtml)"_s << u"liste.xml"_s << u"liste.xml"_s
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    }

    void exportList()
    {
        const auto [type, typed, written, head] =
            DataRow<QString, QString, QString, QByteArray>("type", "typed", "written", "head");
        openTwoEntries(editor);
        QTest::keyClick(editor, Qt::Key_F3);
        editor->Edit3->selectAll();
        QTest::keyClicks(editor->Edit3, u"neu"_s);
        platform.fileAnswers << dir + u'/' + typed;
        if (!type.isEmpty())
            platform.filterAnswers << type;
        fileMenu(Qt::Key_E);
        QTRY_COMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.fileDialogs.last().filter,
                 u"CSV (*.csv);;Anki-Text (*.txt);;KVTML (*.kvtml)"_s);
        QCOMPARE(platform.fileDialogs.last().choice, FileChoice::MayBeNew);
        const QString path = dir + u'/' + written;
        QCOMPARE(platform.messageTexts().join(u'|'),
                 u"2 Einträge wurden als %1 gespeichert:\n%2"_s.arg(
                     type.isEmpty() ? u"CSV"_s : type.section(u' ', 0, 0),
                     QDir::toNativeSeparators(path)));
        QCOMPARE(ReadBytes(path).left(head.size()), head);
        QVERIFY(ReadBytes(path).contains("neu"));
    }

    // After an append the editor goes on without "changed by another program"; an import
    // with nothing open opens the new file; a file a second editor has open is not replaced.
    void importList_data()
    {
        DataColumns<QString, QString, QString>("how", "view", "message");
        QTest::newRow("appended to the open file")
            << u"append"_s << u"2/4 bar 2/4 deutsch2"_s << QString();
        QTest::newRow("new file, nothing open") << u"new"_s << u"1/2 bar 1/2 Baum"_s << QString();
        QTest::newRow("file a second editor has open")
            << u"other"_s << u"0/0 bar 1/1 "_s
            << u"Die Datei %1 wird gerade in einem Lernkompass-Fenster bearbeitet."_s;
    }

    void importList()
    {
        const auto [how, view, message] =
            DataRow<QString, QString, QString>("how", "view", "message");
        const QString list = dir + u"/liste.csv"_s;
        QVERIFY(WriteBytes(list, kList));
        TForm2 other;
        QString open;
        if (how == u"append"_s) {
            open = openTwoEntries(editor);
            QTest::keyClick(editor, Qt::Key_F3);
            editor->Edit3->selectAll();
            QTest::keyClicks(editor->Edit3, u"neu"_s);
        } else if (how == u"other"_s) {
            open = openTwoEntries(&other);
        }
        const QString target = how == u"append"_s ? open : dir + u"/offen.vok"_s;
        platform.fileAnswers << list;
        platform.answers << MsgAnswer::Yes;  // replace the existing file
        bool done = false;
        QTimer::singleShot(0, editor, [&] {
            auto* dialog = qobject_cast<ImportDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // Should a check fail in here, the test fails instead of hanging.
            QTimer::singleShot(10000, dialog, [dialog] { dialog->done(QDialog::Rejected); });
            dialog->activateWindow();  // no window manager here to do it
            QTRY_COMPARE(QApplication::activeWindow(), dialog);
            if (how == u"append"_s) {
                QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);
                QTRY_VERIFY(dialog->appendButton->isChecked());
            } else {
                dialog->newFileEdit->setText(target);
            }
            QTest::keyClick(dialog, Qt::Key_I, Qt::AltModifier);
            QTRY_VERIFY(!dialog->isVisible() || platform.messages.size() == 2);
            if (dialog->isVisible())
                QTest::keyClick(dialog, Qt::Key_Escape);
            done = true;
        });
        fileMenu(Qt::Key_I);
        QTRY_VERIFY(done);
        QCOMPARE(this->view(), view);
        const QStringList shown = platform.messageTexts();
        if (message.isEmpty()) {
            QCOMPARE(shown.size(), 1);
            QVERIFY(shown.first().startsWith(u"Der Import ist abgeschlossen."_s));
            QCOMPARE(editor->Label2->text(), target);
        } else {
            QCOMPARE(shown.last(), message.arg(QDir::toNativeSeparators(target)));
        }
        QList<VocabularyEntry> expected = NumberedEntries(2);
        expected[1].foreign = u"neu"_s;
        expected = how == u"append"_s ? expected + kImported
                   : how == u"new"_s  ? kImported
                                      : NumberedEntries(2);
        QCOMPARE(ReadBytes(target), VocabularyBytes(expected));
        if (how != u"append"_s)
            return;
        // Storing and moving on find the file as the editor knows it.
        editor->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), editor);
        QTest::keyClick(editor, Qt::Key_F4);
        QCOMPARE(this->view(), u"4/4 bar 4/4 Haus"_s);
        QCOMPARE(platform.messages.size(), 1);
    }
};

LK_TEST_MAIN(EditorExchangeTest)
#include "EditorExchangeTest.moc"
