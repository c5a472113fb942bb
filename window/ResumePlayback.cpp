// Resume Playback: what played, and where, is kept whenever the settings are, and the next
// start goes on from there when the list still has that entry current.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"

#include <QAction>

std::optional<TResumePoint> TFormMediaPlayer::CurrentResumePoint()
{
    if (!miResumePlayback->isChecked())
        return std::nullopt;
    TResumePoint point;
    try {
        const TDeviceMode mode = FMediaPlayer->Mode();
        if (Playing() && (mode == dmPlaying || mode == dmPaused)) {
            point.Entry = FMediaPlayer->FileName();
            point.Position = int(std::min<uint32_t>(FMediaPlayer->Position(), INT32_MAX));
            point.Paused = mode == dmPaused;
        }
    } catch (...) {
        // A device that cannot tell keeps nothing to resume.
    }
    return point;
}

void TFormMediaPlayer::StoreResumePoint()
{
    if (const std::optional<TResumePoint> point = CurrentResumePoint())
        point->Write();
}

void TFormMediaPlayer::ResumeWhereStopped()
{
    if (!miResumePlayback->isChecked())
        return;
    const TResumePoint point = TResumePoint::Read();
    const int current = lbFiles->ItemIndex();
    if (point.Entry.isEmpty() || current < 0 || lbFiles->Text(current) != point.Entry)
        return;
    try {
        FMediaPlayer->SetFileName(point.Entry);
        FMediaPlayer->Open();
        if (uint32_t(point.Position) >= FMediaPlayer->Length()) {
            FMediaPlayer->Close(); // a position the file no longer has
            return;
        }
        // The sound starts on the next turn, after the seek: nothing of the start is heard.
        FMediaPlayer->Play();
        FMediaPlayer->Seek(uint32_t(point.Position));
        if (point.Paused)
            FMediaPlayer->Pause();
        SetPlaying(true);
        lbFiles->SetChecked(current, true);
        SetStatusText(ModeName(FMediaPlayer->Mode()));
    } catch (...) {
        // Gone, or no longer playable: the start is as without the option, and quiet.
        try {
            FMediaPlayer->Close();
        } catch (...) {
        }
    }
}
