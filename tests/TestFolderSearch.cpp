#include "TScriptedFormFixture.h"

#include "TScriptedBackEnd.h"
#include "errorreport/TOstrelApplication.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "dialogs/TUserDialogs.h"

#include <QFile>
#include <QProcess>
#include <QTimer>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TSearchTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        root = QFile::encodeName(QDir(folder.path()).canonicalPath());
    }

    // Searches the tree below `start` (relative to the test folder) the way the command does.
    void SearchFrom(const QByteArray &start, int filterIndex)
    {
        dialogs.FileAnswers.push_back([=, this](TFileDialog &dialog) {
            dialog.FilterIndex = filterIndex;
            dialog.Files = QStringList{QFile::decodeName(root + start) + "/*"};
            return true;
        });
        form->miSearch->trigger();
    }

    QList<QByteArray> Found() const
    {
        QList<QByteArray> relative;
        for (const QByteArray &text : form->lbFiles->Texts())
            relative << (text.startsWith(root) ? text.mid(root.size()) : "!" + text);
        return relative;
    }

    QByteArray root;
};

TEST_F(TSearchTest, SubfoldersComeBeforeTheFoldersOwnFiles)
{
    folder.MakeFolder("A");
    folder.MakeFolder("A/B");
    folder.MakeFolder("A/c");
    folder.Touch("A/a.mp3");
    folder.Touch("A/Z.MP3");
    folder.Touch("A/B/b.mp3");
    folder.Touch("A/c/c.Mp3");
    folder.Touch("A/c/not.wav");
    SearchFrom("/A", 2);
    const QList<QByteArray> once = {"/A/B/b.mp3", "/A/c/c.Mp3", "/A/a.mp3", "/A/Z.MP3"};
    EXPECT_EQ(Found(), once);
    EXPECT_EQ(form->RandomPool().Texts(), form->lbFiles->Texts());
    EXPECT_EQ(QDir::currentPath(), QFile::decodeName(root + "/A"));
    SearchFrom("/A", 2);
    EXPECT_EQ(Found(), once + once);
    EXPECT_EQ(form->SearchType(), TSearchType::Mp3);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TSearchTest, EachFilterFindsItsOwnType)
{
    for (const char *name : {"s.wav", "s.mp3", "s.avi", "s.mov", "s.txt"})
        folder.Touch(name);
    const QList<QByteArray> expected = {"/s.wav", "/s.mp3", "/s.avi", "/s.mov"};
    for (int type = 1; type <= 4; ++type) {
        form->miRemoveAll->trigger();
        SearchFrom("", type);
        EXPECT_EQ(Found(), QList<QByteArray>({expected[type - 1]}));
    }
}

TEST_F(TSearchTest, HiddenEntriesLinksAndSpecialFilesAreSkipped)
{
    folder.MakeFolder(".hidden");
    folder.Touch(".hidden/in.mp3");
    folder.Touch(".dot.mp3");
    folder.MakeFolder("loop");
    ASSERT_EQ(::symlink("..", (root + "/loop/up").constData()), 0);
    ASSERT_EQ(::symlink((root + "/real.mp3").constData(), (root + "/link.mp3").constData()), 0);
    folder.Touch("real.mp3");
    ASSERT_EQ(::mkfifo((root + "/pipe.mp3").constData(), 0600), 0);
    folder.MakeFolder("dir.mp3");
    SearchFrom("", 2);
    EXPECT_EQ(Found(), QList<QByteArray>({"/real.mp3"}));
}

TEST_F(TSearchTest, OddNamesAreFoundAndSurviveASaveAndALoadInBothFormats)
{
    const QList<QByteArray> names = {"with space.mp3", "quote\"s'.mp3", "-leading.mp3", "bad\xFF\xFE.mp3", "tab\t.mp3"};
    // Names that no list file can hold again are not taken: they would split into other entries.
    const QList<QByteArray> unholdable = {"new\nline.mp3", "carriage\rreturn.mp3", "both\r\n.mp3"};
    for (const QByteArray &name : names + unholdable)
        folder.Touch(name);
    SearchFrom("", 2);
    QList<QByteArray> sorted = Found();
    EXPECT_EQ(sorted.size(), names.size());
    for (const QByteArray &name : names)
        EXPECT_TRUE(sorted.contains("/" + name)) << name.constData();
    const QList<QByteArray> texts = form->lbFiles->Texts();
    for (const auto &[type, file] :
         {std::pair{3, "/plain.txt"}, std::pair{1, "/list.oml"}, std::pair{2, "/counted.oml"}}) {
        form->SetListType(ListTypeOf(type));
        form->lbFiles->ClearList();
        form->lbFiles->Append(texts);
        form->SetListFileName(QFile::decodeName(root + file));
        form->SaveSettings();
        form->LoadMediaList();
        EXPECT_EQ(form->lbFiles->Texts(), texts) << file;
    }
    for (const QByteArray &name : names + unholdable)
        ::unlink((root + '/' + name).constData()); // Qt cannot name the invalid one to clean it up
}

TEST_F(TSearchTest, ATenThousandFoldersDeepTreeEndsWithoutHarm)
{
    int parent = ::open(root.constData(), O_DIRECTORY);
    ASSERT_GE(parent, 0);
    for (int depth = 0; depth < 10000; ++depth) {
        ASSERT_EQ(::mkdirat(parent, "d", 0755), 0);
        const int child = ::openat(parent, "d", O_DIRECTORY);
        if (depth == 5) {
            const int file = ::openat(child, "shallow.mp3", O_CREAT | O_WRONLY, 0644);
            ::close(file);
        }
        ::close(parent);
        parent = child;
    }
    ::close(parent);
    SearchFrom("", 2);
    EXPECT_LE(form->lbFiles->Count(), 1); // the walk ends where paths grow too long
    EXPECT_EQ(QDir::currentPath(), QFile::decodeName(root));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    QProcess::execute("rm", {"-rf", QFile::decodeName(root + "/d")});
}

TEST_F(TSearchTest, AFolderOfAHundredThousandFiles)
{
    folder.MakeFolder("many");
    for (int i = 0; i < 100000; ++i)
        folder.Touch("many/" + QByteArray::number(i) + (i % 4 == 0 ? ".mp3" : ".txt"));
    SearchFrom("/many", 2);
    EXPECT_EQ(form->lbFiles->Count(), 25000);
    EXPECT_EQ(form->RandomPool().Count(), 25000);
    EXPECT_EQ(form->lbFiles->Text(0), root + "/many/0.mp3");
    EXPECT_EQ(form->lbFiles->Text(1), root + "/many/100.mp3");
}

TEST_F(TSearchTest, ACancelledSearchAddsNothing)
{
    folder.Touch("x.mp3");
    dialogs.FileAnswers.push_back([](TFileDialog &) { return false; });
    form->miSearch->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 0);
}

TEST_F(TSearchTest, TheSearchWalksTheWorkingFolderAndEndsThere)
{
    folder.MakeFolder("music");
    folder.Touch("music/a.mp3");
    folder.Touch("stray.mp3");
    form->SetWorkingFolder(QFile::decodeName(root + "/music"));
    form->SearchMediaFiles("*.mp3");
    EXPECT_EQ(Found(), QList<QByteArray>({"/music/a.mp3"}));
    EXPECT_EQ(QDir::currentPath(), QFile::decodeName(root + "/music"));
}

TEST_F(TSearchTest, WhileItRunsCommandsAreDroppedBoxesHeldBackAndACloseWaitsForItsEnd)
{
    folder.MakeFolder("A");
    folder.Touch("A/a.mp3");
    folder.Touch("A/b.mp3");
    QStringList inside;
    QTimer::singleShot(0, form.get(), [&] {
        inside << QString("found %1").arg(form->lbFiles->Count());
        form->miRemoveAll->trigger();
        form->sbPlay->OnClick(form->sbPlay);
        UserDialogs().ShowMessage("from the poll");
        inside << QString("messages %1").arg(dialogs.Messages.size());
        form->close();
    });
    SearchFrom("/A", 2);
    EXPECT_EQ(inside, QStringList({"found 1", "messages 0"}));
    EXPECT_EQ(Found(), QList<QByteArray>({"/A/a.mp3", "/A/b.mp3"}));
    EXPECT_EQ(form->StatusText(), "Closed");
    EXPECT_EQ(dialogs.Messages, QStringList({"from the poll"}));
    EXPECT_FALSE(form->Searching());

    // The close comes right after: with Auto Save the list is saved as it stands.
    EXPECT_EQ(folder.ReadFile("default-List.oml"), QByteArray("<missing>"));
    QCoreApplication::processEvents();
    EXPECT_EQ(folder.ReadFile("default-List.oml"), "0\r\n" + root + "/A/a.mp3\r\n0\r\n" + root + "/A/b.mp3\r\n");
}

} // namespace
