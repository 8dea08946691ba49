// Writes the sample vocabulary file that the program opens out of the box:
//   make_example <target.vok>
// The file is written beside the target under a temporary name, read back and checked,
// and only then moved over the target in one step.

#include "vocab/VocabularyFile.h"

#include <QString>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

struct Word {
    const char16_t* german;
    const char16_t* english;
    const char16_t* synonyms;
    const char16_t* remark;
};

struct Lesson {
    const char16_t* name;
    std::vector<Word> words;
};

const std::vector<Lesson> kLessons = {
    {u"Familie und Freunde",
     {
         {u"die Mutter", u"mother", u"mum", u""},
         {u"der Vater", u"father", u"dad", u""},
         {u"die Eltern", u"parents", u"", u"nur Plural"},
         {u"der Bruder", u"brother", u"", u""},
         {u"die Schwester", u"sister", u"", u""},
         {u"der Sohn", u"son", u"", u""},
         {u"die Tochter", u"daughter", u"", u""},
         {u"die Großmutter", u"grandmother", u"grandma, granny", u""},
         {u"der Großvater", u"grandfather", u"grandpa", u""},
         {u"der Onkel", u"uncle", u"", u""},
         {u"die Tante", u"aunt", u"", u""},
         {u"der Freund", u"friend", u"mate", u"mate ist umgangssprachlich (britisch)"},
         {u"der Nachbar", u"neighbour", u"", u"amerikanisch: neighbor"},
         {u"heiraten", u"to marry", u"to get married", u""},
         {u"das Kind", u"child", u"kid", u"Plural: children"},
         {u"die Hochzeit", u"wedding", u"", u""},
     }},
    {u"Essen und Trinken",
     {
         {u"das Brot", u"bread", u"", u""},
         {u"die Butter", u"butter", u"", u""},
         {u"der Käse", u"cheese", u"", u""},
         {u"das Ei", u"egg", u"", u""},
         {u"der Apfel", u"apple", u"", u""},
         {u"die Kartoffel", u"potato", u"", u"Plural: potatoes"},
         {u"das Fleisch", u"meat", u"", u""},
         {u"der Fisch", u"fish", u"", u"Plural meist ebenfalls fish"},
         {u"das Gemüse", u"vegetables", u"veg", u"im Englischen meist Plural"},
         {u"das Wasser", u"water", u"", u""},
         {u"der Saft", u"juice", u"", u""},
         {u"die Milch", u"milk", u"", u""},
         {u"essen", u"to eat", u"", u"unregelmäßig: ate, eaten"},
         {u"trinken", u"to drink", u"", u"unregelmäßig: drank, drunk"},
         {u"hungrig", u"hungry", u"", u""},
         {u"das Frühstück", u"breakfast", u"", u""},
     }},
    {u"Haus und Wohnung",
     {
         {u"das Haus", u"house", u"home", u"home: das Zuhause"},
         {u"die Wohnung", u"flat", u"apartment", u"amerikanisch: apartment"},
         {u"das Zimmer", u"room", u"", u""},
         {u"die Küche", u"kitchen", u"", u""},
         {u"das Schlafzimmer", u"bedroom", u"", u""},
         {u"das Badezimmer", u"bathroom", u"", u""},
         {u"der Tisch", u"table", u"", u""},
         {u"der Stuhl", u"chair", u"", u""},
         {u"das Bett", u"bed", u"", u""},
         {u"das Fenster", u"window", u"", u""},
         {u"die Tür", u"door", u"", u""},
         {u"die Treppe", u"stairs", u"staircase", u""},
         {u"der Garten", u"garden", u"", u"amerikanisch: yard"},
         {u"der Schlüssel", u"key", u"", u""},
         {u"die Miete", u"rent", u"", u""},
         {u"aufräumen", u"to tidy up", u"to clean up", u""},
     }},
    {u"Körper und Gesundheit",
     {
         {u"der Kopf", u"head", u"", u""},
         {u"das Auge", u"eye", u"", u""},
         {u"das Ohr", u"ear", u"", u""},
         {u"die Nase", u"nose", u"", u""},
         {u"der Mund", u"mouth", u"", u""},
         {u"der Zahn", u"tooth", u"", u"Plural: teeth"},
         {u"die Hand", u"hand", u"", u""},
         {u"der Fuß", u"foot", u"", u"Plural: feet"},
         {u"das Bein", u"leg", u"", u""},
         {u"der Arm", u"arm", u"", u""},
         {u"krank", u"ill", u"sick", u"amerikanisch meist: sick"},
         {u"gesund", u"healthy", u"well", u""},
         {u"der Arzt", u"doctor", u"physician", u""},
         {u"die Kopfschmerzen", u"headache", u"", u"im Englischen Singular"},
         {u"das Fieber", u"fever", u"temperature", u""},
         {u"sich erkälten", u"to catch a cold", u"", u""},
     }},
    {u"Kleidung",
     {
         {u"die Kleidung", u"clothes", u"clothing", u""},
         {u"das Hemd", u"shirt", u"", u""},
         {u"die Hose", u"trousers", u"", u"amerikanisch: pants"},
         {u"der Rock", u"skirt", u"", u""},
         {u"das Kleid", u"dress", u"", u""},
         {u"die Jacke", u"jacket", u"", u""},
         {u"der Mantel", u"coat", u"", u""},
         {u"der Pullover", u"jumper", u"sweater, pullover", u""},
         {u"der Schuh", u"shoe", u"", u""},
         {u"die Socke", u"sock", u"", u""},
         {u"der Hut", u"hat", u"", u""},
         {u"die Mütze", u"cap", u"woolly hat", u""},
         {u"der Handschuh", u"glove", u"", u""},
         {u"anziehen", u"to put on", u"to get dressed", u"to get dressed: sich anziehen"},
         {u"ausziehen", u"to take off", u"to get undressed", u""},
         {u"tragen", u"to wear", u"", u"unregelmäßig: wore, worn"},
     }},
    {u"Schule und Arbeit",
     {
         {u"die Schule", u"school", u"", u""},
         {u"der Lehrer", u"teacher", u"", u""},
         {u"der Schüler", u"pupil", u"student", u"amerikanisch: student"},
         {u"das Heft", u"exercise book", u"notebook", u""},
         {u"das Wörterbuch", u"dictionary", u"", u""},
         {u"die Hausaufgaben", u"homework", u"", u"kein Plural im Englischen"},
         {u"die Prüfung", u"exam", u"examination, test", u""},
         {u"lernen", u"to learn", u"to study", u""},
         {u"die Arbeit", u"work", u"", u""},
         {u"der Beruf", u"job", u"occupation, profession", u""},
         {u"das Büro", u"office", u"", u""},
         {u"der Chef", u"boss", u"manager", u""},
         {u"verdienen", u"to earn", u"", u""},
         {u"das Geld", u"money", u"", u"kein Plural"},
         {u"die Besprechung", u"meeting", u"", u""},
         {u"pünktlich", u"on time", u"punctual", u""},
     }},
    {u"Reisen und Verkehr",
     {
         {u"die Reise", u"journey", u"trip", u"trip: eher kurze Reise"},
         {u"der Bahnhof", u"station", u"railway station", u""},
         {u"der Zug", u"train", u"", u""},
         {u"der Flughafen", u"airport", u"", u""},
         {u"das Flugzeug", u"plane", u"aeroplane", u"amerikanisch: airplane"},
         {u"die Fahrkarte", u"ticket", u"", u""},
         {u"der Koffer", u"suitcase", u"", u""},
         {u"das Auto", u"car", u"", u""},
         {u"das Fahrrad", u"bicycle", u"bike", u""},
         {u"die Straße", u"street", u"road", u""},
         {u"links", u"left", u"", u""},
         {u"rechts", u"right", u"", u""},
         {u"geradeaus", u"straight on", u"straight ahead", u""},
         {u"ankommen", u"to arrive", u"", u""},
         {u"abfahren", u"to leave", u"to depart", u"unregelmäßig: left, left"},
         {u"das Gepäck", u"luggage", u"", u"amerikanisch: baggage"},
     }},
    {u"Zeit und Wetter",
     {
         {u"der Tag", u"day", u"", u""},
         {u"die Woche", u"week", u"", u""},
         {u"der Monat", u"month", u"", u""},
         {u"das Jahr", u"year", u"", u""},
         {u"heute", u"today", u"", u""},
         {u"morgen", u"tomorrow", u"", u"der Morgen: morning"},
         {u"gestern", u"yesterday", u"", u""},
         {u"die Uhr", u"clock", u"watch", u"Armbanduhr: watch"},
         {u"das Wetter", u"weather", u"", u""},
         {u"die Sonne", u"sun", u"", u""},
         {u"der Regen", u"rain", u"", u""},
         {u"der Schnee", u"snow", u"", u""},
         {u"der Wind", u"wind", u"", u""},
         {u"warm", u"warm", u"", u""},
         {u"kalt", u"cold", u"", u""},
         {u"das Gewitter", u"thunderstorm", u"storm", u""},
     }},
};

const VocabularyHeader kHeader = {
    QStringLiteral("Englisch-Grundwortschatz"),
    QStringLiteral("Henrike Wallmann"),
    QStringLiteral("Beispieldatei: 128 Wörter des Alltags in 8 Lektionen, Deutsch - Englisch. "
                   "Britisches Englisch; amerikanische Formen stehen in der Bemerkung."),
};

int Fail(const char* what, const QString& path)
{
    std::fprintf(stderr, "make_example: %s: %s\n", what, path.toLocal8Bit().constData());
    return 1;
}

// A text longer than its field would be cut without notice: refuse it here instead.
bool FitsFields(const VocabularyEntry& entry)
{
    for (int k = 0; k < kEntryFields; ++k)
        if (entry.field(k).size() > kFieldWidth)
            return false;
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: make_example <Zieldatei.vok>\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const QString temporary = target + QStringLiteral(".tmp");

    QList<VocabularyEntry> entries;
    for (const Lesson& lesson : kLessons)
        for (const Word& word : lesson.words)
            entries << VocabularyEntry{QString::fromUtf16(lesson.name),
                                       QString::fromUtf16(word.german),
                                       QString::fromUtf16(word.english),
                                       QString::fromUtf16(word.synonyms),
                                       QString::fromUtf16(word.remark)};

    {
        VocabularyFile file;
        if (!file.create(temporary))
            return Fail("kann nicht angelegt werden", temporary);
        if (!file.writeHeader(kHeader))
            return Fail("Kopf nicht schreibbar", temporary);
        for (int i = 1; i <= entries.size(); ++i) {
            const VocabularyEntry& entry = entries[i - 1];
            if (!FitsFields(entry))
                return Fail("Text zu lang", entry.german);
            if (!file.writeEntry(i, entry))
                return Fail("Eintrag nicht schreibbar", entry.german);
        }
        // Read everything back before the file replaces the old one.
        if (file.readHeader() != kHeader)
            return Fail("Kopf falsch gelesen", temporary);
        for (int i = 1; i <= entries.size(); ++i)
            if (file.readEntry(i) != entries[i - 1])
                return Fail("Eintrag falsch gelesen", entries[i - 1].german);
    }
    const FileCheckResult check = CheckVocabularyFile(temporary, true);
    if (check.status != FileCheck::Valid || check.entryCount != entries.size())
        return Fail("Größe stimmt nicht", temporary);

    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error)
        return Fail("kann nicht ersetzt werden", target);
    std::printf("%d Einträge in %d Lektionen geschrieben: %s\n", check.entryCount,
                static_cast<int>(kLessons.size()), target.toLocal8Bit().constData());
    return 0;
}
