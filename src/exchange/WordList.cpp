#include "WordList.h"

#include "app/AnsiText.h"
#include "app/FileNames.h"

#include <QHash>
#include <QStringView>

#include <algorithm>

QString FormatName(ListFormat format)
{
    switch (format) {
        case ListFormat::Csv: return QStringLiteral("CSV");
        case ListFormat::AnkiText: return QStringLiteral("Anki-Text");
        case ListFormat::Kvtml: return QStringLiteral("KVTML");
    }
    return QString();
}

QString EncodingName(TextEncoding encoding)
{
    switch (encoding) {
        case TextEncoding::Utf8: return QStringLiteral("UTF-8");
        case TextEncoding::Windows1252: return QStringLiteral("Windows-1252 (ANSI)");
        case TextEncoding::Utf16: return QStringLiteral("UTF-16");
    }
    return QString();
}

std::optional<ListFormat> FormatForExtension(const QString& path)
{
    const QString name = FileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return std::nullopt;
    const QString extension = name.mid(dot + 1).toLower();
    if (extension == QLatin1String("csv"))
        return ListFormat::Csv;
    if (extension == QLatin1String("txt") || extension == QLatin1String("tsv"))
        return ListFormat::AnkiText;
    if (extension == QLatin1String("kvtml") || extension == QLatin1String("xml"))
        return ListFormat::Kvtml;
    return std::nullopt;
}

QStringList FieldColumnNames()
{
    return {QStringLiteral("Lektion"), QStringLiteral("Deutsch"), QStringLiteral("Fremdsprache"),
            QStringLiteral("Synonyme"), QStringLiteral("Bemerkung")};
}

std::optional<int> FieldForColumnName(const QString& name)
{
    static const QHash<QString, int> names = [] {
        QHash<QString, int> table;
        const auto add = [&](int field, std::initializer_list<const char*> list) {
            for (const char* n : list)
                table.insert(QString::fromUtf8(n), field);
        };
        add(kLessonField, {"lektion", "lesson", "lektionen", "lessons", "kapitel", "chapter",
                           "unit", "deck", "stapel", "thema", "topic"});
        add(kGermanField, {"deutsch", "german", "deutscher begriff", "deutsches wort",
                           "deutsche vokabel", "front", "vorderseite"});
        add(kForeignField, {"fremdsprache",
                            "foreign",
                            "foreign language",
                            "fremdsprachiger begriff",
                            "fremdsprachige vokabel",
                            "fremdwort",
                            "übersetzung",
                            "translation",
                            "englisch",
                            "english",
                            "französisch",
                            "french",
                            "spanisch",
                            "spanish",
                            "italienisch",
                            "italian",
                            "latein",
                            "latin",
                            "russisch",
                            "russian",
                            "niederländisch",
                            "dutch",
                            "portugiesisch",
                            "portuguese",
                            "polnisch",
                            "polish",
                            "türkisch",
                            "turkish",
                            "griechisch",
                            "greek",
                            "schwedisch",
                            "swedish",
                            "back",
                            "rückseite"});
        add(kSynonymsField, {"synonyme", "synonym", "synonym(e)", "synonyms"});
        add(kRemarkField, {"bemerkung", "bemerkungen", "remark", "remarks", "notes", "note",
                           "notiz", "notizen", "kommentar", "comment", "anmerkung"});
        return table;
    }();
    QString key = name.trimmed().toLower();
    key.remove(QLatin1Char('&'));
    if (key.endsWith(QLatin1Char(':')))
        key.chop(1);
    const auto it = names.constFind(key.trimmed());
    if (it == names.constEnd())
        return std::nullopt;
    return it.value();
}

bool LooksLikeColumnNames(const QStringList& cells)
{
    QList<int> fields;
    for (const QString& cell : cells)
        if (const auto field = FieldForColumnName(cell); field && !fields.contains(*field))
            fields.append(*field);
    return fields.size() >= 2;
}

ColumnMapping SuggestMapping(const QStringList& names, int columns, const QList<int>& skip)
{
    ColumnMapping mapping;
    QList<int> usable;
    for (int c = 0; c < columns; ++c)
        if (!skip.contains(c))
            usable.append(c);
    bool named = false;
    for (int c : usable) {
        if (c >= names.size())
            break;
        const auto field = FieldForColumnName(names[c]);
        if (field && mapping.column[*field] < 0) {
            mapping.column[*field] = c;
            named = true;
        }
    }
    if (!named) {
        const int first = usable.size() >= kEntryFields ? kLessonField : kGermanField;
        for (int k = 0; first + k < kEntryFields && k < usable.size(); ++k)
            mapping.column[first + k] = usable[k];
        return mapping;
    }
    // The two required fields fall back to the first columns no field took.
    for (int field : {int(kGermanField), int(kForeignField)}) {
        if (mapping.column[field] >= 0)
            continue;
        for (int c : usable) {
            if (std::find(mapping.column.begin(), mapping.column.end(), c) ==
                mapping.column.end()) {
                mapping.column[field] = c;
                break;
            }
        }
    }
    return mapping;
}

QString ClosestAnsi(char32_t c)
{
    // Letters and signs without a decomposition into Windows-1252 characters.
    static const QHash<char32_t, const char*> table = {
        {U'ł', "l"},  {U'Ł', "L"},  {U'đ', "d"},  {U'Đ', "D"},  {U'ı', "i"},  {U'ħ', "h"},
        {U'Ħ', "H"},  {U'ŧ', "t"},  {U'Ŧ', "T"},  {U'ŋ', "n"},  {U'Ŋ', "N"},  {U'ĸ', "k"},
        {U'ǝ', "e"},  {U'ə', "e"},  {U'Ə', "E"},  {U'ɛ', "e"},  {U'ɔ', "o"},  {U'ʃ', "s"},
        {U'‐', "-"},  {U'‑', "-"},  {U'‒', "-"},  {U'―', "-"},  {U'−', "-"},  {U'′', "'"},
        {U'″', "\""}, {U'‛', "'"},  {U'‟', "\""}, {U'⁄', "/"},  {U'∙', "·"},  {U'⋅', "·"},
        {U'×', "x"},  {U'≤', "<="}, {U'≥', ">="}, {U'≠', "!="}, {U'→', "->"}, {U'←', "<-"},
        {U'✓', "v"}};
    if (const auto it = table.constFind(c); it != table.constEnd())
        return QString::fromUtf8(it.value());
    // A decomposition whose base characters Windows-1252 holds: accents and other
    // combining marks are dropped, ligatures and wide forms spelt out.
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString closest;
    for (QChar ch : decomposed) {
        const char16_t u = ch.unicode();
        if (u >= 0x0300 && u <= 0x036F)
            continue;
        if (!IsAnsiChar(ch) || u < 0x20)
            return QStringLiteral("?");
        closest += ch;
    }
    if (closest.isEmpty() || closest == QString::fromUcs4(&c, 1))
        return QStringLiteral("?");
    return closest;
}

FittedText FitForField(const QString& text, int width)
{
    FittedText fitted;
    QString& out = fitted.text;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        const char16_t u = ch.unicode();
        if (u < 0x20) {
            // A field is one line; a NUL would end it early.
            out += QLatin1Char(' ');
            fitted.replaced = true;
        } else if (IsAnsiChar(ch)) {
            out += ch;
        } else {
            char32_t c = u;
            if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate())
                c = QChar::surrogateToUcs4(ch, text.at(++i));
            out += ClosestAnsi(c);
            fitted.replaced = true;
        }
    }
    out = TrimBlanks(out);
    if (out.size() > width) {
        out = TrimBlanks(out.left(width));
        fitted.cut = true;
    }
    return fitted;
}
