#include "FileNames.h"

namespace {

// Index of the last path separator, or -1. On Windows "\" and the drive colon count too.
qsizetype LastSeparator(const QString& path)
{
#ifdef Q_OS_WIN
    qsizetype pos = -1;
    for (QChar sep : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        pos = std::max(pos, path.lastIndexOf(sep));
    return pos;
#else
    return path.lastIndexOf(QLatin1Char('/'));
#endif
}

}  // namespace

QString FileNamePart(const QString& path)
{
    return path.mid(LastSeparator(path) + 1);
}

QString DirectoryPart(const QString& path)
{
    const qsizetype sep = LastSeparator(path);
    if (sep < 0)
        return QString();
    // Keep the separator at the root: "/liste.vok" -> "/", "C:\liste.vok" -> "C:\".
    const bool root = sep == 0 || (sep == 2 && path.at(1) == QLatin1Char(':'));
    return path.left(root ? sep + 1 : sep);
}

QString ReplaceExtension(const QString& path, const QString& newExtension)
{
    const qsizetype sep = LastSeparator(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > sep)
        return path.left(dot) + newExtension;
    return path + newExtension;
}
