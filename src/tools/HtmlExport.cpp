#include "HtmlExport.h"

#include "app/AnsiText.h"
#include "app/FileSync.h"
#include "app/ProductInfo.h"
#include "vocab/VocabularyFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>

namespace {

// Windows-1252 codes with an entity on the page; every other byte is written as it is.
constexpr std::array<std::pair<unsigned char, const char*>, 50> kEntities = {{
    {0xE4, "&auml;"},   {0xC4, "&Auml;"},   {0xF6, "&ouml;"},   {0xD6, "&Ouml;"},
    {0xFC, "&uuml;"},   {0xDC, "&Uuml;"},   {0xDF, "&szlig;"},  {0x3C, "&lt;"},
    {0x3E, "&gt;"},     {0x26, "&amp;"},    {0x22, "&quot;"},   {0xC0, "&Agrave;"},
    {0xC1, "&Aacute;"}, {0xC2, "&Acirc;"},  {0xC3, "&Atilde;"}, {0xC5, "&Aring;"},
    {0xC7, "&Ccedil;"}, {0xC8, "&Egrave;"}, {0xC9, "&Eacute;"}, {0xCA, "&Ecirc;"},
    {0xCC, "&Igrave;"}, {0xCD, "&Iacute;"}, {0xCE, "&Icirc;"},  {0xCF, "&Iuml;"},
    {0xD2, "&Ograve;"}, {0xD3, "&Oacute;"}, {0xD4, "&Ocirc;"},  {0xD5, "&Otilde;"},
    {0xD9, "&Ugrave;"}, {0xDA, "&Uacute;"}, {0xDB, "&Ucirc;"},  {0xE0, "&agrave;"},
    {0xE1, "&aacute;"}, {0xE2, "&acirc;"},  {0xE3, "&atilde;"}, {0xE5, "&aring;"},
    {0xE7, "&ccedil;"}, {0xE8, "&egrave;"}, {0xE9, "&eacute;"}, {0xEA, "&ecirc;"},
    {0xEC, "&igrave;"}, {0xED, "&iacute;"}, {0xEE, "&icirc;"},  {0xEF, "&iuml;"},
    {0xF2, "&ograve;"}, {0xF3, "&oacute;"}, {0xF4, "&ocirc;"},  {0xF9, "&ugrave;"},
    {0xFA, "&uacute;"}, {0xFB, "&ucirc;"},
}};

const std::array<const char*, 256>& EntityTable()
{
    static const std::array<const char*, 256> table = [] {
        std::array<const char*, 256> t{};
        for (const auto& [code, text] : kEntities)
            t[code] = text;
        return t;
    }();
    return table;
}

const std::array<unsigned char, 256>& LowerTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<unsigned char>(b);
        for (int b = 'A'; b <= 'Z'; ++b)
            t[b] = static_cast<unsigned char>(b + 0x20);
        for (int b = 0xC0; b <= 0xDE; ++b)  // À..Þ without ×
            if (b != 0xD7)
                t[b] = static_cast<unsigned char>(b + 0x20);
        t[0x8A] = 0x9A;  // Š
        t[0x8C] = 0x9C;  // Œ
        t[0x8E] = 0x9E;  // Ž
        t[0x9F] = 0xFF;  // Ÿ
        return t;
    }();
    return table;
}

// Counts over positions 0..n-1; also finds the k-th set position.
class Fenwick {
public:
    void assign(int n, bool ones)
    {
        tree_.assign(std::size_t(n) + 1, 0);
        if (ones)
            for (int i = 1; i <= n; ++i)
                tree_[std::size_t(i)] = i & -i;
    }
    void add(int pos, int delta)
    {
        for (int i = pos + 1; i < int(tree_.size()); i += i & -i)
            tree_[std::size_t(i)] += delta;
    }
    // Sum over positions [0, end).
    int prefix(int end) const
    {
        int sum = 0;
        for (int i = end; i > 0; i -= i & -i)
            sum += tree_[std::size_t(i)];
        return sum;
    }
    // The position of the (k+1)-th one (k from 0), when every count is 0 or 1.
    int findKth(int k) const
    {
        const int n = int(tree_.size()) - 1;
        int pos = 0;
        int step = 1;
        while (step * 2 <= n)
            step *= 2;
        for (; step > 0; step /= 2) {
            if (pos + step <= n && tree_[std::size_t(pos + step)] <= k) {
                pos += step;
                k -= tree_[std::size_t(pos)];
            }
        }
        return pos;
    }

private:
    std::vector<int> tree_;
};

void AppendEscaped(QByteArray& out, QByteArrayView text)
{
    const auto& entities = EntityTable();
    for (char c : text) {
        if (const char* entity = entities[static_cast<unsigned char>(c)])
            out += entity;
        else
            out += c;
    }
}

// Appended straight to the page: a page has hundreds of thousands of cells.
void AppendCell(QByteArray& out, QByteArrayView field)
{
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field = field.first(nul);
    qsizetype begin = 0;
    qsizetype end = field.size();
    while (begin < end && static_cast<unsigned char>(field[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(field[end - 1]) <= 32)
        --end;
    AppendEscaped(out, field.sliced(begin, end - begin));
}

void Line(QByteArray& page, const char* text)
{
    page += text;
    page += "\r\n";
}

constexpr qsizetype kFlushSize = 1 << 20;

}  // namespace

unsigned char AnsiLowerByte(unsigned char b)
{
    return LowerTable()[b];
}

QByteArray SortKeys(const WorkingList& list, SortKey key, bool caseSensitive)
{
    const int k = key == SortKey::German ? 1 : key == SortKey::Foreign ? 2 : 0;
    QByteArray keys(qsizetype(list.count) * kExportFieldWidth, '\0');
    const auto& lower = LowerTable();
    char* out = keys.data();
    for (int i = 0; i < list.count; ++i, out += kExportFieldWidth) {
        const QByteArrayView field = list.field(i, k);
        for (qsizetype c = 0; c < kExportFieldWidth && field[c] != '\0'; ++c) {
            const auto b = static_cast<unsigned char>(field[c]);
            out[c] = static_cast<char>(caseSensitive ? b : lower[b]);
        }
    }
    return keys;
}

// The exchange sort puts each key group in order among the others, but mixes the members
// of a group. Scanning the list front to back, the group of key v behaves like a queue:
// a member joins at the back, and every smaller key met while the queue holds something
// moves the front member to the back. As a ring, a join is an insertion just before the
// current front and a move only shifts the front; the smaller keys between two members
// are counted with a Fenwick tree over the positions of the groups already placed.
std::vector<int> ExchangeSortOrder(QByteArrayView keys, qsizetype width,
                                   const ExportProgress& progress)
{
    const int n = width > 0 ? int(keys.size() / width) : 0;
    std::vector<int> byKey(std::size_t(n), 0);
    std::iota(byKey.begin(), byKey.end(), 0);
    const char* data = keys.data();
    const auto keyAt = [&](int i) { return data + qsizetype(i) * width; };
    std::stable_sort(byKey.begin(), byKey.end(), [&](int a, int b) {
        return std::memcmp(keyAt(a), keyAt(b), std::size_t(width)) < 0;
    });

    std::vector<int> order;
    order.reserve(std::size_t(n));
    Fenwick smaller;  // positions of the groups placed so far
    smaller.assign(n, false);
    Fenwick freeSlots;
    std::vector<int> inserted;
    std::vector<int> ring;
    for (int begin = 0; begin < n;) {
        int end = begin + 1;
        while (end < n && std::memcmp(keyAt(byKey[std::size_t(begin)]),
                                      keyAt(byKey[std::size_t(end)]), std::size_t(width)) == 0)
            ++end;
        const int m = end - begin;
        const int* members = byKey.data() + begin;  // original positions, ascending

        // Where each member joins the ring, and the front when the scan ends.
        inserted.assign(std::size_t(m), 0);
        qint64 front = 0;
        for (int k = 0; k < m; ++k) {
            if (k > 0) {
                const int moves = smaller.prefix(members[k]) - smaller.prefix(members[k - 1]);
                front = (front + moves) % k;
            }
            inserted[std::size_t(k)] = int(front);
            front = (front + 1) % (k + 1);
        }
        const int movesAfter = int(order.size()) - smaller.prefix(members[m - 1] + 1);
        front = (front + movesAfter) % m;

        // Later joins shift earlier members: place the members from the last one back.
        ring.assign(std::size_t(m), 0);
        freeSlots.assign(m, true);
        for (int k = m - 1; k >= 0; --k) {
            const int slot = freeSlots.findKth(inserted[std::size_t(k)]);
            ring[std::size_t(slot)] = members[k];
            freeSlots.add(slot, -1);
        }
        for (int t = 0; t < m; ++t)
            order.push_back(ring[std::size_t((front + t) % m)]);
        for (int k = 0; k < m; ++k)
            smaller.add(members[k], 1);
        if (progress)
            progress(int(order.size()), n);
        begin = end;
    }
    return order;
}

QByteArray EscapeHtml(QByteArrayView text)
{
    QByteArray result;
    result.reserve(text.size());
    AppendEscaped(result, text);
    return result;
}

QByteArray EscapeHtml(const QString& text)
{
    QByteArray bytes;
    for (char32_t code : text.toUcs4()) {
        const std::optional<QByteArray> ansi =
            code <= 0xFFFF ? ToAnsi(QString(QChar(char16_t(code)))) : std::nullopt;
        if (ansi)
            bytes += *ansi;
        else
            bytes += "&#" + QByteArray::number(quint32(code)) + ';';
    }
    // Numeric references contain no character of the table.
    return EscapeHtml(QByteArrayView(bytes));
}

QByteArray CellText(QByteArrayView field)
{
    QByteArray cell;
    AppendCell(cell, field);
    return cell;
}

bool WritePage(QIODevice& out, const WorkingList& list, const std::vector<int>& order,
               const PageOptions& options, const ExportProgress& progress)
{
    const char* headerColour = options.coloured ? "#999999" : "#FFFFFF";
    const char* rowColour[2] = {options.coloured ? "#BBBBBB" : "#FFFFFF",
                                options.coloured ? "#DDDDDD" : "#FFFFFF"};
    QByteArray page;
    page.reserve(kFlushSize + 4096);
    Line(page, "<html>");
    Line(page, "<head>");
    page += "<title>" + CellText(list.title) + "</title>\r\n";
    for (const char* text :
         {"<style type=\"text/css\">",
          "<!--",
          "",
          ".standard",
          "{",
          "   font-family:Arial;",
          "   font-size:10pt;",
          "}",
          "",
          ".nolink",
          "{",
          "   text-decoration:none;",
          "}",
          "",
          "a:hover",
          "{",
          "   text-decoration:underline;",
          "}",
          "",
          "//-->",
          "</style>",
          "</head>",
          "<body vlink=\"#0000FF\" alink=\"#0000FF\" link=\"#0000FF\" bgcolor=\"#FFFFFF\" "
          "text=\"#000000\">",
          "<table align=\"center\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">",
          "<tr class=\"standard\">",
          "   <td align=\"left\" class=\"standard\">Konvertierte Datei:</td>",
          "   <td class=\"standard\" width=\"10\">&nbsp;</td>"})
        Line(page, text);
    page += "   <td align=\"left\" class=\"standard\"><b>" + EscapeHtml(options.fileName) +
            "</b></td>\r\n";
    for (const char* text :
         {"</tr>", "<tr class=\"standard\">",
          "   <td align=\"left\" class=\"standard\">Datum der Konvertierung:</td>",
          "   <td class=\"standard\">&nbsp;</td>"})
        Line(page, text);
    page += "   <td align=\"left\" class=\"standard\">" + EscapeHtml(options.date) + "</td>\r\n";
    for (const char* text :
         {"</tr>", "<tr>", "   <th colspan=\"3\">&nbsp;</th>", "</tr>", "</table>"})
        Line(page, text);
    page += QByteArray("<table align=\"center\" border=\"") + (options.framed ? "1" : "0") +
            "\" bordercolorlight=\"#000000\" bordercolordark=\"#000000\" cellpadding=\"10\" "
            "cellspacing=\"0\">\r\n";
    page += QByteArray("<tr bgcolor=\"") + headerColour + "\" class=\"standard\">\r\n";
    for (const char* text :
         {"   <td align=\"left\" class=\"standard\"><b>Lektion</b></td>",
          "   <td align=\"left\" class=\"standard\"><b>Deutsche Vokabel</b></td>",
          "   <td align=\"left\" class=\"standard\"><b>Fremdsprachige Vokabel</b></td>", "</tr>"})
        Line(page, text);

    const int n = int(order.size());
    for (int k = 0; k < n; ++k) {
        if (progress)
            progress(k + 1, n);
        page += QByteArray("<tr bgcolor=\"") + rowColour[k % 2] + "\" class=\"standard\">\r\n";
        for (int f = 0; f < kExportFields; ++f) {
            page += "   <td align=\"left\" class=\"standard\">";
            AppendCell(page, list.field(order[std::size_t(k)], f));
            page += "</td>\r\n";
        }
        Line(page, "</tr>");
        if (page.size() >= kFlushSize) {
            if (out.write(page) != page.size())
                return false;
            page.clear();
        }
    }
    Line(page, "</table>");
    page +=
        "<center><p class=\"standard\">Diese Vokabelliste wurde mit dem Programm Lernkompass "
        "(<a class=\"nolink\" href=\"" +
        EscapeHtml(Product::kSite) + "\" target=\"_new\">" + EscapeHtml(Product::kHost) +
        "</a>) erzeugt.</p></center>\r\n";
    Line(page, "</body>");
    page += "</html>";
    return out.write(page) == page.size();
}

ExportResult ReadWorkingList(const QString& path, WorkingList& list)
{
    list = WorkingList{};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ExportResult::Missing;
    const qint64 size = file.size();
    if (size <= kRecordSize || size % kRecordSize != 0)
        return ExportResult::BadFormat;
    if (size / kRecordSize - 1 > std::numeric_limits<int>::max())
        return ExportResult::BadFormat;
    const int n = int(size / kRecordSize - 1);
    const QByteArray header = file.read(kRecordSize);
    if (header.size() != kRecordSize)
        return ExportResult::Missing;
    list.title = header.left(kExportFieldWidth);
    const qsizetype entryBytes = qsizetype(kExportFields) * kExportFieldWidth;
    list.fields.reserve(qsizetype(n) * entryBytes);
    constexpr int kRecordsPerRead = 1024;
    for (int done = 0; done < n;) {
        const int records = std::min(kRecordsPerRead, n - done);
        const QByteArray block = file.read(qint64(records) * kRecordSize);
        if (block.size() != qsizetype(records) * kRecordSize)
            return ExportResult::Missing;
        for (int r = 0; r < records; ++r)
            list.fields.append(block.constData() + qsizetype(r) * kRecordSize, entryBytes);
        done += records;
    }
    list.count = n;
    return ExportResult::Written;
}

ExportResult ExportVocabularyList(const ExportRequest& request, const ExportObserver& observer)
{
    if (observer.reading)
        observer.reading();
    WorkingList list;
    const ExportResult read = ReadWorkingList(request.vocabularyPath, list);
    if (read != ExportResult::Written)
        return read;

    std::vector<int> order;
    if (request.sortKey == SortKey::None) {
        order.resize(std::size_t(list.count));
        std::iota(order.begin(), order.end(), 0);
    } else {
        order = ExchangeSortOrder(SortKeys(list, request.sortKey, request.caseSensitive),
                                  kExportFieldWidth, observer.sorting);
    }

    QSaveFile out(request.htmlPath);
    if (!out.open(QIODevice::WriteOnly))
        return ExportResult::WriteFailed;
    // Qt 6.4's commit() does not notice a failed final flush (a full disk) and would put a
    // cut page in place: flush first.
    if (!WritePage(out, list, order, request.page, observer.saving) || !out.flush()) {
        out.cancelWriting();
        return ExportResult::WriteFailed;
    }
    if (!out.commit())
        return ExportResult::WriteFailed;
    // The new name on the disk too; the page itself was synced by commit(). Qt put it beside
    // the file a linked page name leads to, keeping the link.
    SyncDirectory(QFileInfo(ResolveLinks(request.htmlPath)).absolutePath());
    return ExportResult::Written;
}
