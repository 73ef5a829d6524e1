#pragma once

#include <QtGlobal>

// The 16-bit short float of medical device values: a 12-bit signed mantissa under a 4-bit signed
// exponent of ten, sent little-endian. Five raw values are no number but a condition.
class Sfloat
{
public:
    enum class Kind : quint8
    {
        Number,
        NotANumber,          // 0x07FF
        NotAtThisResolution, // 0x0800
        PlusInfinity,        // 0x07FE
        MinusInfinity,       // 0x0802
        Reserved             // 0x0801
    };

    constexpr Sfloat() = default;
    static constexpr Sfloat fromRaw(quint16 raw)
    {
        Sfloat s;
        s.nRaw = raw;
        return s;
    }
    // Two bytes, low byte first.
    static constexpr Sfloat fromBytes(quint8 low, quint8 high)
    {
        return fromRaw(quint16(low | (high << 8)));
    }

    constexpr quint16 raw() const { return nRaw; }
    constexpr Kind kind() const
    {
        switch (nRaw) {
        case 0x07FF:
            return Kind::NotANumber;
        case 0x0800:
            return Kind::NotAtThisResolution;
        case 0x07FE:
            return Kind::PlusInfinity;
        case 0x0802:
            return Kind::MinusInfinity;
        case 0x0801:
            return Kind::Reserved;
        default:
            return Kind::Number;
        }
    }
    constexpr bool isNumber() const { return kind() == Kind::Number; }
    constexpr int mantissa() const
    {
        const int m = nRaw & 0x0FFF;
        return m >= 0x0800 ? m - 0x1000 : m;
    }
    constexpr int exponent() const
    {
        const int e = nRaw >> 12;
        return e >= 8 ? e - 16 : e;
    }
    // True when the value has no fraction (an exponent of zero or more, or a mantissa that the
    // negative exponent divides).
    bool isWhole() const;
    // The value, correctly rounded; meaningless unless isNumber().
    double value() const;

private:
    quint16 nRaw = 0x07FF;
};
