// The keys that play in the main window, beside the buttons: Z X C V B as in other classic
// players, and the keyboard's media keys while the window has the focus. A text field keeps
// its letters and a box or dialog its keys, since they go to another widget or window first.
// The same keys, and Space, pressed in the video window reach the player here too.

#include "window/TFormMediaPlayer.h"

#include "controls/TOEButton.h"
#include "desktop/TPlayerControl.h"

#include <QShortcut>

namespace {

struct TPlaybackKey {
    Qt::Key Key;
    TOEButton *TFormMediaPlayer::*Button; // none: play or pause, by what the medium does
};

using F = TFormMediaPlayer;

const TPlaybackKey PlaybackKeys[] = {
    {Qt::Key_Z, &F::sbPrevious},         {Qt::Key_X, &F::sbPlay},           {Qt::Key_C, &F::sbPause},
    {Qt::Key_V, &F::sbStop},             {Qt::Key_B, &F::sbNext},           {Qt::Key_MediaPrevious, &F::sbPrevious},
    {Qt::Key_MediaPlay, &F::sbPlay},     {Qt::Key_MediaPause, &F::sbPause}, {Qt::Key_MediaStop, &F::sbStop},
    {Qt::Key_MediaNext, &F::sbNext},     {Qt::Key_MediaTogglePlayPause, nullptr},
};

TOEButton *TFormMediaPlayer::*ButtonOf(TVideoKey key)
{
    switch (key) {
    case TVideoKey::Previous:
        return &F::sbPrevious;
    case TVideoKey::Play:
        return &F::sbPlay;
    case TVideoKey::Pause:
        return &F::sbPause;
    case TVideoKey::Stop:
        return &F::sbStop;
    case TVideoKey::Next:
        return &F::sbNext;
    case TVideoKey::PlayPause:
        break;
    }
    return nullptr;
}

} // namespace

void TFormMediaPlayer::CreatePlaybackKeys()
{
    for (const TPlaybackKey &key : PlaybackKeys) {
        auto *shortcut = new QShortcut(QKeySequence(key.Key), this);
        // Held down, a key acts once: a run of Next through a long list is no one's wish.
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, [this, button = key.Button] { PressPlaybackKey(button); });
    }
    connect(FMediaPlayer, &TMediaPlayer::VideoKeyPressed, this, [this](TVideoKey key) { PressPlaybackKey(ButtonOf(key)); });
}

void TFormMediaPlayer::PressPlaybackKey(TOEButton *TFormMediaPlayer::*button)
{
    if (!button) {
        PlayerControl().PlayPause();
        return;
    }
    // As a click of the button: its binding runs the handler through the gate.
    TOEButton *pressed = this->*button;
    if (pressed->OnClick)
        pressed->OnClick(pressed);
}
