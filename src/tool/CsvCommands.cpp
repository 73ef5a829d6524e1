#include "CsvCommands.h"

#include "CsvExporter.h"
#include "CsvImporter.h"
#include "MyDocument.h"
#include "ToolOutput.h"

#include <cstdio>
#include <optional>

namespace {

using namespace ToolOutput;

int usageError(const QString &message)
{
    printError(message);
    printError(CsvCommands::usage());
    return UsageError;
}

std::optional<QChar> separatorNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("comma") || n == QLatin1String(","))
        return QChar(u',');
    if (n == QLatin1String("semicolon") || n == QLatin1String(";"))
        return QChar(u';');
    if (n == QLatin1String("tab") || n == QLatin1String("\t"))
        return QChar(u'\t');
    return std::nullopt;
}

struct Arguments
{
    QStringList positional;
    bool bAll = false;
    QString into;
    std::optional<QChar> separator;
    CsvReader::Encoding encoding = CsvReader::Encoding::Automatic;
    CsvImporter::DateOrder dateOrder = CsvImporter::DateOrder::Automatic;
};

// Parses the arguments after the command; an error message for a usage error.
QString parse(const QStringList &args, bool importing, Arguments *out)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString arg = args.at(i);
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(u'=')) {
            value = arg.section(u'=', 1);
            arg = arg.section(u'=', 0, 0);
            hasValue = true;
        }
        const auto takeValue = [&]() {
            if (hasValue)
                return true;
            if (i + 1 >= args.size())
                return false;
            value = args.at(++i);
            return true;
        };
        if (!importing && arg == QLatin1String("--all")) {
            out->bAll = true;
        } else if (arg == QLatin1String("--separator")) {
            if (!takeValue())
                return qtTrId("tool.csv.error.missing_value").arg(arg);
            out->separator = separatorNamed(value);
            if (!out->separator)
                return qtTrId("tool.csv.error.bad_option_value").arg(value, arg);
        } else if (importing && arg == QLatin1String("--into")) {
            if (!takeValue())
                return qtTrId("tool.csv.error.missing_value").arg(arg);
            out->into = value;
        } else if (importing && arg == QLatin1String("--encoding")) {
            if (!takeValue())
                return qtTrId("tool.csv.error.missing_value").arg(arg);
            const QString v = value.toLower();
            if (v == QLatin1String("utf-8") || v == QLatin1String("utf8"))
                out->encoding = CsvReader::Encoding::Utf8;
            else if (v == QLatin1String("latin-1") || v == QLatin1String("latin1") ||
                     v == QLatin1String("iso-8859-1"))
                out->encoding = CsvReader::Encoding::Latin1;
            else
                return qtTrId("tool.csv.error.bad_option_value").arg(value, arg);
        } else if (importing && arg == QLatin1String("--date-order")) {
            if (!takeValue())
                return qtTrId("tool.csv.error.missing_value").arg(arg);
            const QString v = value.toLower();
            if (v == QLatin1String("dmy"))
                out->dateOrder = CsvImporter::DateOrder::DayFirst;
            else if (v == QLatin1String("mdy"))
                out->dateOrder = CsvImporter::DateOrder::MonthFirst;
            else
                return qtTrId("tool.csv.error.bad_option_value").arg(value, arg);
        } else if (arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
            return qtTrId("tool.csv.error.unknown_option").arg(arg);
        } else {
            out->positional.append(args.at(i));
        }
    }
    if (out->positional.size() != 2)
        return qtTrId("tool.csv.error.arguments").arg(args.first());
    return QString();
}

int exportCsv(const Arguments &arguments)
{
    MyDocument document;
    QString error;
    if (!document.readFromFile(arguments.positional.at(0), &error)) {
        printError(error);
        return Failure;
    }
    CsvExporter::Options options;
    options.bAll = arguments.bAll;
    options.separator = arguments.separator.value_or(CsvExporter::defaultSeparator());
    CsvExporter exporter(options);
    if (!exporter.writeDocument(document, arguments.positional.at(1), &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}

int importCsv(const Arguments &arguments)
{
    MyDocument document;
    QString error;
    if (!arguments.into.isEmpty() && !document.readFromFile(arguments.into, &error)) {
        printError(error);
        return Failure;
    }
    CsvImporter::Options options;
    if (arguments.separator)
        options.separator = *arguments.separator;
    options.encoding = arguments.encoding;
    options.dateOrder = arguments.dateOrder;
    const CsvImporter::Result result =
        CsvImporter::readFile(arguments.positional.at(0), options, &document);
    for (const CsvImporter::Problem &problem : result.problems)
        printError(qtTrId("tool.csv.problem").arg(problem.line).arg(problem.reason));
    if (result.problemCount > result.problems.size())
        printError(
            qtTrId("tool.csv.more_problems").arg(result.problemCount - result.problems.size()));
    if (!result.error.isEmpty()) {
        printError(result.error);
        return Failure;
    }
    if (result.bDateOrderAmbiguous) {
        printError(qtTrId("tool.csv.error.ambiguous_dates"));
        return Failure;
    }
    if (result.readings.isEmpty() && result.duplicateCount == 0) {
        printError(qtTrId("tool.csv.error.nothing_read"));
        return Failure;
    }
    const qsizetype added = CsvImporter::apply(result, &document);
    if (!document.writeToFile(arguments.positional.at(1), &error)) {
        printError(error);
        return Failure;
    }
    printError(
        qtTrId("tool.csv.summary").arg(added).arg(result.duplicateCount).arg(result.problemCount));
    return Success;
}

} // namespace

bool CsvCommands::handles(const QString &command)
{
    return command == QLatin1String("export-csv") || command == QLatin1String("import-csv");
}

QString CsvCommands::usage()
{
    return qtTrId("tool.csv.usage");
}

int CsvCommands::run(const QStringList &args)
{
    const bool importing = args.value(0) == QLatin1String("import-csv");
    Arguments arguments;
    const QString error = parse(args, importing, &arguments);
    if (!error.isEmpty())
        return usageError(error);
    return importing ? importCsv(arguments) : exportCsv(arguments);
}
