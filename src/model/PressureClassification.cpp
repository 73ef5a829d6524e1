#include "PressureClassification.h"

#include "Preferences.h"

#include <iterator>

namespace {

// One category: a reading falls in it when
// - Either: systolic >= systolicFrom or diastolic >= diastolicFrom;
// - SystolicOnly: systolic >= systolicFrom and diastolic < diastolicFrom.
// A table is read from the top; the first category that takes the reading is its class, so the
// higher categories come first and the last one takes every reading.
struct Category
{
    enum Rule
    {
        Either,
        SystolicOnly
    };
    const char *key;
    Rule rule;
    double systolicFrom;
    double diastolicFrom;
    int rank; // the place of the category when readings are sorted by class, lowest first
};

// Office blood pressure categories of the 2023 ESH Guidelines for the management of arterial
// hypertension (European Society of Hypertension; J Hypertens 2023;41:1874-2071, Table 6):
// optimal <120 and <80; normal 120-129 and/or 80-84; high normal 130-139 and/or 85-89; grade 1
// 140-159 and/or 90-99; grade 2 160-179 and/or 100-109; grade 3 >=180 and/or >=110; isolated
// systolic hypertension >=140 and <90.
constexpr Category kEsh2023[] = {
    {QT_TRID_NOOP("class.esh.isolated_systolic"), Category::SystolicOnly, 140, 90, 6},
    {QT_TRID_NOOP("class.esh.grade_3"), Category::Either, 180, 110, 5},
    {QT_TRID_NOOP("class.esh.grade_2"), Category::Either, 160, 100, 4},
    {QT_TRID_NOOP("class.esh.grade_1"), Category::Either, 140, 90, 3},
    {QT_TRID_NOOP("class.esh.high_normal"), Category::Either, 130, 85, 2},
    {QT_TRID_NOOP("class.esh.normal"), Category::Either, 120, 80, 1},
    {QT_TRID_NOOP("class.esh.optimal"), Category::Either, 0, 0, 0},
};

// Categories of the 2017 ACC/AHA Guideline for the Prevention, Detection, Evaluation, and
// Management of High Blood Pressure in Adults (Whelton et al., Hypertension 2018;71:e13-e115,
// Table 6; the crisis threshold from its section 11.2): normal <120 and <80; elevated 120-129
// and <80; stage 1 130-139 or 80-89; stage 2 >=140 or >=90; hypertensive crisis >180 and/or
// >120. Whole mmHg readings: "> 180" is ">= 181".
constexpr Category kAccAha2017[] = {
    {QT_TRID_NOOP("class.acc.crisis"), Category::Either, 181, 121, 4},
    {QT_TRID_NOOP("class.acc.stage_2"), Category::Either, 140, 90, 3},
    {QT_TRID_NOOP("class.acc.stage_1"), Category::Either, 130, 80, 2},
    {QT_TRID_NOOP("class.acc.elevated"), Category::SystolicOnly, 120, 80, 1},
    {QT_TRID_NOOP("class.acc.normal"), Category::Either, 0, 0, 0},
};

template <std::size_t N>
const Category &classify(const Category (&table)[N], double systolic, double diastolic)
{
    for (const Category &category : table) {
        const bool high = systolic >= category.systolicFrom;
        if (category.rule == Category::SystolicOnly ? high && diastolic < category.diastolicFrom
                                                    : high || diastolic >= category.diastolicFrom)
            return category;
    }
    return std::end(table)[-1];
}

const Category *categoryOf(PressureClassification::Scheme scheme, double systolic, double diastolic)
{
    switch (scheme) {
    case PressureClassification::Scheme::Esh2023:
        return &classify(kEsh2023, systolic, diastolic);
    case PressureClassification::Scheme::AccAha2017:
        return &classify(kAccAha2017, systolic, diastolic);
    case PressureClassification::Scheme::None:
        break;
    }
    return nullptr;
}

} // namespace

PressureClassification::Scheme PressureClassification::schemeFromPreferences()
{
    switch (Preferences::shared().integerForKey(Preferences::classificationScheme)) {
    case 1:
        return Scheme::Esh2023;
    case 2:
        return Scheme::AccAha2017;
    default:
        return Scheme::None;
    }
}

const char *PressureClassification::categoryKey(Scheme scheme, double systolic, double diastolic)
{
    const Category *category = categoryOf(scheme, systolic, diastolic);
    return category ? category->key : "";
}

int PressureClassification::categoryRank(Scheme scheme, double systolic, double diastolic)
{
    const Category *category = categoryOf(scheme, systolic, diastolic);
    return category ? category->rank : -1;
}

QString PressureClassification::category(Scheme scheme, double systolic, double diastolic)
{
    const char *key = categoryKey(scheme, systolic, diastolic);
    return *key ? qtTrId(key) : QString();
}

QString PressureClassification::schemeName(Scheme scheme)
{
    switch (scheme) {
    case Scheme::Esh2023:
        return qtTrId("class.scheme.esh_2023");
    case Scheme::AccAha2017:
        return qtTrId("class.scheme.acc_aha_2017");
    case Scheme::None:
        break;
    }
    return QString();
}
