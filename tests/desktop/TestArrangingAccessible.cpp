// Arranging the list as a user of a screen reader does it in the real program: the commands
// through AT-SPI, the rows read back, and Stop After Current heard on the real engine.

#include "TAccessiblePlayerFixture.h"
#include "TestData.h"
#include "ToneSegments.h"
#include "window/TPlayerSettings.h"

namespace {

using TArrangingAccessibleTest = TAccessiblePlayerFixture;

// step-a.wav: 440 Hz for 1.25 s; step-b.wav: 880 Hz, then 1320 Hz.
const QList<double> BandEdges = {660, 1100};

TEST_F(TArrangingAccessibleTest, SortQueueRemoveAllUndoAndStopAfterCurrentAsAScreenReaderMeetsThem)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    const auto copy = [&](const QByteArray &from, const QString &to) {
        QFile source(QString::fromUtf8(from));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        folder.WriteFile(to, source.readAll());
    };
    copy(TestDataFile("step-b.wav"), "10 - Tenth.wav");
    copy(TestDataFile("step-a.wav"), "2 - Second.wav");
    copy(TestDataFile("step-b.wav"), "1 - First.wav");
    const QString list = folder.File("arrange.oml");
    folder.WriteFile("arrange.oml", Entry(true, folder.File("10 - Tenth.wav")) + Entry(false, folder.File("2 - Second.wav"))
                                        + Entry(false, folder.File("1 - First.wav")));
    TPlayerSettings{100, 100, 573, 400, 1, true, false, true, true, list, 0, -1}.Write();
    StartAccessiblePlayer();

    const QString recording = folder.File("stop-after.raw");
    auto recorder = Session->StartRecording(recording);
    QProcess reader;
    RunScript(reader, "arrange_list_atspi.py");
    EXPECT_EQ(reader.readAllStandardError(), QByteArray());
    const QString f = folder.path();
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()),
              "loaded: [x] " + f + "/10 - Tenth.wav | [ ] " + f + "/2 - Second.wav | [ ] " + f + "/1 - First.wav\n"
              "sorted: [ ] " + f + "/1 - First.wav | [ ] " + f + "/2 - Second.wav | [x] " + f + "/10 - Tenth.wav\n"
              "queued: [ ] " + f + "/1 - First.wav | [ ] " + f + "/2 - Second.wav | [x] [1] " + f + "/10 - Tenth.wav\n"
              "removed: \n"
              "undone: [ ] " + f + "/1 - First.wav | [ ] " + f + "/2 - Second.wav | [x] " + f + "/10 - Tenth.wav\n");
    EXPECT_EQ(reader.exitCode(), 0);

    // "2 - Second" plays to its end, and nothing after it.
    QTest::qWait(3000);
    recorder->terminate();
    recorder->waitForFinished(2000);
    QFile recorded(recording);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    const QList<TToneSegment> all = ToneSegments(recorded.readAll(), TDesktopSession::RecordingRate, BandEdges);
    const QList<TToneSegment> heard = Heard(all);
    ASSERT_EQ(heard.size(), 1) << Describe(all).toStdString();
    EXPECT_EQ(heard[0].Band, 1);
    EXPECT_NEAR(heard[0].Length, 1.25, 0.02) << Describe(all).toStdString();

    ASSERT_TRUE(Quit(player));
    // The close saved the list in its new order, with the marks it had and the one of what played.
    EXPECT_EQ(folder.ReadFile("arrange.oml"), Entry(false, folder.File("1 - First.wav"))
                                                  + Entry(true, folder.File("2 - Second.wav"))
                                                  + Entry(true, folder.File("10 - Tenth.wav")));
}

} // namespace
