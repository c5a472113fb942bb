// Finding in the list: the find bar narrows what the list shows, never the list itself, so
// every command, the play order and every save go on with the whole list.

#include "window/TFormMediaPlayer.h"

#include "controls/TFindBar.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

void TFormMediaPlayer::CreateFindBar()
{
    FFindBar = new TFindBar(this);
    connect(FFindBar, &TFindBar::QueryChanged, lbFiles, &TOECheckListBox::SetFindQuery);
    connect(FFindBar, &TFindBar::CloseAsked, this, [this] { CloseFind(); });
    connect(FFindBar, &TFindBar::MoveAsked, this, [this](QKeyEvent *key) {
        QKeyEvent move(key->type(), key->key(), key->modifiers());
        QApplication::sendEvent(lbFiles, &move);
    });
    connect(FFindBar, &TFindBar::ChooseAsked, this, [this] { RunCommand([this] { PlayFoundEntry(); }); });
    connect(lbFiles, &TOECheckListBox::FindAsked, this, [this] { miFind->trigger(); });
    connect(lbFiles, &TOECheckListBox::ShownChanged, this, [this] { ShowFindCount(); });
    // Esc in the list too, while the bar is open.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), lbFiles, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (FFindBar->isVisible())
            CloseFind();
    });
}

void TFormMediaPlayer::miFindClick(QObject *)
{
    FFindBar->Open();
    ShowFindCount();
}

void TFormMediaPlayer::CloseFind()
{
    const bool hadFocus = FFindBar->isAncestorOf(QApplication::focusWidget());
    FFindBar->Close();
    lbFiles->SetFindQuery(QString());
    lbFiles->ScrollToCurrentSoon();
    if (hadFocus)
        lbFiles->setFocus(Qt::OtherFocusReason);
}

void TFormMediaPlayer::ShowFindCount()
{
    if (FFindBar->isVisibleTo(this))
        FFindBar->ShowCount(lbFiles->ShownCount(), lbFiles->Count());
}

void TFormMediaPlayer::PlayFoundEntry()
{
    int index = lbFiles->ShownItemIndex();
    if (index < 0 && lbFiles->ShownCount() > 0)
        index = lbFiles->EntryAtRow(0);
    if (index >= 0)
        PlayEntry(index);
}

void TFormMediaPlayer::miGoToPlayingEntryClick(QObject *)
{
    const TDeviceMode mode = FMediaPlayer->Mode();
    if (mode != dmPlaying && mode != dmPaused)
        return;
    const int playing = lbFiles->IndexOf(FMediaPlayer->FileName());
    if (playing < 0)
        return;
    if (!lbFiles->IsShown(playing))
        CloseFind();
    lbFiles->SetItemIndex(playing);
    lbFiles->ScrollToCurrentSoon();
}
