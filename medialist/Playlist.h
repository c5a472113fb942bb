#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// A name a playlist gave that the player left out, and why ("not a local file").
struct TLeftOut {
    QByteArray Name; // long names keep their start and end only, enough to be told
    QString Reason;
    bool operator==(const TLeftOut &) const = default;
};

// What another player's playlist gives: the files the player can hold and play, in the
// playlist's order, and what it left out.
struct TPlaylist {
    QList<QByteArray> Entries;
    QList<TLeftOut> LeftOut;

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
