// The main window's way through the media list, by the navigator of its entries; the
// choice of move calls the overridable moves.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "medialist/TRandomGenerator.h"

#include <QAction>

TMediaNavigator TFormMediaPlayer::Navigator()
{
    return TMediaNavigator(lbFiles->MediaEntries(), *lbFiles);
}

QByteArray TFormMediaPlayer::NextEntry()
{
    return Navigator().NextEntry();
}

QByteArray TFormMediaPlayer::PreviousEntry()
{
    return Navigator().PreviousEntry();
}

QByteArray TFormMediaPlayer::RandomEntry()
{
    try {
        return Navigator().RandomEntry(RandomPool(), ProgramRandom());
    } catch (...) {
        return {}; // an overridden pool that fails draws nothing
    }
}

QByteArray TFormMediaPlayer::Moved(TMediaNavigator::TMove move)
{
    switch (move) {
    case TMediaNavigator::TMove::Next:
        return NextEntry();
    case TMediaNavigator::TMove::Previous:
        return PreviousEntry();
    case TMediaNavigator::TMove::Random:
        return RandomEntry();
    case TMediaNavigator::TMove::None:
        break;
    }
    return {};
}

QByteArray TFormMediaPlayer::ChooseNext()
{
    return Moved(TMediaNavigator::NextMove(miInOrder->isChecked(), miRandom->isChecked()));
}

QByteArray TFormMediaPlayer::ChoosePrevious()
{
    return Moved(TMediaNavigator::PreviousMove(PlayOrderValue()));
}
