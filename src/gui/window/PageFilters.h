#pragma once

#include "Filter.h"
#include "MyDocument.h"
#include "WindowPage.h"

#include <QPointer>
#include <QWidget>

class FiltersModel;
class MyDocument;
class PredicateEditor;
class QCheckBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableView;

// The filters page of a document window: the document's filters (name edited in place, whether
// the filter menu offers it, whether the averages show it) and, for the selected filter, its
// condition in the predicate editor or, with "as text" on, as text. Every change goes through the
// filter's setters and the document's filter operations, which make it undoable; undo and redo
// show at once in the list, the editor and the text.
class PageFilters : public QWidget, public WindowPage
{
    Q_OBJECT
public:
    PageFilters(MyDocument *document, QWidget *parent);
    ~PageFilters() override;

    MyDocument *document() const { return pDocument; }
    // The rows the editor offers, in the order it asks them.
    static void installRowTemplates(PredicateEditor *editor);

    // The tooltip of the window's Add button on this page ("button.add.filter").
    QString addButtonTooltip() const override;
    bool canDelete() const override;
    // Whether the Delete key acts on the filters (the list has the focus): inside a condition
    // row or the text form the key belongs to what is being edited.
    bool deleteKeyActsOnList() const;
    // The editor's pending edits, or the text form's text, go to the filter shown. Text that
    // cannot be applied is kept and the user is asked whether to go on editing or discard it.
    bool commitEditing(const std::function<void(bool proceed)> &then = {}) override;
    FilterPtr selectedFilter() const;
    void selectFilter(const FilterPtr &filter);

    QTableView *filtersView() const { return pFiltersView; }
    FiltersModel *filtersModel() const { return pModel; }
    PredicateEditor *predicateEditor() const { return pEditor; }
    QCheckBox *textToggle() const { return pTextToggle; }
    QLineEdit *textField() const { return pTextField; }
    QLabel *textError() const { return pTextError; }

public slots:
    // Appends a new filter (one undo step) and selects it.
    void onAddButton() override;
    // Asks, then removes the selected filter (one undo step).
    void onDelete() override;
    // Parses the text field; a syntax error is shown at its place and changes nothing.
    void onTextEntered();

signals:
    void deleteEnabledChanged(bool enabled);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onSelectionChanged();
    void onFilterValueChanged(const QString &key);
    void onEditorChanged(const PredicatePtr &predicate);
    void showSelectedPredicate();
    void showText();
    void onTextToggled(bool asText);
    // Applies the text form's text to the filter shown; false (with the reason) when it cannot.
    bool applyText(QString *error, qsizetype *position = nullptr);
    void selectDocumentFilter();
    // Shows the text form's error (none: hides it).
    void showTextError(const QString &error);
    void updateTagCompletions();

    QPointer<MyDocument> pDocument;
    FiltersModel *pModel = nullptr;
    QTableView *pFiltersView = nullptr;
    PredicateEditor *pEditor = nullptr;
    QCheckBox *pTextToggle = nullptr;
    QStackedWidget *pForms = nullptr;
    QLineEdit *pTextField = nullptr;
    QLabel *pTextError = nullptr;
    QLabel *pNoSelection = nullptr;

    FilterPtr pShownFilter;
    QMetaObject::Connection pShownConnection;
    bool bPushing = false;
    bool bHoldingSelection = false;
    bool bDeleteEnabled = false;
};
