#pragma once

#include "AverageFormatter.h"

// An average as a whole number (half to even), alone or with its whole deviation.
class AverageIntFormatter : public AverageFormatter
{
public:
    AverageIntFormatter() : AverageFormatter(false) {}

    static std::unique_ptr<AverageIntFormatter> formatter();

    bool digitsAllowed() const override { return false; }
};
