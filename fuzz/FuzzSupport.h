#pragma once

// Helpers shared by the fuzz targets.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test is a finding, as a crash is.
#define FUZZ_CHECK(condition)                                                       \
    do {                                                                            \
        if (!(condition)) {                                                         \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,   \
                         #condition);                                               \
            std::abort();                                                           \
        }                                                                           \
    } while (false)

inline QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A path in a directory that lives as long as the fuzz program; the readers get the
// input as a real file, as the program gets it.
inline QString FuzzFilePath(const QString& name)
{
    static QTemporaryDir dir;
    return dir.path() + QLatin1Char('/') + name;
}

inline bool WriteFuzzFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}
