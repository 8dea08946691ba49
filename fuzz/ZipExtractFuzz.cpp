// Unpacks arbitrary bytes as an archive and checks that nothing lands outside the
// archive's directory: afterwards that directory holds only the archive and plain files,
// and the directory above it holds only its sentinel file, unchanged.

#include "tools/ZipBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QByteArray kSentinel = "draußen";

void Fail(const char* what, const QString& name)
{
    std::fprintf(stderr, "ZipExtractFuzz: %s: %s\n", what, qPrintable(name));
    std::abort();
}

bool WriteFile(const QString& path, const char* data, qsizetype size)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data, size) == size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir root;
    const QString outside = root.path() + QStringLiteral("/outside.txt");
    const QString dir = root.path() + QStringLiteral("/t");
    const QString archive = dir + QStringLiteral("/x.zip");
    QDir(dir).removeRecursively();
    if (!QDir().mkpath(dir) || !WriteFile(outside, kSentinel.constData(), kSentinel.size()) ||
        !WriteFile(archive, reinterpret_cast<const char*>(data), qsizetype(size)))
        Fail("cannot prepare", root.path());

    for (bool overwrite : {false, true}) {
        TZipBuilder zb;
        zb.SetFileName(archive);
        zb.ExtrOptions.setFlag(ExtrOption::ExtrOverWrite, overwrite);
        bool ended = false;
        zb.OnProgress = [&ended](ProgressType kind, const QString&, qint64) {
            ended = ended || kind == ProgressType::EndOfBatch;
        };
        zb.Extract();
        if (!ended)
            Fail("no end of batch", archive);
    }

    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QFileInfoList above = QDir(root.path()).entryInfoList(all);
    for (const QFileInfo& info : above) {
        if (info.fileName() != QLatin1String("t") &&
            info.fileName() != QLatin1String("outside.txt"))
            Fail("written outside", info.filePath());
    }
    QFile sentinel(outside);
    if (!sentinel.open(QIODevice::ReadOnly) || sentinel.readAll() != kSentinel)
        Fail("changed outside", outside);
    for (const QFileInfo& info : QDir(dir).entryInfoList(all)) {
        if (info.isSymLink() || !info.isFile())
            Fail("not a plain file", info.filePath());
        if (info.fileName().endsWith(QLatin1String(".tmp")) &&
            info.fileName().startsWith(QLatin1String("lk-")))
            Fail("temporary file left", info.filePath());
    }
    if (QFileInfo(archive).size() != qint64(size))
        Fail("archive changed", archive);
    return 0;
}
