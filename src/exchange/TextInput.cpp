#include "TextInput.h"

#include "app/AnsiText.h"

#include <QIODevice>

#include <algorithm>

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

QStringDecoder DecoderFor(TextEncoding encoding)
{
    switch (encoding) {
        case TextEncoding::Utf8: return QStringDecoder(QStringConverter::Utf8);
        case TextEncoding::Utf16: return QStringDecoder(QStringConverter::Utf16);
        case TextEncoding::Windows1252: break;
    }
    return QStringDecoder();
}

}  // namespace

TextInput::TextInput(QIODevice& device, TextEncoding encoding)
    : device_(device), encoding_(encoding), decoder_(DecoderFor(encoding))
{
    start_ = device.isSequential() ? 0 : device.pos();
    size_ = device.isSequential() ? 0 : device.size() - start_;
}

bool TextInput::read(QString& text)
{
    text.clear();
    while (text.isEmpty()) {
        if (ended_ || failed_)
            return false;
        buffer_.resize(kChunkSize);
        const qint64 n = device_.read(buffer_.data(), kChunkSize);
        if (n < 0) {
            failed_ = true;
            return false;
        }
        if (n == 0) {
            ended_ = true;
            return false;
        }
        QByteArrayView bytes(buffer_.constData(), n);
        if (first_) {
            first_ = false;
            if (encoding_ != TextEncoding::Utf16 && bytes.startsWith(kUtf8Bom))
                bytes = bytes.sliced(3);
        }
        text = decoder_.isValid() ? QString(decoder_(bytes)) : FromAnsi(bytes.toByteArray());
    }
    return true;
}

int TextInput::permille() const
{
    if (size_ <= 0)
        return 0;
    const qint64 done = device_.pos() - start_;
    return int(std::clamp<qint64>(done * 1000 / size_, 0, 1000));
}

bool IsValidUtf8(QByteArrayView bytes, bool complete)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t c = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            c = b & 0x07;
        } else {
            return false;
        }
        if (i + length > n) {
            // Cut off at the end: valid so far when every byte present continues it.
            for (qsizetype k = i + 1; k < n; ++k)
                if ((p[k] & 0xC0) != 0x80)
                    return false;
            return !complete;
        }
        for (int k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF.
        if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

TextEncoding DetectEncoding(QByteArrayView head, bool complete)
{
    if (head.startsWith(kUtf8Bom))
        return TextEncoding::Utf8;
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16;
    return IsValidUtf8(head, complete) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}
