#include "medialist/M3uFormat.h"

#include "medialist/ListMemory.h"
#include "medialist/PlaylistLines.h"

#include <unistd.h>

namespace {

// The characters Windows-1252 puts at 0x80 to 0x9F; the other bytes read as Latin-1.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QByteArray FromWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(Windows1252High[byte - 0x80]) : QChar(byte));
    }
    return text.toUtf8();
}

bool Exists(const QByteArray &path)
{
    return ::access(path.constData(), F_OK) == 0;
}

} // namespace

namespace M3uFormat {

TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath, bool windows1252)
{
    const ListMemory::TLoadBudget budget(bytes.size());
    const QByteArray folder = PlaylistFolder(playlistPath);
    TPlaylist playlist;
    qsizetype pieceStart = -1; // the first #EXT line of those just before the name
    ForEachPlaylistLine(bytes, [&](QByteArrayView line) {
        const qsizetype lineStart = line.data() - bytes.constData();
        if (const QByteArrayView comment = line.trimmed(); comment.startsWith('#')) {
            const bool ofTheEntry = comment.startsWith("#EXT") && !comment.startsWith("#EXTM3U");
            if (!ofTheEntry)
                pieceStart = -1;
            else if (pieceStart < 0)
                pieceStart = lineStart;
            return;
        }
        const qsizetype begin = pieceStart < 0 ? lineStart : pieceStart;
        pieceStart = -1;
        QString reason;
        QByteArray path = PlaylistPath(line, folder, reason);
        if (path.isEmpty()) {
            playlist.LeaveOut(line, reason);
            return;
        }
        if (windows1252 && !line.isValidUtf8() && !Exists(path)) {
            const QByteArray recoded = PlaylistPath(FromWindows1252(line), folder, reason);
            if (!recoded.isEmpty() && Exists(recoded))
                path = recoded;
        }
        playlist.Entries.append(std::move(path));
        playlist.Pieces.push_back({begin, LineEndIn(bytes, line)});
        budget.Check(playlist.Entries.size());
    });
    return playlist;
}

} // namespace M3uFormat
