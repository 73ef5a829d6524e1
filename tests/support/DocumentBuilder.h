#pragma once

#include "Filter.h"
#include "InformationItem.h"
#include "Measurement.h"
#include "MyDocument.h"

#include <QVariantMap>

#include <memory>
#include <optional>

// Builds the documents tests need in a few lines:
//
//   auto document = DocumentBuilder()
//                       .reading(Date(100), 120, 80)
//                       .filter("High", "Systolic >= 140")
//                       .selectFilter(0)
//                       .build();
//
// A part never given (filters, information, print settings, order) stays as a new document has
// it. The document starts with nothing to undo.
class DocumentBuilder
{
public:
    DocumentBuilder &reading(const MeasurementPtr &reading);
    DocumentBuilder &reading(const Date &date, const QVariant &systolic,
                             const QVariant &diastolic = 80, const QStringList &tags = {});
    // A filter with a predicate in the text form; stops the test program on a bad one.
    DocumentBuilder &filter(const QString &name, const QString &format,
                            const QVariant &useInFilters = true,
                            const QVariant &useInAverages = true);
    // Selects the filter of that index among those given.
    DocumentBuilder &selectFilter(int index);
    DocumentBuilder &information(const InformationItemPtr &item);
    DocumentBuilder &printInfo(const QVariantMap &printInfo);
    DocumentBuilder &sortAscending(bool ascending);

    // Puts what was given into the document, replacing the parts given.
    void fill(MyDocument &document) const;
    std::unique_ptr<MyDocument> build() const;

    // Every kind of value the file and the JSON forms hold: readings of every value kind
    // (absent values, zero, whole and fractional numbers, a date before 2001, empty and
    // unusual comments and tags), filters of every predicate form with set and absent flags,
    // a selection, information items (one with every key absent), letter paper in landscape,
    // oldest first. A file keeps no reading without systolic and diastolic values; `storable`
    // gives every reading both.
    static DocumentBuilder everyKindOfValue(bool storable = false);

private:
    MeasurementList m_readings;
    std::optional<FilterList> m_filters;
    std::optional<int> m_selected;
    std::optional<InformationList> m_information;
    std::optional<QVariantMap> m_printInfo;
    std::optional<bool> m_ascending;
};
