#pragma once

#include "medialist/Playlist.h"
#include "medialist/PlaylistSource.h"

#include <QByteArray>
#include <cstring>
#include <functional>
#include <vector>

// PLS playlists: "[playlist]", then "FileN=name" lines.
namespace PlsFormat {

// The FileN entries in the order of N (keys ignoring letter case, gaps skipped); every other
// key, NumberOfEntries too, is left alone.
TPlaylist Read(const QByteArray &bytes, const QByteArray &playlistPath);

// The file read into the source, written again in the order of the steps: the items numbered
// anew from 1 where the first of them stood (each with its Title and Length lines, as they
// were written), NumberOfEntries counting them, every other line as it was.
QByteArray Rewritten(const TPlaylistSource &source, const std::vector<TPlaylistSource::TStep> &steps,
                     const std::function<QByteArrayView(int row)> &rowText);

// Written as version 2, with the count of entries after them; LF line ends.
struct TWriter {
    QByteArray Head(int) const { return "[playlist]\n"; }
    QByteArray Tail(int count) const { return "NumberOfEntries=" + QByteArray::number(count) + "\nVersion=2\n"; }
    qsizetype Size(QByteArrayView text, int row) const { return 4 + Digits(row + 1) + 1 + text.size() + 1; }
    char *Put(char *at, QByteArrayView text, bool, int row) const
    {
        std::memcpy(at, "File", 4);
        at += 4;
        const qsizetype digits = Digits(row + 1);
        for (qsizetype i = digits, n = row + 1; i > 0; --i, n /= 10)
            at[i - 1] = char('0' + n % 10);
        at += digits;
        *at++ = '=';
        std::memcpy(at, text.data(), size_t(text.size()));
        at += text.size();
        *at++ = '\n';
        return at;
    }
    static qsizetype Digits(qsizetype n)
    {
        qsizetype digits = 1;
        for (; n >= 10; n /= 10)
            ++digits;
        return digits;
    }
};

} // namespace PlsFormat
