#pragma once

#include "WindowPage.h"

#include <QPointer>
#include <QWidget>

class InformationArrayController;
class QTableView;

// The information page: the document's labelled notes, edited in place (label, text, printed),
// reordered by dragging rows. Add appends a note with the default texts; Delete asks first.
class PageInformation : public QWidget, public WindowPage
{
    Q_OBJECT
public:
    PageInformation(InformationArrayController *controller, QWidget *parent = nullptr);

    QTableView *tableView() const { return pTableView; }
    InformationArrayController *controller() const { return pController; }

    QString addButtonTooltip() const override;
    bool canDelete() const override;
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    // Moves the selected notes one row up (step -1) or down (1) as dragging would: one undo step.
    void moveSelectedRows(int step);

public slots:
    void onAddButton() override;
    // Asks, then removes the selected notes when the user agrees.
    void onDelete() override;
    void selectAll();

signals:
    void deleteEnabledChanged(bool enabled);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    InformationArrayController *pController;
    QTableView *pTableView;
};
