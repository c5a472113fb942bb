#include "window/TPlayerSettings.h"

#include "about/OEMPConst.h"
#include "registry/OERegistry.h"

namespace {

QString SettingsKey()
{
    return QString::fromLatin1(OEMPConst::ProductRegistryKey);
}

class TSettingsReader {
public:
    int Integer(const char *name, int current) const
    {
        return Value(name, TRegistryValue::Integer(current)).AsInteger();
    }
    bool Boolean(const char *name, bool current) const
    {
        return Value(name, TRegistryValue::Boolean(current)).AsBoolean();
    }
    QString Text(const char *name, const QString &current) const
    {
        return Value(name, TRegistryValue::Text(current)).AsText();
    }

private:
    TRegistryValue Value(const char *name, const TRegistryValue &current) const
    {
        return store_.Read(DefaultRegistryRoot, SettingsKey(), QString::fromLatin1(name), current);
    }

    TRegistryReader store_;
};

TRegistryWrite Entry(const char *name, const TRegistryValue &value)
{
    return {QString::fromLatin1(name), value};
}

} // namespace

TPlayerSettings TPlayerSettings::Read(const TPlayerSettings &current)
{
    const TSettingsReader store;
    TPlayerSettings read;
    read.Left = store.Integer("Left", current.Left);
    read.Top = store.Integer("Top", current.Top);
    read.Width = store.Integer("Width", current.Width);
    read.Height = store.Integer("Height", current.Height);
    read.FileExtension = store.Integer("FileExtension", current.FileExtension);
    read.InOrder = store.Boolean("InOrder", current.InOrder);
    read.Random = store.Boolean("Random", current.Random);
    read.AutoSave = store.Boolean("AutoSave", current.AutoSave);
    read.BlackMediaList = store.Boolean("BlackMediaList", current.BlackMediaList);
    read.DefaultFile = store.Text("DefaultFile", current.DefaultFile);
    read.PlayOrder = store.Integer("PlayOrder", current.PlayOrder);
    read.ItemIndex = store.Integer("ItemIndex", current.ItemIndex);
    return read;
}

void TPlayerSettings::Write() const
{
    WriteRegistryValues(
        DefaultRegistryRoot, SettingsKey(),
        {Entry("Left", TRegistryValue::Integer(Left)), Entry("Top", TRegistryValue::Integer(Top)),
         Entry("Width", TRegistryValue::Integer(Width)), Entry("Height", TRegistryValue::Integer(Height)),
         Entry("FileExtension", TRegistryValue::Integer(FileExtension)),
         Entry("InOrder", TRegistryValue::Boolean(InOrder)), Entry("Random", TRegistryValue::Boolean(Random)),
         Entry("AutoSave", TRegistryValue::Boolean(AutoSave)),
         Entry("BlackMediaList", TRegistryValue::Boolean(BlackMediaList)),
         Entry("DefaultFile", TRegistryValue::Text(DefaultFile)),
         Entry("PlayOrder", TRegistryValue::Integer(PlayOrder)),
         Entry("ItemIndex", TRegistryValue::Integer(ItemIndex))});
}

void TPlayerSettings::WriteAutoSave(bool on)
{
    WriteRegistryValues(DefaultRegistryRoot, SettingsKey(), {Entry("AutoSave", TRegistryValue::Boolean(on))});
}
