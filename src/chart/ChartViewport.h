#pragma once

// Which part of the chart's period is shown: the whole, or a part zoomed into and moved along.
// Times are seconds since the reference date.
class ChartViewport
{
public:
    // The shortest part shown: zooming in stops at an hour.
    static constexpr double kShortestSpan = 3600;

    // The whole period, first <= last. What was shown stays shown as far as the new period
    // allows; the whole stays the whole.
    void setPeriod(double first, double last);
    double periodFirst() const { return fPeriodFirst; }
    double periodLast() const { return fPeriodLast; }

    double shownFirst() const { return fShownFirst; }
    double shownLast() const { return fShownLast; }
    double shownSpan() const { return fShownLast - fShownFirst; }
    bool showsAll() const { return fShownFirst == fPeriodFirst && fShownLast == fPeriodLast; }

    // Zooms in (factor above 1) or out around the moment, which keeps its place on the axis as
    // far as the period allows. False when nothing changed.
    bool zoom(double factor, double anchor);
    // Moves the part shown later by the seconds (earlier when negative), within the period.
    bool pan(double seconds);
    bool showAll();

private:
    bool show(double first, double span);

    double fPeriodFirst = 0, fPeriodLast = 0;
    double fShownFirst = 0, fShownLast = 0;
};
