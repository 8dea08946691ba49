#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/DataTables.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Drucker.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// Every status shown, with "[frei]" where the controls were usable and the hourglass gone.
// The close box is tried while the export runs.
QStringList g_statuses;

void RecordStatus(const QString& text)
{
    const bool busy = !Form12->Edit1->isEnabled() && !Form12->Button1->isEnabled() &&
                      !Form12->Button2->isEnabled() && QGuiApplication::overrideCursor();
    g_statuses << text + (busy ? QString() : QStringLiteral(" [frei]"));
    if (busy) {
        Form12->close();
    }
}

}  // namespace

class DruckerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        Form1 = new TForm1();
        Form12 = new TForm12();
        connect(Form12, &TForm12::StatusChanged, Form12, RecordStatus);
        WriteVersionCreatingStore();
    }
    void init() { platform_.clear(); }
    void cleanup() { Form12->close(); }

    // The field from the hand-over on every showing and on a click on "Sortierung:", the
    // options kept, the file dialog.
    void showing()
    {
        Form1->Label3->setText(QStringLiteral("/x/Hand.vok"));
        Form12->show();
        QCOMPARE(Form12->Edit1->text(), QStringLiteral("/x/Hand.vok"));
        QCOMPARE(Form12->StatusText->text(), QStringLiteral("Bereit."));
        Form12->RadioButton3->setChecked(true);
        Form12->CheckBox1->setChecked(false);
        QVERIFY(Form12->isVisible() && Form12->close());
        Form12->show();
        QVERIFY(Form12->RadioButton3->isChecked() && !Form12->CheckBox1->isChecked());
        Form1->Label3->clear();
        QTest::mouseClick(Form12->Label2, Qt::LeftButton);
        QCOMPARE(Form12->Edit1->text(), QString());

        WriteCurrentDirectory(QStringLiteral("/start"));
        platform_.fileAnswers << QStringLiteral("/y/z/Liste.vok");
        QTest::mouseClick(Form12->Button1, Qt::LeftButton);
        const FakePlatform::FileDialog& dialog = platform_.fileDialogs.first();
        QCOMPARE(QStringList({dialog.title, dialog.filter, dialog.startDirectory,
                              ReadCurrentDirectory(), Form12->Edit1->text()})
                     .join(u'|'),
                 QStringLiteral("Vokabeldatei zum Drucken öffen|Vokabeldateien (*.vok)|/start|/y/z|"
                                "/y/z/Liste.vok"));
    }

    // The checks with their boxes, the statuses, what lands on disk.
    void save_data()
    {
        // The vocabulary file ("-": the field left empty), its entries (-1: header only),
        // what stands beside it ("-", "file", "dir"), the answer, a file size limit.
        // messages: caption/icon: text, one a line
        DataColumns<QString, QString, QString>("setup", "messages", "status");
        const auto row = [](const char* name, const char* setup, const QString& messages,
                            const char* status) {
            QTest::newRow(name) << setup << messages << status;
        };
        const QString ask =
            u"Frage/2: Ausgabedatei Englisch.html existiert bereits. Überschreiben?"_s;
        const QString failed = u"\nFehler/1: Die HTML-Datei konnte nicht geschrieben werden!"_s;
        row("new page", "Englisch.vok 3 - no 0", {}, "Fertig.");
        row("30000 entries", "Englisch.vok 30000 - no 0", {}, "Fertig.");
        row("empty field", "- 3 - no 0", u"Fehler/1: Datei existiert nicht!"_s, "Bereit.");
        row("400 bytes", "Englisch.vok -1 - no 0",
            u"Fehler/1: Die Datei hat ein ungültiges Format!"_s, "Bereit.");
        row("overwrite: no", "Englisch.vok 3 file no 0", ask, "Bereit.");
        row("overwrite: yes", "Englisch.vok 3 file yes 0", ask, "Fertig.");
        row("output is a folder", "Englisch.vok 3 dir yes 0", ask + failed, "Bereit.");
        row("disk full keeps the old page", "Englisch.vok 40 file yes 3000", ask + failed,
            "Bereit.");
        row("page would replace the vocabulary file", "Englisch.html 3 - yes 0",
            u"Fehler/1: Die HTML-Datei würde die Vokabeldatei überschreiben!"_s, "Bereit.");
    }
    void save()
    {
        const auto [setup, status] = DataRow<QString, QString>("setup", "status");
        const QStringList args = setup.split(u' ');
        const QString name = args.at(0) == u"-"_s ? QString() : args.at(0), existing = args.at(2);
        const int entries = args.at(1).toInt(), sizeLimit = args.at(4).toInt();
        const QString dir = NewTestDirectory(), html = dir + u"/Englisch.html"_s;
        const QString path = WriteVocabularyFile(dir, name.isEmpty() ? u"x.vok"_s : name,
                                                 NumberedEntries(std::max(entries, 0)));
        QVERIFY(entries >= 0 || WriteBytes(path, QByteArray(400, ' ')));
        QVERIFY(existing != u"file"_s || WriteBytes(html, "alte Seite"));
        QVERIFY(existing != u"dir"_s || QDir().mkpath(html));
        const QByteArray vocabulary = ReadBytes(path);
        platform_.answers << (args.at(3) == u"yes"_s ? MsgAnswer::Yes : MsgAnswer::No);
        Form12->show();
        Form12->Edit1->setText(name.isEmpty() ? QString() : path);
        g_statuses.clear();
        const auto click = [] { return QTest::mouseClick(Form12->Button2, Qt::LeftButton), true; };
        if (!(sizeLimit ? WithFileSizeLimit(sizeLimit, click).has_value() : click()))
            QSKIP("no file size limit here");

        const QStringList shown = platform_.messageLines(true);
        QTEST(shown.join(u'\n'), "messages");
        QCOMPARE(Form12->StatusText->text(), status);
        // The phases in turn, each with its count and the final count last, the controls
        // locked until the end, and no repaint for every entry.
        const bool done = status == u"Fertig."_s;
        const QString n = QString::number(entries), last = u"\\(%1/%1\\) \\.\\.\\.\n"_s.arg(n);
        const QString phases =
            u"Lese Datei \\.\\.\\.\n(Sortierung läuft \\(\\d+/%1\\) \\.\\.\\.\n)*Sortierung läuft "
            u"%2(Speichere Datei \\(\\d+/%1\\) \\.\\.\\.\n)*%3 \\[frei\\]"_s.arg(
                n, last, (done ? u"Speichere Datei "_s + last : QString()) + status);
        const bool ran = done || shown.last().endsWith(u"geschrieben werden!"_s);
        const QString statuses = g_statuses.join(u'\n');
        QVERIFY2(statuses.contains(QRegularExpression(
                     QRegularExpression::anchoredPattern(ran ? phases : QString()))),
                 qPrintable(statuses));
        QVERIFY(g_statuses.size() < 100);

        const QByteArray page = ReadBytes(html);
        const bool written = page.startsWith("<html>\r\n") &&
                             page.endsWith("\r\n</body>\r\n</html>") &&
                             page.count("<tr bgcolor") == entries + 1;
        QCOMPARE(written, done);
        QCOMPARE(page.contains("class=\"standard\">05.03.2001</td>"), done);
        if (!written && existing == u"file"_s)
            QCOMPARE(page, QByteArray("alte Seite"));
        QCOMPARE(ReadBytes(path), vocabulary);
        // No temporary file left behind.
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(),
                 existing == u"file"_s || written ? 2 : 1);
    }

private:
    FakePlatform platform_;
};

LK_TEST_MAIN(DruckerTest)
#include "DruckerTest.moc"
