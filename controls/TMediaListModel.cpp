#include "controls/TMediaListModel.h"

#include <QSize>
#include <QString>
#include <QTimer>

namespace {

// A slice of finding holds the event loop no longer than this, so that typing and painting go on;
// with a batch of the view's layout after it, a turn stays within 20 ms.
constexpr std::chrono::milliseconds SliceTime(11);

} // namespace

TMediaListModel::TMediaListModel(QObject *parent) : QAbstractListModel(parent), scanTimer_(new QTimer(this))
{
    entries_.SetObserver(this);
    scanTimer_->setSingleShot(true);
    scanTimer_->setInterval(0);
    connect(scanTimer_, &QTimer::timeout, this, &TMediaListModel::ScanSlice);
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

void TMediaListModel::SetFindQuery(const QString &text)
{
    TFindQuery query(text);
    if (query.Empty() && !filter_.ShowsAll()) {
        beginResetModel();
        filter_.SetQuery(std::move(query));
        endResetModel();
    } else {
        filter_.SetQuery(std::move(query));
    }
    if (filter_.Scanning())
        ScanSlice();
    emit ShownChanged();
}

void TMediaListModel::ScanSlice()
{
    switch (filter_.Scan(SliceTime)) {
    case TListFilter::TChange::None:
        break;
    case TListFilter::TChange::Replaced:
        beginResetModel();
        filter_.TakeMatches();
        endResetModel();
        break;
    case TListFilter::TChange::Appended: {
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + filter_.PendingMatches() - 1);
        filter_.TakeMatches();
        endInsertRows();
        break;
    }
    }
    if (filter_.Scanning())
        scanTimer_->start();
    emit ShownChanged();
}

int TMediaListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return filter_.ShowsAll() ? entries_.Count() : int(filter_.Shown().size());
}

QVariant TMediaListModel::data(const QModelIndex &index, int role) const
{
    const int entry = index.isValid() ? EntryAt(index.row()) : -1;
    if (entry < 0 || entry >= entries_.Count())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const int place = entries_.QueuePlace(entry);
        return place > 0 ? QStringLiteral("[%1] ").arg(place) + DisplayText(entries_.Text(entry))
                         : DisplayText(entries_.Text(entry));
    }
    case Qt::CheckStateRole:
        return entries_.Checked(entry) ? Qt::Checked : Qt::Unchecked;
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
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled : Qt::ItemIsDropEnabled;
}

void TMediaListModel::RowsAboutToBeInserted(int first, int last)
{
    insertedFirst_ = first;
    // While matches are shown, new entries are shown once they are found to match.
    insertShown_ = filter_.ShowsAll();
    if (insertShown_)
        beginInsertRows(QModelIndex(), first, last);
}

void TMediaListModel::RowsInserted()
{
    if (insertShown_)
        endInsertRows();
    filter_.Appended(insertedFirst_);
    if (filter_.Scanning() && !scanTimer_->isActive())
        scanTimer_->start();
    emit ShownChanged();
}

void TMediaListModel::RowAboutToBeRemoved(int row)
{
    removedEntry_ = row;
    const int shownRow = RowOf(row);
    removalShown_ = shownRow >= 0;
    if (removalShown_)
        beginRemoveRows(QModelIndex(), shownRow, shownRow);
}

void TMediaListModel::RowRemoved()
{
    filter_.Removed(removedEntry_);
    if (removalShown_)
        endRemoveRows();
    emit EntryRemoved(removedEntry_);
    emit ShownChanged();
}

void TMediaListModel::AboutToBeCleared()
{
    beginResetModel();
}

void TMediaListModel::Cleared()
{
    filter_.Cleared();
    endResetModel();
    if (filter_.Scanning() && !scanTimer_->isActive())
        scanTimer_->start();
    emit ShownChanged();
}

void TMediaListModel::MarksChanged(int first, int last)
{
    // Views and screen readers learn of played marks as of any other change of a row.
    const int firstRow = RowBefore(first);
    const int lastRow = RowBefore(last + 1) - 1;
    if (firstRow <= lastRow)
        emit dataChanged(index(firstRow), index(lastRow), {Qt::CheckStateRole});
}

void TMediaListModel::AboutToBeReplaced(int)
{
    beginResetModel();
}

void TMediaListModel::Replaced()
{
    filter_.Replaced();
    endResetModel();
    if (filter_.Scanning())
        ScanSlice();
    else
        emit ShownChanged();
}

void TMediaListModel::LabelChanged(int row)
{
    const int shown = RowOf(row);
    if (shown >= 0)
        emit dataChanged(index(shown), index(shown), {Qt::DisplayRole});
}
