#include "ImportResult.h"

#include "BloodPressureRecord.h"
#include "MeasurementChecks.h"
#include "MyDocument.h"

#include <algorithm>
#include <bit>
#include <cmath>

qint64 ImportResult::skippedCount() const
{
    qint64 count = 0;
    for (const qint64 n : skipped)
        count += n;
    return count;
}

qsizetype ImportResult::apply(MyDocument *document, const char *actionName) const
{
    if (!document || readings.isEmpty())
        return 0;
    const qsizetype before = document->allItems().size();
    document->importMeasurements(readings, actionName);
    return document->allItems().size() - before;
}

namespace {} // namespace

size_t ImportCollector::KeyHash::operator()(const Key &key) const
{
    quint64 h = quint64(key.second) * 0x9E3779B97F4A7C15ull;
    h ^= std::bit_cast<quint64>(key.systolic) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
    h ^= std::bit_cast<quint64>(key.diastolic) + 0x85157AF5ull + (h << 6) + (h >> 2);
    h ^= h >> 29;
    return size_t(h * 0xBF58476D1CE4E5B9ull);
}

ImportCollector::Key ImportCollector::keyOf(const Measurement &reading)
{
    double systolic = 0, diastolic = 0;
    reading.numberForKey(Measurement::Key::Systolic, &systolic);
    reading.numberForKey(Measurement::Key::Diastolic, &diastolic);
    const double second = std::floor(reading.theWholeDate().timeIntervalSince1970());
    // + 0.0 makes -0 and 0 one key.
    return {std::isfinite(second) ? qint64(qBound(-9e18, second, 9e18)) : 0, systolic + 0.0,
            diastolic + 0.0};
}

ImportCollector::ImportCollector(const MyDocument *document, ImportResult *result) : pResult(result)
{
    if (document) {
        pSeen.reserve(size_t(document->allItems().size()));
        for (const ConstMeasurementPtr &reading : document->allItems())
            pSeen.insert(keyOf(*reading));
    }
}

void ImportCollector::addProblem(qint64 line, const QString &reason)
{
    // Problems may come out of order (joined readings); finish() keeps the first by position.
    if (pResult->problems.size() < 2 * ImportResult::kMaxProblems)
        pResult->problems.append({line, reason});
    ++pResult->problemCount;
}

void ImportCollector::skip(const QString &kind, qint64 count)
{
    pResult->skipped[kind] += count;
}

bool ImportCollector::add(const MeasurementPtr &reading, qint64 line)
{
    const QString failure = MeasurementChecks::firstFailure(*reading);
    if (!failure.isEmpty()) {
        addProblem(line, BloodPressureRecord::checkFailureText(failure, *reading));
        return false;
    }
    if (!pSeen.insert(keyOf(*reading)).second) {
        ++pResult->duplicateCount;
        return false;
    }
    pResult->readings.append(reading);
    return true;
}

void ImportCollector::finish()
{
    MeasurementList &readings = pResult->readings;
    std::stable_sort(readings.begin(), readings.end(), [](const auto &a, const auto &b) {
        return a->theWholeDate() < b->theWholeDate();
    });
    QList<ImportResult::Problem> &problems = pResult->problems;
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto &a, const auto &b) { return a.line < b.line; });
    if (problems.size() > ImportResult::kMaxProblems)
        problems.resize(ImportResult::kMaxProblems);
}

void ReadingJoiner::addPressure(Date time, double systolic, double diastolic, qint64 line,
                                const QString &comment, const QStringList &tags)
{
    pPressures.push_back(
        {time.timeIntervalSinceReferenceDate(), systolic, diastolic, line, comment, tags});
}

void ReadingJoiner::addPulse(Date time, double pulse)
{
    pPulses.push_back({time.timeIntervalSinceReferenceDate(), pulse});
}

void ReadingJoiner::addWeight(Date time, double kilograms)
{
    pWeights.push_back({time.timeIntervalSinceReferenceDate(), kilograms});
}

void ReadingJoiner::finish(ImportCollector &collector)
{
    std::stable_sort(pPressures.begin(), pPressures.end(),
                     [](const Pressure &a, const Pressure &b) { return a.time < b.time; });
    const auto join = [&](std::vector<Sample> &samples, double Pressure::*value,
                          double Pressure::*distance, const QString &kind) {
        qint64 unjoined = 0;
        for (const Sample &sample : samples) {
            auto next = std::lower_bound(pPressures.begin(), pPressures.end(), sample.time,
                                         [](const Pressure &p, double t) { return p.time < t; });
            Pressure *nearest = nullptr;
            double best = kJoinSeconds;
            const auto consider = [&](Pressure &p) {
                const double d = std::fabs(p.time - sample.time);
                // The nearest pressure without a closer sample of this kind.
                if (d <= best && (std::isnan(p.*value) || d < p.*distance)) {
                    best = d;
                    nearest = &p;
                }
            };
            for (auto it = next; it != pPressures.end() && it->time - sample.time <= best; ++it)
                consider(*it);
            for (auto it = next; it != pPressures.begin();) {
                --it;
                if (sample.time - it->time > best)
                    break;
                consider(*it);
            }
            if (!nearest) {
                ++unjoined;
                continue;
            }
            if (!std::isnan(nearest->*value))
                ++unjoined; // the one it replaces
            nearest->*value = sample.value;
            nearest->*distance = best;
        }
        if (unjoined > 0)
            collector.skip(kind, unjoined);
        samples = {};
    };
    join(pPulses, &Pressure::pulse, &Pressure::pulseDistance,
         qtTrId("import.skipped.pulse_unjoined"));
    join(pWeights, &Pressure::weight, &Pressure::weightDistance,
         qtTrId("import.skipped.weight_unjoined"));

    for (const Pressure &p : pPressures) {
        auto reading = std::make_shared<Measurement>();
        reading->setTheWholeDate(Date(p.time));
        reading->setSystolic(ImportUnits::readingNumber(p.systolic));
        reading->setDiastolic(ImportUnits::readingNumber(p.diastolic));
        if (!std::isnan(p.pulse))
            reading->setPulse(ImportUnits::readingNumber(p.pulse));
        if (!std::isnan(p.weight))
            reading->setWeight(ImportUnits::readingNumber(p.weight));
        if (!p.comment.isEmpty())
            reading->setComments(p.comment);
        if (!p.tags.isEmpty())
            reading->setTags(p.tags);
        collector.add(reading, p.line);
    }
    pPressures = {};
}

namespace ImportUnits {

bool toMillimetresOfMercury(QStringView unit, double *value)
{
    if (unit == u"mmHg" || unit == u"mm[Hg]" || unit == u"mm Hg")
        return true;
    if (unit == u"kPa") {
        *value = std::round(*value * 7.500615758 * 10) / 10;
        return true;
    }
    return false;
}

bool toKilograms(QStringView unit, double *value)
{
    if (unit == u"kg")
        return true;
    double factor = 0;
    if (unit == u"g")
        factor = 0.001;
    else if (unit == u"lb" || unit == u"[lb_av]" || unit == u"lbs")
        factor = 0.45359237;
    else if (unit == u"st" || unit == u"[stone_av]")
        factor = 6.35029318;
    else
        return false;
    // To the gram, as scales show it.
    *value = std::round(*value * factor * 1000) / 1000;
    return true;
}

bool toPerMinute(QStringView unit, double *)
{
    return unit == u"/min" || unit == u"count/min" || unit == u"beats/minute" ||
           unit == u"{beats}/min" || unit == u"bpm" || unit == u"{Beats}/min";
}

QVariant readingNumber(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9e15)
        return QVariant(qlonglong(value));
    return QVariant(value);
}

} // namespace ImportUnits
