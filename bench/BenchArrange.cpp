// Arranging a list of 1,000,000 entries of 80-byte paths through the real window: Sort By
// Path, Remove Duplicates, and Undo of Remove All, each with the longest turn of the event
// loop while it runs, beside its floor in the same run: std::stable_sort of the same texts by
// the same collation keys on one thread, and one pass of a hash set over the folded texts.

#include "LibraryPaths.h"
#include "Medians.h"
#include "TOffscreenBench.h"
#include "controls/TOECheckListBox.h"
#include "medialist/SortKey.h"
#include "medialist/TextFold.h"
#include "window/TFormMediaPlayer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>
#include <unordered_set>

namespace {

constexpr int ListSize = 1000000;
constexpr int Runs = 5;

struct TTimed {
    double Milliseconds = 0;
    double LongestTurn = 0; // but for the turn that swaps the new order in
    double SwapTurn = 0;
};

// Triggers the item and turns the event loop until the list has changed and no order is
// being worked out any more.
TTimed Arranged(TFormMediaPlayer &form, QAction *item)
{
    TTimed timed;
    const uint64_t revision = form.lbFiles->MediaEntries().TextsRevision();
    timed.Milliseconds = Milliseconds([&] {
        timed.LongestTurn = Milliseconds([&] { item->trigger(); });
        while (form.ArrangingList() || form.lbFiles->MediaEntries().TextsRevision() == revision) {
            const uint64_t before = form.lbFiles->MediaEntries().TextsRevision();
            const double turn = Milliseconds([] { QCoreApplication::processEvents(); });
            if (form.lbFiles->MediaEntries().TextsRevision() == before)
                timed.LongestTurn = std::max(timed.LongestTurn, turn);
            else
                timed.SwapTurn = turn;
            QThread::usleep(100); // idle, as the window is while the order is worked out
        }
        form.lbFiles->viewport()->repaint();
    });
    return timed;
}

// What a change leaves for later turns (the view's layout, a scroll) is done before the next
// command is timed.
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

double SortFloor(const TMediaEntries &entries)
{
    return Milliseconds([&] {
        std::vector<std::string> keys(size_t(entries.Count()));
        std::string scratch;
        for (int row = 0; row < entries.Count(); ++row)
            SortKey::Make(entries.TextView(row), keys[size_t(row)], scratch);
        std::vector<int> rows(keys.size());
        std::iota(rows.begin(), rows.end(), 0);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    });
}

double DuplicatesFloor(const TMediaEntries &entries)
{
    return Milliseconds([&] {
        std::unordered_set<std::string> seen;
        seen.reserve(size_t(entries.Count()));
        for (int row = 0; row < entries.Count(); ++row)
            seen.insert(TextFold::Folded(entries.Text(row)).toStdString());
    });
}

} // namespace

int main(int argc, char **argv)
{
    TOffscreenBench bench(argc, argv);
    QDir::setCurrent(bench.Work.path());
    auto form = CreateFormMediaPlayer();
    form->SetAutoSave(false);
    // One entry in ten a second time, in other letter case.
    QList<QByteArray> paths = LibraryPaths(ListSize - ListSize / 10);
    for (int i = 0; i < ListSize / 10; ++i)
        paths << paths[i * 9].toUpper();
    form->AddEntries(paths);
    form->show();
    QCoreApplication::processEvents();
    form->lbFiles->SetItemIndex(ListSize / 2);
    const TMediaEntries &entries = form->lbFiles->MediaEntries();
    qint64 textBytes = 0;
    for (int row = 0; row < entries.Count(); ++row)
        textBytes += entries.TextView(row).size();

    std::vector<double> sortSwaps, dedupSwaps;
    std::vector<double> sorted, sortTurns, sortFloor, deduplicated, dedupTurns, dedupFloor, undoAll,
        historyShare;
    for (int run = 0; run < Runs; ++run) {
        sortFloor.push_back(SortFloor(entries)); // over the list in its own order, as the sort meets it
        const TTimed sort = Arranged(*form, form->miSortByPath);
        sorted.push_back(sort.Milliseconds);
        sortTurns.push_back(sort.LongestTurn);
        sortSwaps.push_back(sort.SwapTurn);
        form->miUndo->trigger();
        Settle();

        const TTimed dedup = Arranged(*form, form->miRemoveDuplicates);
        deduplicated.push_back(dedup.Milliseconds);
        dedupTurns.push_back(dedup.LongestTurn);
        dedupSwaps.push_back(dedup.SwapTurn);
        if (entries.Count() != ListSize - ListSize / 10)
            std::printf("MISMATCH: %d entries after Remove Duplicates\n", entries.Count());
        form->miUndo->trigger();
        Settle();
        dedupFloor.push_back(DuplicatesFloor(entries));

        form->miRemoveAll->trigger();
        historyShare.push_back(double(form->ListHistory().MemoryUsed()) / double(textBytes));
        undoAll.push_back(Milliseconds([&] {
            form->miUndo->trigger();
            form->lbFiles->viewport()->repaint();
        }));
        if (entries.Count() != ListSize)
            std::printf("MISMATCH: %d entries after Undo of Remove All\n", entries.Count());
        Settle();
    }
    std::printf("1,000,000 entries of 80-byte paths (one in ten repeated in other letter case), medians of %d runs:\n",
                Runs);
    std::printf("  Sort By Path to the sorted list painted: %.1f ms; floor (keys and std::stable_sort, one thread): "
                "%.1f ms; ratio %.2f; the turn that swaps it in %.1f ms, the longest other %.1f ms\n",
                Median(sorted), Median(sortFloor), Median(sorted) / Median(sortFloor), Median(sortSwaps),
                Median(sortTurns));
    std::printf("  Remove Duplicates to the list painted: %.1f ms; floor (a hash set of the folded texts): %.1f ms; "
                "ratio %.2f; the turn that swaps it in %.1f ms, the longest other %.1f ms\n",
                Median(deduplicated), Median(dedupFloor), Median(deduplicated) / Median(dedupFloor),
                Median(dedupSwaps), Median(dedupTurns));
    std::printf("  Undo of Remove All to the list painted: %.1f ms\n", Median(undoAll));
    std::printf("  the history after Remove All: %.2f times the list's texts\n", Median(historyShare));
    return 0;
}
