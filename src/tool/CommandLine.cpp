#include "CommandLine.h"

#include "MyDocument.h"

namespace CommandLine {

using namespace ToolOutput;

void Arguments::addFlag(QLatin1String name, bool *set)
{
    pOptions.append({name, set, {}});
}

void Arguments::addOption(QLatin1String name, QString *value)
{
    addOption(name, [value](const QString &text, const QString &) {
        *value = text;
        return QString();
    });
}

void Arguments::addOption(QLatin1String name, Handler handler)
{
    pOptions.append({name, nullptr, std::move(handler)});
}

QString Arguments::parse(const QStringList &args, qsizetype positionalCount)
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
        const Option *option = nullptr;
        for (const Option &candidate : pOptions) {
            // A flag given a value is not that flag.
            if (arg == candidate.name && !(candidate.flag && hasValue))
                option = &candidate;
        }
        if (!option) {
            if (arg.startsWith(QLatin1String("--")) && arg.size() > 2)
                return qtTrId("tool.csv.error.unknown_option").arg(arg);
            pPositional.append(args.at(i));
            continue;
        }
        if (option->flag) {
            *option->flag = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size())
                return qtTrId("tool.csv.error.missing_value").arg(arg);
            value = args.at(++i);
        }
        const QString error = option->handler(value, arg);
        if (!error.isEmpty())
            return error;
    }
    if (pPositional.size() != positionalCount)
        return qtTrId("tool.csv.error.arguments").arg(args.first());
    return QString();
}

int usageError(const QString &message, const QString &usage)
{
    printError(message);
    printError(usage);
    return UsageError;
}

bool readInto(MyDocument *document, const QString &path)
{
    return path.isEmpty() || readDocument(document, path);
}

bool readDocument(MyDocument *document, const QString &path)
{
    QString error;
    if (document->readFromFile(path, &error))
        return true;
    printError(error);
    return false;
}

bool writeDocument(MyDocument &document, const QString &path)
{
    QString error;
    if (document.writeToFile(path, &error))
        return true;
    printError(error);
    return false;
}

} // namespace CommandLine
