#pragma once

#include "VocabularyFile.h"

#include <QString>

// Changes of the order and number of records of an open vocabulary file, for inserting
// and deleting entries. They work on raw 400-byte records and never leave an entry's bytes
// only in memory: a move that is interrupted (the program killed between two writes)
// leaves every entry in the file at least once, and a shortened file replaces the old one
// in a single atomic step.

// The temporary file beside a vocabulary file: the extension replaced by ".tmp". Where
// that name is taken, attempt 1, 2, ... give "<name>.1.tmp", "<name>.2.tmp", ...
QString TemporaryFilePath(const QString& vocabularyPath, int attempt = 0);

// Writes 400 blanks at record p (p = one past the last record).
bool AppendBlankRecord(VocabularyFile& file, int p);

// Reads records i and j, writes j's bytes at i, then i's bytes at j.
bool SwapRecords(VocabularyFile& file, int i, int j);

// A blank record at entry `current`; the entries current..last move up by one. The file
// holds `last` entries before and last + 1 after (a record beyond `last` is overwritten).
bool InsertBlankRecord(VocabularyFile& file, int current, int last);

enum class DeleteResult {
    Deleted,         // the file holds last - 1 entries
    TempNotCreated,  // "Fehler beim Erzeugen einer temporären Datei. Konnte Eintrag nicht löschen!"
    NotReplaced,     // "Eintrag konnte nicht gelöscht werden."
    Missing,         // "Die Datei existiert nicht mehr!": removed meanwhile, left closed
    Changed,         // another program changed the file's length: nothing done
};

// Removes entry `current` of a file holding `last` entries: the file without it is written
// to a fresh temporary file beside the file (beside the file a link names, for a link),
// which then takes its name. The file stays open for reading and writing afterwards (it
// is opened again after the replacement). On failure the file is as it was, byte for byte,
// and no temporary file is left behind. Records beyond `last` are dropped with the
// deleted entry. When the file cannot be opened again after its replacement (taken by
// another window meanwhile: inUse()), or was removed by another program, it is left
// closed.
DeleteResult DeleteRecord(VocabularyFile& file, int current, int last);

// The message for a failed DeleteRecord (empty for Deleted).
QString DeleteMessage(DeleteResult result);

// Faults for tests of the moves above; the default is no fault.
struct RecordMoveFaults {
    // Writes (record writes, truncation, the final move) that succeed; the next record
    // write stores only the first half of its bytes, and nothing is written after it, as
    // if the program had been killed. -1: no limit.
    int writeBudget = -1;
    // Records moved per block; 0: the normal block size.
    int blockRecords = 0;
    // The temporary file cannot take the vocabulary file's name.
    bool failReplace = false;
};
void SetRecordMoveFaults(const RecordMoveFaults& faults);
