// The current list file: read and written in the format its list type selects.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "desktop/HandOver.h"
#include "dialogs/TUserDialogs.h"
#include "errorreport/TOstrelApplication.h"
#include "medialist/InOutErrorCodes.h"
#include "medialist/ListFileErrors.h"
#include "medialist/MediaListFile.h"
#include "medialist/MediaTypes.h"
#include "medialist/PlaylistSource.h"
#include "window/TAutoSaver.h"

namespace {

QStringList RefusalLines(const QList<TLeftOut> &leftOut)
{
    QStringList lines;
    for (const TLeftOut &name : leftOut)
        lines << RefusalLine(name.Name, name.Reason);
    return lines;
}

} // namespace

void TFormMediaPlayer::LoadMediaList()
{
    lbFiles->ClearList();
    RandomPool().Clear();
    FHistory.Clear();
    FRefusedListFile.clear();
    QList<TLeftOut> leftOut;
    FPlaylistSource.reset();
    try {
        leftOut = MediaListFile::Load(ListType(), ListFilePath(), lbFiles->MediaEntries(), &FPlaylistSource);
    } catch (const EInOutError &error) {
        if (error.ErrorCode() == InOutCode::NotEnoughMemory)
            FRefusedListFile = ListFilePath();
        throw;
    }
    RandomPool().Clear();
    lbFiles->MediaEntries().AppendToPool(RandomPool(), 0, true);
    if (!leftOut.isEmpty())
        UserDialogs().ShowMessage(RefusedMessage(RefusalLines(leftOut)));
}

QList<QByteArray> TFormMediaPlayer::PlaylistEntries(const QByteArray &path, QStringList &refused)
{
    try {
        const TPlaylist playlist = MediaListFile::ReadPlaylist(MediaTypeOf(path)->ListType, path);
        refused << RefusalLines(playlist.LeftOut);
        return playlist.Entries;
    } catch (const EInOutError &error) {
        refused << RefusalLine(path, QStringLiteral("could not be read (%1)").arg(QString::fromUtf8(error.what())));
    } catch (const EFileStreamError &) {
        refused << RefusalLine(path, QStringLiteral("could not be read"));
    }
    return {};
}

QList<QByteArray> TFormMediaPlayer::WithPlaylistEntries(const QList<QByteArray> &names, QStringList &refused)
{
    QList<QByteArray> entries;
    entries.reserve(names.size());
    for (const QByteArray &name : names) {
        if (IsPlaylistName(name))
            entries << PlaylistEntries(name, refused);
        else
            entries << name;
    }
    return entries;
}

bool TFormMediaPlayer::MayWriteListFile() const
{
    // A list too large to load is still the user's: the empty list shown is never saved over it.
    const bool refused = !FRefusedListFile.isEmpty() && FRefusedListFile == ListFilePath();
    const int type = int(ListType());
    return !refused && type >= int(TListType::Oml) && type <= int(TListType::Xspf);
}

void TFormMediaPlayer::SaveMediaList()
{
    // Another player's playlist holds nothing of a mark: unchanged, it stays as it is.
    if (!MayWriteListFile() || (!KeepsMarks(ListType()) && FAutoSaver->ListUnchanged()))
        return;
    MediaListFile::Save(ListType(), ListFilePath(), lbFiles->MediaEntries(), FPlaylistSource.get());
}
