#pragma once

#include <QMainWindow>

class MyDocument;
class QLabel;

// A document's window until the full document window takes its place: the document's readings
// count, and an Edit menu with Undo and Redo.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(MyDocument *document, QWidget *parent = nullptr);

    MyDocument *document() const { return pDocument; }

private:
    void showCount();

    MyDocument *pDocument;
    QLabel *pCount;
};
