#include "app/AnsiText.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "vocab/Dateiinfo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <functional>

namespace {

QByteArray Header(const QByteArray& title, const QByteArray& author, const QByteArray& remarks)
{
    return title.leftJustified(kFieldWidth, ' ') + author.leftJustified(kFieldWidth, ' ') +
           remarks.leftJustified(kRemarksWidth, ' ');
}

// A file with this raw header and two entries.
QString WriteFileWithHeader(const QByteArray& header)
{
    const QString path = NewTestDirectory() + QStringLiteral("/englisch.vok");
    WriteBytes(path, header + VocabularyBytes(NumberedEntries(2)).mid(kRecordSize));
    return path;
}

// Runs `act` while the dialog is shown modally; afterwards it must be closed.
void WhileShown(TForm4& form, std::function<void()> act)
{
    QTimer::singleShot(0, &form, [&form, act] {
        form.activateWindow();
        act();
        if (form.isVisible()) {
            QTest::qFail("the dialog did not close", __FILE__, __LINE__);
            form.reject();
        }
    });
}

void CloseWithEsc(TForm4& form)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form,
                    Qt::Key_Escape);
}

}  // namespace

class DateiinfoTest : public QObject {
    Q_OBJECT

    FakePlatform platform;

private Q_SLOTS:
    void init() { platform.clear(); }

    // Esc, the close box and a plain reject all write the header, changed or not: blanks
    // before the title are read trimmed and written without them; 400 blanks stay blanks.
    void editMode_everyCloseWrites_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("written");
        const QByteArray indented = Header("  Englisch", "Anna", "Grundwortschatz");
        const QByteArray fitted = Header("Englisch", "Anna", "Grundwortschatz");
        QTest::newRow("Esc") << 0 << indented << fitted;
        QTest::newRow("close box") << 1 << indented << fitted;
        QTest::newRow("reject") << 2 << indented << fitted;
        QTest::newRow("blank header") << 0 << QByteArray(kRecordSize, ' ')
                                      << QByteArray(kRecordSize, ' ');
    }
    void editMode_everyCloseWrites()
    {
        QFETCH(int, way);
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, written);
        const QString path = WriteFileWithHeader(header);
        const QByteArray entries = ReadBytes(path).mid(kRecordSize);
        VocabularyFile file;
        QVERIFY(file.open(path));
        TForm4 form;
        WhileShown(form, [&] {
            QCOMPARE(form.windowTitle(), QStringLiteral("Datei-Informationen"));
            QCOMPARE(form.mode(), int(TForm4::EditMode));
            const VocabularyHeader shown = DecodeHeader(header);
            QCOMPARE(form.Edit1->text(), shown.title);
            QCOMPARE(form.Edit2->text(), shown.author);
            QCOMPARE(form.Edit3->text(), shown.remarks);
            QVERIFY(!form.Edit1->isReadOnly());
            if (way == 0)
                CloseWithEsc(form);
            else if (way == 1)
                form.close();
            else
                form.reject();
        });
        form.ShowForEditor(file);
        QCOMPARE(ReadBytes(path), written + entries);
        QCOMPARE(form.Edit2->text(), FromAnsi(written.mid(kFieldWidth, kFieldWidth)));
        QVERIFY(platform.messages.isEmpty());
    }

    void editMode_typedTexts()
    {
        const QString path = WriteFileWithHeader(QByteArray(kRecordSize, ' '));
        VocabularyFile file;
        QVERIFY(file.open(path));
        TForm4 form;
        WhileShown(form, [&] {
            // 85 characters typed, 80 accepted; the author follows directly.
            TypeText(form.Edit1, QString(85, QLatin1Char('T')));
            TypeText(form.Edit2, QStringLiteral("Jörg"));
            // Only what the file can store: the euro sign, no Cyrillic.
            TypeText(form.Edit3, QStringLiteral("5 € пример"));
            CloseWithEsc(form);
        });
        form.ShowForEditor(file);
        QCOMPARE(ReadBytes(path).left(kRecordSize),
                 Header(QByteArray(80, 'T'), "J\xf6rg", "5 \x80 "));
    }

    void editMode_failedWriteIsReported()
    {
        const QString path = WriteFileWithHeader(Header("Alt", "", ""));
        const QByteArray before = ReadBytes(path);
        VocabularyFile file;
        QVERIFY(file.open(path, VocabularyFile::Access::ReadOnly));
        TForm4 form;
        WhileShown(form, [&] {
            TypeText(form.Edit1, QStringLiteral("Neu"));
            CloseWithEsc(form);
        });
        form.ShowForEditor(file);
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].text, QStringLiteral("Fehler beim Schreiben der Datei!"));
        QCOMPARE(platform.messages[0].caption, QStringLiteral("Fehler"));
    }

    // Shown read-only after an editing session on the same file: nothing is written.
    void readOnlyMode_writesNothing()
    {
        const QString path = WriteFileWithHeader(Header("Englisch", "Anna", ""));
        VocabularyFile file;
        QVERIFY(file.open(path));
        TForm4 form;
        WhileShown(form, [&] { form.reject(); });
        form.ShowForEditor(file);
        QVERIFY(WriteBytes(path, Header("  Englisch", "Anna", "") + ReadBytes(path).mid(400)));
        const QByteArray before = ReadBytes(path);

        WhileShown(form, [&] {
            QCOMPARE(form.windowTitle(), QStringLiteral("Datei-Informationen (nur lesen)"));
            QCOMPARE(form.mode(), int(TForm4::ReadOnlyMode));
            QCOMPARE(form.Edit1->text(), QStringLiteral("Französisch"));
            QCOMPARE(form.Edit3->text(), QStringLiteral("Verben"));
            for (QLineEdit* edit : {form.Edit1, form.Edit2, form.Edit3})
                QVERIFY(edit->isReadOnly());
            TypeText(form.Edit1, QStringLiteral("x"));
            QCOMPARE(form.Edit1->text(), QStringLiteral("Französisch"));
            CloseWithEsc(form);
        });
        form.ShowReadOnly({QStringLiteral("Französisch"), QStringLiteral("Ben"),
                           QStringLiteral("Verben")});
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(form.Edit1->text(), QStringLiteral("Französisch"));

        // Back in the editor the fields are editable and show the file again.
        WhileShown(form, [&] {
            QVERIFY(!form.Edit1->isReadOnly());
            QCOMPARE(form.Edit1->text(), QStringLiteral("Englisch"));
            form.reject();
        });
        form.ShowForEditor(file);
    }

    void enter_cyclesTheFields_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("edit") << int(TForm4::EditMode);
        QTest::newRow("read-only") << int(TForm4::ReadOnlyMode);
    }
    void enter_cyclesTheFields()
    {
        QFETCH(int, mode);
        const QString path = WriteFileWithHeader(Header("T", "A", "B"));
        VocabularyFile file;
        QVERIFY(file.open(path));
        TForm4 form;
        WhileShown(form, [&] {
            QTRY_COMPARE(QApplication::focusWidget(), form.Edit1);
            for (QLineEdit* next : {form.Edit2, form.Edit3, form.Edit1, form.Edit2}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), next);
                QVERIFY(form.isVisible());
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
            QCOMPARE(QApplication::focusWidget(), form.Edit3);
            QCOMPARE(form.Edit1->text(), QStringLiteral("T"));
            form.reject();
        });
        if (mode == TForm4::EditMode)
            form.ShowForEditor(file);
        else
            form.ShowReadOnly({QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B")});
    }
};

LK_TEST_MAIN(DateiinfoTest)
#include "DateiinfoTest.moc"
