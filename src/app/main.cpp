#include "ApplicationIcon.h"
#include "ApplicationMenus.h"
#include "CrashReporter.h"
#include "DocumentController.h"
#include "LocalTimeZone.h"
#include "Localization.h"
#include "MyAppDelegate.h"
#include "MyWindowController.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char *argv[])
{
    LocalTimeZone::pinSystemZone();

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tensilo"));
    QApplication::setApplicationName(QStringLiteral("Tensilo"));
    QApplication::setApplicationVersion(QStringLiteral(TENSILO_VERSION));
    Localization::install();
    ApplicationIcon::install();

    // Files named on the command line (a file manager opens documents this way).
    QStringList files;
    for (const QString &argument : app.arguments().mid(1))
        files.append(QFileInfo(argument).absoluteFilePath());

    // One Tensilo per user: a second start hands its files to the running one.
    SingleInstance instance;
    if (instance.sendToRunning(files))
        return 0;
    instance.listen();

    CrashReporter::sharedReporter()->installHandlers();
    MyAppDelegate::initialize();
    // The delegate ends the application when its last document closes.
    QApplication::setQuitOnLastWindowClosed(false);

    DocumentController controller;
    MyAppDelegate delegate(&controller);
    controller.setWindowFactory([&controller, &delegate](MyDocument *document) {
        auto *window = new MyWindowController(document);
        ApplicationMenus::install(window, &controller, &delegate);
        return window;
    });
    QObject::connect(&instance, &SingleInstance::argumentsReceived, &delegate,
                     &MyAppDelegate::handleReopenRequest);
    QTimer::singleShot(0, &delegate, [&delegate, files] { delegate.launch(files); });
    const int status = app.exec();
    return status;
}
