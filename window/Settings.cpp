// The window's state as the settings kept between runs, and the list file saved with them.

#include "window/TFormMediaPlayer.h"

#include "errorreport/TOstrelApplication.h"
#include "controls/TOECheckListBox.h"
#include "dialogs/TUserDialogs.h"
#include "medialist/ByteText.h"
#include "medialist/ListFileErrors.h"
#include "window/TAutoSaver.h"
#include "window/TPlayerSettings.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>
#include <exception>

namespace {

// A stored size never makes the window larger than the screen's free area (the minimum
// size still applies).
QSize RoomOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(INT_MAX, INT_MAX);
}

} // namespace

TPlayerSettings TFormMediaPlayer::CurrentSettings(int fileExtension)
{
    return {x(),
            y(),
            width(),
            height(),
            fileExtension,
            miInOrder->isChecked(),
            miRandom->isChecked(),
            AutoSave(),
            BlackMediaList(),
            ListFileName(),
            PlayOrderValue(),
            lbFiles->ItemIndex()};
}

void TFormMediaPlayer::SaveSettings()
{
    if (const QString failure = WriteSettingsAndList(); !failure.isEmpty())
        UserDialogs().ShowMessage(failure);
}

QString TFormMediaPlayer::WriteSettingsAndList()
{
    FAutoSaver->Settle();
    WriteSettings();
    return WriteListFile();
}

void TFormMediaPlayer::WriteSettings()
{
    CurrentSettings(int(ListType())).Write();
    FAutoSaver->SettingsSaved();
}

QString TFormMediaPlayer::WriteListFile()
{
    try {
        SaveMediaList();
        FAutoSaver->ListSaved();
        return {};
    } catch (const EInOutError &error) {
        return QString::fromUtf8(error.what());
    }
}

bool TFormMediaPlayer::SaveBeforeReplacing()
{
    if (!AutoSave())
        return true;
    if (!FAutoSaver->SettingsUnchanged()) {
        try {
            WriteSettings();
        } catch (const std::exception &) {
            // The store is tried again with the next save; the list is what is at stake here.
        }
    }
    // What is on disk already needs no writing, so a list that cannot be written (read-only,
    // or one whose load failed) never stands in the way of the next.
    if (FAutoSaver->ListUnchanged())
        return true;
    const QString failure = WriteListFile();
    if (failure.isEmpty())
        return true;
    return UserDialogs().Confirm(windowTitle(), QStringLiteral("Unable to save the media list \"%1\": %2.\n"
                                                               "Go on without saving it? Its changes will be lost.")
                                                    .arg(DisplayedText(ListFilePath()), failure));
}

void TFormMediaPlayer::LoadSettings()
{
    lbFiles->ClearList();
    const TPlayerSettings stored = TPlayerSettings::Read(CurrentSettings(FSaveDialog.FilterIndex));
    move(stored.Left, stored.Top);
    const QSize room = RoomOnScreen();
    resize(std::min(stored.Width, room.width()), height());
    resize(width(), std::min(stored.Height, room.height()));
    SetListType(ListTypeOf(stored.FileExtension));
    miInOrder->setChecked(stored.InOrder);
    miRandom->setChecked(stored.Random);
    SetAutoSave(stored.AutoSave);
    SetBlackMediaList(stored.BlackMediaList);
    SetListFileName(stored.DefaultFile);
    SetPlayOrderValue(uint8_t(stored.PlayOrder));
    try {
        LoadMediaList();
    } catch (const EInOutError &error) {
        UserDialogs().ShowMessage(QString::fromUtf8(error.what()));
        return;
    }
    lbFiles->SetItemIndex(stored.ItemIndex >= 0 && stored.ItemIndex < lbFiles->Count() ? stored.ItemIndex : -1);
}
