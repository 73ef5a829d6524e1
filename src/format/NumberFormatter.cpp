#include "NumberFormatter.h"

#include "Number.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxDigits = 40; // beyond any digit a double carries after the point

// Adds one unit in the last place of a string of ASCII digits; true when it carried out of the
// first digit.
bool incrementDigits(QByteArray &digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// Replaces ASCII digits by the locale's own digits.
QString localDigits(const QByteArray &ascii, const QLocale &locale)
{
    const QString zero = locale.zeroDigit();
    QString out;
    out.reserve(ascii.size());
    if (zero == QLatin1String("0")) {
        out = QString::fromLatin1(ascii);
        return out;
    }
    const QList<uint> zeroCode = zero.toUcs4();
    for (char c : ascii) {
        if (c >= '0' && c <= '9' && zeroCode.size() == 1) {
            const char32_t code = char32_t(zeroCode.first() + uint(c - '0'));
            out += QString::fromUcs4(&code, 1);
        } else {
            out += QLatin1Char(c);
        }
    }
    return out;
}

QString groupedInteger(const QByteArray &digits, const QLocale &locale)
{
    if (locale.numberOptions().testFlag(QLocale::OmitGroupSeparator))
        return localDigits(digits, locale);
    if (digits.size() <= 18 && (digits.size() == 1 || digits[0] != '0'))
        // The locale's own grouping, group sizes included.
        return locale.toString(digits.toLongLong());
    QString out;
    const QString separator = locale.groupSeparator();
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += localDigits(digits.mid(i, 1), locale);
    }
    return out;
}

} // namespace

void NumberFormatter::setMinimumFractionDigits(int digits)
{
    nMinFraction = std::clamp(digits, 0, kMaxDigits);
    nMaxFraction = std::max(nMaxFraction, nMinFraction);
}

void NumberFormatter::setMaximumFractionDigits(int digits)
{
    nMaxFraction = std::clamp(digits, 0, kMaxDigits);
    nMinFraction = std::min(nMinFraction, nMaxFraction);
}

void NumberFormatter::setMinimumIntegerDigits(int digits)
{
    nMinInteger = std::clamp(digits, 0, kMaxDigits);
}

void NumberFormatter::setLocale(const QLocale &locale)
{
    pLocale = locale;
    bHasLocale = true;
}

QByteArray NumberFormatter::roundedDecimal(double value, int minFraction, int maxFraction)
{
    // The shortest decimal text that reads back as the same double, without an exponent.
    QByteArray text = QByteArray::number(value, 'f', QLocale::FloatingPointShortest);
    bool negative = text.startsWith('-');
    if (negative)
        text.remove(0, 1);
    const qsizetype point = text.indexOf('.');
    QByteArray integer = point < 0 ? text : text.left(point);
    QByteArray fraction = point < 0 ? QByteArray() : text.mid(point + 1);

    if (fraction.size() > maxFraction) {
        const QByteArray rest = fraction.mid(maxFraction);
        fraction.truncate(maxFraction);
        bool up = false;
        if (rest[0] > '5') {
            up = true;
        } else if (rest[0] == '5') {
            const bool beyondHalf = rest.mid(1).count('0') != rest.size() - 1;
            const char last = fraction.isEmpty() ? integer.back() : fraction.back();
            up = beyondHalf || (last - '0') % 2 == 1; // a tie goes to the even neighbour
        }
        if (up && incrementDigits(fraction) && incrementDigits(integer))
            integer.prepend('1');
    }
    while (fraction.size() > minFraction && fraction.endsWith('0'))
        fraction.chop(1);
    while (fraction.size() < minFraction)
        fraction.append('0');

    if (integer.count('0') == integer.size() && fraction.count('0') == fraction.size())
        negative = false;
    QByteArray out = negative ? QByteArray("-") : QByteArray();
    out += integer;
    if (!fraction.isEmpty())
        out += '.' + fraction;
    return out;
}

QString NumberFormatter::stringFromNumber(const QVariant &number) const
{
    if (!Number::isNumber(number) || number.typeId() == QMetaType::Bool)
        return strNil;
    const QVariant normal = Number::normalized(number);
    if (normal.typeId() == QMetaType::LongLong) {
        // Whole numbers keep every digit, also beyond the 53 bits of a double.
        QByteArray text = QByteArray::number(normal.toLongLong());
        if (nMinFraction > 0)
            text += '.' + QByteArray(nMinFraction, '0');
        return render(text);
    }
    return stringFromDouble(Number::toDouble(normal));
}

QString NumberFormatter::stringFromDouble(double value) const
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value)) {
        const QString infinity(QChar(0x221E));
        return value < 0 ? locale().negativeSign() + infinity : infinity;
    }
    return render(roundedDecimal(value, nMinFraction, nMaxFraction));
}

QString NumberFormatter::render(QByteArray text) const
{
    const QLocale loc = locale();
    const bool negative = text.startsWith('-');
    if (negative)
        text.remove(0, 1);
    const qsizetype point = text.indexOf('.');
    QByteArray integer = point < 0 ? text : text.left(point);
    const QByteArray fraction = point < 0 ? QByteArray() : text.mid(point + 1);

    // Leading zeros down to the minimum number of integer digits.
    while (integer.size() > nMinInteger && integer.startsWith('0'))
        integer.remove(0, 1);
    while (integer.size() < nMinInteger)
        integer.prepend('0');

    QString out = negative ? loc.negativeSign() : QString();
    if (!integer.isEmpty())
        out += nStyle == Style::Decimal ? groupedInteger(integer, loc) : localDigits(integer, loc);
    if (!fraction.isEmpty())
        out += loc.decimalPoint() + localDigits(fraction, loc);
    return out;
}
