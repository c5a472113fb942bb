// Resume Playback in the real program: a file played to 12 s, the player quit and started
// again, is heard from 12 s on, or stays paused there; without the option nothing plays.

#include "TRunningPlayerFixture.h"
#include "ToneSegments.h"
#include "window/WindowValues.h"

#include <QProcess>

namespace {

using TResumePlaybackTest = TRunningPlayerFixture;

TEST_F(TResumePlaybackTest, APlayedFileGoesOnWhereItWasPlayingOrPausedAndOnlyWithTheOption)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    const QString file = folder.File("two-tones.wav"); // 440 Hz to 12 s, then 880 Hz
    QProcess encoder;
    encoder.start(
        "ffmpeg",
        {"-v", "error", "-f", "lavfi", "-i", "aevalsrc=0.4*sin(2*PI*if(lt(t\\,12)\\,440\\,880)*t):d=16:s=44100", file});
    ASSERT_TRUE(encoder.waitForFinished(20000) && encoder.exitCode() == 0)
        << encoder.readAllStandardError().constData();
    const struct {
        const char *Name;
        bool Option;
        bool Paused;
    } cases[] = {{"playing", true, false}, {"paused", true, true}, {"without the option", false, false}};
    for (const auto &c : cases) {
        folder.WriteFile("default-List.oml", QByteArray());
        StoredOption::Write(StoredOption::ResumePlayback, c.Option);
        QProcess first;
        Start(first, {file});
        ASSERT_EQ(AskUntil({"status"}, "Playing"), "Playing") << c.Name;
        Ask({"position", "12"});
        if (c.Paused)
            Ask({"pause"});
        QTest::qWait(300);
        ASSERT_TRUE(Quit(first)) << c.Name;

        const QString recording = folder.path() + QStringLiteral("/%1.raw").arg(c.Name);
        auto recorder = Session->StartRecording(recording);
        QProcess again;
        Start(again, {});
        const QString status = AskUntil({"status"}, c.Option ? (c.Paused ? "Paused" : "Playing") : "Stopped");
        const double position = Ask({"position"}).toDouble();
        QTest::qWait(1000);
        recorder->terminate();
        recorder->waitForFinished(2000);
        ASSERT_TRUE(Quit(again)) << c.Name;
        const QList<TToneSegment> heard = Heard(
            ToneSegments(folder.ReadFile(QFileInfo(recording).fileName()), TDesktopSession::RecordingRate, {660}));
        if (!c.Option || c.Paused) {
            EXPECT_EQ(status, c.Option ? "Paused" : "Stopped") << c.Name;
            EXPECT_TRUE(heard.isEmpty()) << c.Name << ": " << Describe(heard).toStdString();
        } else {
            EXPECT_EQ(status, "Playing") << c.Name;
            ASSERT_FALSE(heard.isEmpty()) << c.Name;
            EXPECT_EQ(heard.first().Band, 2) << c.Name << ": " << Describe(heard).toStdString(); // 880 Hz
        }
        if (c.Option) {
            EXPECT_NEAR(position, 12.5, 0.6) << c.Name;
        }
    }
}

} // namespace
