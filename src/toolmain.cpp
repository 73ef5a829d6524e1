// tensilo-tool: the command-line companion for support and scripting.
//
//   tensilo-tool dump FILE    prints the document as JSON
//   tensilo-tool build OUT    reads that JSON on standard input and writes the document file
//   tensilo-tool stats FILE   prints what the averages page shows, as JSON
//
// A file that cannot be read, or JSON that describes no document, is reported on standard
// error with exit status 1; wrong usage gives status 2.

#include "DocumentJson.h"
#include "Localization.h"
#include "MyDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << message << Qt::endl;
    return 1;
}

void print(const QByteArray &text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tensilo-tool"));
    Localization::install();

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString command = arguments.value(0);
    if (arguments.size() != 2 ||
        !(command == u"dump" || command == u"build" || command == u"stats")) {
        QTextStream(stderr) << qtTrId("tool.usage") << Qt::endl;
        return 2;
    }
    const QString path = arguments.value(1);

    MyDocument document;
    QString error;
    if (command == u"build") {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly))
            return fail(input.errorString());
        if (!DocumentJson::fromJson(input.readAll(), &document, &error) ||
            !document.writeToFile(path, &error))
            return fail(error);
        return 0;
    }
    if (!document.readFromFile(path, &error))
        return fail(error);
    print(command == u"dump" ? DocumentJson::toJson(document) : DocumentJson::statsJson(document));
    return 0;
}
