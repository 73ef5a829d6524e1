#include "ToolOutput.h"

#include <cstdio>

namespace ToolOutput {

void printError(const QString &message)
{
    const QByteArray text = message.toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

bool writeStdout(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
               size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace ToolOutput
