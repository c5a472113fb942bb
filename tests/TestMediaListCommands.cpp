#include "TScriptedFormFixture.h"
#include "TTempFolder.h"

#include "TScriptedBackEnd.h"
#include "about/OEMPConst.h"
#include "controls/TOECheckListBox.h"
#include "registry/OERegistry.h"
#include "window/TPlayerSettings.h"

#include <QAction>
#include <QFile>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class TCommandTest : public TScriptedFormFixture {
protected:
    // The next file dialog: optionally switches its file type while open, then confirms the files.
    void Choose(const QStringList &files, int filterIndex = 1, int switchTo = 0)
    {
        dialogs.FileAnswers.push_back([=](TFileDialog &dialog) {
            if (switchTo)
                dialog.ChangeFilterIndex(switchTo);
            dialog.FilterIndex = filterIndex;
            dialog.Files = files;
            return true;
        });
    }
    void Cancel(int switchTo = 0)
    {
        dialogs.FileAnswers.push_back([=](TFileDialog &dialog) {
            if (switchTo)
                dialog.ChangeFilterIndex(switchTo);
            return false;
        });
    }
};

TEST_F(TCommandTest, NewEmptiesTheListAndNamesANewFile)
{
    Fill({"a", "b"});
    form->SetAutoSave(false);
    form->SetListType(TListType::Text);
    form->NewMedia1->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_TRUE(form->RandomPool().IsEmpty());
    EXPECT_EQ(form->ListFileName(), form->StartFolder() + "/newfile.oml");
    EXPECT_EQ(form->windowTitle(), "Ostrel Media Player - " + form->StartFolder() + "/newfile.oml");
    EXPECT_EQ(form->ListType(), TListType::Text);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

TEST_F(TCommandTest, LoadReadsTheChosenListAsItsType)
{
    folder.WriteFile("songs.txt", "x.mp3\r\ny.mp3\r\n");
    Choose({folder.File("songs.txt")}, 3);
    form->miLoadMedia->trigger();
    EXPECT_EQ(dialogs.ShownDialogs, QStringList({"Save Media List"}));
    EXPECT_EQ(form->FOpenDialog.InitialDir, form->StartFolder());
    EXPECT_EQ(form->FOpenDialog.DefaultExt, "oml");
    EXPECT_EQ(form->ListFileName(), folder.File("songs.txt"));
    EXPECT_EQ(form->ListType(), TListType::Text);
    EXPECT_EQ(form->lbFiles->Entries(), (QList<TListEntry>{{"x.mp3", false}, {"y.mp3", false}}));
    EXPECT_EQ(form->RandomPool().Count(), 2);
    EXPECT_EQ(form->StatusText(), "Closed");
}

TEST_F(TCommandTest, CancelledLoadKeepsTheListButTakesTheSwitchedFileType)
{
    Fill({"a"});
    Cancel(3);
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->ListType(), TListType::Text);
    EXPECT_EQ(form->lbFiles->Count(), 1);
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("default-List.oml"), QByteArray("a\r\n"));
}

TEST_F(TCommandTest, WithAutoSaveNewAndLoadSaveTheListTheyReplaceAndWithoutItNot)
{
    folder.WriteFile("default-List.oml", "1\r\nold.mp3\r\n");
    folder.WriteFile("songs.oml", "0\r\nx.mp3\r\n");
    Fill({"old.mp3"});
    form->lbFiles->SetChecked(0, true);
    Choose({folder.File("added.mp3")});
    form->miAdd->trigger();
    Choose({folder.File("songs.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(folder.ReadFile("default-List.oml"), "1\r\nold.mp3\r\n0\r\n" + QFile::encodeName(folder.File("added.mp3")) + "\r\n");
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"x.mp3"}));

    Choose({folder.File("more.mp3")});
    form->miAdd->trigger();
    form->NewMedia1->trigger();
    EXPECT_EQ(folder.ReadFile("songs.oml"), "0\r\nx.mp3\r\n0\r\n" + QFile::encodeName(folder.File("more.mp3")) + "\r\n");
    EXPECT_EQ(form->lbFiles->Count(), 0);

    form->SetAutoSave(false);
    Choose({folder.File("lost.mp3")});
    form->miAdd->trigger();
    Choose({folder.File("songs.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(folder.ReadFile("newfile.oml"), "<missing>");
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

TEST_F(TCommandTest, AChangedListThatCannotBeSavedAsksBeforeNewOrLoadReplaceIt)
{
    folder.WriteFile("plain", "x");
    Choose({folder.File("plain/list.oml")}, 1);
    form->miSaveMediaAs->trigger(); // a list file in a "folder" that is a file
    dialogs.Messages.clear();
    Fill({"kept.mp3"});
    form->lbFiles->SetChecked(0, true);
    dialogs.ShownDialogs.clear();
    form->miLoadMedia->trigger(); // answered No, as the script does by default
    const QString question = "Ostrel Media Player - " + folder.File("plain/list.oml") + "|Unable to save the media list \""
        + folder.File("plain/list.oml") + "\": Invalid filename.\nGo on without saving it? Its changes will be lost.";
    EXPECT_EQ(dialogs.Confirmations, QStringList({question}));
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    EXPECT_TRUE(dialogs.ShownDialogs.isEmpty()) << "the load went on";
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"kept.mp3"}));
    EXPECT_EQ(Marks(), QList<bool>({true}));

    dialogs.ConfirmAnswers = {true};
    form->NewMedia1->trigger();
    EXPECT_EQ(dialogs.Confirmations, QStringList({question, question}));
    EXPECT_EQ(form->lbFiles->Count(), 0) << "Yes goes on";
    // The new list is what New made: nothing to save, nothing to ask.
    Choose({folder.File("none.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(dialogs.Confirmations.size(), 2);
    EXPECT_EQ(folder.ReadFile("newfile.oml"), "<missing>");
}

// A list on a medium that cannot be written (a read-only share, a CD): an immutable file.
class TUnwritableListTest : public TCommandTest {
protected:
    void TearDown() override
    {
        SetImmutable(false);
        SetImmutable(false, "config/Ostrel/registry.db");
        TCommandTest::TearDown();
    }
    void SetImmutable(bool on, const QString &name = "fixed.oml")
    {
        const int fd = ::open(QFile::encodeName(folder.File(name)).constData(), O_RDONLY);
        if (fd < 0)
            return;
        int flags = 0;
        ASSERT_EQ(::ioctl(fd, FS_IOC_GETFLAGS, &flags), 0);
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ASSERT_EQ(::ioctl(fd, FS_IOC_SETFLAGS, &flags), 0) << "the tests run as root";
        ::close(fd);
    }
    const QByteArray fixed = "1\r\nheard.mp3\r\n0\r\nnext.mp3\r\n";
};

TEST_F(TUnwritableListTest, NewAndLoadReplaceAnUnchangedListWithoutWritingItAndAskOnceItChanged)
{
    ASSERT_TRUE(form->AutoSave());
    folder.WriteFile("fixed.oml", fixed);
    SetImmutable(true);
    folder.WriteFile("other.oml", "0\r\nother.mp3\r\n");
    const auto loadFixed = [&] {
        Choose({folder.File("fixed.oml")});
        form->miLoadMedia->trigger();
        ASSERT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"heard.mp3", "next.mp3"}));
    };
    loadFixed();
    loadFixed(); // the same list again
    Choose({folder.File("other.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"other.mp3"}));
    loadFixed();
    form->NewMedia1->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    EXPECT_TRUE(dialogs.Confirmations.isEmpty()) << dialogs.Confirmations.join('|').toStdString();

    // A list whose load failed (a socket) is what it was loaded as: nothing to write either.
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(folder.File("socket.oml"));
    ASSERT_LT(size_t(socketPath.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    Choose({folder.File("socket.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to save media files!"}));
    EXPECT_EQ(form->windowTitle(), "Ostrel Media Player - " + folder.File("socket.oml"));
    form->NewMedia1->trigger();
    Choose({folder.File("socket.oml")});
    form->miLoadMedia->trigger();
    loadFixed();
    EXPECT_EQ(dialogs.Messages.size(), 2) << "only the failed loads told";
    EXPECT_TRUE(dialogs.Confirmations.isEmpty()) << dialogs.Confirmations.join('|').toStdString();
    ::close(listening);

    // Changed, it is asked for: No keeps the list and its change, Yes loses the change.
    form->lbFiles->SetChecked(1, true);
    Choose({folder.File("other.oml")});
    form->miLoadMedia->trigger();
    ASSERT_EQ(dialogs.Confirmations.size(), 1);
    EXPECT_TRUE(dialogs.Confirmations[0].endsWith("|Unable to save the media list \"" + folder.File("fixed.oml")
                                                  + "\": File access denied.\nGo on without saving it? Its changes will be lost."))
        << dialogs.Confirmations[0].toStdString();
    EXPECT_EQ(Marks(), QList<bool>({true, true}));
    EXPECT_EQ(form->ListFileName(), folder.File("fixed.oml"));
    dialogs.ConfirmAnswers = {true};
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"other.mp3"}));
    EXPECT_EQ(dialogs.Confirmations.size(), 2);
    EXPECT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(folder.ReadFile("fixed.oml"), fixed);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).filter("fixed"), QStringList({"fixed.oml"})) << "no leftovers";
}

TEST_F(TUnwritableListTest, ASettingAloneNeverStandsInTheWayOfNewOrLoad)
{
    folder.WriteFile("fixed.oml", fixed);
    SetImmutable(true);
    folder.WriteFile("other.oml", "0\r\nother.mp3\r\n");
    Choose({folder.File("fixed.oml")});
    form->miLoadMedia->trigger();
    form->resize(form->width() + 30, form->height() + 20);
    form->miRandom->trigger();
    Choose({folder.File("other.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"other.mp3"}));
    EXPECT_EQ(TPlayerSettings::Read({}).Width, form->width()) << "the settings are saved all the same";
    Choose({folder.File("fixed.oml")});
    form->miLoadMedia->trigger();
    form->resize(form->width() - 30, form->height());
    form->NewMedia1->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);

    // A first start whose store names the list file but holds none of the window's values.
    form.reset();
    QFile::remove(folder.File("config/Ostrel/registry.db"));
    WriteRegistry(HKEY_CURRENT_USER, QString::fromLatin1(OEMPConst::ProductRegistryKey), "DefaultFile",
                  TRegistryValue::Text(folder.File("fixed.oml")));
    form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
    ASSERT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"heard.mp3", "next.mp3"}));
    Choose({folder.File("other.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"other.mp3"}));
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    EXPECT_TRUE(dialogs.Confirmations.isEmpty()) << dialogs.Confirmations.join('|').toStdString();
    EXPECT_EQ(folder.ReadFile("fixed.oml"), fixed);
}

TEST_F(TUnwritableListTest, AStoreThatCannotBeWrittenNeverStopsNewOrLoadFromSavingTheList)
{
    folder.WriteFile("other.oml", "0\r\nother.mp3\r\n");
    Choose({folder.File("other.oml")});
    form->miLoadMedia->trigger();
    form->SaveSettings();
    ASSERT_TRUE(QFile::exists(folder.File("config/Ostrel/registry.db")));
    SetImmutable(true, "config/Ostrel/registry.db");
    form->lbFiles->SetChecked(0, true);
    form->resize(form->width() + 30, form->height());
    form->NewMedia1->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_EQ(folder.ReadFile("other.oml"), "1\r\nother.mp3\r\n") << "the list is saved all the same";
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    EXPECT_TRUE(dialogs.Confirmations.isEmpty()) << dialogs.Confirmations.join('|').toStdString();
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(TCommandTest, AutoSaveUncheckedIsKeptWhileACloseWritesNothingElse)
{
    folder.WriteFile("list.oml", "0\r\na.mp3\r\n");
    Choose({folder.File("list.oml")});
    form->miLoadMedia->trigger();
    form->SaveSettings();
    form->miAutoSave->trigger();
    ASSERT_FALSE(form->AutoSave());
    form->resize(form->width() + 30, form->height());
    form->lbFiles->SetChecked(0, true);
    const int storedWidth = TPlayerSettings::Read({}).Width;
    form->close();
    form.reset();
    EXPECT_FALSE(TPlayerSettings::Read({}).AutoSave);
    EXPECT_EQ(TPlayerSettings::Read({}).Width, storedWidth) << "nothing but the option is written";
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\na.mp3\r\n");
    form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
    EXPECT_FALSE(form->AutoSave());
}

TEST_F(TCommandTest, LoadOfAMissingOmlFile)
{
    Fill({"a"});
    Choose({folder.File("gone.oml")}, 1);
    form->miLoadMedia->trigger();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to save media files!"}));
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_TRUE(form->RandomPool().IsEmpty());
    EXPECT_EQ(form->ListFileName(), folder.File("gone.oml"));
}

TEST_F(TCommandTest, LoadOfAMissingPlainListGoesToTheDefaultErrorReport)
{
    Choose({folder.File("gone.txt")}, 4);
    form->miLoadMedia->trigger();
    EXPECT_EQ(dialogs.Errors, QStringList({"Cannot open file " + folder.File("gone.txt") + "."}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TCommandTest, LoadClosesAPlayingMedium)
{
    Fill({"/m/a.wav"});
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    folder.WriteFile("list.oml", "1\r\nq\r\n");
    Choose({folder.File("list.oml")});
    form->miLoadMedia->trigger();
    EXPECT_EQ(device.Log.mid(2), QStringList({"Stop wait", "Close wait"}));
    EXPECT_EQ(form->lbFiles->Entries(), (QList<TListEntry>{{"q", true}}));
    EXPECT_TRUE(form->RandomPool().IsEmpty());
}

TEST_F(TCommandTest, SaveAsWritesTheChosenFileInTheChosenType)
{
    form->lbFiles->AppendEntries({{"a", true}, {"b", false}});
    Choose({folder.File("out.mpu")}, 2);
    form->miSaveMediaAs->trigger();
    EXPECT_EQ(folder.ReadFile("out.mpu"), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(form->ListFileName(), folder.File("out.mpu"));
    EXPECT_EQ(form->ListType(), TListType::Mpu);
    Cancel(1);
    form->miSaveMediaAs->trigger();
    EXPECT_EQ(form->ListType(), TListType::Oml);
    form->miSave->trigger();
    EXPECT_EQ(folder.ReadFile("out.mpu"), QByteArray("1\r\na\r\n0\r\nb\r\n"));
}

TEST_F(TCommandTest, SaveAsIntoAFolderThatIsAFileReportsTheIOError)
{
    folder.WriteFile("plain", "x");
    Choose({folder.File("plain/list.oml")}, 1);
    form->miSaveMediaAs->trigger();
    EXPECT_EQ(dialogs.Messages, QStringList({"Invalid filename"}));
}

TEST_F(TCommandTest, DeleteAnsweredNoChangesNothing)
{
    folder.WriteFile("default-List.oml", "0\r\nkeep\r\n");
    dialogs.ConfirmAnswers.push_back(false);
    form->miDelete->trigger();
    EXPECT_EQ(dialogs.Confirmations,
              QStringList({"Confirm|Do you want to delete the file \"" + form->StartFolder() + "/default-List.oml\""}));
    EXPECT_EQ(folder.ReadFile("default-List.oml"), QByteArray("0\r\nkeep\r\n"));
    EXPECT_EQ(form->ListFileName(), form->StartFolder() + "/default-List.oml");
}

TEST_F(TCommandTest, DeleteAnsweredYesRemovesTheFileAndSavesUnderANewName)
{
    folder.WriteFile("default-List.oml", "0\r\nold\r\n");
    Fill({"kept"});
    dialogs.ConfirmAnswers.push_back(true);
    form->miDelete->trigger();
    EXPECT_EQ(folder.ReadFile("default-List.oml"), QByteArray("<missing>"));
    EXPECT_EQ(form->ListFileName(), "noname.oml");
    EXPECT_EQ(folder.ReadFile("noname.oml"), QByteArray("0\r\nkept\r\n"));
    EXPECT_EQ(form->lbFiles->Count(), 1);
}

TEST_F(TCommandTest, DeletesNewNameIsTakenInTheWorkingFolderWhereverTheProcessStands)
{
    TTempFolder elsewhere;
    form->SetWorkingFolder(folder.path());
    QDir::setCurrent(elsewhere.path());
    Fill({"kept"});
    dialogs.ConfirmAnswers.push_back(true);
    form->miDelete->trigger();
    EXPECT_EQ(form->ListFileName(), "noname.oml");
    EXPECT_EQ(form->ListFilePath(), folder.path() + "/noname.oml");
    EXPECT_EQ(folder.ReadFile("noname.oml"), QByteArray("0\r\nkept\r\n"));
    EXPECT_EQ(elsewhere.ReadFile("noname.oml"), QByteArray("<missing>"));

    // The next Delete removes that file, not one of the same name beside the process.
    elsewhere.WriteFile("noname.oml", "0\r\nother\r\n");
    dialogs.ConfirmAnswers.push_back(true);
    form->miRemoveAll->trigger();
    form->miDelete->trigger();
    EXPECT_EQ(elsewhere.ReadFile("noname.oml"), QByteArray("0\r\nother\r\n"));
    EXPECT_EQ(folder.ReadFile("noname.oml"), QByteArray());
}

TEST_F(TCommandTest, EveryConfirmedDialogMakesItsFolderTheWorkingFolder)
{
    TTempFolder lists;
    Choose({lists.File("a.mp3")});
    form->miAdd->trigger();
    EXPECT_EQ(form->WorkingFolder(), lists.path());
    Cancel();
    form->miAdd->trigger();
    EXPECT_EQ(form->WorkingFolder(), lists.path());
    Choose({folder.File("saved.oml")});
    form->miSaveMediaAs->trigger();
    EXPECT_EQ(form->WorkingFolder(), folder.path());
}

TEST_F(TCommandTest, AddLeavesOutOnlyNamesThatNoListFileCanHold)
{
    Choose({folder.File("one.mp3"), folder.File("two\nlines.mp3"), folder.File("cr\r.wav"), folder.File("three.wav")});
    form->miAdd->trigger();
    EXPECT_EQ(form->lbFiles->Texts(),
              QList<QByteArray>({QFile::encodeName(folder.File("one.mp3")), QFile::encodeName(folder.File("three.wav"))}));
    EXPECT_EQ(form->RandomPool().Count(), 2);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TCommandTest, AddAppendsEveryChosenFileEvenWhenListed)
{
    Fill({QFile::encodeName(folder.File("a.mp3"))});
    form->lbFiles->SetItemIndex(0);
    Choose({folder.File("a.mp3"), folder.File("b c.wav")});
    form->miAdd->trigger();
    EXPECT_EQ(form->lbFiles->Texts(),
              QList<QByteArray>({QFile::encodeName(folder.File("a.mp3")), QFile::encodeName(folder.File("a.mp3")),
                                 QFile::encodeName(folder.File("b c.wav"))}));
    EXPECT_EQ(form->RandomPool().Count(), 3);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    Cancel();
    form->miAdd->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 3);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TCommandTest, AddTakesThePlaylistsOfOtherPlayersForTheirEntriesAndLoadReadsThemAsTheirType)
{
    folder.WriteFile("mix.m3u8", "#EXTM3U\n#EXTINF:1,A\na.ogg\nhttp://radio.example/live\n");
    folder.WriteFile("broken.xspf", "<playlist><trackList><track><location>b.flac</location></track>");
    Choose({folder.File("mix.m3u8"), folder.File("c.mp3"), folder.File("broken.xspf"), folder.File("gone.pls")});
    form->miAdd->trigger();
    const QByteArray dir = QFile::encodeName(folder.path());
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({dir + "/a.ogg", dir + "/c.mp3", dir + "/b.flac"}));
    EXPECT_EQ(form->RandomPool().Count(), 3);
    EXPECT_EQ(dialogs.Messages, QStringList({"Not added to the media list:\nhttp://radio.example/live: not a local file\n"
                                             + folder.File("broken.xspf")
                                             + ": not read past line 1 (the document ends before </trackList>)\n"
                                             + folder.File("gone.pls") + ": could not be read"}));

    // Saved as M3U8 and loaded back through the list dialogs' fifth type.
    Choose({folder.File("saved.m3u8")}, 5);
    form->miSaveMediaAs->trigger();
    EXPECT_EQ(folder.ReadFile("saved.m3u8"), "#EXTM3U\n" + dir + "/a.ogg\n" + dir + "/c.mp3\n" + dir + "/b.flac\n");
    dialogs.Messages.clear();
    Choose({folder.File("saved.m3u8")}, 5);
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->ListType(), TListType::M3u);
    EXPECT_EQ(form->lbFiles->Entries(), (QList<TListEntry>{{dir + "/a.ogg", false}, {dir + "/c.mp3", false},
                                                           {dir + "/b.flac", false}}));
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

TEST_F(TCommandTest, RemoveTakesTheFirstOfEqualTexts)
{
    Fill({"/m/x.mp3", "/M/X.MP3", "/m/y.mp3"});
    form->lbFiles->SetChecked(0, true);
    form->lbFiles->SetItemIndex(1);
    form->miRemove->trigger();
    EXPECT_EQ(form->lbFiles->Entries(), (QList<TListEntry>{{"/M/X.MP3", false}, {"/m/y.mp3", false}}));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    EXPECT_EQ(form->RandomPool().Texts(), QList<QByteArray>({"/M/X.MP3", "/m/y.mp3"}));
    form->miRemove->trigger(); // the last entry: the selection moves to entry 0
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"/M/X.MP3"}));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    form->miRemove->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_EQ(form->lbFiles->ItemIndex(), -1);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    form->miRemove->trigger();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to remove media file from the media List!"}));
}

TEST_F(TCommandTest, RemoveAllEmptiesListAndPoolWithoutWriting)
{
    Fill({"a", "b"});
    form->lbFiles->SetItemIndex(1);
    form->miRemoveAll->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_EQ(form->lbFiles->ItemIndex(), -1);
    EXPECT_TRUE(form->RandomPool().IsEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

TEST_F(TCommandTest, RandomThenNextPlaysARandomEntry)
{
    Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    form->miRandom->trigger();
    EXPECT_FALSE(form->miInOrder->isChecked());
    form->NextMedia();
    EXPECT_EQ(form->lbFiles->Entries().count(TListEntry{device.OpenFile, true}), 1);
    EXPECT_EQ(form->RandomPool().Count(), 2);
}

TEST_F(TCommandTest, SearchTypeFollowsTheDialog)
{
    Cancel();
    form->miSearch->trigger();
    EXPECT_EQ(form->FSearchDialog.FilterIndex, 2);
    EXPECT_EQ(form->SearchType(), TSearchType::Mp3);
    EXPECT_EQ(form->FSearchDialog.FileName, "*");
    EXPECT_EQ(form->FSearchDialog.DefaultExt, "mp3");
}

TEST_F(TCommandTest, ASearchTypeOutsideTheFourIsKeptAndFindsNothing)
{
    folder.WriteFile("found.mp3", "");
    folder.WriteFile("found.wav", "");
    dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
        dialog.FileName = folder.File("*");
        dialog.Folder = folder.path();
        dialog.FilterIndex = 9;
        return true;
    });
    form->miSearch->trigger();
    EXPECT_EQ(form->SearchType(), TSearchType(9));
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

} // namespace
