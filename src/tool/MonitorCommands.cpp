#include "MonitorCommands.h"

#include "CommandLine.h"
#include "MonitorImport.h"
#include "MyDocument.h"
#include "SessionLog.h"
#include "ToolOutput.h"

using namespace ToolOutput;

bool MonitorCommands::handles(const QString &command)
{
    return command == QLatin1String("import-ble");
}

QString MonitorCommands::usage()
{
    return qtTrId("tool.ble.usage");
}

int MonitorCommands::run(const QStringList &args)
{
    QString into;
    MonitorImport::Options options;
    CommandLine::Arguments parser;
    parser.addOption(QLatin1String("--into"), &into);
    parser.addOption(QLatin1String("--user"), [&options](const QString &value, const QString &arg) {
        bool ok = false;
        const uint user = value.toUInt(&ok);
        if (!ok || user >= 255)
            return qtTrId("tool.csv.error.bad_option_value").arg(value, arg);
        options.userId = quint8(user);
        return QString();
    });
    const QString usageMessage = parser.parse(args, 2);
    if (!usageMessage.isEmpty())
        return CommandLine::usageError(usageMessage, usage());
    const QStringList &positional = parser.positional();

    MyDocument document;
    if (!CommandLine::readInto(&document, into))
        return Failure;
    QString error;
    QByteArray log;
    if (!SessionLog::load(positional.at(0), &log, &error)) {
        printError(error);
        return Failure;
    }
    const MonitorImport::Result result = MonitorImport::readLog(log, options, &document);
    CommandLine::printProblems(result.problems, result.problemCount,
                               QT_TRID_NOOP("tool.csv.problem"),
                               QT_TRID_NOOP("tool.ble.more_problems"));
    if (!result.error.isEmpty()) {
        printError(result.error);
        return Failure;
    }
    if (result.readings.isEmpty() && result.duplicateCount == 0) {
        printError(qtTrId("tool.ble.error.nothing_read"));
        return Failure;
    }
    const qsizetype added = MonitorImport::apply(result, &document);
    if (!CommandLine::writeDocument(document, positional.at(1)))
        return Failure;
    if (result.otherUserCount > 0)
        printError(qtTrId("tool.ble.other_users").arg(result.otherUserCount));
    printError(
        qtTrId("tool.ble.summary").arg(added).arg(result.duplicateCount).arg(result.problemCount));
    return Success;
}
