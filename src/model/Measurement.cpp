#include "Measurement.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Number.h"
#include "ReadingValues.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QLatin1String kDateAnnouncement("date");

using ReadingValues::slotOf;

QVariant dateVariant(Date date)
{
    return date.isNull() ? QVariant() : QVariant::fromValue(date);
}

} // namespace

Measurement::Measurement() = default;

Measurement::Measurement(::Date date, qint32 systolic, qint32 diastolic) : pDate(date)
{
    static_assert(int(Slot::Count) == ReadingValues::kStoredCount &&
                      int(Slot::Systolic) == slotOf(Key::Systolic) &&
                      int(Slot::Diastolic) == slotOf(Key::Diastolic) &&
                      int(Slot::Pulse) == slotOf(Key::Pulse) &&
                      int(Slot::Weight) == slotOf(Key::Weight) &&
                      int(Slot::Custom1) == slotOf(Key::CustomValue1) &&
                      int(Slot::Custom2) == slotOf(Key::CustomValue2) &&
                      int(Slot::Custom3) == slotOf(Key::CustomValue3),
                  "the slots follow the stored values of the table");
    slot(Slot::Systolic).i = systolic;
    slot(Slot::Diastolic).i = diastolic;
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

    const QLatin1String key = ReadingValues::kStored[int(s)]->name;
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
    : pDate(other.pDate), nKinds(other.nKinds), bHasTags(other.bHasTags),
      pComments(other.pComments), pTags(other.pTags)
{
    std::copy(std::begin(other.pNumbers), std::end(other.pNumbers), std::begin(pNumbers));
}

MeasurementPtr Measurement::copy() const
{
    return std::make_shared<Measurement>(*this);
}

namespace {

// The values copyFrom() sets before the tags, in its order; every other stored value follows the
// tags in the order of the table.
constexpr Measurement::Key kCopiedBeforeTags[] = {Measurement::Key::Pulse, Measurement::Key::Weight,
                                                  Measurement::Key::Systolic,
                                                  Measurement::Key::Diastolic};

template <std::size_t N> bool isAmong(Measurement::Key key, const Measurement::Key (&keys)[N])
{
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

} // namespace

void Measurement::copyFrom(const Measurement &other)
{
    if (&other == this)
        return;
    setTheWholeDate(other.pDate);
    setComments(other.pComments);
    for (const Key key : kCopiedBeforeTags)
        setNumber(Slot(slotOf(key)), other.number(Slot(slotOf(key))));
    if (other.bHasTags)
        setTags(other.pTags);
    else
        clearTags();
    for (int s = 0; s < int(Slot::Count); ++s) {
        if (!isAmong(ReadingValues::kStored[s]->key, kCopiedBeforeTags))
            setNumber(Slot(s), other.number(Slot(s)));
    }
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

    // Per stored value: the sum over the readings that have it, and their number.
    struct Sum
    {
        double total = 0;
        int count = 0;
    };
    Sum sums[int(Slot::Count)];
    double dates = 0;
    QString comments;
    QStringList tags;
    QSet<QString> seenTags;

    for (const ConstMeasurementPtr &reading : sorted) {
        dates += reading->pDate.timeIntervalSince1970();
        for (int s = 0; s < int(Slot::Count); ++s) {
            double value = 0;
            if (reading->numberForKey(ReadingValues::kStored[s]->key, &value)) {
                sums[s].total += value;
                ++sums[s].count;
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
    // The values every reading has: their rounded mean over all readings. The others: their
    // mean over the readings that have them, unrounded, or none.
    for (int s = 0; s < int(Slot::Count); ++s) {
        if (ReadingValues::kStored[s]->isRequired())
            result->setNumber(Slot(s), roundedMean(sums[s].total));
        else if (sums[s].count > 0)
            result->setNumber(Slot(s), QVariant(sums[s].total / sums[s].count));
    }
    if (!tags.isEmpty())
        result->setTags(tags);
    if (!comments.isEmpty())
        result->setComments(comments);
    return result;
}

Measurement::Key Measurement::keyFromString(QStringView key)
{
    if (const ReadingValue *value = ReadingValues::find(key))
        return value->key;
    static const struct
    {
        QLatin1String name;
        Key key;
    } table[] = {
        {QLatin1String("theWholeDate"), Key::TheWholeDate},
        {QLatin1String("Date"), Key::Date},
        {QLatin1String("Time"), Key::Time},
        {QLatin1String("Comments"), Key::Comments},
        {QLatin1String("Tags"), Key::Tags},
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
    if (const ReadingValue *value = ReadingValues::find(key))
        return value->name;
    switch (key) {
    case Key::TheWholeDate:
        return QLatin1String("theWholeDate");
    case Key::Date:
        return QLatin1String("Date");
    case Key::Time:
        return QLatin1String("Time");
    case Key::Comments:
        return QLatin1String("Comments");
    case Key::Tags:
        return QLatin1String("Tags");
    case Key::TagsCount:
        return QLatin1String("Tags.@count");
    default:
        return QLatin1String();
    }
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
    case Key::Comments:
        return pComments.isNull() ? QVariant() : QVariant(pComments);
    case Key::Tags:
        return bHasTags ? QVariant(pTags) : QVariant();
    case Key::PulsePressure:
        return PulsePressure();
    case Key::TagsCount:
        return QVariant(qlonglong(pTags.size()));
    default: {
        const int s = slotOf(key);
        return s < 0 ? QVariant() : number(Slot(s));
    }
    }
}

bool Measurement::numberForKey(Key key, double *value) const
{
    const int s = slotOf(key);
    if (s < 0) {
        switch (key) {
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
    }
    return storedNumber(s, value);
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
    case Key::Comments:
        if (!none && value.typeId() != QMetaType::QString)
            return false;
        break;
    case Key::Tags:
        if (!none && value.typeId() != QMetaType::QStringList)
            return false;
        break;
    default: {
        const int s = slotOf(key);
        if (s < 0 || (!none && !Number::isNumber(value)))
            return false;
        setNumber(Slot(s), value);
        return true;
    }
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
    case Key::Comments:
        setComments(value.typeId() == QMetaType::QString ? value.toString() : QString());
        return true;
    case Key::Tags:
        if (value.typeId() == QMetaType::QStringList)
            setTags(value.toStringList());
        else
            clearTags();
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
const QString kArchiveComments = QStringLiteral("comments");
const QString kArchiveTags = QStringLiteral("tags");
const QString kOldSystolic = QStringLiteral("systolic");
const QString kOldDiastolic = QStringLiteral("diastolic");
const QString kOldHasWeight = QStringLiteral("has-weight");
const QString kOldWeight = QStringLiteral("weight");
const QString kOldHasPulse = QStringLiteral("has-pulse");
const QString kOldPulse = QStringLiteral("pulse");

// The values the file holds before the comments and the tags, in its order; every other stored
// value follows the tags in the order of the table.
constexpr Measurement::Key kArchivedBeforeTags[] = {
    Measurement::Key::Systolic, Measurement::Key::Diastolic, Measurement::Key::Weight,
    Measurement::Key::Pulse};

// The archive key of each stored value, by slot.
const QString &archiveKey(int slot)
{
    static const auto keys = [] {
        std::array<QString, ReadingValues::kStoredCount> all;
        for (int s = 0; s < ReadingValues::kStoredCount; ++s)
            all[s] = ReadingValues::kStored[s]->archiveKey;
        return all;
    }();
    return keys[slot];
}

// The number under the key; anything that is not a number counts as absent.
QVariant decodeNumber(KeyedUnarchiver &coder, const QString &key)
{
    return Number::normalized(coder.decodeObjectForKey(key));
}

} // namespace

void Measurement::encodeWithCoder(KeyedArchiver &coder) const
{
    coder.encodeObject(dateVariant(pDate), kArchiveDate);
    for (const Key key : kArchivedBeforeTags)
        coder.encodeObject(number(Slot(slotOf(key))), archiveKey(slotOf(key)));
    coder.encodeObject(pComments.isNull() ? QVariant() : QVariant(pComments), kArchiveComments);
    coder.encodeObject(bHasTags ? QVariant(pTags) : QVariant(), kArchiveTags);
    for (int s = 0; s < int(Slot::Count); ++s) {
        if (!isAmong(ReadingValues::kStored[s]->key, kArchivedBeforeTags))
            coder.encodeObject(number(Slot(s)), archiveKey(s));
    }
}

MeasurementPtr MeasurementBlocks::create()
{
    if (m_used == m_size) {
        // Growing blocks: a file of a few readings costs little, a large one few allocations.
        m_size = m_size == 0 ? kFirstBlock : std::min(m_size * 2, kLargestBlock);
        m_block = std::make_shared<Measurement[]>(size_t(m_size));
        m_used = 0;
    }
    return MeasurementPtr(m_block, &m_block[m_used++]);
}

MeasurementPtr Measurement::initWithCoder(KeyedUnarchiver &coder, MeasurementBlocks *blocks)
{
    const MeasurementPtr reading = blocks ? blocks->create() : std::make_shared<Measurement>();

    const QVariant date = coder.decodeObjectForKey(kArchiveDate);
    reading->setTheWholeDate(date.metaType() == QMetaType::fromType<::Date>() ? date.value<::Date>()
                                                                              : ::Date::now());

    // The values of the older form, which stored whole numbers with flags.
    QVariant systolic = decodeNumber(coder, archiveKey(slotOf(Key::Systolic)));
    QVariant diastolic = decodeNumber(coder, archiveKey(slotOf(Key::Diastolic)));
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

    QVariant weight = decodeNumber(coder, archiveKey(slotOf(Key::Weight)));
    if (!weight.isValid() && coder.decodeBoolForKey(kOldHasWeight))
        weight = Number::integer(coder.decodeIntForKey(kOldWeight));
    reading->setWeight(weight);
    QVariant pulse = decodeNumber(coder, archiveKey(slotOf(Key::Pulse)));
    if (!pulse.isValid() && coder.decodeBoolForKey(kOldHasPulse))
        pulse = Number::integer(coder.decodeIntForKey(kOldPulse));
    reading->setPulse(pulse);

    const QVariant comments = coder.decodeObjectForKey(kArchiveComments);
    if (comments.typeId() == QMetaType::QString)
        reading->setComments(comments.toString());

    // An array holding anything but strings counts as absent.
    bool hasTags = false;
    const QStringList tags = coder.decodeStringsForKey(kArchiveTags, &hasTags);
    if (hasTags)
        reading->setTags(tags);

    for (int s = 0; s < int(Slot::Count); ++s) {
        if (!isAmong(ReadingValues::kStored[s]->key, kArchivedBeforeTags))
            reading->setNumber(Slot(s), decodeNumber(coder, archiveKey(s)));
    }
    return reading;
}
