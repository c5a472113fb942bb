#pragma once

#include <cstdint>

// Which format a list file is read and written in, by the 1-based filter index of the list
// dialogs. A value outside 1 to 7 (say a stored 9) is kept as it is: such a list has no format,
// so nothing is read or written.
enum class TListType : uint8_t {
    Oml = 1, // "Ostrel Media List": each entry with its played mark
    Mpu = 2, // "MP3 Unit": a plain list of names, as are the two below
    Text = 3,
    AnyFile = 4, // "All files", treated as text files
    // Other players' playlists; like the plain list they keep no played marks.
    M3u = 5,
    Pls = 6,
    Xspf = 7,
};

// A filter index as a list type; every value is kept, also one outside the dialogs' filters.
inline TListType ListTypeOf(int filterIndex)
{
    return static_cast<TListType>(static_cast<uint8_t>(filterIndex));
}

// Whether the list type's format keeps the played marks: only the player's own list does.
inline bool KeepsMarks(TListType type)
{
    return type == TListType::Oml;
}
