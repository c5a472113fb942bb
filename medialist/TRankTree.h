#pragma once

#include <cstddef>
#include <vector>

// Counts the live slots of an append-only sequence whose slots can die, so that the
// k-th live slot and the rank of a slot are found in logarithmic time.
class TRankTree {
public:
    void Clear() { tree_.clear(); }
    void Reserve(std::size_t more) { tree_.reserve(tree_.size() + more); }
    void AppendLive();
    void Kill(int slot);
    int LiveBefore(int slot) const;
    // The slot of the live element with the given rank (0-based); rank must be below the live count.
    int SlotOfRank(int rank) const;

private:
    int PrefixSum(int count) const;

    std::vector<int> tree_; // Fenwick tree, 1-based positions stored from index 0
};
