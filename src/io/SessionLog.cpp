#include "SessionLog.h"

#include "LocalTimeOffsets.h"
#include "MonitorTransport.h"

#include <QDate>
#include <QFile>
#include <QIODevice>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A token for a message, shortened.
QString shown(QByteArrayView token)
{
    constexpr qsizetype kShown = 40;
    if (token.size() <= kShown)
        return QString::fromUtf8(token);
    return QString::fromUtf8(token.first(kShown)) + QChar(0x2026);
}

// "yyyy-MM-ddTHH:mm:ss" as seconds since 1970-01-01 00:00 on the local clock.
bool parseLocalTime(QByteArrayView s, qint64 *local)
{
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || (s[10] != 'T' && s[10] != 't') ||
        s[13] != ':' || s[16] != ':')
        return false;
    const auto number = [&s](qsizetype from, qsizetype count, int *value) {
        int v = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return false;
            v = v * 10 + (s[i] - '0');
        }
        *value = v;
        return true;
    };
    int y, mo, d, h, mi, se;
    if (!number(0, 4, &y) || !number(5, 2, &mo) || !number(8, 2, &d) || !number(11, 2, &h) ||
        !number(14, 2, &mi) || !number(17, 2, &se))
        return false;
    if (!QDate::isValid(y, mo, d) || h > 23 || mi > 59 || se > 59)
        return false;
    *local = LocalTimeOffsets::daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + se;
    return true;
}

class LineParser
{
public:
    explicit LineParser(QByteArrayView line) : s(line) {}

    QByteArrayView token()
    {
        skipSpaces();
        const qsizetype start = i;
        while (i < s.size() && !isSpace(s[i]))
            ++i;
        return s.sliced(start, i - start);
    }
    // The rest of the line as bytes in hex into `out` (kMaxValueSize bytes); pairs of digits,
    // spaces only between pairs.
    bool hexBytes(char *out, qsizetype *size, QString *reason)
    {
        skipSpaces();
        const QByteArrayView rest = s.sliced(i);
        qsizetype n = 0;
        while (i < s.size()) {
            if (isSpace(s[i])) {
                ++i;
                continue;
            }
            const int high = hexDigit(s[i]);
            const int low = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
            if (high < 0 || low < 0) {
                *reason = qtTrId("monitor.log.bad_hex").arg(shown(rest));
                return false;
            }
            if (n == SessionLog::kMaxValueSize) {
                *reason = qtTrId("monitor.log.too_long").arg(SessionLog::kMaxValueSize);
                return false;
            }
            out[n++] = char(high << 4 | low);
            i += 2;
        }
        *size = n;
        return true;
    }

private:
    void skipSpaces()
    {
        while (i < s.size() && isSpace(s[i]))
            ++i;
    }
    QByteArrayView s;
    qsizetype i = 0;
};

// One line without its comment; false with the reason when it is bad.
// One line without its comment into `entry`, its value into `buffer`; false with the reason when
// the line is bad.
bool parseLine(QByteArrayView line, LocalTimeOffsets &offsets, SessionLog::EntryView *entry,
               char *buffer, QString *reason)
{
    LineParser parser(line);
    QByteArrayView token = parser.token();
    if (!token.isEmpty() && token[0] >= '0' && token[0] <= '9') {
        qint64 local = 0;
        if (!parseLocalTime(token, &local)) {
            *reason = qtTrId("monitor.log.bad_time").arg(shown(token));
            return false;
        }
        entry->time = Date::fromTimeIntervalSince1970(double(offsets.instantOfLocal(local)));
        token = parser.token();
    }
    if (token.size() == 1 && token[0] == '<') {
        entry->direction = SessionLog::Direction::Received;
    } else if (token.size() == 1 && token[0] == '>') {
        entry->direction = SessionLog::Direction::Sent;
    } else {
        *reason = qtTrId("monitor.log.bad_direction").arg(shown(token));
        return false;
    }
    token = parser.token();
    int uuid = 0;
    for (const char c : token)
        uuid = hexDigit(c) < 0 ? -1 : (uuid < 0 ? -1 : uuid << 4 | hexDigit(c));
    if (token.size() != 4 || uuid < 0) {
        *reason = qtTrId("monitor.log.bad_characteristic").arg(shown(token));
        return false;
    }
    entry->characteristic = quint16(uuid);
    qsizetype size = 0;
    if (!parser.hexBytes(buffer, &size, reason))
        return false;
    entry->value = QByteArrayView(buffer, size);
    return true;
}

} // namespace

bool SessionLog::scan(QByteArrayView text, const std::function<void(const EntryView &)> &onEntry,
                      const std::function<void(qint64, const QString &)> &onProblem, QString *error)
{
    if (text.size() > kMaxFileSize) {
        if (error)
            *error = qtTrId("monitor.log.error.too_large").arg(kMaxFileSize >> 20);
        return false;
    }
    QByteArrayView rest = text;
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    LocalTimeOffsets offsets;
    char buffer[kMaxValueSize];
    qint64 number = 0;
    while (!rest.isEmpty()) {
        ++number;
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        const qsizetype hash = line.indexOf('#');
        if (hash >= 0)
            line = line.first(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        EntryView entry;
        entry.line = number;
        QString reason;
        if (parseLine(line, offsets, &entry, buffer, &reason))
            onEntry(entry);
        else
            onProblem(number, reason);
    }
    return true;
}

SessionLog::Result SessionLog::parse(const QByteArray &text)
{
    Result result;
    result.entries.reserve(text.count('\n') + 1);
    scan(
        text,
        [&result](const EntryView &e) {
            result.entries.append(
                {e.line, e.direction, e.characteristic, e.value.toByteArray(), e.time});
        },
        [&result](qint64 line, const QString &reason) {
            if (result.problems.size() < kMaxProblems)
                result.problems.append({line, reason});
            ++result.problemCount;
        },
        &result.error);
    return result;
}

bool SessionLog::load(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = qtTrId("monitor.log.error.read").arg(path, file.errorString());
        return false;
    }
    // Refused before reading a byte when too large; a file that grows meanwhile is cut off one
    // byte past the limit, which scan() refuses.
    if (file.size() > kMaxFileSize) {
        *error = qtTrId("monitor.log.error.too_large").arg(kMaxFileSize >> 20);
        return false;
    }
    *bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = qtTrId("monitor.log.error.read").arg(path, file.errorString());
        return false;
    }
    return true;
}

SessionLog::Result SessionLog::readFile(const QString &path)
{
    QByteArray bytes;
    Result result;
    if (!load(path, &bytes, &result.error))
        return result;
    return parse(bytes);
}

QByteArray SessionLog::formatEntry(const Entry &entry)
{
    QByteArray line;
    if (!entry.time.isNull() && entry.time.isInRange())
        line = entry.time.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
               ' ';
    line += entry.direction == Direction::Received ? "< " : "> ";
    line += QByteArray::number(entry.characteristic, 16).rightJustified(4, '0');
    if (!entry.value.isEmpty())
        line += ' ' + entry.value.toHex(' ');
    return line;
}

void SessionLog::Writer::comment(const QString &text)
{
    for (const QString &line : text.split(u'\n'))
        pDevice->write("# " + line.toUtf8() + '\n');
}

void SessionLog::Writer::write(const Entry &entry)
{
    pDevice->write(formatEntry(entry) + '\n');
}

void SessionLog::Writer::record(MonitorTransport *transport)
{
    QIODevice *device = pDevice;
    QObject::connect(transport, &MonitorTransport::valueArrived, device,
                     [device](const MonitorValue &value) {
                         Writer(device).write({0, Direction::Received, value.characteristic,
                                               value.bytes, value.receivedAt});
                     });
    QObject::connect(
        transport, &MonitorTransport::written, device,
        [device](quint16 characteristic, const QByteArray &value) {
            Writer(device).write({0, Direction::Sent, characteristic, value, Date::now()});
        });
}
