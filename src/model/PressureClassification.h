#pragma once

#include <QString>

// Classes a blood-pressure reading by a published scheme of categories. The thresholds are data,
// one table per scheme (in PressureClassification.cpp), each naming its source. The class names
// the category a reading falls in and nothing more.
class PressureClassification
{
public:
    // The schemes, in the order of the "classificationScheme" preference.
    enum class Scheme
    {
        None,
        Esh2023,
        AccAha2017
    };

    // The scheme the preferences name.
    static Scheme schemeFromPreferences();
    // The localisation key of the category of systolic/diastolic under the scheme
    // ("class.esh.grade_1"), empty for Scheme::None.
    static const char *categoryKey(Scheme scheme, double systolic, double diastolic);
    // The place of that category in the scheme's order (ESH: optimal 0 ... grade 3, then isolated
    // systolic; ACC/AHA: normal 0 ... crisis), for sorting; -1 for Scheme::None.
    static int categoryRank(Scheme scheme, double systolic, double diastolic);
    // The same, localised.
    static QString category(Scheme scheme, double systolic, double diastolic);
    // The scheme's name as printed beside its column; empty for Scheme::None.
    static QString schemeName(Scheme scheme);
};
