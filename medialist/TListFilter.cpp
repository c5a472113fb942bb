#include "medialist/TListFilter.h"

#include "medialist/TMediaEntries.h"

#include <algorithm>
#include <numeric>

namespace {

// Reading the clock costs more than matching a text: it is read once a run of this many.
constexpr int RowsBetweenClockReadings = 512;
// The matches of a query lie scattered through the texts, beyond what the processor foresees:
// the text this many candidates ahead is fetched while the current one is compared.
constexpr size_t CandidatesAhead = 8;

void Release(std::vector<int> &rows)
{
    std::vector<int>().swap(rows);
}

} // namespace

void TListFilter::SetQuery(TFindQuery query)
{
    scanning_ = false;
    Release(found_);
    if (query.Empty()) {
        query_ = TFindQuery();
        shownQuery_ = TFindQuery();
        showsAll_ = true;
        Release(shown_);
        return;
    }
    const bool narrows = !showsAll_ && query.Narrows(shownQuery_);
    query_ = std::move(query);
    StartScan(narrows ? entries_.Count() : 0, true);
    found_.reserve(size_t(entries_.Count() / 4));
    candidatesLeft_ = narrows;
    candidate_ = 0;
}

void TListFilter::StartScan(int firstRow, bool replacing)
{
    scanning_ = true;
    replacing_ = replacing;
    candidatesLeft_ = false;
    nextRow_ = firstRow;
    tailFirst_ = firstRow;
}

int TListFilter::RowAt(int position) const
{
    if (showsAll_)
        return position;
    return position >= 0 && size_t(position) < shown_.size() ? shown_[size_t(position)] : -1;
}

int TListFilter::PositionOf(int row) const
{
    if (showsAll_)
        return row;
    const auto found = std::lower_bound(shown_.begin(), shown_.end(), row);
    return found != shown_.end() && *found == row ? int(found - shown_.begin()) : -1;
}

int TListFilter::InsertionPosition(int row) const
{
    if (showsAll_)
        return row;
    return int(std::lower_bound(shown_.begin(), shown_.end(), row) - shown_.begin());
}

bool TListFilter::ScanStep()
{
    int row;
    if (candidatesLeft_) {
        if (candidate_ >= shown_.size()) {
            candidatesLeft_ = false;
            return true;
        }
        if (candidate_ + CandidatesAhead < shown_.size())
            __builtin_prefetch(entries_.TextView(shown_[candidate_ + CandidatesAhead]).data());
        row = shown_[candidate_++];
    } else {
        if (nextRow_ >= entries_.Count())
            return false;
        row = nextRow_++;
    }
    if (query_.Matches(entries_.TextView(row), scratch_))
        found_.push_back(row);
    return true;
}

TListFilter::TChange TListFilter::Scan(std::chrono::nanoseconds budget)
{
    if (!scanning_)
        return TChange::None;
    const auto end = std::chrono::steady_clock::now() + budget;
    bool more = true;
    while (more) {
        for (int i = 0; i < RowsBetweenClockReadings && (more = ScanStep()); ++i) { }
        if (std::chrono::steady_clock::now() >= end)
            break;
    }
    scanning_ = more;
    if (replacing_)
        return scanning_ ? TChange::None : Finished();
    if (showsAll_ && found_.size() == size_t(nextRow_ - tailFirst_)) {
        // Every entry still matches: the rows shown stay all of them.
        found_.clear();
        tailFirst_ = nextRow_;
        return TChange::None;
    }
    if (showsAll_)
        return TChange::Replaced;
    return found_.empty() ? TChange::None : TChange::Appended;
}

TListFilter::TChange TListFilter::Finished()
{
    // The view is spared a new layout of every row when the matches are those it shows.
    const bool same = showsAll_ ? found_.size() == size_t(entries_.Count()) : found_ == shown_;
    if (!same)
        return TChange::Replaced;
    Release(found_);
    shownQuery_ = query_;
    return TChange::None;
}

void TListFilter::TakeMatches()
{
    if (replacing_) {
        shown_.swap(found_);
        Release(found_);
        shownQuery_ = query_;
    } else if (showsAll_) {
        // Some new entry does not match what every other one matched.
        std::vector<int> shown(size_t(tailFirst_), 0);
        std::iota(shown.begin(), shown.end(), 0);
        shown.insert(shown.end(), found_.begin(), found_.end());
        shown_.swap(shown);
        found_.clear();
        tailFirst_ = nextRow_;
    } else {
        shown_.insert(shown_.end(), found_.begin(), found_.end());
        found_.clear();
    }
    showsAll_ = false;
}

void TListFilter::Appended(int first)
{
    // A running scan reaches the new rows itself: every scan ends with the rows to the last.
    if (!scanning_ && !shownQuery_.Empty())
        StartScan(first, false);
}

int TListFilter::RemoveRow(std::vector<int> &rows, int row)
{
    const auto at = std::lower_bound(rows.begin(), rows.end(), row);
    const bool held = at != rows.end() && *at == row;
    const int position = int(at - rows.begin());
    for (auto later = held ? rows.erase(at) : at; later != rows.end(); ++later)
        --*later;
    return held ? position : -1;
}

void TListFilter::Removed(int row)
{
    const int position = RemoveRow(shown_, row);
    if (candidatesLeft_ && position >= 0 && size_t(position) < candidate_)
        --candidate_;
    RemoveRow(found_, row);
    if (row < nextRow_)
        --nextRow_;
    if (row < tailFirst_)
        --tailFirst_;
}

void TListFilter::Cleared()
{
    shown_.clear();
    found_.clear();
    candidate_ = 0;
    candidatesLeft_ = false;
    nextRow_ = 0;
    tailFirst_ = 0;
}

void TListFilter::Replaced()
{
    if (query_.Empty())
        return;
    Cleared();
    Release(found_);
    StartScan(0, true);
}
