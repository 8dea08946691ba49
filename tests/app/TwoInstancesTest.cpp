#include "learn/StatisticsFile.h"
#include "support/TestSupport.h"
#include "vocab/Editor.h"

#include <QProcess>
#include <QThread>

#include <cstdio>
#include <cstring>

// Two instances of the program at once, played by this test program started again as a
// child process with a role: it shares the parent's settings directory (inherited
// environment), statistics file and vocabulary files.

using namespace Qt::StringLiterals;

namespace {

constexpr int kWriters = 4;
constexpr int kRecordsEach = 200;

RunResult Run(int writer, int number)
{
    return {u"/v/englisch.vok"_s, u"Schreiber %1"_s.arg(writer), number, writer, 0, 0, 1,
            QDate(2026, 12, 7)};
}

// A child whose parent has died ends on its own after two minutes.
void WaitForFile(const QString& path)
{
    for (int i = 0; i < 600000 && !QFileInfo::exists(path); ++i)
        QThread::usleep(200);
}

// Stores a new entry after the file's last one.
void StoreNewEntry(TForm2& editor, const QString& text)
{
    editor.Letztes1->trigger();
    editor.Button1->click();
    editor.Edit2->setText(text);
    editor.Edit3->setText(text);
    editor.Button1->click();
}

// --editor <file> <go file>: opens the file in an editor and says "offen"; once the go
// file is there, stores the new entry "aaa" at the end, says "gespeichert" and waits to
// be killed, the file still open.
int EditorChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    FakePlatform platform;
    TForm2 editor;
    editor.ResetEditor();
    platform.fileAnswers << args.at(2);
    editor.OeffnenClick();
    std::printf("%s\n", platform.messages.isEmpty() ? "offen" : "abgewiesen");
    std::fflush(stdout);
    WaitForFile(args.at(3));
    StoreNewEntry(editor, u"aaa"_s);
    std::printf("%s\n", platform.messages.isEmpty() ? "gespeichert" : "Fehler");
    std::fflush(stdout);
    QThread::sleep(120);
    return 1;
}

// Cuts the file to n entries, or appends entries up to n, as another program would.
bool Resize(const QString& path, int entries)
{
    QFile file(path);
    const qint64 size = qint64(entries + 1) * kRecordSize;
    if (!file.open(QIODevice::ReadWrite) || !file.seek(file.size()))
        return false;
    while (file.size() < size)
        file.write(EncodeEntry({u"L"_s, u"fremd"_s, {}, {}, {}}).value());
    return file.resize(size);
}

// --append <statistics file> <writer> <go file>: waits for the go file, then appends.
// --settings: prints the settings this test writes.
int Child(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.at(1) == u"--settings"_s) {
        std::printf("%d|%s|%s\n", ReadCompression(), ReadCurrentDirectory().toUtf8().constData(),
                    ReadShortcut(3).toUtf8().constData());
        return 0;
    }
    const int writer = args.at(3).toInt();
    WaitForFile(args.at(4));
    for (int i = 1; i <= kRecordsEach; ++i)
        if (!WriteStatisticsRecord(args.at(2), Run(writer, i)))
            return 1;
    return 0;
}

QProcess* StartChild(const QStringList& args, QObject* parent)
{
    auto* child = new QProcess(parent);
    child->start(QCoreApplication::applicationFilePath(), args);
    return child;
}

QString ReadLine(QProcess* child)
{
    while (!child->canReadLine())
        if (!child->waitForReadyRead(60000))
            return QString();
    return QString::fromUtf8(child->readLine()).trimmed();
}

}  // namespace

class TwoInstancesTest : public QObject {
    Q_OBJECT

    FakePlatform* platform = nullptr;
    TForm2* editor = nullptr;

    void openInEditor(const QString& path)
    {
        platform->clear();
        platform->fileAnswers << path;
        editor->OeffnenClick();
    }

private Q_SLOTS:
    void init()
    {
        platform = new FakePlatform;
        editor = new TForm2;
        editor->ResetEditor();
    }
    void cleanup()
    {
        delete editor;
        delete platform;
    }

    // One file in two editors: the second is refused and stays without a document; the
    // lock goes with the first, also when it is killed.
    void editor_secondRefused_killedOneReleases()
    {
        const QString dir = NewTestDirectory();
        const QString path = WriteVocabularyFile(dir, u"liste.vok"_s, NumberedEntries(2));
        const QString go = dir + u"/go"_s;
        QProcess* child = StartChild({u"--editor"_s, path, go}, this);
        QCOMPARE(ReadLine(child), u"offen"_s);

        openInEditor(path);
        QCOMPARE(platform->messageTexts(),
                 QStringList{QStringLiteral(
                     "Die Datei wird bereits in einem anderen Lernkompass-Fenster bearbeitet.")});
        QCOMPARE(editor->Label2->text(), u"(keine ausgewählt)"_s);
        QVERIFY(!editor->Button1->isEnabled());

        QVERIFY(WriteBytes(go, {}));
        QCOMPARE(ReadLine(child), u"gespeichert"_s);
        child->kill();
        QVERIFY(child->waitForFinished());
        openInEditor(path);
        QCOMPARE(platform->messageTexts(), QStringList());
        StoreNewEntry(*editor, u"bbb"_s);
        QList<VocabularyEntry> expected = NumberedEntries(2);
        for (const QString& word : {u"aaa"_s, u"bbb"_s})
            expected << VocabularyEntry{u"L2"_s, word, word, {}, {}};
        QCOMPARE(ReadBytes(path), VocabularyBytes(expected));
    }

    // Another program changes the file's length between two stores: the second writes
    // nothing and says so; the typed entry stays on screen, as a new entry after the
    // file's last one, where the next store puts it.
    void editor_fileResizedByAnother_data()
    {
        QTest::addColumn<int>("entries");  // what the other program leaves
        QTest::newRow("lengthened") << 5;
        QTest::newRow("shortened") << 1;
    }
    void editor_fileResizedByAnother()
    {
        QFETCH(int, entries);
        const QString path =
            WriteVocabularyFile(NewTestDirectory(), u"liste.vok"_s, NumberedEntries(3));
        openInEditor(path);
        editor->Button1->click();  // entry 1 stored, entry 2 shown
        editor->Edit5->setText(u"neu"_s);
        QVERIFY(Resize(path, entries));
        const QByteArray left = ReadBytes(path);
        QCOMPARE(left.size(), (entries + 1) * kRecordSize);

        editor->Button1->click();
        QCOMPARE(platform->messageTexts(),
                 QStringList{QStringLiteral("Die Datei wurde inzwischen von einem anderen "
                                            "Programm geändert! Es wurde nichts geschrieben.")});
        QCOMPARE(ReadBytes(path), left);
        const QString last = QString::number(entries + 1);
        QCOMPARE(QStringList({editor->Label8->text(), editor->Label11->text(),
                              editor->Edit2->text(), editor->Edit5->text()}),
                 QStringList({last, last, u"deutsch2"_s, u"neu"_s}));

        editor->Button1->click();
        VocabularyEntry typed = NumberedEntries(2)[1];
        typed.remark = u"neu"_s;
        QCOMPARE(ReadBytes(path), left + EncodeEntry(typed).value());
    }

    // What one instance stores, the other reads at its next access, both ways round.
    void settings_seenByTheOtherInstance()
    {
        QVERIFY(WriteVersionCreatingStore());
        const auto childReads = [this] {
            QProcess* child = StartChild({u"--settings"_s}, this);
            child->waitForFinished(60000);
            return QString::fromUtf8(child->readAllStandardOutput()).trimmed();
        };
        WriteCompression(9);
        WriteCurrentDirectory(u"/home/anna/Übungen"_s);
        WriteShortcut(u"a\\b\nc"_s, 3);
        QCOMPARE(childReads(), u"9|/home/anna/Übungen|a\\b\nc"_s);
        WriteCompression(0);
        QCOMPARE(childReads(), u"0|/home/anna/Übungen|a\\b\nc"_s);
    }

    // Runs ending at the same moment in several instances all land whole in the file.
    void statistics_simultaneousAppendsAllLandWhole()
    {
        const QString dir = NewTestDirectory();
        const QString path = dir + u"/Lernkompass.dat"_s;
        const QString go = dir + u"/go"_s;
        QList<QProcess*> children;
        for (int w = 1; w <= kWriters; ++w)
            children << StartChild({u"--append"_s, path, QString::number(w), go}, this);
        for (QProcess* child : children)
            QVERIFY(child->waitForStarted());
        QVERIFY(WriteBytes(go, {}));
        for (QProcess* child : children) {
            QVERIFY(child->waitForFinished(120000));
            QCOMPARE(child->exitCode(), 0);
        }

        // Each record whole and each writer's records in the order it wrote them.
        const QByteArray bytes = ReadBytes(path);
        QCOMPARE(bytes.size(), kWriters * kRecordsEach * kStatisticsRecordSize);
        QList<int> next(kWriters + 1, 1);
        for (int i = 0; i < bytes.size(); i += kStatisticsRecordSize) {
            const QByteArray record = bytes.mid(i, kStatisticsRecordSize);
            const int writer = DecodeStatisticsRecord(record).known.trimmed().toInt();
            QVERIFY(writer >= 1 && writer <= kWriters);
            QCOMPARE(record, EncodeStatisticsRecord(Run(writer, next[writer]++)).value());
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--editor") == 0)
        return EditorChild(argc, argv);
    if (argc > 1 &&
        (std::strcmp(argv[1], "--settings") == 0 || std::strcmp(argv[1], "--append") == 0))
        return Child(argc, argv);
    PrepareTestEnvironment();
    QApplication app(argc, argv);
    TwoInstancesTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "TwoInstancesTest.moc"
