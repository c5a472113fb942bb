#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <vector>

// A name a playlist gave that the player left out, and why ("not a local file").
struct TLeftOut {
    QByteArray Name; // long names keep their start and end only, enough to be told
    QString Reason;
    bool operator==(const TLeftOut &) const = default;
};

// Where an entry stands in the bytes of the playlist it came from.
struct TPlaylistPiece {
    qsizetype Begin = 0;
    qsizetype End = 0;
    bool operator==(const TPlaylistPiece &) const = default;
};

// A PLS item in the order of its number: the entry it gave, or -1 where it was left out.
struct TPlsItem {
    quint64 Number = 0;
    int Entry = -1;
    qsizetype Line = 0; // where its FileN line begins
    bool operator==(const TPlsItem &) const = default;
};

// What another player's playlist gives: the files the player can hold and play, in the
// playlist's order, and what it left out; and where each entry stood, so that the file can be
// written again with only what changed.
struct TPlaylist {
    QList<QByteArray> Entries;
    QList<TLeftOut> LeftOut;
    // M3U: each entry's name line with the #EXT lines just before it; XSPF: its <track>
    // element with the blanks and line end around it (a second location of one track gets an
    // empty piece). In the order of the bytes, one for each entry.
    std::vector<TPlaylistPiece> Pieces;
    // PLS: every FileN item, kept or left out.
    std::vector<TPlsItem> Items;
    // False where reading stopped before the end (an XSPF that is not well-formed).
    bool ReadWhole = true;

    // Takes a location as the playlist names it (see PlaylistPath), or leaves it out.
    void Add(QByteArrayView location, const QByteArray &folder);
    void LeaveOut(QByteArrayView name, const QString &reason);
};

// The file a playlist's location names: a file:// URI decoded to its bytes, an absolute name
// as it stands, a relative one taken against the playlist's folder ("." and ".." resolved).
// Empty, with the reason, for what the player cannot hold or play: a remote or otherwise
// unusable URI, a control character or line break, a name too long for a file, a relative
// name that climbs out of every folder, another playlist.
QByteArray PlaylistPath(QByteArrayView location, const QByteArray &folder, QString &reason);

// The folder a playlist's relative names are taken against: that of its own (full) path.
QByteArray PlaylistFolder(const QByteArray &playlistPath);
