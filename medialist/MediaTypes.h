#pragma once

#include "medialist/ListType.h"
#include "medialist/SearchType.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>

// The one table of the files the player knows by their extension: the media it plays and the
// playlists of other players that it reads. Everything that names file types (the search
// dialog, Add, the folders handed over, the desktop entry, the media controls) takes them
// from here, so that a type added here is offered everywhere at once.
enum class TMediaKind : uint8_t { Audio, Video, Playlist };

struct TMediaType {
    const char *Extension; // lower case, without the dot
    const char *MimeTypes; // shared-mime-info's name first, then its aliases, each ended by ";"
    TMediaKind Kind;
    TSearchType Group; // the search dialog's pair of its own that finds it; none for a playlist
    TListType ListType = TListType(0); // a playlist's format
};

std::span<const TMediaType> MediaTypes();

// The type of a file name by its extension, letter case ignored; none when unknown.
const TMediaType *MediaTypeOf(QByteArrayView name);
bool IsPlaylistName(QByteArrayView name);

// "*.flac" patterns: of every medium; of the media of a kind; of a group of the search dialog.
QList<QByteArray> MediaPatterns();
QList<QByteArray> KindPatterns(TMediaKind kind);
QList<QByteArray> GroupPatterns(TSearchType group);

// The list dialogs' filter pairs of the playlists, after the player's own four list types.
QString PlaylistFilters();
// "*.mp3;*.wav", then every other medium and playlist: what Add shows at first.
QString AddedFilePatterns();

// Every MIME type of the table, each once, in the table's order: media first, then playlists.
QStringList MediaMimeTypes();
