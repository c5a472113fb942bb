#include "desktop/TMprisState.h"

#include "desktop/MprisTrack.h"
#include "desktop/TPlayerControl.h"
#include "medialist/CurrentFolder.h"

#include <QDBusObjectPath>

namespace {

QString StatusName(TPlayerControl::TPlayState state)
{
    switch (state) {
    case TPlayerControl::TPlayState::Playing:
        return QStringLiteral("Playing");
    case TPlayerControl::TPlayState::Paused:
        return QStringLiteral("Paused");
    case TPlayerControl::TPlayState::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

} // namespace

TMprisState TMprisState::Of(const TPlayerControl &player)
{
    TMprisState state;
    state.PlaybackStatus = StatusName(player.PlayState());
    if (const std::optional<QByteArray> entry = player.CurrentEntry()) {
        state.HasTrack = true;
        state.Entry = *entry;
    }
    state.LengthUs = player.LengthMs() * MicrosecondsPerMillisecond;
    const TPlayerControl::TTrackTags tags = player.Tags();
    state.Title = tags.Title;
    state.Artist = tags.Artist;
    state.Album = tags.Album;
    state.Folder = CurrentFolderBytes();
    state.Volume = player.Volume();
    state.HasEntries = player.HasEntries();
    state.CanSeek = player.MediumOpen();
    state.Shuffle = player.Shuffle();
    return state;
}

QString TMprisState::TrackId() const
{
    return HasTrack ? MprisTrack::TrackId(Entry) : MprisTrack::NoTrackId();
}

QVariantMap TMprisState::Metadata() const
{
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId())));
    if (!HasTrack)
        return metadata;
    metadata.insert(QStringLiteral("xesam:url"), MprisTrack::FileUrl(Entry, Folder));
    metadata.insert(QStringLiteral("xesam:title"), Title.isEmpty() ? MprisTrack::Title(Entry) : Title);
    if (!Artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{Artist});
    if (!Album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), Album);
    if (LengthUs > 0)
        metadata.insert(QStringLiteral("mpris:length"), LengthUs);
    return metadata;
}

QVariantMap TMprisState::ChangedSince(const TMprisState &earlier) const
{
    QVariantMap changed;
    if (PlaybackStatus != earlier.PlaybackStatus)
        changed.insert(QStringLiteral("PlaybackStatus"), PlaybackStatus);
    if (HasTrack != earlier.HasTrack || Entry != earlier.Entry || Folder != earlier.Folder
        || LengthUs != earlier.LengthUs || Title != earlier.Title || Artist != earlier.Artist
        || Album != earlier.Album)
        changed.insert(QStringLiteral("Metadata"), Metadata());
    if (Volume != earlier.Volume)
        changed.insert(QStringLiteral("Volume"), Volume);
    if (HasEntries != earlier.HasEntries) {
        for (const char *name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause"})
            changed.insert(QLatin1String(name), HasEntries);
    }
    if (CanSeek != earlier.CanSeek)
        changed.insert(QStringLiteral("CanSeek"), CanSeek);
    if (Shuffle != earlier.Shuffle)
        changed.insert(QStringLiteral("Shuffle"), Shuffle);
    return changed;
}
