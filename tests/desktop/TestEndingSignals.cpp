// The session ends, the terminal closes, Ctrl+C: the real program, offscreen and on the X
// server, is sent the signal after a list change, marks and a new current entry.

#include "TListMarks.h"
#include "TRunningPlayerFixture.h"
#include "window/TPlayerSettings.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <sys/types.h>

namespace {

struct TEnding {
    int Signal;
    const char *Platform;
};

class TEndingSignalsTest : public TRunningPlayerFixture, public testing::WithParamInterface<TEnding> {
protected:
    void SetUp() override
    {
        TRunningPlayerFixture::SetUp();
        if (IsSkipped())
            return;
        list = folder.File("songs.oml");
        folder.WriteFile("songs.oml",
                         Entry(false, folder.File("media/one.wav")) + Entry(false, folder.File("media/two.wav")));
        TPlayerSettings{100, 100, 573, 400, 1, true, false, true, true, list, 0, -1}.Write();
    }
    // The player, shown on the platform, has played the first entry and then been handed a
    // third one, which it plays.
    // Through a shell when a limit is given: the largest file the player may write, in KiB.
    void StartAndChange(QProcess &player, const char *platform, const QProcessEnvironment &more = {}, int fileLimit = 0)
    {
        QProcessEnvironment environment = Environment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QLatin1String(platform));
        environment.insert(more);
        player.setProcessEnvironment(environment);
        player.setWorkingDirectory(folder.path());
        if (fileLimit > 0)
            // A full disk, as far as the player can tell: writes past the limit fail (EFBIG).
            player.start(QStringLiteral("bash"),
                         {"-c", QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\"").arg(fileLimit),
                          QStringLiteral(OSTREL_PLAYER)});
        else
            player.start(QStringLiteral(OSTREL_PLAYER), {});
        ASSERT_TRUE(player.waitForStarted());
        ASSERT_EQ(AskUntil({"status"}, "Stopped"), "Stopped");
        Ask({"play"});
        ASSERT_EQ(AskUntil({"metadata", "xesam:url"}, Url("media/one.wav")), Url("media/one.wav"));
        QProcess second;
        Start(second, {"media/three.wav"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
        ASSERT_EQ(AskUntil({"metadata", "xesam:url"}, Url("media/three.wav")), Url("media/three.wav"));
    }
    // Waits for the end, answering meanwhile; whether it came in time.
    static bool Ends(QProcess &player, int milliseconds)
    {
        return QTest::qWaitFor([&] { return player.state() == QProcess::NotRunning; }, milliseconds);
    }
    QByteArray Changed() const
    {
        return Entry(true, folder.File("media/one.wav")) + Entry(false, folder.File("media/two.wav"))
            + Entry(true, folder.File("media/three.wav"));
    }

    QString list;
};

TEST_P(TEndingSignalsTest, TheChangesAreSavedAndTheStatusIsZero)
{
    QProcess player;
    StartAndChange(player, GetParam().Platform);
    if (HasFatalFailure())
        return;
    QDeadlineTimer deadline(5000);
    ::kill(pid_t(player.processId()), GetParam().Signal);
    ASSERT_TRUE(Ends(player, 5000)) << "still running";
    EXPECT_FALSE(deadline.hasExpired());
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(folder.ReadFile("songs.oml"), Changed());
    // The store was closed as at any end: no journal of it is left (reading it here leaves one).
    EXPECT_FALSE(QFile::exists(folder.path() + "/config/Ostrel/registry.db-wal"));
    const TPlayerSettings stored = TPlayerSettings::Read({});
    EXPECT_EQ(stored.DefaultFile, list);
    EXPECT_EQ(stored.ItemIndex, 2);
    EXPECT_EQ(QSize(stored.Width, stored.Height), QSize(573, 400));
    EXPECT_TRUE(stored.AutoSave);
}

INSTANTIATE_TEST_SUITE_P(EachSignalOnEachPlatform, TEndingSignalsTest,
                         testing::Values(TEnding{SIGTERM, "offscreen"}, TEnding{SIGHUP, "offscreen"},
                                         TEnding{SIGINT, "offscreen"}, TEnding{SIGTERM, "xcb"}, TEnding{SIGHUP, "xcb"},
                                         TEnding{SIGINT, "xcb"}),
                         [](const testing::TestParamInfo<TEnding> &ending) {
                             return std::string(sigabbrev_np(ending.param.Signal)) + "_" + ending.param.Platform;
                         });

using TEndingWhileBusyTest = TEndingSignalsTest;

TEST_F(TEndingWhileBusyTest, UnderAMessageBoxTheSaveStillRunsAndNoBoxIsWaitedFor)
{
    QProcess player;
    StartAndChange(player, "xcb");
    if (HasFatalFailure())
        return;
    QProcess second;
    Start(second, {"missing.wav"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.FindMapped("Ostrel Media Player") != 0; }, 5000));
    ::kill(pid_t(player.processId()), SIGTERM);
    ASSERT_TRUE(Ends(player, 5000));
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(folder.ReadFile("songs.oml"), Changed());
}

TEST_F(TEndingWhileBusyTest, DuringTheWalkOfALargeTreeTheListSavedIsWhole)
{
    QProcess player;
    StartAndChange(player, "offscreen");
    if (HasFatalFailure())
        return;
    for (int sub = 0; sub < 100; ++sub) {
        const QString tree = QStringLiteral("tree/%1").arg(sub);
        ASSERT_TRUE(QDir(folder.path()).mkpath(tree));
        for (int i = 0; i < 100; ++i)
            folder.Touch(QFile::encodeName(QStringLiteral("%1/%2.mp3").arg(tree).arg(i)));
    }
    QProcess second;
    Start(second, {"tree"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    ::kill(pid_t(player.processId()), SIGINT);
    ASSERT_TRUE(Ends(player, 5000));
    EXPECT_EQ(player.exitCode(), 0);
    // The list as far as the walk had come: the entries before it, then whole entries of the tree.
    const QByteArray saved = folder.ReadFile("songs.oml");
    EXPECT_TRUE(saved.startsWith(Changed())) << saved.left(400).toStdString();
    const QList<QByteArray> lines = saved.mid(Changed().size()).split('\n');
    EXPECT_EQ(lines.size() % 2, 1);
    EXPECT_TRUE(lines.last().isEmpty());
    static const QRegularExpression entry(QStringLiteral("^(0\r|.*/tree/\\d+/\\d+\\.mp3\r)$"));
    for (const QByteArray &line : lines.first(lines.size() - 1))
        EXPECT_TRUE(entry.match(QString::fromUtf8(line)).hasMatch()) << line.toStdString();
}

TEST_F(TEndingWhileBusyTest, TwoSignalsInARowEndItAndTheListIsOldOrNewButWhole)
{
    QProcess player;
    StartAndChange(player, "offscreen");
    if (HasFatalFailure())
        return;
    const QByteArray before = folder.ReadFile("songs.oml");
    ::kill(pid_t(player.processId()), SIGINT);
    ::kill(pid_t(player.processId()), SIGINT);
    ASSERT_TRUE(Ends(player, 5000));
    const QByteArray saved = folder.ReadFile("songs.oml");
    EXPECT_TRUE(saved == before || saved == Changed()) << saved.toStdString();
}

TEST_F(TEndingWhileBusyTest, AStormOfSighupsEndsItOnceAndCleanly)
{
    QProcess player;
    StartAndChange(player, "offscreen");
    if (HasFatalFailure())
        return;
    for (int i = 0; i < 1000 && ::kill(pid_t(player.processId()), SIGHUP) == 0; ++i) { }
    ASSERT_TRUE(Ends(player, 5000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(folder.ReadFile("songs.oml"), Changed());
}

TEST_F(TEndingWhileBusyTest, KilledFiveSecondsAfterAChangeTheChangeIsOnDiskWithAutoSaveAndOnlyWithIt)
{
    QProcess player;
    StartAndChange(player, "offscreen");
    if (HasFatalFailure())
        return;
    QTest::qWait(5000);
    player.kill();
    ASSERT_TRUE(Ends(player, 5000));
    EXPECT_EQ(folder.ReadFile("songs.oml"), Changed());
    EXPECT_EQ(TPlayerSettings::Read({}).ItemIndex, 2);

    const QByteArray before = folder.ReadFile("songs.oml");
    TPlayerSettings{100, 100, 573, 400, 1, true, false, false, true, list, 0, -1}.Write();
    QProcess unsaved;
    StartAndChange(unsaved, "offscreen");
    if (HasFatalFailure())
        return;
    QTest::qWait(5000);
    unsaved.kill();
    ASSERT_TRUE(Ends(unsaved, 5000));
    EXPECT_EQ(folder.ReadFile("songs.oml"), before) << "written without Auto Save";
    EXPECT_EQ(TPlayerSettings::Read({}).ItemIndex, -1);
}

// A Wayland compositor of the test's own (weston, headless) that goes away under the player.
class TCompositorLossTest : public TEndingSignalsTest {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
            GTEST_SKIP() << "weston is not installed";
        TEndingSignalsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        weston.setProcessEnvironment(environment);
        weston.start(QStringLiteral("weston"),
                     {"--backend=headless-backend.so", "--socket=ostrel-test", "--idle-time=0", "--no-config"});
        ASSERT_TRUE(weston.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(runtime.filePath("ostrel-test")); }, 10000))
            << weston.readAllStandardError().toStdString();
    }
    void TearDown() override
    {
        weston.kill();
        weston.waitForFinished(3000);
        TEndingSignalsTest::TearDown();
    }
    QProcessEnvironment OnWayland() const
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("ostrel-test"));
        return environment;
    }

    QTemporaryDir runtime;
    QProcess weston;
};

TEST_F(TCompositorLossTest, WhenTheCompositorGoesAwayTheMarksAndValuesAreOnDisk)
{
    QProcess player;
    StartAndChange(player, "wayland", OnWayland());
    if (HasFatalFailure())
        return;
    QTest::qWait(5000);
    weston.terminate();
    ASSERT_TRUE(Ends(player, 10000)) << "the player outlived its compositor";
    EXPECT_EQ(folder.ReadFile("songs.oml"), Changed());
    const TPlayerSettings stored = TPlayerSettings::Read({});
    EXPECT_EQ(stored.ItemIndex, 2);
    EXPECT_EQ(stored.DefaultFile, list);
}

TEST_F(TEndingWhileBusyTest, OnAFullDiskBackgroundSavesFailWithoutABoxAndTheClosingSaveSaysSo)
{
    // The store and the list written before the limit is set; then no file may grow past 1 KiB.
    QByteArray songs;
    for (int i = 0; i < 40; ++i)
        songs += Entry(false, folder.File("media/one.wav") + QStringLiteral("?%1").arg(i));
    songs = Entry(false, folder.File("media/one.wav")) + songs;
    folder.WriteFile("songs.oml", songs);
    QProcess player;
    StartAndChange(player, "xcb", {}, 1);
    if (HasFatalFailure())
        return;
    QTest::qWait(6000);
    EXPECT_EQ(windows.FindMapped("Ostrel Media Player"), 0u) << "a box for a background save";
    EXPECT_EQ(Ask({"status"}), "Playing") << "the player stopped working";
    EXPECT_EQ(folder.ReadFile("songs.oml"), songs) << "the list on disk was damaged";

    QDBusConnection client = bus.Connect(QStringLiteral("quitting"));
    client.call(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.ostrel", "/org/mpris/MediaPlayer2",
                                               "org.mpris.MediaPlayer2", "Quit"));
    uint32_t box = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (box = windows.FindMapped("Ostrel Media Player")) != 0; }, 5000))
        << "the closing save said nothing";
    windows.RequestClose(box);
    EXPECT_TRUE(Ends(player, 5000));
    EXPECT_EQ(folder.ReadFile("songs.oml"), songs);
}

TEST_F(TEndingWhileBusyTest, ASignalDuringABackgroundSaveWaitsForItAndSavesOnce)
{
    // A list long enough that its background save takes a while to write.
    QByteArray songs = Entry(false, folder.File("media/one.wav")) + Entry(false, folder.File("media/two.wav"));
    songs.reserve(80 * 300000);
    for (int i = 0; i < 300000; ++i)
        songs += "0\r\n/music/a rather long folder name/track " + QByteArray::number(i) + ".mp3\r\n";
    folder.WriteFile("songs.oml", songs);
    QProcess player;
    StartAndChange(player, "offscreen");
    if (HasFatalFailure())
        return;
    // The save writes a hidden file beside the list and puts it in the list's place when done.
    const QDir here(folder.path());
    bool caught = false;
    QDeadlineTimer deadline(15000);
    while (!caught && !deadline.hasExpired()) {
        caught = !here.entryList({".songs.oml.*"}, QDir::Files | QDir::Hidden).isEmpty();
        if (!caught)
            QTest::qWait(1);
    }
    ASSERT_TRUE(caught) << "no background save was seen";
    ::kill(pid_t(player.processId()), SIGTERM);
    ASSERT_TRUE(Ends(player, 10000));
    EXPECT_EQ(player.exitCode(), 0);
    const QByteArray saved = folder.ReadFile("songs.oml");
    EXPECT_EQ(saved.size(), songs.size() + Entry(true, folder.File("media/three.wav")).size());
    EXPECT_TRUE(
        saved.startsWith(Entry(true, folder.File("media/one.wav")) + Entry(false, folder.File("media/two.wav"))));
    EXPECT_TRUE(saved.endsWith(Entry(true, folder.File("media/three.wav"))));
    EXPECT_TRUE(here.entryList({".songs.oml.*"}, QDir::Files | QDir::Hidden).isEmpty()) << "a save left behind";
}

} // namespace
