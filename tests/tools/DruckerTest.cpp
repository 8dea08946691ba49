#include "app/Forms.h"
#include "app/SettingsStore.h"
#include "app/Start.h"
#include "support/FakePlatform.h"
#include "support/TestSupport.h"
#include "tools/Drucker.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

// Every status the window shows during an export, "[frei]" where the controls were usable
// and the hourglass gone. Esc and the close box are tried at each count.
QStringList g_statuses;

void RecordStatus()
{
    const bool busy = !Form12->Edit1->isEnabled() && !Form12->Button1->isEnabled() &&
                      !Form12->Button2->isEnabled() && QGuiApplication::overrideCursor();
    g_statuses << Form12->StatusText->text() + (busy ? QString() : QStringLiteral(" [frei]"));
    if (busy) {
        QTest::keyClick(Form12, Qt::Key_Escape);
        Form12->close();
    }
}

QString Shown(const FakePlatform& platform)
{
    QStringList shown;
    for (const FakePlatform::Message& m : platform.messages)
        shown << QStringLiteral("%1/%2: %3").arg(m.caption).arg(int(m.icon)).arg(m.text);
    return shown.join(u'\n');
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
    void cleanupTestCase()
    {
        delete std::exchange(Form12, nullptr);
        delete std::exchange(Form1, nullptr);
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
        QCOMPARE(QAccessible::queryAccessibleInterface(Form12->StatusText)->text(QAccessible::Name),
                 QStringLiteral("Bereit."));
        Form12->RadioButton3->setChecked(true);
        Form12->CheckBox1->setChecked(false);
        Form12->Edit1->setText(QStringLiteral("anders.vok"));
        QTest::keyClick(Form12, Qt::Key_Escape);  // has no meaning here
        QVERIFY(Form12->isVisible());
        QVERIFY(Form12->close());
        Form12->show();
        QCOMPARE(Form12->Edit1->text(), QStringLiteral("/x/Hand.vok"));
        QVERIFY(Form12->RadioButton3->isChecked() && !Form12->CheckBox1->isChecked());
        Form1->Label3->clear();
        QTest::mouseClick(Form12->Label2, Qt::LeftButton);
        QCOMPARE(Form12->Edit1->text(), QString());

        WriteCurrentDirectory(QStringLiteral("/start"));
        platform_.fileAnswers << QStringLiteral("/y/z/Liste.vok");
        QTest::mouseClick(Form12->Button1, Qt::LeftButton);
        QCOMPARE(platform_.fileDialogs.first().title, QStringLiteral("Vokabeldatei zum Drucken öffen"));
        QCOMPARE(platform_.fileDialogs.first().filter, QStringLiteral("Vokabeldateien (*.vok)"));
        QCOMPARE(platform_.fileDialogs.first().startDirectory, QStringLiteral("/start"));
        QCOMPARE(ReadCurrentDirectory(), QStringLiteral("/y/z"));
        QCOMPARE(Form12->Edit1->text(), QStringLiteral("/y/z/Liste.vok"));
    }

    // The checks with their boxes, what lands on disk, and the status at the end.
    void save_data()
    {
        QTest::addColumn<QString>("name");      // of the vocabulary file ("": field left empty)
        QTest::addColumn<int>("entries");       // -1: header only
        QTest::addColumn<QString>("existing");  // beside it already: "", "file" or "dir"
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("sizeLimit");     // file size limit, 0: none
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("written");
        const QString exists = QStringLiteral("Frage/2: Ausgabedatei Englisch.html existiert bereits. Überschreiben?\n");
        const QString failed = QStringLiteral("Fehler/1: Die HTML-Datei konnte nicht geschrieben werden!");
        QTest::newRow("new page") << "Englisch.vok" << 3 << "" << false << 0 << "" << "Fertig." << true;
        QTest::newRow("empty field") << "" << 3 << "" << false << 0
                                     << "Fehler/1: Datei existiert nicht!" << "Bereit." << false;
        QTest::newRow("400 bytes") << "Englisch.vok" << -1 << "" << false << 0
                                   << "Fehler/1: Die Datei hat ein ungültiges Format!" << "Bereit." << false;
        QTest::newRow("overwrite: no") << "Englisch.vok" << 3 << "file" << false << 0 << exists.trimmed()
                                       << "Bereit." << false;
        QTest::newRow("overwrite: yes") << "Englisch.vok" << 3 << "file" << true << 0 << exists.trimmed()
                                        << "Fertig." << true;
        QTest::newRow("output is a folder") << "Englisch.vok" << 3 << "dir" << true << 0
                                            << exists + failed << "Bereit." << false;
        QTest::newRow("disk full keeps the old page") << "Englisch.vok" << 40 << "file" << true << 3000
                                                      << exists + failed << "Bereit." << false;
        QTest::newRow("page would replace the vocabulary file")
            << "Englisch.html" << 3 << "" << true << 0
            << "Fehler/1: Die HTML-Datei würde die Vokabeldatei überschreiben!" << "Bereit." << false;
    }
    void save()
    {
        QFETCH(QString, name);
        QFETCH(int, entries);
        QFETCH(QString, existing);
        QFETCH(int, sizeLimit);
        const QString dir = NewTestDirectory();
        const QString html = dir + QStringLiteral("/Englisch.html");
        const QString path = WriteVocabularyFile(dir, name.isEmpty() ? QStringLiteral("x.vok") : name,
                                                 NumberedEntries(std::max(entries, 0)));
        const QByteArray vocabulary = ReadBytes(path);
        if (existing == QLatin1String("file"))
            WriteBytes(html, "alte Seite");
        if (existing == QLatin1String("dir"))
            QDir().mkpath(html);
        if (entries < 0)
            WriteBytes(path, QByteArray(400, ' '));
        QFETCH(bool, yes);
        platform_.answers << (yes ? MsgAnswer::Yes : MsgAnswer::No);
        Form12->show();
        Form12->Edit1->setText(name.isEmpty() ? QString() : path);
        g_statuses.clear();
        if (sizeLimit) {
            if (!WithFileSizeLimit(sizeLimit, [] { Form12->Button2->click(); return true; }))
                QSKIP("no file size limit here");
        } else {
            QTest::mouseClick(Form12->Button2, Qt::LeftButton);
        }
        QTEST(Shown(platform_), "messages");
        QTEST(Form12->StatusText->text(), "status");
        QVERIFY(Form12->isVisible() && Form12->Button2->isEnabled() && !QGuiApplication::overrideCursor());
        QFETCH(bool, written);
        const QByteArray page = ReadBytes(html);
        QCOMPARE(page.startsWith("<html>\r\n") && page.endsWith("\r\n</body>\r\n</html>") &&
                     page.contains(">deutsch3</td>"),
                 written);
        if (!written && existing == QLatin1String("file"))
            QCOMPARE(page, QByteArray("alte Seite"));
        QCOMPARE(ReadBytes(path), entries < 0 ? QByteArray(400, ' ') : vocabulary);
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 1 + (existing == QLatin1String("file") || written));
    }

    // Each phase with its count, the controls disabled meanwhile, the final count last,
    // and no repaint for every entry.
    void statuses_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<int>("maxStatuses");
        QTest::newRow("3 entries") << 3 << true << 5;
        QTest::newRow("3 entries, unsorted") << 3 << false << 4;
        QTest::newRow("30000 entries") << 30000 << true << 200;
    }
    void statuses()
    {
        QFETCH(int, entries);
        QFETCH(bool, sorted);
        const QString path = WriteVocabularyFile(NewTestDirectory(), QStringLiteral("v.vok"),
                                                 NumberedEntries(entries));
        Form12->show();
        Form12->Edit1->setText(path);
        (sorted ? Form12->RadioButton2 : Form12->RadioButton4)->setChecked(true);
        g_statuses.clear();
        QTest::mouseClick(Form12->Button2, Qt::LeftButton);
        const QString n = QString::number(entries);
        const QString expected =
            QStringLiteral("Lese Datei \\.\\.\\.\n") +
            (sorted ? QStringLiteral("(Sortierung läuft \\(\\d+/%1\\) \\.\\.\\.\n)*Sortierung läuft \\(%1/%1\\) \\.\\.\\.\n").arg(n)
                    : QString()) +
            QStringLiteral("(Speichere Datei \\(\\d+/%1\\) \\.\\.\\.\n)*Speichere Datei \\(%1/%1\\) \\.\\.\\.\nFertig\\. \\[frei\\]").arg(n);
        const QString statuses = g_statuses.join(u'\n');
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected)).match(statuses).hasMatch(),
                 qPrintable(statuses));
        QFETCH(int, maxStatuses);
        QVERIFY(g_statuses.size() <= maxStatuses);
        QVERIFY(ReadBytes(ReplaceExtensionHtml(path)).endsWith("</html>"));
    }

private:
    static QString ReplaceExtensionHtml(QString path) { return path.replace(QStringLiteral(".vok"), QStringLiteral(".html")); }
    FakePlatform platform_;
};

LK_TEST_MAIN(DruckerTest)
#include "DruckerTest.moc"
