#pragma once

#include <QByteArray>
#include <QString>

// What every command of tensilo-tool answers with: its exit status and its output streams.
namespace ToolOutput {

enum ExitCode
{
    Success = 0,
    Failure = 1,   // the command failed (a file that cannot be read or written, bad input)
    UsageError = 2 // unknown command or option, wrong arguments, a bad value
};

// Writes the message and a line break to standard error.
void printError(const QString &message);
// Writes the bytes to standard output; false when they could not all be written.
bool writeStdout(const QByteArray &bytes);

} // namespace ToolOutput
