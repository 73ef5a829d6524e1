#pragma once

#include <QMainWindow>

// The application's window until documents have windows of their own: the menus and nothing else.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

private:
    void onAbout();
};
