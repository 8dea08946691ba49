#include "app/AnsiText.h"
#include "support/TestSupport.h"
#include "tools/HtmlExport.h"

#include <QApplication>
#include <QRandomGenerator>

namespace {

// The plain exchange sort, lower-casing through Unicode rather than the export's table.
std::vector<int> ReferenceOrder(const QList<QByteArray>& keys, bool caseSensitive)
{
    QList<QByteArray> k = keys;
    if (!caseSensitive)
        for (QByteArray& key : k)
            key = ToAnsi(FromAnsi(key).toLower()).value();
    std::vector<int> order(std::size_t(k.size()));
    for (int i = 0; i < k.size(); ++i)
        order[std::size_t(i)] = i;
    for (std::size_t i = 0; i < order.size(); ++i)
        for (std::size_t j = i; j < order.size(); ++j)
            if (k[order[j]] < k[order[i]])
                std::swap(order[i], order[j]);
    return order;
}

// The page of a file with the title "</title><script>", named "Wörter & Sätze.vok", as the
// browser gets it, one line each (moc reads no raw string over several lines).
const char* const kPage[] = {
    R"(<html>)",
    R"(<head>)",
    R"(<title>&lt;/title&gt;&lt;script&gt;</title>)",
    R"(<style type="text/css">)",
    R"(<!--)",
    R"()",
    R"(.standard)",
    R"({)",
    R"(   font-family:Arial;)",
    R"(   font-size:10pt;)",
    R"(})",
    R"()",
    R"(.nolink)",
    R"({)",
    R"(   text-decoration:none;)",
    R"(})",
    R"()",
    R"(a:hover)",
    R"({)",
    R"(   text-decoration:underline;)",
    R"(})",
    R"()",
    R"(//-->)",
    R"(</style>)",
    R"(</head>)",
    R"(<body vlink="#0000FF" alink="#0000FF" link="#0000FF" bgcolor="#FFFFFF" text="#000000">)",
    R"(<table align="center" border="0" cellpadding="0" cellspacing="0">)",
    R"(<tr class="standard">)",
    R"(   <td align="left" class="standard">Konvertierte Datei:</td>)",
    R"(   <td class="standard" width="10">&nbsp;</td>)",
    R"(   <td align="left" class="standard"><b>W&ouml;rter &amp; S&auml;tze.vok</b></td>)",
    R"(</tr>)",
    R"(<tr class="standard">)",
    R"(   <td align="left" class="standard">Datum der Konvertierung:</td>)",
    R"(   <td class="standard">&nbsp;</td>)",
    R"(   <td align="left" class="standard">05.03.01</td>)",
    R"(</tr>)",
    R"(<tr>)",
    R"(   <th colspan="3">&nbsp;</th>)",
    R"(</tr>)",
    R"(</table>)",
    R"(<table align="center" border="{FRAME}" bordercolorlight="#000000" bordercolordark="#000000" cellpadding="10" cellspacing="0">)",
    R"(<tr bgcolor="{HEAD}" class="standard">)",
    R"(   <td align="left" class="standard"><b>Lektion</b></td>)",
    R"(   <td align="left" class="standard"><b>Deutsche Vokabel</b></td>)",
    R"(   <td align="left" class="standard"><b>Fremdsprachige Vokabel</b></td>)",
    R"(</tr>)",
    R"({ROWS}</table>)",
    R"(<center><p class="standard">Diese Vokabelliste wurde mit dem Programm Lernkompass (<a class="nolink" href="https://example.org/" target="_new">example.org</a>) erzeugt.</p></center>)",
    R"(</body>)",
    R"(</html>)",
};

QByteArray Field(const QString& text)
{
    return ToAnsi(FitToWidth(text, kExportFieldWidth)).value();
}

}  // namespace

class HtmlExportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every key sequence up to a length over a small alphabet, one-byte keys.
    void everySequence_data()
    {
        QTest::addColumn<int>("letters");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("2 letters, up to 14") << 2 << 14;
        QTest::newRow("3 letters, up to 9") << 3 << 9;
        QTest::newRow("5 letters, up to 6") << 5 << 6;
    }
    void everySequence()
    {
        QFETCH(int, letters);
        QFETCH(int, maxLength);
        for (int length = 1; length <= maxLength; ++length) {
            QByteArray keys(length, 'A');
            for (;;) {
                QList<QByteArray> list;
                for (char c : keys)
                    list << QByteArray(1, c);
                QCOMPARE(ExchangeSortOrder(keys, 1), ReferenceOrder(list, true));
                int p = 0;  // next sequence, as a number in base `letters`
                while (p < length && keys[p] == 'A' + letters - 1)
                    keys[p++] = 'A';
                if (p == length)
                    break;
                ++keys[p];
            }
        }
    }

    // 80-byte fields through the export's keys, with letter case respected and ignored.
    void randomLists_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("distinct");
        QTest::addColumn<bool>("caseSensitive");
        for (bool caseSensitive : {true, false}) {
            const char* mode = caseSensitive ? "case" : "no case";
            QTest::addRow("3 keys, %s", mode) << "random" << 2000 << 3 << caseSensitive;
            QTest::addRow("40 keys, %s", mode) << "random" << 2000 << 40 << caseSensitive;
            QTest::addRow("all distinct, %s", mode) << "random" << 400 << 100000 << caseSensitive;
            QTest::addRow("all equal, %s", mode) << "random" << 300 << 1 << caseSensitive;
            QTest::addRow("ascending, %s", mode) << "ascending" << 300 << 0 << caseSensitive;
            QTest::addRow("descending, %s", mode) << "descending" << 300 << 0 << caseSensitive;
        }
    }
    void randomLists()
    {
        QFETCH(QString, pattern);
        QFETCH(int, count);
        QFETCH(int, distinct);
        QFETCH(bool, caseSensitive);
        QRandomGenerator random(uint(count + distinct));
        const QString letters = QStringLiteral("aAbBäÄ ");
        QStringList pool;
        for (int i = 0; i < std::min(distinct, 5000); ++i) {
            QString text;
            for (int c = 0; c < 6; ++c)
                text += letters.at(random.bounded(letters.size()));
            pool << text;
        }
        WorkingList list;
        list.count = count;
        QList<QByteArray> keys;
        for (int i = 0; i < count; ++i) {
            const QString number = QString::number(pattern == QLatin1String("ascending") ? i : count - i);
            keys << Field(pattern == QLatin1String("random") ? pool.at(random.bounded(pool.size()))
                                              : number.rightJustified(6, u'0'));
            list.fields += Field(QString()) + keys.last() + Field(QString());
        }
        QCOMPARE(ExchangeSortOrder(SortKeys(list, SortKey::German, caseSensitive), kExportFieldWidth),
                 ReferenceOrder(keys, caseSensitive));
    }

    // Whole pages of a small file: the same template, the rows in the order of each option.
    void page_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("coloured");
        QTest::addColumn<bool>("framed");
        QTest::addColumn<QString>("order");
        QTest::newRow("800 bytes: one row") << 1 << int(SortKey::Lesson) << true << true << false << "0";
        QTest::newRow("lessons, blank first") << 4 << int(SortKey::Lesson) << true << true << false << "2130";
        QTest::newRow("German, case respected") << 4 << int(SortKey::German) << true << true << true << "0312";
        QTest::newRow("German, case ignored") << 4 << int(SortKey::German) << false << false << false << "1032";
        QTest::newRow("foreign terms") << 4 << int(SortKey::Foreign) << true << false << true << "2130";
        QTest::newRow("unsorted: file order") << 4 << int(SortKey::None) << false << true << true << "0123";
    }
    void page()
    {
        QFETCH(int, entries);
        QFETCH(int, key);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, coloured);
        QFETCH(bool, framed);
        QFETCH(QString, order);
        const QList<VocabularyEntry> all{
            {QStringLiteral("L2"), QStringLiteral("Zebra"), QStringLiteral("zebra"), {}, {}},
            {QStringLiteral("L1"), QStringLiteral("apfel"), QStringLiteral("apple"), {}, {}},
            {QString(80, u' '), QStringLiteral("Äpfel"), QStringLiteral("a<b & c"), {}, {}},
            {QStringLiteral("L1"), QStringLiteral("Zug"), QStringLiteral("train"), {}, {}}};
        const QByteArrayList cells{"L2|Zebra|zebra", "L1|apfel|apple", "|&Auml;pfel|a&lt;b &amp; c",
                                   "L1|Zug|train"};
        const QString dir = NewTestDirectory();
        const QString html = dir + QStringLiteral("/Seite.html");
        QVERIFY(WriteBytes(html, "alt"));
        ExportRequest request{
            WriteVocabularyFile(dir, QStringLiteral("w.vok"), all.first(entries),
                                {QStringLiteral("  </title><script>\t"), {}, {}}),
            html, SortKey(key), caseSensitive,
            {coloured, framed, QStringLiteral("Wörter & Sätze.vok"), QStringLiteral("05.03.01")}};
        QCOMPARE(ExportVocabularyList(request), ExportResult::Written);

        QByteArray rows;
        for (int k = 0; k < order.size(); ++k) {
            const QByteArrayList cell = cells.at(order.at(k).digitValue()).split('|');
            rows += QByteArray("<tr bgcolor=\"") +
                    (!coloured ? "#FFFFFF" : k % 2 ? "#DDDDDD" : "#BBBBBB") + "\" class=\"standard\">\r\n";
            for (const QByteArray& text : cell)
                rows += "   <td align=\"left\" class=\"standard\">" + text + "</td>\r\n";
            rows += "</tr>\r\n";
        }
        QByteArrayList lines(std::begin(kPage), std::end(kPage));
        const QByteArray expected = lines.join("\r\n")
                                        .replace("{FRAME}", framed ? "1" : "0")
                                        .replace("{HEAD}", coloured ? "#999999" : "#FFFFFF")
                                        .replace("{ROWS}", rows);
        QCOMPARE(ReadBytes(html), expected);
    }
};

LK_TEST_MAIN(HtmlExportTest)
#include "HtmlExportTest.moc"
