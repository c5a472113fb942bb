#pragma once

#include "medialist/TEntryRun.h"

#include <QtGlobal>
#include <deque>
#include <optional>

class TMediaEntries;
class TTextPool;

// Undo and Redo of the changes of a list's entries and their order. A step keeps the rows a
// change replaced, from the first row it touched on, with their marks as they were; marks set
// since (by playing) are not taken back. The history holds the last MaxSteps changes and, but
// for the latest, no more memory than the list takes.
class TListHistory {
public:
    static constexpr int MaxSteps = 50;

    // Around each change of the entries: Changing before it, from the first row it may touch,
    // Changed after it. A change that left the rows as they were is no step.
    void Changing(const TMediaEntries &entries, int first);
    void Changed(const TMediaEntries &entries);
    void Clear();

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The entries go back to, or forward to, what they were; the pool loses the texts of the
    // entries that go and gains those of unmarked entries that come back. False with no step.
    bool Undo(TMediaEntries &entries, TTextPool &pool);
    bool Redo(TMediaEntries &entries, TTextPool &pool);

    // What the steps keep beyond the list's own: their texts that the list no longer holds, and
    // their rows' marks, hashes and numbers.
    qint64 MemoryUsed() const;

private:
    struct TStep {
        int First = 0;
        TEntryRun Rows; // the rows from First on, as they are to become again
        std::vector<char> MarksThen; // the marks of the rows that replaced them, just after
        qint64 Memory = 0;
    };
    static bool Apply(std::deque<TStep> &from, std::deque<TStep> &to, TMediaEntries &entries, TTextPool &pool);
    static TStep Taken(const TMediaEntries &entries, int first);
    static void SetMemory(TStep &step, const TMediaEntries &entries);
    static std::vector<char> MarksFrom(const TMediaEntries &entries, int first);
    void Trim(const TMediaEntries &entries);

    std::deque<TStep> undo_;
    std::deque<TStep> redo_;
    std::optional<TStep> pending_;
    qint64 largestList_ = 0;
};
