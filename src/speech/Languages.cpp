#include "Languages.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace {

struct Language {
    const char* code;
    const char* german;  // the German name, also the first name a text may use
    const char* others;  // further names, blank-separated, in any spelling
};

// German name first; English and native names after it. Names shorter than four letters
// would match too many ordinary words and are left out.
constexpr std::array kLanguages{
    Language{"de", "Deutsch", "german"},
    Language{"en", "Englisch", "english"},
    Language{"fr", "Französisch", "french français"},
    Language{"es", "Spanisch", "spanish español castellano"},
    Language{"it", "Italienisch", "italian italiano"},
    Language{"pt", "Portugiesisch", "portuguese português"},
    Language{"nl", "Niederländisch", "holländisch dutch nederlands"},
    Language{"sv", "Schwedisch", "swedish svenska"},
    Language{"nb", "Norwegisch", "norwegian norsk"},
    Language{"da", "Dänisch", "danish dansk"},
    Language{"is", "Isländisch", "icelandic"},
    Language{"fi", "Finnisch", "finnish suomi"},
    Language{"et", "Estnisch", "estonian eesti"},
    Language{"lv", "Lettisch", "latvian"},
    Language{"lt", "Litauisch", "lithuanian"},
    Language{"pl", "Polnisch", "polish polski"},
    Language{"cs", "Tschechisch", "czech čeština"},
    Language{"sk", "Slowakisch", "slovak slovenčina"},
    Language{"sl", "Slowenisch", "slovenian slovene"},
    Language{"hr", "Kroatisch", "croatian hrvatski"},
    Language{"sr", "Serbisch", "serbian"},
    Language{"bs", "Bosnisch", "bosnian"},
    Language{"mk", "Mazedonisch", "makedonisch macedonian"},
    Language{"bg", "Bulgarisch", "bulgarian"},
    Language{"ro", "Rumänisch", "romanian română"},
    Language{"hu", "Ungarisch", "hungarian magyar"},
    Language{"sq", "Albanisch", "albanian shqip"},
    Language{"ru", "Russisch", "russian"},
    Language{"uk", "Ukrainisch", "ukrainian"},
    Language{"be", "Weißrussisch", "belarussisch belarusian"},
    Language{"grc", "Altgriechisch", "ancient"},
    Language{"el", "Griechisch", "greek"},
    Language{"la", "Latein", "lateinisch latin"},
    Language{"tr", "Türkisch", "turkish türkçe"},
    Language{"ar", "Arabisch", "arabic"},
    Language{"he", "Hebräisch", "hebrew ivrit"},
    Language{"fa", "Persisch", "farsi persian"},
    Language{"hi", "Hindi", ""},
    Language{"ja", "Japanisch", "japanese nihongo"},
    Language{"cmn", "Chinesisch", "mandarin chinese"},
    Language{"yue", "Kantonesisch", "cantonese"},
    Language{"ko", "Koreanisch", "korean"},
    Language{"vi", "Vietnamesisch", "vietnamese"},
    Language{"th", "Thailändisch", "thai"},
    Language{"id", "Indonesisch", "indonesian"},
    Language{"sw", "Suaheli", "swahili kiswahili"},
    Language{"af", "Afrikaans", ""},
    Language{"ca", "Katalanisch", "catalan català"},
    Language{"eu", "Baskisch", "basque euskara"},
    Language{"ga", "Irisch", "irish gaeilge"},
    Language{"cy", "Walisisch", "welsh cymraeg"},
    Language{"lb", "Luxemburgisch", "luxembourgish"},
    Language{"gd", "Schottisch-Gälisch", "gaelic"},
    Language{"mt", "Maltesisch", "maltese"},
    Language{"ms", "Malaiisch", "malay melayu"},
    Language{"ka", "Georgisch", "georgian"},
    Language{"hy", "Armenisch", "armenian"},
    Language{"hyw", "Westarmenisch", ""},
    Language{"az", "Aserbaidschanisch", "azerbaijani"},
    Language{"kk", "Kasachisch", "kazakh"},
    Language{"ky", "Kirgisisch", "kyrgyz"},
    Language{"uz", "Usbekisch", "uzbek"},
    Language{"tk", "Turkmenisch", "turkmen"},
    Language{"tt", "Tatarisch", "tatar"},
    Language{"ba", "Baschkirisch", "bashkir"},
    Language{"cv", "Tschuwaschisch", "chuvash"},
    Language{"ku", "Kurdisch", "kurdish"},
    Language{"ug", "Uigurisch", "uyghur"},
    Language{"ur", "Urdu", ""},
    Language{"bn", "Bengalisch", "bengali bangla"},
    Language{"ne", "Nepalesisch", "nepali"},
    Language{"mr", "Marathi", ""},
    Language{"pa", "Panjabi", "punjabi"},
    Language{"gu", "Gujarati", ""},
    Language{"sd", "Sindhi", ""},
    Language{"as", "Assamesisch", "assamese"},
    Language{"or", "Oriya", ""},
    Language{"kok", "Konkani", ""},
    Language{"ta", "Tamil", ""},
    Language{"te", "Telugu", ""},
    Language{"kn", "Kannada", ""},
    Language{"ml", "Malayalam", ""},
    Language{"si", "Singhalesisch", "sinhala"},
    Language{"my", "Birmanisch", "burmese"},
    Language{"am", "Amharisch", "amharic"},
    Language{"om", "Oromo", ""},
    Language{"tn", "Tswana", "setswana"},
    Language{"mi", "Maori", ""},
    Language{"haw", "Hawaiisch", "hawaiian"},
    Language{"kl", "Grönländisch", "greenlandic"},
    Language{"ht", "Haitianisch", "haitian"},
    Language{"qu", "Quechua", ""},
    Language{"gn", "Guaraní", ""},
    Language{"an", "Aragonesisch", "aragonese"},
    Language{"chr", "Cherokee", ""},
    Language{"eo", "Esperanto", ""},
};

// One spelling for the ways a name is typed: lower case, no accents, and "ä", "ae" and
// "a" alike (file names often avoid umlauts).
QString Folded(const QString& text)
{
    QString folded;
    for (const QChar c : text.toLower().normalized(QString::NormalizationForm_D)) {
        if (c == QChar(0x00DF))
            folded += QLatin1String("ss");
        else if (!c.isMark())
            folded += c;
    }
    static const QRegularExpression umlaut(QStringLiteral("([aou])e"));
    return folded.replace(umlaut, QStringLiteral("\\1"));
}

QString GuessFrom(const QString& text)
{
    struct Name {
        QString folded;
        const char* code;
    };
    static const QList<Name> names = [] {
        QList<Name> list;
        for (const Language& language : kLanguages) {
            if (QLatin1String(language.code) == QLatin1String("de"))
                continue;
            const QString all = QString::fromUtf8(language.german) + QLatin1Char(' ') +
                                QString::fromUtf8(language.others);
            for (const QString& name : all.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                list.append({Folded(name), language.code});
        }
        return list;
    }();
    static const QRegularExpression notLetters(QStringLiteral("[^\\p{L}]+"));
    // Word by word, so the first language named wins; a word may be a compound that
    // begins with the name.
    for (const QString& word : Folded(text).split(notLetters, Qt::SkipEmptyParts)) {
        for (const Name& name : names) {
            if (word.startsWith(name.folded))
                return QLatin1String(name.code);
        }
    }
    return {};
}

}  // namespace

QString GuessLanguage(const QString& fileName, const QString& title)
{
    // Only the file's own name: folders are often named after something else.
    const QString fromName = GuessFrom(QFileInfo(fileName).completeBaseName());
    return fromName.isEmpty() ? GuessFrom(title) : fromName;
}

QString GermanLanguageName(const QString& language)
{
    for (const Language& entry : kLanguages) {
        if (language == QLatin1String(entry.code))
            return QString::fromUtf8(entry.german);
    }
    return {};
}
