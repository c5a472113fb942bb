#pragma once

#include "medialist/TTextPool.h"

#include <cstdint>

class TListCursor;
class TMediaEntries;
class TRandomGenerator;

enum TOEListOrder : uint8_t { loNoOrder = 0, loInOrder = 1, loPostOrder = 2, loRandom = 3 };

// The list control's own steps through its entries, apart from the player's moves: forward
// and back never wrap, and a random step draws from a draw pool of its own, which refills
// with every entry once empty and leaves the marks of a cycle as they are. The order says
// which step to take by order. Every error is dropped.
class TListStepper {
public:
    TListStepper(TMediaEntries &entries, TListCursor &cursor) : entries_(entries), cursor_(cursor) { }

    TOEListOrder Order() const { return TOEListOrder(order_); }
    void SetOrder(TOEListOrder order) { order_ = order; }

    enum class TStep { None, Forward, Back, Random };
    // The step of the order; any value outside the four steps forward.
    TStep StepByOrder() const;

    void StepForward();
    void StepBack();
    void StepRandom(TRandomGenerator &random);

    const TTextPool &DrawPool() const { return drawPool_; }
    void ClearDrawPool() { drawPool_.Clear(); }

private:
    TMediaEntries &entries_;
    TListCursor &cursor_;
    TTextPool drawPool_;
    uint8_t order_ = loNoOrder;
};
