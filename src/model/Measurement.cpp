#include "Measurement.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Number.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QLatin1String kDateAnnouncement("date");

QVariant dateVariant(Date date)
{
    return date.isNull() ? QVariant() : QVariant::fromValue(date);
}

} // namespace

Measurement::Measurement() = default;

Measurement::Measurement(::Date date, qint32 systolic, qint32 diastolic) : pDate(date)
{
    pSystolic.i = systolic;
    pDiastolic.i = diastolic;
    nKinds = Whole << (2 * int(Slot::Systolic)) | Whole << (2 * int(Slot::Diastolic));
}

namespace {

// The observers of every observed reading. Readings live on the main thread only.
QHash<const Measurement *, std::vector<MeasurementObserver *>> &observerTable()
{
    static QHash<const Measurement *, std::vector<MeasurementObserver *>> table;
    return table;
}

} // namespace

Measurement::~Measurement()
{
    if (bObserved)
        observerTable().remove(this);
}

Measurement::NumberSlot &Measurement::slot(Slot s)
{
    return const_cast<NumberSlot &>(std::as_const(*this).slot(s));
}

const Measurement::NumberSlot &Measurement::slot(Slot s) const
{
    switch (s) {
    case Slot::Systolic:
        return pSystolic;
    case Slot::Diastolic:
        return pDiastolic;
    case Slot::Weight:
        return pWeight;
    case Slot::Pulse:
        return pPulse;
    case Slot::Custom1:
        return pCustom1;
    case Slot::Custom2:
        return pCustom2;
    case Slot::Custom3:
        break;
    }
    return pCustom3;
}

Measurement::Key Measurement::keyOf(Slot s)
{
    switch (s) {
    case Slot::Systolic:
        return Key::Systolic;
    case Slot::Diastolic:
        return Key::Diastolic;
    case Slot::Weight:
        return Key::Weight;
    case Slot::Pulse:
        return Key::Pulse;
    case Slot::Custom1:
        return Key::CustomValue1;
    case Slot::Custom2:
        return Key::CustomValue2;
    case Slot::Custom3:
        break;
    }
    return Key::CustomValue3;
}

QVariant Measurement::number(Slot s) const
{
    switch (kind(s)) {
    case Whole:
        return QVariant(qlonglong(slot(s).i));
    case Fractional:
        return QVariant(slot(s).d);
    default:
        return QVariant();
    }
}

void Measurement::setNumber(Slot s, const QVariant &value)
{
    const QVariant normalized = Number::normalized(value);
    const Kind newKind = !normalized.isValid()                      ? Absent
                         : normalized.typeId() == QMetaType::Double ? Fractional
                                                                    : Whole;
    NumberSlot newSlot{};
    if (newKind == Whole)
        newSlot.i = normalized.toLongLong();
    else if (newKind == Fractional)
        newSlot.d = normalized.toDouble();

    const Kind oldKind = kind(s);
    if (oldKind == newKind &&
        (newKind == Absent || (newKind == Whole && slot(s).i == newSlot.i) ||
         (newKind == Fractional && std::memcmp(&slot(s).d, &newSlot.d, sizeof(double)) == 0)))
        return;

    const QLatin1String key = keyName(keyOf(s));
    const bool observed = isObserved();
    QVariant oldValue;
    if (observed) {
        oldValue = number(s);
        willChange(key);
    }
    slot(s) = newSlot;
    nKinds = quint16((nKinds & ~(3u << (2 * int(s)))) | (unsigned(newKind) << (2 * int(s))));
    if (observed)
        didChange(key, oldValue);
}

::Date Measurement::Date() const
{
    if (pCacheDateOnly.isNull())
        pCacheDateOnly = pDate.thisDay();
    return pCacheDateOnly;
}

::Date Measurement::Time() const
{
    if (pCacheTimeOnly.isNull()) {
        // The hour and minute on the day of Date::minimum(), 1 January of year 1.
        const ::Date::Components own = pDate.components();
        pCacheTimeOnly = ::Date::fromComponents(1, 1, 1, own.hour, own.minute);
    }
    return pCacheTimeOnly;
}

QVariant Measurement::PulsePressure() const
{
    double systolic = 0, diastolic = 0;
    numberForKey(Key::Systolic, &systolic);
    numberForKey(Key::Diastolic, &diastolic);
    return QVariant(systolic - diastolic);
}

void Measurement::setTheWholeDate(::Date date)
{
    const bool observed = isObserved();
    const ::Date old = pDate;
    if (observed)
        willChange(keyName(Key::TheWholeDate));
    pDate = date;
    pCacheDateOnly = ::Date();
    pCacheTimeOnly = ::Date();
    if (observed)
        didChange(keyName(Key::TheWholeDate), dateVariant(old));
}

void Measurement::setDate(::Date day)
{
    if (!pCacheDateOnly.isNull() && day == pCacheDateOnly)
        return;
    pCacheDateOnly = ::Date();
    const ::Date::Components time = pDate.components();
    const ::Date::Components date = day.components();
    const ::Date combined = ::Date::fromComponents(date.year, date.month, date.day, time.hour,
                                                   time.minute, time.second);
    if (combined.isNull())
        return; // no day to move to (a null argument): keep the reading's date
    const bool observed = isObserved();
    const ::Date old = pDate;
    if (observed)
        willChange(kDateAnnouncement);
    setTheWholeDate(combined);
    if (observed)
        didChange(kDateAnnouncement, dateVariant(old));
}

void Measurement::setTime(::Date time)
{
    if (!pCacheTimeOnly.isNull() && time == pCacheTimeOnly)
        return;
    pCacheTimeOnly = ::Date();
    const ::Date::Components date = pDate.components();
    const ::Date::Components clock = time.components();
    const ::Date combined =
        ::Date::fromComponents(date.year, date.month, date.day, clock.hour, clock.minute);
    if (combined.isNull())
        return; // no time of day to take (a null argument): keep the reading's date
    const bool observed = isObserved();
    const ::Date old = pDate;
    if (observed)
        willChange(kDateAnnouncement);
    setTheWholeDate(combined);
    if (observed)
        didChange(kDateAnnouncement, dateVariant(old));
}

void Measurement::setComments(const QString &comments)
{
    if (comments.isNull() == pComments.isNull() && comments == pComments)
        return;
    const bool observed = isObserved();
    QVariant oldValue;
    if (observed) {
        oldValue = pComments.isNull() ? QVariant() : QVariant(pComments);
        willChange(keyName(Key::Comments));
    }
    pComments = comments;
    if (observed)
        didChange(keyName(Key::Comments), oldValue);
}

void Measurement::setTags(const QStringList &tags)
{
    if (bHasTags && tags == pTags)
        return;
    const bool observed = isObserved();
    QVariant oldValue;
    if (observed) {
        oldValue = bHasTags ? QVariant(pTags) : QVariant();
        willChange(keyName(Key::Tags));
    }
    pTags = tags;
    bHasTags = true;
    if (observed)
        didChange(keyName(Key::Tags), oldValue);
}

void Measurement::clearTags()
{
    if (!bHasTags)
        return;
    const bool observed = isObserved();
    QVariant oldValue;
    if (observed) {
        oldValue = QVariant(pTags);
        willChange(keyName(Key::Tags));
    }
    pTags.clear();
    bHasTags = false;
    if (observed)
        didChange(keyName(Key::Tags), oldValue);
}

Measurement::Measurement(const Measurement &other)
    : pDate(other.pDate), pSystolic(other.pSystolic), pDiastolic(other.pDiastolic),
      pWeight(other.pWeight), pPulse(other.pPulse), pCustom1(other.pCustom1),
      pCustom2(other.pCustom2), pCustom3(other.pCustom3), nKinds(other.nKinds),
      bHasTags(other.bHasTags), pComments(other.pComments), pTags(other.pTags)
{}

MeasurementPtr Measurement::copy() const
{
    return std::make_shared<Measurement>(*this);
}

void Measurement::copyFrom(const Measurement &other)
{
    if (&other == this)
        return;
    setTheWholeDate(other.pDate);
    setComments(other.pComments);
    setPulse(other.Pulse());
    setWeight(other.Weight());
    setSystolic(other.Systolic());
    setDiastolic(other.Diastolic());
    if (other.bHasTags)
        setTags(other.pTags);
    else
        clearTags();
    setCustomValue1(other.customValue1());
    setCustomValue2(other.customValue2());
    setCustomValue3(other.customValue3());
}

int Measurement::compare(const Measurement &other) const
{
    const double a = pDate.timeIntervalSinceReferenceDate();
    const double b = other.pDate.timeIntervalSinceReferenceDate();
    return a < b ? -1 : (a > b ? 1 : 0);
}

MeasurementPtr Measurement::averageOf(const ConstMeasurementList &readings)
{
    if (readings.isEmpty())
        return nullptr;
    ConstMeasurementList sorted = readings;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const ConstMeasurementPtr &a, const ConstMeasurementPtr &b) {
                         return a->compare(*b) < 0;
                     });

    struct Sum
    {
        double total = 0;
        int count = 0;
    };
    const Key optionalKeys[] = {Key::Weight, Key::Pulse, Key::CustomValue1, Key::CustomValue2,
                                Key::CustomValue3};
    Sum optional[5];
    double dates = 0, systolic = 0, diastolic = 0;
    QString comments;
    QStringList tags;
    QSet<QString> seenTags;

    for (const ConstMeasurementPtr &reading : sorted) {
        dates += reading->pDate.timeIntervalSince1970();
        double value = 0;
        if (reading->numberForKey(Key::Systolic, &value))
            systolic += value;
        if (reading->numberForKey(Key::Diastolic, &value))
            diastolic += value;
        for (int i = 0; i < 5; ++i) {
            if (reading->numberForKey(optionalKeys[i], &value)) {
                optional[i].total += value;
                ++optional[i].count;
            }
        }
        if (!reading->pComments.isEmpty())
            comments += reading->pComments + QLatin1Char('\n');
        for (const QString &tag : reading->pTags) {
            if (!seenTags.contains(tag)) {
                seenTags.insert(tag);
                tags.append(tag);
            }
        }
    }

    const double n = double(sorted.size());
    // Rounded half away from zero; whole as long as it fits, since values read from a file may
    // lie far outside any pressure (a conversion out of range would be undefined).
    auto roundedMean = [n](double sum) {
        const double mean = std::round(sum / n);
        return mean >= -9223372036854775808.0 && mean < 9223372036854775808.0
                   ? Number::integer(qint64(mean))
                   : Number::real(mean);
    };
    auto result = create(::Date::fromTimeIntervalSince1970(dates / n), 0, 0);
    result->setSystolic(roundedMean(systolic));
    result->setDiastolic(roundedMean(diastolic));
    for (int i = 0; i < 5; ++i) {
        if (optional[i].count > 0)
            result->setValueForKey(QVariant(optional[i].total / optional[i].count),
                                   optionalKeys[i]);
    }
    if (!tags.isEmpty())
        result->setTags(tags);
    if (!comments.isEmpty())
        result->setComments(comments);
    return result;
}

Measurement::Key Measurement::keyFromString(QStringView key)
{
    static const struct
    {
        QLatin1String name;
        Key key;
    } table[] = {
        {QLatin1String("theWholeDate"), Key::TheWholeDate},
        {QLatin1String("Date"), Key::Date},
        {QLatin1String("Time"), Key::Time},
        {QLatin1String("Systolic"), Key::Systolic},
        {QLatin1String("Diastolic"), Key::Diastolic},
        {QLatin1String("Pulse"), Key::Pulse},
        {QLatin1String("Weight"), Key::Weight},
        {QLatin1String("Comments"), Key::Comments},
        {QLatin1String("Tags"), Key::Tags},
        {QLatin1String("customValue1"), Key::CustomValue1},
        {QLatin1String("customValue2"), Key::CustomValue2},
        {QLatin1String("customValue3"), Key::CustomValue3},
        {QLatin1String("PulsePressure"), Key::PulsePressure},
        {QLatin1String("Tags.@count"), Key::TagsCount},
    };
    for (const auto &entry : table) {
        if (entry.name.size() == key.size() && entry.name == key)
            return entry.key;
    }
    return Key::Invalid;
}

QLatin1String Measurement::keyName(Key key)
{
    switch (key) {
    case Key::TheWholeDate:
        return QLatin1String("theWholeDate");
    case Key::Date:
        return QLatin1String("Date");
    case Key::Time:
        return QLatin1String("Time");
    case Key::Systolic:
        return QLatin1String("Systolic");
    case Key::Diastolic:
        return QLatin1String("Diastolic");
    case Key::Pulse:
        return QLatin1String("Pulse");
    case Key::Weight:
        return QLatin1String("Weight");
    case Key::Comments:
        return QLatin1String("Comments");
    case Key::Tags:
        return QLatin1String("Tags");
    case Key::CustomValue1:
        return QLatin1String("customValue1");
    case Key::CustomValue2:
        return QLatin1String("customValue2");
    case Key::CustomValue3:
        return QLatin1String("customValue3");
    case Key::PulsePressure:
        return QLatin1String("PulsePressure");
    case Key::TagsCount:
        return QLatin1String("Tags.@count");
    case Key::Invalid:
        break;
    }
    return QLatin1String();
}

QVariant Measurement::valueForKey(Key key) const
{
    switch (key) {
    case Key::TheWholeDate:
        return dateVariant(pDate);
    case Key::Date:
        return dateVariant(Date());
    case Key::Time:
        return dateVariant(Time());
    case Key::Systolic:
        return number(Slot::Systolic);
    case Key::Diastolic:
        return number(Slot::Diastolic);
    case Key::Pulse:
        return number(Slot::Pulse);
    case Key::Weight:
        return number(Slot::Weight);
    case Key::Comments:
        return pComments.isNull() ? QVariant() : QVariant(pComments);
    case Key::Tags:
        return bHasTags ? QVariant(pTags) : QVariant();
    case Key::CustomValue1:
        return number(Slot::Custom1);
    case Key::CustomValue2:
        return number(Slot::Custom2);
    case Key::CustomValue3:
        return number(Slot::Custom3);
    case Key::PulsePressure:
        return PulsePressure();
    case Key::TagsCount:
        return QVariant(qlonglong(pTags.size()));
    case Key::Invalid:
        break;
    }
    return QVariant();
}

bool Measurement::numberForKey(Key key, double *value) const
{
    Slot s;
    switch (key) {
    case Key::Systolic:
        s = Slot::Systolic;
        break;
    case Key::Diastolic:
        s = Slot::Diastolic;
        break;
    case Key::Pulse:
        s = Slot::Pulse;
        break;
    case Key::Weight:
        s = Slot::Weight;
        break;
    case Key::CustomValue1:
        s = Slot::Custom1;
        break;
    case Key::CustomValue2:
        s = Slot::Custom2;
        break;
    case Key::CustomValue3:
        s = Slot::Custom3;
        break;
    case Key::PulsePressure: {
        double systolic = 0, diastolic = 0;
        numberForKey(Key::Systolic, &systolic);
        numberForKey(Key::Diastolic, &diastolic);
        *value = systolic - diastolic;
        return true;
    }
    case Key::TagsCount:
        *value = double(pTags.size());
        return true;
    default:
        return false;
    }
    switch (kind(s)) {
    case Whole:
        *value = double(slot(s).i);
        return true;
    case Fractional:
        *value = slot(s).d;
        return true;
    default:
        return false;
    }
}

bool Measurement::setValueForKey(const QVariant &value, Key key)
{
    // A value of the wrong kind for the key is refused and changes nothing; an invalid variant
    // stands for none where a key may be none. Dates must be real dates.
    const bool none = !value.isValid();
    const auto toDate = [&value] {
        return value.typeId() == qMetaTypeId<::Date>() ? value.value<::Date>() : ::Date();
    };
    switch (key) {
    case Key::TheWholeDate:
    case Key::Date:
    case Key::Time:
        if (toDate().isNull())
            return false;
        break;
    case Key::Systolic:
    case Key::Diastolic:
    case Key::Pulse:
    case Key::Weight:
    case Key::CustomValue1:
    case Key::CustomValue2:
    case Key::CustomValue3:
        if (!none && !Number::isNumber(value))
            return false;
        break;
    case Key::Comments:
        if (!none && value.typeId() != QMetaType::QString)
            return false;
        break;
    case Key::Tags:
        if (!none && value.typeId() != QMetaType::QStringList)
            return false;
        break;
    default:
        return false;
    }
    switch (key) {
    case Key::TheWholeDate:
        setTheWholeDate(toDate());
        return true;
    case Key::Date:
        setDate(toDate());
        return true;
    case Key::Time:
        setTime(toDate());
        return true;
    case Key::Systolic:
        setSystolic(value);
        return true;
    case Key::Diastolic:
        setDiastolic(value);
        return true;
    case Key::Pulse:
        setPulse(value);
        return true;
    case Key::Weight:
        setWeight(value);
        return true;
    case Key::Comments:
        setComments(value.typeId() == QMetaType::QString ? value.toString() : QString());
        return true;
    case Key::Tags:
        if (value.typeId() == QMetaType::QStringList)
            setTags(value.toStringList());
        else
            clearTags();
        return true;
    case Key::CustomValue1:
        setCustomValue1(value);
        return true;
    case Key::CustomValue2:
        setCustomValue2(value);
        return true;
    case Key::CustomValue3:
        setCustomValue3(value);
        return true;
    default:
        return false;
    }
}

std::vector<MeasurementObserver *> *Measurement::observers() const
{
    if (!bObserved)
        return nullptr;
    auto it = observerTable().find(this);
    return it == observerTable().end() ? nullptr : &it.value();
}

void Measurement::addObserver(MeasurementObserver *observer)
{
    observerTable()[this].push_back(observer);
    bObserved = true;
}

void Measurement::removeObserver(MeasurementObserver *observer)
{
    std::vector<MeasurementObserver *> *list = observers();
    if (!list)
        return;
    auto it = std::find(list->begin(), list->end(), observer);
    if (it != list->end())
        list->erase(it);
    if (list->empty()) {
        observerTable().remove(this);
        bObserved = false;
    }
}

void Measurement::willChange(QLatin1String key)
{
    const std::vector<MeasurementObserver *> *list = observers();
    if (!list)
        return;
    const std::vector<MeasurementObserver *> copy = *list; // observers may remove themselves
    for (MeasurementObserver *observer : copy)
        observer->measurementWillChange(this, key);
}

void Measurement::didChange(QLatin1String key, const QVariant &oldValue)
{
    const std::vector<MeasurementObserver *> *list = observers();
    if (!list)
        return;
    const std::vector<MeasurementObserver *> copy = *list;
    for (MeasurementObserver *observer : copy)
        observer->measurementDidChange(this, key, oldValue);
}

// --- Keyed archive form -------------------------------------------------------------------------

namespace {

const QString kArchiveDate = QStringLiteral("date");
const QString kArchiveSystolic = QStringLiteral("systolic-obj");
const QString kArchiveDiastolic = QStringLiteral("diastolic-obj");
const QString kArchiveWeight = QStringLiteral("weight-obj");
const QString kArchivePulse = QStringLiteral("pulse-obj");
const QString kArchiveComments = QStringLiteral("comments");
const QString kArchiveTags = QStringLiteral("tags");
const QString kArchiveCustom[3] = {QStringLiteral("custom1"), QStringLiteral("custom2"),
                                   QStringLiteral("custom3")};
const QString kOldSystolic = QStringLiteral("systolic");
const QString kOldDiastolic = QStringLiteral("diastolic");
const QString kOldHasWeight = QStringLiteral("has-weight");
const QString kOldWeight = QStringLiteral("weight");
const QString kOldHasPulse = QStringLiteral("has-pulse");
const QString kOldPulse = QStringLiteral("pulse");

// The number under the key; anything that is not a number counts as absent.
QVariant decodeNumber(KeyedUnarchiver &coder, const QString &key)
{
    return Number::normalized(coder.decodeObjectForKey(key));
}

} // namespace

void Measurement::encodeWithCoder(KeyedArchiver &coder) const
{
    coder.encodeObject(dateVariant(pDate), kArchiveDate);
    coder.encodeObject(Systolic(), kArchiveSystolic);
    coder.encodeObject(Diastolic(), kArchiveDiastolic);
    coder.encodeObject(Weight(), kArchiveWeight);
    coder.encodeObject(Pulse(), kArchivePulse);
    coder.encodeObject(pComments.isNull() ? QVariant() : QVariant(pComments), kArchiveComments);
    coder.encodeObject(bHasTags ? QVariant(pTags) : QVariant(), kArchiveTags);
    coder.encodeObject(customValue1(), kArchiveCustom[0]);
    coder.encodeObject(customValue2(), kArchiveCustom[1]);
    coder.encodeObject(customValue3(), kArchiveCustom[2]);
}

MeasurementPtr Measurement::initWithCoder(KeyedUnarchiver &coder)
{
    auto reading = std::make_shared<Measurement>();

    const QVariant date = coder.decodeObjectForKey(kArchiveDate);
    reading->setTheWholeDate(date.metaType() == QMetaType::fromType<::Date>() ? date.value<::Date>()
                                                                              : ::Date::now());

    QVariant systolic = decodeNumber(coder, kArchiveSystolic);
    QVariant diastolic = decodeNumber(coder, kArchiveDiastolic);
    if (!systolic.isValid()) {
        const qint32 old = coder.decodeIntForKey(kOldSystolic);
        systolic = Number::integer(old != 0 ? old : 120);
    }
    if (!diastolic.isValid()) {
        const qint32 old = coder.decodeIntForKey(kOldDiastolic);
        diastolic = Number::integer(old != 0 ? old : 80);
    }
    reading->setSystolic(systolic);
    reading->setDiastolic(diastolic);

    QVariant weight = decodeNumber(coder, kArchiveWeight);
    if (!weight.isValid() && coder.decodeBoolForKey(kOldHasWeight))
        weight = Number::integer(coder.decodeIntForKey(kOldWeight));
    reading->setWeight(weight);
    QVariant pulse = decodeNumber(coder, kArchivePulse);
    if (!pulse.isValid() && coder.decodeBoolForKey(kOldHasPulse))
        pulse = Number::integer(coder.decodeIntForKey(kOldPulse));
    reading->setPulse(pulse);

    const QVariant comments = coder.decodeObjectForKey(kArchiveComments);
    if (comments.typeId() == QMetaType::QString)
        reading->setComments(comments.toString());

    const QVariant tags = coder.decodeObjectForKey(kArchiveTags);
    if (tags.typeId() == QMetaType::QVariantList) {
        const QVariantList items = tags.toList();
        QStringList strings;
        strings.reserve(items.size());
        for (const QVariant &item : items) {
            if (item.typeId() != QMetaType::QString)
                break;
            strings.append(item.toString());
        }
        if (strings.size() == items.size()) // an array holding anything but strings is absent
            reading->setTags(strings);
    }

    reading->setCustomValue1(decodeNumber(coder, kArchiveCustom[0]));
    reading->setCustomValue2(decodeNumber(coder, kArchiveCustom[1]));
    reading->setCustomValue3(decodeNumber(coder, kArchiveCustom[2]));
    return reading;
}
