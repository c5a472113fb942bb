#include "medialist/TTextStore.h"

#include "medialist/SharedSlice.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

// Texts in buffers at least this large are shared; copies go into blocks of this size.
constexpr qsizetype LargeBuffer = 64 * 1024;

const void *BufferOf(QByteArray &text)
{
    return text.data_ptr().d_ptr();
}

const char *StartOf(QByteArray &text)
{
    const QByteArray::DataPointer &pointer = text.data_ptr();
    return pointer.data() - pointer.freeSpaceAtBegin();
}

} // namespace

QByteArray TTextStore::TextOf(const std::vector<TBlock> &blocks, const TRef &ref)
{
    if (ref.Block == NoBlock)
        return QByteArray("", 0);
    const TBlock &block = blocks[ref.Block];
    return SharedSlice(block.Holder, block.Start + ref.Offset, ref.Size);
}

QByteArray TTextStore::At(size_t position) const
{
    return TextOf(blocks_, refs_[position]);
}

QByteArray TTextStore::TSnapshot::At(size_t position) const
{
    return TextOf(blocks_, refs_[position]);
}

TTextStore::TSnapshot TTextStore::Snapshot() const
{
    TSnapshot snapshot;
    snapshot.refs_ = refs_;
    snapshot.blocks_ = blocks_;
    return snapshot;
}

TTextStore::TSnapshot TTextStore::SnapshotFrom(size_t first) const
{
    TSnapshot snapshot;
    snapshot.refs_.assign(refs_.begin() + qsizetype(first), refs_.end());
    snapshot.blocks_ = blocks_;
    return snapshot;
}

TTextStore::TSnapshot TTextStore::Snapshot(const std::vector<int> &positions) const
{
    TSnapshot snapshot;
    snapshot.refs_.reserve(positions.size());
    for (const int position : positions)
        snapshot.refs_.push_back(refs_[size_t(position)]);
    snapshot.blocks_ = blocks_;
    return snapshot;
}

void TTextStore::ReplaceFrom(size_t first, const TSnapshot &texts)
{
    // The snapshot's blocks are adopted before any of the store's is let go: a block they share
    // keeps its number, and a chunk that is still written into is never taken for a new one.
    std::vector<uint32_t> adopted(texts.blocks_.size(), NoBlock);
    std::vector<TRef> refs;
    refs.reserve(texts.refs_.size());
    for (const TRef &ref : texts.refs_) {
        if (ref.Block == NoBlock) {
            refs.push_back(ref);
            continue;
        }
        uint32_t &block = adopted[ref.Block];
        if (block == NoBlock)
            block = Adopted(texts.blocks_[ref.Block]);
        ++blocks_[block].Uses;
        refs.push_back({block, ref.Offset, ref.Size});
    }
    for (size_t position = first; position < refs_.size(); ++position)
        Drop(refs_[position]);
    refs_.resize(first);
    refs_.insert(refs_.end(), refs.begin(), refs.end());
}

uint32_t TTextStore::Adopted(const TBlock &block)
{
    QByteArray holder = block.Holder;
    const void *buffer = BufferOf(holder);
    const auto found = blockOf_.find(buffer);
    if (found != blockOf_.end())
        return found->second;
    const uint32_t adopted = NewBlock(std::move(holder), block.Start);
    blockOf_.emplace(buffer, adopted);
    return adopted;
}

void TTextStore::Append(const QByteArray &text)
{
    if (quint64(text.size()) >= std::numeric_limits<uint32_t>::max())
        throw std::length_error("a text of 4 GiB or more cannot be kept");
    refs_.push_back(Shared(text));
}

TTextStore::TRef TTextStore::Shared(const QByteArray &text)
{
    QByteArray holder = text;
    const void *buffer = BufferOf(holder);
    if (!buffer || holder.data_ptr().constAllocatedCapacity() < LargeBuffer)
        return Copied(text);
    const qsizetype offset = holder.constData() - StartOf(holder);
    if (quint64(offset) + quint64(text.size()) >= std::numeric_limits<uint32_t>::max())
        return Copied(text);
    // A text is NUL-terminated within its buffer, as every other QByteArray. Texts mostly
    // come in runs from one buffer, so the last one found is tried first.
    uint32_t block = lastShared_;
    if (block == NoBlock || BufferOf(blocks_[block].Holder) != buffer) {
        const auto found = blockOf_.find(buffer);
        block = found != blockOf_.end() ? found->second : NoBlock;
    }
    if (block == NoBlock) {
        const char *start = StartOf(holder);
        block = NewBlock(std::move(holder), start);
        blockOf_.emplace(buffer, block);
    }
    lastShared_ = block;
    ++blocks_[block].Uses;
    return {block, uint32_t(offset), uint32_t(text.size())};
}

TTextStore::TRef TTextStore::Copied(const QByteArray &text)
{
    const qsizetype needed = text.size() + 1;
    if (chunk_ == NoBlock || chunkSize_ - chunkUsed_ < needed) {
        chunkSize_ = std::max(LargeBuffer, needed);
        QByteArray chunk(chunkSize_, Qt::Uninitialized);
        const char *start = StartOf(chunk);
        const void *buffer = BufferOf(chunk);
        chunk_ = NewBlock(std::move(chunk), start);
        blockOf_.emplace(buffer, chunk_);
        chunkUsed_ = 0;
    }
    // Only bytes past every text handed out are written, so no shared text changes.
    TBlock &block = blocks_[chunk_];
    char *at = const_cast<char *>(block.Start) + chunkUsed_;
    std::memcpy(at, text.constData(), size_t(text.size()));
    at[text.size()] = '\0';
    const TRef ref{chunk_, uint32_t(chunkUsed_), uint32_t(text.size())};
    chunkUsed_ += needed;
    ++block.Uses;
    return ref;
}

uint32_t TTextStore::NewBlock(QByteArray holder, const char *start)
{
    uint32_t block = 0;
    if (!freeBlocks_.empty()) {
        block = freeBlocks_.back();
        freeBlocks_.pop_back();
    } else {
        block = uint32_t(blocks_.size());
        blocks_.emplace_back();
    }
    blocks_[block] = TBlock{std::move(holder), start, 0};
    return block;
}

void TTextStore::Drop(const TRef &ref)
{
    if (ref.Block == NoBlock)
        return;
    TBlock &block = blocks_[ref.Block];
    if (--block.Uses > 0)
        return;
    const auto mapped = blockOf_.find(BufferOf(block.Holder));
    if (mapped != blockOf_.end() && mapped->second == ref.Block)
        blockOf_.erase(mapped);
    if (ref.Block == chunk_)
        chunk_ = NoBlock;
    if (ref.Block == lastShared_)
        lastShared_ = NoBlock;
    block = TBlock();
    freeBlocks_.push_back(ref.Block);
}

void TTextStore::RemoveAt(size_t position)
{
    Drop(refs_[position]);
    refs_.erase(refs_.begin() + qsizetype(position));
}

void TTextStore::Release(size_t position)
{
    Drop(refs_[position]);
    refs_[position] = TRef{NoBlock, 0, 0};
}

void TTextStore::Clear()
{
    refs_.clear();
    blocks_.clear();
    freeBlocks_.clear();
    blockOf_.clear();
    chunk_ = NoBlock;
    lastShared_ = NoBlock;
    chunkUsed_ = 0;
    chunkSize_ = 0;
}
