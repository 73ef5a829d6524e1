#include "XmlPropertyList.h"

#include "Date.h"

#include <QDateTime>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <cmath>
#include <limits>

namespace {

struct Frame
{
    bool dictionary = false;
    PlistValue::Array items;
    PlistValue::Dictionary entries;
    QString key;
    bool hasKey = false;
};

class Reader
{
public:
    explicit Reader(const QByteArray &data) : m_xml(data) {}
    bool run(PlistValue *result);
    QString error;

private:
    bool fail(const QString &detail)
    {
        if (error.isEmpty())
            //: %1 is a line number, %2 a short technical description
            error = qtTrId("plist.error.xml").arg(m_xml.lineNumber()).arg(detail);
        return false;
    }
    bool deliver(PlistValue value);
    bool scalar(QStringView name, PlistValue *value);

    QXmlStreamReader m_xml;
    std::vector<Frame> m_stack;
    PlistValue m_result;
    bool m_haveResult = false;
};

bool parseInteger(QStringView text, PlistValue *value)
{
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith(u"0x") || text.startsWith(u"0X")) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty() || text.front() == u'-' || text.front() == u'+')
        return false;
    bool ok = false;
    const qulonglong magnitude = text.toULongLong(&ok, base);
    if (!ok)
        return false;
    if (!negative) {
        *value = PlistValue::unsignedInteger(magnitude);
        return true;
    }
    const qulonglong limit = qulonglong(std::numeric_limits<qint64>::max()) + 1;
    if (magnitude > limit)
        return false;
    *value = PlistValue::integer(magnitude == limit ? std::numeric_limits<qint64>::min()
                                                    : -qint64(magnitude));
    return true;
}

bool parseReal(QStringView text, PlistValue *value)
{
    text = text.trimmed();
    const QString lower = text.toString().toLower();
    double d = 0;
    if (lower == u"nan") {
        d = std::numeric_limits<double>::quiet_NaN();
    } else if (lower == u"inf" || lower == u"+inf" || lower == u"infinity" ||
               lower == u"+infinity") {
        d = std::numeric_limits<double>::infinity();
    } else if (lower == u"-inf" || lower == u"-infinity") {
        d = -std::numeric_limits<double>::infinity();
    } else {
        bool ok = false;
        d = text.toDouble(&ok);
        if (!ok)
            return false;
    }
    *value = PlistValue::real(d);
    return true;
}

bool parseDate(QStringView text, PlistValue *value)
{
    const QDateTime dateTime = QDateTime::fromString(text.trimmed().toString(), Qt::ISODate);
    if (!dateTime.isValid())
        return false;
    const double seconds = double(dateTime.toMSecsSinceEpoch()) / 1000.0;
    *value = PlistValue::date(seconds - Date::kReferenceFrom1970);
    return true;
}

bool parseData(QStringView text, PlistValue *value)
{
    QByteArray base64;
    base64.reserve(text.size());
    for (QChar c : text) {
        if (c.isSpace())
            continue;
        if (c.unicode() >= 0x80)
            return false;
        base64.append(char(c.unicode()));
    }
    auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    *value = PlistValue::data(*decoded);
    return true;
}

bool Reader::scalar(QStringView name, PlistValue *value)
{
    const QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (m_xml.hasError())
        return fail(m_xml.errorString());
    bool ok = true;
    if (name == u"string")
        *value = PlistValue::string(text);
    else if (name == u"integer")
        ok = parseInteger(text, value);
    else if (name == u"real")
        ok = parseReal(text, value);
    else if (name == u"date")
        ok = parseDate(text, value);
    else if (name == u"data")
        ok = parseData(text, value);
    else if (name == u"true" || name == u"false")
        *value = PlistValue::boolean(name == u"true");
    else
        return fail(QStringLiteral("unknown element <%1>").arg(name));
    if (!ok)
        return fail(QStringLiteral("bad <%1> value").arg(name));
    return true;
}

bool Reader::deliver(PlistValue value)
{
    if (m_stack.empty()) {
        if (m_haveResult)
            return fail(QStringLiteral("more than one top-level value"));
        m_result = std::move(value);
        m_haveResult = true;
        return true;
    }
    Frame &parent = m_stack.back();
    if (!parent.dictionary) {
        parent.items.push_back(std::move(value));
        return true;
    }
    if (!parent.hasKey)
        return fail(QStringLiteral("dictionary value without a key"));
    parent.hasKey = false;
    if (!parent.entries.insert(parent.key, std::move(value)))
        return fail(QStringLiteral("duplicate key \"%1\"").arg(parent.key));
    return true;
}

bool Reader::run(PlistValue *result)
{
    bool inPlist = false, plistDone = false;
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        switch (token) {
        case QXmlStreamReader::DTD:
            if (!m_xml.entityDeclarations().isEmpty())
                return fail(QStringLiteral("entity declarations are not allowed"));
            break;
        case QXmlStreamReader::StartElement: {
            const QStringView name = m_xml.name();
            if (!inPlist) {
                if (name != u"plist" || plistDone)
                    return fail(QStringLiteral("expected <plist>"));
                inPlist = true;
                break;
            }
            if (name == u"dict" || name == u"array") {
                if (m_stack.size() >= size_t(XmlPropertyList::kMaxDepth)) {
                    //: %1 is the greatest nesting depth allowed
                    error = qtTrId("plist.error.depth").arg(XmlPropertyList::kMaxDepth);
                    return false;
                }
                if (!m_stack.empty() && m_stack.back().dictionary && !m_stack.back().hasKey)
                    return fail(QStringLiteral("dictionary value without a key"));
                Frame frame;
                frame.dictionary = name == u"dict";
                m_stack.push_back(std::move(frame));
                break;
            }
            if (name == u"key") {
                if (m_stack.empty() || !m_stack.back().dictionary || m_stack.back().hasKey)
                    return fail(QStringLiteral("misplaced <key>"));
                const QString key =
                    m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                if (m_xml.hasError())
                    return fail(m_xml.errorString());
                m_stack.back().key = key;
                m_stack.back().hasKey = true;
                break;
            }
            PlistValue value;
            if (!scalar(name, &value) || !deliver(std::move(value)))
                return false;
            break;
        }
        case QXmlStreamReader::EndElement: {
            const QStringView name = m_xml.name();
            if (name == u"plist") {
                if (!m_stack.empty() || !m_haveResult)
                    return fail(QStringLiteral("incomplete <plist>"));
                inPlist = false;
                plistDone = true;
                break;
            }
            // QXmlStreamReader guarantees balanced tags, so this closes the top frame.
            if (m_stack.empty())
                return fail(QStringLiteral("unexpected </%1>").arg(name));
            Frame frame = std::move(m_stack.back());
            m_stack.pop_back();
            if (frame.hasKey)
                return fail(QStringLiteral("key without a value"));
            PlistValue value;
            if (!frame.dictionary) {
                value = PlistValue::array(std::move(frame.items));
            } else if (frame.entries.size() == 1 && frame.entries.keyAt(0) == u"CF$UID" &&
                       frame.entries.valueAt(0).isInteger() &&
                       !frame.entries.valueAt(0).isBigUnsigned() &&
                       frame.entries.valueAt(0).toInteger() >= 0) {
                value = PlistValue::uid(quint64(frame.entries.valueAt(0).toInteger()));
            } else {
                value = PlistValue::dictionary(std::move(frame.entries));
            }
            if (!deliver(std::move(value)))
                return false;
            break;
        }
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("unexpected text"));
            break;
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("unresolved entity"));
        default:
            break;
        }
    }
    if (m_xml.hasError())
        return fail(m_xml.errorString());
    if (!plistDone)
        return fail(QStringLiteral("no <plist> element"));
    *result = std::move(m_result);
    return true;
}

} // namespace

bool XmlPropertyList::isXml(const QByteArray &data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return i < data.size() && data[i] == '<';
}

bool XmlPropertyList::read(const QByteArray &data, PlistValue *result, QString *error)
{
    *result = PlistValue();
    Reader reader(data);
    PlistValue value;
    if (!reader.run(&value)) {
        if (error)
            *error = reader.error;
        return false;
    }
    *result = std::move(value);
    if (error)
        error->clear();
    return true;
}
