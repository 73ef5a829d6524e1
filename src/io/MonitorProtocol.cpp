#include "MonitorProtocol.h"

#include "LocalTimeOffsets.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace MonitorProtocol {

std::optional<Features> decodeFeatures(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return std::nullopt;
    return Features{quint16(quint8(bytes[0]) | (quint8(bytes[1]) << 8))};
}

namespace ControlPoint {

QByteArray request(OpCode op)
{
    const char bytes[] = {char(op), char(AllRecords)};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray requestFrom(OpCode op, quint16 first)
{
    const char bytes[] = {char(op), char(GreaterOrEqual), char(kSequenceNumberFilter),
                          char(first & 0xFF), char(first >> 8)};
    return QByteArray(bytes, sizeof bytes);
}

std::optional<Message> decode(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return std::nullopt;
    Message message;
    message.op = quint8(bytes[0]);
    // The operator byte is Null in both answers; a monitor that says otherwise is not refused.
    if (message.op == NumberOfRecordsResponse && bytes.size() >= 4) {
        message.count = quint16(quint8(bytes[2]) | (quint8(bytes[3]) << 8));
        return message;
    }
    if (message.op == ResponseCode && bytes.size() >= 4) {
        message.requestOp = quint8(bytes[2]);
        message.response = quint8(bytes[3]);
        return message;
    }
    return std::nullopt;
}

QString responseText(quint8 response)
{
    switch (response) {
    case Success:
        return qtTrId("monitor.response.success");
    case OpCodeNotSupported:
        return qtTrId("monitor.response.op_code_not_supported");
    case InvalidOperator:
    case OperatorNotSupported:
        return qtTrId("monitor.response.operator_not_supported");
    case InvalidOperand:
    case OperandNotSupported:
        return qtTrId("monitor.response.operand_not_supported");
    case NoRecordsFound:
        return qtTrId("monitor.response.no_records");
    case ProcedureNotCompleted:
        return qtTrId("monitor.response.not_completed");
    default:
        return qtTrId("monitor.response.other").arg(response);
    }
}

} // namespace ControlPoint

Date decodeCurrentTime(QByteArrayView bytes, LocalTimeOffsets &offsets)
{
    if (bytes.size() < 7)
        return Date();
    const auto byte = [&bytes](qsizetype i) { return int(quint8(bytes[i])); };
    const int year = byte(0) | (byte(1) << 8);
    const int month = byte(2), day = byte(3), hours = byte(4), minutes = byte(5), seconds = byte(6);
    if (year == 0 || !QDate::isValid(year, month, day) || hours > 23 || minutes > 59 ||
        seconds > 59)
        return Date();
    const qint64 local = LocalTimeOffsets::daysFromCivil(year, month, day) * 86400 + hours * 3600 +
                         minutes * 60 + seconds;
    return Date::fromTimeIntervalSince1970(double(offsets.instantOfLocal(local)));
}

QByteArray encodeCurrentTime(const Date &instant, LocalTimeOffsets &offsets, quint8 reason)
{
    const double unix = instant.timeIntervalSince1970();
    if (!std::isfinite(unix))
        return QByteArray();
    const double whole = std::floor(unix);
    const qint64 seconds = qint64(whole);
    const qint64 local = seconds + offsets.offsetAt(seconds);
    const qint64 days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const qint64 ofDay = local - days * 86400;
    int year = 0, month = 0, day = 0;
    LocalTimeOffsets::civilFromDays(days, &year, &month, &day);
    // The value's years are 1582 to 9999; 0 means "not known".
    if (year < 1582 || year > 9999)
        return QByteArray();
    // 1970-01-01 was a Thursday (4).
    const int weekday = int(((days % 7) + 7 + 3) % 7) + 1;
    const int fractions = std::clamp(int((unix - whole) * 256.0), 0, 255);
    const char bytes[] = {
        char(year & 0xFF),     char(year >> 8),  char(month),   char(day),       char(ofDay / 3600),
        char(ofDay / 60 % 60), char(ofDay % 60), char(weekday), char(fractions), char(reason)};
    return QByteArray(bytes, sizeof bytes);
}

} // namespace MonitorProtocol
