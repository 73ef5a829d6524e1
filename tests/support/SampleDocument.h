#pragma once

// Documents with readings, filters and information for the window's tests, benchmarks and
// screenshots. Header-only, so that every program can use it whatever it links.

#include "Filter.h"
#include "InformationItem.h"
#include "Measurement.h"
#include "MyDocument.h"
#include "PredicateParser.h"
#include "UndoManager.h"

#include <QRandomGenerator>

#include <memory>

namespace SampleDocument {

// 2024-03-15 12:00 UTC, the tests' "now".
inline Date now()
{
    return Date::fromTimeIntervalSince1970(1710504000.0);
}

inline MeasurementPtr reading(double hoursBeforeNow, int systolic, int diastolic,
                              const QVariant &pulse = QVariant(),
                              const QVariant &weight = QVariant(),
                              const QString &comment = QString(), const QStringList &tags = {})
{
    auto r = Measurement::create(
        Date::fromTimeIntervalSince1970(now().timeIntervalSince1970() - hoursBeforeNow * 3600.0),
        systolic, diastolic);
    if (pulse.isValid())
        r->setPulse(pulse);
    if (weight.isValid())
        r->setWeight(weight);
    if (!comment.isNull())
        r->setComments(comment);
    if (!tags.isEmpty())
        r->setTags(tags);
    return r;
}

// A predicate from its text form; null when it does not parse.
inline PredicatePtr predicate(const QString &text)
{
    QString error;
    qsizetype position = 0;
    return PredicateParser::parse(text, &error, &position);
}

// A filter named `name` letting through readings with systolic at least 140, visible and averaged.
inline FilterPtr highFilter(const QString &name = QStringLiteral("High"))
{
    auto f = Filter::filterWithName(name);
    f->setPredicate(predicate(QStringLiteral("Systolic >= 140")));
    f->setUseInFilters(true);
    f->setUseInAverages(true);
    return f;
}

// A small document a user might keep: a fortnight of morning and evening readings with pulse
// and weight, some comments and tags, two information items, and no undo steps.
inline std::unique_ptr<MyDocument> make()
{
    auto document = std::make_unique<MyDocument>();
    document->undoManager()->disableUndoRegistration();
    MeasurementList readings;
    QRandomGenerator random(7);
    for (int day = 0; day < 14; ++day) {
        for (int half = 0; half < 2; ++half) {
            const double hours = day * 24.0 + (half ? 2.5 : 13.0);
            const int systolic = 118 + random.bounded(35);
            const int diastolic = 72 + random.bounded(18);
            QString comment;
            QStringList tags;
            if (day % 5 == 1 && half == 0)
                comment = QStringLiteral("After a walk");
            if (day % 4 == 2 && half == 1)
                tags = {QStringLiteral("evening"), QStringLiteral("tired")};
            readings.append(reading(hours, systolic, diastolic, 58 + random.bounded(25),
                                    72.0 + random.bounded(30) / 10.0, comment, tags));
        }
    }
    document->addMeasurements(readings);
    FilterList filters = document->filters();
    filters.append(highFilter());
    document->setFilters(filters);
    document->setInformation(
        {InformationItem::create(QStringLiteral("Name"), QStringLiteral("Alex Example"), true),
         InformationItem::create(QStringLiteral("Doctor"), QStringLiteral("Dr. Jane Doe"), false)});
    document->undoManager()->enableUndoRegistration();
    document->undoManager()->removeAllActions();
    return document;
}

// `count` readings an hour apart ending now, for the large-list cases.
inline MeasurementList many(int count)
{
    MeasurementList readings;
    readings.reserve(count);
    for (int i = 0; i < count; ++i)
        readings.append(reading(double(count - i), 110 + i % 50, 70 + i % 20, 60 + i % 30));
    return readings;
}

} // namespace SampleDocument
