#pragma once

#include "Measurement.h"
#include "Sfloat.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

class LocalTimeOffsets;

// One blood-pressure measurement record as a monitor sends it:
//
//   flags (1 byte)        bit 0 unit (0 mmHg, 1 kPa), bit 1 time stamp, bit 2 pulse rate,
//                         bit 3 user ID, bit 4 measurement status; bits 5-7 reserved, ignored
//   systolic, diastolic, mean arterial pressure   three short floats
//   time stamp (7 bytes)  year (2 bytes, 0 unknown), month, day, hours, minutes, seconds, on the
//                         monitor's clock, without a zone
//   pulse rate            a short float
//   user ID (1 byte)      kUnknownUser for an unknown user
//   status (2 bytes)      the Status bits
//
// Bytes past the fields the flags announce are ignored (later fields of a newer monitor).
class BloodPressureRecord
{
public:
    enum Flag : quint8
    {
        UnitKilopascal = 0x01,
        HasTimeStamp = 0x02,
        HasPulseRate = 0x04,
        HasUserId = 0x08,
        HasStatus = 0x10
    };
    enum Status : quint16
    {
        BodyMovement = 0x0001,
        CuffTooLoose = 0x0002,
        IrregularPulse = 0x0004,
        PulseRangeMask = 0x0018, // 0 within range, 1 above, 2 below, 3 reserved
        ImproperPosition = 0x0020
    };
    static constexpr quint8 kUnknownUser = 0xFF;
    static constexpr double kMmHgPerKilopascal = 7.50062;

    struct TimeStamp
    {
        int year = 0; // 0: unknown
        int month = 0, day = 0, hours = 0, minutes = 0, seconds = 0;
    };

    quint8 flags = 0;
    Sfloat systolic, diastolic, meanArterialPressure;
    std::optional<TimeStamp> timeStamp;
    std::optional<Sfloat> pulseRate;
    std::optional<quint8> userId;
    std::optional<quint16> status;

    bool isKilopascal() const { return flags & UnitKilopascal; }

    // Decodes a record; nothing, with the reason in `problem`, when the bytes are too few for
    // what the flags announce.
    static std::optional<BloodPressureRecord> decode(QByteArrayView bytes,
                                                     QString *problem = nullptr);

    // The reading this record gives: pressures in mmHg (kPa converted and rounded to whole mmHg),
    // the pulse unless the monitor sent none, the status bits as tags in the current language.
    // The instant is the time stamp on the local clock, or `fallback` when the record has none
    // (or an unknown year). Nothing, with the reason in `problem`, for a failed measurement, a
    // time stamp that is no date, no time at all, or values the editor would refuse.
    MeasurementPtr toReading(Date fallback, LocalTimeOffsets &offsets,
                             QString *problem = nullptr) const;

    // The tags the status bits stand for, in the current language.
    static QStringList tagsOfStatus(quint16 status);
    // The words for a short float that is no number ("not a number", "too high to measure", ...).
    static QString conditionText(Sfloat::Kind kind);
    // The reason the editor's check `stem` (MeasurementChecks) gives for the reading.
    static QString checkFailureText(const QString &stem, const Measurement &reading);
};
