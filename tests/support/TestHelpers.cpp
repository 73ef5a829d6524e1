#include "TestHelpers.h"

#include <QDir>

#include <ctime>

namespace TestSupport {

MeasurementPtr reading(const Date &date, const QVariant &systolic, const QVariant &diastolic,
                       const QStringList &tags)
{
    auto r = std::make_shared<Measurement>();
    r->setTheWholeDate(date);
    r->setSystolic(systolic);
    r->setDiastolic(diastolic);
    if (!tags.isEmpty())
        r->setTags(tags);
    return r;
}

QString outputPath(const QString &name)
{
    QString dir = qEnvironmentVariable("TENSILO_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/tensilo-test-output");
    QDir().mkpath(dir);
    return QDir(dir).filePath(name);
}

void setTimeZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

} // namespace TestSupport
