// A media-control client that nobody here wrote drives the player over the private bus.

#include "TMprisFixture.h"
#include "TPlayerctl.h"

#include "controls/TOECheckListBox.h"

#include <QProcess>
#include <QTimer>

namespace {

class TPlayerctlTest : public TMprisFixture {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("playerctl")).isEmpty())
            GTEST_SKIP() << "playerctl is not installed";
        TMprisFixture::SetUp();
        form->Timer1->stop();
        Fill({"/music/one.mp3", "/music/two.wav"});
        form->lbFiles->SetItemIndex(0);
    }

    QString Playerctl(const QStringList &arguments) { return ::Playerctl(bus.Environment(), arguments); }
};

TEST_F(TPlayerctlTest, PlaysPausesMovesAndReadsThePlayer)
{
    EXPECT_EQ(Playerctl({"status"}), "Stopped");
    Playerctl({"play"});
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_EQ(Playerctl({"status"}), "Playing");
    EXPECT_EQ(Playerctl({"metadata", "xesam:title"}), "one.mp3");
    device.Position = 1500;
    EXPECT_NEAR(Playerctl({"position"}).toDouble(), 1.5, 0.001);
    Playerctl({"pause"});
    EXPECT_EQ(device.Mode, MCI_MODE_PAUSE);
    EXPECT_EQ(Playerctl({"status"}), "Paused");
    Playerctl({"next"});
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    EXPECT_EQ(Playerctl({"metadata", "xesam:title"}), "two.wav");
    EXPECT_EQ(Playerctl({"status"}), "Playing");
}

TEST_F(TPlayerctlTest, SetsThePositionAndTheVolume)
{
    Playerctl({"play"});
    device.Log.clear();
    Playerctl({"position", "0.5"});
    EXPECT_EQ(device.Log.filter("SeekTo"), QStringList({"SeekTo 1 500"}));
    Playerctl({"volume", "0.3"});
    EXPECT_DOUBLE_EQ(device.Volume, 0.3);
    EXPECT_EQ(Playerctl({"volume"}), "0.300000");
}

TEST_F(TPlayerctlTest, ShuffleIsTheRandomPlayOrderAndTheListAlwaysLoops)
{
    EXPECT_EQ(Playerctl({"shuffle"}), "Off");
    EXPECT_EQ(Playerctl({"loop"}), "Playlist");
    Playerctl({"shuffle", "On"});
    EXPECT_TRUE(form->miRandom->isChecked());
    EXPECT_FALSE(form->miInOrder->isChecked());
    EXPECT_EQ(Playerctl({"shuffle"}), "On");
    Playerctl({"loop", "None"});
    Playerctl({"loop", "Track"});
    EXPECT_EQ(Playerctl({"loop"}), "Playlist");
    form->miInOrder->trigger(); // as the user picks it in the menu
    EXPECT_EQ(Playerctl({"shuffle"}), "Off");
    TChangeRecorder recorder(*client);
    Playerctl({"shuffle", "Toggle"});
    EXPECT_TRUE(form->miRandom->isChecked());
    ASSERT_TRUE(recorder.WaitFor(1));
    EXPECT_EQ(recorder.Changes.last().value("Shuffle"), true);
}

} // namespace
