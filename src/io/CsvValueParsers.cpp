#include "CsvValueParsers.h"

#include "LocalTimeOffsets.h"

#include <QDate>

#include <charconv>
#include <cmath>

namespace CsvValueParsers {

bool parseDigits(QStringView s, int *value)
{
    if (s.isEmpty() || s.size() > 9)
        return false;
    int v = 0;
    for (const QChar c : s) {
        if (!isDigit(c))
            return false;
        v = v * 10 + (c.unicode() - u'0');
    }
    *value = v;
    return true;
}

bool parseNumber(QStringView s, QVariant *value)
{
    s = trim(s);
    if (s.isEmpty()) {
        *value = QVariant();
        return true;
    }
    // Whole numbers of up to 18 digits, the usual case, without a copy.
    if (s.size() <= 18) {
        qsizetype i = s[0] == u'-' ? 1 : 0;
        qlonglong whole = 0;
        for (; i < s.size() && isDigit(s[i]); ++i)
            whole = whole * 10 + (s[i].unicode() - u'0');
        if (i == s.size() && (s[0] != u'-' || s.size() > 1)) {
            *value = QVariant(s[0] == u'-' ? -whole : whole);
            return true;
        }
    }
    char buffer[64] = {};
    if (s.size() >= qsizetype(sizeof buffer))
        return false;
    bool fraction = false;
    qsizetype n = 0;
    for (const QChar c : s) {
        char16_t u = c.unicode();
        if (u == u',')
            u = u'.';
        if (u == u'.' || u == u'e' || u == u'E')
            fraction = true;
        else if (!(u >= u'0' && u <= u'9') && u != u'-' && u != u'+')
            return false;
        buffer[n++] = char(u);
    }
    const char *begin = buffer[0] == '+' ? buffer + 1 : buffer;
    const char *end = buffer + n;
    if (!fraction) {
        qlonglong whole = 0;
        const auto result = std::from_chars(begin, end, whole);
        if (result.ec == std::errc() && result.ptr == end) {
            *value = QVariant(whole);
            return true;
        }
    }
    double real = 0;
    const auto result = std::from_chars(begin, end, real);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(real))
        return false;
    *value = QVariant(real);
    return true;
}

bool slashParts(QStringView s, int *first, int *second)
{
    s = s.trimmed();
    const qsizetype a = s.indexOf(u'/');
    if (a < 1)
        return false;
    const qsizetype b = s.indexOf(u'/', a + 1);
    if (b < 0)
        return false;
    return parseDigits(s.first(a), first) && parseDigits(s.sliced(a + 1, b - a - 1), second) &&
           a <= 2;
}

bool parseCalendarDate(QStringView s, bool monthFirst, Moment *moment)
{
    int y = 0, m = 0, d = 0;
    const auto parts = [&s](QChar sep, QStringView *a, QStringView *b, QStringView *c) {
        const qsizetype i = s.indexOf(sep);
        if (i < 0)
            return false;
        const qsizetype j = s.indexOf(sep, i + 1);
        if (j < 0)
            return false;
        *a = s.first(i);
        *b = s.sliced(i + 1, j - i - 1);
        *c = s.sliced(j + 1);
        return true;
    };
    QStringView a, b, c;
    if (parts(u'-', &a, &b, &c)) {
        if (a.size() != 4 || !parseDigits(a, &y) || !parseDigits(b, &m) || !parseDigits(c, &d))
            return false;
    } else if (parts(u'.', &a, &b, &c)) {
        if (!parseDigits(a, &d) || !parseDigits(b, &m) || !parseDigits(c, &y))
            return false;
        if (c.size() == 2)
            y += 2000;
        else if (c.size() != 4)
            return false;
    } else if (parts(u'/', &a, &b, &c)) {
        if (a.size() == 4) {
            if (!parseDigits(a, &y) || !parseDigits(b, &m) || !parseDigits(c, &d))
                return false;
        } else {
            int first = 0, second = 0;
            if (!parseDigits(a, &first) || !parseDigits(b, &second) || !parseDigits(c, &y))
                return false;
            if (c.size() == 2)
                y += 2000;
            else if (c.size() != 4)
                return false;
            if (monthFirst) {
                m = first;
                d = second;
            } else {
                d = first;
                m = second;
            }
        }
    } else {
        return false;
    }
    if (!QDate::isValid(y, m, d))
        return false;
    moment->days = LocalTimeOffsets::daysFromCivil(y, m, d);
    return true;
}

bool parseTimeOfDay(QStringView s, Moment *moment)
{
    s = trim(s);
    qsizetype i = 0;
    const auto number = [&s, &i](int maxDigits, int *value) {
        const qsizetype start = i;
        while (i < s.size() && isDigit(s[i]) && i - start < maxDigits)
            ++i;
        return i > start && parseDigits(s.sliced(start, i - start), value);
    };
    int hour = 0, minute = 0, second = 0;
    if (!number(2, &hour) || i >= s.size() || (s[i] != u':' && s[i] != u'.'))
        return false;
    const QChar separator = s[i++];
    if (!number(2, &minute))
        return false;
    if (i < s.size() && s[i] == separator && i + 1 < s.size() && isDigit(s[i + 1])) {
        ++i;
        if (!number(2, &second))
            return false;
        if (i < s.size() && (s[i] == u'.' || s[i] == u',') && i + 1 < s.size() &&
            isDigit(s[i + 1])) {
            const qsizetype start = ++i;
            while (i < s.size() && isDigit(s[i]))
                ++i;
            QStringView digits = s.sliced(start, i - start).first(qMin<qsizetype>(i - start, 9));
            int value = 0;
            parseDigits(digits, &value);
            moment->fraction = value / std::pow(10.0, double(digits.size()));
        }
    }
    QStringView rest = s.sliced(i).trimmed();
    // 12-hour clock.
    const auto eat = [&rest](QLatin1String word) {
        if (rest.startsWith(word, Qt::CaseInsensitive)) {
            rest = rest.sliced(word.size()).trimmed();
            return true;
        }
        return false;
    };
    const bool words = !rest.isEmpty() && rest[0].isLetter() && rest[0] != u'Z' && rest[0] != u'z';
    if (!words) {
        // An offset or nothing follows.
    } else if (eat(QLatin1String("am")) || eat(QLatin1String("a.m.")) ||
               eat(QLatin1String("a. m."))) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour == 12 ? 0 : hour;
    } else if (eat(QLatin1String("pm")) || eat(QLatin1String("p.m.")) ||
               eat(QLatin1String("p. m."))) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour == 12 ? 12 : hour + 12;
    } else {
        eat(QLatin1String("uhr")) || eat(QLatin1String("h"));
    }
    if (hour > 23 || minute > 59 || second > 60)
        return false;
    moment->secondOfDay = hour * 3600 + minute * 60 + qMin(second, 59);
    // Offset.
    if (rest.isEmpty())
        return true;
    if (rest == u'Z' || rest == u'z') {
        moment->bOffset = true;
        moment->offset = 0;
        return true;
    }
    if (rest[0] != u'+' && rest[0] != u'-' && rest[0] != QChar(0x2212))
        return false;
    const int sign = rest[0] == u'+' ? 1 : -1;
    QStringView digits = rest.sliced(1);
    int oh = 0, om = 0;
    if (digits.size() == 5 && digits[2] == u':') {
        if (!parseDigits(digits.first(2), &oh) || !parseDigits(digits.sliced(3), &om))
            return false;
    } else if (digits.size() == 4) {
        if (!parseDigits(digits.first(2), &oh) || !parseDigits(digits.sliced(2), &om))
            return false;
    } else if (digits.size() == 2) {
        if (!parseDigits(digits, &oh))
            return false;
    } else {
        return false;
    }
    if (oh > 18 || om > 59)
        return false;
    moment->bOffset = true;
    moment->offset = sign * (oh * 3600 + om * 60);
    return true;
}

bool parseTimestamp(QStringView s, double *unixSeconds)
{
    qsizetype digits = 0;
    qsizetype i = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (digits < 9 || digits > 16)
        return false;
    if (i < s.size()) {
        if (s[i] != u'.' || i + 1 == s.size())
            return false;
        for (qsizetype k = i + 1; k < s.size(); ++k) {
            if (!isDigit(s[k]))
                return false;
        }
    }
    char buffer[40];
    if (s.size() >= qsizetype(sizeof buffer))
        return false;
    for (qsizetype k = 0; k < s.size(); ++k)
        buffer[k] = char(s[k].unicode());
    double value = 0;
    std::from_chars(buffer, buffer + s.size(), value);
    // Milliseconds from 1973 on, seconds before the year 5138. Sixteen digits of milliseconds
    // reach far past the year 9999, which no date form writes back: the last moment taken is
    // the one before 31 December 9999 begins in UTC, a day of 9999 in every time zone.
    constexpr double kEndOfDates = 253402214400.0; // 9999-12-31T00:00:00Z
    *unixSeconds = value >= 1e11 ? value / 1000.0 : value;
    return *unixSeconds < kEndOfDates;
}

} // namespace CsvValueParsers
