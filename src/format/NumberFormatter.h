#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

// Renders numbers for display in the locale's form: its digits, minus sign, decimal separator and
// (in the decimal style) grouping separator. Rounding is half to even on the number's shortest
// decimal form, so 0.125 with two fraction digits gives 0.12 and 0.5 as a whole number gives 0.
// The locale is the default QLocale at the moment of formatting unless one is set.
class NumberFormatter
{
public:
    enum class Style
    {
        None,
        Decimal
    }; // None: digits only, no grouping

    NumberFormatter() = default;

    Style numberStyle() const { return nStyle; }
    void setNumberStyle(Style style) { nStyle = style; }
    int minimumFractionDigits() const { return nMinFraction; }
    void setMinimumFractionDigits(int digits);
    int maximumFractionDigits() const { return nMaxFraction; }
    void setMaximumFractionDigits(int digits);
    int minimumIntegerDigits() const { return nMinInteger; }
    void setMinimumIntegerDigits(int digits);
    // The text of a missing number (an invalid QVariant or a value that is not a number).
    QString nilSymbol() const { return strNil; }
    void setNilSymbol(const QString &symbol) { strNil = symbol; }
    // An explicit locale, or none to follow the default QLocale.
    void setLocale(const QLocale &locale);
    void clearLocale() { bHasLocale = false; }

    QString stringFromNumber(const QVariant &number) const;
    QString stringFromDouble(double value) const;

    // The value rounded half to even to at most maxFraction fraction digits (trailing zeros
    // kept down to minFraction), as ASCII: an optional '-', digits, and '.' with the fraction.
    // A value that rounds to zero has no sign. Needs a finite value.
    static QByteArray roundedDecimal(double value, int minFraction, int maxFraction);

private:
    QString render(QByteArray asciiDecimal) const;
    QLocale locale() const { return bHasLocale ? pLocale : QLocale(); }

    Style nStyle = Style::Decimal;
    int nMinFraction = 0;
    int nMaxFraction = 3;
    int nMinInteger = 1;
    QString strNil;
    QLocale pLocale;
    bool bHasLocale = false;
};
