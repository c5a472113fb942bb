// Edit's commands that arrange the list (sort, reverse, tidy, move) and Undo and Redo of every
// change of its entries or their order. Orders of a long list are worked out beside the window.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "medialist/ByteText.h"
#include "window/TListTask.h"

#include <QAction>
#include <QScopeGuard>
#include <algorithm>
#include <memory>
#include <numeric>

namespace {

using ListArrangement::TKept;

// Entries carry no tags the list knows of yet: each is one without them, which sorts by its
// file name.
ListArrangement::TSortBy KeyOf(const QObject *item, const TFormMediaPlayer &form)
{
    return item == form.miSortByPath ? ListArrangement::TSortBy::Path : ListArrangement::TSortBy::FileName;
}

} // namespace

void TFormMediaPlayer::BeginListChange(int first)
{
    if (FListChangeDepth++ == 0)
        FHistory.Changing(lbFiles->MediaEntries(), first);
}

void TFormMediaPlayer::EndListChange()
{
    if (--FListChangeDepth == 0)
        FHistory.Changed(lbFiles->MediaEntries());
}

bool TFormMediaPlayer::ArrangingList() const
{
    return FListTask->Running();
}

void TFormMediaPlayer::ArrangeList(const std::function<TKept(const TEntryRun &run, const std::atomic<bool> &stop)> &work)
{
    const TMediaEntries &entries = lbFiles->MediaEntries();
    const uint64_t revision = entries.TextsRevision();
    auto run = std::make_shared<const TEntryRun>(entries.Run(0));
    FListTask->Start([this, work, run, revision](const std::atomic<bool> &stop) -> TListTask::TFinish {
        auto result = std::make_shared<const TKept>(work(*run, stop));
        if (stop)
            return nullptr;
        return [this, work, run, result, revision] {
            RunGuarded([&] { ApplyArrangement(revision, *run, *result, [this, work] { ArrangeList(work); }); });
        };
    });
}

void TFormMediaPlayer::ApplyArrangement(uint64_t textsRevision, const TEntryRun &run, const TKept &result,
                                        const std::function<void()> &again)
{
    TMediaEntries &entries = lbFiles->MediaEntries();
    if (entries.TextsRevision() != textsRevision) {
        again(); // the list changed while the order was worked out: the order is of another list
        return;
    }
    std::vector<char> kept(size_t(run.Count()), 0);
    for (const int row : result.Rows)
        kept[size_t(row)] = 1;
    for (int row = 0; row < run.Count(); ++row)
        if (!kept[size_t(row)])
            RandomPool().RemoveFirst(run.Text(row));
    // Picked from the list as it is now, so that what played since keeps its mark.
    TEntryRun arranged = entries.Picked(result.Rows);
    for (size_t i = 0; i < result.Marks.size(); ++i)
        arranged.Marks[i] = char(arranged.Marks[i] | result.Marks[i]);

    const int current = lbFiles->ItemIndex();
    const bool hadCurrent = current >= 0 && current < entries.Count();
    const uint32_t currentId = hadCurrent ? entries.IdAt(current) : 0;
    const QByteArray currentText = hadCurrent ? entries.Text(current) : QByteArray();
    BeginListChange(0);
    const auto changed = qScopeGuard([this] { EndListChange(); });
    entries.ReplaceFrom(0, arranged);
    if (!hadCurrent) {
        lbFiles->SetItemIndex(-1);
        return;
    }
    int row = entries.RowOfId(currentId);
    if (row < 0)
        row = entries.IndexOf(currentText); // a duplicate that went leaves its equal current
    if (row < 0)
        row = std::min(current, entries.Count() - 1);
    lbFiles->SetItemIndex(row);
    lbFiles->ScrollToCurrentSoon();
}

void TFormMediaPlayer::miSortByClick(QObject *sender)
{
    const ListArrangement::TSortBy by = KeyOf(sender, *this);
    ArrangeList([by](const TEntryRun &run, const std::atomic<bool> &) { return TKept{ListArrangement::Sorted(run, by), {}}; });
}

void TFormMediaPlayer::miReverseOrderClick(QObject *)
{
    ArrangeList([](const TEntryRun &run, const std::atomic<bool> &) {
        return TKept{ListArrangement::Reversed(run.Count()), {}};
    });
}

void TFormMediaPlayer::miRemoveDuplicatesClick(QObject *)
{
    ArrangeList([](const TEntryRun &run, const std::atomic<bool> &) { return ListArrangement::WithoutDuplicates(run); });
}

void TFormMediaPlayer::miRemoveMissingFilesClick(QObject *)
{
    const QByteArray folder = TextBytes(WorkingFolder());
    ArrangeList([folder](const TEntryRun &run, const std::atomic<bool> &stop) {
        return TKept{ListArrangement::NamingFiles(run, folder, stop), {}};
    });
}

void TFormMediaPlayer::MoveEntry(int entry, int before)
{
    TMediaEntries &entries = lbFiles->MediaEntries();
    const int to = before > entry ? before - 1 : before;
    if (entry < 0 || entry >= entries.Count() || to < 0 || to >= entries.Count() || to == entry)
        return;
    const int first = std::min(entry, to);
    std::vector<int> rows(size_t(entries.Count() - first));
    std::iota(rows.begin(), rows.end(), first);
    const auto from = rows.begin() + (entry - first);
    const auto target = rows.begin() + (to - first);
    if (to < entry)
        std::rotate(target, from, from + 1);
    else
        std::rotate(from, from + 1, target + 1);
    const int current = lbFiles->ItemIndex();
    const uint32_t currentId = current >= 0 ? entries.IdAt(current) : 0;
    BeginListChange(first);
    const auto changed = qScopeGuard([this] { EndListChange(); });
    entries.ReplaceFrom(first, entries.Picked(rows));
    lbFiles->SetItemIndex(current >= 0 ? entries.RowOfId(currentId) : -1);
    lbFiles->ScrollToCurrentSoon();
}

void TFormMediaPlayer::MoveSelected(int by)
{
    const int row = lbFiles->ItemIndex();
    if (row >= 0)
        MoveEntry(row, by < 0 ? row + by : row + by + 1);
}

void TFormMediaPlayer::miMoveUpClick(QObject *)
{
    MoveSelected(-1);
}

void TFormMediaPlayer::miMoveDownClick(QObject *)
{
    MoveSelected(1);
}

void TFormMediaPlayer::StepHistory(bool (TListHistory::*step)(TMediaEntries &, TTextPool &))
{
    TMediaEntries &entries = lbFiles->MediaEntries();
    const int current = lbFiles->ItemIndex();
    const bool hadCurrent = current >= 0 && current < entries.Count();
    const uint32_t currentId = hadCurrent ? entries.IdAt(current) : 0;
    if (!(FHistory.*step)(entries, RandomPool()))
        return;
    const int row = hadCurrent ? entries.RowOfId(currentId) : -1;
    lbFiles->SetItemIndex(row >= 0 ? row : std::min(current, entries.Count() - 1));
    lbFiles->ScrollToCurrentSoon();
}

void TFormMediaPlayer::miUndoClick(QObject *)
{
    StepHistory(&TListHistory::Undo);
}

void TFormMediaPlayer::miRedoClick(QObject *)
{
    StepHistory(&TListHistory::Redo);
}
