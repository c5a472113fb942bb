#include "TDesktopFixture.h"
#include "TestData.h"
#include "ToneSegments.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

// step-a.wav: 440 Hz for 1.25 s. step-b.wav: 880 Hz for 0.3 s, then 1320 Hz for 0.5 s.
enum TBand { Silence, ToneA, ToneBFirst, ToneBSecond };
const QList<double> BandEdges = {660, 1100};
constexpr double ToneALength = 1.25;

using THeardPlaybackTest = TDesktopFixture;

// The tone segments of what the recorder took, once it is ended.
QList<TToneSegment> RecordedSegments(QProcess &recorder, const QString &recording)
{
    recorder.terminate();
    recorder.waitForFinished(2000);
    QFile file(recording);
    return file.open(QIODevice::ReadOnly) ? ToneSegments(file.readAll(), TDesktopSession::RecordingRate, BandEdges)
                                          : QList<TToneSegment>();
}

TEST_F(THeardPlaybackTest, ATrackIsHeardToItsEndAndTheNextFollowsOnceWithoutARestart)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    auto form = CreateFormMediaPlayer();
    // The missing third entry ends the advances: its open fails and the poll stops.
    form->lbFiles->Append(
        QList<QByteArray>{TestDataFile("step-a.wav"), TestDataFile("step-b.wav"), TestDataFile("missing.wav")});
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (int run = 0; run < 10; ++run) {
        const QString recording = folder.path() + QStringLiteral("/run%1.raw").arg(run);
        auto recorder = Session->StartRecording(recording);
        QTest::qWait(150);
        form->lbFiles->SetItemIndex(0);
        form->sbPlayClick(form->sbPlay);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->ItemIndex() == 2 && !form->Playing(); }, 5000)) << run;
        QTest::qWait(300);
        const QList<TToneSegment> all = RecordedSegments(*recorder, recording);
        const QList<TToneSegment> heard = Heard(all);
        ASSERT_EQ(heard.size(), 3) << run << ": " << Describe(all).toStdString();
        EXPECT_EQ(heard[0].Band, ToneA);
        EXPECT_NEAR(heard[0].Length, ToneALength, 0.02) << run << ": " << Describe(all).toStdString();
        EXPECT_EQ(heard[1].Band, ToneBFirst);
        EXPECT_NEAR(heard[1].Length, 0.3, 0.02) << run << ": " << Describe(all).toStdString();
        EXPECT_EQ(heard[2].Band, ToneBSecond);
        EXPECT_NEAR(heard[2].Length, 0.5, 0.02) << run << ": " << Describe(all).toStdString();
    }
    EXPECT_EQ(dialogs.Messages.count("No MCI device open"), 20);
}

TEST_F(THeardPlaybackTest, StopAfterCurrentIsHeardToTheEndOfTheTrackAndNothingAfterIt)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    auto form = CreateFormMediaPlayer();
    dialogs.Messages.clear(); // the missing list file at start-up
    form->lbFiles->Append(QList<QByteArray>{TestDataFile("step-a.wav"), TestDataFile("step-b.wav")});
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QString recording = folder.path() + QStringLiteral("/stop-after.raw");
    auto recorder = Session->StartRecording(recording);
    QTest::qWait(150);
    form->lbFiles->SetItemIndex(0);
    form->sbPlayClick(form->sbPlay);
    form->miStopAfterCurrent->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Playing(); }, 5000));
    QTest::qWait(1200); // as long as the next track would have played
    const QList<TToneSegment> all = RecordedSegments(*recorder, recording);
    const QList<TToneSegment> heard = Heard(all);
    ASSERT_EQ(heard.size(), 1) << Describe(all).toStdString();
    EXPECT_EQ(heard[0].Band, ToneA);
    EXPECT_NEAR(heard[0].Length, ToneALength, 0.02) << Describe(all).toStdString();
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(form->StatusText(), "Stopped");
    EXPECT_FALSE(form->miStopAfterCurrent->isChecked());
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

} // namespace
