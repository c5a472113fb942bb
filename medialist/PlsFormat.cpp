#include "medialist/PlsFormat.h"

#include "medialist/ListMemory.h"
#include "medialist/PlaylistLines.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

// N of a "FileN" key; none for any other key, or a number too large to be one.
std::optional<quint64> FileNumber(QByteArrayView key)
{
    if (key.size() <= 4 || key.first(4).compare("file", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    quint64 number = 0;
    for (const char c : key.sliced(4)) {
        if (c < '0' || c > '9' || number > (std::numeric_limits<quint64>::max() - 9) / 10)
            return std::nullopt;
        number = number * 10 + quint64(c - '0');
    }
    return number;
}

struct TNumbered {
    quint64 Number;
    QByteArrayView Location;
};

} // namespace

namespace PlsFormat {

TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath)
{
    const ListMemory::TLoadBudget budget(bytes.size());
    std::vector<TNumbered> files;
    ForEachPlaylistLine(bytes, [&](QByteArrayView line) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            return;
        const std::optional<quint64> number = FileNumber(line.first(equals).trimmed());
        QByteArrayView location = line.sliced(equals + 1);
        while (location.startsWith(' ') || location.startsWith('\t'))
            location = location.sliced(1); // "File1= name"; a name may end in a blank
        if (number && !location.isEmpty()) {
            files.push_back({*number, location});
            budget.Check(qsizetype(files.size()));
        }
    });
    std::stable_sort(files.begin(), files.end(),
                     [](const TNumbered &a, const TNumbered &b) { return a.Number < b.Number; });
    const QByteArray folder = PlaylistFolder(playlistPath);
    TPlaylist playlist;
    for (const TNumbered &file : files)
        playlist.Add(file.Location, folder);
    return playlist;
}

} // namespace PlsFormat
