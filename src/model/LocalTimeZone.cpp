#include "LocalTimeZone.h"

#include <QFile>

#include <ctime>

bool LocalTimeZone::pinSystemZone(const QString &zoneFile)
{
    if (qEnvironmentVariableIsSet("TZ") || !QFile::exists(zoneFile))
        return false;
    qputenv("TZ", QByteArray(":") + QFile::encodeName(zoneFile));
    tzset();
    return true;
}
