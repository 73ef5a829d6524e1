#pragma once

#include "Date.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

class LocalTimeOffsets;

// The services, characteristics and small messages a blood-pressure monitor speaks besides its
// measurement records (BloodPressureRecord).
namespace MonitorProtocol {

// 16-bit identifiers.
constexpr quint16 kBloodPressureService = 0x1810;
constexpr quint16 kCurrentTimeService = 0x1805;
constexpr quint16 kMeasurement = 0x2A35;  // indicated
constexpr quint16 kFeature = 0x2A49;      // read
constexpr quint16 kControlPoint = 0x2A52; // written, answers indicated
constexpr quint16 kCurrentTime = 0x2A2B;  // read; written where the monitor allows
constexpr quint16 kClientConfiguration = 0x2902;
// The client configuration value that turns indications on.
inline QByteArray indicationsOn()
{
    return QByteArray::fromRawData("\x02\x00", 2);
}

// What the monitor says it can detect (the feature characteristic's 16 bits).
struct Features
{
    enum : quint16
    {
        BodyMovement = 0x0001,
        CuffFit = 0x0002,
        IrregularPulse = 0x0004,
        PulseRateRange = 0x0008,
        MeasurementPosition = 0x0010,
        MultipleBonds = 0x0020
    };
    quint16 bits = 0;
    bool has(quint16 feature) const { return (bits & feature) == feature; }
};
// Nothing for fewer than two bytes.
std::optional<Features> decodeFeatures(QByteArrayView bytes);

// The record access control point.
namespace ControlPoint {
enum OpCode : quint8
{
    ReportStoredRecords = 0x01,
    DeleteStoredRecords = 0x02,
    Abort = 0x03,
    ReportNumberOfRecords = 0x04,
    NumberOfRecordsResponse = 0x05,
    ResponseCode = 0x06
};
enum Operator : quint8
{
    Null = 0x00,
    AllRecords = 0x01,
    LessOrEqual = 0x02,
    GreaterOrEqual = 0x03
};
// The filter of a GreaterOrEqual request: the records' sequence numbers.
constexpr quint8 kSequenceNumberFilter = 0x01;
enum Response : quint8
{
    Success = 0x01,
    OpCodeNotSupported = 0x02,
    InvalidOperator = 0x03,
    OperatorNotSupported = 0x04,
    InvalidOperand = 0x05,
    NoRecordsFound = 0x06,
    AbortUnsuccessful = 0x07,
    ProcedureNotCompleted = 0x08,
    OperandNotSupported = 0x09
};

// Requests for all records, or for those numbered `first` and later.
QByteArray request(OpCode op);
QByteArray requestFrom(OpCode op, quint16 first);

// A message from the control point: a number of records or the answer to a request.
struct Message
{
    quint8 op = 0;
    quint16 count = 0;    // NumberOfRecordsResponse
    quint8 requestOp = 0; // ResponseCode: the request answered
    quint8 response = 0;  // ResponseCode: Response
};
// Nothing for a message too short for its op code or one of another op code.
std::optional<Message> decode(QByteArrayView bytes);
// The words for a response code, in the current language.
QString responseText(quint8 response);
} // namespace ControlPoint

// The monitor's clock (the current time characteristic: year (2 bytes), month, day, hours,
// minutes, seconds, then more that is not needed) as an instant on the local clock; a null Date
// for a value too short or no date.
Date decodeCurrentTime(QByteArrayView bytes, LocalTimeOffsets &offsets);

// Why a current time value was set (its last byte, bit flags).
enum AdjustReason : quint8
{
    ManualTimeUpdate = 0x01,
    ExternalReferenceTimeUpdate = 0x02,
    TimeZoneChange = 0x04,
    DaylightSavingChange = 0x08
};
// The current time value that sets the monitor's clock to the instant on the local clock: the
// exact date and time (year (2 bytes, little-endian), month, day, hours, minutes, seconds, day of
// the week 1 = Monday to 7 = Sunday), the 1/256 parts of the second, and the reason. Empty for an
// instant whose year the value cannot hold.
QByteArray encodeCurrentTime(const Date &instant, LocalTimeOffsets &offsets,
                             quint8 reason = ManualTimeUpdate);

} // namespace MonitorProtocol
