// The buttons and the one-second poll drive the media device for the media list. Every
// operation catches what it calls, reports it in its own words or drops it.

#include "window/TFormMediaPlayer.h"

#include "errorreport/TOstrelApplication.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "dialogs/TUserDialogs.h"
#include "medialist/ListFileErrors.h"

#include <QAction>
#include <QTimer>
#include <array>

namespace {

const std::array<const char *, 7> ModeNames = {"Not ready", "Stopped", "Playing", "Recording",
                                               "Seeking",   "Paused",  "Open"};

void Tell(const QString &message)
{
    UserDialogs().ShowMessage(message);
}

QString TextOf(const std::exception &error)
{
    return QString::fromUtf8(error.what());
}

QString OpenFailure(const QByteArray &entry, const QString &reason)
{
    return QStringLiteral("Unable to open media file \"%1\": %2").arg(QString::fromUtf8(entry), reason);
}

} // namespace

void TFormMediaPlayer::sbPlayClick(QObject *) { PlayMedia(); }
void TFormMediaPlayer::sbStopClick(QObject *) { StopMedia(); }
void TFormMediaPlayer::sbCloseClick(QObject *) { CloseMedia(); }
void TFormMediaPlayer::sbNextClick(QObject *) { NextMedia(); }
void TFormMediaPlayer::sbPauseClick(QObject *) { PauseMedia(); }
void TFormMediaPlayer::sbPreviousClick(QObject *) { PreviousMedia(); }

QString TFormMediaPlayer::ModeName(TDeviceMode mode)
{
    return QString::fromLatin1(ModeNames.at(mode));
}

bool TFormMediaPlayer::PlayMedia()
{
    try {
        if (lbFiles->Count() == 0)
            return true;
        if (FMediaPlayer->Mode() == dmPaused) {
            FMediaPlayer->Resume();
        } else {
            // With entries but none current, Play plays what Next would choose: the first
            // entry in order, a draw of the random cycle at random.
            if (lbFiles->ItemIndex() < 0)
                ChooseNext();
            FMediaPlayer->SetFileName(lbFiles->Text(lbFiles->ItemIndex()));
            OpenMedia();
            FMediaPlayer->Play();
            SetPlaying(true);
            const int played = lbFiles->IndexOf(FMediaPlayer->FileName());
            lbFiles->SetChecked(played, true);
        }
        SetStatusText(QStringLiteral("Playing"));
    } catch (const EInOutError &) {
        const int current = lbFiles->ItemIndex();
        const QString entry = current >= 0 ? QString::fromUtf8(lbFiles->Text(current)) : QString();
        Tell(QStringLiteral("Unable to play file ") + entry + QLatin1Char('.'));
    } catch (const std::exception &error) {
        Tell(TextOf(error));
    }
    return true;
}

bool TFormMediaPlayer::PauseMedia()
{
    try {
        if (FMediaPlayer->Mode() != dmPaused)
            FMediaPlayer->Pause();
    } catch (...) {
        Tell(QStringLiteral("Unable to pause Media Player!"));
    }
    return true;
}

bool TFormMediaPlayer::StopMedia()
{
    try {
        const TDeviceMode mode = FMediaPlayer->Mode();
        if (mode != dmStopped && mode != dmNotReady)
            FMediaPlayer->Stop();
        SetPlaying(false);
        SetStatusText(QStringLiteral("Stopped"));
    } catch (...) {
        // A failed stop leaves everything as it was, without a message.
    }
    return true;
}

bool TFormMediaPlayer::OpenMedia()
{
    try {
        if (FMediaPlayer->Mode() != dmOpen)
            FMediaPlayer->Open();
        return true;
    } catch (const std::exception &error) {
        Tell(OpenFailure(FMediaPlayer->FileName(), TextOf(error)));
    } catch (...) {
        Tell(OpenFailure(FMediaPlayer->FileName(), QStringLiteral("Unknown exception")));
    }
    return false;
}

bool TFormMediaPlayer::CloseMedia()
{
    try {
        const TDeviceMode mode = FMediaPlayer->Mode();
        if (mode == dmPlaying || mode == dmPaused) {
            StopMedia();
            FMediaPlayer->Close();
        }
        SetStatusText(QStringLiteral("Closed"));
        return true;
    } catch (...) {
        Tell(QStringLiteral("Unable to close Media Player!"));
        return false;
    }
}

bool TFormMediaPlayer::NextMedia()
{
    try {
        CloseMedia();
        FMediaPlayer->SetFileName(ChooseNext());
        OpenMedia();
        PlayMedia();
    } catch (...) {
        Tell(QStringLiteral("Unable to move to the next track!"));
    }
    return true;
}

bool TFormMediaPlayer::PreviousMedia()
{
    try {
        FMediaPlayer->SetFileName(ChoosePrevious());
        OpenMedia();
        PlayMedia();
    } catch (...) {
        Tell(QStringLiteral("Unable to move to the next track!"));
    }
    return true;
}

void TFormMediaPlayer::PollAtEndOfMedium()
{
    if (!Playing() || FMediaPlayer->NotifyValue() != dnSuccessful || FMediaPlayer->Mode() != dmStopped)
        return;
    Timer1->start();
    TimerTimer(Timer1);
}

void TFormMediaPlayer::TimerTimer(QObject *)
{
    try {
        if (!Playing())
            return;
        if (FMediaPlayer->Mode() == dmStopped) {
            SetPlaying(false);
            if (miStopAfterCurrent->isChecked()) {
                // Asked for once: the entry that ended stays current and nothing follows it.
                miStopAfterCurrent->setChecked(false);
                StopMedia();
            } else {
                NextMedia();
                sbPlayClick(this);
            }
        }
        SetStatusText(ModeName(FMediaPlayer->Mode()));
        FMediaPlayer->SetNotify(true);
    } catch (...) {
        // The poll reports nothing.
    }
}
