#include "TTempFolder.h"
#include "medialist/CurrentFolder.h"
#include "medialist/FolderWalk.h"
#include "medialist/ListFileErrors.h"

#include <QDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TFolderWalkTest : public testing::Test {
protected:
    void SetUp() override { root = QFile::encodeName(QDir(folder.path()).canonicalPath()); }
    QList<QByteArray> Walk(const QByteArray &start, const QList<QByteArray> &patterns)
    {
        QList<QByteArray> found;
        WalkFolder(start, patterns, [&](const QByteArray &path) { found << path; });
        return found;
    }

    TTempFolder folder;
    QByteArray root;
};

TEST_F(TFolderWalkTest, WalksByPathsInItsOrderAndLeavesTheCurrentFolderAlone)
{
    folder.MakeFolder("Sub");
    folder.MakeFolder("sub2");
    folder.Touch("b.MP3");
    folder.Touch("A.mp3");
    folder.Touch("a.mp3");
    folder.Touch("Sub/x.mp3");
    folder.Touch("sub2/y.mp3");
    folder.Touch("note.txt");
    folder.Touch(".hidden.mp3");
    const QByteArray before = CurrentFolderBytes();
    EXPECT_EQ(Walk(root + "/", {"*.mp3"}),
              QList<QByteArray>(
                  {root + "/Sub/x.mp3", root + "/sub2/y.mp3", root + "/A.mp3", root + "/a.mp3", root + "/b.MP3"}));
    EXPECT_EQ(CurrentFolderBytes(), before);
    EXPECT_EQ(Walk(root, {""}), QList<QByteArray>());
    EXPECT_EQ(Walk(root, {}), QList<QByteArray>());
}

TEST_F(TFolderWalkTest, AFileMatchingAnyOfSeveralPatternsIsReportedOnce)
{
    folder.MakeFolder("in");
    folder.Touch("in/c.WAV");
    folder.Touch("b.mov");
    folder.Touch("a.mp3");
    folder.Touch("a.mp3.txt");
    folder.Touch("d.avi");
    EXPECT_EQ(Walk(root, {"*.wav", "*.mp3", "*.avi", "*.mov", "*.mp3"}),
              QList<QByteArray>({root + "/in/c.WAV", root + "/a.mp3", root + "/b.mov", root + "/d.avi"}));
    EXPECT_EQ(Walk(root, {"[BD].*", "*.mp?.txt"}),
              QList<QByteArray>({root + "/a.mp3.txt", root + "/b.mov", root + "/d.avi"}));
}

TEST_F(TFolderWalkTest, AFolderThatIsNotThereEndsTheWalkWithAnError)
{
    try {
        Walk(root + "/missing", {"*"});
        ADD_FAILURE() << "no error";
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.ErrorCode(), 2);
    }
}

TEST(ResolvedPath, RelativeNamesGoInsideTheFolderAndOthersStayAsTheyAre)
{
    EXPECT_EQ(ResolvedPath("/home/u", "noname.oml"), "/home/u/noname.oml");
    EXPECT_EQ(ResolvedPath("/", "noname.oml"), "/noname.oml");
    EXPECT_EQ(ResolvedPath("/home/u", "/etc/list.oml"), "/etc/list.oml");
    EXPECT_EQ(ResolvedPath("", "noname.oml"), "noname.oml");
    EXPECT_EQ(ResolvedPath("/home/u", "sub/../x.oml"), "/home/u/sub/../x.oml");
}

} // namespace
