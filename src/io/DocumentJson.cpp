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

void writeConstant(JsonWriter &w, const QVariant &value);

void writeExpression(JsonWriter &w, const Expression &expression)
{
    w.beginObject();
    if (expression.expressionType() == Expression::KeyPathExpressionType) {
        w.key("keyPath"_L1);
        w.string(expression.keyPath());
    } else {
        w.key("constant"_L1);
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
        w.key("relativeDate"_L1);
        w.beginObject();
        w.key("interval"_L1);
        w.real(date.timeIntervalSinceNow());
        w.key("units"_L1);
        w.integer(date.dateUnits());
        w.endObject();
        w.endObject();
    } else if (value.metaType() == QMetaType::fromType<Date>()) {
        w.beginObject();
        w.key("date"_L1);
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
        w.key("constant"_L1);
        w.boolean(predicate->kind() == Predicate::Kind::True);
        break;
    case Predicate::Kind::Compound: {
        const CompoundPredicate *compound = predicate->asCompound();
        w.key("compound"_L1);
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
        w.key("subpredicates"_L1);
        w.beginArray();
        for (const PredicatePtr &sub : compound->subpredicates())
            writePredicate(w, sub.get());
        w.endArray();
        break;
    }
    case Predicate::Kind::Comparison: {
        const ComparisonPredicate *comparison = predicate->asComparison();
        w.key("comparison"_L1);
        w.beginObject();
        w.key("left"_L1);
        writeExpression(w, comparison->leftExpression());
        w.key("right"_L1);
        writeExpression(w, comparison->rightExpression());
        w.key("operator"_L1);
        w.integer(comparison->predicateOperatorType());
        w.key("modifier"_L1);
        w.integer(comparison->comparisonPredicateModifier());
        w.key("options"_L1);
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

QByteArray DocumentJson::formatValue(const QVariant &value)
{
    JsonWriter w;
    writeValue(w, value);
    return w.takeText();
}

QByteArray DocumentJson::formatNumber(const QVariant &number)
{
    return JsonWriter::formatNumber(number);
}

namespace {

void writeDocument(JsonWriter &w, const MyDocument &document)
{
    w.beginObject();

    w.key("readings"_L1);
    w.beginArray();
    for (const ConstMeasurementPtr &reading : document.allItems()) {
        w.beginObject();
        w.key("date"_L1);
        w.real(reading->theWholeDate().timeIntervalSinceReferenceDate());
        for (const ReadingValue *value : ReadingValues::kStored) {
            w.key(value->jsonKey);
            w.number(reading->valueForKey(value->key));
        }
        w.key("comments"_L1);
        w.nullableString(reading->Comments());
        w.key("tags"_L1);
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

    w.key("filters"_L1);
    w.beginArray();
    qsizetype selected = -1;
    for (qsizetype i = 0; i < document.filters().size(); ++i) {
        const FilterPtr &filter = document.filters().at(i);
        if (filter == document.filter())
            selected = i;
        w.beginObject();
        w.key("name"_L1);
        w.string(filter->name());
        w.key("predicate"_L1);
        writePredicate(w, filter->predicate().get());
        w.key("format"_L1);
        if (filter->predicate())
            w.string(filter->predicate()->predicateFormat());
        else
            w.null();
        w.key("useInFilters"_L1);
        writeFlag(w, filter->useInFilters());
        w.key("useInAverages"_L1);
        writeFlag(w, filter->useInAverages());
        w.endObject();
    }
    w.endArray();

    w.key("selectedFilter"_L1);
    if (selected >= 0)
        w.integer(selected);
    else
        w.null();
    w.key("sortAscending"_L1);
    w.boolean(document.sortItemsAscending());

    w.key("information"_L1);
    w.beginArray();
    for (const InformationItemPtr &item : document.information()) {
        const QVariantMap dictionary = item->dictionary();
        w.beginObject();
        w.key("name"_L1);
        w.nullableString(dictionary.value(InformationItem::kName).toString());
        w.key("value"_L1);
        w.nullableString(dictionary.value(InformationItem::kValue).toString());
        w.key("printed"_L1);
        writeFlag(w, dictionary.value(InformationItem::kPrinted));
        w.endObject();
    }
    w.endArray();

    const QVariantMap info = document.printInfo();
    w.key("printInfo"_L1);
    w.beginObject();
    const QVariant paper = info.value(PrintSettings::kPaperSize);
    const QSizeF size = paper.toSizeF();
    w.key("paperWidth"_L1);
    if (paper.typeId() == QMetaType::QSizeF)
        w.real(size.width());
    else
        w.null();
    w.key("paperHeight"_L1);
    if (paper.typeId() == QMetaType::QSizeF)
        w.real(size.height());
    else
        w.null();
    w.key("leftMargin"_L1);
    writeNumberEntry(w, info, PrintSettings::kLeftMargin);
    w.key("rightMargin"_L1);
    writeNumberEntry(w, info, PrintSettings::kRightMargin);
    w.key("topMargin"_L1);
    writeNumberEntry(w, info, PrintSettings::kTopMargin);
    w.key("bottomMargin"_L1);
    writeNumberEntry(w, info, PrintSettings::kBottomMargin);
    w.key("orientation"_L1);
    const QVariant orientation = info.value(PrintSettings::kOrientation);
    if (Number::isNumber(orientation))
        w.string(Number::toDouble(orientation) == 1 ? QStringLiteral("landscape")
                                                    : QStringLiteral("portrait"));
    else
        w.null();
    w.endObject();

    w.endObject();
}

} // namespace

QByteArray DocumentJson::toJson(const MyDocument &document)
{
    JsonWriter w;
    writeDocument(w, document);
    return w.takeText();
}

bool DocumentJson::writeJson(const MyDocument &document, QIODevice *device)
{
    JsonWriter w(device);
    writeDocument(w, document);
    return w.finish();
}

QByteArray DocumentJson::statsJson(const MyDocument &document)
{
    JsonWriter w;
    w.beginObject();
    w.key("total"_L1);
    w.integer(document.allItems().size());
    w.key("filtered"_L1);
    w.integer(document.items().size());
    w.key("averages"_L1);
    w.beginArray();
    for (const AveragePtr &average : document.averages()) {
        w.beginObject();
        w.key("name"_L1);
        w.string(average->name());
        w.key("count"_L1);
        w.integer(average->measurements().size());
        w.key("values"_L1);
        w.beginObject();
        for (const QString &key : Average::keys()) {
            const AverageItemPtr item = average->item(key);
            w.key(key);
            w.beginObject();
            w.key("valid"_L1);
            w.boolean(item->isValid());
            w.key("mean"_L1);
            w.number(item->isValid() ? item->average() : 0.0);
            w.key("deviation"_L1);
            w.number(item->isValid() ? item->deviation() : 0.0);
            w.endObject();
        }
        w.endObject();
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.takeText();
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
        w.key("mean"_L1);
        w.number(s.mean);
        w.key("deviation"_L1);
        w.number(s.deviation);
        w.endObject();
    };
    w.beginObject();
    w.key("filter"_L1);
    w.string(filterName);
    w.key("period"_L1);
    if (summary.hasPeriod()) {
        w.beginObject();
        w.key("first"_L1);
        w.string(summary.firstDay().toString(Qt::ISODate));
        w.key("last"_L1);
        w.string(summary.lastDay().toString(Qt::ISODate));
        w.endObject();
    } else {
        w.null();
    }
    w.key("countedDays"_L1);
    w.integer(summary.countedDays());
    w.key("countedReadings"_L1);
    w.integer(summary.countedReadings());
    w.key("daysWithMorningAndEvening"_L1);
    w.integer(summary.completeDays());
    static const char *const parts[] = {"all", "morning", "evening"};
    static const char *const values[] = {"systolic", "diastolic", "pulse"};
    for (int part = 0; part < HomeSummary::PartCount; ++part) {
        w.key(QLatin1String(parts[part]));
        w.beginObject();
        w.key("readings"_L1);
        w.integer(summary.readingsIn(HomeSummary::Part(part)));
        for (int value = 0; value < HomeSummary::ValueCount; ++value) {
            w.key(QLatin1String(values[value]));
            statistic(summary.statistic(HomeSummary::Part(part), HomeSummary::Value(value)));
        }
        w.endObject();
    }
    w.key("threshold"_L1);
    w.beginObject();
    w.key("systolic"_L1);
    w.integer(summary.settings().thresholdSystolic);
    w.key("diastolic"_L1);
    w.integer(summary.settings().thresholdDiastolic);
    w.endObject();
    w.key("complete"_L1);
    w.boolean(summary.isComplete());
    w.key("missingDays"_L1);
    w.integer(summary.missingDays());
    w.key("verdict"_L1);
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
    return w.takeText();
}
