#pragma once

#include "medialist/Playlist.h"

#include <QByteArray>
#include <cstring>

// M3U and M3U8 playlists: one name per line, "#" lines (#EXTM3U, #EXTINF) skipped.
namespace M3uFormat {

// The playlist's entries from its bytes. A name of a .m3u (windows1252 set) that is no UTF-8
// and names no file as it stands is read as Windows-1252 and tried as UTF-8, the way older
// players wrote them.
TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath, bool windows1252);

// Written as M3U8: UTF-8 without a byte order mark (names as they are held), LF line ends.
struct TWriter {
    QByteArray Head(int) const { return "#EXTM3U\n"; }
    QByteArray Tail(int) const { return {}; }
    qsizetype Size(QByteArrayView text, int) const { return text.size() + 1; }
    char *Put(char *at, QByteArrayView text, bool, int) const
    {
        std::memcpy(at, text.data(), size_t(text.size()));
        at[text.size()] = '\n';
        return at + text.size() + 1;
    }
};

} // namespace M3uFormat
