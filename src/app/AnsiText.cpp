#include "AnsiText.h"

#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of Windows-1252 equals Latin-1.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

QChar ByteToChar(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return QChar(kHighTable[b - 0x80]);
    return QChar(char16_t(b));
}

std::optional<unsigned char> CharToByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

QString FromAnsi(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes)
        *out++ = ByteToChar(static_cast<unsigned char>(b));
    return text;
}

std::optional<QByteArray> ToAnsi(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (QChar c : text) {
        const auto b = CharToByte(c);
        if (!b)
            return std::nullopt;
        *out++ = static_cast<char>(*b);
    }
    return bytes;
}

bool IsAnsiChar(QChar c)
{
    return CharToByte(c).has_value();
}

bool IsAnsiEncodable(const QString& text)
{
    for (QChar c : text)
        if (!IsAnsiChar(c))
            return false;
    return true;
}

QString FitToWidth(const QString& text, int n)
{
    if (text.size() >= n)
        return text.left(n);
    return text + QString(n - text.size(), QLatin1Char(' '));
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString AnsiUpper(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - 0x20));
        else if (u >= 0xE0 && u <= 0xFE && u != 0xF7)  // à..þ without ÷
            c = QChar(char16_t(u - 0x20));
        else if (u == 0xFF)  // ÿ
            c = QChar(char16_t(0x0178));
        else if (u == 0x0161 || u == 0x0153 || u == 0x017E)  // š œ ž
            c = QChar(char16_t(u - 1));
    }
    return result;
}

QString FieldText(const QByteArray& field)
{
    const qsizetype nul = field.indexOf('\0');
    return FromAnsi(nul < 0 ? field : field.left(nul));
}
