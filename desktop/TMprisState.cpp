#include "desktop/TMprisState.h"

#include "controls/TOECheckListBox.h"
#include "desktop/MprisTrack.h"
#include "medialist/CurrentFolder.h"
#include "window/TFormMediaPlayer.h"

#include <QDBusObjectPath>

namespace {

QString StatusOf(TFormMediaPlayer &form)
{
    const TDeviceMode mode = form.FMediaPlayer->Mode();
    if (mode == dmPlaying && form.Playing())
        return QStringLiteral("Playing");
    return mode == dmPaused ? QStringLiteral("Paused") : QStringLiteral("Stopped");
}

} // namespace

TMprisState TMprisState::Of(TFormMediaPlayer &form)
{
    TMprisState state;
    TMediaPlayer &device = *form.FMediaPlayer;
    state.PlaybackStatus = StatusOf(form);
    const int selected = form.lbFiles->ItemIndex();
    if (device.Opened()) {
        state.HasTrack = true;
        state.Entry = device.FileName();
        state.LengthUs = qint64(device.Length()) * 1000;
    } else if (selected >= 0) {
        state.HasTrack = true;
        state.Entry = form.lbFiles->Text(selected);
    }
    state.Folder = CurrentFolderBytes();
    state.Volume = device.Volume();
    state.HasEntries = form.lbFiles->Count() > 0;
    state.CanSeek = device.Opened();
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
    metadata.insert(QStringLiteral("xesam:title"), MprisTrack::Title(Entry));
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
        || LengthUs != earlier.LengthUs)
        changed.insert(QStringLiteral("Metadata"), Metadata());
    if (Volume != earlier.Volume)
        changed.insert(QStringLiteral("Volume"), Volume);
    if (HasEntries != earlier.HasEntries) {
        for (const char *name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause"})
            changed.insert(QLatin1String(name), HasEntries);
    }
    if (CanSeek != earlier.CanSeek)
        changed.insert(QStringLiteral("CanSeek"), CanSeek);
    return changed;
}
