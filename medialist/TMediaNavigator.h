#pragma once

#include <QByteArray>
#include <cstdint>

class TListCursor;
class TMediaEntries;
class TRandomGenerator;
class TTextPool;

// The ways through a media list. The player's moves wrap around and draw from the random
// pool, one draw per entry in each cycle; the list control's steps never wrap and draw from
// its own pool without touching marks.
class TMediaNavigator {
public:
    TMediaNavigator(TMediaEntries &entries, TListCursor &cursor) : entries_(entries), cursor_(cursor) { }

    // Which move the player makes for Next and for Previous.
    enum class TMove { Next, Previous, Random, None };

    // Each selects the entry it moves to and returns its text; empty for an empty list.
    QByteArray NextEntry();
    QByteArray PreviousEntry();
    // A drained pool is refilled with every entry and all marks are cleared: a new cycle.
    // The drawn entry is marked. Errors are dropped; the result is what was found before.
    QByteArray RandomEntry(TTextPool &pool, TRandomGenerator &random);

    // The text a Next or Random move would select now, without selecting, drawing or marking
    // anything: what the move returns when nothing changes before it is made. The generator
    // is a copy, so that its own state stays as it is.
    QByteArray PeekEntry(TMove move, const TTextPool &pool, TRandomGenerator random) const;

    static TMove NextMove(bool inOrder, bool random);
    static TMove PreviousMove(uint8_t playOrder);

    // The list control's steps; every error is dropped.
    void StepForward();
    void StepBack();
    void StepRandom(TTextPool &drawPool, TRandomGenerator &random);

private:
    TMediaEntries &entries_;
    TListCursor &cursor_;
};
