#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// WinVok II library files (".bib") and their conversion into vocabulary files.
//
// A library is a signature, two header texts, a 16-bit lesson count and the lesson blocks.
// A lesson block is its name, a 16-bit entry count and the entry blocks; an entry block is
// an 8-bit count of first-side items, an 8-bit count of second-side items, four skipped
// bytes, then each item as a word and an annotation. Texts are counted (one length byte,
// then that many Windows-1252 bytes); numbers are unsigned little-endian.

inline constexpr char kWinVokSignature[] = "WinVok 2.0 Library";

// Reads a library from its first byte on. Every read is checked against the end of the
// bytes: a read that would run past it fails and leaves the position where it was.
class WinVokReader {
public:
    explicit WinVokReader(QByteArrayView bytes) : bytes_(bytes) {}

    std::optional<quint8> byte();
    std::optional<quint16> word();
    // A counted text, as it stands in the library.
    std::optional<QByteArrayView> textView();
    // A counted text with every NUL byte made a blank, so that it cannot end a field of
    // the vocabulary file early.
    std::optional<QByteArray> text();
    bool skip(qsizetype n);

    qsizetype position() const { return pos_; }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

enum class ConversionResult { Converted, OutputNotCreated, InputNotRead, WrongFormat, Failed };

// The status line text of a failed conversion (empty for Converted).
QString ConversionStatusText(ConversionResult result);

// Whether the file starts with the signature of a library; nothing when it cannot be read.
std::optional<bool> HasLibrarySignature(const QString& path);

// Called before every entry, so that a window can repaint during long conversions.
using EntryCallback = std::function<void()>;

// Writes the vocabulary file of a library to out: the header (title "<text 1> - <text 2>",
// no author, a remark naming this program) and one record per entry, lesson by lesson.
// Gives WrongFormat for a wrong signature and Failed when the library ends early or out
// cannot take the bytes; out then holds what was written so far.
ConversionResult ConvertLibrary(QByteArrayView library, QIODevice& out,
                                const EntryCallback& perEntry = {});

// Converts the library file input into the vocabulary file output. The output is written
// to a temporary file beside it and moved into place only when everything succeeded: a
// failure leaves no new file behind and an existing output exactly as it was.
ConversionResult ConvertLibraryFile(const QString& input, const QString& output,
                                    const EntryCallback& perEntry = {});

// True when both names lead to the same existing file: through "." and "..", links, or
// letter case where the file system ignores it.
bool NamesSameFile(const QString& a, const QString& b);
