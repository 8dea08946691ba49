#include "KvtmlFile.h"

#include <QIODevice>

#include <algorithm>

namespace {

const QString kNotKvtml = QStringLiteral("Die Datei ist keine KVTML-2.0-Datei.");
const QString kEntities = QStringLiteral(
    "Die KVTML-Datei enthält Entity-Deklarationen oder -Verweise. Solche Dateien werden aus "
    "Sicherheitsgründen nicht gelesen.");
const QString kTooDeep = QStringLiteral("Die KVTML-Datei ist zu tief verschachtelt.");

bool Is(const QXmlStreamReader& xml, const char* name)
{
    return xml.name() == QLatin1String(name);
}

// Characters XML 1.0 cannot hold become the replacement character, so that the file stays
// readable; tab, line feed and carriage return are fine.
QString XmlSafe(const QString& text)
{
    QString safe = text;
    for (QChar& c : safe) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
            c = QChar::ReplacementCharacter;
    }
    return safe;
}

}  // namespace

KvtmlReader::KvtmlReader(QIODevice& device) : device_(device) {}

KvtmlReader::~KvtmlReader() = default;

bool KvtmlReader::fail(const QString& message)
{
    if (error_.isEmpty())
        error_ = message;
    return false;
}

bool KvtmlReader::failXml(QXmlStreamReader& xml)
{
    return fail(QStringLiteral("Die KVTML-Datei ist fehlerhaft (Zeile %1, Spalte %2).")
                    .arg(xml.lineNumber())
                    .arg(xml.columnNumber()));
}

bool KvtmlReader::advance(QXmlStreamReader& xml, int& depth)
{
    if (!error_.isEmpty() || xml.atEnd())
        return false;
    switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            // The public identifier KDE writes is fine; declarations of our own are not.
            if (!xml.entityDeclarations().isEmpty() || !xml.notationDeclarations().isEmpty())
                return fail(kEntities);
            break;
        case QXmlStreamReader::EntityReference: return fail(kEntities);
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxDepth)
                return fail(kTooDeep);
            break;
        case QXmlStreamReader::EndElement: --depth; break;
        case QXmlStreamReader::Invalid: return failXml(xml);
        default: break;
    }
    return true;
}

bool KvtmlReader::readText(QXmlStreamReader& xml, int& depth, QString& text)
{
    text.clear();
    const int level = depth;
    while (advance(xml, depth)) {
        if (xml.isCharacters() && text.size() < kMaxText)
            text += xml.text().left(kMaxText - text.size());
        else if (xml.isEndElement() && depth < level)
            return true;
    }
    return error_.isEmpty() ? failXml(xml) : false;
}

bool KvtmlReader::start(const ExchangeProgress& progress)
{
    if (device_.isSequential())
        return fail(kNotKvtml);
    start_ = device_.pos();
    {
        QXmlStreamReader xml(&device_);
        if (!readOutline(xml, progress))
            return false;
    }
    std::stable_sort(lessonOfEntry_.begin(), lessonOfEntry_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // An entry in two lessons stays in the first.
    lessonOfEntry_.erase(
        std::unique(lessonOfEntry_.begin(), lessonOfEntry_.end(),
                    [](const auto& a, const auto& b) { return a.first == b.first; }),
        lessonOfEntry_.end());
    if (identifiers_.isEmpty())
        identifiers_ = {{QStringLiteral("0"), QString(), QString()},
                        {QStringLiteral("1"), QString(), QString()}};
    if (!device_.seek(start_))
        return fail(kNotKvtml);
    entries_ = std::make_unique<QXmlStreamReader>(&device_);
    depth_ = 0;
    return true;
}

bool KvtmlReader::readOutline(QXmlStreamReader& xml, const ExchangeProgress& progress)
{
    int depth = 0;
    QString section;         // the child of <kvtml> being read
    QStringList containers;  // names of the open lesson containers
    QHash<QString, int> lessonIndex;
    qint64 tokens = 0;
    bool root = false;
    while (advance(xml, depth)) {
        if (progress && ++tokens % 4096 == 0 && device_.size() > 0)
            progress(int(std::min<qint64>(500, (device_.pos() - start_) * 500 / device_.size())));
        if (xml.isEndElement()) {
            if (section == QLatin1String("lessons") && Is(xml, "container") &&
                !containers.isEmpty())
                containers.removeLast();
            if (depth < 2)
                section.clear();
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (depth == 1) {
            if (!Is(xml, "kvtml") ||
                !xml.attributes().value(QLatin1String("version")).startsWith(QLatin1Char('2')))
                return fail(kNotKvtml);
            root = true;
        } else if (depth == 2) {
            section = xml.name().toString();
            if (section == QLatin1String("entries")) {
                // Read in the second pass.
                xml.skipCurrentElement();
                --depth;
                section.clear();
            }
        } else if (section == QLatin1String("information") && depth == 3) {
            QString* field = Is(xml, "title")     ? &header_.title
                             : Is(xml, "author")  ? &header_.author
                             : Is(xml, "comment") ? &header_.remarks
                                                  : nullptr;
            if (field && !readText(xml, depth, *field))
                return false;
        } else if (section == QLatin1String("identifiers")) {
            if (depth == 3 && Is(xml, "identifier")) {
                if (identifiers_.size() < kMaxIdentifiers)
                    identifiers_.append(
                        {xml.attributes().value(QLatin1String("id")).toString(), {}, {}});
                else
                    xml.skipCurrentElement(), --depth;
            } else if (depth == 4 && !identifiers_.isEmpty() &&
                       (Is(xml, "name") || Is(xml, "locale"))) {
                KvtmlIdentifier& identifier = identifiers_.last();
                if (!readText(xml, depth, Is(xml, "name") ? identifier.name : identifier.locale))
                    return false;
            }
        } else if (section == QLatin1String("lessons")) {
            if (Is(xml, "container")) {
                containers.append(QString());
            } else if (Is(xml, "name") && !containers.isEmpty() && containers.last().isEmpty()) {
                QString name;
                if (!readText(xml, depth, name))
                    return false;
                containers.last() = name;
            } else if (Is(xml, "entry") && !containers.isEmpty()) {
                bool ok = false;
                const qint64 id = xml.attributes().value(QLatin1String("id")).toLongLong(&ok);
                QStringList names = containers;
                names.removeAll(QString());
                if (ok && !names.isEmpty()) {
                    const QString lesson = names.join(QStringLiteral(" / "));
                    auto it = lessonIndex.constFind(lesson);
                    if (it == lessonIndex.constEnd()) {
                        it = lessonIndex.insert(lesson, int(lessons_.size()));
                        lessons_.append(lesson);
                    }
                    lessonOfEntry_.emplace_back(id, it.value());
                }
            }
        }
    }
    if (!error_.isEmpty())
        return false;
    if (xml.hasError())
        return failXml(xml);
    return root ? true : fail(kNotKvtml);
}

QString KvtmlReader::lessonOf(qint64 entryId) const
{
    const auto it =
        std::lower_bound(lessonOfEntry_.begin(), lessonOfEntry_.end(), entryId,
                         [](const std::pair<qint64, int>& a, qint64 id) { return a.first < id; });
    if (it == lessonOfEntry_.end() || it->first != entryId)
        return QString();
    return lessons_.at(it->second);
}

int KvtmlReader::germanIdentifier() const
{
    for (qsizetype i = 0; i < identifiers_.size(); ++i)
        if (identifiers_[i].locale.startsWith(QLatin1String("de"), Qt::CaseInsensitive) ||
            FieldForColumnName(identifiers_[i].name) == kGermanField)
            return int(i);
    return 0;
}

QStringList KvtmlReader::columnNames() const
{
    QStringList names{QStringLiteral("Lektion")};
    for (qsizetype i = 0; i < identifiers_.size(); ++i) {
        const KvtmlIdentifier& identifier = identifiers_[i];
        names.append(!identifier.name.trimmed().isEmpty() ? identifier.name.trimmed()
                     : !identifier.locale.trimmed().isEmpty()
                         ? identifier.locale.trimmed()
                         : QStringLiteral("Sprache %1").arg(i + 1));
    }
    names << QStringLiteral("Synonyme") << QStringLiteral("Bemerkung");
    return names;
}

ColumnMapping KvtmlReader::suggestedMapping() const
{
    ColumnMapping mapping;
    const int languages = int(identifiers_.size());
    const int german = germanIdentifier();
    mapping.column[kLessonField] = 0;
    mapping.column[kGermanField] = 1 + german;
    if (languages > 1)
        mapping.column[kForeignField] = 1 + (german == 0 ? 1 : 0);
    mapping.column[kSynonymsField] = 1 + languages;
    mapping.column[kRemarkField] = 2 + languages;
    return mapping;
}

int KvtmlReader::permille() const
{
    const qint64 size = device_.size() - start_;
    if (size <= 0)
        return 0;
    return int(std::clamp<qint64>(500 + (device_.pos() - start_) * 500 / size, 0, 1000));
}

bool KvtmlReader::next(QStringList& row)
{
    if (!entries_)
        return false;
    QXmlStreamReader& xml = *entries_;
    const int languages = int(identifiers_.size());
    const int german = germanIdentifier();
    while (advance(xml, depth_)) {
        if (!xml.isStartElement())
            continue;
        if (depth_ == 2 && !Is(xml, "entries")) {
            xml.skipCurrentElement();
            --depth_;
            continue;
        }
        if (depth_ != 3 || !Is(xml, "entry"))
            continue;
        row = QStringList(languages + 3, QString());
        bool ok = false;
        const qint64 id = xml.attributes().value(QLatin1String("id")).toLongLong(&ok);
        if (ok)
            row[0] = lessonOf(id);
        QStringList remarks;
        QStringList synonyms;
        int language = -1;
        QString comment;
        while (advance(xml, depth_) && depth_ >= 3) {
            if (!xml.isStartElement())
                continue;
            if (depth_ == 4) {
                language = -1;
                const auto id = xml.attributes().value(QLatin1String("id"));
                for (int i = 0; i < languages && Is(xml, "translation"); ++i)
                    if (identifiers_[i].id == id)
                        language = i;
                if (language < 0) {
                    xml.skipCurrentElement();
                    --depth_;
                }
            } else if (depth_ == 5 && Is(xml, "text")) {
                if (!readText(xml, depth_, row[1 + language]))
                    return false;
            } else if (depth_ == 5 && Is(xml, "comment")) {
                if (!readText(xml, depth_, comment))
                    return false;
                if (language != german && comment.startsWith(kSynonymsPrefix))
                    synonyms.append(comment.mid(kSynonymsPrefix.size()));
                else if (!comment.isEmpty())
                    remarks.append(comment);
            }
        }
        if (!error_.isEmpty())
            return false;
        if (xml.hasError())
            return failXml(xml);
        row[1 + languages] = synonyms.join(QStringLiteral(", "));
        row[2 + languages] = remarks.join(QStringLiteral(" / "));
        return true;
    }
    if (error_.isEmpty() && xml.hasError())
        failXml(xml);
    return false;
}

KvtmlWriter::KvtmlWriter(QIODevice& device) : xml_(&device)
{
    xml_.setAutoFormatting(true);
    xml_.setAutoFormattingIndent(1);
}

void KvtmlWriter::text(const QString& element, const QString& value)
{
    xml_.writeTextElement(element, XmlSafe(value));
}

void KvtmlWriter::begin(const VocabularyHeader& header)
{
    xml_.writeStartDocument();
    xml_.writeDTD(QStringLiteral(
        "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml_.writeStartElement(QStringLiteral("kvtml"));
    xml_.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml_.writeStartElement(QStringLiteral("information"));
    text(QStringLiteral("generator"), QStringLiteral("Lernkompass"));
    text(QStringLiteral("title"), header.title);
    if (!header.author.isEmpty())
        text(QStringLiteral("author"), header.author);
    if (!header.remarks.isEmpty())
        text(QStringLiteral("comment"), header.remarks);
    xml_.writeEndElement();
    xml_.writeStartElement(QStringLiteral("identifiers"));
    const QStringList names = FieldColumnNames();
    for (int i = 0; i < 2; ++i) {
        xml_.writeStartElement(QStringLiteral("identifier"));
        xml_.writeAttribute(QStringLiteral("id"), QString::number(i));
        text(QStringLiteral("name"), names[kGermanField + i]);
        // The file does not say which language the foreign one is.
        if (i == 0)
            text(QStringLiteral("locale"), QStringLiteral("de"));
        xml_.writeEndElement();
    }
    xml_.writeEndElement();
    xml_.writeStartElement(QStringLiteral("entries"));
}

void KvtmlWriter::add(const VocabularyEntry& entry)
{
    const int id = count_++;
    xml_.writeStartElement(QStringLiteral("entry"));
    xml_.writeAttribute(QStringLiteral("id"), QString::number(id));
    for (int i = 0; i < 2; ++i) {
        xml_.writeStartElement(QStringLiteral("translation"));
        xml_.writeAttribute(QStringLiteral("id"), QString::number(i));
        text(QStringLiteral("text"), i == 0 ? entry.german : entry.foreign);
        if (i == 0 && !entry.remark.isEmpty())
            text(QStringLiteral("comment"), entry.remark);
        if (i == 1 && !entry.synonyms.isEmpty())
            text(QStringLiteral("comment"), kSynonymsPrefix + entry.synonyms);
        xml_.writeEndElement();
    }
    xml_.writeEndElement();
    if (entry.lesson.isEmpty())
        return;
    auto it = lessonIndex_.constFind(entry.lesson);
    if (it == lessonIndex_.constEnd()) {
        it = lessonIndex_.insert(entry.lesson, int(lessons_.size()));
        lessons_.append(entry.lesson);
        lessonEntries_.append(QList<int>());
    }
    lessonEntries_[it.value()].append(id);
}

bool KvtmlWriter::finish()
{
    xml_.writeEndElement();  // entries
    xml_.writeStartElement(QStringLiteral("lessons"));
    for (qsizetype l = 0; l < lessons_.size(); ++l) {
        xml_.writeStartElement(QStringLiteral("container"));
        text(QStringLiteral("name"), lessons_[l]);
        text(QStringLiteral("inpractice"), QStringLiteral("true"));
        for (int id : lessonEntries_[l]) {
            xml_.writeEmptyElement(QStringLiteral("entry"));
            xml_.writeAttribute(QStringLiteral("id"), QString::number(id));
        }
        xml_.writeEndElement();
    }
    xml_.writeEndElement();
    xml_.writeEndDocument();
    return !xml_.hasError();
}
