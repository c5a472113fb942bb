// The current list file: read and written in the format its list type selects.

#include "TFormMediaPlayer.h"

#include "ListFormats.h"
#include "TOECheckListBox.h"

namespace {

enum TListFormat { NoFormat, OmlFormat, PlainFormat };

TListFormat FormatOf(uint8_t listType)
{
    switch (listType) {
    case 1:
        return OmlFormat;
    case 2:
    case 3:
    case 4:
        return PlainFormat;
    default:
        return NoFormat;
    }
}

} // namespace

void TFormMediaPlayer::LoadMediaList()
{
    lbFiles->ClearList();
    RandomPool().Clear();
    switch (FormatOf(ListType())) {
    case OmlFormat:
        lbFiles->LoadListFile(ListFileName());
        break;
    case PlainFormat:
        lbFiles->Append(ListFormats::ReadPlainListFile(ListFileName()));
        break;
    case NoFormat:
        break;
    }
    RandomPool().Clear();
    QList<QByteArray> unmarked;
    for (const TListEntry &entry : lbFiles->Entries())
        if (!entry.Marked)
            unmarked.append(entry.Text);
    RandomPool().Append(unmarked);
}

void TFormMediaPlayer::SaveMediaList()
{
    switch (FormatOf(ListType())) {
    case OmlFormat:
        lbFiles->SaveListFile(ListFileName());
        break;
    case PlainFormat:
        ListFormats::WritePlainListFile(ListFileName(), lbFiles->Texts());
        break;
    case NoFormat:
        break;
    }
}
