#include "medialist/TListHistory.h"

#include "medialist/TMediaEntries.h"
#include "medialist/TTextPool.h"

#include <algorithm>

namespace {

qint64 ListMemory(const TMediaEntries &entries)
{
    qint64 bytes = qint64(entries.Count()) * TEntryRun::BytesPerEntry;
    for (int row = 0; row < entries.Count(); ++row)
        bytes += entries.TextView(row).size();
    return bytes;
}

// By entry number: which of them the list holds from the first row on.
std::vector<char> HeldFrom(const TMediaEntries &entries, int first)
{
    std::vector<char> held(entries.IdLimit(), 0);
    for (int row = first; row < entries.Count(); ++row)
        held[entries.IdAt(row)] = 1;
    return held;
}

bool SameRows(const TEntryRun &rows, const TMediaEntries &entries, int first)
{
    if (rows.Count() != entries.Count() - first)
        return false;
    for (int i = 0; i < rows.Count(); ++i)
        if (rows.Ids[size_t(i)] != entries.IdAt(first + i))
            return false;
    return true;
}

} // namespace

std::vector<char> TListHistory::MarksFrom(const TMediaEntries &entries, int first)
{
    std::vector<char> marks;
    marks.reserve(size_t(entries.Count() - first));
    for (int row = first; row < entries.Count(); ++row)
        marks.push_back(entries.MarkAt(row));
    return marks;
}

TListHistory::TStep TListHistory::Taken(const TMediaEntries &entries, int first)
{
    TStep step;
    step.First = std::clamp(first, 0, entries.Count());
    step.Rows = entries.Run(step.First);
    return step;
}

void TListHistory::SetMemory(TStep &step, const TMediaEntries &entries)
{
    const std::vector<char> held = HeldFrom(entries, 0);
    step.Memory = qint64(step.Rows.Count()) * TEntryRun::BytesPerEntry + qint64(step.MarksThen.size());
    for (int i = 0; i < step.Rows.Count(); ++i)
        if (step.Rows.Ids[size_t(i)] >= held.size() || !held[step.Rows.Ids[size_t(i)]])
            step.Memory += step.Rows.Texts.View(size_t(i)).size();
}

void TListHistory::Changing(const TMediaEntries &entries, int first)
{
    largestList_ = std::max(largestList_, ListMemory(entries));
    pending_ = Taken(entries, first);
}

void TListHistory::Changed(const TMediaEntries &entries)
{
    if (!pending_)
        return;
    TStep step = std::move(*pending_);
    pending_.reset();
    if (step.First > entries.Count() || SameRows(step.Rows, entries, step.First))
        return;
    step.MarksThen = MarksFrom(entries, step.First);
    SetMemory(step, entries);
    undo_.push_back(std::move(step));
    redo_.clear();
    Trim(entries);
}

void TListHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    pending_.reset();
    largestList_ = 0;
}

bool TListHistory::Undo(TMediaEntries &entries, TTextPool &pool)
{
    return Apply(undo_, redo_, entries, pool);
}

bool TListHistory::Redo(TMediaEntries &entries, TTextPool &pool)
{
    return Apply(redo_, undo_, entries, pool);
}

bool TListHistory::Apply(std::deque<TStep> &from, std::deque<TStep> &to, TMediaEntries &entries, TTextPool &pool)
{
    if (from.empty())
        return false;
    TStep step = std::move(from.back());
    from.pop_back();
    TStep back = Taken(entries, step.First);
    // By entry number, how each stood before: absent, unmarked (in the pool) or marked.
    enum : char { Absent, Unmarked, Marked };
    std::vector<char> before(entries.IdLimit(), Absent);
    for (int i = 0; i < back.Rows.Count(); ++i)
        before[back.Rows.Ids[size_t(i)]] = back.Rows.Marks[size_t(i)] ? Marked : Unmarked;
    std::vector<char> staying(entries.IdLimit(), 0);
    for (const uint32_t id : step.Rows.Ids)
        staying[id] = 1;
    for (int i = 0; i < back.Rows.Count(); ++i)
        if (!staying[back.Rows.Ids[size_t(i)]] && !back.Rows.Marks[size_t(i)])
            pool.RemoveFirst(back.Rows.Text(i));
    entries.ReplaceFrom(step.First, step.Rows, &step.MarksThen);
    for (int row = step.First; row < entries.Count(); ++row) {
        const char was = before[entries.IdAt(row)];
        const bool marked = entries.MarkAt(row);
        if (!marked && was != Unmarked)
            pool.Append(entries.Text(row), step.Rows.Hashes[size_t(row - step.First)]);
        else if (marked && was == Unmarked)
            pool.RemoveFirst(entries.Text(row));
    }
    back.MarksThen = MarksFrom(entries, step.First);
    back.Memory = step.Memory;
    to.push_back(std::move(back));
    return true;
}

qint64 TListHistory::MemoryUsed() const
{
    qint64 bytes = 0;
    for (const TStep &step : undo_)
        bytes += step.Memory;
    for (const TStep &step : redo_)
        bytes += step.Memory;
    return bytes;
}

void TListHistory::Trim(const TMediaEntries &entries)
{
    const qint64 budget = std::max(largestList_, ListMemory(entries));
    largestList_ = ListMemory(entries);
    while (undo_.size() > size_t(MaxSteps) || (undo_.size() > 1 && MemoryUsed() > budget))
        undo_.pop_front();
}
