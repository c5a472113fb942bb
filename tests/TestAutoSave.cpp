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

} // namespace
