#include "CrashReporter.h"

#include "ReportDialog.h"

#include <QDialog>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QSysInfo>

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

namespace {

// Everything the signal handler needs is prepared here beforehand: it may neither allocate nor
// take locks.
char gReportPath[4096];
char gHeader[2048];
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
char gAlternateStack[64 * 1024];

void writeText(int fd, const char *text)
{
    size_t left = strlen(text);
    while (left > 0) {
        const ssize_t n = write(fd, text, left);
        if (n <= 0)
            return;
        text += n;
        left -= size_t(n);
    }
}

void writeNumber(int fd, long long value)
{
    char digits[24];
    int i = sizeof digits - 1;
    digits[i] = '\0';
    const bool negative = value < 0;
    unsigned long long n = negative ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    do {
        digits[--i] = char('0' + n % 10);
        n /= 10;
    } while (n > 0 && i > 1);
    if (negative)
        digits[--i] = '-';
    writeText(fd, digits + i);
}

const char *signalName(int signal)
{
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void onFatalSignal(int signal)
{
    const int fd = open(gReportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        writeText(fd, "Tensilo crashed.\nSignal: ");
        writeNumber(fd, signal);
        writeText(fd, " (");
        writeText(fd, signalName(signal));
        writeText(fd, ")\nTime: ");
        writeNumber(fd, (long long)time(nullptr));
        writeText(fd, " (seconds since 1970-01-01 UTC)\n");
        writeText(fd, gHeader);
        writeText(fd, "\nBacktrace:\n");
        void *frames[64];
        const int count = backtrace(frames, 64);
        backtrace_symbols_fd(frames, count, fd);
        close(fd);
    }
    // SA_RESETHAND has put the default action back: raise it again.
    raise(signal);
}

} // namespace

CrashReporter *CrashReporter::sharedReporter()
{
    static QPointer<CrashReporter> shared;
    if (!shared)
        shared = new CrashReporter(QCoreApplication::instance());
    return shared;
}

CrashReporter::CrashReporter(QObject *parent)
    : QObject(parent),
      strDirectory(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                   QStringLiteral("/crashes"))
{}

CrashReporter::~CrashReporter()
{
    delete pDialog;
}

void CrashReporter::setReportDirectory(const QString &directory)
{
    strDirectory = directory;
}

QString CrashReporter::crashReportPath() const
{
    return strDirectory + QStringLiteral("/crash.txt");
}

QString CrashReporter::systemDetails()
{
    return QStringLiteral("Version: %1\nQt: %2 (built with %3)\nSystem: %4, %5 %6, %7\n")
        .arg(QCoreApplication::applicationVersion(), QString::fromLatin1(qVersion()),
             QStringLiteral(QT_VERSION_STR), QSysInfo::prettyProductName(), QSysInfo::kernelType(),
             QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture());
}

void CrashReporter::installHandlers()
{
    QDir().mkpath(strDirectory);
    const QByteArray path = QFile::encodeName(crashReportPath());
    qstrncpy(gReportPath, path.constData(), sizeof gReportPath);
    qstrncpy(gHeader, systemDetails().toUtf8().constData(), sizeof gHeader);
    // backtrace() loads its unwinder on first use, which allocates: do that now.
    void *warmUp[2];
    backtrace(warmUp, 2);

    stack_t stack{};
    stack.ss_sp = gAlternateStack;
    stack.ss_size = sizeof gAlternateStack;
    sigaltstack(&stack, nullptr); // so that a stack overflow can still be reported

    struct sigaction action
    {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

bool CrashReporter::hasCrashReport() const
{
    return QFile::exists(crashReportPath());
}

bool CrashReporter::reportIfCrash(QWidget *parent)
{
    QFile file(crashReportPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString report = QString::fromUtf8(file.read(1 << 20));
    const QDateTime when = QFileInfo(file).lastModified();
    file.close();
    file.remove();
    delete pDialog;
    //: %1 is the date and time of the crash
    pDialog = new ReportDialog(
        ReportDialog::Kind::Crash,
        qtTrId("reporter.crash.intro").arg(QLocale().toString(when, QLocale::ShortFormat)), report,
        parent);
    pDialog->open();
    return true;
}

void CrashReporter::reportFeedback(QWidget *parent)
{
    delete pDialog;
    pDialog = new ReportDialog(ReportDialog::Kind::Feedback, qtTrId("reporter.feedback.intro"),
                               systemDetails(), parent);
    pDialog->open();
}
