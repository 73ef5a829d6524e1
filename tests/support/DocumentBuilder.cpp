#include "DocumentBuilder.h"

#include "DocumentArchive.h"
#include "MyDocument.h"
#include "Number.h"
#include "Predicate.h"
#include "PrintSettings.h"
#include "TestHelpers.h"
#include "UndoManager.h"

#include <QSizeF>

DocumentBuilder &DocumentBuilder::reading(const MeasurementPtr &reading)
{
    m_readings.append(reading);
    return *this;
}

DocumentBuilder &DocumentBuilder::reading(const Date &date, const QVariant &systolic,
                                          const QVariant &diastolic, const QStringList &tags)
{
    return reading(TestSupport::reading(date, systolic, diastolic, tags));
}

DocumentBuilder &DocumentBuilder::filter(const QString &name, const QString &format,
                                         const QVariant &useInFilters,
                                         const QVariant &useInAverages)
{
    auto filter = std::make_shared<Filter>(name);
    QString error;
    const PredicatePtr predicate = Predicate::predicateWithFormat(format, &error);
    if (!predicate)
        qFatal("bad test predicate %s: %s", qPrintable(format), qPrintable(error));
    filter->setPredicate(predicate);
    filter->setUseInFilters(useInFilters);
    filter->setUseInAverages(useInAverages);
    if (!m_filters)
        m_filters.emplace();
    m_filters->append(filter);
    return *this;
}

DocumentBuilder &DocumentBuilder::selectFilter(int index)
{
    m_selected = index;
    return *this;
}

DocumentBuilder &DocumentBuilder::information(const InformationItemPtr &item)
{
    if (!m_information)
        m_information.emplace();
    m_information->append(item);
    return *this;
}

DocumentBuilder &DocumentBuilder::printInfo(const QVariantMap &printInfo)
{
    m_printInfo = printInfo;
    return *this;
}

DocumentBuilder &DocumentBuilder::sortAscending(bool ascending)
{
    m_ascending = ascending;
    return *this;
}

void DocumentBuilder::fill(MyDocument &document) const
{
    UndoManager *undo = document.undoManager();
    undo->disableUndoRegistration();
    document.setAllMeasurements(m_readings);
    if (m_filters)
        document.setFilters(*m_filters);
    if (m_selected) {
        const FilterList &filters = m_filters ? *m_filters : document.filters();
        Q_ASSERT(*m_selected >= 0 && *m_selected < filters.size());
        document.setFilter(filters.at(*m_selected));
    }
    if (m_information)
        document.setInformation(*m_information);
    if (m_printInfo)
        document.setPrintInfo(*m_printInfo);
    if (m_ascending)
        document.setSortItemsAscending(*m_ascending);
    undo->enableUndoRegistration();
    undo->removeAllActions();
}

std::unique_ptr<MyDocument> DocumentBuilder::build() const
{
    auto document = std::make_unique<MyDocument>();
    fill(*document);
    return document;
}

DocumentBuilder DocumentBuilder::everyKindOfValue(bool storable)
{
    auto value = [storable](const QVariant &v, const QVariant &stored) {
        return v.isValid() || !storable ? v : stored;
    };
    DocumentBuilder b;

    auto a = TestSupport::reading(Date(600000000), Number::integer(120), Number::integer(80),
                                  {QStringLiteral("morning"), QStringLiteral("left arm")});
    a->setPulse(Number::integer(0)); // zero is a value, not an absence
    a->setWeight(Number::real(70.0));
    a->setCustomValue1(Number::real(36.6));
    a->setCustomValue2(Number::integer(-5));
    a->setCustomValue3(Number::real(1e-7));
    a->setComments(QStringLiteral("after \"walk\"\n\ttab \\ \u00e9\u20ac \U0001F600"));
    b.reading(a);
    auto bb = TestSupport::reading(Date(600000100.25), Number::real(119.5),
                                   value(QVariant(), Number::real(60.5))); // no diastolic
    bb->setComments(QString(QLatin1String(""))); // an empty comment is kept as such
    bb->setTags({});                             // an empty tag list, not none
    b.reading(bb);
    // Before 2001, with no values at all.
    auto c = TestSupport::reading(Date(-3600), value(QVariant(), Number::integer(100)),
                                  value(QVariant(), Number::real(60.5)));
    c->setComments(QString(QChar(0xDC00)) + QStringLiteral("x")); // an unpaired surrogate
    b.reading(c);

    b.filter(QStringLiteral("All"), QStringLiteral("TRUEPREDICATE"), true, QVariant());
    b.filter(QStringLiteral("None"), QStringLiteral("FALSEPREDICATE"), false, false);
    b.filter(QStringLiteral("Mixed"),
             QStringLiteral("(Systolic > 140 OR Diastolic >= 90.5) AND NOT Comments "
                            "CONTAINS[cd] 'x' AND ANY Tags IN {'a', 'b'} AND Weight BETWEEN "
                            "{60, 80.5} AND Pulse != nil"),
             QVariant(), true);
    b.filter(QStringLiteral("Last week"),
             QStringLiteral("theWholeDate >= RELATIVEDATE(-604800, 1)"), true, true);
    b.filter(QStringLiteral("Since"),
             QStringLiteral("theWholeDate > CAST(599999999.5, 'NSDate') AND Comments "
                            "BEGINSWITH[c] 'aft' AND Tags.@count == 2"),
             true, false);
    b.selectFilter(3);
    b.sortAscending(true);

    b.information(InformationItem::create(QStringLiteral("Name"), QStringLiteral("Ann"), true));
    b.information(
        InformationItem::create(QStringLiteral("Doctor"), QStringLiteral("Dr. B"), false));
    b.information(InformationItem::fromDictionary({})); // every key absent

    b.printInfo({{PrintSettings::kPaperSize, QSizeF(612, 792)},
                 {PrintSettings::kLeftMargin, 36.5},
                 {PrintSettings::kRightMargin, 36.0},
                 {PrintSettings::kTopMargin, 72.0},
                 {PrintSettings::kBottomMargin, 18.0},
                 {PrintSettings::kOrientation, 1}});
    return b;
}
