#include "medialist/TFoldedTextIndex.h"

#include <algorithm>

namespace {

size_t BucketsFor(size_t count)
{
    size_t buckets = 64;
    while (buckets < count)
        buckets *= 2;
    return buckets;
}

} // namespace

void TFoldedTextIndex::Clear()
{
    hashes_.clear();
    lasts_.clear();
    next_.clear();
    stale_ = true;
}

void TFoldedTextIndex::Reserve(int count)
{
    hashes_.reserve(size_t(count));
}

void TFoldedTextIndex::Append(uint32_t hash)
{
    hashes_.push_back(hash);
    if (stale_ || hashes_.size() > lasts_.size()) {
        stale_ = true;
        return;
    }
    next_.push_back(-1);
    Link(int(hashes_.size()) - 1);
}

void TFoldedTextIndex::RemoveAt(int slot)
{
    hashes_.erase(hashes_.begin() + slot);
    stale_ = true;
}

void TFoldedTextIndex::ReplaceFrom(int first, const std::vector<uint32_t> &hashes)
{
    hashes_.resize(size_t(first));
    hashes_.insert(hashes_.end(), hashes.begin(), hashes.end());
    stale_ = true;
}

void TFoldedTextIndex::Link(int slot) const
{
    const size_t bucket = hashes_[size_t(slot)] & mask_;
    const int last = lasts_[bucket];
    if (last < 0) {
        next_[size_t(slot)] = slot;
    } else {
        next_[size_t(slot)] = next_[size_t(last)];
        next_[size_t(last)] = slot;
    }
    lasts_[bucket] = slot;
}

void TFoldedTextIndex::RebuildIfStale() const
{
    if (stale_)
        Rebuild(BucketsFor(hashes_.size()));
}

void TFoldedTextIndex::Rebuild(size_t bucketCount) const
{
    mask_ = uint32_t(bucketCount - 1);
    lasts_.assign(bucketCount, -1);
    next_.assign(hashes_.size(), -1);
    for (int slot = 0; slot < int(hashes_.size()); ++slot)
        Link(slot);
    stale_ = false;
}
