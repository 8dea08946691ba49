#include "app/SettingsStore.h"
#include "learn/StatisticsFile.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <cstring>

// Two instances of the program at once, played by this test program started again as a
// child process with a role: it shares the parent's settings directory (inherited
// environment) and statistics file.

namespace {

constexpr int kWriters = 4;
constexpr int kRecordsEach = 200;

RunResult Run(int writer, int number)
{
    return {QStringLiteral("/v/englisch.vok"), QStringLiteral("Schreiber %1").arg(writer),
            number, writer, 0, 0, 1, QDate(2026, 12, 7)};
}

// --append <statistics file> <writer> <go file>: waits for the go file, then appends.
// --settings: prints the settings this test writes.
int Child(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.at(1) == QLatin1String("--settings")) {
        std::printf("%d|%s|%s\n", ReadCompression(), ReadCurrentDirectory().toUtf8().constData(),
                    ReadShortcut(3).toUtf8().constData());
        return 0;
    }
    const int writer = args.at(3).toInt();
    while (!QFileInfo::exists(args.at(4)))
        QThread::usleep(200);
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

}  // namespace

class TwoInstancesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What one instance stores, the other reads at its next access, both ways round.
    void settings_seenByTheOtherInstance()
    {
        QVERIFY(WriteVersionCreatingStore());
        const auto childReads = [this] {
            QProcess* child = StartChild({QStringLiteral("--settings")}, this);
            child->waitForFinished(60000);
            return QString::fromUtf8(child->readAllStandardOutput()).trimmed();
        };
        WriteCompression(9);
        WriteCurrentDirectory(QStringLiteral("/home/anna/Übungen"));
        WriteShortcut(QStringLiteral("a\\b\nc"), 3);
        QCOMPARE(childReads(), QStringLiteral("9|/home/anna/Übungen|a\\b\nc"));
        WriteCompression(0);
        QCOMPARE(childReads(), QStringLiteral("0|/home/anna/Übungen|a\\b\nc"));
    }

    // Runs ending at the same moment in several instances all land whole in the file.
    void statistics_simultaneousAppendsAllLandWhole()
    {
        const QString dir = NewTestDirectory();
        const QString path = dir + QStringLiteral("/Lernkompass.dat");
        const QString go = dir + QStringLiteral("/go");
        QList<QProcess*> children;
        for (int w = 1; w <= kWriters; ++w)
            children << StartChild({QStringLiteral("--append"), path, QString::number(w), go},
                                   this);
        for (QProcess* child : children) QVERIFY(child->waitForStarted());
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
    if (argc > 1 && (std::strcmp(argv[1], "--settings") == 0 || std::strcmp(argv[1], "--append") == 0))
        return Child(argc, argv);
    PrepareTestEnvironment();
    QApplication app(argc, argv);
    TwoInstancesTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "TwoInstancesTest.moc"
