#include "ChartViewport.h"

#include <algorithm>
#include <cmath>

void ChartViewport::setPeriod(double first, double last)
{
    const bool all = showsAll();
    const double span = shownSpan();
    if (!std::isfinite(first) || !std::isfinite(last) || last < first)
        first = last = 0;
    fPeriodFirst = first;
    fPeriodLast = last;
    if (all)
        showAll();
    else
        show(fShownFirst, span);
}

bool ChartViewport::show(double first, double span)
{
    const double period = fPeriodLast - fPeriodFirst;
    const double before[] = {fShownFirst, fShownLast};
    if (!(span < period) || !std::isfinite(first)) {
        fShownFirst = fPeriodFirst;
        fShownLast = fPeriodLast;
    } else {
        first = std::clamp(first, fPeriodFirst, fPeriodLast - span);
        fShownFirst = first;
        fShownLast = first + span;
    }
    return before[0] != fShownFirst || before[1] != fShownLast;
}

bool ChartViewport::zoom(double factor, double anchor)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return false;
    const double span = shownSpan();
    const double period = fPeriodLast - fPeriodFirst;
    const double shortest = std::min(kShortestSpan, period);
    const double wanted = std::clamp(span / factor, shortest, period);
    if (!(span > 0))
        return show(fPeriodFirst, wanted);
    anchor = std::clamp(std::isfinite(anchor) ? anchor : fShownFirst + span / 2, fShownFirst,
                        fShownLast);
    return show(anchor - (anchor - fShownFirst) * wanted / span, wanted);
}

bool ChartViewport::pan(double seconds)
{
    if (showsAll() || !std::isfinite(seconds))
        return false;
    return show(fShownFirst + seconds, shownSpan());
}

bool ChartViewport::showAll()
{
    return show(fPeriodFirst, fPeriodLast - fPeriodFirst);
}
