#include "MainWindow.h"

#include "MyDocument.h"
#include "UndoManager.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

MainWindow::MainWindow(MyDocument *document, QWidget *parent)
    : QMainWindow(parent), pDocument(document), pCount(new QLabel(this))
{
    resize(900, 600);
    pCount->setObjectName(QStringLiteral("readingsCount"));
    pCount->setAlignment(Qt::AlignCenter);
    pCount->setAccessibleName(qtTrId("window.readings_count"));
    setCentralWidget(pCount);

    QMenu *file = menuBar()->addMenu(qtTrId("menu.file"));
    file->setObjectName(QStringLiteral("menuFile"));
    QMenu *edit = menuBar()->addMenu(qtTrId("menu.edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    QAction *undo = document->undoManager()->createUndoAction(this);
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = document->undoManager()->createRedoAction(this);
    redo->setObjectName(QStringLiteral("actionRedo"));
    redo->setShortcuts(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);

    connect(document, &MyDocument::filteredCounterChanged, this, &MainWindow::showCount);
    showCount();
}

void MainWindow::showCount()
{
    //: %1 is the number of readings
    pCount->setText(qtTrId("window.readings_count.text").arg(pDocument->allItems().size()));
}
