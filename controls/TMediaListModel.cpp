#include "controls/TMediaListModel.h"

#include <QSize>
#include <QString>

TMediaListModel::TMediaListModel(QObject *parent) : QAbstractListModel(parent)
{
    entries_.SetObserver(this);
}

TMediaListModel::~TMediaListModel()
{
    entries_.SetObserver(nullptr);
}

QString TMediaListModel::DisplayText(const QByteArray &text)
{
    if (text.size() <= DisplayedBytes)
        return QString::fromUtf8(text);
    // Cut before a character that would be split, so that the cut shows no replacement mark.
    qsizetype end = DisplayedBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return QString::fromUtf8(text.constData(), end) + QChar(0x2026);
}

int TMediaListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : entries_.Count();
}

QVariant TMediaListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(entries_.Text(index.row()));
    case Qt::CheckStateRole:
        return entries_.Checked(index.row()) ? Qt::Checked : Qt::Unchecked;
    case Qt::SizeHintRole:
        return QSize(1, RowHeight);
    default:
        return {};
    }
}

Qt::ItemFlags TMediaListModel::flags(const QModelIndex &index) const
{
    // Not user-checkable: the list control toggles marks itself, so that a toggle does
    // nothing else (no selection change through the delegate).
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TMediaListModel::RowsAboutToBeInserted(int first, int last)
{
    beginInsertRows(QModelIndex(), first, last);
}

void TMediaListModel::RowsInserted()
{
    endInsertRows();
}

void TMediaListModel::RowAboutToBeRemoved(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
}

void TMediaListModel::RowRemoved()
{
    endRemoveRows();
}

void TMediaListModel::AboutToBeCleared()
{
    beginResetModel();
}

void TMediaListModel::Cleared()
{
    endResetModel();
}

void TMediaListModel::MarksChanged(int first, int last)
{
    // Views and screen readers learn of played marks as of any other change of a row.
    emit dataChanged(index(first), index(last), {Qt::CheckStateRole});
}
