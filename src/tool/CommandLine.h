#pragma once

#include "ToolOutput.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class MyDocument;

// What the tool's import and export commands share: their options, reading and writing the
// documents they work on, and listing the problems of an import.
namespace CommandLine {

// The options and positional arguments of one command. Options are "--name VALUE",
// "--name=VALUE" or flags ("--all"); any other word starting with "--" is an unknown option, and
// everything else is positional. The first fault ends the parse.
class Arguments
{
public:
    // Checks an option's value and keeps it; a message for a usage error, or empty.
    using Handler = std::function<QString(const QString &value, const QString &option)>;

    void addFlag(QLatin1String name, bool *set);
    void addOption(QLatin1String name, QString *value);
    void addOption(QLatin1String name, Handler handler);

    // Parses args (args[0] being the command), which must leave `positionalCount` positional
    // arguments; a message for the usage error, or empty.
    QString parse(const QStringList &args, qsizetype positionalCount);
    const QStringList &positional() const { return pPositional; }

private:
    struct Option
    {
        QLatin1String name;
        bool *flag = nullptr; // set for a flag
        Handler handler;      // for an option with a value
    };

    QList<Option> pOptions;
    QStringList pPositional;
};

// The message on standard error, then the command's usage lines; the usage error's status.
int usageError(const QString &message, const QString &usage);

// Reads the document a command adds to (--into); true when there is none to read. On failure,
// says why on standard error.
bool readInto(MyDocument *document, const QString &path);
// Reads the document the command works on, or writes it; on failure, says why on standard error.
bool readDocument(MyDocument *document, const QString &path);
bool writeDocument(MyDocument &document, const QString &path);

// Lists an import's problems on standard error, each as `lineId` says (with the problem's line
// and reason), then how many more there were as `moreId` says.
template <typename Problem>
void printProblems(const QList<Problem> &problems, qint64 count, const char *lineId,
                   const char *moreId)
{
    for (const Problem &problem : problems)
        ToolOutput::printError(qtTrId(lineId).arg(problem.line).arg(problem.reason));
    if (count > problems.size())
        ToolOutput::printError(qtTrId(moreId).arg(count - problems.size()));
}

} // namespace CommandLine
