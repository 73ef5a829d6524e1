#include "MainWindow.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(qtTrId("app.name"));
    resize(900, 600);

    QMenu *file = menuBar()->addMenu(qtTrId("menu.file"));
    QAction *quit = file->addAction(qtTrId("menu.file.quit"), qApp, &QApplication::closeAllWindows);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu *help = menuBar()->addMenu(qtTrId("menu.help"));
    QAction *about = help->addAction(qtTrId("menu.help.about"), this, &MainWindow::onAbout);
    about->setMenuRole(QAction::AboutRole);
}

void MainWindow::onAbout()
{
    QMessageBox::about(this, qtTrId("app.name"), qtTrId("about.text"));
}
