#pragma once

#include <QStringList>

// The tool's monitor command:
//
//   tensilo-tool import-ble LOG OUT.tensilo [--into DOC] [--user N]
//
// Reads the measurement records a session log received into a new document, or into a copy of
// DOC, and saves it as OUT, as import-csv does with a CSV file; --user N keeps only the records
// of user N (and those that name no user). Bad lines and refused records are listed on stderr;
// nothing is written, and the exit status is 1, when no record could be read.
namespace MonitorCommands {

bool handles(const QString &command);
// Runs it; args[0] is the command. Exit status as the tool's: 0, 1 failed, 2 usage.
int run(const QStringList &args);
QString usage();

} // namespace MonitorCommands
