#include "RecoveryOffer.h"

#include "Dialogs.h"
#include "DocumentController.h"

#include <QDir>
#include <QLocale>
#include <QMainWindow>

void RecoveryOffer::offer(DocumentController *controller, QList<RecoveryStore::Recovery> pending,
                          std::function<void()> done)
{
    if (pending.isEmpty()) {
        if (done)
            done();
        return;
    }
    const RecoveryStore::Recovery recovery = pending.takeFirst();
    const QString where = recovery.originalPath.isEmpty()
                              ? qtTrId("doc.recovery.never_saved")
                              : QDir::toNativeSeparators(recovery.originalPath);
    const auto parent = [controller] {
        return controller->windowForDocument(controller->currentDocument());
    };
    Dialogs::ask(parent(), QStringLiteral("doc.recovery"),
                 {QStringLiteral("recover"), QStringLiteral("discard"), QStringLiteral("later")},
                 [controller, parent, recovery, pending, done](int answer) {
                     if (answer == 0) {
                         QString error;
                         if (!controller->recoverDocument(recovery, &error)) {
                             Dialogs::informText(
                                 parent(),
                                 qtTrId("doc.open_failed.title").arg(recovery.displayName), error);
                             RecoveryStore::setAside(recovery);
                         }
                     } else if (answer == 1) {
                         controller->discardRecovery(recovery);
                     }
                     offer(controller, pending, done);
                 },
                 {recovery.displayName, where,
                  QLocale().toString(recovery.autosaved.toLocalTime(), QLocale::ShortFormat)});
}
