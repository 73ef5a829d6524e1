#include "JsonReader.h"

#include <QSet>
#include <QStringDecoder>

#include <limits>

namespace {

// Objects with more members than this find a repeated key through a hash set rather than by
// comparing each key with all before it.
constexpr qsizetype kLinearKeys = 32;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c)
{
    return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}

} // namespace

QString JsonReader::syntaxError() const
{
    //: %1 is a character offset counted from 0.
    return qtTrId("tool.json.syntax").arg(pPos);
}

bool JsonReader::check(QString *error)
{
    const bool tooLarge = pText.size() > kMaxSize;
    pPos = 0;
    skipSpace();
    const bool ok = !tooLarge && value(nullptr, 0) && (skipSpace(), atEnd());
    if (!ok && error) {
        //: %1 is a size in megabytes.
        *error = tooLarge ? qtTrId("tool.json.too_large").arg(kMaxSize >> 20) : syntaxError();
    }
    pPos = 0;
    pMembers.clear();
    return ok;
}

std::optional<QVariant> JsonReader::parse(QString *error)
{
    if (pText.size() > kMaxSize) {
        if (error)
            *error = qtTrId("tool.json.too_large").arg(kMaxSize >> 20);
        return std::nullopt;
    }
    skipSpace();
    QVariant result;
    if (!value(&result, 0) || (skipSpace(), !atEnd())) {
        if (error)
            *error = syntaxError();
        return std::nullopt;
    }
    return result;
}

JsonReader::Type JsonReader::peek()
{
    skipSpace();
    switch (peekChar()) {
    case '{':
        return Type::Object;
    case '[':
        return Type::Array;
    case '"':
        return Type::String;
    case 't':
    case 'f':
        return Type::Bool;
    case 'n':
        return Type::Null;
    default:
        return peekChar() == '-' || isDigit(peekChar()) ? Type::Number : Type::Invalid;
    }
}

bool JsonReader::enterObject()
{
    skipSpace();
    if (peekChar() != '{')
        return false;
    ++pPos;
    pStarted.push_back(false);
    return true;
}

bool JsonReader::enterArray()
{
    skipSpace();
    if (peekChar() != '[')
        return false;
    ++pPos;
    pStarted.push_back(false);
    return true;
}

bool JsonReader::nextItem(char close)
{
    if (pStarted.empty())
        return false;
    skipSpace();
    if (peekChar() == close) {
        ++pPos;
        pStarted.pop_back();
        return false;
    }
    if (pStarted.back()) {
        if (peekChar() != ',')
            return false;
        ++pPos;
        skipSpace();
    }
    pStarted.back() = true;
    return true;
}

bool JsonReader::nextMember(Key *key)
{
    if (!nextItem('}'))
        return false;
    if (peekChar() != '"' || !string(nullptr, key))
        return false;
    skipSpace();
    if (peekChar() != ':')
        return false;
    ++pPos;
    skipSpace();
    return true;
}

bool JsonReader::nextElement()
{
    return nextItem(']');
}

bool JsonReader::readValue(QVariant *out)
{
    skipSpace();
    return value(out, 0);
}

bool JsonReader::skipValue()
{
    skipSpace();
    return value(nullptr, 0);
}

bool JsonReader::readString(QString *out)
{
    skipSpace();
    return peekChar() == '"' && string(out);
}

bool JsonReader::readNumber(QVariant *out)
{
    skipSpace();
    return number(out);
}

QString JsonReader::keyText(const Key &key)
{
    if (key.bPlain)
        return QString::fromLatin1(key.raw);
    const qsizetype saved = pPos;
    pPos = key.raw.data() - pText.data() - 1;
    QString text;
    string(&text);
    pPos = saved;
    return text;
}

void JsonReader::skipSpace()
{
    while (!atEnd()) {
        const char c = pText[pPos];
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            return;
        ++pPos;
    }
}

bool JsonReader::literal(QByteArrayView word)
{
    if (pText.sliced(pPos).first(qMin(word.size(), pText.size() - pPos)) != word)
        return false;
    pPos += word.size();
    return true;
}

bool JsonReader::value(QVariant *out, int depth)
{
    if (depth > kMaxDepth)
        return false;
    switch (peekChar()) {
    case '{':
        return object(out, depth + 1);
    case '[':
        return array(out, depth + 1);
    case '"': {
        if (!out)
            return string(nullptr);
        QString s;
        if (!string(&s))
            return false;
        *out = s;
        return true;
    }
    case 't':
        if (out)
            *out = true;
        return literal("true");
    case 'f':
        if (out)
            *out = false;
        return literal("false");
    case 'n':
        if (out)
            *out = QVariant::fromValue(nullptr);
        return literal("null");
    default:
        return number(out);
    }
}

bool JsonReader::object(QVariant *out, int depth)
{
    ++pPos; // {
    QVariantMap map;
    const size_t first = pMembers.size();
    std::optional<QSet<QString>> many;
    const auto finish = [&](bool ok) {
        pMembers.resize(first);
        if (ok && out)
            *out = map;
        return ok;
    };
    skipSpace();
    if (peekChar() == '}') {
        ++pPos;
        return finish(true);
    }
    for (;;) {
        skipSpace();
        Member member;
        QString key;
        if (peekChar() != '"' || !string(out ? &key : nullptr, &member.key))
            return finish(false);
        // A key given twice is ambiguous.
        if (out) {
            if (map.contains(key))
                return finish(false);
        } else if (many) {
            if (many->contains(memberText(member)))
                return finish(false);
            many->insert(member.text);
        } else {
            for (size_t i = first; i < pMembers.size(); ++i) {
                if (sameKey(pMembers[i], member))
                    return finish(false);
            }
            pMembers.push_back(member);
            if (qsizetype(pMembers.size() - first) > kLinearKeys) {
                many.emplace();
                for (size_t i = first; i < pMembers.size(); ++i)
                    many->insert(memberText(pMembers[i]));
                pMembers.resize(first);
            }
        }
        skipSpace();
        if (peekChar() != ':')
            return finish(false);
        ++pPos;
        skipSpace();
        QVariant element;
        if (!value(out ? &element : nullptr, depth))
            return finish(false);
        if (out)
            map.insert(key, element);
        skipSpace();
        if (peekChar() == ',') {
            ++pPos;
            continue;
        }
        if (peekChar() != '}')
            return finish(false);
        ++pPos;
        return finish(true);
    }
}

bool JsonReader::array(QVariant *out, int depth)
{
    ++pPos; // [
    QVariantList list;
    skipSpace();
    if (peekChar() == ']') {
        ++pPos;
        if (out)
            *out = list;
        return true;
    }
    for (;;) {
        skipSpace();
        QVariant element;
        if (!value(out ? &element : nullptr, depth))
            return false;
        if (out)
            list.append(element);
        skipSpace();
        if (peekChar() == ',') {
            ++pPos;
            continue;
        }
        if (peekChar() != ']')
            return false;
        ++pPos;
        if (out)
            *out = list;
        return true;
    }
}

bool JsonReader::sameKey(Member &a, Member &b)
{
    if (a.key.bPlain && b.key.bPlain)
        return a.key.raw == b.key.raw;
    return memberText(a) == memberText(b);
}

const QString &JsonReader::memberText(Member &member)
{
    if (!member.bDecoded) {
        member.text = keyText(member.key);
        member.bDecoded = true;
    }
    return member.text;
}

// The bytes from `from` to the position, a run without escapes, appended to the string; false
// when they are not UTF-8.
bool JsonReader::appendRun(QString *out, qsizetype from, bool ascii)
{
    if (pPos <= from)
        return true;
    const QByteArrayView run = pText.sliced(from, pPos - from);
    if (ascii) {
        if (out)
            out->append(QLatin1String(run));
        return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(run);
    if (decoder.hasError())
        return false;
    if (out)
        out->append(decoded);
    return true;
}

bool JsonReader::string(QString *out, Key *key)
{
    const qsizetype open = pPos;
    ++pPos; // "
    if (out)
        *out = QString(QLatin1String("")); // never null: an empty string is a present one
    qsizetype runStart = pPos;
    bool ascii = true;
    bool plain = true;
    while (!atEnd()) {
        const uchar c = uchar(pText[pPos]);
        if (c == '"') {
            if (!appendRun(out, runStart, ascii))
                return false;
            if (key) {
                key->raw = pText.sliced(open + 1, pPos - open - 1);
                key->bPlain = plain;
            }
            ++pPos;
            return true;
        }
        if (c < 0x20)
            return false;
        if (c != '\\') {
            if (c >= 0x80)
                ascii = plain = false;
            ++pPos;
            continue;
        }
        if (!appendRun(out, runStart, ascii))
            return false;
        plain = false;
        ++pPos;
        if (atEnd())
            return false;
        const char escaped = pText[pPos++];
        char16_t unit = 0;
        switch (escaped) {
        case '"':
        case '\\':
        case '/':
            unit = char16_t(escaped);
            break;
        case 'b':
            unit = u'\b';
            break;
        case 'f':
            unit = u'\f';
            break;
        case 'n':
            unit = u'\n';
            break;
        case 'r':
            unit = u'\r';
            break;
        case 't':
            unit = u'\t';
            break;
        case 'u':
            if (!hex4(&unit))
                return false;
            break;
        default:
            return false;
        }
        if (out)
            out->append(QChar(unit));
        runStart = pPos;
        ascii = true;
    }
    return false;
}

bool JsonReader::hex4(char16_t *unit)
{
    if (pPos + 4 > pText.size())
        return false;
    char16_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = pText[pPos + i];
        if (!isHexDigit(c))
            return false;
        v = char16_t(v * 16 + hexValue(c));
    }
    pPos += 4;
    *unit = v;
    return true;
}

bool JsonReader::number(QVariant *out)
{
    const qsizetype start = pPos;
    bool fractional = false;
    if (peekChar() == '-')
        ++pPos;
    if (peekChar() == '0') {
        ++pPos;
    } else if (peekChar() >= '1' && peekChar() <= '9') {
        while (isDigit(peekChar()))
            ++pPos;
    } else {
        return false;
    }
    const qsizetype wholeEnd = pPos;
    if (peekChar() == '.') {
        fractional = true;
        ++pPos;
        if (!isDigit(peekChar()))
            return false;
        while (isDigit(peekChar()))
            ++pPos;
    }
    if (peekChar() == 'e' || peekChar() == 'E') {
        fractional = true;
        ++pPos;
        if (peekChar() == '+' || peekChar() == '-')
            ++pPos;
        if (!isDigit(peekChar()))
            return false;
        while (isDigit(peekChar()))
            ++pPos;
    }
    if (!out)
        return true;
    const QByteArrayView text = pText.sliced(start, pPos - start);
    if (!fractional) {
        const bool negative = text[0] == '-';
        const qsizetype digits = wholeEnd - start - (negative ? 1 : 0);
        if (digits <= 18) {
            // Exact in 64 bits, the usual case.
            qlonglong whole = 0;
            for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i)
                whole = whole * 10 + (text[i] - '0');
            *out = negative ? -whole : whole;
            return true;
        }
        bool ok = false;
        const qlonglong whole = text.toLongLong(&ok);
        if (ok) {
            *out = whole;
            return true;
        }
    }
    // A whole number beyond 64 bits is read as a real.
    bool ok = false;
    const double real = text.toDouble(&ok);
    // Out of the range of a double: kept as infinite, which the reader of the value refuses.
    *out = ok ? real : std::numeric_limits<double>::infinity();
    return true;
}
