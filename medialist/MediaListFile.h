#pragma once

#include "medialist/ListType.h"
#include "medialist/Playlist.h"

#include <QString>
#include <memory>

class TListSnapshot;
class TMediaEntries;
class TPlaylistSource;

// A media list's entries in a list file, in the format its list type selects: the OML format
// with the played marks, a plain list of names, or another player's playlist (M3U, PLS,
// XSPF), which keeps no marks either; a type outside the seven has no format, so nothing is
// read or written. Failures raise EInOutError or EFileStreamError.
namespace MediaListFile {

// Replaces the entries with those of the file. After a failed open the list is empty. What a
// playlist names that the player cannot hold or play is left out and returned. Another
// player's playlist also gives the source it can be written again from (none for the other
// formats).
QList<TLeftOut> Load(TListType listType, const QString &fileName, TMediaEntries &entries,
                     std::shared_ptr<const TPlaylistSource> *source = nullptr);
// Another player's playlist in the format of the list type (M3U, PLS or XSPF), read whole:
// raises as a plain list does when it cannot be read. The file's bytes are given too where asked.
TPlaylist ReadPlaylist(TListType listType, const QByteArray &path, QByteArray *read = nullptr);
// With a source that was read from that file in that format, what the entries did not change
// of it stays as it was read (see TPlaylistSource).
void Save(TListType listType, const QString &fileName, const TMediaEntries &entries,
          const TPlaylistSource *source = nullptr);
// The same bytes, from the entries as they were when the snapshot was taken; on any thread.
void Save(TListType listType, const QString &fileName, const TListSnapshot &entries,
          const TPlaylistSource *source = nullptr);

void LoadOml(const QString &fileName, TMediaEntries &entries);
void SaveOml(const QString &fileName, const TMediaEntries &entries);
void SaveOml(const QString &fileName, const TListSnapshot &entries);

} // namespace MediaListFile
