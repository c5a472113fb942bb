#pragma once

#include "medialist/TTextStore.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

// Entries of a media list kept apart from it, to be put back later (an undo step, a sorted
// order): each with its text, its mark, the hash of its folded text and the number that
// tells the entry apart from every other of the list, whatever its text. The texts' bytes
// stay where they lie, shared with the list.
struct TEntryRun {
    TTextStore::TSnapshot Texts;
    std::vector<char> Marks;
    std::vector<uint32_t> Hashes;
    std::vector<uint32_t> Ids;

    int Count() const { return int(Ids.size()); }
    QByteArray Text(int position) const { return Texts.At(size_t(position)); }
    // What the run keeps beyond its texts' bytes, per entry.
    static constexpr qint64 BytesPerEntry = 12 + 1 + 4 + 4;
};
