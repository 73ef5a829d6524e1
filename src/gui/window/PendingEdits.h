#pragma once

#include <functional>

// Something that can hold what the user typed but has not yet ended (a field still being edited,
// text not yet entered). Before anything that could take such a field away or that needs the
// document as the user sees it (another selection, another page, Add, save, close, print), the
// edit is applied.
class PendingEdits
{
public:
    virtual ~PendingEdits() = default;

    // Applies pending edits; true when the caller may go on at once. False when something typed
    // cannot be applied and the user is being asked what to do with it: `then` is called later
    // with true when the user discarded it (go on) or false when they keep editing (stop).
    virtual bool commitEditing(const std::function<void(bool proceed)> &then = {})
    {
        (void)then;
        return true;
    }
};
