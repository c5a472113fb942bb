// The current list file: read and written in the format its list type selects.

#include "TFormMediaPlayer.h"

#include "MediaListFile.h"
#include "TOECheckListBox.h"

void TFormMediaPlayer::LoadMediaList()
{
    lbFiles->ClearList();
    RandomPool().Clear();
    MediaListFile::Load(ListType(), ListFilePath(), lbFiles->MediaEntries());
    RandomPool().Clear();
    lbFiles->MediaEntries().AppendToPool(RandomPool(), 0, true);
}

void TFormMediaPlayer::SaveMediaList()
{
    MediaListFile::Save(ListType(), ListFilePath(), lbFiles->MediaEntries());
}
