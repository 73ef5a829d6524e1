#pragma once

#include <QByteArray>
#include <QString>

// Tells by its content what kind of file of readings a file is, from its first kHeadSize bytes.
namespace ImportDetector {

enum class Kind
{
    Unknown,
    Csv,
    FhirBundle,
    AppleHealth,
    MonitorLog
};

inline constexpr qsizetype kHeadSize = 64 * 1024;

Kind detect(const QByteArray &head);
// Unknown also when the file cannot be read; *error then says why.
Kind detectFile(const QString &path, QString *error = nullptr);

} // namespace ImportDetector
