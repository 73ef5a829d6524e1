#include "ImportDetector.h"

#include "CsvImporter.h"
#include "SessionLog.h"

#include <QFile>

namespace {

// The head up to its last complete line (the cut may fall inside one).
QByteArray completeLines(const QByteArray &head)
{
    const qsizetype end = head.lastIndexOf('\n');
    return end < 0 ? head : head.left(end + 1);
}

} // namespace

ImportDetector::Kind ImportDetector::detect(const QByteArray &head)
{
    QByteArrayView text(head);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    text = text.trimmed();
    if (text.isEmpty() || text.contains('\0'))
        return Kind::Unknown;
    if (text.front() == '{')
        return text.contains("\"resourceType\"") ? Kind::FhirBundle : Kind::Unknown;
    if (text.front() == '<')
        return text.contains("<HealthData") ? Kind::AppleHealth : Kind::Unknown;

    const QByteArray lines = completeLines(head);
    const SessionLog::Result log = SessionLog::parse(lines);
    if (!log.entries.isEmpty() && log.problemCount == 0)
        return Kind::MonitorLog;
    const CsvImporter::Result csv = CsvImporter::read(lines, {});
    if (csv.error.isEmpty() && csv.rowCount > 0 && !csv.readings.isEmpty())
        return Kind::Csv;
    return Kind::Unknown;
}

ImportDetector::Kind ImportDetector::detectFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = qtTrId("import.error.open").arg(path, file.errorString());
        return Kind::Unknown;
    }
    return detect(file.read(kHeadSize));
}
