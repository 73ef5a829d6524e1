#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

class HomeSummary;
class QIODevice;
class MyDocument;

// A document's whole state as JSON text, and back, for scripting and support (the syntax is
// JsonReader's and JsonWriter's; this is the mapping onto the document):
//
//   {"readings": [{"date", "systolic", "diastolic", "pulse", "weight", "custom1", "custom2",
//                  "custom3", "comments", "tags"}],
//    "filters": [{"name", "predicate", "format", "useInFilters", "useInAverages"}],
//    "selectedFilter": index or null, "sortAscending": bool,
//    "information": [{"name", "value", "printed"}],
//    "printInfo": {"paperWidth", "paperHeight", "leftMargin", "rightMargin", "topMargin",
//                  "bottomMargin", "orientation": "portrait" | "landscape"}}
//
// Numbers keep their kind: a whole number is written without a fraction (70), a fractional one
// always with one (70.0), and the reader takes them back the same way; dates, intervals and print
// settings are reals. Absent values are null.
// Predicates are trees: {"comparison": {"left", "right", "operator", "modifier", "options"}},
// {"compound": "and" | "or" | "not", "subpredicates": [...]} or {"constant": true | false};
// expressions are {"keyPath": "Systolic"} or {"constant": number | string | array | null |
// {"date": seconds} | {"relativeDate": {"interval": seconds, "units": code}}}.
// Writing then reading gives back the same text.
class DocumentJson
{
public:
    // The document as JSON text (indented, ending with a newline).
    static QByteArray toJson(const MyDocument &document);
    // The same text, written to the device as it is made; false when the device took less.
    static bool writeJson(const MyDocument &document, QIODevice *device);

    // Replaces the document's state by the one the text describes, with no undo step; a part
    // the text leaves out (a top-level key absent) stays as the document has it. On text
    // that is not such a document (malformed JSON, a value of the wrong type, an unknown key or
    // code, a predicate that cannot be evaluated, a selected filter out of range) returns false
    // with a message naming the offending place, and leaves the document as it was.
    static bool fromJson(const QByteArray &json, MyDocument *document, QString *error = nullptr);

    // What the averages page shows, as JSON: {"total", "filtered", "averages": [{"name",
    // "count", "values": {key: {"valid", "mean", "deviation"}} for the eight keys}]}.
    static QByteArray statsJson(const MyDocument &document);
    // The home-measurement summary of a filter's readings: period, counted days and readings,
    // means and deviations by part of the day (null where no reading has the value), whether it
    // is complete, and the verdict against the threshold (null when incomplete).
    static QByteArray homeSummaryJson(const HomeSummary &summary, const QString &filterName);

    // Any JSON text as a value: objects QVariantMap, arrays QVariantList, strings QString, true
    // and false bool, null std::nullptr_t, numbers qlonglong when written without fraction or
    // exponent (and within 64 bits), double otherwise. std::nullopt on text that is not JSON,
    // with a message giving the offset, or that is beyond JsonReader's bounds.
    static std::optional<QVariant> parseValue(const QByteArray &json, QString *error = nullptr);

    // A value of that form as indented JSON text ending with a newline; numbers keep their kind
    // as formatNumber() writes them, objects list their keys in sorted order.
    static QByteArray formatValue(const QVariant &value);

    // A number as written: whole numbers (qlonglong) bare, fractional ones (double) with at least
    // one fraction digit, in the shortest form that reads back to the same double; "null" for
    // anything else (absent, not finite).
    static QByteArray formatNumber(const QVariant &number);
};
