#include "window/TWindowPlayerControl.h"

#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "window/TFormMediaPlayer.h"

#include <QAction>
#include <QTimer>
#include <algorithm>
#include <limits>

TWindowPlayerControl::TWindowPlayerControl(TFormMediaPlayer &form) : form_(form), retry_(new QTimer(this))
{
    retry_->setInterval(100);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &TWindowPlayerControl::OpenHeld);
    connect(&form, &TFormMediaPlayer::StateMayHaveChanged, this, &TPlayerControl::StateMayHaveChanged);
}

bool TWindowPlayerControl::AcceptsCommands() const
{
    return form_.AcceptsCommands();
}

void TWindowPlayerControl::Play()
{
    form_.RunCommand([this] { form_.sbPlayClick(form_.sbPlay); });
}

void TWindowPlayerControl::Pause()
{
    form_.RunCommand([this] { form_.sbPauseClick(form_.sbPause); });
}

void TWindowPlayerControl::PlayPause()
{
    form_.RunCommand([this] {
        if (form_.FMediaPlayer->Mode() == dmPlaying)
            form_.sbPauseClick(form_.sbPause);
        else
            form_.sbPlayClick(form_.sbPlay);
    });
}

void TWindowPlayerControl::Stop()
{
    form_.RunCommand([this] { form_.sbStopClick(form_.sbStop); });
}

void TWindowPlayerControl::Next()
{
    form_.RunCommand([this] { form_.sbNextClick(form_.sbNext); });
}

void TWindowPlayerControl::Previous()
{
    form_.RunCommand([this] { form_.sbPreviousClick(form_.sbPrevious); });
}

void TWindowPlayerControl::SeekTo(qint64 milliseconds)
{
    const auto addressable = std::clamp<qint64>(milliseconds, 0, std::numeric_limits<uint32_t>::max());
    form_.RunCommand([this, addressable] {
        // The end of the track is where the next one begins, as when it plays to its end.
        const qint64 length = LengthMs();
        if (length > 0 && addressable >= length)
            form_.sbNextClick(form_.sbNext);
        else
            form_.FMediaPlayer->Seek(uint32_t(addressable));
    });
}

void TWindowPlayerControl::SetVolume(double volume)
{
    form_.RunCommand([this, volume] { form_.ChangeVolume(volume); });
}

void TWindowPlayerControl::Quit()
{
    form_.RunCommand([this] { form_.miExitClick(form_.miExit); });
}

void TWindowPlayerControl::Raise()
{
    if (form_.StartingUp())
        return; // the window shows once it is up
    form_.setWindowState(form_.windowState() & ~Qt::WindowMinimized);
    form_.show();
    form_.raise();
    form_.activateWindow();
}

void TWindowPlayerControl::SetShuffle(bool on)
{
    form_.RunCommand([this, on] { form_.SetOrderType(on ? form_.miRandom : form_.miInOrder); });
}

void TWindowPlayerControl::Open(const THandOver &handOver, bool playFirst)
{
    held_.append({handOver, playFirst});
    OpenHeld();
}

void TWindowPlayerControl::OpenHeld()
{
    while (!held_.isEmpty() && AcceptsCommands()) {
        const THeldHandOver next = held_.takeFirst();
        form_.RunCommand([this, &next] { form_.OpenHandOver(next.HandOver, next.PlayFirst); });
    }
    if (!held_.isEmpty())
        retry_->start();
}

TPlayerControl::TPlayState TWindowPlayerControl::PlayState() const
{
    const TDeviceMode mode = form_.FMediaPlayer->Mode();
    if (mode == dmPlaying && form_.Playing())
        return TPlayState::Playing;
    return mode == dmPaused ? TPlayState::Paused : TPlayState::Stopped;
}

std::optional<QByteArray> TWindowPlayerControl::CurrentEntry() const
{
    if (form_.FMediaPlayer->Opened())
        return form_.FMediaPlayer->FileName();
    const int selected = form_.lbFiles->ItemIndex();
    if (selected >= 0)
        return form_.lbFiles->Text(selected);
    return std::nullopt;
}

qint64 TWindowPlayerControl::LengthMs() const
{
    return MediumOpen() ? qint64(form_.FMediaPlayer->Length()) : 0;
}

TPlayerControl::TTrackTags TWindowPlayerControl::Tags() const
{
    const TMediaTags tags = form_.FMediaPlayer->Tags();
    return {tags.Title, tags.Artist, tags.Album};
}

qint64 TWindowPlayerControl::PositionMs() const
{
    return qint64(form_.FMediaPlayer->Position());
}

double TWindowPlayerControl::Volume() const
{
    return form_.FMediaPlayer->Volume();
}

bool TWindowPlayerControl::HasEntries() const
{
    return form_.lbFiles->Count() > 0;
}

bool TWindowPlayerControl::MediumOpen() const
{
    return form_.FMediaPlayer->Opened();
}

bool TWindowPlayerControl::Shuffle() const
{
    return form_.miRandom->isChecked();
}
