// The HTML export of a vocabulary file from elsewhere: the fast order must be the one the
// plain exchange sort leaves, and a file is either refused or written as a whole page.

#include "tools/HtmlExport.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

std::vector<int> PlainExchangeSort(const QByteArray& keys, qsizetype width)
{
    const int n = int(keys.size() / width);
    std::vector<int> order(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        order[std::size_t(i)] = i;
    const auto key = [&](int i) { return QByteArrayView(keys).sliced(i * width, width); };
    for (std::size_t i = 0; i < order.size(); ++i)
        for (std::size_t j = i; j < order.size(); ++j)
            if (key(order[j]) < key(order[i]))
                std::swap(order[i], order[j]);
    return order;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The first byte picks a key width of 1 to 4 bytes; the rest are the keys.
    const qsizetype width = 1 + static_cast<unsigned char>(bytes[0]) % 4;
    QByteArray keys = bytes.mid(1, 400 * width);
    keys.truncate(keys.size() - keys.size() % width);
    Check(ExchangeSortOrder(keys, width) == PlainExchangeSort(keys, width), "exchange order");

    // The whole input as a vocabulary file.
    static QTemporaryDir dir;
    const QString vok = dir.path() + QStringLiteral("/f.vok");
    const QString html = dir.path() + QStringLiteral("/f.html");
    QFile::remove(html);
    QFile file(vok);
    Check(
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "input written");
    file.close();
    const auto key = SortKey(static_cast<unsigned char>(bytes[0]) / 4 % 4);
    const ExportRequest request{vok,
                                html,
                                key,
                                bytes[0] % 2 == 0,
                                {bool(bytes[0] & 0x20), bool(bytes[0] & 0x40),
                                 QStringLiteral("f.vok"), QStringLiteral("05.03.01")}};
    const ExportResult result = ExportVocabularyList(request);
    const bool valid = size > 400 && size % 400 == 0;
    Check((result == ExportResult::Written) == valid, "refused exactly the wrong sizes");
    QFile page(html);
    Check(page.exists() == valid, "a page only when written");
    if (valid) {
        Check(page.open(QIODevice::ReadOnly), "page readable");
        const QByteArray text = page.readAll();
        Check(text.startsWith("<html>\r\n") && text.endsWith("</body>\r\n</html>"), "whole page");
        Check(text.count("<tr bgcolor=") == qsizetype(size / 400 - 1) + 1, "one row per entry");
        Check(text.count("<script") == 0 && text.count("<title>") == 1, "nothing unescaped");
    }
    return 0;
}
