// The current list file: read and written in the format its list type selects.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "medialist/InOutErrorCodes.h"
#include "medialist/ListFileErrors.h"
#include "medialist/MediaListFile.h"

void TFormMediaPlayer::LoadMediaList()
{
    lbFiles->ClearList();
    RandomPool().Clear();
    FRefusedListFile.clear();
    try {
        MediaListFile::Load(ListType(), ListFilePath(), lbFiles->MediaEntries());
    } catch (const EInOutError &error) {
        if (error.ErrorCode() == InOutCode::NotEnoughMemory)
            FRefusedListFile = ListFilePath();
        throw;
    }
    RandomPool().Clear();
    lbFiles->MediaEntries().AppendToPool(RandomPool(), 0, true);
}

bool TFormMediaPlayer::MayWriteListFile() const
{
    // A list too large to load is still the user's: the empty list shown is never saved over it.
    const bool refused = !FRefusedListFile.isEmpty() && FRefusedListFile == ListFilePath();
    const int type = int(ListType());
    return !refused && type >= int(TListType::Oml) && type <= int(TListType::AnyFile);
}

void TFormMediaPlayer::SaveMediaList()
{
    if (MayWriteListFile())
        MediaListFile::Save(ListType(), ListFilePath(), lbFiles->MediaEntries());
}
