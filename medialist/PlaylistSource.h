#pragma once

#include "medialist/ListType.h"
#include "medialist/Playlist.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// Another player's playlist as it was read: its bytes and where each entry the list took from
// it stands in them. Written again to the same file in the same format, what the player does
// not show stays as it was read: the names as they were written (relative ones too), the
// titles and lengths with their entries, and what was left out (streams, other hosts,
// comments) in its place. Immutable, so a save on another thread may read it.
class TPlaylistSource {
public:
    // One step of a rewrite: a part of the file that is no entry of the list (Kept), an
    // entry's piece as it was read (Reused), or a row of the list that the file did not hold
    // (Fresh).
    struct TStep {
        enum TKind : uint8_t { Kept, Reused, Fresh } Kind;
        int Index; // of the kept part, the entry as read, or the row
        bool operator==(const TStep &) const = default;
    };

    // None where the file cannot be written again part by part: a format other than M3U, PLS
    // or XSPF, or a playlist that was not read to its end.
    static std::shared_ptr<const TPlaylistSource> Of(TListType type, const QString &path, QByteArray bytes,
                                                      const TPlaylist &playlist);

    TListType Type() const { return type_; }
    const QString &Path() const { return path_; }
    const QByteArray &Bytes() const { return bytes_; }
    const std::vector<TPlaylistPiece> &Pieces() const { return pieces_; }
    const std::vector<TPlsItem> &Items() const { return items_; }
    // Whether a save of that type to that file may write it from this source.
    bool Writes(TListType type, const QString &path) const { return type == type_ && path == path_; }

    // The hash by which a row is matched to an entry as read.
    static uint64_t HashOf(QByteArrayView text);
    // Whether the rows, by their hashes, are the entries as read, in their order.
    bool SameEntries(const std::vector<uint64_t> &rowHashes) const;
    // The order of the rewrite for the rows: each row reuses the first unused entry as read
    // with its text, else it is fresh and follows what followed the row before it; each part
    // that is no entry stays before the entry as read that followed it, those before the first
    // entry open the file and an XSPF's end ends it.
    std::vector<TStep> Steps(const std::vector<uint64_t> &rowHashes) const;
private:
    TPlaylistSource() = default;

    TListType type_ = TListType::M3u;
    QString path_;
    QByteArray bytes_;
    std::vector<uint64_t> hashes_;   // of each entry as read
    std::vector<int> keptBefore_;    // of each entry as read: the kept parts before it
    int keptTotal_ = 0;
    int opening_ = 0; // the kept parts that come before any row: the head of the file
    int closing_ = 0; // those that come after every row: its end
    std::vector<TPlaylistPiece> pieces_;
    std::vector<TPlsItem> items_;
};
