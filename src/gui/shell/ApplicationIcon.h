#pragma once

#include <QIcon>
#include <QString>

// The application's identity on the desktop: the icon of its windows and the id under which the
// desktop entry, the MIME package and the AppStream metadata are installed.
class ApplicationIcon
{
public:
    static QString applicationId(); // "io.github.tensilo.Tensilo"
    // The icon from the theme when installed, else the copy compiled into the program.
    static QIcon icon();
    // Sets the window icon and the desktop file name of the running application.
    static void install();
};
