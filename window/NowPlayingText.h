#pragma once

#include <QByteArray>
#include <QString>

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

} // namespace NowPlayingText
