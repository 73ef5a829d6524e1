#include "CsvCommands.h"

#include "CommandLine.h"
#include "CsvExporter.h"
#include "CsvImporter.h"
#include "MyDocument.h"
#include "ToolOutput.h"

#include <optional>

namespace {

using namespace ToolOutput;

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

QString badValue(const QString &value, const QString &option)
{
    return qtTrId("tool.csv.error.bad_option_value").arg(value, option);
}

// Parses the arguments after the command; an error message for a usage error.
QString parse(const QStringList &args, bool importing, Arguments *out)
{
    CommandLine::Arguments parser;
    parser.addOption(QLatin1String("--separator"), [out](const QString &value, const QString &arg) {
        out->separator = separatorNamed(value);
        return out->separator ? QString() : badValue(value, arg);
    });
    if (!importing)
        parser.addFlag(QLatin1String("--all"), &out->bAll);
    if (importing) {
        parser.addOption(QLatin1String("--into"), &out->into);
        parser.addOption(
            QLatin1String("--encoding"), [out](const QString &value, const QString &arg) {
                const QString v = value.toLower();
                if (v == QLatin1String("utf-8") || v == QLatin1String("utf8"))
                    out->encoding = CsvReader::Encoding::Utf8;
                else if (v == QLatin1String("latin-1") || v == QLatin1String("latin1") ||
                         v == QLatin1String("iso-8859-1"))
                    out->encoding = CsvReader::Encoding::Latin1;
                else
                    return badValue(value, arg);
                return QString();
            });
        parser.addOption(QLatin1String("--date-order"),
                         [out](const QString &value, const QString &arg) {
                             const QString v = value.toLower();
                             if (v == QLatin1String("dmy"))
                                 out->dateOrder = CsvImporter::DateOrder::DayFirst;
                             else if (v == QLatin1String("mdy"))
                                 out->dateOrder = CsvImporter::DateOrder::MonthFirst;
                             else
                                 return badValue(value, arg);
                             return QString();
                         });
    }
    const QString error = parser.parse(args, 2);
    out->positional = parser.positional();
    return error;
}

int exportCsv(const Arguments &arguments)
{
    MyDocument document;
    if (!CommandLine::readDocument(&document, arguments.positional.at(0)))
        return Failure;
    CsvExporter::Options options;
    options.bAll = arguments.bAll;
    options.separator = arguments.separator.value_or(CsvExporter::defaultSeparator());
    CsvExporter exporter(options);
    QString error;
    if (!exporter.writeDocument(document, arguments.positional.at(1), &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}

int importCsv(const Arguments &arguments)
{
    MyDocument document;
    if (!CommandLine::readInto(&document, arguments.into))
        return Failure;
    CsvImporter::Options options;
    if (arguments.separator)
        options.separator = *arguments.separator;
    options.encoding = arguments.encoding;
    options.dateOrder = arguments.dateOrder;
    const CsvImporter::Result result =
        CsvImporter::readFile(arguments.positional.at(0), options, &document);
    CommandLine::printProblems(result.problems, result.problemCount,
                               QT_TRID_NOOP("tool.csv.problem"),
                               QT_TRID_NOOP("tool.csv.more_problems"));
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
    if (!CommandLine::writeDocument(document, arguments.positional.at(1)))
        return Failure;
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
        return CommandLine::usageError(error, usage());
    return importing ? importCsv(arguments) : exportCsv(arguments);
}
