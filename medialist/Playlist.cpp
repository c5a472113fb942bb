#include "medialist/Playlist.h"

#include "medialist/FileUri.h"
#include "medialist/MediaTypes.h"

#include <algorithm>
#include <climits>

namespace {

// The longest name worth keeping whole for the message, which shows less of it.
constexpr qsizetype LongestNameKept = 200;

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

// The folder joined with the relative name, "." and ".." taken away; empty when ".." climbs
// above the root.
QByteArray Joined(const QByteArray &folder, QByteArrayView relative)
{
    QByteArray path = folder;
    qsizetype start = 0;
    while (start <= relative.size()) {
        qsizetype end = relative.indexOf('/', start);
        if (end < 0)
            end = relative.size();
        const QByteArrayView segment = relative.sliced(start, end - start);
        if (segment == "..") {
            const qsizetype slash = path.lastIndexOf('/');
            if (slash < 0 || path.isEmpty())
                return {};
            path.truncate(slash);
        } else if (!segment.isEmpty() && segment != ".") {
            path.append('/').append(segment);
        }
        start = end + 1;
    }
    return path.isEmpty() ? QByteArray("/") : path;
}

} // namespace

QByteArray PlaylistPath(QByteArrayView location, const QByteArray &folder, QString &reason)
{
    if (location.isEmpty()) {
        reason = QStringLiteral("not a valid file name");
        return {};
    }
    if (location.size() >= PATH_MAX) {
        reason = QStringLiteral("too long for a file name");
        return {};
    }
    QByteArray path;
    if (IsUri(location)) {
        path = LocalPathOfUri(location.toByteArray(), reason);
        if (path.isEmpty())
            return {};
    } else {
        path = location.toByteArray();
    }
    // Checked on the bytes a URI stands for, too.
    for (const char c : path) {
        if (IsControl(c)) {
            reason = c == '\r' || c == '\n' ? QStringLiteral("a line break in the name")
                                            : QStringLiteral("not a valid file name");
            return {};
        }
    }
    if (!path.startsWith('/')) {
        path = Joined(folder, path);
        if (path.isEmpty()) {
            reason = QStringLiteral("outside of every folder");
            return {};
        }
    }
    if (IsPlaylistName(path)) {
        reason = QStringLiteral("a playlist in a playlist");
        return {};
    }
    return path;
}

QByteArray PlaylistFolder(const QByteArray &playlistPath)
{
    return playlistPath.left(std::max<qsizetype>(playlistPath.lastIndexOf('/'), 0));
}

void TPlaylist::Add(QByteArrayView location, const QByteArray &folder)
{
    QString reason;
    QByteArray path = PlaylistPath(location, folder, reason);
    if (path.isEmpty())
        LeaveOut(location, reason);
    else
        Entries.append(std::move(path));
}

void TPlaylist::LeaveOut(QByteArrayView name, const QString &reason)
{
    const QByteArray kept = name.size() <= LongestNameKept
        ? name.toByteArray()
        : name.first(LongestNameKept / 2).toByteArray() + name.last(LongestNameKept / 2).toByteArray();
    LeftOut.append({kept, reason});
}
