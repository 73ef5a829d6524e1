#include "JsonCodec.h"

#include <QVariantList>
#include <QVariantMap>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

class Parser
{
public:
    explicit Parser(const QByteArray &text) : m_text(text) {}

    bool run(QVariant *result)
    {
        skipSpace();
        if (!value(result, 0))
            return false;
        skipSpace();
        return m_pos == m_text.size() || fail("unexpected text after the value");
    }

    QString error;

private:
    bool fail(const char *what)
    {
        if (error.isEmpty())
            error = QStringLiteral("JSON: %1 at byte %2").arg(QLatin1String(what)).arg(m_pos);
        return false;
    }
    void skipSpace()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool literal(const char *word)
    {
        const qsizetype n = qsizetype(std::strlen(word));
        if (m_text.mid(m_pos, n) != word)
            return fail("unknown word");
        m_pos += n;
        return true;
    }

    bool value(QVariant *out, int depth)
    {
        if (depth > JsonCodec::kMaxDepth)
            return fail("nesting too deep");
        if (m_pos >= m_text.size())
            return fail("unexpected end");
        switch (m_text[m_pos]) {
        case '{':
            return object(out, depth);
        case '[':
            return array(out, depth);
        case '"': {
            QString s;
            if (!string(&s))
                return false;
            *out = s;
            return true;
        }
        case 't':
            *out = true;
            return literal("true");
        case 'f':
            *out = false;
            return literal("false");
        case 'n':
            *out = QVariant::fromValue(nullptr);
            return literal("null");
        default:
            return number(out);
        }
    }

    bool object(QVariant *out, int depth)
    {
        QVariantMap map;
        ++m_pos; // '{'
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            *out = map;
            return true;
        }
        for (;;) {
            skipSpace();
            QString name;
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return fail("expected a key");
            if (!string(&name))
                return false;
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return fail("expected ':'");
            ++m_pos;
            skipSpace();
            QVariant item;
            if (!value(&item, depth + 1))
                return false;
            if (map.contains(name))
                return fail("key given twice");
            map.insert(name, item);
            skipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                *out = map;
                return true;
            }
            return fail("expected ',' or '}'");
        }
    }

    bool array(QVariant *out, int depth)
    {
        QVariantList list;
        ++m_pos; // '['
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            *out = list;
            return true;
        }
        for (;;) {
            skipSpace();
            QVariant item;
            if (!value(&item, depth + 1))
                return false;
            list.append(item);
            skipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                *out = list;
                return true;
            }
            return fail("expected ',' or ']'");
        }
    }

    bool hex4(char16_t *unit)
    {
        if (m_pos + 4 > m_text.size())
            return fail("bad \\u escape");
        bool ok = false;
        const uint v = m_text.mid(m_pos, 4).toUInt(&ok, 16);
        if (!ok)
            return fail("bad \\u escape");
        m_pos += 4;
        *unit = char16_t(v);
        return true;
    }

    bool string(QString *out)
    {
        ++m_pos; // '"'
        QByteArray utf8;
        QString result;
        auto flush = [&] {
            result += QString::fromUtf8(utf8);
            utf8.clear();
        };
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') {
                flush();
                *out = result;
                return true;
            }
            if (uchar(c) < 0x20)
                return fail("control character in a string");
            if (c != '\\') {
                utf8.append(c);
                continue;
            }
            if (m_pos >= m_text.size())
                return fail("unexpected end");
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                utf8.append(e);
                break;
            case 'b':
                utf8.append('\b');
                break;
            case 'f':
                utf8.append('\f');
                break;
            case 'n':
                utf8.append('\n');
                break;
            case 'r':
                utf8.append('\r');
                break;
            case 't':
                utf8.append('\t');
                break;
            case 'u': {
                char16_t unit = 0;
                if (!hex4(&unit))
                    return false;
                flush();
                result.append(QChar(unit));
                break;
            }
            default:
                return fail("bad escape");
            }
        }
        return fail("unterminated string");
    }

    bool number(QVariant *out)
    {
        const qsizetype start = m_pos;
        bool fractional = false;
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        const qsizetype digits = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
            ++m_pos;
        if (m_pos == digits)
            return fail("expected a value");
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            fractional = true;
            ++m_pos;
            const qsizetype fraction = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            if (m_pos == fraction)
                return fail("bad number");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            fractional = true;
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            const qsizetype exponent = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            if (m_pos == exponent)
                return fail("bad number");
        }
        const QByteArray text = m_text.mid(start, m_pos - start);
        bool ok = false;
        if (fractional) {
            const double d = text.toDouble(&ok);
            if (!ok || !std::isfinite(d))
                return fail("bad number");
            *out = d;
        } else {
            const qlonglong i = text.toLongLong(&ok);
            if (!ok)
                return fail("integer out of range");
            *out = i;
        }
        return true;
    }

    const QByteArray &m_text;
    qsizetype m_pos = 0;
};

} // namespace

bool JsonCodec::parse(const QByteArray &text, QVariant *result, QString *error)
{
    Parser parser(text);
    QVariant value;
    if (!parser.run(&value)) {
        if (error)
            *error = parser.error;
        return false;
    }
    *result = value;
    return true;
}

// --- Writer --------------------------------------------------------------------------------------

void JsonCodec::Writer::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first)
        m_out += ',';
    if (m_indent > 0)
        m_out += '\n' + QByteArray(m_indent * 2, ' ');
    m_first = false;
}

void JsonCodec::Writer::beginObject()
{
    separate();
    m_out += '{';
    ++m_indent;
    m_first = true;
}

void JsonCodec::Writer::endObject()
{
    --m_indent;
    if (!m_first)
        m_out += '\n' + QByteArray(m_indent * 2, ' ');
    m_out += '}';
    m_first = false;
}

void JsonCodec::Writer::beginArray()
{
    separate();
    m_out += '[';
    ++m_indent;
    m_first = true;
}

void JsonCodec::Writer::endArray()
{
    --m_indent;
    if (!m_first)
        m_out += '\n' + QByteArray(m_indent * 2, ' ');
    m_out += ']';
    m_first = false;
}

void JsonCodec::Writer::key(const QString &name)
{
    string(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonCodec::Writer::null()
{
    separate();
    m_out += "null";
}

void JsonCodec::Writer::boolean(bool b)
{
    separate();
    m_out += b ? "true" : "false";
}

void JsonCodec::Writer::integer(qint64 number)
{
    separate();
    m_out += QByteArray::number(number);
}

void JsonCodec::Writer::real(double number)
{
    if (!std::isfinite(number)) {
        null();
        return;
    }
    separate();
    // The shortest text that reads back as the same double, always with a fraction or an
    // exponent so that it reads back as fractional.
    QByteArray text = QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
    if (!text.contains('.') && !text.contains('e') && !text.contains("inf") &&
        !text.contains("nan"))
        text += ".0";
    m_out += text;
}

void JsonCodec::Writer::string(const QString &text)
{
    separate();
    QByteArray out = "\"";
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || (u >= 0xD800 && u <= 0xDFFF)) // lone surrogates stay exact
                out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += QString(c).toUtf8();
        }
    }
    out += '"';
    m_out += out;
}

void JsonCodec::Writer::value(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QVariantMap: {
        beginObject();
        const QVariantMap map = v.toMap();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            key(it.key());
            value(it.value());
        }
        endObject();
        return;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        beginArray();
        for (const QVariant &item : v.toList())
            value(item);
        endArray();
        return;
    }
    case QMetaType::QString:
        string(v.toString());
        return;
    case QMetaType::Bool:
        boolean(v.toBool());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        real(v.toDouble());
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        integer(v.toLongLong());
        return;
    case QMetaType::ULongLong:
        if (v.toULongLong() > qulonglong(std::numeric_limits<qint64>::max()))
            real(v.toDouble());
        else
            integer(v.toLongLong());
        return;
    default:
        null();
    }
}
