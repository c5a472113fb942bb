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
    void Touch(const QByteArray &relative)
    {
        const int fd = ::open((root + '/' + relative).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    void MakeFolder(const QByteArray &relative) { ASSERT_EQ(::mkdir((root + '/' + relative).constData(), 0755), 0); }
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
    MakeFolder("Sub");
    MakeFolder("sub2");
    Touch("b.MP3");
    Touch("A.mp3");
    Touch("a.mp3");
    Touch("Sub/x.mp3");
    Touch("sub2/y.mp3");
    Touch("note.txt");
    Touch(".hidden.mp3");
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
    MakeFolder("in");
    Touch("in/c.WAV");
    Touch("b.mov");
    Touch("a.mp3");
    Touch("a.mp3.txt");
    Touch("d.avi");
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
