#include "ExchangeCommands.h"

#include "AppleHealthImport.h"
#include "CsvCommands.h"
#include "FhirBundle.h"
#include "ImportDetector.h"
#include "MonitorCommands.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "ToolOutput.h"

namespace {

using namespace ToolOutput;

int usageError(const QString &message)
{
    printError(message);
    printError(ExchangeCommands::usage());
    return UsageError;
}

struct Arguments
{
    QStringList positional;
    bool bAll = false;
    QString into;
    QString patient;
};

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
        const bool takesValue =
            importing ? arg == QLatin1String("--into") : arg == QLatin1String("--patient");
        if (!importing && arg == QLatin1String("--all") && !hasValue) {
            out->bAll = true;
            continue;
        }
        if (!takesValue) {
            if (arg.startsWith(QLatin1String("--")) && arg.size() > 2)
                return qtTrId("tool.csv.error.unknown_option").arg(arg);
            out->positional.append(args.at(i));
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size())
                return qtTrId("tool.csv.error.missing_value").arg(arg);
            value = args.at(++i);
        }
        (importing ? out->into : out->patient) = value;
    }
    if (out->positional.size() != 2)
        return qtTrId("tool.csv.error.arguments").arg(args.first());
    return QString();
}

int exportFhir(const Arguments &arguments)
{
    MyDocument document;
    QString error;
    if (!document.readFromFile(arguments.positional.at(0), &error)) {
        printError(error);
        return Failure;
    }
    FhirBundle::ExportOptions options;
    options.bAll = arguments.bAll;
    // The person's name: the one given on the command line, else the one in the preferences.
    options.patientName = arguments.patient.isEmpty()
                              ? Preferences::shared().stringForKey(Preferences::personName)
                              : arguments.patient;
    FhirBundle::ExportResult result;
    if (!FhirBundle::writeDocument(document, arguments.positional.at(1), options, &result,
                                   &error)) {
        printError(error);
        return Failure;
    }
    printError(qtTrId("tool.fhir.exported").arg(result.readingCount));
    if (result.customValueCount > 0)
        printError(qtTrId("tool.fhir.custom_left_out").arg(result.customValueCount));
    return Success;
}

// Reads FILE (of a kind other than CSV and session logs) and writes OUT.
int importReadings(const Arguments &arguments, ImportDetector::Kind kind)
{
    MyDocument document;
    QString error;
    if (!arguments.into.isEmpty() && !document.readFromFile(arguments.into, &error)) {
        printError(error);
        return Failure;
    }
    const QString &path = arguments.positional.at(0);
    const bool fhir = kind == ImportDetector::Kind::FhirBundle;
    const ImportResult result =
        fhir ? FhirBundle::readFile(path, &document) : AppleHealthImport::readFile(path, &document);
    if (!result.error.isEmpty()) {
        printError(result.error);
        return Failure;
    }
    for (const ImportResult::Problem &problem : result.problems)
        printError((result.position == ImportResult::Position::Entry
                        ? qtTrId("tool.import.problem_entry")
                        : qtTrId("tool.csv.problem"))
                       .arg(problem.line)
                       .arg(problem.reason));
    if (result.problemCount > result.problems.size())
        printError(
            qtTrId("tool.import.more_problems").arg(result.problemCount - result.problems.size()));
    for (auto it = result.skipped.cbegin(); it != result.skipped.cend(); ++it)
        printError(qtTrId("tool.import.skipped").arg(it.value()).arg(it.key()));
    if (result.isEmpty()) {
        printError(qtTrId("tool.import.error.nothing_read"));
        return Failure;
    }
    const qsizetype added = result.apply(&document, fhir ? "doc.import_fhir" : "doc.import_health");
    if (!document.writeToFile(arguments.positional.at(1), &error)) {
        printError(error);
        return Failure;
    }
    printError(qtTrId("tool.import.summary")
                   .arg(added)
                   .arg(result.duplicateCount)
                   .arg(result.problemCount)
                   .arg(result.skippedCount()));
    return Success;
}

} // namespace

bool ExchangeCommands::handles(const QString &command)
{
    return command == QLatin1String("export-fhir") || command == QLatin1String("import");
}

QString ExchangeCommands::usage()
{
    return qtTrId("tool.exchange.usage");
}

int ExchangeCommands::run(const QStringList &args)
{
    const bool importing = args.value(0) == QLatin1String("import");
    Arguments arguments;
    const QString error = parse(args, importing, &arguments);
    if (!error.isEmpty())
        return usageError(error);
    if (!importing)
        return exportFhir(arguments);

    QString openError;
    const ImportDetector::Kind kind =
        ImportDetector::detectFile(arguments.positional.at(0), &openError);
    if (!openError.isEmpty()) {
        printError(openError);
        return Failure;
    }
    QStringList forwarded = args;
    switch (kind) {
    case ImportDetector::Kind::Unknown:
        printError(qtTrId("tool.import.error.unknown_kind").arg(arguments.positional.at(0)));
        return Failure;
    case ImportDetector::Kind::Csv:
        forwarded[0] = QStringLiteral("import-csv");
        return CsvCommands::run(forwarded);
    case ImportDetector::Kind::MonitorLog:
        forwarded[0] = QStringLiteral("import-ble");
        return MonitorCommands::run(forwarded);
    case ImportDetector::Kind::FhirBundle:
    case ImportDetector::Kind::AppleHealth:
        break;
    }
    return importReadings(arguments, kind);
}
