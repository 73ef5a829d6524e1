#pragma once

#include "Predicate.h"
#include "RowTemplate.h"

#include <QScrollArea>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

// Edits a predicate as rows: compound rows (all, any or none of the rows below them) holding
// comparison rows and further compound rows, each comparison row shown by the row template that
// claims it best (see RowTemplate). Each row has + (a row below; with Alt, or from the button's
// menu, a group) and − (the row goes; the last row of the editor stays). The rows are laid out in
// a scroll area and grow with their content.
//
// Whenever the user changes a row the editor rebuilds its predicate from the rows and announces
// it with predicateEdited(). A predicate that no set of rows can show exactly (a comparison no
// template claims in full, a constant predicate, none at all) is kept as it is and shown read-only
// in its text form with a notice; only replaceWithRows() (the notice's button) gives it up.
class PredicateEditor : public QScrollArea
{
    Q_OBJECT
public:
    explicit PredicateEditor(QWidget *parent = nullptr);
    ~PredicateEditor() override;

    // The editor's templates, asked in this order; the first of equal scores wins. Rows made by
    // the user start from the template of the row they are added to (else the first).
    void addRowTemplate(std::unique_ptr<RowTemplate> rowTemplate);
    const std::vector<std::unique_ptr<RowTemplate>> &rowTemplates() const { return pTemplates; }
    // Offered by the tags rows while typing.
    void setTagCompletions(const QStringList &tags);

    // Shows a predicate (rows, or read-only when it cannot be shown as rows). Announces nothing.
    void setObjectValue(const PredicatePtr &predicate);
    // The predicate shown: rebuilt from the rows, or the one kept read-only.
    PredicatePtr objectValue() const;
    bool isReadOnly() const { return bReadOnly; }
    // Takes in what a row's control holds but has not yet reported (a number still being typed,
    // a tag not yet ended) and announces the predicate if it changed.
    void commitEditing();

    // The rows in display order (the root compound row first).
    class Row;
    int numberOfRows() const;
    Row *rowAt(int index) const;
    int indexOfRow(const Row *row) const;
    bool isCompoundRow(int index) const;
    // The template of a comparison row (nullptr for a compound row).
    RowTemplate *templateOfRow(int index) const;
    // The compound row's type (CompoundPredicate::Type).
    qint32 compoundTypeOfRow(int index) const;
    void setCompoundTypeOfRow(int index, qint32 type);
    int depthOfRow(int index) const;
    // What + and − do; both announce the new predicate.
    void addRow(int index, bool group);
    bool canRemoveRow(int index) const;
    void removeRow(int index);
    // Replaces a kept predicate by one row ("Systolic > 0") and announces it.
    void replaceWithRows();
    // The +/− buttons of a row, for keyboard and tests.
    QToolButton *addButtonOfRow(int index) const;
    QToolButton *removeButtonOfRow(int index) const;

signals:
    void predicateEdited(const PredicatePtr &predicate);

private:
    std::unique_ptr<Row> buildRow(const PredicatePtr &predicate, Row *parent, bool *ok);
    std::unique_ptr<Row> makeComparisonRow(Row *parent, int templateIndex,
                                           std::unique_ptr<RowTemplate> rowTemplate);
    std::unique_ptr<Row> makeCompoundRow(Row *parent, qint32 type);
    void makeLine(Row *row);
    void augmentMenus(Row *row);
    void switchTemplate(Row *row, int templateIndex, const QString &leftTitle, int secondIndex);
    void onRowChanged(Row *row);
    void relayout();
    void collect(Row *row, QList<Row *> &rows) const;
    PredicatePtr build(const Row *row) const;
    bool rowsAcceptable(const Row *row) const;
    void commit();
    void showReadOnly(const PredicatePtr &predicate);
    void updateRemoveButtons();
    bool eventFilter(QObject *watched, QEvent *event) override;

    std::vector<std::unique_ptr<RowTemplate>> pTemplates;
    std::unique_ptr<Row> pRoot;
    QList<Row *> pFlatRows;
    PredicatePtr pShown; // the predicate last loaded or announced
    PredicatePtr pKept;  // the predicate shown read-only
    bool bReadOnly = false;
    QStringList pTagCompletions;

    QWidget *pRowsWidget = nullptr;
    QVBoxLayout *pRowsLayout = nullptr;
    QWidget *pReadOnlyWidget = nullptr;
    QLabel *pReadOnlyNotice = nullptr;
    QPlainTextEdit *pReadOnlyText = nullptr;
    QPushButton *pReplaceButton = nullptr;
};
