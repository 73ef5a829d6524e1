#include "JsonWriter.h"

#include "Number.h"

#include <QIODevice>
#include <QLocale>

#include <cmath>

namespace {

// The buffer goes to the device once it holds this much.
constexpr qsizetype kSpillSize = qsizetype(1) << 16;

} // namespace

JsonWriter::JsonWriter(QIODevice *device) : pDevice(device)
{
    pOut.reserve(device ? 2 * kSpillSize : 4096);
}

bool JsonWriter::finish()
{
    pOut += '\n';
    if (pDevice) {
        if (!pOut.isEmpty() && pDevice->write(pOut) != pOut.size())
            bDeviceFailed = true;
        pOut.clear();
    }
    return !bDeviceFailed;
}

void JsonWriter::spill()
{
    if (pDevice && pOut.size() >= kSpillSize) {
        if (pDevice->write(pOut) != pOut.size())
            bDeviceFailed = true;
        pOut.clear();
    }
}

void JsonWriter::key(QLatin1String name)
{
    separate();
    pOut += '"';
    // The keys this program writes are plain ASCII words.
    for (const char c : name) {
        if (uchar(c) < 0x20 || c == '"' || c == '\\' || uchar(c) >= 0x80) {
            pOut.chop(1);
            appendString(QString(name));
            pOut += ": ";
            bKeyPending = true;
            return;
        }
    }
    pOut += QByteArrayView(name.data(), name.size());
    pOut += "\": ";
    bKeyPending = true;
}

void JsonWriter::key(const QString &name)
{
    separate();
    appendString(name);
    pOut += ": ";
    bKeyPending = true;
}

void JsonWriter::string(const QString &value)
{
    prepareValue();
    appendString(value);
}

void JsonWriter::string(QLatin1String value)
{
    string(QString(value));
}

void JsonWriter::nullableString(const QString &value)
{
    if (value.isNull())
        null();
    else
        string(value);
}

void JsonWriter::number(const QVariant &value)
{
    prepareValue();
    switch (value.typeId()) {
    case QMetaType::LongLong:
        appendInteger(*static_cast<const qlonglong *>(value.constData()));
        return;
    case QMetaType::Double:
        appendReal(*static_cast<const double *>(value.constData()));
        return;
    default:
        pOut += formatNumber(value);
        return;
    }
}

void JsonWriter::real(double value)
{
    prepareValue();
    appendReal(value);
}

void JsonWriter::integer(qint64 value)
{
    prepareValue();
    appendInteger(value);
}

QByteArray JsonWriter::formatNumber(const QVariant &number)
{
    if (!Number::isNumber(number))
        return QByteArrayLiteral("null");
    const QVariant n = Number::normalized(number);
    if (n.typeId() == QMetaType::LongLong)
        return QByteArray::number(n.toLongLong());
    const double d = n.toDouble();
    if (!std::isfinite(d))
        return QByteArrayLiteral("null");
    QByteArray text = QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    if (!text.contains('.') && !text.contains('e'))
        text += ".0";
    return text;
}

void JsonWriter::raw(const char *text)
{
    prepareValue();
    pOut += text;
}

void JsonWriter::open(char bracket)
{
    prepareValue();
    pOut += bracket;
    pCounts.append(0);
}

void JsonWriter::close(char bracket)
{
    const bool empty = pCounts.takeLast() == 0;
    if (!empty)
        newline();
    pOut += bracket;
    spill();
}

// Before a value: the separator and line break of an array element (object members have had
// theirs from key()).
void JsonWriter::prepareValue()
{
    if (bKeyPending) {
        bKeyPending = false;
        return;
    }
    if (!pCounts.isEmpty())
        separate();
}

void JsonWriter::separate()
{
    if (pCounts.last()++ > 0)
        pOut += ',';
    newline();
}

void JsonWriter::newline()
{
    pOut += '\n';
    pOut.append(2 * pCounts.size(), ' ');
}

void JsonWriter::appendString(QStringView value)
{
    static const char hex[] = "0123456789abcdef";
    pOut += '"';
    const qsizetype size = value.size();
    const QChar *data = value.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = data[i].unicode();
        if (u >= 0x20 && u < 0x80) {
            if (u == '"' || u == '\\')
                pOut += '\\';
            pOut += char(u);
            continue;
        }
        switch (u) {
        case '\n':
            pOut += "\\n";
            continue;
        case '\r':
            pOut += "\\r";
            continue;
        case '\t':
            pOut += "\\t";
            continue;
        case '\b':
            pOut += "\\b";
            continue;
        case '\f':
            pOut += "\\f";
            continue;
        default:
            break;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < size && data[i + 1].isLowSurrogate()) {
            const char32_t c = QChar::surrogateToUcs4(u, data[i + 1].unicode());
            ++i;
            pOut += char(0xf0 | (c >> 18));
            pOut += char(0x80 | ((c >> 12) & 0x3f));
            pOut += char(0x80 | ((c >> 6) & 0x3f));
            pOut += char(0x80 | (c & 0x3f));
        } else if (u < 0x20 || QChar::isSurrogate(u)) {
            // An unpaired surrogate is escaped, so that it survives too.
            pOut += "\\u";
            pOut += hex[(u >> 12) & 0xf];
            pOut += hex[(u >> 8) & 0xf];
            pOut += hex[(u >> 4) & 0xf];
            pOut += hex[u & 0xf];
        } else if (u < 0x800) {
            pOut += char(0xc0 | (u >> 6));
            pOut += char(0x80 | (u & 0x3f));
        } else {
            pOut += char(0xe0 | (u >> 12));
            pOut += char(0x80 | ((u >> 6) & 0x3f));
            pOut += char(0x80 | (u & 0x3f));
        }
    }
    pOut += '"';
}

void JsonWriter::appendReal(double value)
{
    if (!std::isfinite(value)) {
        pOut += "null";
        return;
    }
    const qsizetype start = pOut.size();
    pOut += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    const QByteArrayView written = QByteArrayView(pOut).sliced(start);
    if (!written.contains('.') && !written.contains('e'))
        pOut += ".0";
}

void JsonWriter::appendInteger(qint64 value)
{
    char buffer[24];
    char *end = buffer + sizeof buffer;
    char *p = end;
    // In unsigned arithmetic, so that the smallest qint64 has its digits too.
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    pOut.append(p, end - p);
}
