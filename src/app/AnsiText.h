#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text rules of the program's files: single-byte Windows-1252 text in fixed-width fields.

// Decodes Windows-1252 bytes. Every byte value maps to one character; the five bytes that
// Windows-1252 leaves undefined map to the C1 control characters of the same value, so
// all 256 byte values round-trip.
QString FromAnsi(const QByteArray& bytes);

// Encodes text as Windows-1252. Returns nothing when a character has no Windows-1252 byte:
// such text is refused, never written as something else.
std::optional<QByteArray> ToAnsi(const QString& text);

// True when every character of the text has a Windows-1252 byte.
bool IsAnsiEncodable(const QString& text);
bool IsAnsiChar(QChar c);

// Cut to n characters or fill with blanks on the right to exactly n characters.
QString FitToWidth(const QString& text, int n);

// Removes leading and trailing blanks (code 32 only; tabs and other characters stay).
QString TrimBlanks(const QString& text);

// Removes every character with a code up to 32 from both ends (blanks and control
// characters), the wider rule of the lesson lists.
QString TrimControls(const QString& text);

// Upper case as Windows maps single-byte Windows-1252 text: a-z, the accented letters
// and š, œ, ž, ÿ get their capitals; ß and µ stay as they are.
QString AnsiUpper(const QString& text);

// The text of a fixed-width field: its bytes up to the first NUL, decoded.
QString FieldText(const QByteArray& field);
