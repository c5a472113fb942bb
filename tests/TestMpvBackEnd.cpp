#include "TestData.h"
#include "device/TMediaPlayer.h"
#include "device/TMpvBackEnd.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class TMpvTest : public testing::Test {
protected:
    TMpvTest() : player(std::make_unique<TMpvBackEnd>()) { player.SetAutoRewind(false); }

    QString OpenError(const QByteArray &file)
    {
        player.SetFileName(file);
        try {
            player.Open();
        } catch (const EMCIDeviceError &error) {
            return QString::fromUtf8(error.what());
        }
        return QStringLiteral("<opened>");
    }

    // Keeps the event loop running, as the player's window does, until the mode is reached.
    bool WaitForMode(TDeviceMode mode, int milliseconds)
    {
        return QTest::qWaitFor([&] { return player.Mode() == mode; }, milliseconds);
    }

    TMediaPlayer player;
};

TEST_F(TMpvTest, PlaysPausesResumesAndStopsAWave)
{
    player.SetFileName(TestDataFile("tone.wav"));
    player.Open();
    EXPECT_TRUE(player.Opened());
    EXPECT_NE(player.DeviceID(), 0);
    EXPECT_EQ(player.Mode(), dmStopped);
    player.Play();
    EXPECT_EQ(player.Mode(), dmPlaying);
    QTest::qWait(300);
    player.Pause();
    EXPECT_EQ(player.Mode(), dmPaused);
    player.Resume();
    EXPECT_EQ(player.Mode(), dmPlaying);
    QTest::qWait(100);
    player.Stop();
    EXPECT_EQ(player.Mode(), dmStopped);
    QTest::qWait(200);
    EXPECT_EQ(player.Mode(), dmStopped);
    player.Close();
    EXPECT_FALSE(player.Opened());
    EXPECT_EQ(player.Mode(), dmNotReady);
}

TEST_F(TMpvTest, TheEndOfTheMediumIsStoppedAndPlayThenPlaysNothingMore)
{
    for (const char *file : {"tone.mp3", "tone.wav", "tiny.avi"}) {
        player.SetFileName(TestDataFile(file));
        player.Open();
        QElapsedTimer clock;
        clock.start();
        player.Play();
        EXPECT_TRUE(WaitForMode(dmStopped, 2600)) << file;
        EXPECT_LT(clock.elapsed(), 2600) << file;
        EXPECT_GT(clock.elapsed(), 250) << file; // it played, not skipped to the end
        player.Play();
        QTest::qWait(300);
        EXPECT_EQ(player.Mode(), dmStopped) << file;
    }
}

TEST_F(TMpvTest, StopKeepsThePosition)
{
    player.SetFileName(TestDataFile("tone.wav"));
    player.Open();
    player.Play();
    QTest::qWait(600);
    player.Stop();
    QElapsedTimer clock;
    clock.start();
    player.Play(); // goes on from 0.6 s, so it ends after about 0.4 s
    ASSERT_TRUE(WaitForMode(dmStopped, 2000));
    EXPECT_LT(clock.elapsed(), 800);
}

TEST_F(TMpvTest, SeekingMovesTheEngineAndLengthAndVolumeAreKnown)
{
    player.SetVolume(0.5);
    player.SetFileName(TestDataFile("tone.wav"));
    player.Open();
    EXPECT_EQ(player.Volume(), 0.5);
    EXPECT_NEAR(double(player.Length()), 1000, 60);
    player.Play();
    player.Seek(800);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.Position() >= 800; }, 2000));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitForMode(dmStopped, 2000)); // only the last 0.2 s is left to play
    EXPECT_LT(clock.elapsed(), 700);
    player.SetVolume(2.0);
    EXPECT_EQ(player.Volume(), 1.0);
}

// The window seeks at any moment: before the sound has started, past the end, while paused.
TEST_F(TMpvTest, ASeekToTheEndOrPastItEndsTheMediumWhenEverItComes)
{
    for (const char *file : {"tone.wav", "tone.mp3", "step-b.wav"}) {
        player.SetFileName(TestDataFile(file));
        player.Open();
        const uint32_t length = player.Length();
        player.Play();
        player.Seek(length); // before the sound has started
        EXPECT_TRUE(WaitForMode(dmStopped, 2600)) << file;
        player.Seek(length + 500);
        player.Play();
        EXPECT_TRUE(WaitForMode(dmStopped, 2600)) << file << " past the end";
        player.Close();
    }
    player.SetFileName(TestDataFile("tone.wav"));
    player.Open();
    player.Play();
    QTest::qWait(100);
    player.Pause();
    player.Seek(player.Length());
    QTest::qWait(300);
    EXPECT_EQ(player.Mode(), dmPaused);
    player.Resume();
    EXPECT_TRUE(WaitForMode(dmStopped, 2600)) << "resumed at the end";
}

TEST_F(TMpvTest, FilesThatCannotBePlayedFailWithTheBackEndsText)
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.path() + "/pipe.mp3");
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    QFile empty(folder.path() + "/empty.mp3");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile truncated(folder.path() + "/truncated.wav");
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    QFile whole(QString::fromLocal8Bit(TestDataFile("tone.wav")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    truncated.write(whole.read(30));
    truncated.close();

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(OpenError(fifo), "Only regular local files can be played.");
    EXPECT_EQ(OpenError("/dev/zero"), "Only regular local files can be played.");
    EXPECT_EQ(OpenError(QFile::encodeName(folder.path())), "Only regular local files can be played.");
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_EQ(OpenError(TestDataFile("missing.mp3")), "The file does not exist.");
    EXPECT_EQ(OpenError("http://127.0.0.1:9/x.mp3"), "The file does not exist.");
    EXPECT_EQ(OpenError("-"), "The file does not exist.");
    EXPECT_EQ(OpenError("fd://0"), "The file does not exist.");
    EXPECT_EQ(OpenError("--ytdl=yes"), "The file does not exist.");
    EXPECT_EQ(OpenError(""), "The file does not exist.");
    const QStringList engineTexts = {"loading failed", "unrecognized file format", "The file holds nothing to play."};
    EXPECT_TRUE(engineTexts.contains(OpenError(TestDataFile("text.mp3"))))
        << OpenError(TestDataFile("text.mp3")).toStdString();
    EXPECT_TRUE(engineTexts.contains(OpenError(QFile::encodeName(empty.fileName()))));
    EXPECT_NE(OpenError(QFile::encodeName(truncated.fileName())), "<opened>");
    EXPECT_FALSE(player.Opened());
    EXPECT_EQ(player.Mode(), dmNotReady);
    // After all that the device still plays.
    EXPECT_EQ(OpenError(TestDataFile("tone.mp3")), "<opened>");
}

TEST_F(TMpvTest, APlaylistDisguisedAsMediaNeverReachesTheNetwork)
{
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    QTemporaryDir folder;
    QFile playlist(folder.path() + "/playlist.mp3");
    ASSERT_TRUE(playlist.open(QIODevice::WriteOnly));
    playlist.write("#EXTM3U\nhttp://127.0.0.1:" + QByteArray::number(listener.serverPort()) + "/x.mp3\n");
    playlist.close();
    const QString text = OpenError(QFile::encodeName(playlist.fileName()));
    EXPECT_NE(text, "<opened>");
    EXPECT_FALSE(text.isEmpty());
    QTest::qWait(500);
    EXPECT_FALSE(listener.hasPendingConnections());
    EXPECT_FALSE(listener.waitForNewConnection(200));
}

} // namespace
