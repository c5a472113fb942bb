#pragma once

#include <QByteArray>
#include <QString>

// How desktop media controls name an entry: entries are bytes, the bus carries only valid
// UTF-8 and object paths.
namespace MprisTrack {

// The object path the controls know a track by; the same entry gives the same path.
QString TrackId(const QByteArray &entry);
// The path the controls show when nothing is current.
QString NoTrackId();
// A file URL of the entry, taken as inside the folder where it is relative; every byte
// outside the unreserved characters and "/" is percent-encoded.
QString FileUrl(const QByteArray &entry, const QByteArray &folder);
// The entry's file name without its folder, for the eye.
QString Title(const QByteArray &entry);

} // namespace MprisTrack
