// With Auto Save, what a close would save reaches the disk in the background soon after it
// changes, in the same bytes.

#include "TScriptedFormFixture.h"
#include "window/TPlayerSettings.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <QTest>

namespace {

class TAutoSaveTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        folder.WriteFile("list.oml", "0\r\none.mp3\r\n0\r\ntwo.mp3\r\n");
        form->SetListFileName(folder.File("list.oml"));
        form->LoadMediaList();
        form->SaveSettings(); // the start: what is shown is what is on disk
    }
    // Waits as long as a change may take to reach the disk, and a little more.
    bool Written(const QByteArray &expected)
    {
        return QTest::qWaitFor([&] { return folder.ReadFile("list.oml") == expected; }, 6000);
    }
};

TEST_F(TAutoSaveTest, AMarkAndAnAddedEntryReachTheDiskAsASaveWritesThem)
{
    form->lbFiles->SetChecked(1, true);
    form->AddEntries({"three.mp3"});
    form->lbFiles->SetItemIndex(2);
    const QByteArray expected = "0\r\none.mp3\r\n1\r\ntwo.mp3\r\n0\r\nthree.mp3\r\n";
    EXPECT_TRUE(Written(expected)) << folder.ReadFile("list.oml").toStdString();
    EXPECT_EQ(TPlayerSettings::Read({}).ItemIndex, 2);
    form->SaveSettings();
    EXPECT_EQ(folder.ReadFile("list.oml"), expected) << "the window's own save writes the same bytes";
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TAutoSaveTest, AnOptionAndTheWindowsSizeAreSavedToo)
{
    form->miRandom->trigger();
    form->resize(form->width() + 40, form->height());
    EXPECT_TRUE(QTest::qWaitFor([] { return TPlayerSettings::Read({}).Random; }, 6000));
    const TPlayerSettings stored = TPlayerSettings::Read({});
    EXPECT_EQ(stored.Width, form->width());
    EXPECT_EQ(stored.DefaultFile, folder.File("list.oml"));
}

TEST_F(TAutoSaveTest, WithoutAutoSaveOrWithoutAChangeNothingIsWritten)
{
    const QDateTime untouched = QFileInfo(folder.File("list.oml")).lastModified();
    QTest::qWait(2500);
    EXPECT_EQ(QFileInfo(folder.File("list.oml")).lastModified(), untouched) << "written without a change";
    form->SetAutoSave(false);
    form->lbFiles->SetChecked(0, true);
    QTest::qWait(2500);
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\none.mp3\r\n0\r\ntwo.mp3\r\n");
    EXPECT_EQ(QFileInfo(folder.File("list.oml")).lastModified(), untouched);
}

TEST_F(TAutoSaveTest, AFailedBackgroundSaveTellsNoOneAndTheWindowsOwnSaveReports)
{
    folder.WriteFile("plain", "x");
    form->SetListFileName(folder.File("plain/list.oml")); // a folder that is a file
    form->lbFiles->SetChecked(0, true);
    QTest::qWait(2500);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    form->SaveSettings();
    EXPECT_EQ(dialogs.Messages, QStringList({"Invalid filename"}));
}

TEST_F(TAutoSaveTest, AListTypeOutsideTheFourIsNotWrittenAndADeletedFileStaysDeleted)
{
    form->SetListType(TListType(9));
    form->lbFiles->SetChecked(0, true);
    QTest::qWait(2500);
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\none.mp3\r\n0\r\ntwo.mp3\r\n");

    form->SetListType(TListType::Oml);
    form->lbFiles->SetChecked(1, true);
    dialogs.ConfirmAnswers.push_back(true);
    form->miDelete->trigger();
    QTest::qWait(2500);
    EXPECT_EQ(folder.ReadFile("list.oml"), "<missing>");
    EXPECT_EQ(folder.ReadFile("noname.oml"), "1\r\none.mp3\r\n1\r\ntwo.mp3\r\n");
}

TEST_F(TAutoSaveTest, AListFileReplacedByAFolderOrAPipeIsLeftAsItIsAndNoOneIsTold)
{
    for (const bool pipe : {false, true}) {
        QFile::remove(folder.File("list.oml"));
        if (pipe)
            ASSERT_EQ(::mkfifo(QFile::encodeName(folder.File("list.oml")).constData(), 0644), 0);
        else
            ASSERT_TRUE(QDir(folder.path()).mkdir("list.oml"));
        form->lbFiles->SetChecked(0, !form->lbFiles->Checked(0));
        QTest::qWait(2500);
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
        const QFileInfo file(folder.File("list.oml"));
        EXPECT_TRUE(pipe ? !file.isFile() && file.exists() : file.isDir()) << (pipe ? "pipe" : "folder");
        form->SaveSettings();
        EXPECT_EQ(dialogs.Messages.size(), 1) << "the window's own save says why";
        dialogs.Messages.clear();
        if (!pipe)
            QDir(folder.path()).rmdir("list.oml");
    }
}

TEST_F(TAutoSaveTest, ABackgroundSaveUnderTheLoadDialogWritesTheWindowsOwnListInItsOwnType)
{
    const QByteArray m3u = "#EXTM3U\n#EXTINF:10,One\none.mp3\ntwo.mp3\n";
    folder.WriteFile("other.m3u8", m3u);
    dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
        dialog.FilterIndex = int(TListType::M3u);
        dialog.Files = QStringList{folder.File("other.m3u8")};
        return true;
    });
    form->miLoadMedia->trigger();
    ASSERT_EQ(form->ListType(), TListType::M3u);
    ASSERT_EQ(form->lbFiles->Count(), 2);
    const QByteArray oml = "1\r\n/m/x.mp3\r\n0\r\n/m/y.mp3\r\n";
    folder.WriteFile("main.oml", oml);
    dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
        dialog.ChangeFilterIndex(int(TListType::Oml));
        // The player moves on behind the dialog, and a background save falls due.
        form->lbFiles->SetChecked(0, true);
        form->lbFiles->SetItemIndex(1);
        QTest::qWait(3000);
        dialog.Files = QStringList{folder.File("main.oml")};
        return true;
    });
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->lbFiles->Entries(), (QList<TListEntry>{{"/m/x.mp3", true}, {"/m/y.mp3", false}}));
    EXPECT_EQ(form->ListType(), TListType::Oml);
    QTest::qWait(2500);
    EXPECT_EQ(folder.ReadFile("other.m3u8"), m3u);
    EXPECT_EQ(folder.ReadFile("main.oml"), oml);
    form->close();
    EXPECT_EQ(folder.ReadFile("main.oml"), oml);
    EXPECT_EQ(folder.ReadFile("other.m3u8"), m3u);
}

TEST_F(TAutoSaveTest, AnotherPlayersPlaylistIsWrittenOnlyForAChangeOfItsEntries)
{
    // As another player writes it: titles, lengths, a relative name and a stream.
    const QByteArray m3u = "#EXTM3U\r\n#EXTINF:10,One\r\nsub/one.mp3\r\n#EXTINF:-1,Radio\r\n"
                           "http://radio.example/live\r\n#EXTINF:20,Two\r\n/m/two.mp3\r\n";
    const QByteArray pls = "[playlist]\r\nFile1=sub/one.mp3\r\nTitle1=One\r\nLength1=10\r\n"
                           "File2=http://radio.example/live\r\nNumberOfEntries=2\r\nVersion=2\r\n";
    struct TCase {
        QString Name;
        TListType Type;
        QByteArray Bytes;
        QByteArray Added;
    };
    const QList<TCase> cases = {
        {"other.m3u8", TListType::M3u, m3u, m3u + "/m/three.mp3\r\n"},
        {"other.pls", TListType::Pls, pls,
         "[playlist]\r\nFile1=sub/one.mp3\r\nTitle1=One\r\nLength1=10\r\n"
         "File2=http://radio.example/live\r\nFile3=/m/three.mp3\r\nNumberOfEntries=3\r\nVersion=2\r\n"}};
    for (const auto &[name, type, bytes, added] : cases) {
        folder.WriteFile(name, bytes);
        dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
            dialog.FilterIndex = int(type);
            dialog.Files = QStringList{folder.File(name)};
            return true;
        });
        form->miLoadMedia->trigger();
        ASSERT_EQ(form->lbFiles->Texts().first(), QFile::encodeName(folder.File("sub/one.mp3"))) << name.toStdString();
        dialogs.Messages.clear(); // the stream left out
        // Played: marks, the current entry, a setting.
        form->lbFiles->SetChecked(0, true);
        form->lbFiles->SetItemIndex(1);
        form->resize(form->width() + 10, form->height());
        QTest::qWait(3000);
        form->SaveSettings();
        EXPECT_EQ(folder.ReadFile(name), bytes) << name.toStdString();
        form->AddEntries({"/m/three.mp3"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return folder.ReadFile(name) == added; }, 6000))
            << folder.ReadFile(name).toStdString();
    }
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

TEST_F(TAutoSaveTest, UnderEachListDialogTheListIsWrittenInItsOwnTypeByTheBackgroundAndTheForcedExitSave)
{
    const QByteArray m3u = "#EXTM3U\n#EXTINF:10,One\none.mp3\n";
    const QByteArray written = m3u + "/m/added.mp3\n";
    struct TCase {
        const char *Dialog;
        QAction *Item;
        bool ForcedExit;
    };
    const QList<TCase> cases = {{"Load", form->miLoadMedia, false},
                                {"Save As", form->miSaveMediaAs, false},
                                {"Add", form->miAdd, false},
                                {"Load, a signal under it", form->miLoadMedia, true}};
    for (const TCase &c : cases) {
        const QString name = QString::fromLatin1(c.Dialog).section(',', 0, 0).remove(' ') + ".m3u8";
        folder.WriteFile(name, m3u);
        dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
            dialog.FilterIndex = int(TListType::M3u);
            dialog.Files = QStringList{folder.File(name)};
            return true;
        });
        form->miLoadMedia->trigger();
        ASSERT_EQ(form->ListType(), TListType::M3u) << c.Dialog;
        dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
            dialog.ChangeFilterIndex(int(TListType::Oml));
            form->AddEntries({"/m/added.mp3"}); // as a drop or a hand-over behind the dialog
            if (c.ForcedExit)
                form->SaveBeforeForcedExit();
            else
                EXPECT_TRUE(QTest::qWaitFor([&] { return folder.ReadFile(name) != m3u; }, 6000)) << c.Dialog;
            EXPECT_EQ(folder.ReadFile(name), written) << c.Dialog;
            return false;
        });
        c.Item->trigger();
        if (c.ForcedExit)
            break; // the window is closing
        // Cancelled, the file type picked applies as the dialogs' type changes always have.
        EXPECT_EQ(form->ListType(), TListType::Oml) << c.Dialog;
    }
}

} // namespace
