#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

// Which media files Search looks for, by the 1-based filter index of the search dialog. A
// value outside 1 to 4 is kept as it is and looks for nothing.
enum class TSearchType : uint8_t {
    Wave = 1,
    Mp3 = 2,
    Avi = 3,
    Movie = 4,
};

inline TSearchType SearchTypeOf(int filterIndex)
{
    return static_cast<TSearchType>(static_cast<uint8_t>(filterIndex));
}

// The file name pattern of the type ("*.mp3"); empty for any other value.
QString SearchPattern(TSearchType type);
// The patterns of all four types, for a walk that looks for every media file at once.
QList<QByteArray> AllMediaPatterns();
