#include "support/VocabTests.h"
#include "vocab/Dateiinfo.h"

namespace {

QByteArray Header(const QByteArray& title, const QByteArray& author, const QByteArray& remarks)
{
    return title.leftJustified(kFieldWidth, ' ') + author.leftJustified(kFieldWidth, ' ') +
           remarks.leftJustified(kRemarksWidth, ' ');
}

}  // namespace

class DateiinfoTest : public QObject {
    Q_OBJECT

    FakePlatform platform;
    QString path;
    VocabularyFile file;

    // A file with this raw header and two entries.
    void open(const QByteArray& header,
              VocabularyFile::Access access = VocabularyFile::Access::ReadWrite)
    {
        path = NewTestDirectory() + QStringLiteral("/englisch.vok");
        QVERIFY(WriteBytes(path, header + VocabularyBytes(NumberedEntries(2)).mid(kRecordSize)));
        QVERIFY(file.open(path, access));
    }

private Q_SLOTS:
    void init() { platform.clear(); }
    void cleanup() { file.close(); }

    // Every way of closing writes the header, changed or not, fitted to the field widths;
    // typed text is cut at the field width and limited to what the file can store. A file
    // removed by another program while shown is not brought back.
    void editMode_closeWritesHeader_data()
    {
        // closeBox: else Esc; written null: the file is removed while shown
        DataColumns<QByteArray, bool, bool, QStringList, QByteArray, QStringList>(
            "header", "writable", "closeBox", "typed", "written", "messages");
        const QByteArray indented = Header("  Englisch", "Anna", "Grundwortschatz");
        const QByteArray fitted = Header("Englisch", "Anna", "Grundwortschatz");
        const QByteArray blank(kRecordSize, ' ');
        QTest::newRow("close box")
            << indented << true << true << QStringList() << fitted << QStringList();
        QTest::newRow("typed") << blank << true << false
                               << QStringList{QString(85, QLatin1Char('T')), QStringLiteral("Jörg"),
                                              QStringLiteral("5 € пример")}
                               << Header(QByteArray(80, 'T'), "J\xf6rg", "5 \x80 ")
                               << QStringList();
        QTest::newRow("write fails")
            << Header("Alt", "", "") << false << false << QStringList{QStringLiteral("Neu")}
            << Header("Alt", "", "")
            << QStringList{QStringLiteral("Fehler beim Schreiben der Datei!")};
        QTest::newRow("removed meanwhile")
            << fitted << true << true << QStringList() << QByteArray()
            << QStringList{QStringLiteral("Die Datei existiert nicht mehr!")};
    }
    void editMode_closeWritesHeader()
    {
        const auto [header, writable, closeBox, typed, written] =
            DataRow<QByteArray, bool, bool, QStringList, QByteArray>(
                "header", "writable", "closeBox", "typed", "written");
        open(header,
             writable ? VocabularyFile::Access::ReadWrite : VocabularyFile::Access::ReadOnly);
        const QByteArray entries = ReadBytes(path).mid(kRecordSize);
        TForm4 form;
        WhileDialogShown(form, [&] {
            const QList<QLineEdit*> edits{form.Edit1, form.Edit2, form.Edit3};
            for (int i = 0; i < typed.size(); ++i)
                TypeText(edits[i], typed[i]);
            if (written.isNull())
                QVERIFY(QFile::remove(path));
            if (closeBox)
                form.close();
            else
                QTest::keyClick(&form, Qt::Key_Escape);
        });
        form.ShowForEditor(file);
        QCOMPARE(ReadBytes(path), written.isNull() ? QByteArray() : written + entries);
        QVERIFY(!written.isNull() || !QFile::exists(path));
        QTEST(platform.messageTexts(), "messages");
    }

    // Shown read-only after an editing session on the same file: nothing is written.
    void readOnlyMode_writesNothing()
    {
        open(Header("Englisch", "Anna", ""));
        TForm4 form;
        WhileDialogShown(form, [&] { form.reject(); });
        form.ShowForEditor(file);
        QVERIFY(WriteBytes(path, Header("  Englisch", "Anna", "") + ReadBytes(path).mid(400)));
        const QByteArray before = ReadBytes(path);
        WhileDialogShown(form, [&] {
            QCOMPARE(form.windowTitle(), QStringLiteral("Datei-Informationen (nur lesen)"));
            QCOMPARE(form.Edit1->text(), QStringLiteral("Französisch"));
            QVERIFY(form.Edit1->isReadOnly());
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        form.ShowReadOnly({QStringLiteral("Französisch"), {}, {}});
        QCOMPARE(ReadBytes(path), before);
        QVERIFY(platform.messages.isEmpty());
    }

    void enter_cyclesTheFields()
    {
        open(Header("T", "A", "B"));
        TForm4 form;
        WhileDialogShown(form, [&] {
            QTRY_COMPARE(QApplication::focusWidget(), form.Edit1);
            for (QLineEdit* next : {form.Edit2, form.Edit3, form.Edit1}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), next);
            }
            QVERIFY(form.isVisible());
            form.reject();
        });
        form.ShowForEditor(file);
    }
};

LK_TEST_MAIN(DateiinfoTest)
#include "DateiinfoTest.moc"
