#pragma once

#include "RecoveryStore.h"

#include <QList>

#include <functional>

class DocumentController;

// Asks Recover / Discard / Later for each recovery copy an earlier run left behind, one after
// another, then calls `done`. Recover opens the copy through the controller (a copy that cannot
// be read is kept on disk but not offered again); Discard removes it; Later keeps it for the next
// launch.
class RecoveryOffer
{
public:
    static void offer(DocumentController *controller, QList<RecoveryStore::Recovery> pending,
                      std::function<void()> done);
};
