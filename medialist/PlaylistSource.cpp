#include "medialist/PlaylistSource.h"

#include <QHash>
#include <unordered_map>

std::shared_ptr<const TPlaylistSource> TPlaylistSource::Of(TListType type, const QString &path, QByteArray bytes,
                                                           const TPlaylist &playlist)
{
    const bool pieceFormat = type == TListType::M3u || type == TListType::Xspf;
    if (!playlist.ReadWhole || (type != TListType::Pls && !pieceFormat))
        return nullptr;
    const qsizetype entries = playlist.Entries.size();
    // An XSPF without a track has no place known for one.
    if (pieceFormat && (qsizetype(playlist.Pieces.size()) != entries || (entries == 0 && type == TListType::Xspf)))
        return nullptr;
    std::shared_ptr<TPlaylistSource> source(new TPlaylistSource());
    source->type_ = type;
    source->path_ = path;
    source->bytes_ = std::move(bytes);
    source->hashes_.reserve(size_t(entries));
    for (const QByteArray &entry : playlist.Entries)
        source->hashes_.push_back(HashOf(entry));
    source->keptBefore_.reserve(size_t(entries));
    if (pieceFormat) {
        // Gap k lies before piece k; the last gap ends the file.
        source->pieces_ = playlist.Pieces;
        for (qsizetype entry = 0; entry < entries; ++entry)
            source->keptBefore_.push_back(int(entry) + 1);
        source->keptTotal_ = int(entries) + 1;
        source->opening_ = 1;
        // An XSPF's last gap closes its track list: nothing comes after it.
        source->closing_ = type == TListType::Xspf ? 1 : 0;
    } else {
        source->items_ = playlist.Items;
        int leftOut = 0;
        for (const TPlsItem &item : playlist.Items) {
            if (item.Entry < 0)
                ++leftOut;
            else
                source->keptBefore_.push_back(leftOut);
        }
        source->keptTotal_ = leftOut;
        if (qsizetype(source->keptBefore_.size()) != entries)
            return nullptr;
        source->opening_ = entries > 0 ? source->keptBefore_.front() : leftOut;
    }
    return source;
}

uint64_t TPlaylistSource::HashOf(QByteArrayView text)
{
    return uint64_t(qHash(text, size_t(0x9E3779B97F4A7C15ULL)));
}

bool TPlaylistSource::SameEntries(const std::vector<uint64_t> &rowHashes) const
{
    return rowHashes == hashes_;
}

std::vector<TPlaylistSource::TStep> TPlaylistSource::Steps(const std::vector<uint64_t> &rowHashes) const
{
    // The entries as read with each hash, first ones first: duplicates are reused in order.
    std::unordered_map<uint64_t, std::vector<int>> unused;
    unused.reserve(hashes_.size());
    for (int entry = int(hashes_.size()) - 1; entry >= 0; --entry)
        unused[hashes_[size_t(entry)]].push_back(entry);
    std::vector<TStep> steps;
    steps.reserve(rowHashes.size() + size_t(keptTotal_));
    int kept = 0;
    const auto keepUpTo = [&](int count) {
        for (; kept < count; ++kept)
            steps.push_back({TStep::Kept, kept});
    };
    // A row the file did not hold follows what followed the entry before it.
    int keptAfterLast = opening_;
    for (size_t row = 0; row < rowHashes.size(); ++row) {
        const auto found = unused.find(rowHashes[row]);
        if (found == unused.end() || found->second.empty()) {
            keepUpTo(keptAfterLast);
            steps.push_back({TStep::Fresh, int(row)});
            continue;
        }
        const int entry = found->second.back();
        found->second.pop_back();
        keepUpTo(keptBefore_[size_t(entry)]);
        steps.push_back({TStep::Reused, entry});
        keptAfterLast = size_t(entry) + 1 < keptBefore_.size() ? keptBefore_[size_t(entry) + 1] : keptTotal_ - closing_;
    }
    keepUpTo(keptTotal_);
    return steps;
}
