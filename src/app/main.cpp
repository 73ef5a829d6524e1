#include "ApplicationIcon.h"
#include "Localization.h"
#include "MainWindow.h"

#include <QApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    // With TZ unset, the C library checks the zone file again on every local-time conversion,
    // which makes the first day view of 100,000 readings take most of a second. Naming the
    // system zone file once lets it keep what it has read.
    if (qEnvironmentVariableIsEmpty("TZ") && QFile::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tensilo"));
    QApplication::setApplicationName(QStringLiteral("Tensilo"));
    QApplication::setApplicationVersion(QStringLiteral(TENSILO_VERSION));
    Localization::install();
    ApplicationIcon::install();

    MainWindow window;
    window.show();
    return app.exec();
}
