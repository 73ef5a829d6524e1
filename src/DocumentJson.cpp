#include "DocumentJson.h"

#include "Average.h"
#include "AverageItem.h"
#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "ConstantPredicate.h"
#include "DocumentArchive.h"
#include "Expression.h"
#include "JsonCodec.h"
#include "MyDocument.h"
#include "Number.h"
#include "RelativeDate.h"
#include "UndoManager.h"

#include <QSizeF>

#include <cmath>

namespace {

using Writer = JsonCodec::Writer;

// A4 in points and the margins of a new document's print settings.
constexpr double kDefaultPaperWidth = 595.0;
constexpr double kDefaultPaperHeight = 842.0;
constexpr double kDefaultSideMargin = 72.0;
constexpr double kDefaultTopBottomMargin = 90.0;

const char *const kNumberKeys[] = {"systolic", "diastolic", "pulse",  "weight",
                                   "custom1",  "custom2",   "custom3"};
const Measurement::Key kNumberFields[] = {
    Measurement::Key::Systolic,    Measurement::Key::Diastolic,    Measurement::Key::Pulse,
    Measurement::Key::Weight,      Measurement::Key::CustomValue1, Measurement::Key::CustomValue2,
    Measurement::Key::CustomValue3};

bool isNull(const QVariant &v)
{
    return !v.isValid() || v.typeId() == QMetaType::Nullptr;
}

bool isJsonNumber(const QVariant &v)
{
    return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
}

QVariant expressionTree(const Expression &e)
{
    if (e.expressionType() == Expression::KeyPathExpressionType)
        return QVariantMap{{QStringLiteral("keyPath"), e.keyPath()}};
    QVariant constant;
    const QVariant value = e.constantValue();
    switch (e.constantKind()) {
    case Expression::ConstantKind::Nil:
        constant = QVariant::fromValue(nullptr);
        break;
    case Expression::ConstantKind::Date:
        constant = QVariantMap{
            {QStringLiteral("date"), value.value<Date>().timeIntervalSinceReferenceDate()}};
        break;
    case Expression::ConstantKind::RelativeDate: {
        const RelativeDate date = value.value<RelativeDate>();
        constant =
            QVariantMap{{QStringLiteral("relativeDate"),
                         QVariantMap{{QStringLiteral("interval"), date.timeIntervalSinceNow()},
                                     {QStringLiteral("units"), qlonglong(date.dateUnits())}}}};
        break;
    }
    case Expression::ConstantKind::StringList:
        constant = QVariant(value.toStringList()).toList();
        break;
    default:
        constant = value;
    }
    return QVariantMap{{QStringLiteral("constant"), constant}};
}

bool expressionFromTree(const QVariant &tree, Expression *out, QString *error)
{
    const QVariantMap map = tree.toMap();
    if (map.size() == 1 && map.contains(QStringLiteral("keyPath")) &&
        map.value(QStringLiteral("keyPath")).typeId() == QMetaType::QString) {
        *out = Expression::expressionForKeyPath(map.value(QStringLiteral("keyPath")).toString());
        return true;
    }
    if (map.size() != 1 || !map.contains(QStringLiteral("constant"))) {
        *error = QStringLiteral("an expression is {\"keyPath\": ...} or {\"constant\": ...}");
        return false;
    }
    const QVariant constant = map.value(QStringLiteral("constant"));
    QVariant value;
    if (isNull(constant)) {
        value = QVariant();
    } else if (constant.typeId() == QMetaType::QVariantMap) {
        const QVariantMap special = constant.toMap();
        const QVariant date = special.value(QStringLiteral("date"));
        const QVariantMap relative = special.value(QStringLiteral("relativeDate")).toMap();
        if (special.size() == 1 && isJsonNumber(date)) {
            value = QVariant::fromValue(Date(date.toDouble()));
        } else if (special.size() == 1 &&
                   isJsonNumber(relative.value(QStringLiteral("interval"))) &&
                   relative.value(QStringLiteral("units")).typeId() == QMetaType::LongLong) {
            value = QVariant::fromValue(RelativeDate::fromTimeInterval(
                relative.value(QStringLiteral("interval")).toDouble(),
                qint32(relative.value(QStringLiteral("units")).toLongLong())));
        } else {
            *error = QStringLiteral("unknown constant");
            return false;
        }
    } else {
        value = constant;
    }
    *out = Expression::expressionForConstantValue(value);
    if (out->constantKind() == Expression::ConstantKind::Unsupported) {
        *error = QStringLiteral("unsupported constant");
        return false;
    }
    return true;
}

void writeNumber(Writer &w, const QVariant &v)
{
    if (!v.isValid())
        w.null();
    else if (Number::isReal(v))
        w.real(v.toDouble());
    else
        w.integer(v.toLongLong());
}

void writeFlag(Writer &w, const QVariant &flag)
{
    if (flag.isValid())
        w.boolean(flag.toBool());
    else
        w.null();
}

} // namespace

// --- Predicates ----------------------------------------------------------------------------------

QVariant DocumentJson::predicateToTree(const PredicatePtr &predicate)
{
    if (!predicate)
        return QVariant::fromValue(nullptr);
    switch (predicate->kind()) {
    case Predicate::Kind::Comparison: {
        const ComparisonPredicate &c = *predicate->asComparison();
        return QVariantMap{
            {QStringLiteral("comparison"),
             QVariantMap{{QStringLiteral("left"), expressionTree(c.leftExpression())},
                         {QStringLiteral("right"), expressionTree(c.rightExpression())},
                         {QStringLiteral("operator"), qlonglong(c.predicateOperatorType())},
                         {QStringLiteral("modifier"), qlonglong(c.comparisonPredicateModifier())},
                         {QStringLiteral("options"), qlonglong(c.options())}}}};
    }
    case Predicate::Kind::Compound: {
        const CompoundPredicate &c = *predicate->asCompound();
        static const char *const kTypes[] = {"not", "and", "or"};
        QVariantList subpredicates;
        for (const PredicatePtr &p : c.subpredicates())
            subpredicates.append(predicateToTree(p));
        return QVariantMap{
            {QStringLiteral("compound"), QLatin1String(kTypes[c.compoundPredicateType()])},
            {QStringLiteral("subpredicates"), subpredicates}};
    }
    case Predicate::Kind::True:
    case Predicate::Kind::False:
        return QVariantMap{
            {QStringLiteral("constant"), predicate->kind() == Predicate::Kind::True}};
    }
    return QVariant();
}

PredicatePtr DocumentJson::predicateFromTree(const QVariant &tree, QString *error)
{
    QString why;
    auto refuse = [&](const QString &reason) -> PredicatePtr {
        if (error)
            *error = reason;
        return nullptr;
    };
    const QVariantMap map = tree.toMap();
    if (tree.typeId() != QMetaType::QVariantMap)
        return refuse(QStringLiteral("a predicate is an object"));
    if (map.contains(QStringLiteral("comparison"))) {
        const QVariantMap c = map.value(QStringLiteral("comparison")).toMap();
        Expression left, right;
        if (!expressionFromTree(c.value(QStringLiteral("left")), &left, &why) ||
            !expressionFromTree(c.value(QStringLiteral("right")), &right, &why))
            return refuse(why);
        auto code = [&c](const char *key) {
            const QVariant v = c.value(QLatin1String(key));
            return v.typeId() == QMetaType::LongLong ? qint32(v.toLongLong()) : qint32(-1);
        };
        const qint32 op = code("operator");
        const qint32 modifier = c.contains(QStringLiteral("modifier")) ? code("modifier") : 0;
        const qint32 options = c.contains(QStringLiteral("options")) ? code("options") : 0;
        const PredicatePtr p =
            ComparisonPredicate::predicateWithLeftExpression(left, right, modifier, op, options);
        return p ? p : refuse(QStringLiteral("bad operator or modifier"));
    }
    if (map.contains(QStringLiteral("compound"))) {
        const QString type = map.value(QStringLiteral("compound")).toString();
        const qint32 code = type == u"not" ? 0 : type == u"and" ? 1 : type == u"or" ? 2 : -1;
        QList<PredicatePtr> subpredicates;
        for (const QVariant &item : map.value(QStringLiteral("subpredicates")).toList()) {
            const PredicatePtr p = predicateFromTree(item, error);
            if (!p)
                return nullptr;
            subpredicates.append(p);
        }
        const PredicatePtr p = CompoundPredicate::predicateWithType(code, subpredicates);
        return p ? p : refuse(QStringLiteral("bad compound predicate"));
    }
    const QVariant constant = map.value(QStringLiteral("constant"));
    if (map.size() == 1 && constant.typeId() == QMetaType::Bool)
        return constant.toBool() ? ConstantPredicate::truePredicate()
                                 : ConstantPredicate::falsePredicate();
    return refuse(QStringLiteral("unknown predicate"));
}

// --- Print settings ------------------------------------------------------------------------------

double DocumentJson::paperWidth(const QVariantMap &printInfo)
{
    const QVariant size = printInfo.value(DocumentArchive::kPaperSize);
    return size.typeId() == QMetaType::QSizeF ? size.toSizeF().width() : kDefaultPaperWidth;
}

double DocumentJson::paperHeight(const QVariantMap &printInfo)
{
    const QVariant size = printInfo.value(DocumentArchive::kPaperSize);
    return size.typeId() == QMetaType::QSizeF ? size.toSizeF().height() : kDefaultPaperHeight;
}

double DocumentJson::margin(const QVariantMap &printInfo, const QString &key)
{
    const QVariant value = printInfo.value(key);
    if (Number::isNumber(value))
        return Number::toDouble(value);
    return key == DocumentArchive::kTopMargin || key == DocumentArchive::kBottomMargin
               ? kDefaultTopBottomMargin
               : kDefaultSideMargin;
}

bool DocumentJson::isLandscape(const QVariantMap &printInfo)
{
    return Number::toDouble(printInfo.value(DocumentArchive::kOrientation)) == 1;
}

// --- Documents -----------------------------------------------------------------------------------

QByteArray DocumentJson::toJson(const MyDocument &document)
{
    Writer w;
    w.beginObject();
    w.key(QStringLiteral("readings"));
    w.beginArray();
    for (const MeasurementPtr &reading : document.allItems()) {
        w.beginObject();
        w.key(QStringLiteral("date"));
        w.real(reading->theWholeDate().timeIntervalSinceReferenceDate());
        for (size_t i = 0; i < std::size(kNumberKeys); ++i) {
            w.key(QLatin1String(kNumberKeys[i]));
            writeNumber(w, reading->valueForKey(kNumberFields[i]));
        }
        w.key(QStringLiteral("comments"));
        if (reading->Comments().isNull())
            w.null();
        else
            w.string(reading->Comments());
        w.key(QStringLiteral("tags"));
        if (reading->hasTags())
            w.value(reading->Tags());
        else
            w.null();
        w.endObject();
    }
    w.endArray();

    w.key(QStringLiteral("filters"));
    w.beginArray();
    for (const FilterPtr &filter : document.filters()) {
        w.beginObject();
        w.key(QStringLiteral("name"));
        w.string(filter->name());
        w.key(QStringLiteral("predicate"));
        w.value(predicateToTree(filter->predicate()));
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
    const qsizetype selected = document.filters().indexOf(document.filter());
    if (selected >= 0)
        w.integer(selected);
    else
        w.null();
    w.key(QStringLiteral("sortAscending"));
    w.boolean(document.sortItemsAscending());

    w.key(QStringLiteral("information"));
    w.beginArray();
    for (const InformationItemPtr &item : document.information()) {
        w.beginObject();
        w.key(QStringLiteral("name"));
        w.string(item->name());
        w.key(QStringLiteral("value"));
        w.string(item->value());
        w.key(QStringLiteral("printed"));
        w.boolean(item->isPrinted());
        w.endObject();
    }
    w.endArray();

    const QVariantMap printInfo = document.printInfo();
    w.key(QStringLiteral("printInfo"));
    w.beginObject();
    w.key(QStringLiteral("paperWidth"));
    w.real(paperWidth(printInfo));
    w.key(QStringLiteral("paperHeight"));
    w.real(paperHeight(printInfo));
    w.key(QStringLiteral("leftMargin"));
    w.real(margin(printInfo, DocumentArchive::kLeftMargin));
    w.key(QStringLiteral("rightMargin"));
    w.real(margin(printInfo, DocumentArchive::kRightMargin));
    w.key(QStringLiteral("topMargin"));
    w.real(margin(printInfo, DocumentArchive::kTopMargin));
    w.key(QStringLiteral("bottomMargin"));
    w.real(margin(printInfo, DocumentArchive::kBottomMargin));
    w.key(QStringLiteral("orientation"));
    w.string(isLandscape(printInfo) ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.endObject();
    w.endObject();
    return w.text();
}

bool DocumentJson::fromJson(const QByteArray &json, MyDocument *document, QString *error)
{
    QString why;
    auto refuse = [&](const QString &reason) {
        if (error)
            //: %1 is a short technical description
            *error = qtTrId("tool.error.json").arg(reason);
        return false;
    };
    QVariant parsed;
    if (!JsonCodec::parse(json, &parsed, &why))
        return refuse(why);
    if (parsed.typeId() != QMetaType::QVariantMap)
        return refuse(QStringLiteral("the document is an object"));
    const QVariantMap root = parsed.toMap();
    if (root.value(QStringLiteral("readings")).typeId() != QMetaType::QVariantList)
        return refuse(QStringLiteral("\"readings\" is an array"));

    MeasurementList readings;
    for (const QVariant &item : root.value(QStringLiteral("readings")).toList()) {
        const QVariantMap r = item.toMap();
        const QVariant date = r.value(QStringLiteral("date"));
        if (item.typeId() != QMetaType::QVariantMap || !isJsonNumber(date))
            return refuse(QStringLiteral("a reading is an object with a \"date\""));
        auto reading = std::make_shared<Measurement>();
        reading->setTheWholeDate(Date(date.toDouble()));
        for (size_t i = 0; i < std::size(kNumberKeys); ++i) {
            const QVariant v = r.value(QLatin1String(kNumberKeys[i]));
            if (!isNull(v) && !isJsonNumber(v))
                return refuse(QStringLiteral("\"%1\" is a number or null")
                                  .arg(QLatin1String(kNumberKeys[i])));
            reading->setValueForKey(isNull(v) ? QVariant() : v, kNumberFields[i]);
        }
        const QVariant comments = r.value(QStringLiteral("comments"));
        if (comments.typeId() == QMetaType::QString)
            reading->setComments(comments.toString());
        else if (!isNull(comments))
            return refuse(QStringLiteral("\"comments\" is a string or null"));
        const QVariant tags = r.value(QStringLiteral("tags"));
        if (tags.typeId() == QMetaType::QVariantList) {
            QStringList list;
            for (const QVariant &tag : tags.toList()) {
                if (tag.typeId() != QMetaType::QString)
                    return refuse(QStringLiteral("tags are strings"));
                list.append(tag.toString());
            }
            reading->setTags(list);
        } else if (!isNull(tags)) {
            return refuse(QStringLiteral("\"tags\" is an array or null"));
        }
        readings.append(reading);
    }

    QList<FilterPtr> filters = document->filters();
    const bool hasFilters = root.contains(QStringLiteral("filters"));
    if (hasFilters) {
        filters.clear();
        for (const QVariant &item : root.value(QStringLiteral("filters")).toList()) {
            const QVariantMap f = item.toMap();
            if (item.typeId() != QMetaType::QVariantMap ||
                f.value(QStringLiteral("name")).typeId() != QMetaType::QString)
                return refuse(QStringLiteral("a filter is an object with a \"name\""));
            PredicatePtr predicate;
            const QVariant tree = f.value(QStringLiteral("predicate"));
            if (!isNull(tree) && !(predicate = predicateFromTree(tree, &why)))
                return refuse(why);
            FilterPtr filter = Filter::filterWithName(f.value(QStringLiteral("name")).toString());
            filter->setPredicate(predicate);
            for (const char *key : {"useInFilters", "useInAverages"}) {
                const QVariant flag = f.value(QLatin1String(key));
                if (!isNull(flag) && flag.typeId() != QMetaType::Bool)
                    return refuse(
                        QStringLiteral("\"%1\" is true, false or null").arg(QLatin1String(key)));
                filter->setValueForKey(isNull(flag) ? QVariant() : flag, QLatin1String(key));
            }
            filters.append(filter);
        }
    }
    FilterPtr selected = document->filter();
    if (root.contains(QStringLiteral("selectedFilter"))) {
        const QVariant index = root.value(QStringLiteral("selectedFilter"));
        if (isNull(index))
            selected = nullptr;
        else if (index.typeId() == QMetaType::LongLong && index.toLongLong() >= 0 &&
                 index.toLongLong() < filters.size())
            selected = filters[qsizetype(index.toLongLong())];
        else
            return refuse(
                QStringLiteral("\"selectedFilter\" is an index into \"filters\" or null"));
    }

    InformationList information = document->information();
    if (root.contains(QStringLiteral("information"))) {
        information.clear();
        for (const QVariant &item : root.value(QStringLiteral("information")).toList()) {
            const QVariantMap i = item.toMap();
            if (item.typeId() != QMetaType::QVariantMap)
                return refuse(QStringLiteral("an information item is an object"));
            information.append(
                InformationItem::create(i.value(QStringLiteral("name")).toString(),
                                        i.value(QStringLiteral("value")).toString(),
                                        i.value(QStringLiteral("printed")).toBool()));
        }
    }

    QVariantMap printInfo = document->printInfo();
    if (root.contains(QStringLiteral("printInfo"))) {
        const QVariantMap p = root.value(QStringLiteral("printInfo")).toMap();
        auto real = [&p](const char *key, double fallback) {
            const QVariant v = p.value(QLatin1String(key));
            return isJsonNumber(v) ? v.toDouble() : fallback;
        };
        printInfo.insert(DocumentArchive::kPaperSize,
                         QSizeF(real("paperWidth", kDefaultPaperWidth),
                                real("paperHeight", kDefaultPaperHeight)));
        printInfo.insert(DocumentArchive::kLeftMargin, real("leftMargin", kDefaultSideMargin));
        printInfo.insert(DocumentArchive::kRightMargin, real("rightMargin", kDefaultSideMargin));
        printInfo.insert(DocumentArchive::kTopMargin, real("topMargin", kDefaultTopBottomMargin));
        printInfo.insert(DocumentArchive::kBottomMargin,
                         real("bottomMargin", kDefaultTopBottomMargin));
        printInfo.insert(
            DocumentArchive::kOrientation,
            qlonglong(p.value(QStringLiteral("orientation")).toString() == u"landscape"));
    }

    UndoManager *undo = document->undoManager();
    undo->disableUndoRegistration();
    document->setAllMeasurements(readings);
    if (hasFilters)
        document->setFilters(filters);
    document->setFilter(selected);
    document->setSortItemsAscending(root.value(QStringLiteral("sortAscending")).toBool());
    document->setInformation(information);
    document->setPrintInfo(printInfo);
    undo->enableUndoRegistration();
    document->doFilter();
    undo->removeAllActions();
    return true;
}

QByteArray DocumentJson::statsJson(const MyDocument &document)
{
    Writer w;
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
            w.boolean(item && item->isValid());
            w.key(QStringLiteral("mean"));
            w.real(item ? item->average() : 0);
            w.key(QStringLiteral("deviation"));
            w.real(item ? item->deviation() : 0);
            w.endObject();
        }
        w.endObject();
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.text();
}
