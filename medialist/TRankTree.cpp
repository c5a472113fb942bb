#include "medialist/TRankTree.h"

#include <cstddef>

namespace {

int LowBit(int i)
{
    return i & -i;
}

} // namespace

void TRankTree::AppendLive()
{
    const int position = int(tree_.size()) + 1;
    // Node `position` covers (position - lowbit, position]; all but the new element exist already.
    tree_.push_back(1 + PrefixSum(position - 1) - PrefixSum(position - LowBit(position)));
}

void TRankTree::Kill(int slot)
{
    for (int i = slot + 1; i <= int(tree_.size()); i += LowBit(i))
        --tree_[size_t(i - 1)];
}

int TRankTree::LiveBefore(int slot) const
{
    return PrefixSum(slot);
}

int TRankTree::PrefixSum(int count) const
{
    int sum = 0;
    for (int i = count; i > 0; i -= LowBit(i))
        sum += tree_[size_t(i - 1)];
    return sum;
}

int TRankTree::SlotOfRank(int rank) const
{
    const int size = int(tree_.size());
    int step = 1;
    while (step * 2 <= size)
        step *= 2;
    int position = 0;
    int remaining = rank;
    for (; step > 0; step /= 2) {
        const int next = position + step;
        if (next <= size && tree_[size_t(next - 1)] <= remaining) {
            position = next;
            remaining -= tree_[size_t(next - 1)];
        }
    }
    return position; // the slot after the last one whose prefix holds `rank` live elements
}
