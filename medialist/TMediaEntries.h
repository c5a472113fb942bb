#pragma once

#include "medialist/ListFormats.h"
#include "medialist/TEntryRun.h"
#include "medialist/TFoldedTextIndex.h"
#include "medialist/TPlayQueue.h"
#include "medialist/TListSnapshot.h"
#include "medialist/TTextStore.h"

#include <QByteArray>
#include <QList>
#include <vector>

class TTextPool;

// The entries of a media list: texts kept as the bytes they were given, each with its played
// mark, and a case-ignoring lookup. A view follows every change through its observer.
class TMediaEntries {
public:
    // Told before and after each change, in the order a list model must report them.
    class TObserver {
    public:
        virtual ~TObserver() = default;
        virtual void RowsAboutToBeInserted(int first, int last) = 0;
        virtual void RowsInserted() = 0;
        virtual void RowAboutToBeRemoved(int row) = 0;
        virtual void RowRemoved() = 0;
        virtual void AboutToBeCleared() = 0;
        virtual void Cleared() = 0;
        virtual void MarksChanged(int first, int last) = 0;
        // The rows from the first on are about to be replaced, and have been.
        virtual void AboutToBeReplaced(int first) = 0;
        virtual void Replaced() = 0;
        // What the row shows besides its text (its place in the queue) changed.
        virtual void LabelChanged(int row) = 0;
    };

    TMediaEntries();
    TMediaEntries(const TMediaEntries &) = delete;
    TMediaEntries &operator=(const TMediaEntries &) = delete;
    // No observer (nullptr) is told nothing.
    void SetObserver(TObserver *observer);

    int Count() const { return int(texts_.Size()); }
    // Text, Checked and SetChecked raise EListError outside the list.
    QByteArray Text(int row) const;
    // The text's bytes where they lie, valid until the list changes, and the mark: for a row
    // below Count, unchecked, for writing a long list quickly.
    QByteArrayView TextView(int row) const { return texts_.View(size_t(row)); }
    bool MarkAt(int row) const { return checked_[size_t(row)] != 0; }
    bool Checked(int row) const;
    void SetChecked(int row, bool checked);
    // The observer hears of the rows from the first to the last mark that changed, once.
    void SetAllChecked(bool checked);
    // Appending returns the new row; the batch forms insert all rows in one step.
    int Append(const QByteArray &text);
    void Append(const QList<QByteArray> &texts);
    void AppendEntries(const QList<TListEntry> &entries);
    // Raises EListError outside the list.
    void RemoveAt(int row);
    void Clear();
    // The first row whose text equals the given one ignoring letter case, or -1.
    int IndexOf(const QByteArray &text) const;

    // Appends the texts of the rows from the first one on to the pool, or only those that are
    // not marked, without hashing them again.
    void AppendToPool(TTextPool &pool, int first = 0, bool unmarkedOnly = false) const;

    // The number that tells the entry apart from every other of the list: it stays with the
    // entry wherever it moves, and no other entry takes it while the list lives. No range check.
    uint32_t IdAt(int row) const { return ids_[size_t(row)]; }
    // Every number given so far is below this one.
    uint32_t IdLimit() const { return nextId_; }
    // The entry's row, or -1 when it is not in the list.
    int RowOfId(uint32_t id) const;
    // The entries from the first row on, and those of the given rows in that order, as they are.
    TEntryRun Run(int first) const;
    TEntryRun Picked(const std::vector<int> &rows) const;
    // The rows from the first on become the run's entries. With the marks those rows had when
    // the run was taken away, an entry whose mark has changed since keeps it as it is now:
    // playing marks it, and that is not taken back.
    void ReplaceFrom(int first, const TEntryRun &run, const std::vector<char> *marksThen = nullptr);

    // The play queue: entries to be played next, in the order queued. Removing an entry takes
    // it out; Clear empties the queue, and a replacement keeps those that stay in the list.
    const TPlayQueue &Queue() const { return queue_; }
    // From 1 at the queue's front; 0 when the row is not queued. No range check.
    int QueuePlace(int row) const { return queue_.Empty() ? 0 : queue_.PlaceOf(ids_[size_t(row)]); }
    // Raises EListError outside the list.
    void ToggleQueued(int row);
    // The row at the queue's front, or -1; Take also takes it out of the queue.
    int QueueFront() const;
    int TakeQueueFront();
    std::vector<int> QueuedRows() const;
    // Rows outside the list and repeats are left out.
    void SetQueuedRows(const std::vector<int> &rows);

    QList<TListEntry> Entries() const;
    QList<QByteArray> Texts() const;
    // The entries as they are now, to be written while the list goes on changing.
    TListSnapshot Snapshot() const;
    // Goes up with every change of a text, a mark or the number of entries.
    uint64_t Revision() const { return revision_; }
    // Goes up with every change of the texts or their order, but not with a mark.
    uint64_t TextsRevision() const { return textsRevision_; }

private:
    void CheckRow(int row) const;
    void AppendUnobserved(const QByteArray &text, bool checked);
    // Tells of every queued row, whose place may have moved.
    void QueueChanged();
    template <typename Items, typename Add> void AppendBatch(const Items &items, Add add);

    TTextStore texts_;
    std::vector<char> checked_;
    std::vector<uint32_t> ids_;
    uint32_t nextId_ = 0;
    TPlayQueue queue_;
    TFoldedTextIndex index_;
    TObserver *observer_;
    uint64_t revision_ = 0;
    uint64_t textsRevision_ = 0;
};
