#include "TMediaListModel.h"

#include "EListError.h"
#include "TextFold.h"

#include <QSize>
#include <QString>

QByteArray TMediaListModel::Text(int row) const
{
    CheckRow(row);
    return texts_[size_t(row)];
}

bool TMediaListModel::Checked(int row) const
{
    CheckRow(row);
    return checked_[size_t(row)] != 0;
}

void TMediaListModel::SetChecked(int row, bool checked)
{
    CheckRow(row);
    if ((checked_[size_t(row)] != 0) == checked)
        return;
    checked_[size_t(row)] = checked;
    emit MarksChanged(row, row);
}

void TMediaListModel::SetAllChecked(bool checked)
{
    if (texts_.empty())
        return;
    std::fill(checked_.begin(), checked_.end(), char(checked));
    emit MarksChanged(0, Count() - 1);
}

void TMediaListModel::AppendUnsignalled(const QByteArray &text, bool checked)
{
    texts_.push_back(text);
    checked_.push_back(checked);
    index_.Append(TextFold::Hash(text));
}

int TMediaListModel::Append(const QByteArray &text)
{
    const int row = Count();
    beginInsertRows(QModelIndex(), row, row);
    AppendUnsignalled(text, false);
    endInsertRows();
    return row;
}

template <typename Items, typename Add>
void TMediaListModel::AppendBatch(const Items &items, Add add)
{
    if (items.isEmpty())
        return;
    const int first = Count();
    beginInsertRows(QModelIndex(), first, first + int(items.size()) - 1);
    texts_.reserve(texts_.size() + size_t(items.size()));
    checked_.reserve(checked_.size() + size_t(items.size()));
    index_.Reserve(first + int(items.size()));
    for (const auto &item : items)
        add(item);
    endInsertRows();
}

void TMediaListModel::Append(const QList<QByteArray> &texts)
{
    AppendBatch(texts, [this](const QByteArray &text) { AppendUnsignalled(text, false); });
}

void TMediaListModel::AppendEntries(const QList<TListEntry> &entries)
{
    AppendBatch(entries, [this](const TListEntry &entry) { AppendUnsignalled(entry.Text, entry.Marked); });
}

QList<TListEntry> TMediaListModel::Entries() const
{
    QList<TListEntry> entries;
    entries.reserve(Count());
    for (size_t row = 0; row < texts_.size(); ++row)
        entries.append(TListEntry{texts_[row], checked_[row] != 0});
    return entries;
}

void TMediaListModel::RemoveAt(int row)
{
    CheckRow(row);
    beginRemoveRows(QModelIndex(), row, row);
    texts_.erase(texts_.begin() + row);
    checked_.erase(checked_.begin() + row);
    index_.RemoveAt(row);
    endRemoveRows();
}

void TMediaListModel::Clear()
{
    beginResetModel();
    texts_.clear();
    checked_.clear();
    index_.Clear();
    endResetModel();
}

int TMediaListModel::IndexOf(const QByteArray &text) const
{
    return index_.FindFirst(TextFold::Hash(text), [&](int row) {
        return TextFold::SameText(texts_[size_t(row)], text);
    });
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
    return parent.isValid() ? 0 : Count();
}

QVariant TMediaListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const size_t row = size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(texts_[row]);
    case Qt::CheckStateRole:
        return checked_[row] ? Qt::Checked : Qt::Unchecked;
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

void TMediaListModel::CheckRow(int row) const
{
    if (row < 0 || row >= Count())
        throw EListError(row);
}
