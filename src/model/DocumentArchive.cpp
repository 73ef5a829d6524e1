#include "DocumentArchive.h"
#include "PrintSettings.h"

#include "ExpandedSize.h"
#include "Expression.h"
#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Number.h"
#include "PredicateArchive.h"
#include "RelativeDate.h"

#include <QDebug>
#include <QPointF>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>

#include <algorithm>
#include <cmath>

namespace {

// The print settings as archived: NSPrintInfo holding its "NSAttributes".
struct PrintInfoObject
{
    QVariantMap attributes;
};

const QString kNSObject = QStringLiteral("NSObject");
const QStringList kMeasurementChain = {QStringLiteral("Measurement"), kNSObject};
const QStringList kFilterChain = {QStringLiteral("Filter"), kNSObject};
const QStringList kRelativeDateChain = {QStringLiteral("RelativeDate"), kNSObject};
const QStringList kPrintInfoChain = {QStringLiteral("NSPrintInfo"), kNSObject};
const QStringList kValueChain = {QStringLiteral("NSValue"), kNSObject};

const QString kMeasurements = QStringLiteral("measurements");
const QString kFilters = QStringLiteral("filters");
const QString kSettings = QStringLiteral("settings");
const QString kInformation = QStringLiteral("information");
const QString kSelectedFilter = QStringLiteral("selected-filter");
const QString kSortByDate = QStringLiteral("sort-by-date");
const QString kPrintInfo = QStringLiteral("print-info");
const QString kAttributes = QStringLiteral("NSAttributes");
const QString kSpecial = QStringLiteral("NS.special");

// NSValue's text forms of geometry: "{x, y}", "{w, h}", "{{x, y}, {w, h}}".
QString number(double d)
{
    return QString::number(d, 'g', 17);
}

bool parseNumbers(const QString &text, int count, double *out)
{
    static const QRegularExpression numberPattern(
        QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    int found = 0;
    for (auto it = numberPattern.globalMatch(text); it.hasNext() && found <= count;) {
        bool ok = false;
        const double d = it.next().captured().toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return false;
        if (found < count)
            out[found] = d;
        ++found;
    }
    return found == count;
}

QVariant decodeValue(KeyedUnarchiver &u)
{
    const qint32 special = u.decodeIntForKey(kSpecial);
    double n[4] = {};
    if (special == 1) {
        const QVariant text = u.decodeObjectForKey(QStringLiteral("NS.pointval"));
        if (parseNumbers(text.toString(), 2, n))
            return QPointF(n[0], n[1]);
    } else if (special == 2) {
        const QVariant text = u.decodeObjectForKey(QStringLiteral("NS.sizeval"));
        if (parseNumbers(text.toString(), 2, n))
            return QSizeF(n[0], n[1]);
    } else if (special == 3) {
        const QVariant text = u.decodeObjectForKey(QStringLiteral("NS.rectval"));
        if (parseNumbers(text.toString(), 4, n))
            return QRectF(n[0], n[1], n[2], n[3]);
    }
    // Other kinds of value (ranges, raw bytes) are carried along as they are.
    return u.keepCurrentObject();
}

KeyedArchiver::Reference encodeValue(KeyedArchiver &a, qint32 special, const QString &key,
                                     const QString &text)
{
    return a.encodeNewObject(kValueChain, [&](KeyedArchiver &coder) {
        coder.encodeInt(special, kSpecial);
        coder.encodeObject(text, key);
    });
}

// What a file may hold only to be written back (print settings the program does not use, the
// keys of information items) may stand for no more values than this, plus four per byte of the
// file, counting a part at every place it is used (ExpandedSize): so writing back, comparing or
// copying it takes time and memory in proportion to the file. Print settings and information
// items hold a few hundred values.
constexpr quint64 kKeptValuesBase = 100000;
constexpr quint64 kKeptValuesPerByte = 4;

// The counts of the model's own values; 0 leaves the value to ExpandedSize.
quint64 sizeOfModelValue(const QVariant &value, ExpandedSize &counter)
{
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<PredicatePtr>()) {
        const PredicatePtr predicate = value.value<PredicatePtr>();
        return predicate ? predicate->expandedSize() : 1;
    }
    if (type == QMetaType::fromType<Expression>())
        return ExpandedSize::add(1, counter.of(value.value<Expression>().constantValue()));
    if (type == QMetaType::fromType<FilterPtr>()) {
        const FilterPtr filter = value.value<FilterPtr>();
        return filter && filter->predicate()
                   ? ExpandedSize::add(1, filter->predicate()->expandedSize())
                   : 1;
    }
    return 0;
}

// Takes the values to keep from what is left for them; one that does not fit is dropped with
// a warning in the log, and the rest of the document loads as usual.
class KeptValues
{
public:
    explicit KeptValues(qsizetype fileSize)
        : m_left(kKeptValuesBase + kKeptValuesPerByte * quint64(std::max<qsizetype>(fileSize, 0))),
          m_sizes(sizeOfModelValue)
    {}

    // Moves the entries whose key is (or, with known false, is not) among the known keys into
    // *kept, as far as they fit.
    void take(const QVariantMap &entries, const QStringList &knownKeys, bool known,
              QVariantMap *kept, const QString &where)
    {
        for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
            if (knownKeys.contains(it.key()) != known)
                continue;
            const quint64 size = ExpandedSize::add(1, m_sizes.of(it.value()));
            if (size <= m_left) {
                m_left -= size;
                kept->insert(it.key(), it.value());
                continue;
            }
            qWarning().noquote()
                << QStringLiteral("Dropped \"%1\" of %2 from the file: written out it would make "
                                  "%3 values, more than the file's size allows.")
                       .arg(it.key(), where,
                            size >= ExpandedSize::kLimit ? QStringLiteral("too many")
                                                         : QString::number(size));
        }
    }

private:
    quint64 m_left;
    ExpandedSize m_sizes;
};

// Print settings and information items are kept with whatever the file put in them, to be
// written back; the entries the program reads come first, then everything else in the order
// of the file's lists.
void boundKeptValues(qsizetype fileSize, DocumentArchive::Contents *contents)
{
    KeptValues kept(fileSize);
    const QStringList printKeys = {PrintSettings::kPaperSize,    PrintSettings::kLeftMargin,
                                   PrintSettings::kRightMargin,  PrintSettings::kTopMargin,
                                   PrintSettings::kBottomMargin, PrintSettings::kOrientation};
    const QStringList itemKeys = {InformationItem::kName, InformationItem::kValue,
                                  InformationItem::kPrinted};
    std::optional<QVariantMap> printInfo;
    if (contents->printInfo)
        printInfo.emplace();
    QList<QVariantMap> items(contents->information ? contents->information->size() : 0);
    for (const bool known : {true, false}) {
        if (contents->printInfo)
            kept.take(*contents->printInfo, printKeys, known, &*printInfo,
                      QStringLiteral("the print settings"));
        for (qsizetype i = 0; i < items.size(); ++i)
            kept.take((*contents->information)[i]->dictionary(), itemKeys, known, &items[i],
                      QStringLiteral("information item %1").arg(i + 1));
    }
    contents->printInfo = printInfo;
    if (contents->information) {
        InformationList bounded;
        for (const QVariantMap &item : std::as_const(items))
            bounded.append(InformationItem::fromDictionary(item));
        contents->information = bounded;
    }
}

QVariant decodePrintInfo(KeyedUnarchiver &u)
{
    KeyedUnarchiver::KeepUnknown keep(u);
    const QVariant attributes = u.decodeObjectForKey(kAttributes);
    return QVariant::fromValue(PrintInfoObject{attributes.toMap()});
}

} // namespace

Q_DECLARE_METATYPE(PrintInfoObject)

void DocumentArchive::registerClasses(KeyedArchiver &archiver)
{
    archiver.registerClass<MeasurementPtr>(kMeasurementChain,
                                           [](KeyedArchiver &coder, const MeasurementPtr &reading) {
                                               reading->encodeWithCoder(coder);
                                           });
    archiver.registerClass<ConstMeasurementPtr>(
        kMeasurementChain, [](KeyedArchiver &coder, const ConstMeasurementPtr &reading) {
            reading->encodeWithCoder(coder);
        });
    archiver.registerClass<FilterPtr>(
        kFilterChain,
        [](KeyedArchiver &coder, const FilterPtr &filter) { filter->encodeWithCoder(coder); });
    archiver.registerClass<RelativeDate>(
        kRelativeDateChain,
        [](KeyedArchiver &coder, const RelativeDate &date) { date.encodeWithCoder(coder); });
    archiver.registerClass<PrintInfoObject>(
        kPrintInfoChain, [](KeyedArchiver &coder, const PrintInfoObject &printInfo) {
            coder.encodeObject(
                QVariant::fromValue(KeyedArchiver::MutableDictionary{printInfo.attributes}),
                kAttributes);
        });
    archiver.registerConverter<QPointF>([](KeyedArchiver &a, const QPointF &p) {
        return QVariant::fromValue(
            encodeValue(a, 1, QStringLiteral("NS.pointval"),
                        QStringLiteral("{%1, %2}").arg(number(p.x()), number(p.y()))));
    });
    archiver.registerConverter<QSizeF>([](KeyedArchiver &a, const QSizeF &s) {
        return QVariant::fromValue(
            encodeValue(a, 2, QStringLiteral("NS.sizeval"),
                        QStringLiteral("{%1, %2}").arg(number(s.width()), number(s.height()))));
    });
    archiver.registerConverter<QRectF>([](KeyedArchiver &a, const QRectF &r) {
        return QVariant::fromValue(encodeValue(
            a, 3, QStringLiteral("NS.rectval"),
            QStringLiteral("{{%1, %2}, {%3, %4}}")
                .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()))));
    });
    PredicateArchive::registerClasses(archiver);
}

void DocumentArchive::registerClasses(KeyedUnarchiver &unarchiver)
{
    // A file's readings are made in blocks, not one allocation each.
    const auto blocks = std::make_shared<MeasurementBlocks>();
    unarchiver.registerClass(QStringLiteral("Measurement"), [blocks](KeyedUnarchiver &coder) {
        return QVariant::fromValue(Measurement::initWithCoder(coder, blocks.get()));
    });
    unarchiver.registerClass(QStringLiteral("Filter"), [](KeyedUnarchiver &coder) {
        return QVariant::fromValue(Filter::initWithCoder(coder));
    });
    unarchiver.registerClass(QStringLiteral("RelativeDate"), RelativeDate::initWithCoder);
    unarchiver.registerClass(QStringLiteral("NSPrintInfo"), decodePrintInfo);
    unarchiver.registerClass(QStringLiteral("NSValue"), decodeValue);
    PredicateArchive::registerClasses(unarchiver);
}

// --- The root ------------------------------------------------------------------------------------

QByteArray DocumentArchive::archive(const Contents &contents, QString *error)
{
    return archive(
        contents,
        ConstMeasurementList(contents.measurements.cbegin(), contents.measurements.cend()), error);
}

QByteArray DocumentArchive::archive(const Contents &contents,
                                    const ConstMeasurementList &measurements, QString *error)
{
    QVariantList readings;
    readings.reserve(measurements.size());
    for (const ConstMeasurementPtr &reading : measurements)
        readings.append(QVariant::fromValue(reading));
    QVariantList filters;
    for (const FilterPtr &filter : contents.filters.value_or(QList<FilterPtr>()))
        filters.append(QVariant::fromValue(filter));
    QVariantList information;
    for (const InformationItemPtr &item : contents.information.value_or(InformationList()))
        information.append(
            QVariant::fromValue(KeyedArchiver::MutableDictionary{item->dictionary()}));

    QVariantMap settings;
    if (contents.selectedFilter)
        settings.insert(kSelectedFilter, QVariant::fromValue(contents.selectedFilter));
    settings.insert(kSortByDate, contents.sortAscending.value_or(false));
    settings.insert(kPrintInfo, QVariant::fromValue(
                                    PrintInfoObject{contents.printInfo.value_or(QVariantMap())}));

    QVariantMap root;
    root.insert(kMeasurements, QVariant::fromValue(KeyedArchiver::MutableArray{readings}));
    root.insert(kFilters, QVariant::fromValue(KeyedArchiver::MutableArray{filters}));
    root.insert(kSettings, QVariant::fromValue(KeyedArchiver::MutableDictionary{settings}));
    root.insert(kInformation, QVariant::fromValue(KeyedArchiver::MutableArray{information}));

    KeyedArchiver archiver;
    registerClasses(archiver);
    const QByteArray data =
        archiver.archivedData(QVariant::fromValue(KeyedArchiver::MutableDictionary{root}));
    if (archiver.hasError()) {
        if (error)
            //: %1 is the reason, a sentence
            *error = qtTrId("error.file_save").arg(archiver.errorString());
        return QByteArray();
    }
    if (error)
        error->clear();
    return data;
}

bool DocumentArchive::unarchive(const QByteArray &data, Contents *contents, QString *error,
                                QString *detail, const std::function<void()> &releasePages)
{
    if (detail)
        detail->clear();
    auto refuse = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    QVariant rootValue;
    {
        // The decoder's tables go before the document's lists are made.
        KeyedUnarchiver unarchiver;
        registerClasses(unarchiver);
        unarchiver.setPageRelease(releasePages);
        if (unarchiver.open(data))
            rootValue = unarchiver.decodeTopLevelObject();
        if (unarchiver.hasError()) {
            if (detail) {
                *detail = unarchiver.errorString();
                return refuse(qtTrId("doc.file_not_document"));
            }
            //: %1 is the reason, a sentence
            return refuse(qtTrId("doc.file_unreadable").arg(unarchiver.errorString()));
        }
    }
    if (rootValue.typeId() != QMetaType::QVariantMap)
        return refuse(qtTrId("doc.file_corrupted"));
    const QVariantMap root = rootValue.toMap();
    if (!root.contains(kMeasurements))
        return refuse(qtTrId("doc.file_incomplete"));

    Contents result;
    const QVariant readings = root.value(kMeasurements);
    if (readings.typeId() != QMetaType::QVariantList)
        return refuse(qtTrId("doc.file_corrupted"));
    const QVariantList readingList = readings.toList();
    result.measurements.reserve(readingList.size());
    for (const QVariant &item : readingList) {
        if (item.metaType() != QMetaType::fromType<MeasurementPtr>())
            return refuse(qtTrId("doc.file_corrupted"));
        result.measurements.append(item.value<MeasurementPtr>());
    }

    if (root.contains(kFilters)) {
        const QVariant filters = root.value(kFilters);
        if (filters.typeId() != QMetaType::QVariantList)
            return refuse(qtTrId("doc.file_corrupted"));
        QList<FilterPtr> list;
        for (const QVariant &item : filters.toList()) {
            if (item.metaType() != QMetaType::fromType<FilterPtr>())
                return refuse(qtTrId("doc.file_corrupted"));
            list.append(item.value<FilterPtr>());
        }
        result.filters = list;
    }

    // Settings entries of the wrong type are ignored one by one.
    const QVariantMap settings = root.value(kSettings).toMap();
    const QVariant selected = settings.value(kSelectedFilter);
    if (selected.metaType() == QMetaType::fromType<FilterPtr>())
        result.selectedFilter = selected.value<FilterPtr>();
    const QVariant printInfo = settings.value(kPrintInfo);
    if (printInfo.metaType() == QMetaType::fromType<PrintInfoObject>())
        result.printInfo = printInfo.value<PrintInfoObject>().attributes;
    const QVariant sort = settings.value(kSortByDate);
    if (Number::isNumber(sort))
        result.sortAscending = Number::toDouble(sort) != 0;

    const QVariant information = root.value(kInformation);
    if (information.typeId() == QMetaType::QVariantList) {
        InformationList items;
        for (const QVariant &item : information.toList()) {
            if (item.typeId() == QMetaType::QVariantMap)
                items.append(InformationItem::fromDictionary(item.toMap()));
        }
        result.information = items;
    }
    boundKeptValues(data.size(), &result);

    *contents = std::move(result);
    if (error)
        error->clear();
    return true;
}
