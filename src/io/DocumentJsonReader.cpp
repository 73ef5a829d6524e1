// Reading the JSON form of a document: the syntax is JsonReader's, the mapping onto the
// document is here.

#include "DocumentJson.h"

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "ConstantPredicate.h"
#include "DocumentArchive.h"
#include "Expression.h"
#include "Filter.h"
#include "HomeSummary.h"
#include "InformationItem.h"
#include "JsonReader.h"
#include "JsonWriter.h"
#include "MyDocument.h"
#include "Number.h"
#include "PrintSettings.h"
#include "ReadingValues.h"
#include "RelativeDate.h"
#include "UndoManager.h"

#include <QLocale>
#include <QSizeF>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

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

    // A reading straight from the text, the reader at its value. The path that names it in a
    // message ("readings[3]") is made only for a message.
    MeasurementPtr reading(JsonReader &json, qsizetype index)
    {
        const auto path = [index] { return element(QStringLiteral("readings"), index); };
        const auto at = [&path](QLatin1String name) { return member(path(), name); };
        if (json.peek() != JsonReader::Type::Object) {
            fail(QT_TRID_NOOP("tool.json.expected_object"), path());
            return nullptr;
        }
        // Where each member's value starts, -1 when absent: the date, the stored values in the
        // table's order, the comments and the tags.
        constexpr int kDate = 0, kComments = 1 + ReadingValues::kStoredCount, kTags = kComments + 1;
        qsizetype starts[kTags + 1];
        std::fill(std::begin(starts), std::end(starts), -1);
        QStringList unknown;
        JsonReader::Key key;
        json.enterObject();
        while (json.nextMember(&key)) {
            const int slot = readingSlot(json, key);
            if (slot < 0)
                unknown.append(json.keyText(key));
            else
                starts[slot] = json.position();
            json.skipValue();
        }
        const qsizetype end = json.position();
        if (!unknown.isEmpty()) {
            // The first in sorted order, as with the other objects.
            fail(QT_TRID_NOOP("tool.json.unknown_key"),
                 member(path(), *std::min_element(unknown.cbegin(), unknown.cend())));
            return nullptr;
        }
        if (starts[kDate] < 0) {
            fail(QT_TRID_NOOP("tool.json.missing"), at("date"_L1));
            return nullptr;
        }
        auto reading = std::make_shared<Measurement>();
        QVariant v;
        if (!numberAt(
                json, starts[kDate], false, [&] { return at("date"_L1); }, &v))
            return nullptr;
        reading->setTheWholeDate(Date(v.toDouble()));
        for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
            const ReadingValue *value = ReadingValues::kStored[s];
            if (!numberAt(
                    json, starts[1 + s], true, [&] { return at(value->jsonKey); }, &v))
                return nullptr;
            if (v.isValid())
                reading->setValueForKey(v, value->key);
        }
        if (starts[kComments] >= 0) {
            json.setPosition(starts[kComments]);
            const JsonReader::Type type = json.peek();
            QString comments;
            if (type == JsonReader::Type::String)
                json.readString(&comments);
            else if (type != JsonReader::Type::Null) {
                fail(QT_TRID_NOOP("tool.json.expected_string"), at("comments"_L1));
                return nullptr;
            }
            reading->setComments(comments);
        }
        if (starts[kTags] >= 0) {
            json.setPosition(starts[kTags]);
            const JsonReader::Type type = json.peek();
            if (type != JsonReader::Type::Null) {
                if (type != JsonReader::Type::Array) {
                    fail(QT_TRID_NOOP("tool.json.expected_array"), at("tags"_L1));
                    return nullptr;
                }
                QStringList tags;
                json.enterArray();
                while (json.nextElement()) {
                    QString tag;
                    if (json.peek() != JsonReader::Type::String) {
                        fail(QT_TRID_NOOP("tool.json.expected_string"),
                             element(at("tags"_L1), tags.size()));
                        return nullptr;
                    }
                    json.readString(&tag);
                    tags.append(tag);
                }
                reading->setTags(tags);
            }
        }
        json.setPosition(end);
        return reading;
    }

    // Which member of a reading a key names, as an index into the reading's members (see
    // reading()); -1 for none.
    static int readingSlot(JsonReader &json, const JsonReader::Key &key)
    {
        const auto is = [&](QLatin1String name) {
            return key.bPlain ? key.raw == QByteArrayView(name.data(), name.size())
                              : json.keyText(key) == name;
        };
        if (is("date"_L1))
            return 0;
        for (int s = 0; s < ReadingValues::kStoredCount; ++s) {
            if (is(ReadingValues::kStored[s]->jsonKey))
                return 1 + s;
        }
        if (is("comments"_L1))
            return 1 + ReadingValues::kStoredCount;
        if (is("tags"_L1))
            return 2 + ReadingValues::kStoredCount;
        return -1;
    }

    // A finite number at a position of the text, keeping its kind; null (or absent, at -1)
    // gives an invalid QVariant when allowed.
    template <typename Path>
    bool numberAt(JsonReader &json, qsizetype start, bool nullable, Path path, QVariant *result)
    {
        JsonReader::Type type = JsonReader::Type::Null;
        if (start >= 0) {
            json.setPosition(start);
            type = json.peek();
        }
        if (nullable && type == JsonReader::Type::Null) {
            *result = QVariant();
            return true;
        }
        if (type != JsonReader::Type::Number)
            return fail(QT_TRID_NOOP("tool.json.expected_number"), path());
        json.readNumber(result);
        if (result->typeId() == QMetaType::Double && !std::isfinite(result->toDouble()))
            return fail(QT_TRID_NOOP("tool.json.not_finite"), path());
        return true;
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

} // namespace

std::optional<QVariant> DocumentJson::parseValue(const QByteArray &json, QString *error)
{
    QString parseError;
    std::optional<QVariant> value = JsonReader(json).parse(&parseError);
    if (!value && error)
        *error = parseError;
    return value;
}

bool DocumentJson::fromJson(const QByteArray &json, MyDocument *document, QString *error)
{
    // The whole text is checked first, so that a fault in its syntax is reported wherever it
    // stands; then the readings are read straight from the text and the rest as small trees.
    JsonReader text(json);
    QString syntaxError;
    if (!text.check(&syntaxError)) {
        if (error)
            *error = syntaxError;
        return false;
    }

    Reader r;
    auto failed = [&] {
        if (error)
            *error = r.error;
        return false;
    };
    if (text.peek() != JsonReader::Type::Object) {
        r.fail(QT_TRID_NOOP("tool.json.expected_object"), QString());
        return failed();
    }
    // The top-level members; the readings stand in the map as true (or null) and are read
    // from where they start.
    QVariantMap members;
    qsizetype readingsStart = -1;
    JsonReader::Key key;
    text.enterObject();
    while (text.nextMember(&key)) {
        const QString name = text.keyText(key);
        QVariant value;
        if (name == "readings"_L1) {
            readingsStart = text.position();
            value = text.peek() == JsonReader::Type::Null ? QVariant::fromValue(nullptr)
                                                          : QVariant(true);
            text.skipValue();
        } else {
            text.readValue(&value);
        }
        members.insert(name, value);
    }
    QVariantMap map;
    if (!r.object(members, QString(),
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
        text.setPosition(readingsStart);
        if (!text.enterArray()) {
            r.fail(QT_TRID_NOOP("tool.json.expected_array"), QStringLiteral("readings"));
            return failed();
        }
        readings.emplace();
        for (qsizetype i = 0; text.nextElement(); ++i) {
            MeasurementPtr reading = r.reading(text, i);
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
