#pragma once

#include "medialist/TFindQuery.h"

#include <chrono>
#include <string>
#include <vector>

class TMediaEntries;

// Which entries of a list the find bar shows: all of them, or the rows that match its query, in
// list order. The matches are found in slices of bounded time, so that the window stays
// responsive on a long list; until a new query's scan is done, the last matches stay shown.
// The owner tells it of every change of the list, and learns from each slice what changed in
// the rows shown.
class TListFilter {
public:
    explicit TListFilter(const TMediaEntries &entries) : entries_(entries) { }

    // An empty query shows every entry at once and lets the matches go; any other starts a scan,
    // over the shown matches only when it narrows the query they were found for.
    void SetQuery(TFindQuery query);
    // Every entry is shown: there is no query, or every entry matches it (the view then keeps
    // its rows as they are).
    bool ShowsAll() const { return showsAll_; }
    // The rows shown while not every entry is.
    const std::vector<int> &Shown() const { return shown_; }
    // The row shown at a position, and back: -1 for an entry not shown.
    int RowAt(int position) const;
    int PositionOf(int row) const;
    // The position at which the row is or would be shown.
    int InsertionPosition(int row) const;

    bool Scanning() const { return scanning_; }
    // What a slice changed in the rows shown.
    enum class TChange { None, Replaced, Appended };
    // Scans on for about the given time. Replaced: the shown rows are to be replaced by the
    // scan's matches, by TakeMatches; Appended: the matches of rows added since are to follow
    // the shown ones, by TakeMatches too.
    TChange Scan(std::chrono::nanoseconds budget);
    // The scan's matches become the rows shown; call between the view's begin and end of the
    // change. PendingMatches tells how many rows are appended.
    void TakeMatches();
    int PendingMatches() const { return int(found_.size()); }

    // Tell after each change of the list: rows from the first one on were appended; the row
    // was removed; the list was emptied.
    void Appended(int first);
    void Removed(int row);
    void Cleared();
    // The rows were replaced by others: the matches are found again among all of them.
    void Replaced();

private:
    // Removes the row from the ascending rows and moves the later ones down; its position or -1.
    static int RemoveRow(std::vector<int> &rows, int row);
    bool ScanStep();
    // What the end of a scan for a new query changes.
    TChange Finished();
    void StartScan(int firstRow, bool replacing);

    const TMediaEntries &entries_;
    TFindQuery query_; // what is typed
    TFindQuery shownQuery_; // what the shown rows were found for
    bool showsAll_ = true;
    std::vector<int> shown_;
    bool scanning_ = false;
    bool replacing_ = false; // or only finding the matches of rows appended
    bool candidatesLeft_ = false; // a narrowing scan still going through the shown rows
    size_t candidate_ = 0; // its next position in them
    int nextRow_ = 0; // then every row from this one on
    int tailFirst_ = 0; // the first row of those appended that a scan looks at
    std::vector<int> found_;
    std::string scratch_;
};
