#include "PageInformation.h"

#include "Dialogs.h"
#include "InformationArrayController.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

PageInformation::PageInformation(InformationArrayController *controller, QWidget *parent)
    : QWidget(parent), pController(controller), pTableView(new QTableView(this))
{
    setObjectName(QStringLiteral("pPageInformation"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pTableView);
    pTableView->setObjectName(QStringLiteral("pInformationTable"));
    pTableView->setAccessibleName(qtTrId("window.information_table"));
    pTableView->setAccessibleDescription(qtTrId("window.information_table.description"));
    setFocusProxy(pTableView); // the page passes the focus on to its table
    pTableView->setModel(controller);
    pTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    pTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pTableView->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::SelectedClicked);
    pTableView->setAlternatingRowColors(true);
    pTableView->setShowGrid(false);
    pTableView->setWordWrap(false);
    pTableView->setTabKeyNavigation(false);
    pTableView->setFrameShape(QFrame::NoFrame);
    pTableView->verticalHeader()->hide();
    pTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows move within this table only; a drop falls between rows and never overwrites one.
    pTableView->setDragEnabled(true);
    pTableView->setAcceptDrops(true);
    pTableView->setDragDropMode(QAbstractItemView::InternalMove);
    pTableView->setDragDropOverwriteMode(false);
    pTableView->setDropIndicatorShown(true);
    pTableView->setDefaultDropAction(Qt::MoveAction);
    QHeaderView *header = pTableView->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionResizeMode(InformationArrayController::NameColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(InformationArrayController::ValueColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(InformationArrayController::PrintedColumn,
                                 QHeaderView::ResizeToContents);
    header->resizeSection(InformationArrayController::NameColumn, 200);
    pTableView->installEventFilter(this);

    connect(controller, &DNDArrayController::rowsDropped, this, &PageInformation::selectRows);
    connect(pTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit deleteEnabledChanged(canDelete()); });
}

QString PageInformation::addButtonTooltip() const
{
    return qtTrId("button.add.information");
}

bool PageInformation::canDelete() const
{
    return pTableView->selectionModel()->hasSelection();
}

QList<int> PageInformation::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : pTableView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PageInformation::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    for (const int row : rows)
        selection.select(pController->index(row, 0),
                         pController->index(row, pController->columnCount() - 1));
    pTableView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.isEmpty()) {
        pTableView->selectionModel()->setCurrentIndex(pController->index(rows.first(), 0),
                                                      QItemSelectionModel::NoUpdate);
        pTableView->scrollTo(pController->index(rows.first(), 0));
    }
}

void PageInformation::moveSelectedRows(int step)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    // Together, in their order, above the row before the first or below the row after the last.
    const int toIndex = step < 0 ? rows.first() - 1 : rows.last() + 2;
    if (toIndex < 0 || toIndex > pController->rowCount())
        return;
    selectRows(pController->moveObjectsInArrangedObjectsFromIndexes(rows, toIndex));
}

void PageInformation::onAddButton()
{
    const int row = pController->add();
    if (row < 0)
        return;
    selectRows({row});
    // The user names the new note right away; Escape keeps the default label.
    if (isVisible())
        pTableView->edit(pController->index(row, InformationArrayController::NameColumn));
}

void PageInformation::selectAll()
{
    pTableView->selectAll();
}

void PageInformation::onDelete()
{
    if (!canDelete())
        return;
    // The items to delete are the ones selected now, whatever happens while the alert is open.
    QList<InformationItemPtr> items;
    for (const int row : selectedRows())
        items.append(pController->item(row));
    QPointer<PageInformation> self(this);
    Dialogs::ask(this, QStringLiteral("delete_info"),
                 {QStringLiteral("delete"), QStringLiteral("cancel")}, [self, items](int answer) {
                     if (!self || answer != 0)
                         return;
                     QList<int> rows;
                     for (int row = 0; row < self->pController->rowCount(); ++row) {
                         if (items.contains(self->pController->item(row)))
                             rows.append(row);
                     }
                     self->pController->remove(rows);
                 });
}

bool PageInformation::eventFilter(QObject *watched, QEvent *event)
{
    // While a cell is edited its editor has the keys, not the table.
    if (watched == pTableView && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            onDelete();
            return true;
        }
        // What dragging does, from the keyboard.
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
            key->modifiers() == Qt::ControlModifier) {
            moveSelectedRows(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
