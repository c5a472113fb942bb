// Listening without seams: near the end of what plays, the entry the poll's advance would play
// next is handed to the engine ahead, so that it follows without a gap. Nothing of the
// advance itself changes: when the playing entry ends, the poll chooses, opens and marks the
// next one as it always does, and the device takes up the engine's file if it is that one.
// Whatever changes the choice takes back what was handed ahead.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "medialist/MediaTypes.h"
#include "medialist/TRandomGenerator.h"

#include <QAction>
#include <QTimer>

namespace {

// Two polls before the end: the poll runs once a second.
constexpr uint32_t HandAheadMilliseconds = 3000;

// Video windows change as they always have; an unknown kind of file is not taken for sound.
bool IsSound(const QByteArray &name)
{
    const TMediaType *type = MediaTypeOf(name);
    return type && type->Kind == TMediaKind::Audio;
}

} // namespace

void TFormMediaPlayer::CreateHandAhead()
{
    // Once a turn however many changes come in it: a search adds thousands of entries.
    FHandAhead = new QTimer(this);
    FHandAhead->setSingleShot(true);
    FHandAhead->setInterval(0);
    connect(FHandAhead, &QTimer::timeout, this, &TFormMediaPlayer::UpdateHandAhead);
    const auto soon = [this] { FHandAhead->start(); };
    connect(this, &TFormMediaPlayer::StateMayHaveChanged, this, soon);
    connect(lbFiles, &TOECheckListBox::ShownChanged, this, soon);
}

QByteArray TFormMediaPlayer::PredictedNext()
{
    return Navigator().PeekEntry(TMediaNavigator::NextMove(miInOrder->isChecked(), miRandom->isChecked()), RandomPool(),
                                 ProgramRandom());
}

void TFormMediaPlayer::UpdateHandAhead()
{
    try {
        QByteArray next;
        if (Playing() && FMediaPlayer->Mode() == dmPlaying && IsSound(FMediaPlayer->FileName())
            && !miStopAfterCurrent->isChecked()) {
            const uint32_t length = FMediaPlayer->Length();
            const uint32_t position = std::min(FMediaPlayer->Position(), length);
            if (length > 0 && length - position <= HandAheadMilliseconds)
                next = PredictedNext();
            if (!IsSound(next))
                next.clear();
        }
        FMediaPlayer->HandAhead(next);
    } catch (...) {
        // Only the seam is lost: the advance goes on as it always has.
    }
}
