#pragma once

// The document the file and JSON benchmarks share: kReadings readings eight hours apart with
// pulse, fractional weights, tags, comments on every third and a custom value on every seventh,
// the stock filters and one of the user's own, and ten information items. Seeded, so every run
// and every program sees the same bytes.

#include "Date.h"
#include "Filter.h"
#include "InformationItem.h"
#include "Measurement.h"
#include "MyDocument.h"
#include "Predicate.h"
#include "UndoManager.h"

#include <memory>
#include <random>

inline constexpr int kReadings = 100000;

inline std::unique_ptr<MyDocument> makeTaggedDocument()
{
    auto document = std::make_unique<MyDocument>();
    std::mt19937 random(20240501);
    const QStringList tagNames = {QStringLiteral("morning"), QStringLiteral("evening"),
                                  QStringLiteral("sport"),   QStringLiteral("medication"),
                                  QStringLiteral("stress"),  QStringLiteral("travel")};
    MeasurementList readings;
    readings.reserve(kReadings);
    for (int i = 0; i < kReadings; ++i) {
        auto m = Measurement::create(Date(3.0e8 + i * 28800.0 + random() % 600),
                                     100 + random() % 60, 60 + random() % 40);
        m->setPulse(QVariant(qlonglong(55 + random() % 40)));
        m->setWeight(QVariant(65.0 + double(random() % 200) / 10.0));
        QStringList tags;
        for (const QString &tag : tagNames) {
            if (random() % 4 == 0)
                tags << tag;
        }
        m->setTags(tags);
        if (i % 3 == 0)
            m->setComments(QStringLiteral("note %1 about the day").arg(i));
        if (i % 7 == 0)
            m->setCustomValue1(QVariant(double(random() % 1000) / 100.0));
        readings.append(m);
    }
    document->undoManager()->disableUndoRegistration();
    document->setAllMeasurements(readings);
    // The three stock filters and one of the user's own.
    FilterList filters = document->filters();
    const FilterPtr sport = Filter::filterWithName(QStringLiteral("Sport"));
    sport->setPredicate(
        Predicate::predicateWithFormat(QStringLiteral("ANY Tags IN {'sport', 'travel'}")));
    filters.append(sport);
    document->setFilters(filters);
    InformationList information;
    for (int i = 0; i < 10; ++i)
        information.append(InformationItem::create(QStringLiteral("Item %1").arg(i),
                                                   QStringLiteral("Value %1").arg(i), i % 2 == 0));
    document->setInformation(information);
    document->undoManager()->enableUndoRegistration();
    return document;
}
