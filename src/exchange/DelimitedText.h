#pragma once

#include "TextInput.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class QIODevice;

// Delimited text as spreadsheets and Anki write it (RFC 4180): fields apart by a separator,
// records ended by CR LF, LF or CR; a field in double quotes may hold the separator, line
// breaks and quotes (written twice). Read leniently: a quote inside an unquoted field is
// text, text after a closing quote belongs to the field, a quote left open ends with the
// file.
class DelimitedParser {
public:
    // Bounds of one record, so that a hostile file cannot fill the memory: longer fields
    // are cut (they are far too long for a vocabulary file anyway), more fields dropped.
    static constexpr int kMaxFields = 256;
    static constexpr int kMaxFieldLength = 1 << 14;

    DelimitedParser(QIODevice& device, TextEncoding encoding, QChar separator);

    void setSeparator(QChar separator) { separator_ = separator; }
    QChar separator() const { return separator_; }
    // Lines that start with "#" are comments (Anki text), handed out whole.
    void setComments(bool on) { comments_ = on; }

    // Excel's first line "sep=<character>": sets the separator and skips the line. Only
    // before the first record.
    bool takeSeparatorLine();

    enum class Item { Record, Comment, End, Failed };
    // The next record into fields, or the next comment line (without its line end) into
    // comment.
    Item next(QStringList& fields, QString& comment);

    int permille() const { return input_.permille(); }

private:
    bool available();
    bool atLineEnd();

    TextInput input_;
    QString text_;
    qsizetype pos_ = 0;
    QChar separator_;
    bool comments_ = false;
};

// The separator a sample of delimited text uses: the one of ";", tab and "," that splits
// most of its first records into the same number of fields (";" when none does).
QChar DetectSeparator(QStringView sample);

// A field text of a list written with HTML: tags dropped ("<br>" and block ends become a
// blank), character references decoded, runs of white space made one blank.
QString HtmlToText(QStringView html);

// One record: fields quoted where they hold the separator, a quote or a line break, or
// (withComments) where the first one starts with "#"; then the line end.
QString DelimitedRecord(const QStringList& fields, QChar separator, bool withComments,
                        QStringView lineEnd);

// The Anki text header lines: "#key:value", keys in any case, a blank after the colon
// allowed.
struct AnkiHeader {
    QChar separator;  // null when the file names none
    bool html = false;
    QString columns;          // the "#columns:" line's value, split once the separator is known
    int deckColumn = -1;      // columns from 0; -1 when the file has none
    QList<int> otherColumns;  // tags, note type and GUID columns
    QString deck;
    QString title, author, remarks;  // our own lines "#Titel:", "#Autor:", "#Bemerkungen:"

    // Takes one comment line; false when it is no header line.
    bool take(const QString& line);
};

// The separator names of "#separator:".
QChar AnkiSeparator(const QString& name);
