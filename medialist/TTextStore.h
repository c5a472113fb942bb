#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <unordered_map>
#include <vector>

// A sequence of texts kept in few large blocks rather than one allocation each. A text that
// lies in a large buffer already (a list file read whole) stays there, shared; any other is
// copied into a block of the store's own. A text costs its bytes, its terminating NUL and
// twelve bytes more; a block is let go once no text of it is kept.
class TTextStore {
public:
    TTextStore() = default;
    TTextStore(const TTextStore &) = delete;
    TTextStore &operator=(const TTextStore &) = delete;

    size_t Size() const { return refs_.size(); }
    bool Empty() const { return refs_.empty(); }
    // A text as a QByteArray of its own that shares the block. No range check.
    QByteArray At(size_t position) const;
    // The text's bytes where they lie, valid until the store changes. No range check.
    QByteArrayView View(size_t position) const { return ViewOf(blocks_, refs_[position]); }
    // Raises std::length_error for a text of 4 GiB or more.
    void Append(const QByteArray &text);
    void Reserve(size_t count) { refs_.reserve(count); }
    // The later texts move down by one.
    void RemoveAt(size_t position);
    // The text becomes empty and lets its block go; the positions stay.
    void Release(size_t position);
    void Clear();

private:
    static constexpr uint32_t NoBlock = UINT32_MAX;

    struct TRef {
        uint32_t Block;
        uint32_t Offset;
        uint32_t Size;
    };
    struct TBlock {
        QByteArray Holder; // keeps the block alive
        const char *Start = nullptr;
        uint32_t Uses = 0;
    };
    static QByteArray TextOf(const std::vector<TBlock> &blocks, const TRef &ref);
    static QByteArrayView ViewOf(const std::vector<TBlock> &blocks, const TRef &ref)
    {
        return ref.Block == NoBlock ? QByteArrayView("", 0)
                                    : QByteArrayView(blocks[ref.Block].Start + ref.Offset, ref.Size);
    }

public:
    // The texts as they are now, to be read later, also on another thread while the store goes
    // on changing: the blocks are shared, not copied, and the store never writes over a byte
    // a text has been given.
    class TSnapshot {
    public:
        size_t Size() const { return refs_.size(); }
        QByteArray At(size_t position) const;
        // The text's bytes where they lie, valid while the snapshot lives.
        QByteArrayView View(size_t position) const { return ViewOf(blocks_, refs_[position]); }

    private:
        friend class TTextStore;
        std::vector<TRef> refs_;
        std::vector<TBlock> blocks_;
    };
    TSnapshot Snapshot() const;
    // The texts from the first position on. No range check.
    TSnapshot SnapshotFrom(size_t first) const;
    // The texts at the given positions, in that order. No range check.
    TSnapshot Snapshot(const std::vector<int> &positions) const;
    // The texts from the first position on become the snapshot's, which keep their bytes where
    // they lie: nothing is copied.
    void ReplaceFrom(size_t first, const TSnapshot &texts);

private:
    TRef Shared(const QByteArray &text);
    TRef Copied(const QByteArray &text);
    uint32_t NewBlock(QByteArray holder, const char *start);
    // The store's block that holds the snapshot's block, made when the store has none.
    uint32_t Adopted(const TBlock &block);
    void Drop(const TRef &ref);

    std::vector<TRef> refs_;
    std::vector<TBlock> blocks_;
    std::vector<uint32_t> freeBlocks_;
    std::unordered_map<const void *, uint32_t> blockOf_; // by the buffer a shared block is in
    uint32_t chunk_ = NoBlock; // the block copies go into
    uint32_t lastShared_ = NoBlock;
    qsizetype chunkUsed_ = 0;
    qsizetype chunkSize_ = 0;
};
