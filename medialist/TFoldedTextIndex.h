#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Finds the first of a sequence of texts that matches a given one, by the hash of its
// folded form, in about constant time. The owner keeps the texts; the index keeps their
// hashes in the same order and asks the owner to confirm each candidate.
class TFoldedTextIndex {
public:
    void Clear();
    void Reserve(int count);
    void Append(uint32_t hash);
    // Removing shifts the later slots down; the chains are rebuilt on the next lookup.
    void RemoveAt(int slot);
    // The slots from the first on take the hashes; the chains are rebuilt on the next lookup.
    void ReplaceFrom(int first, const std::vector<uint32_t> &hashes);
    int Count() const { return int(hashes_.size()); }
    uint32_t HashAt(int slot) const { return hashes_[size_t(slot)]; }

    // The lowest slot with the given hash for which matches(slot) holds, or -1.
    template <typename Predicate>
    int FindFirst(uint32_t hash, Predicate matches) const
    {
        if (hashes_.empty())
            return -1;
        RebuildIfStale();
        const int last = lasts_[hash & mask_];
        if (last < 0)
            return -1;
        for (int slot = next_[size_t(last)];; slot = next_[size_t(slot)]) {
            if (hashes_[size_t(slot)] == hash && matches(slot))
                return slot;
            if (slot == last)
                return -1;
        }
    }

private:
    void Link(int slot) const;
    void RebuildIfStale() const;
    void Rebuild(size_t bucketCount) const;

    std::vector<uint32_t> hashes_;
    // Each bucket's chain is a ring in ascending slot order, known by its last slot: the
    // first match found is the lowest slot, and an appended slot joins in constant time.
    mutable std::vector<int> lasts_;
    mutable std::vector<int> next_;
    mutable uint32_t mask_ = 0;
    mutable bool stale_ = true;
};
