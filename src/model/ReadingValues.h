#pragma once

#include "Measurement.h"
#include "Preferences.h"

#include <QLatin1String>
#include <QString>

#include <array>
#include <cstddef>
#include <limits>

// One numeric value of a reading and everything the program keeps about it: its property key,
// how it is stored, archived and exchanged, the preferences that show, title and colour it with
// their defaults, the texts that name it, the bounds the checks hold it to, its unit and how
// tables format it.
struct ReadingValue
{
    // Every reading has the value; a reading may lack it; or the reading computes it from others
    // (never stored, archived or checked).
    enum class Presence : quint8
    {
        Required,
        Optional,
        Derived
    };
    enum class Unit : quint8
    {
        None,
        MillimetresOfMercury,
        BeatsPerMinute,
        Kilograms
    };
    // How tables show it: rounded to whole numbers, or with the fraction it has.
    enum class Format : quint8
    {
        Whole,
        Decimal
    };
    struct Rgb
    {
        float red = 0, green = 0, blue = 0;
    };

    Measurement::Key key = Measurement::Key::Invalid;
    QLatin1String name{}; // the property key, "Systolic"
    Presence presence = Presence::Optional;
    Unit unit = Unit::None;
    Format format = Format::Decimal;
    QLatin1String archiveKey{}; // in the document file, "systolic-obj"; empty when derived
    QLatin1String jsonKey{};    // in the tool's JSON form, "systolic"; empty when derived

    QLatin1String showKey{}; // the switch that shows it, "showPulse"; empty: always shown
    bool shownByDefault = false;
    QLatin1String titleKey{};             // the user's title for it, "customTitle1"; empty: none
    const char *defaultTitleId = nullptr; // that title's default text
    QLatin1String colorKey{};             // its chart line's colour; empty: not charted
    Rgb defaultColor{};

    const char *columnTitleId = nullptr; // the window's column title; none: the user's title
    const char *printTitleId = nullptr;  // the report's column title; none: the user's title
    const char *csvTitleId = nullptr;    // the CSV column title; none: the user's title
    const char *checkStem = nullptr;     // the stem of the editor's alert when a check fails
    const char *csvProblemId = nullptr;  // why an import refuses the row when a check fails
    const char *csvMissingId = nullptr;  // why an import refuses a row without a required value
    // The checks hold the value's integer part within these; any finite number passes when
    // they are infinite.
    double minimum = -std::numeric_limits<double>::infinity();
    double maximum = std::numeric_limits<double>::infinity();

    constexpr bool isStored() const { return presence != Presence::Derived; }
    constexpr bool isRequired() const { return presence == Presence::Required; }
    constexpr bool isBounded() const
    {
        return minimum != -std::numeric_limits<double>::infinity() ||
               maximum != std::numeric_limits<double>::infinity();
    }
};

// The reading's numeric values, in the order they are shown everywhere: tables, averages, chart
// lines, preferences, exports. A new value is a new row here (with a key and a stored slot in
// Measurement) and its texts; the places below derive from the table.
namespace ReadingValues {

using namespace Qt::Literals::StringLiterals;
using Key = Measurement::Key;
using Presence = ReadingValue::Presence;
using Unit = ReadingValue::Unit;
using Format = ReadingValue::Format;
using P = Preferences;

inline constexpr ReadingValue kAll[] = {
    {.key = Key::Systolic,
     .name = "Systolic"_L1,
     .presence = Presence::Required,
     .unit = Unit::MillimetresOfMercury,
     .format = Format::Whole,
     .archiveKey = "systolic-obj"_L1,
     .jsonKey = "systolic"_L1,
     .colorKey = P::chartColorSystolic,
     .defaultColor = {0, 0, 1}, // blue
     .columnTitleId = QT_TRID_NOOP("window.column.systolic"),
     .printTitleId = QT_TRID_NOOP("print.columns.Systolic"),
     .csvTitleId = QT_TRID_NOOP("csv.columns.systolic"),
     .checkStem = "record_bad_systolic",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_systolic"),
     .csvMissingId = QT_TRID_NOOP("csv.problem.no_systolic"),
     .minimum = 50,
     .maximum = 300},
    {.key = Key::Diastolic,
     .name = "Diastolic"_L1,
     .presence = Presence::Required,
     .unit = Unit::MillimetresOfMercury,
     .format = Format::Whole,
     .archiveKey = "diastolic-obj"_L1,
     .jsonKey = "diastolic"_L1,
     .colorKey = P::chartColorDiastolic,
     .defaultColor = {0, 0, 1}, // blue
     .columnTitleId = QT_TRID_NOOP("window.column.diastolic"),
     .printTitleId = QT_TRID_NOOP("print.columns.Diastolic"),
     .csvTitleId = QT_TRID_NOOP("csv.columns.diastolic"),
     .checkStem = "record_bad_diastolic",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_diastolic"),
     .csvMissingId = QT_TRID_NOOP("csv.problem.no_diastolic"),
     .minimum = 20,
     .maximum = 200},
    {.key = Key::PulsePressure,
     .name = "PulsePressure"_L1,
     .presence = Presence::Derived,
     .unit = Unit::MillimetresOfMercury,
     .format = Format::Whole,
     .columnTitleId = QT_TRID_NOOP("window.column.pulse_pressure"),
     .printTitleId = QT_TRID_NOOP("print.columns.PulsePressure")},
    {.key = Key::Pulse,
     .name = "Pulse"_L1,
     .unit = Unit::BeatsPerMinute,
     .format = Format::Whole,
     .archiveKey = "pulse-obj"_L1,
     .jsonKey = "pulse"_L1,
     .showKey = P::showPulse,
     .shownByDefault = true,
     .colorKey = P::chartColorPulse,
     .defaultColor = {0.5f, 0.5f, 0.5f}, // gray
     .columnTitleId = QT_TRID_NOOP("window.column.pulse"),
     .printTitleId = QT_TRID_NOOP("print.columns.Pulse"),
     .csvTitleId = QT_TRID_NOOP("csv.columns.pulse"),
     .checkStem = "record_bad_pulse",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_pulse"),
     .minimum = 20,
     .maximum = 250},
    {.key = Key::Weight,
     .name = "Weight"_L1,
     .unit = Unit::Kilograms,
     .archiveKey = "weight-obj"_L1,
     .jsonKey = "weight"_L1,
     .showKey = P::showWeight,
     .shownByDefault = true,
     .colorKey = P::chartColorWeight,
     .defaultColor = {0.6f, 0.4f, 0.2f}, // brown
     .columnTitleId = QT_TRID_NOOP("window.column.weight"),
     .printTitleId = QT_TRID_NOOP("print.columns.Weight"),
     .csvTitleId = QT_TRID_NOOP("csv.columns.weight"),
     .checkStem = "record_bad_weight",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_weight"),
     .minimum = 2,
     .maximum = 400},
    {.key = Key::CustomValue1,
     .name = "customValue1"_L1,
     .archiveKey = "custom1"_L1,
     .jsonKey = "custom1"_L1,
     .showKey = P::customShow1,
     .titleKey = P::customTitle1,
     .defaultTitleId = QT_TRID_NOOP("columns.custom_default_1"),
     .colorKey = P::chartColorCustom1,
     .defaultColor = {1, 0, 1}, // magenta
     .checkStem = "record_bad_custom",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_custom")},
    {.key = Key::CustomValue2,
     .name = "customValue2"_L1,
     .archiveKey = "custom2"_L1,
     .jsonKey = "custom2"_L1,
     .showKey = P::customShow2,
     .titleKey = P::customTitle2,
     .defaultTitleId = QT_TRID_NOOP("columns.custom_default_2"),
     .colorKey = P::chartColorCustom2,
     .defaultColor = {1, 0.5f, 0}, // orange
     .checkStem = "record_bad_custom",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_custom")},
    {.key = Key::CustomValue3,
     .name = "customValue3"_L1,
     .archiveKey = "custom3"_L1,
     .jsonKey = "custom3"_L1,
     .showKey = P::customShow3,
     .titleKey = P::customTitle3,
     .defaultTitleId = QT_TRID_NOOP("columns.custom_default_3"),
     .colorKey = P::chartColorCustom3,
     .defaultColor = {0.5f, 0, 0.5f}, // purple
     .checkStem = "record_bad_custom",
     .csvProblemId = QT_TRID_NOOP("csv.problem.bad_custom")},
};

inline constexpr int kCount = int(std::size(kAll));

namespace detail {
constexpr std::size_t kKeyCount = std::size_t(Key::Invalid) + 1;

// For each key, its row (or -1) and its slot among the stored values (or -1).
struct Index
{
    std::array<qint8, kKeyCount> row{};
    std::array<qint8, kKeyCount> slot{};
    int stored = 0;
};

constexpr Index makeIndex()
{
    Index index;
    index.row.fill(-1);
    index.slot.fill(-1);
    for (int i = 0; i < kCount; ++i) {
        index.row[std::size_t(kAll[i].key)] = qint8(i);
        if (kAll[i].isStored())
            index.slot[std::size_t(kAll[i].key)] = qint8(index.stored++);
    }
    return index;
}

inline constexpr Index kIndex = makeIndex();
} // namespace detail

// How many values a reading stores (all but the derived ones).
inline constexpr int kStoredCount = detail::kIndex.stored;

// The row of a key; nullptr for a key that names no numeric value (dates, comments, tags).
constexpr const ReadingValue *find(Key key)
{
    const int row = detail::kIndex.row[std::size_t(key)];
    return row < 0 ? nullptr : &kAll[row];
}
// The row of a property key ("Systolic"); nullptr for any other text.
const ReadingValue *find(QStringView name);

// The place of a stored value among the stored values, in table order; -1 for any other key.
constexpr int slotOf(Key key)
{
    return detail::kIndex.slot[std::size_t(key)];
}

// The stored values, in table order.
inline constexpr auto kStored = [] {
    std::array<const ReadingValue *, kStoredCount> stored{};
    int n = 0;
    for (const ReadingValue &value : kAll) {
        if (value.isStored())
            stored[std::size_t(n++)] = &value;
    }
    return stored;
}();

// True when the value is shown: it has no switch, or its switch is on.
bool isShown(const ReadingValue &value);
// The user's title of a value that has one, as the preference holds it.
QString userTitle(const ReadingValue &value);

} // namespace ReadingValues
