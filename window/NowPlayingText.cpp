#include "window/NowPlayingText.h"

#include <QFontMetrics>
#include <algorithm>

namespace NowPlayingText {

QString Time(qint64 milliseconds)
{
    const qint64 seconds = std::max<qint64>(milliseconds, 0) / 1000;
    const QString secondsOfMinute = QStringLiteral(":%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 3600)
        return QString::number(seconds / 60) + secondsOfMinute;
    return QStringLiteral("%1:%2").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
           + secondsOfMinute;
}

QString Progress(qint64 position, qint64 length)
{
    if (length <= 0)
        return Time(position);
    return Time(std::min(position, length)) + QStringLiteral(" / ") + Time(length);
}

namespace {

const QString Dash = QStringLiteral(" \u2013 ");

} // namespace

QString Title(const QString &title, const QString &artist, const QByteArray &entry)
{
    if (!title.isEmpty() && !artist.isEmpty())
        return artist + Dash + title;
    if (!title.isEmpty())
        return title;
    return QString::fromUtf8(entry.mid(entry.lastIndexOf('/') + 1));
}

QString Fitted(const QString &title, const QString &artist, const QByteArray &entry, const QFontMetrics &metrics,
               int width)
{
    const QString whole = Title(title, artist, entry);
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    if (title.isEmpty())
        return metrics.elidedText(whole, Qt::ElideMiddle, width);
    if (!artist.isEmpty()) {
        // The artist keeps at least its first letter and the ellipsis.
        const int room = width - metrics.horizontalAdvance(Dash + title);
        const QString artistShown = metrics.elidedText(artist, Qt::ElideRight, room);
        if (room > 0 && artistShown.size() > 1)
            return artistShown + Dash + title;
    }
    return metrics.elidedText(title, Qt::ElideRight, width);
}

} // namespace NowPlayingText
