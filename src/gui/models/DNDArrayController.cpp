#include "DNDArrayController.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>

const QString DNDArrayController::kMovedRowsType = QStringLiteral("MOVED_ROWS_TYPE");

namespace {

QList<int> normalized(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

} // namespace

QStringList DNDArrayController::mimeTypes() const
{
    return {kMovedRowsType};
}

Qt::ItemFlags DNDArrayController::flags(const QModelIndex &index) const
{
    // Rows are dragged; drops fall between rows (on the table itself), never onto a row.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return DocumentListModel::flags(index) | Qt::ItemIsDragEnabled;
}

QMimeData *DNDArrayController::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && index.model() == this)
            rows.append(index.row());
    }
    rows = normalized(rows);
    if (rows.isEmpty())
        return nullptr;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint64(reinterpret_cast<quintptr>(this)) << rows;
    auto *data = new QMimeData;
    data->setData(kMovedRowsType, bytes);
    return data;
}

bool DNDArrayController::decode(const QMimeData *data, Qt::DropAction action,
                                QList<int> *rows) const
{
    if (!data || action != Qt::MoveAction || !data->hasFormat(kMovedRowsType))
        return false;
    const Qt::KeyboardModifiers modifiers =
        keyboardModifiers ? keyboardModifiers() : QGuiApplication::queryKeyboardModifiers();
    if (modifiers & Qt::AltModifier)
        return false;
    QDataStream in(data->data(kMovedRowsType));
    quint64 source = 0;
    QList<int> decoded;
    in >> source >> decoded;
    if (in.status() != QDataStream::Ok || source != quint64(reinterpret_cast<quintptr>(this)))
        return false;
    decoded = normalized(decoded);
    const int count = rowCount();
    if (decoded.isEmpty() || decoded.first() < 0 || decoded.last() >= count)
        return false;
    if (rows)
        *rows = decoded;
    return true;
}

bool DNDArrayController::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                         const QModelIndex &) const
{
    return decode(data, action, nullptr);
}

bool DNDArrayController::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
                                      const QModelIndex &parent)
{
    QList<int> rows;
    if (!decode(data, action, &rows))
        return false;
    // A drop onto a row falls above it; a drop below every row, after the last.
    int target = row;
    if (target < 0)
        target = parent.isValid() ? parent.row() : rowCount();
    target = std::clamp(target, 0, rowCount());
    const QList<int> moved = moveObjectsInArrangedObjectsFromIndexes(rows, target);
    emit rowsDropped(moved);
    return true;
}

int DNDArrayController::countOfIndexesInRange(const QList<int> &indexes, int location, int length)
{
    if (length <= 0)
        return 0;
    const auto first = std::lower_bound(indexes.cbegin(), indexes.cend(), location);
    const auto end = std::lower_bound(first, indexes.cend(), qint64(location) + length,
                                      [](int a, qint64 b) { return a < b; });
    return int(end - first);
}
