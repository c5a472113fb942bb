#include "TDesktopFixture.h"
#include "TEventLoopWatch.h"
#include "TXWindows.h"
#include "TestData.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMpvBackEnd.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

QString Caption(const char *name)
{
    return QStringLiteral("Ostrel Media Player - ") + QLatin1String(name);
}

class TVideoTest : public TShownFormFixture {
protected:
    void SetUp() override
    {
        TShownFormFixture::SetUp();
        if (!IsSkipped()) {
            ASSERT_TRUE(windows.IsConnected());
        }
    }

    void Play(int entry)
    {
        form->lbFiles->SetItemIndex(entry);
        form->sbPlayClick(form->sbPlay);
    }

    bool WaitForWindow(const char *name, int milliseconds)
    {
        return QTest::qWaitFor([&] { return windows.FindMapped(Caption(name)) != 0; }, milliseconds);
    }

    TXWindows windows;
};

TEST_F(TVideoTest, VideoPlaysAgainAndAgainAndThroughAdvancesInAWindowWithTheProductsCaption)
{
    form->lbFiles->Append(QList<QByteArray>{TestDataFile("tiny.avi"), TestDataFile("tiny.mov"),
                                            TestDataFile("tiny.avi"), TestDataFile("tiny.mov")});
    TEventLoopWatch watch;
    int windowsSeen = 0;
    for (int round = 0; round < 10; ++round) {
        Play(round % 2);
        windowsSeen += WaitForWindow(round % 2 ? "tiny.mov" : "tiny.avi", 3000);
        QTest::qWait(200);
    }
    EXPECT_EQ(windowsSeen, 10);
    // Through the automatic advances: all four, and round to the first again.
    Play(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->ItemIndex() == 3; }, 8000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->ItemIndex() == 0; }, 4000));
    EXPECT_TRUE(form->Playing());
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    EXPECT_LT(watch.Longest(), TMpvBackEnd::OpenDeadlineMilliseconds);
}

TEST_F(TVideoTest, ClosingTheVideoWindowStopsPlaybackAndPlayShowsItAgain)
{
    form->lbFiles->Append(QList<QByteArray>{TestDataFile("tiny.mov")});
    Play(0);
    ASSERT_TRUE(WaitForWindow("tiny.mov", 3000));
    windows.RequestClose(windows.FindMapped(Caption("tiny.mov")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->Playing() && form->StatusText() == "Stopped"; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.FindMapped(Caption("tiny.mov")) == 0; }, 3000));
    Play(0);
    EXPECT_TRUE(WaitForWindow("tiny.mov", 3000));
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

TEST_F(TVideoTest, OddVideoFilesPlayOrFailWithAMessageAndNeverHang)
{
    QFile whole(QString::fromLocal8Bit(TestDataFile("tiny.mov")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile truncated(folder.path() + "/truncated.mov");
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(whole.read(whole.size() / 2));
    truncated.close();
    form->lbFiles->Append(QList<QByteArray>{QFile::encodeName(truncated.fileName()), TestDataFile("no-frames.mov"),
                                            TestDataFile("huge-8k.mkv"), TestDataFile("silent.avi")});
    TEventLoopWatch watch;
    for (int entry = 0; entry < 4; ++entry) {
        dialogs.Messages.clear();
        Play(entry);
        QTest::qWait(700);
        // Either it plays (or has already played to its end), or both messages of a failed open came.
        const bool failed = !dialogs.Messages.isEmpty();
        if (failed) {
            ASSERT_EQ(dialogs.Messages.size(), 2) << entry;
            EXPECT_TRUE(dialogs.Messages[0].startsWith("Unable to open media file \"")) << entry;
            EXPECT_EQ(dialogs.Messages[1], "No MCI device open");
        } else {
            EXPECT_TRUE(form->Playing()) << entry;
        }
    }
    form->sbStopClick(form->sbStop);
    EXPECT_EQ(form->StatusText(), "Stopped");
    EXPECT_LT(watch.Longest(), TMpvBackEnd::OpenDeadlineMilliseconds);
}

TEST_F(TVideoTest, TheVideoWindowAndTheSoundStreamCarryThePlayersIdentity)
{
    form->lbFiles->Append(QList<QByteArray>{TestDataFile("tiny.avi"), TestDataFile("step-a.wav")});
    Play(0);
    ASSERT_TRUE(WaitForWindow("tiny.avi", 3000));
    const uint32_t video = windows.FindMapped(Caption("tiny.avi"));
    const QString ours = "WM_CLASS(STRING) = \"example.ostrel.MediaPlayer\", \"example.ostrel.MediaPlayer\"";
    EXPECT_TRUE(QTest::qWaitFor([&] { return TXWindows::Xprop(video, "WM_CLASS") == ours; }, 3000))
        << TXWindows::Xprop(video, "WM_CLASS").toStdString();
    // The player's icon, drawn at its own sizes, in place of the engine's.
    const QString icon = TXWindows::Xprop(video, "_NET_WM_ICON");
    for (const char *size : {"Icon (16 x 16)", "Icon (32 x 32)", "Icon (48 x 48)", "Icon (64 x 64)"})
        EXPECT_TRUE(icon.contains(QLatin1String(size))) << size;
    EXPECT_FALSE(icon.contains(QLatin1String("Icon (128 x 128)")));
    if (!Session->HasSound())
        GTEST_SKIP() << "no sound server";
    Play(1);
    QString streams;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QProcess pactl;
            pactl.start(QStringLiteral("pactl"), {"list", "sink-inputs"});
            pactl.waitForFinished(5000);
            streams = QString::fromUtf8(pactl.readAllStandardOutput());
            return streams.contains("application.name = \"Ostrel Media Player\"");
        },
        5000))
        << streams.toStdString();
}

} // namespace
