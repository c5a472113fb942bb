#pragma once

#include "medialist/TEntryRun.h"

#include <QByteArray>
#include <atomic>
#include <vector>

// New orders of a list's entries, worked out from a run of them (on any thread): the rows of
// the run to keep, in their new order.
namespace ListArrangement {

enum class TSortBy { FileName, Path };

// Sorted by the key as a person reads (see SortKey), ties in the order they stood.
std::vector<int> Sorted(const TEntryRun &run, TSortBy by);
std::vector<int> Reversed(int count);

// The run's rows in their new order, with their marks, or none for the marks they have.
struct TKept {
    std::vector<int> Rows;
    std::vector<char> Marks;
};

// Without the later entries equal to an earlier one ignoring letter case; the one kept is
// marked when any of its equals was.
TKept WithoutDuplicates(const TEntryRun &run);

// The entries that name a regular file, relative names taken as inside the folder. Ends early,
// with what it found so far, once told to stop.
std::vector<int> NamingFiles(const TEntryRun &run, const QByteArray &folder, const std::atomic<bool> &stop);

} // namespace ListArrangement
