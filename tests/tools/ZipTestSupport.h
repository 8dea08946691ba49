#pragma once

// Archives built and read with libzip directly, and directory listings, for the archive
// and zip window tests.

#include <QDir>
#include <QDirIterator>

#include <zip.h>

#include "support/TestSupport.h"

// A list from a text split at '|'.
inline QStringList L(const char* texts)
{
    return QString::fromUtf8(texts).split(u'|');
}

// Writes an archive of "name=content" entries; a name ending in "/" is a directory, a
// leading "@" makes the entry a link to its content, a leading "%" (or "!" for read-only)
// a file made on Windows.
inline bool WriteArchive(const QString& path, const QStringList& specs, int level = 5)
{
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    QList<QByteArray> keep;  // libzip reads the buffers only when closing
    for (QString spec : specs) {
        const bool link = spec.startsWith(u'@');
        const int dos = spec.startsWith(u'%') ? 0x20 : spec.startsWith(u'!') ? 0x21 : 0;
        const QString name = spec.mid(link || dos ? 1 : 0).section(u'=', 0, 0);
        keep << spec.section(u'=', 1).toUtf8();
        zip_source_t* src = zip_source_buffer(za, keep.last().constData(), keep.last().size(), 0);
        const bool dir = name.endsWith(u'/');
        const zip_int64_t i =
            dir ? zip_dir_add(za, name.toUtf8().constData(), ZIP_FL_ENC_UTF_8)
                : zip_file_add(za, name.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8);
        if (dir)
            zip_source_free(src);
        zip_set_file_compression(za, zip_uint64_t(i), level ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                 zip_uint32_t(level));
        const quint32 mode = link ? 0120777 : dir ? 040755 : 0100644;
        zip_file_set_external_attributes(
            za, zip_uint64_t(i), 0, dos ? ZIP_OPSYS_DOS : ZIP_OPSYS_UNIX, dos ? dos : mode << 16);
    }
    return zip_close(za) == 0;
}

// Every entry: name -> (bytes, method, compressed size); empty when unreadable.
inline QMap<QString, std::tuple<QByteArray, int, qint64>> ReadArchive(const QString& path)
{
    QMap<QString, std::tuple<QByteArray, int, qint64>> result;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, nullptr);
    for (zip_int64_t i = 0; za && i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        QByteArray bytes(qsizetype(st.size), '\0');
        zip_file_t* zf = zip_fopen_index(za, zip_uint64_t(i), 0);
        const bool ok = zf && zip_fread(zf, bytes.data(), st.size) == zip_int64_t(st.size);
        if (zf)
            zip_fclose(zf);
        result.insert(QString::fromUtf8(st.name),
                      {bytes, ok ? int(st.comp_method) : -1, qint64(st.comp_size)});
    }
    if (za)
        zip_discard(za);
    return result;
}

// Everything below root, sorted: "dir/", "link->target", "file=content", and readable
// archives as "name:entry/method,...".
inline QStringList Tree(const QString& root)
{
    QStringList tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString rel = QDir(root).relativeFilePath(info.filePath());
        QStringList entries;
        const auto stored = ReadArchive(info.filePath());
        for (auto e = stored.begin(); e != stored.end(); ++e)
            entries << e.key() + u'/' + QString::number(std::get<1>(*e));
        if (info.isSymLink())
            tree << rel + QStringLiteral("->") + QDir(root).relativeFilePath(info.symLinkTarget());
        else if (info.isDir())
            tree << rel + u'/';
        else
            tree << rel + (entries.isEmpty() ? u'=' + QString::fromUtf8(ReadBytes(info.filePath()))
                                             : u':' + entries.join(u','));
    }
    tree.sort();
    return tree;
}
