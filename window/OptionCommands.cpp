// The Options menu and the list types the file dialogs choose.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "window/FormColours.h"
#include "window/TNowPlayingBar.h"
#include "window/TPlayerSettings.h"
#include "window/WindowValues.h"

#include <QAction>

void TFormMediaPlayer::SetBlackMediaList(bool on)
{
    miBlackMediaList->setChecked(on);
    const bool black = miBlackMediaList->isChecked();
    QPalette palette = lbFiles->palette();
    palette.setColor(QPalette::Base, black ? clBlack : clWhite);
    palette.setColor(QPalette::Text, black ? clLime : clBlack);
    lbFiles->setPalette(palette);
    QFont font = lbFiles->font();
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    lbFiles->setFont(font);
    ColourNowPlaying();
}

void TFormMediaPlayer::ColourNowPlaying()
{
    if (!FNowPlaying)
        return;
    const QPalette list = lbFiles->palette();
    FNowPlaying->SetTextColours(list.color(QPalette::Base), list.color(QPalette::Text));
}

void TFormMediaPlayer::miShowControlsClick(QObject *)
{
    miShowControls->setChecked(!miShowControls->isChecked());
}

void TFormMediaPlayer::miEvenOutLoudnessClick(QObject *)
{
    const bool on = !miEvenOutLoudness->isChecked();
    StoredOption::Write(StoredOption::EvenOutLoudness, on);
    miEvenOutLoudness->setChecked(on);
    FMediaPlayer->SetEvenLoudness(on);
}

void TFormMediaPlayer::miResumePlaybackClick(QObject *)
{
    const bool on = !miResumePlayback->isChecked();
    StoredOption::Write(StoredOption::ResumePlayback, on);
    miResumePlayback->setChecked(on);
}

void TFormMediaPlayer::miAutoSaveClick(QObject *)
{
    SetAutoSave(!AutoSave());
    // Unchecked, a close writes nothing: without this the choice would be gone at the next start.
    TPlayerSettings::WriteAutoSave(AutoSave());
}

void TFormMediaPlayer::miStopAfterCurrentClick(QObject *)
{
    miStopAfterCurrent->setChecked(!miStopAfterCurrent->isChecked());
}

void TFormMediaPlayer::miBlackMediaListClick(QObject *)
{
    SetBlackMediaList(!miBlackMediaList->isChecked());
}

void TFormMediaPlayer::SetOrderType(QObject *sender)
{
    if (!sender)
        return;
    if (sender->objectName() == QLatin1String("miInOrder"))
        miInOrder->setChecked(true);
    else if (sender->objectName() == QLatin1String("miRandom"))
        miRandom->setChecked(true);
}

void TFormMediaPlayer::FOpenDialogTypeChange(TFileDialog &sender)
{
    SetListType(ListTypeOf(sender.FilterIndex));
}

void TFormMediaPlayer::FSaveDialogTypeChange(TFileDialog &sender)
{
    SetListType(ListTypeOf(sender.FilterIndex));
}
