#pragma once

#include "Date.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class KeyedArchiver;
class KeyedUnarchiver;
class Measurement;
class MeasurementBlocks;
using MeasurementPtr = std::shared_ptr<Measurement>;
// A shared_ptr is two plain pointers and may be moved with memcpy: lists of readings then grow
// and shift by moving bytes, and a QVariant holds one without a heap block.
Q_DECLARE_TYPEINFO(MeasurementPtr, Q_RELOCATABLE_TYPE);
using MeasurementList = QList<MeasurementPtr>;
// A reading as handed out by the document: only the document's operations change the readings
// it holds.
using ConstMeasurementPtr = std::shared_ptr<const Measurement>;
Q_DECLARE_TYPEINFO(ConstMeasurementPtr, Q_RELOCATABLE_TYPE);
using ConstMeasurementList = QList<ConstMeasurementPtr>;
// The same readings, as a list that only reads them.
inline ConstMeasurementList constReadings(const MeasurementList &readings)
{
    return ConstMeasurementList(readings.cbegin(), readings.cend());
}

// Told about changes to a reading's properties. measurementWillChange() comes before the value
// changes, measurementDidChange() after it, with the value the key held before (invalid for
// none). Keys are the reading's property keys, plus "date", which setDate()/setTime()
// announce around the change of "theWholeDate".
class MeasurementObserver
{
public:
    virtual ~MeasurementObserver() = default;
    virtual void measurementWillChange(Measurement *, QLatin1String /*key*/) {}
    virtual void measurementDidChange(Measurement *reading, QLatin1String key,
                                      const QVariant &oldValue) = 0;
};

// One blood-pressure reading. A reading has identity only: lists hold it by shared pointer and
// find it by address. Numbers are QVariants (qlonglong whole, double fractional, invalid absent);
// the reading stores them compactly, so one that nobody observes costs little more than its
// values.
class Measurement
{
public:
    // The property keys, resolved once by keyFromString() for code that reads many readings.
    enum class Key : quint8
    {
        TheWholeDate,
        Date,
        Time,
        Systolic,
        Diastolic,
        Pulse,
        Weight,
        Comments,
        Tags,
        CustomValue1,
        CustomValue2,
        CustomValue3,
        PulsePressure,
        TagsCount, // "Tags.@count"
        Invalid
    };

    // A reading with no values at all (used before filling a copy or a decoded record).
    Measurement();
    // A reading at the given instant with whole-number systolic and diastolic values.
    Measurement(::Date date, qint32 systolic, qint32 diastolic);
    ~Measurement();

    // The values of the other reading, with empty caches and no observers (as copy()).
    Measurement(const Measurement &other);
    Measurement &operator=(const Measurement &) = delete;

    static MeasurementPtr create(::Date date, qint32 systolic, qint32 diastolic)
    {
        return std::make_shared<Measurement>(date, systolic, diastolic);
    }

    // An independent copy with the same values and empty caches; the way to edit a reading the
    // document handed out is to change a copy and give it to the document.
    MeasurementPtr copy() const;
    // Takes over every value of the other reading, through the setters, announcing each key.
    void copyFrom(const Measurement &other);
    // -1 when this reading was taken before the other, 0 at the same instant, 1 after it.
    int compare(const Measurement &other) const;

    // A new reading averaging the given ones (two or more); the inputs are not changed.
    static MeasurementPtr averageOf(const ConstMeasurementList &readings);

    ::Date theWholeDate() const { return pDate; }
    ::Date Date() const;
    ::Date Time() const;
    QVariant Systolic() const { return number(Slot::Systolic); }
    QVariant Diastolic() const { return number(Slot::Diastolic); }
    QVariant Pulse() const { return number(Slot::Pulse); }
    QVariant Weight() const { return number(Slot::Weight); }
    QString Comments() const { return pComments; } // null when absent
    QStringList Tags() const { return pTags; }
    bool hasTags() const { return bHasTags; }
    QVariant customValue1() const { return number(Slot::Custom1); }
    QVariant customValue2() const { return number(Slot::Custom2); }
    QVariant customValue3() const { return number(Slot::Custom3); }
    QVariant PulsePressure() const;

    void setTheWholeDate(::Date date);
    void setDate(::Date day);
    void setTime(::Date time);
    void setSystolic(const QVariant &value) { setNumber(Slot::Systolic, value); }
    void setDiastolic(const QVariant &value) { setNumber(Slot::Diastolic, value); }
    void setPulse(const QVariant &value) { setNumber(Slot::Pulse, value); }
    void setWeight(const QVariant &value) { setNumber(Slot::Weight, value); }
    void setComments(const QString &comments); // a null string means none
    void setTags(const QStringList &tags);
    void clearTags();
    void setCustomValue1(const QVariant &value) { setNumber(Slot::Custom1, value); }
    void setCustomValue2(const QVariant &value) { setNumber(Slot::Custom2, value); }
    void setCustomValue3(const QVariant &value) { setNumber(Slot::Custom3, value); }

    // Key-value access. Dates come as QVariant<Date>, tags as QStringList, comments as QString,
    // numbers as qlonglong or double; an absent value is an invalid QVariant.
    static Key keyFromString(QStringView key);
    static QLatin1String keyName(Key key);
    QVariant valueForKey(Key key) const;
    QVariant valueForKey(QStringView key) const { return valueForKey(keyFromString(key)); }
    // The number under a numeric key as a double, with whether it is present; cheap.
    bool numberForKey(Key key, double *value) const;
    // The same for a stored value, by its place among them (ReadingValues::slotOf, 0 and up):
    // for reading many readings' values at once.
    bool storedNumber(int place, double *value) const
    {
        switch (kind(Slot(place))) {
        case Whole:
            *value = double(pNumbers[place].i);
            return true;
        case Fractional:
            *value = pNumbers[place].d;
            return true;
        default:
            return false;
        }
    }
    // Sets a writable key; false for an unknown or read-only key.
    bool setValueForKey(const QVariant &value, Key key);
    bool setValueForKey(const QVariant &value, QStringView key)
    {
        return setValueForKey(value, keyFromString(key));
    }

    // The keyed archive form, under the class name "Measurement": encodeWithCoder() writes the
    // ten object keys ("date", "systolic-obj", ...); initWithCoder() reads them, falls back to
    // the older integer keys ("systolic", "has-weight", ...) and treats a value of the wrong
    // type as absent.
    // With `blocks`, the reading is made in one of its blocks.
    void encodeWithCoder(KeyedArchiver &coder) const;
    static MeasurementPtr initWithCoder(KeyedUnarchiver &coder,
                                        MeasurementBlocks *blocks = nullptr);

    void addObserver(MeasurementObserver *observer);
    void removeObserver(MeasurementObserver *observer);

private:
    // The stored numbers, in the order of the table of values (ReadingValues, which checks it).
    enum class Slot : quint8
    {
        Systolic,
        Diastolic,
        Pulse,
        Weight,
        Custom1,
        Custom2,
        Custom3,
        Count
    };
    enum Kind : quint16
    {
        Absent = 0,
        Whole = 1,
        Fractional = 2
    };
    union NumberSlot {
        qint64 i;
        double d;
    };

    NumberSlot &slot(Slot s) { return pNumbers[int(s)]; }
    const NumberSlot &slot(Slot s) const { return pNumbers[int(s)]; }
    Kind kind(Slot s) const { return Kind((nKinds >> (2 * int(s))) & 3); }
    QVariant number(Slot s) const;
    void setNumber(Slot s, const QVariant &value);

    void willChange(QLatin1String key);
    void didChange(QLatin1String key, const QVariant &oldValue);
    bool isObserved() const { return bObserved; }
    // The observers of this reading, kept outside it so that the many readings nobody observes
    // do not pay for the hook.
    std::vector<MeasurementObserver *> *observers() const;

    ::Date pDate;
    mutable ::Date pCacheTimeOnly;
    mutable ::Date pCacheDateOnly;
    NumberSlot pNumbers[int(Slot::Count)]{};
    quint16 nKinds = 0; // two bits per number: Absent, Whole or Fractional
    static_assert(int(Slot::Count) * 2 <= 16, "nKinds holds two bits per number");
    bool bHasTags = false;
    bool bObserved = false; // true while observers() has an entry for this reading
    QString pComments;
    QStringList pTags;
};

// Readings made many at a time (those of a file): each block holds a run of readings in one
// allocation, and each reading handed out shares its block's ownership, so that the block is
// freed with the last of its readings. A reading in a block behaves like any other; a block
// stays whole while any of its readings lives.
class MeasurementBlocks
{
public:
    // A reading with no values (as Measurement()), in the current block or a new one.
    MeasurementPtr create();

private:
    static constexpr qsizetype kFirstBlock = 16;
    static constexpr qsizetype kLargestBlock = 4096;
    std::shared_ptr<Measurement[]> m_block;
    qsizetype m_used = 0;
    qsizetype m_size = 0;
};
