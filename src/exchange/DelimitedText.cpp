#include "DelimitedText.h"

#include <QHash>

#include <algorithm>
#include <map>

DelimitedParser::DelimitedParser(QIODevice& device, TextEncoding encoding, QChar separator)
    : input_(device, encoding), separator_(separator)
{
}

bool DelimitedParser::available()
{
    if (pos_ < text_.size())
        return true;
    pos_ = 0;
    return input_.read(text_);
}

bool DelimitedParser::takeSeparatorLine()
{
    if (!available())
        return false;
    const QStringView rest = QStringView(text_).sliced(pos_);
    if (rest.size() < 5 || !rest.startsWith(QLatin1String("sep="), Qt::CaseInsensitive))
        return false;
    const QChar separator = rest.at(4);
    if (separator == QLatin1Char('\r') || separator == QLatin1Char('\n'))
        return false;
    qsizetype end = 5;
    if (end < rest.size() && rest.at(end) == QLatin1Char('\r'))
        ++end;
    if (end < rest.size() && rest.at(end) == QLatin1Char('\n'))
        ++end;
    if (end == 5 && end < rest.size())
        return false;  // more text on the line: not Excel's line
    separator_ = separator;
    pos_ += end;
    return true;
}

DelimitedParser::Item DelimitedParser::next(QStringList& fields, QString& comment)
{
    fields.clear();
    comment.clear();
    if (!available())
        return input_.failed() ? Item::Failed : Item::End;

    const char16_t sep = separator_.unicode();
    if (comments_ && text_.at(pos_) == QLatin1Char('#')) {
        ++pos_;
        while (available()) {
            const QChar c = text_.at(pos_++);
            if (c == QLatin1Char('\n'))
                break;
            if (c == QLatin1Char('\r')) {
                if (available() && text_.at(pos_) == QLatin1Char('\n'))
                    ++pos_;
                break;
            }
            if (comment.size() < kMaxFieldLength)
                comment += c;
        }
        return input_.failed() ? Item::Failed : Item::Comment;
    }

    QString field;
    bool quoted = false;  // inside a quoted part
    bool fresh = true;    // nothing of the field read yet
    const auto append = [&](QChar c) {
        if (field.size() < kMaxFieldLength)
            field += c;
        fresh = false;
    };
    const auto finishField = [&] {
        if (fields.size() < kMaxFields)
            fields.append(field);
        field.clear();
        fresh = true;
    };
    while (available()) {
        // Runs of plain characters are taken at once.
        const QChar* data = text_.constData();
        const qsizetype size = text_.size();
        {
            qsizetype end = pos_;
            while (end < size) {
                const char16_t u = data[end].unicode();
                if (quoted ? u == u'"'
                           : u == sep || u == u'\r' || u == u'\n' ||
                                 (u == u'"' && fresh && end == pos_))
                    break;
                ++end;
            }
            if (end > pos_) {
                const qsizetype room = kMaxFieldLength - field.size();
                field.append(data + pos_, std::min(end - pos_, std::max<qsizetype>(room, 0)));
                fresh = false;
                pos_ = end;
                continue;
            }
        }
        const QChar c = data[pos_++];
        if (quoted) {
            if (c != QLatin1Char('"')) {
                append(c);
            } else if (available() && text_.at(pos_) == QLatin1Char('"')) {
                ++pos_;
                append(c);
            } else {
                quoted = false;
            }
        } else if (c.unicode() == sep) {
            finishField();
        } else if (c == QLatin1Char('\n')) {
            break;
        } else if (c == QLatin1Char('\r')) {
            if (available() && text_.at(pos_) == QLatin1Char('\n'))
                ++pos_;
            break;
        } else {
            // Only a quote at the start of a field gets here.
            quoted = true;
            fresh = false;
        }
    }
    if (input_.failed())
        return Item::Failed;
    finishField();
    return Item::Record;
}

QChar DetectSeparator(QStringView sample)
{
    constexpr int kRecords = 20;
    QChar best = QLatin1Char(';');
    int bestScore = 0;
    for (char16_t candidate : {u';', u'\t', u','}) {
        std::map<int, int> counts;  // fields per record -> records
        int count = 0;
        int records = 0;
        bool quoted = false;
        for (qsizetype i = 0; i < sample.size() && records < kRecords; ++i) {
            const char16_t c = sample[i].unicode();
            if (c == u'"')
                quoted = !quoted;
            else if (quoted)
                continue;
            else if (c == candidate)
                ++count;
            else if (c == u'\n') {
                ++counts[count];
                count = 0;
                ++records;
            }
        }
        int score = 0;
        for (const auto& [fields, n] : counts)
            if (fields > 0)
                score = std::max(score, n);
        if (score > bestScore) {
            best = QChar(candidate);
            bestScore = score;
        }
    }
    return best;
}

namespace {

// The named references of HTML 4 that Windows-1252 knows, and the common spaces.
const QHash<QString, char16_t>& Entities()
{
    static const QHash<QString, char16_t> table = [] {
        QHash<QString, char16_t> t;
        const char* latin1[] = {
            "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
            "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
            "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
            "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
            "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
            "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
            "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
            "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
            "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
            "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
            "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
            "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
        for (int i = 0; i < 96; ++i)
            t.insert(QLatin1String(latin1[i]), char16_t(0xA0 + i));
        const std::pair<const char*, char16_t> other[] = {
            {"quot", u'"'},     {"amp", u'&'},      {"lt", u'<'},       {"gt", u'>'},
            {"apos", u'\''},    {"OElig", 0x0152},  {"oelig", 0x0153},  {"Scaron", 0x0160},
            {"scaron", 0x0161}, {"Yuml", 0x0178},   {"fnof", 0x0192},   {"circ", 0x02C6},
            {"tilde", 0x02DC},  {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009},
            {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},
            {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},
            {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026},
            {"permil", 0x2030}, {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},
            {"trade", 0x2122},  {"minus", 0x2212},  {"prime", 0x2032},  {"Prime", 0x2033}};
        for (const auto& [name, c] : other)
            t.insert(QLatin1String(name), c);
        return t;
    }();
    return table;
}

// A character reference at text[i] ("&...;"): its text and length, or nothing.
std::optional<std::pair<QString, qsizetype>> Reference(QStringView text, qsizetype i)
{
    const qsizetype semicolon = text.sliced(i).left(12).indexOf(QLatin1Char(';'));
    if (semicolon < 2)
        return std::nullopt;
    const QStringView name = text.sliced(i + 1, semicolon - 1);
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return std::nullopt;
        const bool valid = code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        const char32_t c = valid ? char32_t(code) : char32_t(QChar::ReplacementCharacter);
        return std::pair{QString::fromUcs4(&c, 1), semicolon + 1};
    }
    if (name == QLatin1String("nbsp"))  // an editing leftover, no part of the word
        return std::pair{QStringLiteral(" "), semicolon + 1};
    const auto it = Entities().constFind(name.toString());
    if (it == Entities().constEnd())
        return std::nullopt;
    return std::pair{QString(QChar(it.value())), semicolon + 1};
}

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

}  // namespace

QString HtmlToText(QStringView html)
{
    QString text;
    text.reserve(html.size());
    const auto blank = [&] {
        if (!text.isEmpty() && text.back() != QLatin1Char(' '))
            text += QLatin1Char(' ');
    };
    for (qsizetype i = 0; i < html.size();) {
        const QChar c = html[i];
        if (c == QLatin1Char('<') && i + 1 < html.size() &&
            (html[i + 1].isLetter() || html[i + 1] == QLatin1Char('/') ||
             html[i + 1] == QLatin1Char('!'))) {
            const bool remark = html.sliced(i).startsWith(QLatin1String("<!--"));
            const qsizetype end =
                remark ? html.indexOf(QLatin1String("-->"), i) : html.indexOf(QLatin1Char('>'), i);
            if (end >= 0) {
                QString name = html.sliced(i + 1, end - i - 1).toString().toLower();
                name.remove(QLatin1Char('/'));
                name = name.section(QLatin1Char(' '), 0, 0);
                static const QStringList breaking = {QStringLiteral("br"), QStringLiteral("div"),
                                                     QStringLiteral("p"),  QStringLiteral("li"),
                                                     QStringLiteral("tr"), QStringLiteral("td")};
                if (!remark && breaking.contains(name))
                    blank();
                i = end + (remark ? 3 : 1);
                continue;
            }
        }
        if (c == QLatin1Char('&')) {
            if (const auto reference = Reference(html, i)) {
                text += reference->first;
                i += reference->second;
                continue;
            }
        }
        if (IsBlank(c))
            blank();
        else
            text += c;
        ++i;
    }
    return text;
}

QString DelimitedRecord(const QStringList& fields, QChar separator, bool withComments,
                        QStringView lineEnd)
{
    QString record;
    for (qsizetype k = 0; k < fields.size(); ++k) {
        const QString& field = fields[k];
        if (k > 0)
            record += separator;
        const bool quote = field.contains(separator) || field.contains(QLatin1Char('"')) ||
                           field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                           (withComments && k == 0 && field.startsWith(QLatin1Char('#')));
        if (!quote) {
            record += field;
            continue;
        }
        record += QLatin1Char('"');
        for (QChar c : field) {
            if (c == QLatin1Char('"'))
                record += QLatin1Char('"');
            record += c;
        }
        record += QLatin1Char('"');
    }
    record += lineEnd;
    return record;
}

QChar AnkiSeparator(const QString& name)
{
    const QString key = name.toLower();
    if (key == QLatin1String("tab"))
        return QLatin1Char('\t');
    if (key == QLatin1String("comma"))
        return QLatin1Char(',');
    if (key == QLatin1String("semicolon"))
        return QLatin1Char(';');
    if (key == QLatin1String("space"))
        return QLatin1Char(' ');
    if (key == QLatin1String("pipe"))
        return QLatin1Char('|');
    if (key == QLatin1String("colon"))
        return QLatin1Char(':');
    return name.size() == 1 ? name.at(0) : QChar();
}

bool AnkiHeader::take(const QString& line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QString key = line.left(colon).trimmed().toLower();
    QString value = line.mid(colon + 1);
    if (value.startsWith(QLatin1Char(' ')))
        value.remove(0, 1);
    const auto column = [&] {
        bool ok = false;
        const int n = value.trimmed().toInt(&ok);
        return ok && n >= 1 && n <= DelimitedParser::kMaxFields ? n - 1 : -1;
    };
    if (key == QLatin1String("separator")) {
        separator = AnkiSeparator(value);
    } else if (key == QLatin1String("html")) {
        html = value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    } else if (key == QLatin1String("columns")) {
        columns = value;
    } else if (key == QLatin1String("deck column")) {
        deckColumn = column();
    } else if (key == QLatin1String("tags column") || key == QLatin1String("notetype column") ||
               key == QLatin1String("guid column")) {
        if (const int c = column(); c >= 0)
            otherColumns.append(c);
    } else if (key == QLatin1String("deck")) {
        deck = value;
    } else if (key == QLatin1String("titel")) {
        title = value;
    } else if (key == QLatin1String("autor")) {
        author = value;
    } else if (key == QLatin1String("bemerkungen")) {
        remarks = value;
    } else {
        return key == QLatin1String("notetype") || key == QLatin1String("tags") ||
               key == QLatin1String("if matches");
    }
    return true;
}
