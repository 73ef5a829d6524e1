#pragma once

class DocumentController;
class MyAppDelegate;
class QMainWindow;
class QMenu;

// Puts the application's own items into a document window's menus. The menus are found by their
// objectNames ("menuFile", "menuEdit", "menuView", "menuWindow", "menuHelp"); any that are missing
// are created in that order. File gets New, Open..., Open Recent, Close, Save, Save As..., Revert
// to Saved at its top and Quit at its end; Edit gets Preferences... at its end; Window gets
// Minimize and the open documents; Help gets Feedback... and About Tensilo. The items act on the
// window's own document.
class ApplicationMenus
{
public:
    static void install(QMainWindow *window, DocumentController *controller,
                        MyAppDelegate *delegate = nullptr);
    // The window's menu with that objectName (created when missing, in its place).
    static QMenu *menu(QMainWindow *window, const char *objectName);
};
