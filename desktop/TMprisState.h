#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

class TPlayerControl;

// The bus counts time in microseconds, the player in milliseconds.
inline constexpr qint64 MicrosecondsPerMillisecond = 1000;

// What desktop media controls show of the player at one moment; the properties that
// differ from an earlier moment are what the controls are told of.
struct TMprisState {
    QString PlaybackStatus = QStringLiteral("Stopped");
    bool HasTrack = false;
    QByteArray Entry; // the medium that is open, else the selected entry
    QByteArray Folder; // where a relative entry is found
    qint64 LengthUs = 0; // 0 while unknown
    QString Title; // of the tags; empty where they name none, as Artist and Album
    QString Artist;
    QString Album;
    double Volume = 1.0;
    bool HasEntries = false;
    bool CanSeek = false;
    bool Shuffle = false;

    static TMprisState Of(const TPlayerControl &player);

    QString TrackId() const;
    QVariantMap Metadata() const;
    // Each property of the player's interface whose value differs from the earlier state.
    QVariantMap ChangedSince(const TMprisState &earlier) const;
};
