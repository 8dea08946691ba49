#include "exchange/ListImport.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QRegularExpression>

namespace {

using namespace Qt::StringLiterals;

// Rows as text: cells apart by "|", rows by "¶".
QString Rows(const QList<QStringList>& rows)
{
    QStringList lines;
    for (const QStringList& row : rows)
        lines.append(row.join(u'|'));
    return lines.join(u"¶"_s);
}

QString Mapping(const ColumnMapping& mapping)
{
    QStringList columns;
    for (int c : mapping.column)
        columns.append(QString::number(c));
    return columns.join(u',');
}

QByteArray Kvtml(const QByteArray& doctype, const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + doctype + "<kvtml version=\"2.0\">" +
           body + "</kvtml>\n";
}

}  // namespace

class WordListReadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What detection finds and the preview reads: format, encoding, separator, the column
    // names, the rows and the suggested mapping (lesson, German, foreign, synonyms, remark),
    // or the message for a file that cannot be read.
    void read_data()
    {
        for (const char* column :
             {"format", "encoding", "separator", "names", "rows", "mapping", "error"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<QByteArray>("bytes");
        const auto row = [](const char* name, const QByteArray& bytes, const char* format,
                            const char* encoding, const QString& separator, const QString& names,
                            const QString& rows, const char* mapping, const QString& error = {}) {
            QTest::newRow(name) << QString::fromUtf8(format) << QString::fromUtf8(encoding)
                                << separator << names << rows << QString::fromUtf8(mapping) << error
                                << bytes;
        };
        row("quoted line break, doubled quotes",
            "Lektion;Deutsch;Englisch\r\nL1;\"Haus\r\nT\xC3\xBCr\";\"the \"\"house\"\"\"\r\n",
            "CSV", "UTF-8", u";"_s, u"Lektion|Deutsch|Englisch"_s,
            u"L1|Haus\r\nTür|the \"house\""_s, "0,1,2,-1,-1");
        row("BOM, commas", "\xEF\xBB\xBFGerman,English,Notes\nHaus,house,\"a, b\"\n", "CSV",
            "UTF-8", u","_s, u"German|English|Notes"_s, u"Haus|house|a, b"_s, "-1,0,1,-1,2");
        row("Windows-1252 without names", "\x84Gr\xFC\xDF\x65\x93;greetings\n\x80;euro\n", "CSV",
            "Windows-1252 (ANSI)", u";"_s, {}, u"„Grüße“|greetings¶€|euro"_s, "-1,0,1,-1,-1");
        row("Excel's sep line", "sep=;\r\nDeutsch;Englisch\r\nHaus, Hof;house, yard\r\n", "CSV",
            "UTF-8", u";"_s, u"Deutsch|Englisch"_s, u"Haus, Hof|house, yard"_s, "-1,0,1,-1,-1");
        row("missing and extra fields", "a\tb\tc\td\te\tf\ng\th\n\ni\n", "CSV", "UTF-8", u"\t"_s,
            {}, u"a|b|c|d|e|f¶g|h¶¶i"_s, "0,1,2,3,4");
        row("quote left open, lone CR", "x;\"open\rend", "CSV", "UTF-8", u";"_s, {},
            u"x|open\rend"_s, "-1,0,1,-1,-1");
        row("UTF-16 from a spreadsheet",
            QByteArray("\xFF\xFE"
                       "D\0e\0u\0t\0s\0c\0h\0\t\0E\0n\0"
                       "g\0l\0i\0s\0c\0h\0\n\0\xE4\0\t\0a\0\n\0",
                       44),
            "CSV", "UTF-16", u"\t"_s, u"Deutsch|Englisch"_s, u"ä|a"_s, "-1,0,1,-1,-1");
        row("Anki text as we write it",
            "#separator:tab\n#html:false\n#columns:Deutsch\tFremdsprache\tSynonyme\tBemerkung\t"
            "Lektion\n#deck column:5\n#Titel:T\nHaus\thouse\thome\t\tL1\n\"#x\"\t<b>\t\t\tL1\n",
            "Anki-Text", "UTF-8", u"\t"_s, u"Deutsch|Fremdsprache|Synonyme|Bemerkung|Lektion"_s,
            u"Haus|house|home||L1¶#x|<b>|||L1"_s, "4,0,1,2,3");
        row("Anki's own export, with HTML",
            "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n"
            "#tags column:6\nab\tBasic\tEnglisch::L1\t\"das <b>Haus</b><br>am\n See\"\t"
            "the&nbsp;house &amp; &#x201E;yard&ldquo;\ttag\n",
            "Anki-Text", "UTF-8", u"\t"_s, {},
            u"ab|Basic|Englisch::L1|das Haus am See|the house & „yard“|tag"_s, "2,3,4,-1,-1");
        const QByteArray kPublic =
            "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">";
        const QByteArray kdeBody =
            "<information><title>T</title></information><identifiers>"
            "<identifier id=\"0\"><name>English</name><locale>en</locale></identifier>"
            "<identifier id=\"1\"><name>Muttersprache</name><locale>de</locale></identifier>"
            "</identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>house</text>"
            "<comment>Synonyme: home</comment></translation><translation id=\"1\"><text>Haus"
            "</text><comment>das</comment></translation></entry><entry id=\"5\"><translation "
            "id=\"0\"><text>tree</text></translation><translation id=\"1\"><text>Baum</text>"
            "</translation></entry></entries><lessons><container><name>Unit 1</name><container>"
            "<name>Part A</name><entry id=\"0\"/></container></container></lessons>";
        row("KVTML from KDE: German second, nested lesson, entry in none", Kvtml(kPublic, kdeBody),
            "KVTML", "UTF-8", u";"_s, u"Lektion|English|Muttersprache|Synonyme|Bemerkung"_s,
            u"Unit 1 / Part A|house|Haus|home|das¶|tree|Baum||"_s, "0,2,1,3,4");

        const QString entities =
            u"Die KVTML-Datei enthält Entity-Deklarationen oder -Verweise. "
            u"Solche Dateien werden aus Sicherheitsgründen nicht gelesen."_s;
        const auto refused = [&](const char* name, const QByteArray& bytes, const char* format,
                                 const QString& error) {
            row(name, bytes, format, "UTF-8", u";"_s, {}, {}, "-1,-1,-1,-1,-1", error);
        };
        refused("0 bytes", {}, "CSV", u"Die Datei ist leer."_s);
        refused("binary junk",
                QByteArray("\x7F"
                           "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                           20),
                "CSV",
                u"Die Datei ist keine Wortliste: Sie enthält keinen Text, sondern Binärdaten."_s);
        refused("external entity",
                Kvtml("<!DOCTYPE kvtml [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>",
                      "<entries><entry id=\"0\"><translation id=\"0\"><text>&x;</text>"
                      "</translation></entry></entries>"),
                "KVTML", entities);
        QByteArray laughs = "<!DOCTYPE kvtml [<!ENTITY l0 \"ha\">";
        for (int i = 1; i < 10; ++i)
            laughs += QStringLiteral("<!ENTITY l%1 \"%2\">")
                          .arg(i)
                          .arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10))
                          .toUtf8();
        refused("billion laughs", Kvtml(laughs + "]>", "<entries>&l9;</entries>"), "KVTML",
                entities);
        refused("undeclared entity",
                Kvtml(kPublic, "<information><title>&x;</title></information>"), "KVTML", entities);
        refused("deep nesting",
                Kvtml({}, "<lessons>" + QByteArray("<container>").repeated(100) + "</lessons>"),
                "KVTML", u"Die KVTML-Datei ist zu tief verschachtelt."_s);
        refused("XML, no KVTML", "<?xml version=\"1.0\"?><html/>", "KVTML",
                u"Die Datei ist keine KVTML-2.0-Datei."_s);
        refused("KVTML cut short", Kvtml({}, "<entries><entry id=\"0\">").chopped(9), "KVTML",
                u"Die KVTML-Datei ist fehlerhaft (Zeile 2, Spalte 44)."_s);
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const ListDetection detection = DetectList(buffer);
        ListPreview preview;
        if (detection.error.isEmpty())
            preview = ReadPreview(buffer, detection.settings, 20);
        QTEST(detection.error.isEmpty() ? preview.error : detection.error, "error");
        QTEST(FormatName(detection.settings.format), "format");
        QTEST(EncodingName(detection.settings.encoding), "encoding");
        QTEST(QString(detection.settings.separator), "separator");
        QTEST(preview.columnNames.join(u'|').remove(QRegularExpression(u"\\|+$"_s)), "names");
        QTEST(Rows(preview.rows), "rows");
        QTEST(Mapping(preview.mapping), "mapping");
        QCOMPARE(buffer.pos(), 0);
    }
};

LK_TEST_MAIN(WordListReadTest)
#include "WordListReadTest.moc"
