#include "TTempFolder.h"
#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "medialist/MediaListFile.h"
#include "medialist/TMediaEntries.h"

#include <QElapsedTimer>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace {

constexpr uid_t Nobody = 65534;

// The error text of an action, or "<done>".
template <typename Action>
std::string ErrorOf(Action &&action)
{
    try {
        action();
    } catch (const std::exception &error) {
        return error.what();
    }
    return "<done>";
}

// Runs the action in a child process as the user nobody, as an ordinary user would meet the
// files; the result is the child's exit code (the action's own).
template <typename Action>
int AsNobody(Action &&action)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(99);
        ::_exit(action());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

bool IsLink(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

class TListFileSafetyTest : public testing::Test {
protected:
    void SaveOml(const QString &path) { MediaListFile::SaveOml(path, list); }
    void LoadOml(const QString &path) { MediaListFile::LoadOml(path, list); }

    TTempFolder folder;
    TMediaEntries list;
};

TEST_F(TListFileSafetyTest, APipeIsNeitherReadNorWrittenAndNothingWaitsForIt)
{
    const QString pipe = folder.File("default-List.oml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    list.AppendEntries({{"a", true}});
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ErrorOf([&] { LoadOml(pipe); }), "File access denied");
    EXPECT_EQ(ErrorOf([&] { SaveOml(pipe); }), "File access denied");
    EXPECT_EQ(ErrorOf([&] { ListFormats::ReadPlainListFile(pipe); }), "Cannot open file " + pipe.toStdString());
    EXPECT_EQ(ErrorOf([&] { ListFormats::WritePlainListFile(pipe, {"a"}); }),
              "Cannot create file " + pipe.toStdString());
    EXPECT_LT(clock.elapsed(), 2000);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(TListFileSafetyTest, ALinkToAnEndlessDeviceFailsAtOnceAndTheDeviceStays)
{
    for (const char *device : {"/dev/zero", "/dev/urandom"}) {
        const QString link = folder.File(QStringLiteral("list%1.oml").arg(device[5]));
        ASSERT_TRUE(QFile::link(QLatin1String(device), link));
        EXPECT_EQ(ErrorOf([&] { LoadOml(link); }), "File access denied") << device;
        EXPECT_EQ(ErrorOf([&] { ListFormats::ReadPlainListFile(link); }), "Cannot open file " + link.toStdString());
        EXPECT_EQ(ErrorOf([&] { SaveOml(link); }), "File access denied");
        EXPECT_TRUE(IsLink(link));
    }
    struct stat info {};
    ASSERT_EQ(::stat("/dev/zero", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(TListFileSafetyTest, ALinkLoopIsNotReplacedByAFile)
{
    const QString first = folder.File("a.oml"), second = folder.File("b.oml");
    ASSERT_TRUE(QFile::link(second, first));
    ASSERT_TRUE(QFile::link(first, second));
    EXPECT_EQ(ErrorOf([&] { SaveOml(first); }), "I/O error 40");
    EXPECT_EQ(ErrorOf([&] { ListFormats::WritePlainListFile(first, {"a"}); }),
              "Cannot create file " + first.toStdString());
    EXPECT_TRUE(IsLink(first));
    EXPECT_TRUE(IsLink(second));
}

TEST_F(TListFileSafetyTest, AReadOnlyListOfAnOrdinaryUserStaysAsItWas)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super user can play an ordinary user here";
    folder.WriteFile("list.oml", "0\r\nold\r\n");
    const QByteArray path = QFile::encodeName(folder.File("list.oml"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    ASSERT_EQ(::chown(path.constData(), Nobody, Nobody), 0);
    list.AppendEntries({{"new", true}});
    const auto saveAs = [&](int code) {
        return [&, code] {
            const std::string oml = ErrorOf([&] { SaveOml(folder.File("list.oml")); });
            const std::string plain = ErrorOf([&] { ListFormats::WritePlainListFile(folder.File("list.oml"), {"new"}); });
            return oml == "File access denied" && plain == "Cannot create file " + folder.File("list.oml").toStdString()
                       ? code
                       : 1;
        };
    };
    EXPECT_EQ(AsNobody(saveAs(0)), 0);
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\nold\r\n");
    // Nor may the user replace another user's file that it may not write.
    ASSERT_EQ(::chown(path.constData(), 0, 0), 0);
    ASSERT_EQ(::chmod(path.constData(), 0644), 0);
    EXPECT_EQ(AsNobody(saveAs(0)), 0);
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\nold\r\n");
}

TEST_F(TListFileSafetyTest, AnImmutableListStaysAsItWasEvenForTheSuperUser)
{
    folder.WriteFile("list.oml", "0\r\nold\r\n");
    const int fd = ::open(QFile::encodeName(folder.File("list.oml")).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
                           && (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (!immutable) {
        ::close(fd);
        GTEST_SKIP() << "this file system or user cannot make a file immutable";
    }
    list.AppendEntries({{"new", true}});
    const std::string oml = ErrorOf([&] { SaveOml(folder.File("list.oml")); });
    const std::string plain = ErrorOf([&] { ListFormats::WritePlainListFile(folder.File("list.oml"), {"new"}); });
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    EXPECT_EQ(oml, "File access denied");
    EXPECT_EQ(plain, "Cannot create file " + folder.File("list.oml").toStdString());
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\nold\r\n");
}

TEST_F(TListFileSafetyTest, AFolderThatTakesNoNewFileRefusesTheSaveAndKeepsTheList)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super user can play an ordinary user here";
    folder.WriteFile("list.oml", "0\r\nold\r\n");
    const QByteArray path = QFile::encodeName(folder.File("list.oml"));
    ASSERT_EQ(::chown(path.constData(), Nobody, Nobody), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    list.AppendEntries({{"new", true}});
    const int result = AsNobody([&] {
        const std::string oml = ErrorOf([&] { SaveOml(folder.File("list.oml")); });
        const std::string plain = ErrorOf([&] { ListFormats::WritePlainListFile(folder.File("list.oml"), {"new"}); });
        return oml == "File access denied" && plain == "Cannot create file " + folder.File("list.oml").toStdString() ? 0 : 1;
    });
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\nold\r\n");
}

TEST_F(TListFileSafetyTest, TheNextSaveRemovesTheStaleTemporariesOfItsOwnListOnly)
{
    const QStringList stale = {".list.oml.Ab12Cd", ".list.oml.zzzzzz"};
    const QStringList kept = {".list.oml.fresh1", ".list.oml.Ab12C", ".other.oml.Ab12Cd", "list.oml.Ab12Cd"};
    for (const QString &name : stale + kept)
        folder.WriteFile(name, "partial");
    const utimbuf hourAgo{::time(nullptr) - 3600, ::time(nullptr) - 3600};
    for (const QString &name : stale + kept.mid(1))
        ASSERT_EQ(::utime(QFile::encodeName(folder.File(name)).constData(), &hourAgo), 0);
    list.AppendEntries({{"a", false}});
    SaveOml(folder.File("list.oml"));
    for (const QString &name : stale)
        EXPECT_EQ(folder.ReadFile(name), "<missing>") << name.toStdString();
    for (const QString &name : kept)
        EXPECT_EQ(folder.ReadFile(name), "partial") << name.toStdString();
    EXPECT_EQ(folder.ReadFile("list.oml"), "0\r\na\r\n");
}

} // namespace
