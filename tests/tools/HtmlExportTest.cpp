#include "app/AnsiText.h"
#include "support/DataTables.h"
#include "support/TestSupport.h"
#include "tools/HtmlExport.h"

#include <QRandomGenerator>

#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The plain exchange sort on the texts up to their first NUL; letter case ignored through
// Unicode, not the export's table.
std::vector<int> ReferenceOrder(QList<QByteArray> keys, bool caseSensitive)
{
    for (QByteArray& key : keys) {
        const qsizetype width = key.size();
        key.truncate(key.contains('\0') ? key.indexOf('\0') : width);
        if (!caseSensitive)
            key = ToAnsi(FromAnsi(key).toLower()).value();
        key = key.leftJustified(width, '\0');
    }
    std::vector<int> order(std::size_t(keys.size()));
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = 0; i < order.size(); ++i)
        for (std::size_t j = i; j < order.size(); ++j)
            if (keys[order[j]] < keys[order[i]])
                std::swap(order[i], order[j]);
    return order;
}

QByteArray Field(const QString& text)
{
    return ToAnsi(FitToWidth(text, kExportFieldWidth)).value();
}

}  // namespace

class HtmlExportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The fast order against the exchange sort, on German terms of 80 bytes: every sequence
    // of one-letter terms up to a length (ascending and descending ones among them), or
    // random lists of words.
    void sortOrder_data()
    {
        // lists: 0: every sequence up to count
        DataColumns<QString, int, int, int, bool>("alphabet", "wordLength", "count", "lists",
                                                  "caseSensitive");
        QTest::newRow("every sequence over a, A, b up to 9") << "aAb" << 1 << 9 << 0 << false;
        for (bool caseSensitive : {true, false}) {
            const char* mode = caseSensitive ? "case" : "no case";
            QTest::addRow("3 keys, %s", mode) << "aAä" << 1 << 2000 << 3 << caseSensitive;
            QTest::addRow("49 keys, %s", mode) << "aAbBäÄ " << 2 << 2000 << 3 << caseSensitive;
            QTest::addRow("all distinct, %s", mode) << "aAbBäÄ " << 8 << 400 << 1 << caseSensitive;
            QTest::addRow("all equal, %s", mode) << "x" << 1 << 300 << 1 << caseSensitive;
        }
        QTest::newRow("the text ends at a NUL") << u"\0ab"_s << 2 << 2000 << 3 << true;
        QTest::newRow("Ÿ with ÿ, no case") << u"ŸÿYy"_s << 1 << 2000 << 3 << false;
    }
    void sortOrder()
    {
        const auto [alphabet, wordLength, count, lists, caseSensitive] =
            DataRow<QString, int, int, int, bool>("alphabet", "wordLength", "count", "lists",
                                                  "caseSensitive");
        const auto check = [&](const QStringList& words) {
            WorkingList list;
            list.count = int(words.size());
            QList<QByteArray> keys;
            for (const QString& word : words) {
                keys << Field(word);
                list.fields += Field({}) + keys.last() + Field({});
            }
            const auto order =
                ExchangeSortOrder(SortKeys(list, SortKey::German, caseSensitive), 80);
            QVERIFY2(order == ReferenceOrder(keys, caseSensitive), qPrintable(words.join(u',')));
        };
        const int letters = int(alphabet.size());
        for (int length = 1; lists == 0 && length <= count; ++length) {
            for (qint64 number = 0; number < qint64(std::pow(letters, length)); ++number) {
                QStringList words;
                for (qint64 rest = number; words.size() < length; rest /= letters)
                    words << alphabet.at(rest % letters);
                check(words);
                if (QTest::currentTestFailed())
                    return;
            }
        }
        QRandomGenerator random{quint32(count)};
        for (int l = 0; l < lists; ++l) {
            QStringList words;
            while (words.size() < count) {
                words << QString();
                for (int c = 0; c < wordLength; ++c)
                    words.last() += alphabet.at(random.bounded(letters));
            }
            check(words);
        }
    }

    // Whole pages of a small file: the same template, the rows in the order of each option.
    void page_data()
    {
        // Key (Lesson, German, Foreign, None), c: case, f: coloured, r: frame; then the rows
        // in the order expected (the first entries of the file).
        QTest::addColumn<QString>("options");
        QTest::newRow("800 bytes: one row") << "Lcf 0";
        QTest::newRow("lessons, blank first") << "Lcf 2130";
        QTest::newRow("German, case respected") << "Gcfr 0312";
        QTest::newRow("German, case ignored") << "G 1032";
        QTest::newRow("foreign terms") << "Fcr 2130";
        QTest::newRow("unsorted: file order") << "Nfr 0123";
    }
    void page()
    {
        QFETCH(QString, options);
        const QString order = options.section(u' ', 1);
        const bool coloured = options.contains(u'f'), framed = options.contains(u'r');
        const QList<VocabularyEntry> entries{{u"L2"_s, u"Zebra"_s, u"zebra"_s, {}, {}},
                                             {u"L1"_s, u"apfel"_s, u"apple"_s, {}, {}},
                                             {u" "_s, u"Äpfel"_s, u"a<b & c"_s, {}, {}},
                                             {u"L1"_s, u"Zug"_s, u"train"_s, {}, {}}};
        const QByteArrayList cells{"L2|Zebra|zebra", "L1|apfel|apple", "|&Auml;pfel|a&lt;b &amp; c",
                                   "L1|Zug|train"};
        const QString dir = NewTestDirectory(), html = dir + u"/Seite.html"_s;
        QVERIFY(WriteBytes(html, "alt"));
        const QString vocabulary = WriteVocabularyFile(dir, u"w.vok"_s, entries.first(order.size()),
                                                       {u"  </title><script>\t"_s, {}, {}});
        const PageOptions look{coloured, framed, u"Wörter & Sätze.vok"_s, u"05.03.01"_s};
        const auto key = SortKey(u"LGFN"_s.indexOf(options.at(0)));
        QCOMPARE(ExportVocabularyList({vocabulary, html, key, options.contains(u'c'), look}),
                 ExportResult::Written);

        QByteArray rows;
        for (int k = 0; k < order.size(); ++k) {
            const char* colour = !coloured ? "#FFFFFF" : k % 2 ? "#DDDDDD" : "#BBBBBB";
            rows += QByteArray("<tr bgcolor=\"") + colour + "\" class=\"standard\">\r\n";
            for (const QByteArray& text : cells.at(order.at(k).digitValue()).split('|'))
                rows += "   <td align=\"left\" class=\"standard\">" + text + "</td>\r\n";
            rows += "</tr>\r\n";
        }
        // The page of a file titled "</title><script>", named "Wörter & Sätze.vok".
        const QByteArray page = ReadBytes(QFINDTESTDATA("HtmlExportPage.html")).trimmed();
        QCOMPARE(ReadBytes(html), QByteArray(page)
                                      .replace("\n", "\r\n")
                                      .replace("{FRAME}", framed ? "1" : "0")
                                      .replace("{HEAD}", coloured ? "#999999" : "#FFFFFF")
                                      .replace("{ROWS}", rows));
    }
};

LK_TEST_MAIN(HtmlExportTest)
#include "HtmlExportTest.moc"
