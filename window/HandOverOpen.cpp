// What the desktop hands the window (a command line, a file manager's Open With, a drop):
// files join the list as Add adds them, folders as Search walks them.

#include "window/TFormMediaPlayer.h"

#include "errorreport/TOstrelApplication.h"
#include "controls/TOECheckListBox.h"
#include "desktop/HandOver.h"
#include "dialogs/TUserDialogs.h"
#include "medialist/FolderWalk.h"
#include "medialist/ListFileErrors.h"
#include "medialist/MediaTypes.h"

void TFormMediaPlayer::OpenHandOver(const THandOver &handOver, bool playFirst)
{
    const int first = lbFiles->Count();
    QStringList refused = handOver.Refused;
    RunSearch([&](const std::function<void(const QByteArray &)> &add) {
        for (const THandOver::TItem &item : handOver.Items) {
            if (!item.Folder) {
                for (const QByteArray &entry : WithPlaylistEntries({item.Path}, refused))
                    add(entry);
                continue;
            }
            try {
                WalkFolder(item.Path, MediaPatterns(), add);
            } catch (const EInOutError &error) {
                // What the walk found before it stopped stays.
                refused << RefusalLine(
                    item.Path, QStringLiteral("not walked to its end (%1)").arg(QString::fromUtf8(error.what())));
            }
        }
    });
    if (playFirst && lbFiles->Count() > first)
        PlayEntry(first);
    if (!refused.isEmpty())
        UserDialogs().ShowMessage(RefusedMessage(refused));
}

void TFormMediaPlayer::PlayEntry(int index)
{
    CloseMedia();
    lbFiles->SetItemIndex(index);
    PlayMedia();
}
