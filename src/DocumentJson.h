#pragma once

#include "Predicate.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

class MyDocument;

// A document as JSON, for tensilo-tool and for comparing documents in tests:
//   {"readings": [{"date": seconds since 2001, "systolic", "diastolic", "pulse", "weight",
//                  "custom1", "custom2", "custom3": number or null (whole numbers without a
//                  fraction, fractional ones always with one), "comments": string or null,
//                  "tags": array or null}],
//    "filters": [{"name", "predicate": tree, "format": text form,
//                 "useInFilters", "useInAverages": true, false or null}],
//    "selectedFilter": index or null, "sortAscending": bool,
//    "information": [{"name", "value", "printed"}],
//    "printInfo": {"paperWidth", "paperHeight", "leftMargin", "rightMargin", "topMargin",
//                  "bottomMargin", "orientation": "portrait" or "landscape"}}
// Predicate trees: {"comparison": {"left", "right", "operator", "modifier", "options"}},
// {"compound": "and" | "or" | "not", "subpredicates": [...]}, {"constant": true | false};
// expressions {"keyPath": "Systolic"} or {"constant": number | string | array | null |
// {"date": seconds} | {"relativeDate": {"interval": seconds, "units": code}}}.
class DocumentJson
{
public:
    static QByteArray toJson(const MyDocument &document);
    // Replaces the document's readings, filters, selection, order, information and print
    // settings with those of the JSON, without undo steps. False, with *error, and the document
    // unchanged, when the JSON does not describe a document.
    static bool fromJson(const QByteArray &json, MyDocument *document, QString *error = nullptr);

    // What the averages page shows: {"total", "filtered", "averages": [{"name", "count",
    // "values": {key: {"valid", "mean", "deviation"}}}]} for every filter used in averages.
    static QByteArray statsJson(const MyDocument &document);

    // The predicate tree alone, and back (nullptr, with *error, for a tree that is no
    // predicate).
    static QVariant predicateToTree(const PredicatePtr &predicate);
    static PredicatePtr predicateFromTree(const QVariant &tree, QString *error = nullptr);

    // Print settings as shown in the JSON, with the defaults of a new document (A4 paper,
    // margins of 72 points, portrait) for whatever the settings lack.
    static double paperWidth(const QVariantMap &printInfo);
    static double paperHeight(const QVariantMap &printInfo);
    static double margin(const QVariantMap &printInfo, const QString &key);
    static bool isLandscape(const QVariantMap &printInfo);
};
