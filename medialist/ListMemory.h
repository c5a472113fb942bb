#pragma once

#include <QByteArray>
#include <QtGlobal>

// Whether the machine has room for a list file: one that would take more than half of the
// memory still available is refused with EInOutError "Not enough memory", rather than
// loaded into swap until the machine comes to a halt.
namespace ListMemory {

// An entry's share of the list, the random pool, their lookups and the load, beyond its text.
constexpr qint64 PerEntry = 160;

// The bytes a list file of that size and that many entries takes to load and to keep.
qint64 Needed(qint64 fileBytes, qint64 entries);
bool Fits(qint64 needed, qint64 available);
// The memory the system still has for new work; the largest value when it cannot be read.
qint64 Available();

// Follows the entries of a file being read into a list, against the memory free at its first
// look, so that no separate pass over the file is needed to count them. A short list never
// looks at all.
class TLoadBudget {
public:
    explicit TLoadBudget(qint64 fileBytes) : fileBytes_(fileBytes) {}
    // Raises EInOutError "Not enough memory" once that many entries would not fit; looks only
    // at every so many entries, which costs nothing in between.
    void Check(qsizetype entries) const
    {
        if ((entries & 0xFFFF) == 0)
            CheckNow(entries);
    }

private:
    void CheckNow(qsizetype entries) const;

    qint64 fileBytes_;
    mutable qint64 available_ = -1;
};

} // namespace ListMemory
