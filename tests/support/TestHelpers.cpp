#include "TestHelpers.h"

#include "Localization.h"
#include "Preferences.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

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

void useLocale(const QLocale &locale)
{
    QLocale::setDefault(locale);
    Localization::install(locale);
}

void setUpEnvironment()
{
    setTimeZone("UTC");
    QStandardPaths::setTestModeEnabled(true);
    useLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    Preferences::useTemporaryStore();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace TestSupport
