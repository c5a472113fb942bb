#include "medialist/TMediaNavigator.h"

#include "medialist/TListCursor.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TRandomGenerator.h"
#include "medialist/TTextPool.h"

QByteArray TMediaNavigator::NextEntry()
{
    const int count = entries_.Count();
    if (count == 0)
        return {};
    if (const int queued = entries_.TakeQueueFront(); queued >= 0) {
        cursor_.SetItemIndex(queued);
        return entries_.Text(queued);
    }
    const int current = cursor_.ItemIndex();
    cursor_.SetItemIndex(current < count - 1 ? current + 1 : 0);
    return entries_.Text(cursor_.ItemIndex());
}

QByteArray TMediaNavigator::PreviousEntry()
{
    const int count = entries_.Count();
    if (count == 0)
        return {};
    const int current = cursor_.ItemIndex();
    cursor_.SetItemIndex(current > 0 ? current - 1 : count - 1);
    return entries_.Text(cursor_.ItemIndex());
}

QByteArray TMediaNavigator::RandomEntry(TTextPool &pool, TRandomGenerator &random)
{
    QByteArray result;
    try {
        if (const int queued = entries_.TakeQueueFront(); queued >= 0) {
            // Played from the queue, it counts as drawn in this cycle.
            cursor_.SetItemIndex(queued);
            result = entries_.Text(queued);
            if (!entries_.Checked(queued))
                pool.RemoveFirst(result);
            entries_.SetChecked(queued, true);
            return result;
        }
        if (pool.IsEmpty()) {
            pool.Clear();
            entries_.AppendToPool(pool);
            entries_.SetAllChecked(false);
        }
        const QByteArray text = pool.At(int(random.Draw(uint32_t(pool.Count()))));
        const int row = entries_.IndexOf(text);
        cursor_.SetItemIndex(row);
        entries_.SetChecked(row, true);
        result = entries_.Text(row);
        pool.RemoveFirst(text);
    } catch (...) {
        // A draw reports nothing.
    }
    return result;
}

QByteArray TMediaNavigator::PeekEntry(TMove move, const TTextPool &pool, TRandomGenerator random) const
{
    const int count = entries_.Count();
    if (count == 0)
        return {};
    if ((move == TMove::Next || move == TMove::Random) && entries_.QueueFront() >= 0)
        return entries_.Text(entries_.QueueFront());
    if (move == TMove::Next) {
        const int current = cursor_.ItemIndex();
        return entries_.Text(current < count - 1 ? current + 1 : 0);
    }
    if (move != TMove::Random)
        return {};
    // A drained pool would be refilled with every entry in list order.
    const QByteArray text = pool.IsEmpty() ? entries_.Text(int(random.Draw(uint32_t(count))))
                                           : pool.At(int(random.Draw(uint32_t(pool.Count()))));
    const int row = entries_.IndexOf(text);
    return row < 0 ? QByteArray() : entries_.Text(row);
}

TMediaNavigator::TMove TMediaNavigator::NextMove(bool inOrder, bool random)
{
    if (inOrder)
        return TMove::Next;
    return random ? TMove::Random : TMove::None;
}

TMediaNavigator::TMove TMediaNavigator::PreviousMove(uint8_t playOrder)
{
    return playOrder == 0 ? TMove::Previous : TMove::None;
}

void TMediaNavigator::StepForward()
{
    const int current = cursor_.ItemIndex();
    if (entries_.Count() > 0 && current < entries_.Count() - 1)
        cursor_.SetItemIndex(current + 1);
}

void TMediaNavigator::StepBack()
{
    const int current = cursor_.ItemIndex();
    if (entries_.Count() > 0 && current > 0)
        cursor_.SetItemIndex(current - 1);
}

void TMediaNavigator::StepRandom(TTextPool &drawPool, TRandomGenerator &random)
{
    try {
        if (drawPool.IsEmpty())
            entries_.AppendToPool(drawPool);
        const int drawn = int(random.Draw(uint32_t(drawPool.Count())));
        const QByteArray text = drawPool.At(drawn);
        drawPool.RemoveAt(drawn);
        const int row = entries_.IndexOf(text);
        cursor_.SetItemIndex(row);
        entries_.SetChecked(row, true);
    } catch (...) {
        // Stepping reports nothing, by design.
    }
}
