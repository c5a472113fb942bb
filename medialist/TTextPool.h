#pragma once

#include "medialist/TFoldedTextIndex.h"
#include "medialist/TRankTree.h"
#include "medialist/TTextStore.h"

#include <QByteArray>
#include <QList>
#include <vector>

// An ordered list of texts, repeats allowed, that is drawn from by position and thinned by
// text: the random pool of the main window and the draw pool of the list control.
// Every operation stays fast at hundreds of thousands of texts.
class TTextPool {
public:
    int Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    // Raises EListError when the position is out of range.
    QByteArray At(int position) const;
    void Append(const QByteArray &text);
    // For a text whose TextFold::Hash is known already.
    void Append(const QByteArray &text, uint32_t hash);
    void Reserve(int count);
    void Append(const QList<QByteArray> &texts);
    void Clear();
    // Position of the first text equal to the given one, ignoring letter case; -1 when none.
    int IndexOf(const QByteArray &text) const;
    // Raises EListError when the position is out of range.
    void RemoveAt(int position);
    // Removes the first text equal to the given one, ignoring letter case; false when none.
    bool RemoveFirst(const QByteArray &text);
    QList<QByteArray> Texts() const;

private:
    int FirstLiveSlotOf(const QByteArray &text) const;
    void KillSlot(int slot);
    void CompactWhenSparse();
    void CheckPosition(int position) const;

    TTextStore slots_;
    std::vector<char> live_;
    TRankTree ranks_;
    TFoldedTextIndex index_;
    int count_ = 0;
};
