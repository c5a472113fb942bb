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

void Write(const char *name, const TRegistryValue &value)
{
    WriteRegistry(DefaultRegistryRoot, SettingsKey(), QString::fromLatin1(name), value);
}

TRegistryValue Read(const char *name, const TRegistryValue &current)
{
    return ReadRegistry(DefaultRegistryRoot, SettingsKey(), QString::fromLatin1(name), current);
}

int ReadInteger(const char *name, int current)
{
    return Read(name, TRegistryValue::Integer(current)).AsInteger();
}

bool ReadBoolean(const char *name, bool current)
{
    return Read(name, TRegistryValue::Boolean(current)).AsBoolean();
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
    Write("Left", TRegistryValue::Integer(x()));
    Write("Top", TRegistryValue::Integer(y()));
    Write("Width", TRegistryValue::Integer(width()));
    Write("Height", TRegistryValue::Integer(height()));
    Write("FileExtension", TRegistryValue::Integer(ListType()));
    Write("InOrder", TRegistryValue::Boolean(miInOrder->isChecked()));
    Write("Random", TRegistryValue::Boolean(miRandom->isChecked()));
    Write("AutoSave", TRegistryValue::Boolean(AutoSave()));
    Write("BlackMediaList", TRegistryValue::Boolean(BlackMediaList()));
    Write("DefaultFile", TRegistryValue::Text(ListFileName()));
    Write("PlayOrder", TRegistryValue::Integer(PlayOrderValue()));
    Write("ItemIndex", TRegistryValue::Integer(lbFiles->ItemIndex()));
    try {
        SaveMediaList();
    } catch (const EInOutError &error) {
        UserDialogs().ShowMessage(QString::fromUtf8(error.what()));
    }
}

void TFormMediaPlayer::LoadSettings()
{
    lbFiles->ClearList();
    move(ReadInteger("Left", x()), ReadInteger("Top", y()));
    const QSize room = RoomOnScreen();
    resize(std::min(ReadInteger("Width", width()), room.width()), height());
    resize(width(), std::min(ReadInteger("Height", height()), room.height()));
    SetListType(uint8_t(ReadInteger("FileExtension", FSaveDialog.FilterIndex)));
    miInOrder->setChecked(ReadBoolean("InOrder", miInOrder->isChecked()));
    miRandom->setChecked(ReadBoolean("Random", miRandom->isChecked()));
    SetAutoSave(ReadBoolean("AutoSave", AutoSave()));
    SetBlackMediaList(ReadBoolean("BlackMediaList", BlackMediaList()));
    SetListFileName(Read("DefaultFile", TRegistryValue::Text(ListFileName())).AsText());
    SetPlayOrderValue(uint8_t(ReadInteger("PlayOrder", PlayOrderValue())));
    try {
        LoadMediaList();
    } catch (const EInOutError &error) {
        UserDialogs().ShowMessage(QString::fromUtf8(error.what()));
        return;
    }
    const int itemIndex = ReadInteger("ItemIndex", lbFiles->ItemIndex());
    lbFiles->SetItemIndex(itemIndex >= 0 && itemIndex < lbFiles->Count() ? itemIndex : -1);
}
