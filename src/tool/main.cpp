// tensilo-tool: the command-line companion of the application, for support and scripting.
//
//   tensilo-tool dump FILE                 the document as JSON on stdout
//   tensilo-tool build OUT                 a document file from that JSON on stdin
//   tensilo-tool stats FILE                what the averages page shows, as JSON
//   tensilo-tool protocol FILE [--filter NAME]  the home-measurement summary, as JSON
//   tensilo-tool chart FILE OUT.png [--size WxH] [--set KEY=VALUE]...
//   tensilo-tool report FILE OUT.pdf [--set KEY=VALUE]...
//   tensilo-tool convert IN OUT            any document it can read, written in the current form
//   tensilo-tool --help | --version
//
// Exit status: 0 done, 1 the command failed (a file that cannot be read or written, bad JSON),
// 2 a usage error (unknown command, wrong arguments, an unknown preference or a bad value).

#include "ChartDataSource.h"
#include "ChartPainter.h"
#include "CsvCommands.h"
#include "DocumentJson.h"
#include "ExchangeCommands.h"
#include "HomeSummary.h"
#include "LocalTimeZone.h"
#include "Localization.h"
#include "MonitorCommands.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "PrintView.h"
#include "ToolOutput.h"

#include <QColor>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSize>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

using namespace ToolOutput;

int usageError(const QString &message)
{
    if (!message.isEmpty())
        printError(message);
    printError(qtTrId("tool.usage"));
    return UsageError;
}

// A preference value typed on the command line, brought to the key's type; invalid when it is
// not a value of that type.
QVariant preferenceValue(const QString &key, const QString &text)
{
    switch (Preferences::typeOfKey(key).value_or(Preferences::Type::String)) {
    case Preferences::Type::Bool: {
        const QString t = text.toLower();
        if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("1"))
            return true;
        if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("0"))
            return false;
        return QVariant();
    }
    case Preferences::Type::Integer: {
        bool ok = false;
        const int value = text.toInt(&ok);
        return ok ? QVariant(value) : QVariant();
    }
    case Preferences::Type::Color: {
        const QColor color = QColor::fromString(text);
        return color.isValid() ? QVariant(color) : QVariant();
    }
    case Preferences::Type::String:
        return text;
    }
    return QVariant();
}

// Parses "KEY=VALUE" settings and puts them into a throw-away copy of the user's preferences, so
// that they hold for this run only. Returns a usage message on the first bad one.
QString applySettings(const QStringList &settings)
{
    if (settings.isEmpty())
        return QString();
    QList<std::pair<QString, QVariant>> values;
    for (const QString &setting : settings) {
        const qsizetype eq = setting.indexOf(u'=');
        if (eq <= 0)
            return qtTrId("tool.error.bad_setting").arg(setting);
        const QString key = setting.left(eq);
        const QString text = setting.mid(eq + 1);
        if (!Preferences::isRegistered(key))
            return qtTrId("tool.error.unknown_preference").arg(key);
        const QVariant value = preferenceValue(key, text);
        if (!value.isValid())
            return qtTrId("tool.error.bad_preference_value").arg(text, key);
        values.append({key, value});
    }

    QByteArray userStore;
    QFile file(Preferences::shared().storeFileName());
    if (file.open(QIODevice::ReadOnly))
        userStore = file.readAll();
    Preferences::useTemporaryStore(userStore);
    for (const auto &[key, value] : values) {
        if (!Preferences::shared().setValueForKey(value, key))
            return qtTrId("tool.error.bad_preference_value").arg(value.toString(), key);
    }
    return QString();
}

bool readDocument(MyDocument &document, const QString &path)
{
    QString error;
    if (document.readFromFile(path, &error))
        return true;
    printError(error.isEmpty() ? qtTrId("tool.error.read_failed").arg(path) : error);
    return false;
}

int dump(const QString &path)
{
    MyDocument document;
    if (!readDocument(document, path))
        return Failure;
    // Written to standard output as it is made, not kept whole first.
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || !DocumentJson::writeJson(document, &out) ||
        !out.flush()) {
        printError(qtTrId("tool.error.stdout"));
        return Failure;
    }
    return Success;
}

int stats(const QString &path)
{
    MyDocument document;
    if (!readDocument(document, path))
        return Failure;
    if (!writeStdout(DocumentJson::statsJson(document))) {
        printError(qtTrId("tool.error.stdout"));
        return Failure;
    }
    return Success;
}

// The home-measurement summary of the readings of the selected filter, or of the filter named.
int protocol(const QString &path, const std::optional<QString> &filterName)
{
    MyDocument document;
    if (!readDocument(document, path))
        return Failure;
    if (filterName) {
        FilterPtr found;
        for (const FilterPtr &filter : document.filters()) {
            if (filter->name() == *filterName) {
                found = filter;
                break;
            }
        }
        if (!found) {
            printError(qtTrId("tool.error.unknown_filter").arg(*filterName));
            return Failure;
        }
        document.setFilter(found);
    }
    const HomeSummary summary = HomeSummary::compute(document.items());
    const QString name = document.filter() ? document.filter()->name() : QString();
    if (!writeStdout(DocumentJson::homeSummaryJson(summary, name))) {
        printError(qtTrId("tool.error.stdout"));
        return Failure;
    }
    return Success;
}

int build(const QString &path)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        printError(qtTrId("tool.error.stdin"));
        return Failure;
    }
    const QByteArray json = input.readAll();
    MyDocument document;
    QString error;
    if (!DocumentJson::fromJson(json, &document, &error)) {
        printError(error);
        return Failure;
    }
    // A document file keeps no reading without systolic and diastolic values (it would read
    // such a reading back with stand-in values), so such a reading is refused here.
    for (const ConstMeasurementPtr &reading : document.allItems()) {
        if (!reading->Systolic().isValid() || !reading->Diastolic().isValid()) {
            const QString date = reading->theWholeDate().toDateTime().toString(Qt::ISODate);
            printError(qtTrId("tool.error.unstorable_reading").arg(date));
            return Failure;
        }
    }
    if (!document.writeToFile(path, &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}

int chart(const QString &path, const QString &out, const QSize &size)
{
    MyDocument document;
    if (!readDocument(document, path))
        return Failure;
    ChartDataSource source;
    source.setObjects(document.items());
    QString error;
    if (!ChartPainter::renderPng(&source, out, size, &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}

int report(const QString &path, const QString &out)
{
    MyDocument document;
    if (!readDocument(document, path))
        return Failure;
    QString error;
    if (!PrintView::writeDocumentReport(document, out, &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}

// Reads whatever form of document the application reads (the XML property list, older forms of
// readings) and writes it in the current binary form. A file that cannot be read leaves OUT as
// it was.
int convert(const QString &path, const QString &out)
{
    MyDocument document;
    if (!readDocument(document, path))
        return Failure;
    QString error;
    if (!document.writeToFile(out, &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}

std::optional<QSize> parseSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > 16384 || height > 16384)
        return std::nullopt;
    return QSize(width, height);
}

int run(const QStringList &args)
{
    // The CSV commands take options of their own.
    if (!args.isEmpty() && CsvCommands::handles(args.first()))
        return CsvCommands::run(args);
    if (!args.isEmpty() && MonitorCommands::handles(args.first()))
        return MonitorCommands::run(args);
    if (!args.isEmpty() && ExchangeCommands::handles(args.first()))
        return ExchangeCommands::run(args);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption set(QStringLiteral("set"), QString(), QStringLiteral("KEY=VALUE"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QString(),
                                        QStringLiteral("WIDTHxHEIGHT"));
    const QCommandLineOption filterOption(QStringLiteral("filter"), QString(),
                                          QStringLiteral("NAME"));
    parser.addOptions({help, version, set, sizeOption, filterOption});

    QStringList withProgram = args;
    withProgram.prepend(QStringLiteral("tensilo-tool"));
    if (!parser.parse(withProgram)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            // Named as typed ("-x", "--verbose"), without a value given with "=".
            const QString name = parser.unknownOptionNames().first();
            QString typed = name;
            for (const QString &arg : args) {
                const QString option = arg.section(u'=', 0, 0);
                if (option.startsWith(u'-') && option.endsWith(name)) {
                    typed = option;
                    break;
                }
            }
            return usageError(qtTrId("tool.error.unknown_option").arg(typed));
        }
        // The only other fault the parser finds: an option without its value, at the end.
        return usageError(qtTrId("tool.error.missing_value").arg(args.last()));
    }
    if (parser.isSet(help)) {
        writeStdout(qtTrId("tool.usage").toLocal8Bit() + '\n');
        writeStdout(CsvCommands::usage().toLocal8Bit() + '\n');
        writeStdout(MonitorCommands::usage().toLocal8Bit() + '\n');
        writeStdout(ExchangeCommands::usage().toLocal8Bit() + '\n');
        return Success;
    }
    if (parser.isSet(version)) {
        writeStdout(QByteArrayLiteral("tensilo-tool " TENSILO_VERSION "\n"));
        return Success;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QString());
    const QString command = positional.takeFirst();
    const bool takesSettings =
        command == QLatin1String("chart") || command == QLatin1String("report");
    qsizetype expected = -1;
    if (command == QLatin1String("dump") || command == QLatin1String("build") ||
        command == QLatin1String("stats") || command == QLatin1String("protocol"))
        expected = 1;
    else if (takesSettings || command == QLatin1String("convert"))
        expected = 2;
    else
        return usageError(qtTrId("tool.error.unknown_command").arg(command));
    if (!takesSettings && parser.isSet(set))
        return usageError(qtTrId("tool.error.unknown_option").arg(QStringLiteral("--set")));
    if (command != QLatin1String("chart") && parser.isSet(sizeOption))
        return usageError(qtTrId("tool.error.unknown_option").arg(QStringLiteral("--size")));
    if (command != QLatin1String("protocol") && parser.isSet(filterOption))
        return usageError(qtTrId("tool.error.unknown_option").arg(QStringLiteral("--filter")));
    if (positional.size() != expected)
        return usageError(qtTrId("tool.error.arguments").arg(command));

    std::optional<QSize> size = QSize(1200, 800);
    if (parser.isSet(sizeOption)) {
        const QStringList sizes = parser.values(sizeOption);
        size = parseSize(sizes.last());
        if (!size)
            return usageError(qtTrId("tool.error.bad_size").arg(sizes.last()));
    }
    const QString settingsError = applySettings(parser.values(set));
    if (!settingsError.isEmpty())
        return usageError(settingsError);

    if (command == QLatin1String("dump"))
        return dump(positional.at(0));
    if (command == QLatin1String("build"))
        return build(positional.at(0));
    if (command == QLatin1String("stats"))
        return stats(positional.at(0));
    if (command == QLatin1String("protocol"))
        return protocol(positional.at(0), parser.isSet(filterOption)
                                              ? std::optional<QString>(parser.value(filterOption))
                                              : std::nullopt);
    if (command == QLatin1String("chart"))
        return chart(positional.at(0), positional.at(1), *size);
    if (command == QLatin1String("convert"))
        return convert(positional.at(0), positional.at(1));
    return report(positional.at(0), positional.at(1));
}

} // namespace

int main(int argc, char *argv[])
{
    LocalTimeZone::pinSystemZone();
    // Drawing (chart, report) needs a GUI application but no display.
    bool draws = false;
    for (int i = 1; i < argc; ++i)
        draws = draws || qstrcmp(argv[i], "chart") == 0 || qstrcmp(argv[i], "report") == 0;
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    std::unique_ptr<QCoreApplication> app;
    if (draws)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tensilo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tensilo"));
    Localization::install();

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return run(args);
}
