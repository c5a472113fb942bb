#include "TScriptedBackEnd.h"
#include "device/TMediaPlayer.h"

#include <gtest/gtest.h>

namespace {

class TMediaPlayerTest : public testing::Test {
protected:
    TMediaPlayerTest() : player(std::make_unique<TScriptedBackEnd>(backEnd)) { player.SetFileName("/m/a.wav"); }

    void ExpectNoDeviceOpen(const std::function<void()> &command)
    {
        try {
            command();
            ADD_FAILURE() << "no error";
        } catch (const EMCIDeviceError &error) {
            EXPECT_STREQ(error.what(), "No MCI device open");
        }
    }

    TScriptedBackEnd::TState backEnd;
    TMediaPlayer player;
};

TEST_F(TMediaPlayerTest, NothingOpen)
{
    EXPECT_EQ(player.Mode(), dmNotReady);
    EXPECT_EQ(player.Error(), 263u);
    ExpectNoDeviceOpen([&] { player.Play(); });
    ExpectNoDeviceOpen([&] { player.Pause(); });
    ExpectNoDeviceOpen([&] { player.Resume(); });
    ExpectNoDeviceOpen([&] { player.Stop(); });
    ExpectNoDeviceOpen([&] { player.Rewind(); });
    ExpectNoDeviceOpen([&] { player.Seek(100); });
    EXPECT_EQ(player.Position(), 0u);
    EXPECT_EQ(player.Length(), 0u);
    player.Close();
    EXPECT_TRUE(backEnd.Log.isEmpty());
    EXPECT_FALSE(player.Opened());
    EXPECT_EQ(player.DeviceID(), 0);
}

TEST_F(TMediaPlayerTest, SeekingMovesTheOpenMediumAndTheVolumeIsClampedToItsRange)
{
    player.Open();
    backEnd.Length = 5000;
    player.Seek(1200);
    EXPECT_EQ(player.Position(), 1200u);
    EXPECT_EQ(player.Length(), 5000u);
    EXPECT_EQ(backEnd.Log.last(), "SeekTo 1 1200");
    EXPECT_EQ(player.Error(), 0u);
    for (const auto &[asked, kept] : {std::pair{0.25, 0.25}, {-1.0, 0.0}, {7.0, 1.0}}) {
        player.SetVolume(asked);
        EXPECT_EQ(player.Volume(), kept);
    }
}

TEST_F(TMediaPlayerTest, DesignValues)
{
    EXPECT_EQ(player.DeviceType(), dtAutoSelect);
    EXPECT_FALSE(player.Shareable());
    EXPECT_FALSE(player.AutoOpen());
    EXPECT_TRUE(player.AutoRewind()); // a new device rewinds; the main window turns it off
    EXPECT_EQ(player.Display(), nullptr);
    EXPECT_EQ(player.NotifyValue(), dnSuccessful);
}

TEST_F(TMediaPlayerTest, AFailedOpenRaisesTheBackEndsTextAndLeavesTheDeviceClosed)
{
    backEnd.Script.Unopenable << "/m/bad.mp3";
    player.SetFileName("/m/bad.mp3");
    try {
        player.Open();
        FAIL();
    } catch (const EMCIDeviceError &error) {
        EXPECT_STREQ(error.what(), "The file cannot be played.");
    }
    EXPECT_FALSE(player.Opened());
    ExpectNoDeviceOpen([&] { player.Play(); });
    backEnd.Script.Results["Open"] = 12345;
    player.SetFileName("/m/a.wav");
    try {
        player.Open();
        FAIL();
    } catch (const EMCIDeviceError &error) {
        EXPECT_STREQ(error.what(), "Unknown error code");
    }
}

TEST_F(TMediaPlayerTest, CommandsCarryTheirDefaultFlags)
{
    player.SetAutoRewind(false);
    player.Open();
    player.Play();
    player.Pause();
    player.Resume();
    player.Stop();
    player.Close();
    EXPECT_EQ(backEnd.Log, QStringList({"Open /m/a.wav wait", "Play notify", "Pause wait", "Resume notify",
                                        "Stop wait", "Close wait"}));
    EXPECT_FALSE(player.Opened());
}

TEST_F(TMediaPlayerTest, OneShotNotifyIsConsumedOnceAndLeftPendingByModeAndRewind)
{
    player.Open();
    player.SetNotify(true);
    player.SetNotify(true);
    player.SetNotify(true);
    player.Mode();
    player.Rewind();
    player.Stop();
    player.Stop();
    EXPECT_EQ(backEnd.Log.mid(1), QStringList({"Seek 1", "Stop wait notify", "Stop wait"}));
}

TEST_F(TMediaPlayerTest, OneShotRequestsOfAsynchronousCommands)
{
    player.SetAutoRewind(false);
    player.Open();
    player.SetNotify(false);
    player.SetWait(true);
    player.Play();
    player.Play();
    player.SetWait(false);
    player.Close(); // a pending wait of false makes even a close return at once
    EXPECT_EQ(backEnd.Log.mid(1), QStringList({"Play wait", "Play notify", "Close"}));
}

TEST_F(TMediaPlayerTest, RefusedResumeFallsBackToPlay)
{
    player.SetAutoRewind(false);
    player.Open();
    backEnd.Script.Results["Resume"] = 9;
    player.SetNotify(false);
    player.Resume();
    player.Stop();
    EXPECT_EQ(backEnd.Log.mid(1), QStringList({"Resume", "Play", "Stop wait"}));
    backEnd.Script.Results.remove("Resume");
    player.SetNotify(false);
    player.Resume(); // accepted: the request is used up
    player.Play();
    EXPECT_EQ(backEnd.Log.mid(4), QStringList({"Resume", "Play notify"}));
}

TEST_F(TMediaPlayerTest, PauseActsByMode)
{
    player.Open();
    player.Pause(); // stopped: nothing is sent
    EXPECT_EQ(backEnd.Log.size(), 1);
    backEnd.Mode = MCI_MODE_NOT_READY;
    player.Pause();
    EXPECT_EQ(backEnd.Log.size(), 1);
    backEnd.Mode = MCI_MODE_PLAY;
    player.Pause();
    EXPECT_EQ(player.Mode(), dmPaused);
    player.Pause(); // paused: resumes
    EXPECT_EQ(backEnd.Log.mid(1), QStringList({"Pause wait", "Resume notify"}));
    EXPECT_EQ(player.Mode(), dmPlaying);
}

TEST_F(TMediaPlayerTest, AFailedCloseKeepsTheMediumOpen)
{
    player.Open();
    backEnd.Script.Results["Close"] = 5;
    player.Close();
    EXPECT_TRUE(player.Opened());
    EXPECT_EQ(player.DeviceID(), 1);
    EXPECT_EQ(player.Error(), 5u);
    backEnd.Script.Results.remove("Close");
    player.Close();
    EXPECT_FALSE(player.Opened());
}

TEST_F(TMediaPlayerTest, OpenClosesAnOpenMediumFirst)
{
    player.Open();
    player.Open();
    EXPECT_EQ(backEnd.Log, QStringList({"Open /m/a.wav wait", "Close wait", "Open /m/a.wav wait"}));
    EXPECT_EQ(player.DeviceID(), 2);
}

TEST_F(TMediaPlayerTest, PlayAtTheEndRewindsOnlyWithAutoRewind)
{
    player.Open();
    player.Play(); // the scripted position (0) is not the length (1000): no rewind
    EXPECT_EQ(backEnd.Log.mid(1), QStringList({"Play notify"}));
}

TEST_F(TMediaPlayerTest, CompletionNoticesSetTheNotifyValue)
{
    auto *scripted = new TScriptedBackEnd(backEnd);
    TMediaPlayer device{std::unique_ptr<TMediaBackEnd>(scripted)};
    int notices = 0;
    QObject *sender = nullptr;
    device.OnNotify = [&](QObject *from) {
        ++notices;
        sender = from;
    };
    const QList<QPair<uint32_t, TDeviceNotifyValue>> codes = {
        {MCI_NOTIFY_ABORTED, dnAborted}, {MCI_NOTIFY_SUPERSEDED, dnSuperseded},
        {3, dnSuperseded}, {MCI_NOTIFY_FAILURE, dnFailure}, {16, dnFailure}, {MCI_NOTIFY_SUCCESSFUL, dnSuccessful}};
    for (const auto &[code, value] : codes) {
        scripted->SendNotice(code);
        EXPECT_EQ(device.NotifyValue(), value) << code;
    }
    EXPECT_EQ(notices, 6);
    EXPECT_EQ(sender, &device);
}

TEST_F(TMediaPlayerTest, DestructionClosesAnOpenMedium)
{
    {
        TMediaPlayer doomed(std::make_unique<TScriptedBackEnd>(backEnd));
        doomed.SetFileName("/m/b.wav");
        doomed.Open();
        doomed.SetNotify(true);
    }
    EXPECT_EQ(backEnd.Log, QStringList({"Open /m/b.wav wait", "Close wait"}));
}

TEST_F(TMediaPlayerTest, AutoOpenOpensWhenLoaded)
{
    player.Loaded();
    EXPECT_TRUE(backEnd.Log.isEmpty());
    player.SetAutoOpen(true);
    player.Loaded();
    EXPECT_TRUE(player.Opened());
}

} // namespace
