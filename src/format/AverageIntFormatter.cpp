#include "AverageIntFormatter.h"

std::unique_ptr<AverageIntFormatter> AverageIntFormatter::formatter()
{
    return std::make_unique<AverageIntFormatter>();
}
