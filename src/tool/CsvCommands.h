#pragma once

#include <QStringList>

// The tool's CSV commands:
//
//   tensilo-tool export-csv FILE OUT.csv [--all] [--separator comma|semicolon|tab]
//   tensilo-tool import-csv IN.csv OUT.tensilo [--into DOC] [--separator comma|semicolon|tab]
//                [--encoding utf-8|latin-1] [--date-order dmy|mdy]
//
// export-csv writes the readings that pass the document's selected filter with the values the
// preferences show, or with --all every reading with every value; the separator defaults to the
// one a spreadsheet of the user's locale expects. import-csv reads the CSV file into a new
// document, or into a copy of DOC, and saves it as OUT; it lists the rows it refused on stderr
// and exits 1 without writing anything when no row could be read.
namespace CsvCommands {

// True for the commands above.
bool handles(const QString &command);
// Runs one of them; args[0] is the command. Exit status as the tool's: 0, 1 failed, 2 usage.
int run(const QStringList &args);
// The usage lines of the commands, for the tool's help.
QString usage();

} // namespace CsvCommands
