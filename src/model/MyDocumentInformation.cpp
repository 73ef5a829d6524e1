#include "MyDocument_p.h"

#include "DocumentPrinter.h"

#include <QSet>

// The information list, the presentation settings (sort order, print settings) and the windows.

// --- Information ---------------------------------------------------------------------------------

void MyDocument::observeInformation(bool observe)
{
    for (const QMetaObject::Connection &connection : std::as_const(pInformationConnections))
        disconnect(connection);
    pInformationConnections.clear();
    if (!observe)
        return;
    QSet<const InformationItem *> seen;
    for (const InformationItemPtr &item : std::as_const(pInformation)) {
        if (seen.contains(item.get()))
            continue;
        seen.insert(item.get());
        InformationItem *raw = item.get();
        pInformationConnections.append(
            connect(raw, &InformationItem::valueChanged, this,
                    [this, raw](const QString &key, const QVariant &oldValue) {
                        onInformationValueChanged(raw, key, oldValue);
                    }));
    }
}

void MyDocument::setInformation(const InformationList &information)
{
    InformationList items;
    items.reserve(information.size());
    for (const InformationItemPtr &item : information) {
        if (item)
            items.append(item);
    }
    if (items == pInformation)
        return;
    const InformationList previous = pInformation;
    const Change change(*this, "doc.information.list_changed",
                        [this, previous] { setInformation(previous); });
    observeInformation(false);
    replaceInformation(items);
    observeInformation(true);
}

// Announces only the rows between the common head and the common tail, so that views keep their
// selection when one note is added, removed or moved.
void MyDocument::replaceInformation(const InformationList &items)
{
    const ListChange bracket(*this, List::Information);
    const qsizetype oldCount = pInformation.size();
    const qsizetype newCount = items.size();
    qsizetype head = 0;
    while (head < oldCount && head < newCount && pInformation[head] == items[head])
        ++head;
    qsizetype tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           pInformation[oldCount - 1 - tail] == items[newCount - 1 - tail])
        ++tail;
    if (oldCount - head - tail > 0) {
        emit rowsAboutToBeRemoved(List::Information, qint32(head), qint32(oldCount - tail - 1));
        const InformationList held = pInformation;
        pInformation.remove(head, oldCount - head - tail);
        emit rowsRemoved(List::Information, qint32(head), qint32(oldCount - tail - 1));
    }
    if (newCount - head - tail > 0) {
        emit rowsAboutToBeInserted(List::Information, qint32(head), qint32(newCount - tail - 1));
        pInformation = items;
        emit rowsInserted(List::Information, qint32(head), qint32(newCount - tail - 1));
    }
    pInformation = items;
}

void MyDocument::changeKeyPath(const QString &keyPath, const InformationItemPtr &item,
                               const QVariant &value)
{
    if (item)
        item->setValueForKey(value, keyPath);
}

void MyDocument::onInformationValueChanged(InformationItem *item, const QString &key,
                                           const QVariant &oldValue)
{
    if (key != InformationItem::kPrinted && key != InformationItem::kName &&
        key != InformationItem::kValue)
        return;
    InformationItemPtr held;
    for (const InformationItemPtr &candidate : std::as_const(pInformation)) {
        if (candidate.get() == item) {
            held = candidate;
            break;
        }
    }
    if (!held)
        return;
    const Change change(*this, "doc.information.item_changed",
                        [this, held, key, oldValue] { changeKeyPath(key, held, oldValue); });
    for (qsizetype i = 0; i < pInformation.size(); ++i) {
        if (pInformation[i] == held)
            emit rowsChanged(List::Information, qint32(i), qint32(i));
    }
}

void MyDocument::setSortItemsAscending(bool ascending)
{
    if (ascending == bSortAscending)
        return;
    bSortAscending = ascending;
    emit sortItemsAscendingChanged(bSortAscending);
}

// --- Printing ------------------------------------------------------------------------------------

void MyDocument::setPrintInfo(const QVariantMap &printInfo)
{
    if (printInfo == pPrintInfo)
        return;
    pPrintInfo = printInfo;
    emit printInfoChanged(pPrintInfo);
}

void MyDocument::addWindowController(QObject *controller)
{
    if (controller && !pWindowControllers.contains(controller))
        pWindowControllers.append(controller);
}

QList<QObject *> MyDocument::windowControllers() const
{
    QList<QObject *> controllers;
    for (const QPointer<QObject> &controller : pWindowControllers) {
        if (controller)
            controllers.append(controller.data());
    }
    return controllers;
}

bool MyDocument::printShowingPrintPanel(bool showPanel)
{
    for (QObject *controller : windowControllers()) {
        if (auto *printer = dynamic_cast<DocumentPrinter *>(controller)) {
            printer->doPrintDocument(showPanel);
            return true;
        }
    }
    Q_ASSERT_X(false, "src/MyDocument", "window controllers don't support printing");
    return false;
}
