// The installed program as a desktop's media controls meet it: its own bus connection made
// after start-up, the real engine, and a client nobody here wrote.

#include "TDesktopFixture.h"
#include "TPrivateBus.h"
#include "window/TPlayerSettings.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>

namespace {

class TMediaControlsTest : public TDesktopFixture {
protected:
    QString Playerctl(const QStringList &arguments)
    {
        QProcess playerctl;
        playerctl.setProcessEnvironment(bus.Environment());
        playerctl.start(QStringLiteral("playerctl"), QStringList{QStringLiteral("--player=ostrel")} + arguments);
        playerctl.waitForFinished(10000);
        return QString::fromUtf8(playerctl.readAllStandardOutput()).trimmed();
    }
    // Asks until the answer is the expected one or five seconds have passed.
    QString PlayerctlUntil(const QStringList &arguments, const QString &expected)
    {
        QString answer;
        const QDeadlineTimer deadline(5000);
        while ((answer = Playerctl(arguments)) != expected && !deadline.hasExpired())
            QTest::qWait(50);
        return answer;
    }

    TPrivateBus bus;
};

TEST_F(TMediaControlsTest, TheRunningPlayerIsPlayedAndQuitFromTheBus)
{
    if (QStandardPaths::findExecutable(QStringLiteral("playerctl")).isEmpty())
        GTEST_SKIP() << "playerctl is not installed";
    ASSERT_FALSE(bus.Address().isEmpty());
    const QByteArray tone = QFile::encodeName(QStringLiteral(TEST_DATA "/step-a.wav"));
    const QString list = folder.File(QStringLiteral("controlled.oml"));
    folder.WriteFile(QStringLiteral("controlled.oml"), "0\r\n" + tone + "\r\n");
    TPlayerSettings stored{100, 100, 573, 400, 1, true, false, true, true, list, 0, 0};
    stored.Write(); // the list with its entry selected, as a player closed so leaves it
    QProcess player;
    QProcessEnvironment environment = bus.Environment();
    environment.insert(QStringLiteral("HOME"), folder.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path() + "/config");
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(folder.path());
    player.start(QStringLiteral(OSTREL_PLAYER), {});
    ASSERT_TRUE(player.waitForStarted());

    EXPECT_EQ(PlayerctlUntil({"status"}, "Stopped"), "Stopped");
    EXPECT_EQ(Playerctl({"metadata", "xesam:title"}), "step-a.wav");
    Playerctl({"play"});
    EXPECT_EQ(PlayerctlUntil({"status"}, "Playing"), "Playing");
    EXPECT_EQ(Playerctl({"metadata", "xesam:url"}), "file://" + QString::fromUtf8(tone));
    const QDeadlineTimer deadline(5000);
    while (Playerctl({"position"}).toDouble() <= 0.2 && !deadline.hasExpired())
        QTest::qWait(50);
    EXPECT_GT(Playerctl({"position"}).toDouble(), 0.2) << "the engine's position does not move";
    EXPECT_GT(Playerctl({"metadata", "mpris:length"}).toLongLong(), 1000000);
    Playerctl({"pause"});
    EXPECT_EQ(PlayerctlUntil({"status"}, "Paused"), "Paused");

    QDBusConnection client = bus.Connect(QStringLiteral("quitting"));
    QDBusInterface root(QStringLiteral("org.mpris.MediaPlayer2.ostrel"), QStringLiteral("/org/mpris/MediaPlayer2"),
                        QStringLiteral("org.mpris.MediaPlayer2"), client);
    EXPECT_TRUE(root.call(QStringLiteral("Quit")).errorName().isEmpty());
    EXPECT_TRUE(player.waitForFinished(5000)) << "Quit did not end the player";
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_EQ(folder.ReadFile(QStringLiteral("controlled.oml")), "1\r\n" + tone + "\r\n") << "Auto Save";
}

} // namespace
