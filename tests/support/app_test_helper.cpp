// A child process for the application tests, which must see a process crash, be killed after an
// autosave, or start while another instance runs.
//   app_test_helper autosave RECOVERY_DIR    autosaves one edited document, says "autosaved",
//                                            then waits to be killed
//   app_test_helper crash REPORT_DIR         installs the crash handlers and crashes
//   app_test_helper handover SERVER FILE...  hands the files to the running instance; exits 0
//                                            when it took them, 3 when none runs

#include "CrashReporter.h"
#include "DocumentController.h"
#include "Measurement.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "SingleInstance.h"
#include "UndoManager.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString mode = args.at(1);

    if (mode == QLatin1String("autosave")) {
        Preferences::useTemporaryStore();
        qint64 clock = 0;
        DocumentController controller;
        controller.setRecoveryDirectory(args.at(2));
        controller.setClock([&clock] { return clock; });
        controller.setAutosavingDelay(60);
        MyDocument *document = controller.newDocument();
        document->addMeasurements(
            {Measurement::create(Date::fromTimeIntervalSince1970(1710504000.0), 131, 87)});
        document->undoManager()->closeGroup();
        clock += 60'000;
        controller.autosaveDueDocuments();
        std::printf("autosaved\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (mode == QLatin1String("crash")) {
        CrashReporter reporter;
        reporter.setReportDirectory(args.at(2));
        reporter.installHandlers();
        volatile int *nowhere = nullptr;
        *nowhere = 42;
        return 0;
    }
    if (mode == QLatin1String("handover")) {
        SingleInstance instance(args.at(2));
        return instance.sendToRunning(args.mid(3)) ? 0 : 3;
    }
    return 2;
}
