#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// What the readings page shows in place of its table while the document holds no reading: how to
// start, with a button for each way — add a reading (as the toolbar's + and Insert do), import a
// file, import from a monitor. The buttons only ask; the window carries the request out.
class EmptyReadingsHint : public QWidget
{
    Q_OBJECT
public:
    explicit EmptyReadingsHint(QWidget *parent = nullptr);

    QPushButton *addButton() const { return pAdd; }
    QPushButton *importButton() const { return pImport; }
    QPushButton *monitorButton() const { return pMonitor; }
    // Monitors out of reach: the button is disabled and says why.
    void setMonitorUnavailable(const QString &reason);

signals:
    void addRequested();
    void importRequested();
    void importMonitorRequested();

private:
    QLabel *pTitle;
    QLabel *pText;
    QPushButton *pAdd;
    QPushButton *pImport;
    QPushButton *pMonitor;
};
