#include "ExchangeCommands.h"

#include "AppleHealthImport.h"
#include "CommandLine.h"
#include "CsvCommands.h"
#include "FhirBundle.h"
#include "ImportDetector.h"
#include "MonitorCommands.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "ToolOutput.h"

namespace {

using namespace ToolOutput;

struct Arguments
{
    QStringList positional;
    bool bAll = false;
    QString into;
    QString patient;
};

QString parse(const QStringList &args, bool importing, Arguments *out)
{
    CommandLine::Arguments parser;
    if (importing) {
        parser.addOption(QLatin1String("--into"), &out->into);
    } else {
        parser.addFlag(QLatin1String("--all"), &out->bAll);
        parser.addOption(QLatin1String("--patient"), &out->patient);
    }
    const QString error = parser.parse(args, 2);
    out->positional = parser.positional();
    return error;
}

int exportFhir(const Arguments &arguments)
{
    MyDocument document;
    if (!CommandLine::readDocument(&document, arguments.positional.at(0)))
        return Failure;
    FhirBundle::ExportOptions options;
    options.bAll = arguments.bAll;
    // The person's name: the one given on the command line, else the one in the preferences.
    options.patientName = arguments.patient.isEmpty()
                              ? Preferences::shared().stringForKey(Preferences::personName)
                              : arguments.patient;
    FhirBundle::ExportResult result;
    QString error;
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
    if (!CommandLine::readInto(&document, arguments.into))
        return Failure;
    const QString &path = arguments.positional.at(0);
    const bool fhir = kind == ImportDetector::Kind::FhirBundle;
    const ImportResult result =
        fhir ? FhirBundle::readFile(path, &document) : AppleHealthImport::readFile(path, &document);
    if (!result.error.isEmpty()) {
        printError(result.error);
        return Failure;
    }
    CommandLine::printProblems(result.problems, result.problemCount,
                               result.position == ImportResult::Position::Entry
                                   ? QT_TRID_NOOP("tool.import.problem_entry")
                                   : QT_TRID_NOOP("tool.csv.problem"),
                               QT_TRID_NOOP("tool.import.more_problems"));
    for (auto it = result.skipped.cbegin(); it != result.skipped.cend(); ++it)
        printError(qtTrId("tool.import.skipped").arg(it.value()).arg(it.key()));
    if (result.isEmpty()) {
        printError(qtTrId("tool.import.error.nothing_read"));
        return Failure;
    }
    const qsizetype added = result.apply(&document, fhir ? "doc.import_fhir" : "doc.import_health");
    if (!CommandLine::writeDocument(document, arguments.positional.at(1)))
        return Failure;
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
        return CommandLine::usageError(error, usage());
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
