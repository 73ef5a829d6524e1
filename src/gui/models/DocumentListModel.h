#pragma once

#include "MyDocument.h"

#include <QAbstractTableModel>
#include <QPointer>

// A thin table model over one of a document's observable lists. It keeps no copy of the list:
// every row is read from the document when asked. The document's row announcements are passed on
// one to one (insertions, removals, moves, changes in place, resets), so views keep their
// selection and scroll position through every change that keeps a row.
//
// The rows may be shown in reverse (newest reading first): that is a mapping of row numbers, not
// a second, sorted list.
class DocumentListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    DocumentListModel(MyDocument *document, MyDocument::List list, QObject *parent = nullptr);
    ~DocumentListModel() override;

    MyDocument *document() const { return pDocument; }
    MyDocument::List list() const { return nList; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;

    // The index into the document's list of a row of the model, and back.
    int listIndexOfRow(int row) const { return bReversed ? listCount() - 1 - row : row; }
    int rowOfListIndex(int index) const { return bReversed ? listCount() - 1 - index : index; }
    bool isReversed() const { return bReversed; }

protected:
    // The number of elements of the list as the document holds it now.
    virtual int listCount() const = 0;
    // Shows the rows in reverse order, or in list order again. Views keep their selection.
    void setReversed(bool reversed);
    // Called inside every reset of the list, before views see the new rows.
    virtual void resetting() {}
    // Sets the order without announcing it (inside a reset).
    void setReversedQuietly(bool reversed) { bReversed = reversed; }

private:
    void onRowsAboutToBeInserted(MyDocument::List list, int first, int last);
    void onRowsInserted(MyDocument::List list);
    void onRowsAboutToBeRemoved(MyDocument::List list, int first, int last);
    void onRowsRemoved(MyDocument::List list);
    void onRowAboutToBeMoved(MyDocument::List list, int from, int to);
    void onRowMoved(MyDocument::List list);
    void onListAboutToBeReset(MyDocument::List list);
    void onListReset(MyDocument::List list);
    void onRowsChanged(MyDocument::List list, int first, int last);

    QPointer<MyDocument> pDocument;
    MyDocument::List nList;
    bool bReversed = false;
};
