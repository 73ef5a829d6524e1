#pragma once

#include "PendingEdits.h"

#include <QString>

// What the document window asks of the page it shows. The defaults are those of a page that
// offers neither Add nor Delete (the chart and the averages), and holds no pending edits.
class WindowPage : public PendingEdits
{
public:
    virtual ~WindowPage() = default;

    // The tooltip of the window's Add button on this page; a null string hides the button.
    virtual QString addButtonTooltip() const { return {}; }
    // The window's Add button was pressed while the page is shown.
    virtual void onAddButton() {}
    // Whether Edit › Delete applies to what is selected on the page. A page whose answer
    // changes emits deleteEnabledChanged(bool).
    virtual bool canDelete() const { return false; }
    virtual void onDelete() {}
};
