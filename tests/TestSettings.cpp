#include "TFormFixture.h"

#include "controls/TOECheckListBox.h"
#include "registry/OERegistry.h"
#include "registry/TRegistryDatabase.h"
#include "window/TPlayerSettings.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QString PlayerKey = "\\SOFTWARE\\Ostrel\\Ostrel Media Player";

class TSettingsTest : public TFormFixture {
protected:
    void Store(const char *name, const TRegistryValue &value)
    {
        WriteRegistry(HKEY_CURRENT_USER, PlayerKey, name, value);
    }
    TRegistryValue Stored(const char *name, const TRegistryValue &fallback)
    {
        return ReadRegistry(HKEY_CURRENT_USER, PlayerKey, name, fallback);
    }
};

TEST_F(TSettingsTest, FirstStartThenClosingWritesTheTwelveValuesAndAnEmptyList)
{
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(dialogs.Messages, QStringList({"File not found"}));
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_EQ(form->StatusText(), "Closed");
    form->show();
    form->miExit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(folder.ReadFile("default-List.oml"), QByteArray());

    TRegistryDatabase store(TRegistryDatabase::DefaultPath(), TRegistryDatabase::TOpenMode::ExistingOnly);
    QStringList names;
    for (const TRawRegistryValue &value : store.Values(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player"))
        names << value.Name + QLatin1Char(':') + QString::number(value.Type);
    names.sort();
    EXPECT_EQ(names, QStringList({"AutoSave:4", "BlackMediaList:4", "DefaultFile:1", "FileExtension:4", "Height:4",
                                  "InOrder:4", "ItemIndex:4", "Left:4", "PlayOrder:4", "Random:4", "Top:4",
                                  "Width:4"}));
    EXPECT_EQ(Stored("DefaultFile", TRegistryValue::Text("")).AsText(), folder.path() + "/default-List.oml");
    EXPECT_EQ(Stored("FileExtension", TRegistryValue::Integer(0)).AsInteger(), 1);
    EXPECT_EQ(Stored("ItemIndex", TRegistryValue::Integer(0)).AsInteger(), -1);
    EXPECT_EQ(Stored("Random", TRegistryValue::Boolean(true)).AsBoolean(), false);
    EXPECT_EQ(Stored("Width", TRegistryValue::Integer(0)).AsInteger(), 573);
    EXPECT_EQ(Stored("Height", TRegistryValue::Integer(0)).AsInteger(), 400);
}

TEST_F(TSettingsTest, AStoredSizeLargerThanTheScreenIsLimitedToItsFreeArea)
{
    Store("Width", TRegistryValue::Integer(0x7fffffff));
    Store("Height", TRegistryValue::Integer(0x7fffffff));
    auto form = CreateFormMediaPlayer();
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_EQ(form->size(), room);
    Store("Width", TRegistryValue::Integer(-5));
    Store("Height", TRegistryValue::Integer(1));
    form = CreateFormMediaPlayer();
    EXPECT_EQ(form->size(), QSize(490, 295)); // the minimum
}

TEST_F(TSettingsTest, EverythingIsBackAfterARestart)
{
    {
        auto form = CreateFormMediaPlayer();
        form->lbFiles->AppendEntries({{"/m/a.mp3", true}, {"/m/b.mp3", false}, {"/m/c.mp3", false}});
        form->lbFiles->SetItemIndex(2);
        form->resize(700, 500);
        form->miRandom->trigger();
        form->miBlackMediaList->trigger();
        form->SetListFileName(folder.File("mine.oml"));
        form->SaveSettings();
    }
    EXPECT_EQ(folder.ReadFile("mine.oml"), QByteArray("1\r\n/m/a.mp3\r\n0\r\n/m/b.mp3\r\n0\r\n/m/c.mp3\r\n"));
    dialogs.Messages.clear();
    auto form = CreateFormMediaPlayer();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(form->ListFileName(), folder.File("mine.oml"));
    EXPECT_EQ(form->windowTitle(), "Ostrel Media Player - " + folder.File("mine.oml"));
    EXPECT_EQ(form->size(), QSize(700, 500));
    EXPECT_TRUE(form->miRandom->isChecked());
    EXPECT_FALSE(form->miInOrder->isChecked());
    EXPECT_FALSE(form->BlackMediaList());
    EXPECT_EQ(form->lbFiles->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(form->lbFiles->Entries(),
              (QList<TListEntry>{{"/m/a.mp3", true}, {"/m/b.mp3", false}, {"/m/c.mp3", false}}));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    EXPECT_EQ(form->RandomPool().Texts(), QList<QByteArray>({"/m/b.mp3", "/m/c.mp3"}));
    EXPECT_EQ(form->StatusText(), "Closed");
}

TEST_F(TSettingsTest, StoredValuesAreAppliedWithTheirLimits)
{
    folder.WriteFile("list.oml", "0\r\na\r\n0\r\nb\r\n0\r\nc\r\n");
    Store("DefaultFile", TRegistryValue::Text(folder.File("list.oml")));
    Store("Width", TRegistryValue::Integer(100));
    Store("Height", TRegistryValue::Integer(10));
    Store("ItemIndex", TRegistryValue::Integer(5));
    Store("InOrder", TRegistryValue::Text("0"));
    Store("PlayOrder", TRegistryValue::Integer(9));
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(form->size(), QSize(490, 295));
    EXPECT_EQ(form->lbFiles->Count(), 3);
    EXPECT_EQ(form->lbFiles->ItemIndex(), -1);
    EXPECT_TRUE(form->miInOrder->isChecked());
    EXPECT_EQ(form->PlayOrderValue(), 0);

    Store("ItemIndex", TRegistryValue::Integer(2));
    EXPECT_EQ(CreateFormMediaPlayer()->lbFiles->ItemIndex(), 2);
    Store("ItemIndex", TRegistryValue::Integer(-1));
    EXPECT_EQ(CreateFormMediaPlayer()->lbFiles->ItemIndex(), -1);
}

TEST_F(TSettingsTest, PlayOrderItemsFollowTheRadioGroupRule)
{
    const auto restored = [&](bool inOrder, bool random) {
        Store("InOrder", TRegistryValue::Boolean(inOrder));
        Store("Random", TRegistryValue::Boolean(random));
        auto form = CreateFormMediaPlayer();
        return QPair<bool, bool>(form->miInOrder->isChecked(), form->miRandom->isChecked());
    };
    EXPECT_EQ(restored(true, false), qMakePair(true, false));
    EXPECT_EQ(restored(false, true), qMakePair(false, true));
    EXPECT_EQ(restored(true, true), qMakePair(false, true));
    EXPECT_EQ(restored(false, false), qMakePair(false, false));
}

TEST_F(TSettingsTest, APlainListTypeLoadsAndSavesPlainLines)
{
    folder.WriteFile("songs.txt", "one.mp3\ntwo.mp3\n");
    Store("FileExtension", TRegistryValue::Integer(3));
    Store("DefaultFile", TRegistryValue::Text(folder.File("songs.txt")));
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(form->lbFiles->Entries(), (QList<TListEntry>{{"one.mp3", false}, {"two.mp3", false}}));
    EXPECT_EQ(form->RandomPool().Count(), 2);
    // A plain list keeps no mark: a mark alone leaves the file as it was read.
    form->lbFiles->SetChecked(0, true);
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("songs.txt"), QByteArray("one.mp3\ntwo.mp3\n"));
    EXPECT_EQ(Stored("FileExtension", TRegistryValue::Integer(0)).AsInteger(), 3);
    form->AddEntries({"three.mp3"});
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("songs.txt"), QByteArray("one.mp3\r\ntwo.mp3\r\nthree.mp3\r\n"));
}

TEST_F(TSettingsTest, AListFileLargerThanTheMemoryIsRefusedWithoutReadingIt)
{
    for (const char *name : {"huge.oml", "huge.txt"}) {
        QFile huge(folder.File(name));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(qint64(1) << 40)) << "this file system takes no sparse file of 1 TiB";
    }
    Store("DefaultFile", TRegistryValue::Text(folder.File("huge.oml")));
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(dialogs.Messages, QStringList({"Not enough memory"}));
    EXPECT_EQ(form->lbFiles->Count(), 0);
    // Saving, as Auto Save does at closing, leaves the list file alone; another name is saved.
    form->miSave->trigger();
    EXPECT_EQ(QFileInfo(folder.File("huge.oml")).size(), qint64(1) << 40);
    form->SetListFileName(folder.File("other.oml"));
    form->miSave->trigger();
    EXPECT_EQ(folder.ReadFile("other.oml"), QByteArray());

    dialogs.Messages.clear();
    Store("FileExtension", TRegistryValue::Integer(3));
    Store("DefaultFile", TRegistryValue::Text(folder.File("huge.txt")));
    auto plain = CreateFormMediaPlayer();
    EXPECT_EQ(dialogs.Messages, QStringList({"Not enough memory"}));
    EXPECT_EQ(plain->lbFiles->Count(), 0);
}

TEST_F(TSettingsTest, AMissingPlainListStopsStartUpWithItsError)
{
    Store("FileExtension", TRegistryValue::Integer(2));
    Store("DefaultFile", TRegistryValue::Text(folder.File("gone.mpu")));
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(dialogs.Errors, QStringList({"Cannot open file " + folder.File("gone.mpu") + "."}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_NE(form->StatusText(), "Closed");
}

TEST_F(TSettingsTest, AListTypeOutsideOneToSevenReadsAndWritesNothing)
{
    folder.WriteFile("list.oml", "0\r\na\r\n");
    Store("FileExtension", TRegistryValue::Integer(8));
    Store("DefaultFile", TRegistryValue::Text(folder.File("list.oml")));
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    form->lbFiles->Append(QByteArray("b"));
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("list.oml"), QByteArray("0\r\na\r\n"));
}

TEST_F(TSettingsTest, AStoredListTypeOfNineIsKeptLoadsNothingAndSavesNothing)
{
    folder.WriteFile("nine.oml", "1\r\n/m/kept.mp3\r\n");
    Store("FileExtension", TRegistryValue::Integer(9));
    Store("DefaultFile", TRegistryValue::Text(folder.File("nine.oml")));
    auto form = CreateFormMediaPlayer();
    EXPECT_EQ(form->ListType(), TListType(9));
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    form->lbFiles->Append(QByteArray("/m/added.mp3"));
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("nine.oml"), QByteArray("1\r\n/m/kept.mp3\r\n"));
    EXPECT_EQ(Stored("FileExtension", TRegistryValue::Integer(0)).AsInteger(), 9);
}

TEST_F(TSettingsTest, AnIOErrorOfTheListSaveIsShownAfterTheValuesAreWritten)
{
    auto form = CreateFormMediaPlayer();
    dialogs.Messages.clear();
    QDir(folder.path()).mkdir("taken.oml");
    form->SetListFileName(folder.File("taken.oml"));
    form->SaveSettings();
    EXPECT_EQ(dialogs.Messages, QStringList({"File access denied"}));
    EXPECT_EQ(Stored("DefaultFile", TRegistryValue::Text("")).AsText(), folder.File("taken.oml"));
}

TEST_F(TSettingsTest, AnotherErrorAtClosingGivesTheDealerMessage)
{
    auto form = CreateFormMediaPlayer();
    dialogs.Messages.clear();
    QDir(folder.path()).mkdir("taken.txt");
    form->SetListType(TListType::Text);
    form->SetListFileName(folder.File("taken.txt"));
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.Messages, QStringList({"Unknown exception, please contact your local dealer!"}));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(TSettingsTest, SavingTwiceWritesTheSameBoth)
{
    auto form = CreateFormMediaPlayer();
    form->lbFiles->Append(QList<QByteArray>{"x", "y"});
    form->SaveSettings();
    const QByteArray first = folder.ReadFile("default-List.oml");
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("default-List.oml"), first);
    EXPECT_EQ(first, QByteArray("0\r\nx\r\n0\r\ny\r\n"));
}

TEST_F(TSettingsTest, TheSettingsValueReadsWhatItWroteAndKeepsTheCurrentValueForWhatIsMissingOrWrong)
{
    const TPlayerSettings current{1, 2, 3, 4, 1, true, false, true, true, "/lists/a.oml", 0, -1};
    EXPECT_EQ(TPlayerSettings::Read(current), current); // nothing stored yet

    const TPlayerSettings written{-10, 20, 600, 450, 3, false, true, false, false, "/l/\xFF.txt", 2, 7};
    written.Write();
    EXPECT_EQ(TPlayerSettings::Read(current), written);
    EXPECT_EQ(Stored("DefaultFile", TRegistryValue::Text("")).AsText(), "/l/\xFF.txt");

    Store("Width", TRegistryValue::Text("wide"));
    TPlayerSettings expected = written;
    expected.Width = current.Width;
    EXPECT_EQ(TPlayerSettings::Read(current), expected);
}

} // namespace
