#pragma once

#include "medialist/FileUri.h"
#include "medialist/Playlist.h"

#include <QByteArray>
#include <cstring>

// XSPF playlists: the locations of the tracks of the track list.
namespace XspfFormat {

// Each <location> of a <track> in the <trackList>, percent-decoded to bytes, a relative one
// against the playlist's folder. A document type declaration is never read (no entity, no
// file or network access): reading stops there, as it does at the first error, keeping
// what came before and telling where it stopped.
TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath);

// Written as version 1, each entry as a file:// URI percent-encoded from its bytes, which
// leaves nothing to escape for XML.
struct TWriter {
    static constexpr QByteArrayView Open = "    <track><location>file://";
    static constexpr QByteArrayView Close = "</location></track>\n";
    QByteArray Head(int) const
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
               "  <trackList>\n";
    }
    QByteArray Tail(int) const { return "  </trackList>\n</playlist>\n"; }
    qsizetype Size(QByteArrayView text, int) const { return Open.size() + FileUriPathSize(text) + Close.size(); }
    char *Put(char *at, QByteArrayView text, bool, int) const
    {
        std::memcpy(at, Open.data(), size_t(Open.size()));
        at = PutFileUriPath(at + Open.size(), text);
        std::memcpy(at, Close.data(), size_t(Close.size()));
        return at + Close.size();
    }
};

} // namespace XspfFormat
