#include "exchange/ImportDialog.h"
#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTableWidget>

namespace {

using namespace Qt::StringLiterals;

// A list as a German spreadsheet saves it: Windows-1252, ";", Excel's first line.
const QByteArray kList =
    "sep=;\r\nLektion;Deutsch;Englisch;Bemerkung\r\n"
    "L1;\x84Haus\x93;house;\"sagt \"\"hallo\"\"\"\r\n"
    ";Baum;tree;\r\n;;;\r\nL2;Stra\xDF\x65;\r\nL2;" +
    QByteArray(81, 'x') + ";long;\r\n";

QString Column(const QTableWidget* table, int column)
{
    QStringList cells;
    for (int r = 0; r < table->rowCount(); ++r)
        cells.append(table->item(r, column)->text());
    return cells.join(u'|');
}

}  // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT
    FakePlatform platform;
    QString dir_;
    QString list_;

private Q_SLOTS:
    void init()
    {
        platform.clear();
        dir_ = NewTestDirectory();
        list_ = dir_ + u"/liste.csv"_s;
        QVERIFY(WriteBytes(list_, kList));
    }

    // What it finds in the list and shows, before anything is written.
    void showsDetectedList()
    {
        ImportDialog dialog;
        QVERIFY(dialog.setSource(list_));
        QCOMPARE(dialog.formatBox->currentText(), u"CSV"_s);
        QCOMPARE(dialog.encodingBox->currentText(), u"Windows-1252 (ANSI)"_s);
        QCOMPARE(dialog.separatorBox->currentText(), u"Semikolon (;)"_s);
        QVERIFY(dialog.namesRowBox->isChecked());
        QCOMPARE(dialog.columnBoxes[kForeignField]->currentText(), u"Spalte 3: Englisch"_s);
        QCOMPARE(dialog.columnBoxes[kSynonymsField]->currentText(), u"(keine)"_s);
        QCOMPARE(Column(dialog.previewTable, kLessonField), u"L1|liste||L2|L2"_s);
        QCOMPARE(Column(dialog.previewTable, kRemarkField), u"sagt \"hallo\"||||"_s);
        QCOMPARE(dialog.previewTable->item(0, kGermanField)->text(), u"„Haus“"_s);
        QCOMPARE(
            dialog.countsLabel->text(),
            u"3 Einträge werden übernommen.\n1 leere Zeile wird übersprungen.\n1 Zeile ohne "
            u"deutschen oder fremdsprachigen Begriff wird nicht übernommen.\n1 Eintrag hat ein "
            u"Feld mit mehr als 80 Zeichen."_s);
        QCOMPARE(dialog.newFileEdit->text(), QDir::toNativeSeparators(dir_ + u"/liste.vok"_s));
        QVERIFY(!dialog.appendButton->isEnabled());
        QCOMPARE(QDir(dir_).entryList(QDir::Files), QStringList{u"liste.csv"_s});

        // A changed mapping changes the preview and the counts at once.
        dialog.columnBoxes[kForeignField]->setCurrentIndex(0);
        QCOMPARE(Column(dialog.previewTable, kForeignField), u"||||"_s);
        QCOMPARE(dialog.countsLabel->text().section(u'\n', 0, 0),
                 u"0 Einträge werden übernommen."_s);
        QVERIFY(!dialog.importButton->isEnabled());
    }

    // By keyboard alone, and read aloud: every field has its label as buddy, values keep
    // their text as their name.
    void keyboardAndScreenReader()
    {
        ImportDialog dialog;
        QVERIFY(dialog.setSource(list_));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QList<QWidget*> buddies;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->buddy())
                buddies.append(label->buddy());
        for (QWidget* field : dialog.findChildren<QWidget*>())
            if (qobject_cast<QComboBox*>(field) || qobject_cast<QLineEdit*>(field) ||
                qobject_cast<QTableWidget*>(field))
                QVERIFY2(buddies.contains(field) || field->parent()->inherits("QComboBox"),
                         qPrintable(field->objectName()));
        for (QLabel* value : {dialog.sourceLabel, dialog.countsLabel, dialog.appendLabel})
            QCOMPARE(QAccessible::queryAccessibleInterface(value)->text(QAccessible::Name),
                     value->text());
        QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(QApplication::focusWidget(), dialog.columnBoxes[kForeignField]);
    }

    // The import: a cut or replaced entry only when the user says yes; nothing written on
    // "Nein"; appending to the file open in the editor.
    void import_data()
    {
        // entries: in the target afterwards, -1: none
        DataColumns<bool, int, int>("append", "answer", "entries");
        QTest::newRow("declined") << false << int(MsgAnswer::No) << -1;
        QTest::newRow("new file") << false << int(MsgAnswer::Yes) << 3;
        QTest::newRow("appended") << true << int(MsgAnswer::Yes) << 4;
    }

    void import()
    {
        const auto [append, answer, entries] =
            DataRow<bool, int, int>("append", "answer", "entries");
        const QString open =
            WriteVocabularyFile(dir_, u"offen.vok"_s, {{u"A"_s, u"a"_s, u"a"_s, {}, {}}});
        ImportDialog dialog;
        QVERIFY(dialog.setSource(list_, open, 1));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.appendButton->setChecked(append);
        platform.answers << MsgAnswer(answer);
        QTest::keyClick(&dialog, Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(!platform.messages.isEmpty());
        QCOMPARE(platform.messages[0].caption, u"Frage"_s);
        QVERIFY(platform.messages[0].text.startsWith(
            u"Nicht alles passt unverändert in eine Vokabeldatei:\n\n1 Eintrag hat ein Feld mit "
            u"mehr als 80 Zeichen; es wird nach 80 Zeichen abgeschnitten.\n"_s));
        const QString target = append ? open : dir_ + u"/liste.vok"_s;
        QCOMPARE(dialog.isVisible(), entries < 0);
        QCOMPARE(CheckVocabularyFile(target, false).entryCount, std::max(entries, 0));
        if (entries < 0)
            return;
        QCOMPARE(platform.messages.last().text,
                 u"Der Import ist abgeschlossen.\n\n3 Einträge wurden übernommen.\n1 leere Zeile "
                 u"wurde übersprungen.\n1 Zeile ohne deutschen oder fremdsprachigen Begriff wurde "
                 u"nicht übernommen.\n1 Eintrag mit einem Feld über 80 Zeichen wurde gekürzt."_s);
        QCOMPARE(dialog.targetPath(), target);
        QCOMPARE(dialog.appended(), append);
    }

    void refusesNoList()
    {
        QVERIFY(WriteBytes(list_, {}));
        ImportDialog dialog;
        QVERIFY(!dialog.setSource(list_));
        QCOMPARE(platform.messageTexts(), QStringList{u"Die Datei ist leer."_s});
    }
};

LK_TEST_MAIN(ImportDialogTest)
#include "ImportDialogTest.moc"
