#include "MonitorCommands.h"

#include "MonitorImport.h"
#include "MyDocument.h"
#include "SessionLog.h"
#include "ToolOutput.h"

#include <optional>

namespace {

using namespace ToolOutput;

int usageError(const QString &message)
{
    printError(message);
    printError(MonitorCommands::usage());
    return UsageError;
}

} // namespace

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
    QStringList positional;
    QString into;
    MonitorImport::Options options;
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString arg = args.at(i);
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(u'=')) {
            value = arg.section(u'=', 1);
            arg = arg.section(u'=', 0, 0);
            hasValue = true;
        }
        const bool known = arg == QLatin1String("--into") || arg == QLatin1String("--user");
        if (!known && arg.startsWith(QLatin1String("--")) && arg.size() > 2)
            return usageError(qtTrId("tool.csv.error.unknown_option").arg(arg));
        if (!known) {
            positional.append(args.at(i));
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size())
                return usageError(qtTrId("tool.csv.error.missing_value").arg(arg));
            value = args.at(++i);
        }
        if (arg == QLatin1String("--into")) {
            into = value;
            continue;
        }
        bool ok = false;
        const uint user = value.toUInt(&ok);
        if (!ok || user >= 255)
            return usageError(qtTrId("tool.csv.error.bad_option_value").arg(value, arg));
        options.userId = quint8(user);
    }
    if (positional.size() != 2)
        return usageError(qtTrId("tool.csv.error.arguments").arg(args.first()));

    MyDocument document;
    QString error;
    if (!into.isEmpty() && !document.readFromFile(into, &error)) {
        printError(error);
        return Failure;
    }
    QByteArray log;
    if (!SessionLog::load(positional.at(0), &log, &error)) {
        printError(error);
        return Failure;
    }
    const MonitorImport::Result result = MonitorImport::readLog(log, options, &document);
    for (const MonitorImport::Problem &problem : result.problems)
        printError(qtTrId("tool.csv.problem").arg(problem.line).arg(problem.reason));
    if (result.problemCount > result.problems.size())
        printError(
            qtTrId("tool.ble.more_problems").arg(result.problemCount - result.problems.size()));
    if (!result.error.isEmpty()) {
        printError(result.error);
        return Failure;
    }
    if (result.readings.isEmpty() && result.duplicateCount == 0) {
        printError(qtTrId("tool.ble.error.nothing_read"));
        return Failure;
    }
    const qsizetype added = MonitorImport::apply(result, &document);
    if (!document.writeToFile(positional.at(1), &error)) {
        printError(error);
        return Failure;
    }
    if (result.otherUserCount > 0)
        printError(qtTrId("tool.ble.other_users").arg(result.otherUserCount));
    printError(
        qtTrId("tool.ble.summary").arg(added).arg(result.duplicateCount).arg(result.problemCount));
    return Success;
}
