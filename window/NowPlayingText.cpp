#include "window/NowPlayingText.h"

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

QString Title(const QString &title, const QString &artist, const QByteArray &entry)
{
    if (!title.isEmpty() && !artist.isEmpty())
        return artist + QStringLiteral(" \u2013 ") + title;
    if (!title.isEmpty())
        return title;
    return QString::fromUtf8(entry.mid(entry.lastIndexOf('/') + 1));
}

} // namespace NowPlayingText
