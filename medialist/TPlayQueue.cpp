#include "medialist/TPlayQueue.h"

#include <algorithm>

int TPlayQueue::PlaceOf(uint32_t id) const
{
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    return found == ids_.end() ? 0 : int(found - ids_.begin()) + 1;
}

bool TPlayQueue::Toggle(uint32_t id)
{
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    if (found != ids_.end()) {
        ids_.erase(found);
        return false;
    }
    ids_.push_back(id);
    return true;
}

void TPlayQueue::Remove(uint32_t id)
{
    std::erase(ids_, id);
}
