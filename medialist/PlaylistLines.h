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

// The position after the line end at the position (LF, CR LF or a lone CR), or the position
// itself where the text ends there.
inline qsizetype AfterLineEnd(QByteArrayView text, qsizetype at)
{
    if (at < text.size() && text[at] == '\r')
        ++at;
    else if (at < text.size() && text[at] == '\n')
        return at + 1;
    else
        return at;
    return at < text.size() && text[at] == '\n' ? at + 1 : at;
}

// Where the line ends in the text it is a view of, its line end included.
inline qsizetype LineEndIn(QByteArrayView text, QByteArrayView line)
{
    return AfterLineEnd(text, line.data() + line.size() - text.data());
}

// The first line end of the text, LF where it has none.
inline QByteArrayView LineEndOf(QByteArrayView text)
{
    const qsizetype at = text.indexOf('\n');
    const qsizetype cr = text.indexOf('\r');
    if (cr >= 0 && (at < 0 || cr < at))
        return cr + 1 < text.size() && text[cr + 1] == '\n' ? QByteArrayView("\r\n") : QByteArrayView("\r");
    return "\n";
}
