#include "app/AnsiText.h"
#include "exchange/ListExport.h"
#include "exchange/ListImport.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"

#include <QFile>

namespace {

using namespace Qt::StringLiterals;

const ColumnMapping kInOrder{{0, 1, 2, 3, 4}};

QString Fields(const VocabularyEntry& entry)
{
    return QStringList{entry.lesson, entry.german, entry.foreign, entry.synonyms, entry.remark}
        .join(u'|');
}

ImportSettings CsvSettings()
{
    return {{ListFormat::Csv, TextEncoding::Utf8, u';', false}, kInOrder, u"Import"_s};
}

// Every Windows-1252 character in every field, fields of the full width, and texts that
// mean something to one of the formats.
QList<VocabularyEntry> EveryCharacter()
{
    QList<VocabularyEntry> entries;
    QString all;  // without the blank, which cannot start a field
    for (int b = 0x20; b <= 0xFF; ++b) {
        const QString c = FromAnsi(QByteArray(1, char(b)));
        all += b > 0x20 ? c : QString();
        entries.append(
            {u"L"_s + c, u"d"_s + c + u"d"_s, u"f"_s + c, u"s"_s + c, u"r"_s + c + u"r"_s});
    }
    for (qsizetype i = 0; i + kFieldWidth <= all.size(); i += kFieldWidth)
        entries.append(
            {all.mid(i, 80), all.mid(i, 80), all.mid(i, 80), all.mid(i, 80), all.mid(i, 80)});
    entries.append({u"sep=;"_s, u"#Haus"_s, u"\"quoted\"; with, separators"_s, u"a\"b"_s,
                    u"Synonyme: keine"_s});
    entries.append({u"<b>"_s, u"&amp;"_s, u"x&lt;y"_s, u"]]>"_s, u"<!--"_s});
    return entries;
}

QStringList Listing(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                               QDir::System);
}

}  // namespace

class ListImportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A row becomes an entry, is skipped as empty or refused; texts are made fit and flagged.
    void rowToEntry_data()
    {
        DataColumns<QStringList, int, QString, bool, bool>("row", "kind", "fields", "cut",
                                                           "replaced");
        const QString a81(81, u'a');
        const auto entry = int(RowKind::Entry);
        QTest::newRow("empty cells") << QStringList{u""_s, u" "_s, u"\t"_s} << int(RowKind::Empty)
                                     << u"||||"_s << false << false;
        QTest::newRow("no German") << QStringList{u"L"_s, u" "_s, u"house"_s}
                                   << int(RowKind::Refused) << u"L||house||"_s << false << false;
        QTest::newRow("short row, default lesson")
            << QStringList{u""_s, u"  Haus "_s, u"house"_s} << entry << u"Import|Haus|house||"_s
            << false << false;
        QTest::newRow("81 characters") << QStringList{u"L"_s, a81, u"x"_s} << entry
                                       << u"L|"_s + a81.left(80) + u"|x||"_s << true << false;
        QTest::newRow("Windows-1252 kept") << QStringList{u"L"_s, u"„€“ – Grüße…"_s, u"x"_s}
                                           << entry << u"L|„€“ – Grüße…|x||"_s << false << false;
        QTest::newRow("closest or ?") << QStringList{u"L"_s, u"Ćevapčići łódź"_s, u"Ω−😀ﬁ"_s}
                                      << entry << u"L|Cevapcici lódz|?-?fi||"_s << false << true;
        QTest::newRow("line break") << QStringList{u"L"_s, u"Zeile\r\nzwei"_s, u"x\n"_s} << entry
                                    << u"L|Zeile  zwei|x||"_s << false << true;
    }

    void rowToEntry()
    {
        QFETCH(QStringList, row);
        const ImportedRow imported = RowToEntry(row, kInOrder, u"Import"_s);
        QTEST(int(imported.kind), "kind");
        QTEST(Fields(imported.entry), "fields");
        QTEST(imported.cut, "cut");
        QTEST(imported.replaced, "replaced");
    }

    // The counts, as the dialog shows them.
    void counts()
    {
        const QString dir = NewTestDirectory();
        const QString csv = dir + u"/liste.csv"_s;
        QVERIFY(WriteBytes(csv, "L;Haus;house\n\n;;\nL;;refused\nL;" + QByteArray(81, 'a') +
                                    ";x\nL;\xC4\x87;x\nL;B\xC3\xA4r;bear\n"));
        const ImportResult result = CountImportFile(csv, CsvSettings());
        QVERIFY(result.ok());
        QCOMPARE(CountsText(result.counts),
                 u"4 Einträge werden übernommen.\n2 leere Zeilen werden übersprungen.\n"
                 u"1 Zeile ohne deutschen oder fremdsprachigen Begriff wird nicht übernommen.\n"
                 u"1 Eintrag hat ein Feld mit mehr als 80 Zeichen.\n"
                 u"1 Eintrag enthält Zeichen außerhalb von Windows-1252 oder Zeilenumbrüche."_s);
        QVERIFY(Listing(dir) == QStringList{u"liste.csv"_s});
    }

    // A new file is written whole or not at all, and never through a link.
    void newFile_data()
    {
        // target: in a directory with alt.vok and link.vok -> alt.vok
        // entries: in the target afterwards, -1: no such file
        DataColumns<QByteArray, QString, bool, QString, int>("list", "target", "replace", "error",
                                                             "entries");
        const QByteArray list = "L;Haus;house\nL;Baum;tree\n";
        QTest::newRow("new") << list << u"neu.vok"_s << false << QString() << 2;
        QTest::newRow("exists") << list << u"alt.vok"_s << false
                                << u"Die Datei %1/alt.vok existiert bereits."_s << 1;
        QTest::newRow("replaced") << list << u"alt.vok"_s << true << QString() << 2;
        QTest::newRow("link replaced itself") << list << u"link.vok"_s << true << QString() << 2;
        QTest::newRow("fitting not accepted") << QByteArray(
                                                     "L;Haus;h\xC5\x8D"
                                                     "use\n")
                                              << u"neu.vok"_s << false
                                              << u"Die Datei hat sich seit dem Zählen verändert. "
                                                 u"Es wurde nichts geschrieben."_s
                                              << -1;
        QTest::newRow("nothing to import")
            << QByteArray("\n;;\n") << u"neu.vok"_s << false
            << u"Die Datei enthält keine Einträge, die importiert werden können."_s << -1;
    }

    void newFile()
    {
        const auto [list, target, replace, error, entries] =
            DataRow<QByteArray, QString, bool, QString, int>("list", "target", "replace", "error",
                                                             "entries");
        const QString dir = NewTestDirectory();
        const QString csv = dir + u"/liste.csv"_s;
        QVERIFY(WriteBytes(csv, list));
        const QByteArray old = VocabularyBytes({{u"A"_s, u"a"_s, u"a"_s, {}, {}}});
        QVERIFY(WriteBytes(dir + u"/alt.vok"_s, old));
        QVERIFY(QFile::link(dir + u"/alt.vok"_s, dir + u"/link.vok"_s));
        const QStringList before = Listing(dir);
        const QString path = dir + u'/' + target;
        ImportSettings settings = CsvSettings();
        const ImportResult result =
            ImportListFile(csv, settings, {path, TargetMode::NewFile, replace, -1}, false);
        QCOMPARE(result.error, QString(error).replace(u"%1"_s, dir));
        QCOMPARE(CheckVocabularyFile(path, false).entryCount, std::max(entries, 0));
        QCOMPARE(QFileInfo::exists(path), entries >= 0);
        // No temporary file stays; a link is replaced, never written through.
        QCOMPARE(Listing(dir),
                 before + (entries >= 0 && !before.contains(target) ? QStringList{target}
                                                                    : QStringList{}));
        QVERIFY(!QFileInfo(path).isSymLink() || target != u"link.vok"_s || !result.ok());
        if (target == u"link.vok"_s)
            QCOMPARE(ReadBytes(dir + u"/alt.vok"_s), old);
    }

    // Appending leaves the file as it was unless every entry went in.
    void append_data()
    {
        // sizeLimit: 0: none
        DataColumns<int, qint64, QString>("expected", "sizeLimit", "error");
        QTest::newRow("appended") << 1 << qint64(0) << QString();
        QTest::newRow("changed meanwhile")
            << 2 << qint64(0)
            << u"Die Datei %1 wurde inzwischen von einem anderen Programm verändert. Es wurde "
               u"nichts angehängt."_s;
        QTest::newRow("disk full")
            << 1 << qint64(400 * 2 + 200) << u"Die Datei %1 kann nicht geschrieben werden."_s;
    }

    void append()
    {
        const auto [expected, sizeLimit, error] =
            DataRow<int, qint64, QString>("expected", "sizeLimit", "error");
        const QString dir = NewTestDirectory();
        const QString csv = dir + u"/liste.csv"_s;
        const QString vok = dir + u"/alt.vok"_s;
        QVERIFY(WriteBytes(csv, "L;Haus;house\nL;Baum;tree\n"));
        const QByteArray old = VocabularyBytes({{u"A"_s, u"a"_s, u"a"_s, {}, {}}});
        QVERIFY(WriteBytes(vok, old));
        ImportResult result;
        const auto run = [&] {
            result = ImportListFile(csv, CsvSettings(), {vok, TargetMode::Append, false, expected},
                                    false);
            return result.ok();
        };
        if (sizeLimit > 0 && !WithFileSizeLimit(sizeLimit, run))
            QSKIP("no file size limit here");
        if (sizeLimit == 0)
            run();
        QCOMPARE(result.error, QString(error).replace(u"%1"_s, vok));
        QCOMPARE(ReadBytes(vok),
                 error.isEmpty()
                     ? old + EncodeEntry({u"L"_s, u"Haus"_s, u"house"_s, {}, {}}).value() +
                           EncodeEntry({u"L"_s, u"Baum"_s, u"tree"_s, {}, {}}).value()
                     : old);
    }

    // .vok -> list -> .vok gives every entry back byte for byte, and the header where the
    // format has a place for it.
    void roundTrip_data()
    {
        DataColumns<int, QString, bool>("format", "extension", "generated");
        for (const auto& [format, extension] :
             {std::pair{ListFormat::Csv, ".csv"}, std::pair{ListFormat::AnkiText, ".txt"},
              std::pair{ListFormat::Kvtml, ".kvtml"}}) {
            for (bool generated : {true, false})
                QTest::addRow("%s, %s", extension, generated ? "every character" : "example")
                    << int(format) << QString::fromLatin1(extension) << generated;
        }
    }

    void roundTrip()
    {
        const auto [format, extension, generated] =
            DataRow<int, QString, bool>("format", "extension", "generated");
        const QString dir = NewTestDirectory();
        const QString vok = generated
                                ? WriteVocabularyFile(dir, u"alle.vok"_s, EveryCharacter(),
                                                      {u"Titel „1“"_s, u"Ich"_s, u"Bem€rkung"_s})
                                : QFINDTESTDATA("../../examples/englisch-grundwortschatz.vok");
        const QString list = dir + u"/liste"_s + extension;
        const QString back = dir + u"/zurueck.vok"_s;
        const ListExportResult exported = ExportWordList(vok, ListFormat(format), list, false);
        QVERIFY2(exported.ok(), qPrintable(exported.error));
        QCOMPARE(DetectListFile(list).settings.format, ListFormat(format));
        const DetectedImport detected = DetectImport(list);
        QVERIFY2(detected.error.isEmpty(), qPrintable(detected.error));
        const ImportResult result =
            ImportListFile(list, detected.settings, {back, TargetMode::NewFile, false, -1}, false);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.counts, (ImportCounts{exported.entries, 0, 0, 0, 0, false, false}));
        const QByteArray original = ReadBytes(vok);
        const QByteArray imported = ReadBytes(back);
        QCOMPARE(imported.size(), original.size());
        for (qsizetype pos = kRecordSize; pos < original.size(); pos += kRecordSize)
            QCOMPARE(imported.mid(pos, kRecordSize), original.mid(pos, kRecordSize));
        QCOMPARE(imported.left(kRecordSize), ListFormat(format) == ListFormat::Csv
                                                 ? QByteArray(kRecordSize, ' ')
                                                 : original.left(kRecordSize));
    }
};

LK_TEST_MAIN(ListImportTest)
#include "ListImportTest.moc"
