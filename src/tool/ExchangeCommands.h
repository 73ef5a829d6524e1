#pragma once

#include <QStringList>

// The tool's exchange commands:
//
//   tensilo-tool export-fhir FILE OUT.json [--all] [--patient NAME]
//   tensilo-tool import FILE OUT.tensilo [--into DOC]
//
// export-fhir writes the selected filter's readings (every reading with --all) as a FHIR Bundle,
// with a Patient of that name for --patient. import tells the kind of FILE by its content (CSV, a
// FHIR Bundle, an Apple Health export.xml, a monitor's session log), reads its readings into a
// new document or a copy of DOC and saves it as OUT. Problems and what was left out go to stderr;
// nothing is written, and the exit status is 1, when nothing could be read.
namespace ExchangeCommands {

bool handles(const QString &command);
// Runs it; args[0] is the command. Exit status as the tool's: 0, 1 failed, 2 usage.
int run(const QStringList &args);
QString usage();

} // namespace ExchangeCommands
