#include "TestHelpers.h"

#include "Localization.h"
#include "Preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <ctime>

namespace TestSupport {

MeasurementPtr reading(const Date &date, const QVariant &systolic, const QVariant &diastolic,
                       const QStringList &tags)
{
    auto r = std::make_shared<Measurement>();
    r->setTheWholeDate(date);
    r->setSystolic(systolic);
    r->setDiastolic(diastolic);
    if (!tags.isEmpty())
        r->setTags(tags);
    return r;
}

QString outputPath(const QString &name)
{
    QString dir = qEnvironmentVariable("TENSILO_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/tensilo-test-output");
    QDir().mkpath(dir);
    return QDir(dir).filePath(name);
}

void setTimeZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

void useLocale(const QLocale &locale)
{
    QLocale::setDefault(locale);
    Localization::install(locale);
}

void setUpEnvironment()
{
    setTimeZone("UTC");
    QStandardPaths::setTestModeEnabled(true);
    useLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    Preferences::useTemporaryStore();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

ProcessRun run(const QString &program, const QStringList &arguments, const QByteArray &input,
               const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProcessRun run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

ProcessRun runTool(const QStringList &arguments, const QString &home, const QByteArray &input)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return run(QCoreApplication::applicationDirPath() + QStringLiteral("/tensilo-tool"), arguments,
               input, env);
}

} // namespace TestSupport
