#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

// Which media files Search looks for, by the 1-based filter index of the search dialog: the
// first four one type each, the others the groups of the table of media types. A value
// outside 1 to 10 is kept as it is and looks for nothing.
enum class TSearchType : uint8_t {
    Wave = 1,
    Mp3 = 2,
    Avi = 3,
    Movie = 4,
    Flac = 5,
    OggOpus = 6,
    Aac = 7,
    OtherAudio = 8,
    Video = 9,
    AllMedia = 10,
};

inline TSearchType SearchTypeOf(int filterIndex)
{
    return static_cast<TSearchType>(static_cast<uint8_t>(filterIndex));
}

// The file name patterns of the type, separated by ";" ("*.mp3", "*.ogg;*.oga;*.opus");
// empty for any other value.
QString SearchPattern(TSearchType type);
// The search dialog's filter pairs after the first four, from the table of media types.
QString MoreSearchFilters();
