#pragma once

#include "WordList.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <memory>
#include <utility>
#include <vector>

class QIODevice;

// KVTML 2.0, the XML vocabulary format of KDE's trainers:
//   <kvtml version="2.0">
//     <information> title, author, comment </information>
//     <identifiers> <identifier id="0"> name, locale </identifier> ... </identifiers>
//     <entries> <entry id="7"> <translation id="0"> text, comment </translation> ...
//     <lessons> <container> name, <entry id="7"/>, nested containers </container> ...
// The header's title, author and remarks are the information's title, author and comment.
// A vocabulary entry is an entry with the German term as translation 0 (comment: the
// remark) and the foreign term as translation 1 (comment: "Synonyme: " and the synonyms,
// since KVTML's own synonyms link entries, not words). Nested lessons read as one lesson,
// their names joined by " / ".

inline const QString kSynonymsPrefix = QStringLiteral("Synonyme: ");

struct KvtmlIdentifier {
    QString id;
    QString name;
    QString locale;
};

// Reads the rows of a KVTML file: a first pass over the whole file for the header, the
// languages and the lessons (which follow the entries), a second one that hands out the
// entries one at a time. The device must be seekable. Entity declarations and references
// are refused (nothing is expanded or fetched), and so is nesting deeper than kMaxDepth.
class KvtmlReader {
public:
    static constexpr int kMaxDepth = 64;
    static constexpr int kMaxIdentifiers = 16;
    static constexpr int kMaxText = 1 << 14;

    explicit KvtmlReader(QIODevice& device);
    ~KvtmlReader();

    // The first pass; false with error() set when the file is no readable KVTML 2.0 file.
    bool start(const ExchangeProgress& progress = {});
    // The next entry as a row: lesson, one text per language, synonyms, remark. False at
    // the end, or with error() set when the file turned out damaged.
    bool next(QStringList& row);

    const QString& error() const { return error_; }
    const VocabularyHeader& header() const { return header_; }
    // "Lektion", the languages' names, "Synonyme", "Bemerkung".
    QStringList columnNames() const;
    // German: the language with a German locale or name, else the first; foreign: the first
    // other one.
    ColumnMapping suggestedMapping() const;
    int permille() const;

private:
    bool fail(const QString& message);
    bool failXml(QXmlStreamReader& xml);
    // The next token with the safety checks; false at the end or on a failure.
    bool advance(QXmlStreamReader& xml, int& depth);
    bool readText(QXmlStreamReader& xml, int& depth, QString& text);
    bool readOutline(QXmlStreamReader& xml, const ExchangeProgress& progress);
    int germanIdentifier() const;
    QString lessonOf(qint64 entryId) const;

    QIODevice& device_;
    qint64 start_ = 0;
    QString error_;
    VocabularyHeader header_;
    QList<KvtmlIdentifier> identifiers_;
    QStringList lessons_;
    std::vector<std::pair<qint64, int>> lessonOfEntry_;  // sorted by entry id
    std::unique_ptr<QXmlStreamReader> entries_;
    int depth_ = 0;
};

// Writes a KVTML 2.0 file entry by entry; the lessons follow at the end.
class KvtmlWriter {
public:
    explicit KvtmlWriter(QIODevice& device);
    void begin(const VocabularyHeader& header);
    void add(const VocabularyEntry& entry);
    // False when a write failed.
    bool finish();

private:
    void text(const QString& element, const QString& value);

    QXmlStreamWriter xml_;
    QHash<QString, int> lessonIndex_;
    QStringList lessons_;
    QList<QList<int>> lessonEntries_;
    int count_ = 0;
};
