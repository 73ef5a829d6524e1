#pragma once

#include <QtGlobal>

// A random generator whose output is the same on every compiler and standard library (the
// distributions of <random> are not), so that figures computed from its numbers can be
// compared with fixed expectations. SplitMix64 underneath.
class TestRandom
{
public:
    explicit TestRandom(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), exactly: 53 random bits scaled by a power of two.
    double uniform() { return double(next() >> 11) * 0x1.0p-53; }

    // Roughly normal with mean 0 and deviation 1: the sum of twelve uniforms less 6. Only
    // additions, so the result is exact wherever doubles are IEEE 754.
    double normal()
    {
        double sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum - 6.0;
    }

private:
    quint64 m_state;
};
