#include "ApplicationIcon.h"

#include <QApplication>

QString ApplicationIcon::applicationId()
{
    return QStringLiteral("io.github.tensilo.Tensilo");
}

QIcon ApplicationIcon::icon()
{
    QIcon builtIn;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/%1-%2.png").arg(applicationId()).arg(size),
                        QSize(size, size));
    return QIcon::fromTheme(applicationId(), builtIn);
}

void ApplicationIcon::install()
{
    QApplication::setWindowIcon(icon());
    QGuiApplication::setDesktopFileName(applicationId());
}
