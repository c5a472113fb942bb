// The twelve settings kept in the registry between runs, and the list file saved with them.

#include "TFormMediaPlayer.h"

#include "ListFileErrors.h"
#include "OEMPConst.h"
#include "OERegistry.h"
#include "TOECheckListBox.h"
#include "TOstrelApplication.h"
#include "TUserDialogs.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>

namespace {

QString SettingsKey()
{
    return QString::fromLatin1(OEMPConst::ProductRegistryKey);
}

TRegistryWrite Entry(const char *name, const TRegistryValue &value)
{
    return {QString::fromLatin1(name), value};
}

TRegistryValue Read(const TRegistryReader &store, const char *name, const TRegistryValue &current)
{
    return store.Read(DefaultRegistryRoot, SettingsKey(), QString::fromLatin1(name), current);
}

int ReadInteger(const TRegistryReader &store, const char *name, int current)
{
    return Read(store, name, TRegistryValue::Integer(current)).AsInteger();
}

bool ReadBoolean(const TRegistryReader &store, const char *name, bool current)
{
    return Read(store, name, TRegistryValue::Boolean(current)).AsBoolean();
}

// A stored size never makes the window larger than the screen's free area (the minimum
// size still applies).
QSize RoomOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(INT_MAX, INT_MAX);
}

} // namespace

void TFormMediaPlayer::SaveSettings()
{
    // The twelve values in one transaction: a store shared with another player never holds
    // half of them.
    WriteRegistryValues(DefaultRegistryRoot, SettingsKey(),
                        {Entry("Left", TRegistryValue::Integer(x())), Entry("Top", TRegistryValue::Integer(y())),
                         Entry("Width", TRegistryValue::Integer(width())),
                         Entry("Height", TRegistryValue::Integer(height())),
                         Entry("FileExtension", TRegistryValue::Integer(ListType())),
                         Entry("InOrder", TRegistryValue::Boolean(miInOrder->isChecked())),
                         Entry("Random", TRegistryValue::Boolean(miRandom->isChecked())),
                         Entry("AutoSave", TRegistryValue::Boolean(AutoSave())),
                         Entry("BlackMediaList", TRegistryValue::Boolean(BlackMediaList())),
                         Entry("DefaultFile", TRegistryValue::Text(ListFileName())),
                         Entry("PlayOrder", TRegistryValue::Integer(PlayOrderValue())),
                         Entry("ItemIndex", TRegistryValue::Integer(lbFiles->ItemIndex()))});
    try {
        SaveMediaList();
    } catch (const EInOutError &error) {
        UserDialogs().ShowMessage(QString::fromUtf8(error.what()));
    }
}

void TFormMediaPlayer::LoadSettings()
{
    const TRegistryReader store;
    lbFiles->ClearList();
    move(ReadInteger(store, "Left", x()), ReadInteger(store, "Top", y()));
    const QSize room = RoomOnScreen();
    resize(std::min(ReadInteger(store, "Width", width()), room.width()), height());
    resize(width(), std::min(ReadInteger(store, "Height", height()), room.height()));
    SetListType(uint8_t(ReadInteger(store, "FileExtension", FSaveDialog.FilterIndex)));
    miInOrder->setChecked(ReadBoolean(store, "InOrder", miInOrder->isChecked()));
    miRandom->setChecked(ReadBoolean(store, "Random", miRandom->isChecked()));
    SetAutoSave(ReadBoolean(store, "AutoSave", AutoSave()));
    SetBlackMediaList(ReadBoolean(store, "BlackMediaList", BlackMediaList()));
    SetListFileName(Read(store, "DefaultFile", TRegistryValue::Text(ListFileName())).AsText());
    SetPlayOrderValue(uint8_t(ReadInteger(store, "PlayOrder", PlayOrderValue())));
    try {
        LoadMediaList();
    } catch (const EInOutError &error) {
        UserDialogs().ShowMessage(QString::fromUtf8(error.what()));
        return;
    }
    const int itemIndex = ReadInteger(store, "ItemIndex", lbFiles->ItemIndex());
    lbFiles->SetItemIndex(itemIndex >= 0 && itemIndex < lbFiles->Count() ? itemIndex : -1);
}
