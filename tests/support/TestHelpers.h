#pragma once

#include "Measurement.h"

#include <QByteArray>
#include <QLocale>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QVariant>

// Small helpers shared by the test programs.
namespace TestSupport {

// A reading at `date` with the given systolic and diastolic values (a number keeps its kind, an
// invalid QVariant leaves the value absent) and, when some are given, tags.
MeasurementPtr reading(const Date &date, const QVariant &systolic, const QVariant &diastolic = 80,
                       const QStringList &tags = {});

// Where a file for a person to look at goes: $TENSILO_TEST_OUTPUT (set by CTest to the build
// tree's test-output), else a directory under the system's temporary one. Creates the directory.
QString outputPath(const QString &name);

// Makes `zone` ("UTC", "Europe/Berlin") the process's local time zone.
void setTimeZone(const QByteArray &zone);

// Makes `locale` the default for numbers and dates and installs its language's texts.
void useLocale(const QLocale &locale);

// The environment TENSILO_TEST_MAIN (TestMain.h) gives every test program before its first
// test: UTC, US English for numbers, dates and texts, a throw-away preference store, the test
// locations of QStandardPaths. A test that needs another zone, language or preference sets it
// itself.
void setUpEnvironment();

// The file's bytes, empty when it cannot be read.
QByteArray readFile(const QString &path);

// Writes the bytes, replacing the file; false when not all of them could be written.
bool writeFile(const QString &path, const QByteArray &bytes);

// What a child process did: its exit code (-1 when it did not start, crashed or ran longer than
// two minutes) and what it wrote.
struct ProcessRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program with the arguments, `input` on its standard input.
ProcessRun run(const QString &program, const QStringList &arguments,
               const QByteArray &input = QByteArray(),
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// Runs tensilo-tool (beside the test program) in US English, offscreen and with `home` as its
// home, so that the user's preferences are never read or written; the zone is the test's.
ProcessRun runTool(const QStringList &arguments, const QString &home,
                   const QByteArray &input = QByteArray());

} // namespace TestSupport

#include <QTest>

namespace TestSupport {

// A row of a data-driven test on one line: row("name", a, b) is QTest::newRow("name") << a << b.
template <typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}

} // namespace TestSupport

// Strings in the tests are written u"..."_s.
using namespace Qt::StringLiterals;
