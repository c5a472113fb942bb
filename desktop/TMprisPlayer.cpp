#include "desktop/TMprisPlayer.h"

#include "desktop/TMprisService.h"
#include "desktop/TMprisState.h"
#include "desktop/TPlayerControl.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>

TMprisPlayer::TMprisPlayer(TMprisService &service) : QDBusAbstractAdaptor(&service), service_(service) { }

QString TMprisPlayer::PlaybackStatus() const
{
    return service_.CurrentState().PlaybackStatus;
}

void TMprisPlayer::SetRate(double rate)
{
    if (rate == 0.0)
        Pause();
}

QVariantMap TMprisPlayer::Metadata() const
{
    return service_.CurrentState().Metadata();
}

double TMprisPlayer::Volume() const
{
    return service_.CurrentState().Volume;
}

void TMprisPlayer::SetVolume(double volume)
{
    if (std::isnan(volume))
        return;
    service_.Control([volume](TPlayerControl &player) { player.SetVolume(std::clamp(volume, 0.0, 1.0)); });
}

qlonglong TMprisPlayer::Position() const
{
    const TPlayerControl *player = service_.Player();
    return player ? player->PositionMs() * MicrosecondsPerMillisecond : 0;
}

bool TMprisPlayer::HasEntries() const
{
    return service_.CurrentState().HasEntries;
}

bool TMprisPlayer::Shuffle() const
{
    return service_.CurrentState().Shuffle;
}

void TMprisPlayer::SetShuffle(bool on)
{
    service_.Control([on](TPlayerControl &player) { player.SetShuffle(on); });
}

bool TMprisPlayer::CanSeek() const
{
    return service_.CurrentState().CanSeek;
}

void TMprisPlayer::Next()
{
    service_.Control([](TPlayerControl &player) { player.Next(); });
}

void TMprisPlayer::Previous()
{
    service_.Control([](TPlayerControl &player) { player.Previous(); });
}

void TMprisPlayer::Pause()
{
    service_.Control([](TPlayerControl &player) { player.Pause(); });
}

void TMprisPlayer::Stop()
{
    service_.Control([](TPlayerControl &player) { player.Stop(); });
}

void TMprisPlayer::Play()
{
    service_.Control([](TPlayerControl &player) { player.Play(); });
}

void TMprisPlayer::PlayPause()
{
    service_.Control([](TPlayerControl &player) { player.PlayPause(); });
}

void TMprisPlayer::Seek(qlonglong offset)
{
    service_.Control([this, offset](TPlayerControl &player) {
        if (!player.MediumOpen())
            return;
        const qlonglong length = player.LengthMs() * MicrosecondsPerMillisecond;
        qlonglong target = 0;
        if (__builtin_add_overflow(player.PositionMs() * MicrosecondsPerMillisecond, offset, &target))
            target = std::numeric_limits<qlonglong>::max();
        if (length > 0 && target > length) {
            player.Next();
            return;
        }
        SeekTo(player, std::max<qlonglong>(target, 0));
    });
}

void TMprisPlayer::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    service_.Control([this, track = trackId.path(), position](TPlayerControl &player) {
        const TMprisState now = TMprisState::Of(player);
        const qlonglong length = now.LengthUs;
        if (!now.CanSeek || track != now.TrackId() || position < 0 || (length > 0 && position > length))
            return;
        SeekTo(player, position);
    });
}

void TMprisPlayer::SeekTo(TPlayerControl &player, qlonglong position)
{
    const qlonglong milliseconds
        = std::min<qlonglong>(position / MicrosecondsPerMillisecond, std::numeric_limits<uint32_t>::max());
    player.SeekTo(milliseconds);
    emit Seeked(milliseconds * MicrosecondsPerMillisecond);
}

void TMprisPlayer::OpenUri(const QString &uri, const QDBusMessage &message)
{
    if (QUrl(uri).scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0) {
        message.setDelayedReply(true);
        service_.Bus().send(message.createErrorReply(QDBusError::NotSupported,
                                                     QStringLiteral("The player opens local files only: file://")));
        return;
    }
    const THandOver handOver = HandOverOf({uri.toUtf8()}, {});
    service_.Later([handOver](TPlayerControl &player) { player.Open(handOver, true); });
}
