#include "medialist/TMediaEntries.h"

#include "medialist/EListError.h"
#include "medialist/TTextPool.h"
#include "medialist/TextFold.h"

#include <algorithm>
#include <unordered_map>

namespace {

class TNobody : public TMediaEntries::TObserver {
public:
    void RowsAboutToBeInserted(int, int) override { }
    void RowsInserted() override { }
    void RowAboutToBeRemoved(int) override { }
    void RowRemoved() override { }
    void AboutToBeCleared() override { }
    void Cleared() override { }
    void MarksChanged(int, int) override { }
    void AboutToBeReplaced(int) override { }
    void Replaced() override { }
    void LabelChanged(int) override { }
};

TNobody Nobody;

} // namespace

TMediaEntries::TMediaEntries() : observer_(&Nobody) { }

void TMediaEntries::SetObserver(TObserver *observer)
{
    observer_ = observer ? observer : &Nobody;
}

QByteArray TMediaEntries::Text(int row) const
{
    CheckRow(row);
    return texts_.At(size_t(row));
}

bool TMediaEntries::Checked(int row) const
{
    CheckRow(row);
    return checked_[size_t(row)] != 0;
}

void TMediaEntries::SetChecked(int row, bool checked)
{
    CheckRow(row);
    if ((checked_[size_t(row)] != 0) == checked)
        return;
    checked_[size_t(row)] = checked;
    ++revision_;
    observer_->MarksChanged(row, row);
}

void TMediaEntries::SetAllChecked(bool checked)
{
    // One notice for the rows from the first to the last changed one: a new cycle of a long
    // list would otherwise flood a view with a notice per row.
    int first = -1;
    int last = -1;
    for (int row = 0; row < Count(); ++row) {
        char &mark = checked_[size_t(row)];
        if ((mark != 0) == checked)
            continue;
        mark = checked;
        if (first < 0)
            first = row;
        last = row;
    }
    if (first < 0)
        return;
    ++revision_;
    observer_->MarksChanged(first, last);
}

void TMediaEntries::AppendUnobserved(const QByteArray &text, bool checked)
{
    texts_.Append(text);
    checked_.push_back(checked);
    ids_.push_back(nextId_++);
    index_.Append(TextFold::Hash(text));
    ++revision_;
    ++textsRevision_;
}

int TMediaEntries::Append(const QByteArray &text)
{
    const int row = Count();
    observer_->RowsAboutToBeInserted(row, row);
    AppendUnobserved(text, false);
    observer_->RowsInserted();
    return row;
}

template <typename Items, typename Add> void TMediaEntries::AppendBatch(const Items &items, Add add)
{
    if (items.isEmpty())
        return;
    const int first = Count();
    observer_->RowsAboutToBeInserted(first, first + int(items.size()) - 1);
    texts_.Reserve(texts_.Size() + size_t(items.size()));
    checked_.reserve(checked_.size() + size_t(items.size()));
    ids_.reserve(ids_.size() + size_t(items.size()));
    index_.Reserve(first + int(items.size()));
    for (const auto &item : items)
        add(item);
    observer_->RowsInserted();
}

void TMediaEntries::Append(const QList<QByteArray> &texts)
{
    AppendBatch(texts, [this](const QByteArray &text) { AppendUnobserved(text, false); });
}

void TMediaEntries::AppendEntries(const QList<TListEntry> &entries)
{
    AppendBatch(entries, [this](const TListEntry &entry) { AppendUnobserved(entry.Text, entry.Marked); });
}

void TMediaEntries::RemoveAt(int row)
{
    CheckRow(row);
    const bool queued = QueuePlace(row) > 0;
    if (queued)
        queue_.Remove(ids_[size_t(row)]);
    observer_->RowAboutToBeRemoved(row);
    texts_.RemoveAt(size_t(row));
    checked_.erase(checked_.begin() + row);
    ids_.erase(ids_.begin() + row);
    index_.RemoveAt(row);
    ++revision_;
    ++textsRevision_;
    observer_->RowRemoved();
    if (queued)
        QueueChanged();
}

void TMediaEntries::Clear()
{
    observer_->AboutToBeCleared();
    queue_.Clear();
    texts_.Clear();
    checked_.clear();
    ids_.clear();
    index_.Clear();
    ++revision_;
    ++textsRevision_;
    observer_->Cleared();
}

int TMediaEntries::IndexOf(const QByteArray &text) const
{
    return index_.FindFirst(TextFold::Hash(text),
                            [&](int row) { return TextFold::SameText(texts_.At(size_t(row)), text); });
}

void TMediaEntries::AppendToPool(TTextPool &pool, int first, bool unmarkedOnly) const
{
    pool.Reserve(Count() - first);
    for (int row = first; row < Count(); ++row)
        if (!unmarkedOnly || !checked_[size_t(row)])
            pool.Append(texts_.At(size_t(row)), index_.HashAt(row));
}

int TMediaEntries::RowOfId(uint32_t id) const
{
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    return found == ids_.end() ? -1 : int(found - ids_.begin());
}

TEntryRun TMediaEntries::Run(int first) const
{
    // Copied whole: a run of a long list is taken on the window's thread.
    TEntryRun run;
    run.Texts = texts_.SnapshotFrom(size_t(first));
    run.Marks.assign(checked_.begin() + first, checked_.end());
    run.Ids.assign(ids_.begin() + first, ids_.end());
    run.Hashes.reserve(size_t(Count() - first));
    for (int row = first; row < Count(); ++row)
        run.Hashes.push_back(index_.HashAt(row));
    return run;
}

TEntryRun TMediaEntries::Picked(const std::vector<int> &rows) const
{
    TEntryRun run;
    run.Texts = texts_.Snapshot(rows);
    run.Marks.reserve(rows.size());
    run.Hashes.reserve(rows.size());
    run.Ids.reserve(rows.size());
    for (const int row : rows) {
        run.Marks.push_back(checked_[size_t(row)]);
        run.Hashes.push_back(index_.HashAt(row));
        run.Ids.push_back(ids_[size_t(row)]);
    }
    return run;
}

void TMediaEntries::ReplaceFrom(int first, const TEntryRun &run, const std::vector<char> *marksThen)
{
    std::unordered_map<uint32_t, char> markedSince;
    if (marksThen)
        for (int row = first; row < Count() && size_t(row - first) < marksThen->size(); ++row)
            if (checked_[size_t(row)] != (*marksThen)[size_t(row - first)])
                markedSince.emplace(ids_[size_t(row)], checked_[size_t(row)]);
    observer_->AboutToBeReplaced(first);
    texts_.ReplaceFrom(size_t(first), run.Texts);
    checked_.resize(size_t(first));
    checked_.insert(checked_.end(), run.Marks.begin(), run.Marks.end());
    ids_.resize(size_t(first));
    ids_.insert(ids_.end(), run.Ids.begin(), run.Ids.end());
    index_.ReplaceFrom(first, run.Hashes);
    for (size_t row = size_t(first); row < ids_.size() && !markedSince.empty(); ++row) {
        const auto since = markedSince.find(ids_[row]);
        if (since != markedSince.end())
            checked_[row] = since->second;
    }
    if (!queue_.Empty()) {
        std::vector<char> held(nextId_, 0);
        for (const uint32_t id : ids_)
            held[id] = 1;
        queue_.Keep([&](uint32_t id) { return held[id] != 0; });
    }
    ++revision_;
    ++textsRevision_;
    observer_->Replaced();
}

void TMediaEntries::QueueChanged()
{
    for (const int row : QueuedRows())
        observer_->LabelChanged(row);
}

void TMediaEntries::ToggleQueued(int row)
{
    CheckRow(row);
    queue_.Toggle(ids_[size_t(row)]);
    observer_->LabelChanged(row);
    QueueChanged();
}

int TMediaEntries::QueueFront() const
{
    return queue_.Empty() ? -1 : RowOfId(queue_.Ids().front());
}

int TMediaEntries::TakeQueueFront()
{
    const int row = QueueFront();
    if (row < 0)
        return -1;
    queue_.Remove(ids_[size_t(row)]);
    observer_->LabelChanged(row);
    QueueChanged();
    return row;
}

std::vector<int> TMediaEntries::QueuedRows() const
{
    std::vector<int> rows;
    rows.reserve(size_t(queue_.Count()));
    for (const uint32_t id : queue_.Ids())
        rows.push_back(RowOfId(id));
    return rows;
}

void TMediaEntries::SetQueuedRows(const std::vector<int> &rows)
{
    for (const int row : QueuedRows())
        observer_->LabelChanged(row);
    queue_.Clear();
    for (const int row : rows)
        if (row >= 0 && row < Count() && QueuePlace(row) == 0)
            queue_.Toggle(ids_[size_t(row)]);
    QueueChanged();
}

QList<TListEntry> TMediaEntries::Entries() const
{
    QList<TListEntry> entries;
    entries.reserve(Count());
    for (size_t row = 0; row < texts_.Size(); ++row)
        entries.append(TListEntry{texts_.At(row), checked_[row] != 0});
    return entries;
}

QList<QByteArray> TMediaEntries::Texts() const
{
    QList<QByteArray> texts;
    texts.reserve(Count());
    for (size_t row = 0; row < texts_.Size(); ++row)
        texts.append(texts_.At(row));
    return texts;
}

void TMediaEntries::CheckRow(int row) const
{
    if (row < 0 || row >= Count())
        throw EListError(row);
}

TListSnapshot TMediaEntries::Snapshot() const
{
    return TListSnapshot(texts_.Snapshot(), checked_);
}
