#include "LocalTimeZone.h"
#include "Localization.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    LocalTimeZone::pinSystemZone();

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tensilo"));
    QApplication::setApplicationName(QStringLiteral("Tensilo"));
    QApplication::setApplicationVersion(QStringLiteral(TENSILO_VERSION));
    Localization::install();

    MainWindow window;
    window.show();
    return app.exec();
}
