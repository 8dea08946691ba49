#pragma once

#include "vocab/VocabularyFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// Word lists from elsewhere: the three formats, the columns of a list and how they meet the
// five fields of a vocabulary entry, and how a text from elsewhere is made fit for a field.

enum class ListFormat { Csv, AnkiText, Kvtml };
enum class TextEncoding { Utf8, Windows1252, Utf16 };

// "CSV", "Anki-Text", "KVTML"; "UTF-8", "Windows-1252 (ANSI)", "UTF-16".
QString FormatName(ListFormat format);
QString EncodingName(TextEncoding encoding);

// The format a file name's extension stands for: .csv, .txt/.tsv (Anki text), .kvtml/.xml.
std::optional<ListFormat> FormatForExtension(const QString& path);

// The five fields in the order of a vocabulary entry (VocabularyEntry::field(k)).
enum ListField { kLessonField = 0, kGermanField, kForeignField, kSynonymsField, kRemarkField };

// The column each field is taken from, -1 for none.
struct ColumnMapping {
    std::array<int, kEntryFields> column{-1, -1, -1, -1, -1};
    bool operator==(const ColumnMapping&) const = default;
};

// The column names a list of ours writes, in field order.
QStringList FieldColumnNames();

// The field a column name stands for, German and English names in any case ("Lektion",
// "Lesson", "Deutsch", "German", "Fremdsprache", "Englisch", "Foreign", "Synonyme",
// "Bemerkung", "Notes", ...).
std::optional<int> FieldForColumnName(const QString& name);

// True when a row reads as column names: two of its cells name different fields.
bool LooksLikeColumnNames(const QStringList& cells);

// The mapping from column names; `skip` lists columns that hold something else (Anki's tag,
// note type and GUID columns). Fields without a named column stay unmapped, except that
// German and foreign term fall back to positions when no column names either.
// Without names, by position among the other columns: German term, foreign term, synonyms,
// remark, and with five or more columns the lesson in front.
ColumnMapping SuggestMapping(const QStringList& names, int columns, const QList<int>& skip = {});

// One field made fit for a vocabulary file: line breaks and other control characters become
// blanks, characters outside Windows-1252 their closest Windows-1252 character (or "?"),
// blanks at both ends go, and a text longer than the width is cut.
struct FittedText {
    QString text;
    bool cut = false;
    bool replaced = false;
};
FittedText FitForField(const QString& text, int width = kFieldWidth);

// The closest Windows-1252 text for one character Windows-1252 lacks: the letter without
// its accent ("ć" -> "c"), a plain dash or quote for typographic ones, else "?".
QString ClosestAnsi(char32_t c);

// Called now and then during long work with the share done, 0 to 1000.
using ExchangeProgress = std::function<void(int permille)>;
