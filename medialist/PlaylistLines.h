#pragma once

#include <QByteArrayView>

// The lines of a playlist of lines (M3U, PLS), as their writers end them: at LF, CR LF or a
// lone CR, a UTF-8 byte order mark at the start skipped, lines of nothing but blanks left out.
// Blanks are kept otherwise: a name may begin or end with one.
template <typename Line> void ForEachPlaylistLine(QByteArrayView text, Line line)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    const char *data = text.data();
    const qsizetype end = text.size();
    qsizetype start = 0;
    while (start < end) {
        qsizetype stop = start;
        while (stop < end && data[stop] != '\r' && data[stop] != '\n')
            ++stop;
        const QByteArrayView current(data + start, stop - start);
        if (!current.trimmed().isEmpty())
            line(current);
        start = stop + (stop + 1 < end && data[stop] == '\r' && data[stop + 1] == '\n' ? 2 : 1);
    }
}
