#pragma once

#include "WordList.h"

#include <QString>

class QIODevice;

// Writing a vocabulary file as a word list:
// - CSV: UTF-8 with a byte order mark, ";" between fields, CR LF after each record, a first
//   row of column names (Lektion;Deutsch;Fremdsprache;Synonyme;Bemerkung); as a German
//   spreadsheet opens it. The header has no place here.
// - Anki text: UTF-8, tab-separated, the header lines "#separator:tab", "#html:false",
//   "#columns:" with the column names and "#deck column:" for the lesson, which comes last
//   so that Anki's first two fields get the German and the foreign term; title, author and
//   remarks as lines "#Titel:", "#Autor:", "#Bemerkungen:", which Anki passes over.
// - KVTML 2.0: see KvtmlFile.h.

// Writes the entries of an open vocabulary file, reading it in blocks. False when reading
// or writing failed.
bool WriteWordList(VocabularyFile& vocabulary, ListFormat format, QIODevice& out,
                   const ExchangeProgress& progress = {});

struct ListExportResult {
    QString error;  // German; empty when it worked
    int entries = 0;
    bool ok() const { return error.isEmpty(); }
};

// Exports the vocabulary file into a new file that replaces the target only when complete
// (an existing one only with replaceExisting).
ListExportResult ExportWordList(const QString& vocabularyPath, ListFormat format,
                                const QString& target, bool replaceExisting,
                                const ExchangeProgress& progress = {});
