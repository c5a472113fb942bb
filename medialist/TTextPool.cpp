#include "medialist/TTextPool.h"

#include "medialist/EListError.h"
#include "medialist/TextFold.h"

QByteArray TTextPool::At(int position) const
{
    CheckPosition(position);
    return slots_.At(size_t(ranks_.SlotOfRank(position)));
}

void TTextPool::Append(const QByteArray &text)
{
    Append(text, TextFold::Hash(text));
}

void TTextPool::Append(const QByteArray &text, uint32_t hash)
{
    slots_.Append(text);
    live_.push_back(1);
    ranks_.AppendLive();
    index_.Append(hash);
    ++count_;
}

void TTextPool::Reserve(int count)
{
    slots_.Reserve(slots_.Size() + size_t(count));
    live_.reserve(live_.size() + size_t(count));
    ranks_.Reserve(size_t(count));
    index_.Reserve(index_.Count() + count);
}

void TTextPool::Append(const QList<QByteArray> &texts)
{
    Reserve(int(texts.size()));
    for (const QByteArray &text : texts)
        Append(text);
}

void TTextPool::Clear()
{
    slots_.Clear();
    live_.clear();
    ranks_.Clear();
    index_.Clear();
    count_ = 0;
}

int TTextPool::FirstLiveSlotOf(const QByteArray &text) const
{
    return index_.FindFirst(TextFold::Hash(text), [&](int slot) {
        return live_[size_t(slot)] && TextFold::SameText(slots_.At(size_t(slot)), text);
    });
}

int TTextPool::IndexOf(const QByteArray &text) const
{
    const int slot = FirstLiveSlotOf(text);
    return slot < 0 ? -1 : ranks_.LiveBefore(slot);
}

void TTextPool::RemoveAt(int position)
{
    CheckPosition(position);
    KillSlot(ranks_.SlotOfRank(position));
}

bool TTextPool::RemoveFirst(const QByteArray &text)
{
    const int slot = FirstLiveSlotOf(text);
    if (slot < 0)
        return false;
    KillSlot(slot);
    return true;
}

QList<QByteArray> TTextPool::Texts() const
{
    QList<QByteArray> texts;
    texts.reserve(count_);
    for (size_t slot = 0; slot < slots_.Size(); ++slot)
        if (live_[slot])
            texts.append(slots_.At(slot));
    return texts;
}

void TTextPool::KillSlot(int slot)
{
    live_[size_t(slot)] = 0;
    slots_.Release(size_t(slot));
    ranks_.Kill(slot);
    --count_;
    CompactWhenSparse();
}

void TTextPool::CompactWhenSparse()
{
    const int dead = int(slots_.Size()) - count_;
    if (dead < 1024 || dead < count_)
        return;
    const QList<QByteArray> texts = Texts();
    Clear();
    Append(texts);
}

void TTextPool::CheckPosition(int position) const
{
    if (position < 0 || position >= count_)
        throw EListError(position);
}
