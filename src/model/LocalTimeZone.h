#pragma once

#include <QString>

// Start-up step for every program that converts times: with TZ unset, the C library looks at
// the zone file again on every local-time conversion (reading 100,000 readings takes twice as
// long); naming the system's zone file in TZ lets it keep what it has read. Call before the
// first time conversion.
class LocalTimeZone
{
public:
    // Sets TZ to ":" followed by the zone file when TZ is not set at all and the file exists,
    // and answers whether it did. A TZ that is set, even to nothing (UTC for the C library), is
    // the user's choice and stays as it is.
    static bool pinSystemZone(const QString &zoneFile = QStringLiteral("/etc/localtime"));
};
