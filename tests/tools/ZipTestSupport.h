#pragma once

// Archives built and read with libzip directly, and directory snapshots, for the archive
// and zip window tests.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <zip.h>

// A list from a text split at '|'.
inline QStringList L(const char* texts)
{
    return QString::fromUtf8(texts).split(u'|');
}

struct ArchiveEntry {
    QString name;
    QByteArray bytes;
    quint32 unixMode = 0100644;  // 0120777: a link whose target is bytes
};

// Entries from "name=content" texts; a leading "@" makes the entry a link.
inline QList<ArchiveEntry> Entries(const QStringList& specs)
{
    QList<ArchiveEntry> entries;
    for (QString spec : specs) {
        const bool link = spec.startsWith(u'@');
        if (link)
            spec.remove(0, 1);
        const qsizetype eq = spec.indexOf(u'=');
        const quint32 mode = link ? 0120777u : spec.left(eq).endsWith(u'/') ? 040755u : 0100644u;
        entries.append({spec.left(eq), spec.mid(eq + 1).toUtf8(), mode});
    }
    return entries;
}

inline bool WriteArchive(const QString& path, const QList<ArchiveEntry>& entries, int level = 5)
{
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (!za)
        return false;
    for (const ArchiveEntry& e : entries) {
        zip_source_t* src = zip_source_buffer(za, e.bytes.constData(), e.bytes.size(), 0);
        const zip_int64_t i =
            e.name.endsWith(u'/')
                ? zip_dir_add(za, e.name.toUtf8().constData(), ZIP_FL_ENC_UTF_8)
                : zip_file_add(za, e.name.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8);
        if (e.name.endsWith(u'/'))
            zip_source_free(src);
        if (i < 0) {
            zip_discard(za);
            return false;
        }
        zip_set_file_compression(za, zip_uint64_t(i), level ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                 zip_uint32_t(level));
        zip_file_set_external_attributes(za, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX, e.unixMode << 16);
    }
    if (zip_close(za) != 0) {
        zip_discard(za);
        return false;
    }
    return true;
}

// Text that packs well: words from a small list, in a reproducible order.
inline QByteArray SampleText(qsizetype size)
{
    static const char* const words[] = {"Haus ",   "house ",  "Baum ",         "tree ",
                                        "laufen ", "to run ", "Lektion 7\r\n", "schnell ",
                                        "quick ",  "Wasser "};
    QByteArray text;
    quint32 state = 12345;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % 10];
    }
    text.truncate(size);
    return text;
}

struct StoredEntry {
    QByteArray bytes;
    int method = -1;
    qint64 compressedSize = -1;
};

// Every entry by name; empty when the archive cannot be read.
inline QMap<QString, StoredEntry> ReadArchive(const QString& path)
{
    QMap<QString, StoredEntry> result;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, nullptr);
    if (!za)
        return result;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        StoredEntry e{QByteArray(qsizetype(st.size), '\0'), st.comp_method, qint64(st.comp_size)};
        zip_file_t* zf = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (!zf || zip_fread(zf, e.bytes.data(), st.size) != zip_int64_t(st.size))
            e.method = -1;
        if (zf)
            zip_fclose(zf);
        result.insert(QString::fromUtf8(st.name), e);
    }
    zip_discard(za);
    return result;
}

// Whether Info-ZIP's unzip finds the archive sound (true when it is not installed).
inline bool UnzipAccepts(const QString& path)
{
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        return true;
    QProcess p;
    p.start(unzip, {QStringLiteral("-tqq"), path});
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Everything below root, sorted: "dir/", "file=content" ("file=zip" for archives) and
// "link->target".
inline QStringList Tree(const QString& root)
{
    QStringList tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString rel = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            tree << rel + QStringLiteral("->") + QDir(root).relativeFilePath(info.symLinkTarget());
        } else if (info.isDir()) {
            tree << rel + u'/';
        } else {
            QFile f(info.filePath());
            f.open(QIODevice::ReadOnly);
            tree << rel + u'=' +
                        (rel.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive)
                             ? QStringLiteral("zip")
                             : QString::fromUtf8(f.readAll()));
        }
    }
    tree.sort();
    return tree;
}
