#include "desktop/TMprisPlayer.h"

#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "desktop/TMprisService.h"
#include "desktop/TMprisState.h"
#include "window/TFormMediaPlayer.h"

#include <QDBusConnection>
#include <QDBusError>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qlonglong UsPerMs = 1000;

} // namespace

TMprisPlayer::TMprisPlayer(TMprisService &service) : QDBusAbstractAdaptor(&service), service_(service) { }

TMediaPlayer &TMprisPlayer::Device() const
{
    return *service_.Form().FMediaPlayer;
}

QString TMprisPlayer::PlaybackStatus() const
{
    return TMprisState::Of(service_.Form()).PlaybackStatus;
}

void TMprisPlayer::SetRate(double rate)
{
    if (rate == 0.0)
        Pause();
}

QVariantMap TMprisPlayer::Metadata() const
{
    return TMprisState::Of(service_.Form()).Metadata();
}

double TMprisPlayer::Volume() const
{
    return Device().Volume();
}

void TMprisPlayer::SetVolume(double volume)
{
    if (std::isnan(volume))
        return;
    service_.Control([this, volume] { Device().SetVolume(std::clamp(volume, 0.0, 1.0)); });
}

qlonglong TMprisPlayer::Position() const
{
    return qlonglong(Device().Position()) * UsPerMs;
}

bool TMprisPlayer::HasEntries() const
{
    return service_.Form().lbFiles->Count() > 0;
}

bool TMprisPlayer::CanSeek() const
{
    return Device().Opened();
}

void TMprisPlayer::Click(THandler handler, TOEButton *TFormMediaPlayer::*button)
{
    TFormMediaPlayer &form = service_.Form();
    service_.Control([&form, handler, button] { (form.*handler)(form.*button); });
}

void TMprisPlayer::Next()
{
    Click(&TFormMediaPlayer::sbNextClick, &TFormMediaPlayer::sbNext);
}

void TMprisPlayer::Previous()
{
    Click(&TFormMediaPlayer::sbPreviousClick, &TFormMediaPlayer::sbPrevious);
}

void TMprisPlayer::Pause()
{
    Click(&TFormMediaPlayer::sbPauseClick, &TFormMediaPlayer::sbPause);
}

void TMprisPlayer::Stop()
{
    Click(&TFormMediaPlayer::sbStopClick, &TFormMediaPlayer::sbStop);
}

void TMprisPlayer::Play()
{
    Click(&TFormMediaPlayer::sbPlayClick, &TFormMediaPlayer::sbPlay);
}

void TMprisPlayer::PlayPause()
{
    // Decided when it runs: two presses in a row toggle twice.
    TFormMediaPlayer &form = service_.Form();
    service_.Control([&form] {
        if (form.FMediaPlayer->Mode() == dmPlaying)
            form.sbPauseClick(form.sbPause);
        else
            form.sbPlayClick(form.sbPlay);
    });
}

void TMprisPlayer::Seek(qlonglong offset)
{
    service_.Control([this, offset] {
        if (!CanSeek())
            return;
        const qlonglong length = qlonglong(Device().Length()) * UsPerMs;
        qlonglong target = 0;
        if (__builtin_add_overflow(Position(), offset, &target))
            target = std::numeric_limits<qlonglong>::max();
        if (length > 0 && target > length) {
            TFormMediaPlayer &form = service_.Form();
            form.sbNextClick(form.sbNext);
            return;
        }
        SeekTo(std::max<qlonglong>(target, 0));
    });
}

void TMprisPlayer::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    service_.Control([this, track = trackId.path(), position] {
        const TMprisState now = TMprisState::Of(service_.Form());
        const qlonglong length = now.LengthUs;
        if (!now.CanSeek || track != now.TrackId() || position < 0 || (length > 0 && position > length))
            return;
        SeekTo(position);
    });
}

void TMprisPlayer::SeekTo(qlonglong position)
{
    const qlonglong milliseconds = std::min<qlonglong>(position / UsPerMs, std::numeric_limits<uint32_t>::max());
    Device().Seek(uint32_t(milliseconds));
    emit Seeked(milliseconds * UsPerMs);
}

void TMprisPlayer::OpenUri(const QString &, const QDBusMessage &message)
{
    message.setDelayedReply(true);
    service_.Bus().send(message.createErrorReply(
        QDBusError::NotSupported, QStringLiteral("The player opens no URIs; it plays the entries of its list.")));
}
