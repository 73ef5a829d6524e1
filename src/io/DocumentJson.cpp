#include "DocumentJson.h"

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "ConstantPredicate.h"
#include "DocumentArchive.h"
#include "Expression.h"
#include "Filter.h"
#include "HomeSummary.h"
#include "InformationItem.h"
#include "MyDocument.h"
#include "Number.h"
#include "PrintSettings.h"
#include "ReadingValues.h"
#include "RelativeDate.h"
#include "UndoManager.h"

#include <QLocale>
#include <QSizeF>
#include <QStringDecoder>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace {

// --- Writing -----------------------------------------------------------------------------------

// Writes indented JSON as a stream of values, so that objects keep the order they are written in.
class JsonWriter
{
public:
    QByteArray text() const { return out + '\n'; }

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    // The key of the next value in an object.
    void key(const QString &name)
    {
        separate();
        appendString(name);
        out += ": ";
        keyPending = true;
    }

    void null() { raw("null"); }
    void boolean(bool value) { raw(value ? "true" : "false"); }
    void string(const QString &value)
    {
        prepareValue();
        appendString(value);
    }
    // A number keeping its kind (see DocumentJson::formatNumber()).
    void number(const QVariant &value) { raw(DocumentJson::formatNumber(value)); }
    // A real, always with a fraction (DocumentJson::formatNumber()).
    void real(double value) { raw(DocumentJson::formatNumber(value)); }
    void integer(qint64 value) { raw(QByteArray::number(value)); }
    void nullableString(const QString &value)
    {
        if (value.isNull())
            null();
        else
            string(value);
    }

private:
    struct Level
    {
        int count = 0;
    };

    void raw(const QByteArray &text)
    {
        prepareValue();
        out += text;
    }
    void open(char bracket)
    {
        prepareValue();
        out += bracket;
        levels.append(Level());
    }
    void close(char bracket)
    {
        const bool empty = levels.last().count == 0;
        levels.removeLast();
        if (!empty)
            newline();
        out += bracket;
    }
    // Before a value: the separator and line break of an array element (object members have
    // had theirs from key()).
    void prepareValue()
    {
        if (keyPending) {
            keyPending = false;
            return;
        }
        if (!levels.isEmpty())
            separate();
    }
    void separate()
    {
        if (levels.last().count++ > 0)
            out += ',';
        newline();
    }
    void newline()
    {
        out += '\n';
        out += QByteArray(2 * levels.size(), ' ');
    }
    void appendString(const QString &value)
    {
        out += '"';
        for (qsizetype i = 0; i < value.size(); ++i) {
            const QChar c = value.at(i);
            const char16_t u = c.unicode();
            if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
                out += value.mid(i, 2).toUtf8();
                ++i;
                continue;
            }
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
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (u < 0x20 || c.isSurrogate()) {
                    // An unpaired surrogate is escaped, so that it survives too.
                    out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
                } else {
                    out += QString(c).toUtf8();
                }
            }
        }
        out += '"';
    }

    QByteArray out;
    QList<Level> levels;
    bool keyPending = false;
};

// --- Reading -----------------------------------------------------------------------------------

// JSON values as QVariants: null is a std::nullptr_t, objects QVariantMap, arrays QVariantList,
// numbers qlonglong (written without fraction or exponent, and in range) or double.
class JsonParser
{
public:
    explicit JsonParser(const QByteArray &text) : text(text) {}

    std::optional<QVariant> parse(QString *error)
    {
        skipSpace();
        QVariant value;
        if (!parseValue(&value, 0)) {
            *error = message();
            return std::nullopt;
        }
        skipSpace();
        if (pos != text.size()) {
            *error = message();
            return std::nullopt;
        }
        return value;
    }

private:
    static constexpr int kMaxDepth = 256;

    QString message() const
    {
        //: %1 is a character offset counted from 0.
        return qtTrId("tool.json.syntax").arg(pos);
    }

    bool atEnd() const { return pos >= text.size(); }
    char peek() const { return atEnd() ? '\0' : text.at(pos); }
    void skipSpace()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++pos;
    }
    bool literal(const char *word)
    {
        const qsizetype length = qstrlen(word);
        if (text.mid(pos, length) != word)
            return false;
        pos += length;
        return true;
    }

    bool parseValue(QVariant *value, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        switch (peek()) {
        case '{':
            return parseObject(value, depth + 1);
        case '[':
            return parseArray(value, depth + 1);
        case '"': {
            QString s;
            if (!parseString(&s))
                return false;
            *value = s;
            return true;
        }
        case 't':
            *value = true;
            return literal("true");
        case 'f':
            *value = false;
            return literal("false");
        case 'n':
            *value = QVariant::fromValue(nullptr);
            return literal("null");
        default:
            return parseNumber(value);
        }
    }

    bool parseObject(QVariant *value, int depth)
    {
        ++pos; // {
        QVariantMap map;
        skipSpace();
        if (peek() == '}') {
            ++pos;
            *value = map;
            return true;
        }
        for (;;) {
            skipSpace();
            QString key;
            if (peek() != '"' || !parseString(&key))
                return false;
            if (map.contains(key))
                return false; // a duplicate key is ambiguous
            skipSpace();
            if (peek() != ':')
                return false;
            ++pos;
            skipSpace();
            QVariant member;
            if (!parseValue(&member, depth))
                return false;
            map.insert(key, member);
            skipSpace();
            if (peek() == ',') {
                ++pos;
                continue;
            }
            if (peek() != '}')
                return false;
            ++pos;
            *value = map;
            return true;
        }
    }

    bool parseArray(QVariant *value, int depth)
    {
        ++pos; // [
        QVariantList list;
        skipSpace();
        if (peek() == ']') {
            ++pos;
            *value = list;
            return true;
        }
        for (;;) {
            skipSpace();
            QVariant element;
            if (!parseValue(&element, depth))
                return false;
            list.append(element);
            skipSpace();
            if (peek() == ',') {
                ++pos;
                continue;
            }
            if (peek() != ']')
                return false;
            ++pos;
            *value = list;
            return true;
        }
    }

    bool parseHex4(char16_t *unit)
    {
        if (pos + 4 > text.size())
            return false;
        bool ok = false;
        const uint v = text.mid(pos, 4).toUInt(&ok, 16);
        for (int i = 0; i < 4; ++i) {
            if (!isxdigit(uchar(text.at(pos + i))))
                return false;
        }
        if (!ok)
            return false;
        pos += 4;
        *unit = char16_t(v);
        return true;
    }

    bool parseString(QString *result)
    {
        ++pos;                        // "
        QString s(QLatin1String("")); // never null: an empty string is a present one
        qsizetype runStart = pos;
        auto flush = [&] {
            if (pos > runStart) {
                const QByteArray run = text.mid(runStart, pos - runStart);
                QStringDecoder decoder(QStringDecoder::Utf8);
                const QString decoded = decoder.decode(run);
                if (decoder.hasError())
                    return false;
                s += decoded;
            }
            return true;
        };
        while (!atEnd()) {
            const char c = text.at(pos);
            if (c == '"') {
                if (!flush())
                    return false;
                ++pos;
                *result = s;
                return true;
            }
            if (uchar(c) < 0x20)
                return false;
            if (c != '\\') {
                ++pos;
                continue;
            }
            if (!flush())
                return false;
            ++pos;
            if (atEnd())
                return false;
            const char e = text.at(pos++);
            switch (e) {
            case '"':
                s += u'"';
                break;
            case '\\':
                s += u'\\';
                break;
            case '/':
                s += u'/';
                break;
            case 'b':
                s += u'\b';
                break;
            case 'f':
                s += u'\f';
                break;
            case 'n':
                s += u'\n';
                break;
            case 'r':
                s += u'\r';
                break;
            case 't':
                s += u'\t';
                break;
            case 'u': {
                char16_t unit = 0;
                if (!parseHex4(&unit))
                    return false;
                s += QChar(unit);
                break;
            }
            default:
                return false;
            }
            runStart = pos;
        }
        return false;
    }

    bool parseNumber(QVariant *value)
    {
        const qsizetype start = pos;
        bool fractional = false;
        if (peek() == '-')
            ++pos;
        if (peek() == '0') {
            ++pos;
        } else if (peek() >= '1' && peek() <= '9') {
            while (peek() >= '0' && peek() <= '9')
                ++pos;
        } else {
            return false;
        }
        if (peek() == '.') {
            fractional = true;
            ++pos;
            if (!(peek() >= '0' && peek() <= '9'))
                return false;
            while (peek() >= '0' && peek() <= '9')
                ++pos;
        }
        if (peek() == 'e' || peek() == 'E') {
            fractional = true;
            ++pos;
            if (peek() == '+' || peek() == '-')
                ++pos;
            if (!(peek() >= '0' && peek() <= '9'))
                return false;
            while (peek() >= '0' && peek() <= '9')
                ++pos;
        }
        const QByteArray number = text.mid(start, pos - start);
        bool ok = false;
        if (!fractional) {
            const qlonglong whole = number.toLongLong(&ok);
            if (ok) {
                *value = whole;
                return true;
            }
        }
        // A whole number beyond 64 bits is read as a real.
        const double real = number.toDouble(&ok);
        // Out of the range of a double: kept as infinite, which the reader of the value refuses.
        *value = ok ? real : std::numeric_limits<double>::infinity();
        return true;
    }

    const QByteArray &text;
    qsizetype pos = 0;
};

bool isNull(const QVariant &v)
{
    return v.typeId() == QMetaType::Nullptr;
}

bool isNumberValue(const QVariant &v)
{
    return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
}

// Reads the parsed tree into the document's values; the first fault is kept with its place.
class Reader
{
public:
    QString error;

    bool fail(const char *key, const QString &path, const QString &detail = QString())
    {
        if (error.isEmpty()) {
            error = qtTrId(key).arg(path);
            if (!detail.isNull())
                error = error.arg(detail);
        }
        return false;
    }

    // The members of an object, refusing keys outside `allowed`.
    bool object(const QVariant &value, const QString &path, const QStringList &allowed,
                QVariantMap *map)
    {
        if (value.typeId() != QMetaType::QVariantMap)
            return fail(QT_TRID_NOOP("tool.json.expected_object"), path);
        *map = value.toMap();
        for (auto it = map->cbegin(); it != map->cend(); ++it) {
            if (!allowed.contains(it.key()))
                return fail(QT_TRID_NOOP("tool.json.unknown_key"), member(path, it.key()));
        }
        return true;
    }
    bool array(const QVariant &value, const QString &path, QVariantList *list)
    {
        if (value.typeId() != QMetaType::QVariantList)
            return fail(QT_TRID_NOOP("tool.json.expected_array"), path);
        *list = value.toList();
        return true;
    }
    // A finite number keeping its kind; null (or absent) gives an invalid QVariant when allowed.
    bool number(const QVariant &value, const QString &path, bool nullable, QVariant *result)
    {
        if (nullable && (!value.isValid() || isNull(value))) {
            *result = QVariant();
            return true;
        }
        if (!isNumberValue(value))
            return fail(QT_TRID_NOOP("tool.json.expected_number"), path);
        if (value.typeId() == QMetaType::Double && !std::isfinite(value.toDouble()))
            return fail(QT_TRID_NOOP("tool.json.not_finite"), path);
        *result = value;
        return true;
    }
    bool real(const QVariant &value, const QString &path, double *result)
    {
        QVariant v;
        if (!number(value, path, false, &v))
            return false;
        *result = v.toDouble();
        return true;
    }
    bool integer(const QVariant &value, const QString &path, qint64 *result)
    {
        if (value.typeId() != QMetaType::LongLong)
            return fail(QT_TRID_NOOP("tool.json.expected_integer"), path);
        *result = value.toLongLong();
        return true;
    }
    // A string; null (or absent) gives a null QString when allowed.
    bool string(const QVariant &value, const QString &path, bool nullable, QString *result)
    {
        if (nullable && (!value.isValid() || isNull(value))) {
            *result = QString();
            return true;
        }
        if (value.typeId() != QMetaType::QString)
            return fail(QT_TRID_NOOP("tool.json.expected_string"), path);
        *result = value.toString();
        return true;
    }
    // true or false; null (or absent) gives an invalid QVariant when allowed.
    bool flag(const QVariant &value, const QString &path, bool nullable, QVariant *result)
    {
        if (nullable && (!value.isValid() || isNull(value))) {
            *result = QVariant();
            return true;
        }
        if (value.typeId() != QMetaType::Bool)
            return fail(QT_TRID_NOOP("tool.json.expected_bool"), path);
        *result = value;
        return true;
    }

    static QString member(const QString &path, const QString &key)
    {
        return path.isEmpty() ? key : path + u'.' + key;
    }
    static QString element(const QString &path, qsizetype index)
    {
        return QStringLiteral("%1[%2]").arg(path).arg(index);
    }

    MeasurementPtr reading(const QVariant &value, const QString &path)
    {
        static const QStringList allowed = [] {
            QStringList keys = {QStringLiteral("date")};
            for (const ReadingValue *value : ReadingValues::kStored)
                keys.append(value->jsonKey);
            keys << QStringLiteral("comments") << QStringLiteral("tags");
            return keys;
        }();
        QVariantMap map;
        if (!object(value, path, allowed, &map))
            return nullptr;
        auto reading = std::make_shared<Measurement>();
        double date = 0;
        if (!map.contains(QStringLiteral("date"))) {
            fail(QT_TRID_NOOP("tool.json.missing"), member(path, QStringLiteral("date")));
            return nullptr;
        }
        if (!real(map.value(QStringLiteral("date")), member(path, QStringLiteral("date")), &date))
            return nullptr;
        reading->setTheWholeDate(Date(date));
        for (const ReadingValue *value : ReadingValues::kStored) {
            QVariant v;
            const QString name = value->jsonKey;
            if (!number(map.value(name), member(path, name), true, &v))
                return nullptr;
            reading->setValueForKey(v, value->key);
        }
        QString comments;
        if (!string(map.value(QStringLiteral("comments")), member(path, QStringLiteral("comments")),
                    true, &comments))
            return nullptr;
        reading->setComments(comments);
        const QVariant tags = map.value(QStringLiteral("tags"));
        if (tags.isValid() && !isNull(tags)) {
            const QString tagsPath = member(path, QStringLiteral("tags"));
            QVariantList list;
            if (!array(tags, tagsPath, &list))
                return nullptr;
            QStringList strings;
            for (qsizetype i = 0; i < list.size(); ++i) {
                QString tag;
                if (!string(list.at(i), element(tagsPath, i), false, &tag))
                    return nullptr;
                strings.append(tag);
            }
            reading->setTags(strings);
        }
        return reading;
    }

    std::optional<Expression> expression(const QVariant &value, const QString &path, int depth)
    {
        static const QStringList allowed = {QStringLiteral("keyPath"), QStringLiteral("constant")};
        QVariantMap map;
        if (!object(value, path, allowed, &map))
            return std::nullopt;
        if (map.size() != 1) {
            fail(QT_TRID_NOOP("tool.json.bad_expression"), path);
            return std::nullopt;
        }
        if (map.contains(QStringLiteral("keyPath"))) {
            QString keyPath;
            if (!string(map.value(QStringLiteral("keyPath")),
                        member(path, QStringLiteral("keyPath")), false, &keyPath))
                return std::nullopt;
            return Expression::expressionForKeyPath(keyPath);
        }
        QVariant constant;
        if (!constantValue(map.value(QStringLiteral("constant")),
                           member(path, QStringLiteral("constant")), depth, &constant))
            return std::nullopt;
        return Expression::expressionForConstantValue(constant);
    }

    bool constantValue(const QVariant &value, const QString &path, int depth, QVariant *result)
    {
        if (isNull(value)) {
            *result = QVariant();
            return true;
        }
        if (isNumberValue(value))
            return number(value, path, false, result);
        if (value.typeId() == QMetaType::QString) {
            *result = value;
            return true;
        }
        if (value.typeId() == QMetaType::QVariantList) {
            if (depth > 0) // arrays hold plain values only
                return fail(QT_TRID_NOOP("tool.json.bad_constant"), path);
            const QVariantList list = value.toList();
            QVariantList values;
            for (qsizetype i = 0; i < list.size(); ++i) {
                QVariant v;
                if (!constantValue(list.at(i), element(path, i), depth + 1, &v))
                    return false;
                if (!v.isValid())
                    return fail(QT_TRID_NOOP("tool.json.bad_constant"), element(path, i));
                values.append(v);
            }
            *result = values;
            return true;
        }
        if (value.typeId() == QMetaType::QVariantMap) {
            static const QStringList allowed = {QStringLiteral("date"),
                                                QStringLiteral("relativeDate")};
            QVariantMap map;
            if (!object(value, path, allowed, &map))
                return false;
            if (map.size() != 1)
                return fail(QT_TRID_NOOP("tool.json.bad_constant"), path);
            if (map.contains(QStringLiteral("date"))) {
                double seconds = 0;
                if (!real(map.value(QStringLiteral("date")), member(path, QStringLiteral("date")),
                          &seconds))
                    return false;
                *result = QVariant::fromValue(Date(seconds));
                return true;
            }
            const QString relPath = member(path, QStringLiteral("relativeDate"));
            QVariantMap rel;
            if (!object(map.value(QStringLiteral("relativeDate")), relPath,
                        {QStringLiteral("interval"), QStringLiteral("units")}, &rel))
                return false;
            double interval = 0;
            qint64 units = 0;
            if (!real(rel.value(QStringLiteral("interval")),
                      member(relPath, QStringLiteral("interval")), &interval) ||
                !integer(rel.value(QStringLiteral("units")),
                         member(relPath, QStringLiteral("units")), &units))
                return false;
            // Codes other than days, weeks and months are kept as they are: the stored
            // interval alone decides what such a date stands for.
            if (units != qint32(units))
                return fail(QT_TRID_NOOP("tool.json.bad_code"),
                            member(relPath, QStringLiteral("units")), QString::number(units));
            *result = QVariant::fromValue(RelativeDate::fromTimeInterval(interval, qint32(units)));
            return true;
        }
        return fail(QT_TRID_NOOP("tool.json.bad_constant"), path);
    }

    PredicatePtr predicate(const QVariant &value, const QString &path, int depth)
    {
        if (depth > 64) {
            fail(QT_TRID_NOOP("tool.json.too_deep"), path);
            return nullptr;
        }
        static const QStringList allowed = {
            QStringLiteral("comparison"), QStringLiteral("compound"),
            QStringLiteral("subpredicates"), QStringLiteral("constant")};
        QVariantMap map;
        if (!object(value, path, allowed, &map))
            return nullptr;
        if (map.contains(QStringLiteral("constant"))) {
            if (map.size() != 1) {
                fail(QT_TRID_NOOP("tool.json.bad_predicate"), path);
                return nullptr;
            }
            QVariant b;
            if (!flag(map.value(QStringLiteral("constant")),
                      member(path, QStringLiteral("constant")), false, &b))
                return nullptr;
            return b.toBool() ? ConstantPredicate::truePredicate()
                              : ConstantPredicate::falsePredicate();
        }
        if (map.contains(QStringLiteral("compound"))) {
            if (map.size() != 2 || !map.contains(QStringLiteral("subpredicates"))) {
                fail(QT_TRID_NOOP("tool.json.bad_predicate"), path);
                return nullptr;
            }
            const QString typePath = member(path, QStringLiteral("compound"));
            QString typeName;
            if (!string(map.value(QStringLiteral("compound")), typePath, false, &typeName))
                return nullptr;
            qint32 type = -1;
            if (typeName == QLatin1String("and"))
                type = CompoundPredicate::AndPredicateType;
            else if (typeName == QLatin1String("or"))
                type = CompoundPredicate::OrPredicateType;
            else if (typeName == QLatin1String("not"))
                type = CompoundPredicate::NotPredicateType;
            else {
                fail(QT_TRID_NOOP("tool.json.bad_code"), typePath, typeName);
                return nullptr;
            }
            const QString subPath = member(path, QStringLiteral("subpredicates"));
            QVariantList list;
            if (!array(map.value(QStringLiteral("subpredicates")), subPath, &list))
                return nullptr;
            QList<PredicatePtr> subpredicates;
            for (qsizetype i = 0; i < list.size(); ++i) {
                PredicatePtr sub = predicate(list.at(i), element(subPath, i), depth + 1);
                if (!sub)
                    return nullptr;
                subpredicates.append(sub);
            }
            PredicatePtr compound = CompoundPredicate::predicateWithType(type, subpredicates);
            if (!compound)
                fail(QT_TRID_NOOP("tool.json.not_one_subpredicate"), subPath);
            return compound;
        }
        if (!map.contains(QStringLiteral("comparison")) || map.size() != 1) {
            fail(QT_TRID_NOOP("tool.json.bad_predicate"), path);
            return nullptr;
        }
        const QString cPath = member(path, QStringLiteral("comparison"));
        QVariantMap c;
        if (!object(map.value(QStringLiteral("comparison")), cPath,
                    {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("operator"),
                     QStringLiteral("modifier"), QStringLiteral("options")},
                    &c))
            return nullptr;
        const auto left =
            expression(c.value(QStringLiteral("left")), member(cPath, QStringLiteral("left")), 0);
        if (!left)
            return nullptr;
        const auto right =
            expression(c.value(QStringLiteral("right")), member(cPath, QStringLiteral("right")), 0);
        if (!right)
            return nullptr;
        qint64 type = 0, modifier = 0, options = 0;
        const QString opPath = member(cPath, QStringLiteral("operator"));
        const QString modPath = member(cPath, QStringLiteral("modifier"));
        const QString optPath = member(cPath, QStringLiteral("options"));
        if (!integer(c.value(QStringLiteral("operator")), opPath, &type))
            return nullptr;
        if (type < 0 || type > 1000 || !ComparisonPredicate::isValidOperator(qint32(type))) {
            fail(QT_TRID_NOOP("tool.json.bad_code"), opPath, QString::number(type));
            return nullptr;
        }
        if (c.contains(QStringLiteral("modifier"))) {
            if (!integer(c.value(QStringLiteral("modifier")), modPath, &modifier))
                return nullptr;
            if (modifier < ComparisonPredicate::DirectPredicateModifier ||
                modifier > ComparisonPredicate::AnyPredicateModifier) {
                fail(QT_TRID_NOOP("tool.json.bad_code"), modPath, QString::number(modifier));
                return nullptr;
            }
        }
        if (c.contains(QStringLiteral("options"))) {
            if (!integer(c.value(QStringLiteral("options")), optPath, &options))
                return nullptr;
            constexpr qint64 known = ComparisonPredicate::CaseInsensitivePredicateOption |
                                     ComparisonPredicate::DiacriticInsensitivePredicateOption;
            if (options < 0 || (options & ~known) != 0) {
                fail(QT_TRID_NOOP("tool.json.bad_code"), optPath, QString::number(options));
                return nullptr;
            }
        }
        PredicatePtr comparison = ComparisonPredicate::predicateWithLeftExpression(
            *left, *right, qint32(modifier), qint32(type), qint32(options));
        if (!comparison)
            fail(QT_TRID_NOOP("tool.json.bad_predicate"), path);
        return comparison;
    }

    FilterPtr filter(const QVariant &value, const QString &path)
    {
        QVariantMap map;
        if (!object(value, path,
                    {QStringLiteral("name"), QStringLiteral("predicate"), QStringLiteral("format"),
                     QStringLiteral("useInFilters"), QStringLiteral("useInAverages")},
                    &map))
            return nullptr;
        QString name;
        if (!string(map.value(QStringLiteral("name")), member(path, QStringLiteral("name")), false,
                    &name))
            return nullptr;
        const QString predicatePath = member(path, QStringLiteral("predicate"));
        PredicatePtr p = predicate(map.value(QStringLiteral("predicate")), predicatePath, 0);
        if (!p)
            return nullptr;
        if (!p->canEvaluate()) {
            fail(QT_TRID_NOOP("tool.json.unusable_predicate"), predicatePath, p->evaluationError());
            return nullptr;
        }
        // "format" is the text form of the predicate, written for people; the tree decides.
        QString format;
        if (!string(map.value(QStringLiteral("format")), member(path, QStringLiteral("format")),
                    true, &format))
            return nullptr;
        QVariant useInFilters, useInAverages;
        if (!flag(map.value(QStringLiteral("useInFilters")),
                  member(path, QStringLiteral("useInFilters")), true, &useInFilters) ||
            !flag(map.value(QStringLiteral("useInAverages")),
                  member(path, QStringLiteral("useInAverages")), true, &useInAverages))
            return nullptr;
        auto filter = std::make_shared<Filter>(name);
        filter->setPredicate(p);
        filter->setUseInFilters(useInFilters);
        filter->setUseInAverages(useInAverages);
        return filter;
    }

    InformationItemPtr information(const QVariant &value, const QString &path)
    {
        QVariantMap map;
        if (!object(value, path,
                    {QStringLiteral("name"), QStringLiteral("value"), QStringLiteral("printed")},
                    &map))
            return nullptr;
        QString name, text;
        QVariant printed;
        if (!string(map.value(QStringLiteral("name")), member(path, QStringLiteral("name")), true,
                    &name) ||
            !string(map.value(QStringLiteral("value")), member(path, QStringLiteral("value")), true,
                    &text) ||
            !flag(map.value(QStringLiteral("printed")), member(path, QStringLiteral("printed")),
                  true, &printed))
            return nullptr;
        QVariantMap dictionary;
        if (!name.isNull())
            dictionary.insert(InformationItem::kName, name);
        if (!text.isNull())
            dictionary.insert(InformationItem::kValue, text);
        if (printed.isValid())
            dictionary.insert(InformationItem::kPrinted, printed.toBool());
        return InformationItem::fromDictionary(dictionary);
    }

    bool printInfo(const QVariant &value, const QString &path, QVariantMap *result)
    {
        result->clear();
        if (!value.isValid() || isNull(value))
            return true;
        QVariantMap map;
        if (!object(value, path,
                    {QStringLiteral("paperWidth"), QStringLiteral("paperHeight"),
                     QStringLiteral("leftMargin"), QStringLiteral("rightMargin"),
                     QStringLiteral("topMargin"), QStringLiteral("bottomMargin"),
                     QStringLiteral("orientation")},
                    &map))
            return false;
        QVariant width, height;
        if (!number(map.value(QStringLiteral("paperWidth")),
                    member(path, QStringLiteral("paperWidth")), true, &width) ||
            !number(map.value(QStringLiteral("paperHeight")),
                    member(path, QStringLiteral("paperHeight")), true, &height))
            return false;
        if (width.isValid() != height.isValid())
            return fail(QT_TRID_NOOP("tool.json.missing"),
                        member(path, width.isValid() ? QStringLiteral("paperHeight")
                                                     : QStringLiteral("paperWidth")));
        if (width.isValid())
            result->insert(PrintSettings::kPaperSize, QSizeF(width.toDouble(), height.toDouble()));
        const std::pair<const char *, const QString *> margins[] = {
            {"leftMargin", &PrintSettings::kLeftMargin},
            {"rightMargin", &PrintSettings::kRightMargin},
            {"topMargin", &PrintSettings::kTopMargin},
            {"bottomMargin", &PrintSettings::kBottomMargin}};
        for (const auto &[name, key] : margins) {
            QVariant v;
            if (!number(map.value(QLatin1String(name)), member(path, QLatin1String(name)), true,
                        &v))
                return false;
            if (v.isValid())
                result->insert(*key, v.toDouble());
        }
        const QString orientationPath = member(path, QStringLiteral("orientation"));
        QString orientation;
        if (!string(map.value(QStringLiteral("orientation")), orientationPath, true, &orientation))
            return false;
        if (orientation == QLatin1String("portrait"))
            result->insert(PrintSettings::kOrientation, qlonglong(0));
        else if (orientation == QLatin1String("landscape"))
            result->insert(PrintSettings::kOrientation, qlonglong(1));
        else if (!orientation.isNull())
            return fail(QT_TRID_NOOP("tool.json.bad_code"), orientationPath, orientation);
        return true;
    }
};

// --- Writing the document ----------------------------------------------------------------------

void writeConstant(JsonWriter &w, const QVariant &value);

void writeExpression(JsonWriter &w, const Expression &expression)
{
    w.beginObject();
    if (expression.expressionType() == Expression::KeyPathExpressionType) {
        w.key(QStringLiteral("keyPath"));
        w.string(expression.keyPath());
    } else {
        w.key(QStringLiteral("constant"));
        writeConstant(w, expression.constantValue());
    }
    w.endObject();
}

void writeConstant(JsonWriter &w, const QVariant &value)
{
    if (!value.isValid()) {
        w.null();
    } else if (value.canConvert<RelativeDate>() &&
               value.metaType() == QMetaType::fromType<RelativeDate>()) {
        const RelativeDate date = value.value<RelativeDate>();
        w.beginObject();
        w.key(QStringLiteral("relativeDate"));
        w.beginObject();
        w.key(QStringLiteral("interval"));
        w.real(date.timeIntervalSinceNow());
        w.key(QStringLiteral("units"));
        w.integer(date.dateUnits());
        w.endObject();
        w.endObject();
    } else if (value.metaType() == QMetaType::fromType<Date>()) {
        w.beginObject();
        w.key(QStringLiteral("date"));
        w.real(value.value<Date>().timeIntervalSinceReferenceDate());
        w.endObject();
    } else if (value.typeId() == QMetaType::QStringList) {
        w.beginArray();
        for (const QString &s : value.toStringList())
            w.string(s);
        w.endArray();
    } else if (value.typeId() == QMetaType::QVariantList) {
        w.beginArray();
        for (const QVariant &v : value.toList())
            writeConstant(w, v);
        w.endArray();
    } else if (value.typeId() == QMetaType::QString) {
        w.string(value.toString());
    } else if (Number::isNumber(value)) {
        w.number(Number::normalized(value));
    } else {
        w.null();
    }
}

void writePredicate(JsonWriter &w, const Predicate *predicate)
{
    if (!predicate) {
        w.null();
        return;
    }
    w.beginObject();
    switch (predicate->kind()) {
    case Predicate::Kind::True:
    case Predicate::Kind::False:
        w.key(QStringLiteral("constant"));
        w.boolean(predicate->kind() == Predicate::Kind::True);
        break;
    case Predicate::Kind::Compound: {
        const CompoundPredicate *compound = predicate->asCompound();
        w.key(QStringLiteral("compound"));
        switch (compound->compoundPredicateType()) {
        case CompoundPredicate::AndPredicateType:
            w.string(QStringLiteral("and"));
            break;
        case CompoundPredicate::OrPredicateType:
            w.string(QStringLiteral("or"));
            break;
        default:
            w.string(QStringLiteral("not"));
            break;
        }
        w.key(QStringLiteral("subpredicates"));
        w.beginArray();
        for (const PredicatePtr &sub : compound->subpredicates())
            writePredicate(w, sub.get());
        w.endArray();
        break;
    }
    case Predicate::Kind::Comparison: {
        const ComparisonPredicate *comparison = predicate->asComparison();
        w.key(QStringLiteral("comparison"));
        w.beginObject();
        w.key(QStringLiteral("left"));
        writeExpression(w, comparison->leftExpression());
        w.key(QStringLiteral("right"));
        writeExpression(w, comparison->rightExpression());
        w.key(QStringLiteral("operator"));
        w.integer(comparison->predicateOperatorType());
        w.key(QStringLiteral("modifier"));
        w.integer(comparison->comparisonPredicateModifier());
        w.key(QStringLiteral("options"));
        w.integer(comparison->options());
        w.endObject();
        break;
    }
    }
    w.endObject();
}

void writeFlag(JsonWriter &w, const QVariant &flag)
{
    if (flag.isValid())
        w.boolean(flag.toBool());
    else
        w.null();
}

void writeNumberEntry(JsonWriter &w, const QVariantMap &map, const QString &key)
{
    const QVariant v = map.value(key);
    if (Number::isNumber(v))
        w.real(Number::toDouble(v));
    else
        w.null();
}

// Any value of the parsed form (see DocumentJson::parseValue()).
void writeValue(JsonWriter &w, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        w.beginObject();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            w.key(it.key());
            writeValue(w, it.value());
        }
        w.endObject();
        break;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        w.beginArray();
        for (const QVariant &element : value.toList())
            writeValue(w, element);
        w.endArray();
        break;
    case QMetaType::QString:
        w.string(value.toString());
        break;
    case QMetaType::Bool:
        w.boolean(value.toBool());
        break;
    default:
        w.number(value); // null unless a number
        break;
    }
}

} // namespace

std::optional<QVariant> DocumentJson::parseValue(const QByteArray &json, QString *error)
{
    QString parseError;
    std::optional<QVariant> value = JsonParser(json).parse(&parseError);
    if (!value && error)
        *error = parseError;
    return value;
}

QByteArray DocumentJson::formatValue(const QVariant &value)
{
    JsonWriter w;
    writeValue(w, value);
    return w.text();
}

QByteArray DocumentJson::formatNumber(const QVariant &number)
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

QByteArray DocumentJson::toJson(const MyDocument &document)
{
    JsonWriter w;
    w.beginObject();

    w.key(QStringLiteral("readings"));
    w.beginArray();
    for (const ConstMeasurementPtr &reading : document.allItems()) {
        w.beginObject();
        w.key(QStringLiteral("date"));
        w.real(reading->theWholeDate().timeIntervalSinceReferenceDate());
        for (const ReadingValue *value : ReadingValues::kStored) {
            w.key(value->jsonKey);
            w.number(reading->valueForKey(value->key));
        }
        w.key(QStringLiteral("comments"));
        w.nullableString(reading->Comments());
        w.key(QStringLiteral("tags"));
        if (reading->hasTags()) {
            w.beginArray();
            for (const QString &tag : reading->Tags())
                w.string(tag);
            w.endArray();
        } else {
            w.null();
        }
        w.endObject();
    }
    w.endArray();

    w.key(QStringLiteral("filters"));
    w.beginArray();
    qsizetype selected = -1;
    for (qsizetype i = 0; i < document.filters().size(); ++i) {
        const FilterPtr &filter = document.filters().at(i);
        if (filter == document.filter())
            selected = i;
        w.beginObject();
        w.key(QStringLiteral("name"));
        w.string(filter->name());
        w.key(QStringLiteral("predicate"));
        writePredicate(w, filter->predicate().get());
        w.key(QStringLiteral("format"));
        if (filter->predicate())
            w.string(filter->predicate()->predicateFormat());
        else
            w.null();
        w.key(QStringLiteral("useInFilters"));
        writeFlag(w, filter->useInFilters());
        w.key(QStringLiteral("useInAverages"));
        writeFlag(w, filter->useInAverages());
        w.endObject();
    }
    w.endArray();

    w.key(QStringLiteral("selectedFilter"));
    if (selected >= 0)
        w.integer(selected);
    else
        w.null();
    w.key(QStringLiteral("sortAscending"));
    w.boolean(document.sortItemsAscending());

    w.key(QStringLiteral("information"));
    w.beginArray();
    for (const InformationItemPtr &item : document.information()) {
        const QVariantMap dictionary = item->dictionary();
        w.beginObject();
        w.key(QStringLiteral("name"));
        w.nullableString(dictionary.value(InformationItem::kName).toString());
        w.key(QStringLiteral("value"));
        w.nullableString(dictionary.value(InformationItem::kValue).toString());
        w.key(QStringLiteral("printed"));
        writeFlag(w, dictionary.value(InformationItem::kPrinted));
        w.endObject();
    }
    w.endArray();

    const QVariantMap info = document.printInfo();
    w.key(QStringLiteral("printInfo"));
    w.beginObject();
    const QVariant paper = info.value(PrintSettings::kPaperSize);
    const QSizeF size = paper.toSizeF();
    w.key(QStringLiteral("paperWidth"));
    if (paper.typeId() == QMetaType::QSizeF)
        w.real(size.width());
    else
        w.null();
    w.key(QStringLiteral("paperHeight"));
    if (paper.typeId() == QMetaType::QSizeF)
        w.real(size.height());
    else
        w.null();
    w.key(QStringLiteral("leftMargin"));
    writeNumberEntry(w, info, PrintSettings::kLeftMargin);
    w.key(QStringLiteral("rightMargin"));
    writeNumberEntry(w, info, PrintSettings::kRightMargin);
    w.key(QStringLiteral("topMargin"));
    writeNumberEntry(w, info, PrintSettings::kTopMargin);
    w.key(QStringLiteral("bottomMargin"));
    writeNumberEntry(w, info, PrintSettings::kBottomMargin);
    w.key(QStringLiteral("orientation"));
    const QVariant orientation = info.value(PrintSettings::kOrientation);
    if (Number::isNumber(orientation))
        w.string(Number::toDouble(orientation) == 1 ? QStringLiteral("landscape")
                                                    : QStringLiteral("portrait"));
    else
        w.null();
    w.endObject();

    w.endObject();
    return w.text();
}

bool DocumentJson::fromJson(const QByteArray &json, MyDocument *document, QString *error)
{
    QString parseError;
    JsonParser parser(json);
    const std::optional<QVariant> root = parser.parse(&parseError);
    if (!root) {
        if (error)
            *error = parseError;
        return false;
    }

    Reader r;
    auto failed = [&] {
        if (error)
            *error = r.error;
        return false;
    };
    QVariantMap map;
    if (!r.object(*root, QString(),
                  {QStringLiteral("readings"), QStringLiteral("filters"),
                   QStringLiteral("selectedFilter"), QStringLiteral("sortAscending"),
                   QStringLiteral("information"), QStringLiteral("printInfo")},
                  &map))
        return failed();

    auto present = [&map](const char *key) {
        const QVariant v = map.value(QLatin1String(key));
        return v.isValid() && !isNull(v);
    };

    QVariantList list;
    std::optional<MeasurementList> readings;
    if (present("readings")) {
        if (!r.array(map.value(QStringLiteral("readings")), QStringLiteral("readings"), &list))
            return failed();
        readings.emplace();
        readings->reserve(list.size());
        for (qsizetype i = 0; i < list.size(); ++i) {
            MeasurementPtr reading =
                r.reading(list.at(i), Reader::element(QStringLiteral("readings"), i));
            if (!reading)
                return failed();
            readings->append(reading);
        }
    }

    std::optional<FilterList> filters;
    if (present("filters")) {
        if (!r.array(map.value(QStringLiteral("filters")), QStringLiteral("filters"), &list))
            return failed();
        filters.emplace();
        for (qsizetype i = 0; i < list.size(); ++i) {
            FilterPtr filter = r.filter(list.at(i), Reader::element(QStringLiteral("filters"), i));
            if (!filter)
                return failed();
            filters->append(filter);
        }
    }

    // The selection is an index into the filters given, or into the document's own.
    const FilterList &selectable = filters ? *filters : document->filters();
    std::optional<FilterPtr> selected;
    if (present("selectedFilter")) {
        qint64 index = 0;
        if (!r.integer(map.value(QStringLiteral("selectedFilter")),
                       QStringLiteral("selectedFilter"), &index))
            return failed();
        if (index < 0 || index >= selectable.size()) {
            r.fail(QT_TRID_NOOP("tool.json.bad_index"), QStringLiteral("selectedFilter"),
                   QString::number(index));
            return failed();
        }
        selected = selectable.at(index);
    } else if (map.contains(QStringLiteral("selectedFilter")) || filters) {
        selected = FilterPtr(); // null, or new filters with none named
    }

    QVariant ascending;
    if (!r.flag(map.value(QStringLiteral("sortAscending")), QStringLiteral("sortAscending"), true,
                &ascending))
        return failed();

    std::optional<InformationList> information;
    if (present("information")) {
        if (!r.array(map.value(QStringLiteral("information")), QStringLiteral("information"),
                     &list))
            return failed();
        information.emplace();
        for (qsizetype i = 0; i < list.size(); ++i) {
            InformationItemPtr item =
                r.information(list.at(i), Reader::element(QStringLiteral("information"), i));
            if (!item)
                return failed();
            information->append(item);
        }
    }

    std::optional<QVariantMap> printInfo;
    if (map.contains(QStringLiteral("printInfo"))) {
        printInfo.emplace();
        if (!r.printInfo(map.value(QStringLiteral("printInfo")), QStringLiteral("printInfo"),
                         &*printInfo))
            return failed();
    }

    // Everything is read: only now does the document change.
    UndoManager *undo = document->undoManager();
    undo->disableUndoRegistration();
    if (readings)
        document->setAllMeasurements(*readings);
    if (filters)
        document->setFilters(*filters);
    if (selected)
        document->setFilter(*selected);
    if (information)
        document->setInformation(*information);
    if (printInfo)
        document->setPrintInfo(*printInfo);
    if (ascending.isValid())
        document->setSortItemsAscending(ascending.toBool());
    undo->enableUndoRegistration();
    undo->removeAllActions();
    return true;
}

QByteArray DocumentJson::statsJson(const MyDocument &document)
{
    JsonWriter w;
    w.beginObject();
    w.key(QStringLiteral("total"));
    w.integer(document.allItems().size());
    w.key(QStringLiteral("filtered"));
    w.integer(document.items().size());
    w.key(QStringLiteral("averages"));
    w.beginArray();
    for (const AveragePtr &average : document.averages()) {
        w.beginObject();
        w.key(QStringLiteral("name"));
        w.string(average->name());
        w.key(QStringLiteral("count"));
        w.integer(average->measurements().size());
        w.key(QStringLiteral("values"));
        w.beginObject();
        for (const QString &key : Average::keys()) {
            const AverageItemPtr item = average->item(key);
            w.key(key);
            w.beginObject();
            w.key(QStringLiteral("valid"));
            w.boolean(item->isValid());
            w.key(QStringLiteral("mean"));
            w.number(item->isValid() ? item->average() : 0.0);
            w.key(QStringLiteral("deviation"));
            w.number(item->isValid() ? item->deviation() : 0.0);
            w.endObject();
        }
        w.endObject();
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.text();
}

QByteArray DocumentJson::homeSummaryJson(const HomeSummary &summary, const QString &filterName)
{
    JsonWriter w;
    const auto statistic = [&w](const HomeSummary::Statistic &s) {
        if (!s.isValid()) {
            w.null();
            return;
        }
        w.beginObject();
        w.key(QStringLiteral("mean"));
        w.number(s.mean);
        w.key(QStringLiteral("deviation"));
        w.number(s.deviation);
        w.endObject();
    };
    w.beginObject();
    w.key(QStringLiteral("filter"));
    w.string(filterName);
    w.key(QStringLiteral("period"));
    if (summary.hasPeriod()) {
        w.beginObject();
        w.key(QStringLiteral("first"));
        w.string(summary.firstDay().toString(Qt::ISODate));
        w.key(QStringLiteral("last"));
        w.string(summary.lastDay().toString(Qt::ISODate));
        w.endObject();
    } else {
        w.null();
    }
    w.key(QStringLiteral("countedDays"));
    w.integer(summary.countedDays());
    w.key(QStringLiteral("countedReadings"));
    w.integer(summary.countedReadings());
    w.key(QStringLiteral("daysWithMorningAndEvening"));
    w.integer(summary.completeDays());
    static const char *const parts[] = {"all", "morning", "evening"};
    static const char *const values[] = {"systolic", "diastolic", "pulse"};
    for (int part = 0; part < HomeSummary::PartCount; ++part) {
        w.key(QLatin1String(parts[part]));
        w.beginObject();
        w.key(QStringLiteral("readings"));
        w.integer(summary.readingsIn(HomeSummary::Part(part)));
        for (int value = 0; value < HomeSummary::ValueCount; ++value) {
            w.key(QLatin1String(values[value]));
            statistic(summary.statistic(HomeSummary::Part(part), HomeSummary::Value(value)));
        }
        w.endObject();
    }
    w.key(QStringLiteral("threshold"));
    w.beginObject();
    w.key(QStringLiteral("systolic"));
    w.integer(summary.settings().thresholdSystolic);
    w.key(QStringLiteral("diastolic"));
    w.integer(summary.settings().thresholdDiastolic);
    w.endObject();
    w.key(QStringLiteral("complete"));
    w.boolean(summary.isComplete());
    w.key(QStringLiteral("missingDays"));
    w.integer(summary.missingDays());
    w.key(QStringLiteral("verdict"));
    switch (summary.verdict()) {
    case HomeSummary::Verdict::AtOrAbove:
        w.string(QStringLiteral("atOrAboveThreshold"));
        break;
    case HomeSummary::Verdict::Below:
        w.string(QStringLiteral("belowThreshold"));
        break;
    case HomeSummary::Verdict::None:
        w.null();
        break;
    }
    w.endObject();
    return w.text();
}
