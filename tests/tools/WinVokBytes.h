#pragma once

#include "tools/WinVokLibrary.h"

#include <QByteArray>
#include <QByteArrayList>

// Tests build libraries byte by byte and the expected vocabulary files field by field.
inline const auto Text = [](const QByteArray& s) { return char(s.size()) + s; };
inline const auto Word = [](int n) { return QByteArray(1, char(n & 0xff)) + char(n >> 8); };
// An entry block: words and annotations of the first side, then of the second side.
inline QByteArray Entry(const QByteArrayList& first, const QByteArrayList& second)
{
    QByteArray bytes = QByteArray(1, char(first.size() / 2)) + char(second.size() / 2) + "\1\2\3\4";
    for (const QByteArray& s : first + second)
        bytes += Text(s);
    return bytes;
}
inline const auto Lesson = [](const QByteArray& name, const QByteArrayList& entries) {
    return Text(name) + Word(int(entries.size())) + entries.join();
};
inline QByteArray Library(const QByteArrayList& lessons, const QByteArray& h1 = "abc")
{
    return Text(kWinVokSignature) + Text(h1) + Text("xyz") + Word(int(lessons.size())) +
           lessons.join();
}
// A 400-byte record of 80-byte fields, blanks after the last one given.
inline QByteArray Record(const QByteArrayList& fields)
{
    QByteArray record;
    for (const QByteArray& f : fields)
        record += f.leftJustified(80, ' ', true);
    return record.leftJustified(400, ' ');
}
// Title, no author, and the remarks (short enough to fit in an 80-byte field).
inline QByteArray Header(const QByteArray& title = "abc - xyz")
{
    return Record({title, "", "Konvertiert von Lernkompass (example.org)."});
}
inline const QByteArray kHouse = Entry({"Haus", "n."}, {"house", "", "home", ""});
inline const QByteArray kHouseRecord = Record({"L", "Haus", "house", "home", "n."});
