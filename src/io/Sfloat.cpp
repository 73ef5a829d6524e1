#include "Sfloat.h"

namespace {

constexpr double kPowers[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

} // namespace

bool Sfloat::isWhole() const
{
    int m = mantissa();
    for (int e = exponent(); e < 0; ++e) {
        if (m % 10 != 0)
            return false;
        m /= 10;
    }
    return true;
}

double Sfloat::value() const
{
    // A division by an exact power of ten rounds once, so 725e-1 is the double nearest 72.5.
    const int e = exponent();
    return e >= 0 ? double(mantissa()) * kPowers[e] : double(mantissa()) / kPowers[-e];
}
