#pragma once

#include "WordList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

class QIODevice;

// The text of a device, decoded a piece at a time, so that a file of any size passes through
// a bounded buffer. A UTF-8 byte order mark is dropped, in any encoding; a UTF-16 one
// chooses the byte order.
class TextInput {
public:
    static constexpr qint64 kChunkSize = 1 << 16;

    TextInput(QIODevice& device, TextEncoding encoding);

    // The next piece of text; false at the end of the device or when reading failed.
    bool read(QString& text);
    bool failed() const { return failed_; }
    // How far it has come through the device, 0 to 1000.
    int permille() const;

private:
    QIODevice& device_;
    TextEncoding encoding_;
    QStringDecoder decoder_;
    QByteArray buffer_;
    qint64 start_ = 0;
    qint64 size_ = 0;
    bool first_ = true;
    bool failed_ = false;
    bool ended_ = false;
};

// True when the bytes are valid UTF-8; with `complete` false a sequence cut off at the end
// passes (the bytes are the start of a longer text).
bool IsValidUtf8(QByteArrayView bytes, bool complete);

// The encoding the first bytes of a file speak: a byte order mark decides, else UTF-8 when
// they are valid UTF-8, else Windows-1252.
TextEncoding DetectEncoding(QByteArrayView head, bool complete);
