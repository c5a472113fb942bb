#include "desktop/MprisTrack.h"

#include <QCryptographicHash>

namespace MprisTrack {

QString TrackId(const QByteArray &entry)
{
    // A digest keeps the path short and within the characters an object path allows.
    const QByteArray digest = QCryptographicHash::hash(entry, QCryptographicHash::Sha1).toHex().left(32);
    return QStringLiteral("/example/ostrel/MediaPlayer/Track/T") + QString::fromLatin1(digest);
}

QString NoTrackId()
{
    return QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
}

QString FileUrl(const QByteArray &entry, const QByteArray &folder)
{
    QByteArray path = entry;
    if (!path.startsWith('/') && !folder.isEmpty())
        path = folder + (folder.endsWith('/') ? "" : "/") + path;
    return QStringLiteral("file://") + QString::fromLatin1(path.toPercentEncoding("/"));
}

QString Title(const QByteArray &entry)
{
    return QString::fromUtf8(entry.mid(entry.lastIndexOf('/') + 1));
}

} // namespace MprisTrack
