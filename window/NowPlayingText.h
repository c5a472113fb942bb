#pragma once

#include <QByteArray>
#include <QString>

class QFontMetrics;

// The texts of what plays, as the status bar shows them.
namespace NowPlayingText {

// "m:ss", or "h:mm:ss" from an hour on; a negative time counts as 0.
QString Time(qint64 milliseconds);
// "elapsed / total", or the elapsed time alone while the total is unknown (0); the elapsed
// time never reads past the total.
QString Progress(qint64 position, qint64 length);
// "Artist – Title" where the tags give both, the title where they give one, else the
// entry's file name.
QString Title(const QString &title, const QString &artist, const QByteArray &entry);
// That text as it fits the width: whole where it can be; else the artist cut at its end while
// the title still fits whole, then the title cut at its end; a file name cut in its middle,
// where a long name keeps its beginning and its end.
QString Fitted(const QString &title, const QString &artist, const QByteArray &entry, const QFontMetrics &metrics,
               int width);

} // namespace NowPlayingText
