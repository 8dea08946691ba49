#include "WinVokBytes.h"
#include "app/FileNames.h"
#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "exchange/ListImport.h"
#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Konverter.h"

namespace {

using namespace Qt::StringLiterals;

const QString kRefused = u"Konvertierung nicht durchgeführt."_s;
const QString kDone = u"Konvertierung erfolgreich abgeschlossen."_s;

const QByteArray kLibrary = Library({Lesson("L", {kHouse})});
const QByteArray kConverted = Header() + kHouseRecord;
// The same as a word list in Anki text, the header in our own comment lines.
const QByteArray kAnkiList =
    "#separator:tab\n#html:false\n#columns:Deutsch\tFremdsprache\t"
    "Synonyme\tBemerkung\tLektion\n#deck column:5\n#Titel:abc - xyz\n"
    "#Bemerkungen:Konvertiert von Lernkompass (example.org).\n"
    "Haus\thouse\thome\tn.\tL\n";

}  // namespace

class KonverterTest : public QObject {
    Q_OBJECT
    FakePlatform platform;

private Q_SLOTS:
    void initTestCase() { QVERIFY(WriteVersionCreatingStore()); }
    void init() { platform.clear(); }

    // The start button's checks in their order, in a directory holding liste.bib, a link
    // to it and alt.vok. How: input chosen in the dialog or typed; answer Yes. The message:
    // caption, buttons * 10 + icon, text.
    void start_data()
    {
        for (const char* column : {"how", "input", "output", "message", "status"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char* name, const char* how, const char* input,
                            const char* output, const QString& message, const QString& status) {
            QTest::newRow(name) << how << input << output << message << status;
        };
        const QString names = u"Fehler 1 Es müssen zwei Dateinamen angegeben werden!"_s;
        const QString same =
            u"Fehler 1 Die Konvertierung ergibt keinen Sinn, da beide Dateien identisch sind!"_s;
        const QString overwrite = u"Frage 12 Die Output-Datei existiert bereits. Überschreiben?"_s;
        const char* list = "%1/liste.bib";
        row("output blank", "dialog", list, " \t", names, kRefused);
        row("same file through ./", "dialog", list, "%1/./liste.bib", same, kRefused);
        row("same file through a link", "dialog", list, "%1/link.bib", same, kRefused);
        row("input missing", "dialog", "%1/fehlt.bib", "%1/neu.vok",
            u"Fehler 1 Die Input-Datei existiert nicht!"_s, kRefused);
        row("overwrite declined", "dialog", list, "%1/alt.vok", overwrite, kRefused);
        row("overwrite accepted", "dialog, Yes", list, "%1/alt.vok", overwrite, kDone);
        row("trimmed names, new output", "dialog", "\t%1/liste.bib  ", " %1/neu.vok\n", {}, kDone);
        row("wrong format", "dialog", "%1/alt.vok", "%1/neu.vok", {},
            u"Falsches Format der Input-Datei."_s);
        row("typed library", "typed, Yes", list, "%1/alt.vok", overwrite, kDone);
        row("typed other file: nothing asked", "typed, Yes", "%1/alt.vok", "%1/liste.bib", {},
            u"Falsches Format der Input-Datei."_s);
        // Word lists, recognised by their content.
        row("Anki text list", "typed, Yes", "%1/liste.txt", "%1/alt.vok", overwrite, kDone);
        row("list needing a cut, declined", "typed", "%1/lang.csv", "%1/neu.vok",
            u"Frage 12 "_s + FittingQuestion({1, 0, 0, 1, 0, false, false}), kRefused);
        row("empty list", "typed, Yes", "%1/leer.csv", "%1/neu.vok", {}, u"Die Datei ist leer."_s);
    }
    void start()
    {
        auto [how, input, output, message, status] =
            DataRow<QString, QString, QString, QString, QString>("how", "input", "output",
                                                                 "message", "status");
        const QString dir = NewTestDirectory() + u'/';
        QVERIFY(WriteBytes(dir + u"liste.bib"_s, kLibrary) &&
                WriteBytes(dir + u"alt.vok"_s, "alt"));
        QVERIFY(WriteBytes(dir + u"liste.txt"_s, kAnkiList) &&
                WriteBytes(dir + u"lang.csv"_s, "L;Haus;" + QByteArray(81, 'h')) &&
                WriteBytes(dir + u"leer.csv"_s, {}));
        QFile::link(dir + u"liste.bib"_s, dir + u"link.bib"_s);
        TForm11 form;
        form.show();
        platform.fileAnswers << dir + u"liste.bib"_s;
        if (how.startsWith(u"dialog"_s))
            form.Button1->click();
        form.Edit1->setText(input.replace(u"%1/"_s, dir));
        form.Edit2->setText(output.replace(u"%1/"_s, dir));
        platform.answers << (how.endsWith(u"Yes"_s) ? MsgAnswer::Yes : MsgAnswer::No);
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QStringList shown;  // caption, buttons * 10 + icon, text
        for (const auto& m : platform.messages)
            shown
                << u"%1 %2 %3"_s.arg(m.caption).arg(int(m.buttons) * 10 + int(m.icon)).arg(m.text);
        QCOMPARE(shown.join(u'|'), message);
        QCOMPARE(form.StatusText(), status);
        QCOMPARE(form.Edit1->text() + form.Edit2->text(), input.trimmed() + output.trimmed());
        const bool intoAlt = status == kDone && output.endsWith(u"alt.vok"_s);
        QCOMPARE(ReadBytes(dir + u"alt.vok"_s), intoAlt ? kConverted : "alt");
        QCOMPARE(ReadBytes(dir + u"neu.vok"_s), status == kDone && !intoAlt ? kConverted : "");
        QCOMPARE(ReadBytes(dir + u"liste.bib"_s), kLibrary);
    }

    // "&Konverter" shows the window modally; the dialogs set names, formats and the start
    // directory; the close box does nothing while a conversion runs, and the
    // window repaints meanwhile; "&Felder löschen" clears it all.
    void startScreen_dialogs_conversion_closing()
    {
        const QString dir = NewTestDirectory();
        const QByteArray lesson = Lesson("L", QByteArrayList(1000, kHouse));
        QVERIFY(WriteBytes(dir + u"/gross.bib"_s, Library(QByteArrayList(3, lesson))));
        WriteCurrentDirectory(u"/start"_s);
        Form11 = new TForm11;
        TForm1 start;
        QStringList seen;
        QTimer::singleShot(0, Form11, [&] {
            seen << QString::number(Form11->isModal()) + Form11->StatusText();
            platform.fileAnswers << std::nullopt << dir + u"/gross.bib"_s << dir + u"/gross.txt"_s;
            for (QPushButton* button : {Form11->Button1, Form11->Button1, Form11->Button2})
                button->click();
            seen << Form11->Label5->text() << Form11->Label6->text();
            for (QLineEdit* edit : {Form11->Edit1, Form11->Edit2})
                seen << FileNamePart(edit->text());
            for (const auto& d : platform.fileDialogs)
                seen << d.title + d.filter + QString(d.startDirectory).replace(dir, u"D"_s) +
                            QString::number(int(d.choice));
            QTimer::singleShot(0, Form11, [&] {
                seen << QString::number(Form11->isEnabled()) + Form11->StatusText();
                Form11->close();
            });
            QTest::keyClick(Form11->Button3, Qt::Key_Space);
            seen << QString::number(Form11->isVisible()) + Form11->StatusText();
            QTest::keyClick(Form11, Qt::Key_F, Qt::AltModifier);
            QTRY_VERIFY(Form11->Edit1->text().isEmpty());
            seen << QString::number(Form11->isVisible()) + Form11->Edit2->text() +
                        Form11->Label5->text() + Form11->Label6->text() +
                        QString::number(Form11->InputFormat());
            Form11->close();
        });
        start.BitBtn4->click();
        QCOMPARE(seen.join(u'|'),
                 QStringLiteral("1Bereit.|WinVok II|Lernkompass|gross.bib|gross.vok|"
                                "Input-Datei wählenWinVok II (*.bib);;Wortlisten (*.csv "
                                "*.txt *.tsv *.kvtml)/start0|"
                                "Input-Datei wählenWinVok II (*.bib);;Wortlisten (*.csv "
                                "*.txt *.tsv *.kvtml)/start0|"
                                "Output-Datei wählenLernkompass (*.vok)D1|"
                                "0Starte Konvertierung ...|1") +
                     kDone + QStringLiteral("|1-1"));
        QCOMPARE(ReadCurrentDirectory(), dir);
        QCOMPARE(QFileInfo(dir + u"/gross.vok"_s).size(), qint64(400) * 3001);
        delete std::exchange(Form11, nullptr);
    }
};

LK_TEST_MAIN(KonverterTest)
#include "KonverterTest.moc"
