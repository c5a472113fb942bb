#pragma once

#include <cstdint>
#include <vector>

// The entries to be played next, in the order they were queued, known by their numbers in the
// list (TMediaEntries::IdAt), so that each stays queued wherever it moves. Queues are short:
// a look runs through it.
class TPlayQueue {
public:
    bool Empty() const { return ids_.empty(); }
    int Count() const { return int(ids_.size()); }
    const std::vector<uint32_t> &Ids() const { return ids_; }
    // From 1 at the front; 0 when not queued.
    int PlaceOf(uint32_t id) const;
    // Queued at the end, or taken out when queued already; true when it is queued now.
    bool Toggle(uint32_t id);
    void Remove(uint32_t id);
    // Only the entries the predicate holds for stay.
    template <typename Holds> void Keep(Holds holds)
    {
        std::erase_if(ids_, [&](uint32_t id) { return !holds(id); });
    }
    void Clear() { ids_.clear(); }

private:
    std::vector<uint32_t> ids_;
};
