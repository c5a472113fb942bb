// The video window under a real window manager: where it comes up, full screen by F, a
// double-click and Esc, and the playback keys pressed in it reaching the player.

#include "TDesktopFixture.h"
#include "TXWindows.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "desktop/TPlayerControl.h"
#include "device/TMediaPlayer.h"

#include <QDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

class TVideoWindowTest : public TShownFormFixture {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "openbox or xdotool is not installed";
        TShownFormFixture::SetUp();
        if (IsSkipped())
            return;
        manager.start(QStringLiteral("openbox"), {"--sm-disable"});
        ASSERT_TRUE(manager.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([] { return !Root("_NET_SUPPORTING_WM_CHECK").contains("not found"); }, 5000));
    }
    void TearDown() override
    {
        manager.terminate();
        manager.waitForFinished(5000);
        TShownFormFixture::TearDown();
    }

    static QString Root(const char *property)
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {"-root", QString::fromLatin1(property)});
        xprop.waitForFinished(5000);
        return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    }
    // The windows the window manager stacks, bottom first.
    static QList<uint32_t> Stacking()
    {
        QList<uint32_t> windows;
        static const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
        for (const QRegularExpressionMatch &match : id.globalMatch(Root("_NET_CLIENT_LIST_STACKING")))
            windows << match.captured().toUInt(nullptr, 16);
        return windows;
    }
    static void Tool(const QStringList &arguments)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), arguments);
        xdotool.waitForFinished(5000);
    }
    static bool FullScreen(uint32_t window)
    {
        return TXWindows::Xprop(window, "_NET_WM_STATE").contains("_NET_WM_STATE_FULLSCREEN");
    }

    QProcess manager;
    TXWindows windows;
};

TEST_F(TVideoWindowTest, TheVideoComesUpOnScreenAboveTheWindowAndAnswersItsKeys)
{
    QProcess encoder;
    encoder.setWorkingDirectory(folder.path());
    encoder.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=30", "-pix_fmt",
                             "yuv420p", "long.mkv"});
    ASSERT_TRUE(encoder.waitForFinished(30000) && encoder.exitCode() == 0);
    form->lbFiles->Append(QList<QByteArray>{QFile::encodeName(folder.File("long.mkv")), "/none/next.mkv"});
    form->lbFiles->SetItemIndex(0);
    form->sbPlayClick(form->sbPlay);
    const QString caption = "Ostrel Media Player - long.mkv";
    uint32_t video = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (video = windows.FindMapped(caption)) != 0; }, 5000));
    const uint32_t main = windows.FindMapped(form->windowTitle());
    ASSERT_NE(main, 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Stacking().indexOf(video) > Stacking().indexOf(main); }, 3000))
        << "above the main window";
    const QRect screen(0, 0, 1024, 768);
    EXPECT_TRUE(screen.contains(windows.Geometry(video))) << "wholly on the screen";

    // F, Esc and a double-click, in the window that has the focus now.
    Tool({"windowactivate", "--sync", QString::number(video)});
    Tool({"key", "f"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return FullScreen(video); }, 3000));
    Tool({"key", "Escape"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !FullScreen(video); }, 3000));
    Tool({"mousemove", "--window", QString::number(video), "100", "100", "click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return FullScreen(video); }, 3000));
    Tool({"key", "Escape"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !FullScreen(video); }, 3000));

    // Space pauses and plays through the player, as the media controls see it.
    Tool({"key", "space"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->PlayerControl().PlayState() == TPlayerControl::TPlayState::Paused; },
                                3000));
    Tool({"key", "space"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->PlayerControl().PlayState() == TPlayerControl::TPlayState::Playing; },
                                3000));
    // B is Next, as in the main window: the next entry cannot be opened, and says so.
    Tool({"key", "b"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->ItemIndex() == 1; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.Messages.isEmpty(); }, 3000));
}

TEST_F(TVideoWindowTest, EachPlaybackKeyInTheVideoWindowActsFromOneVideoToTheNext)
{
    for (const char *name : {"one.mkv", "two.mp4"}) {
        QProcess encoder;
        encoder.setWorkingDirectory(folder.path());
        encoder.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=30",
                                 "-pix_fmt", "yuv420p", name});
        ASSERT_TRUE(encoder.waitForFinished(30000) && encoder.exitCode() == 0);
    }
    form->lbFiles->Append(QList<QByteArray>{QFile::encodeName(folder.File("one.mkv")),
                                            QFile::encodeName(folder.File("two.mp4"))});
    form->lbFiles->SetItemIndex(0);
    form->sbPlayClick(form->sbPlay);
    const auto press = [&](const char *key, const char *caption) {
        uint32_t video = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (video = windows.FindMapped(caption)) != 0; }, 5000)) << key;
        Tool({"windowactivate", "--sync", QString::number(video)});
        Tool({"key", key});
    };
    const auto playing = [&](int entry) {
        return QTest::qWaitFor([&] {
            return form->lbFiles->ItemIndex() == entry
                   && form->PlayerControl().PlayState() == TPlayerControl::TPlayState::Playing;
        }, 5000);
    };
    ASSERT_TRUE(playing(0));
    press("b", "Ostrel Media Player - one.mkv");
    ASSERT_TRUE(playing(1)) << "B plays the second video in the window";
    press("z", "Ostrel Media Player - two.mp4");
    EXPECT_TRUE(playing(0)) << "Z brings the first back";
    press("c", "Ostrel Media Player - one.mkv");
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->PlayerControl().PlayState() == TPlayerControl::TPlayState::Paused; },
                                3000));
    press("x", "Ostrel Media Player - one.mkv");
    EXPECT_TRUE(playing(0));
    press("f", "Ostrel Media Player - one.mkv");
    press("Escape", "Ostrel Media Player - one.mkv");
    press("v", "Ostrel Media Player - one.mkv");
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->PlayerControl().PlayState() == TPlayerControl::TPlayState::Stopped; },
                                3000));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("; ").toStdString();
}

TEST_F(TVideoWindowTest, AVideoThatStartsUnderABoxWaitsBelowItAndShowsItsControllerAsThePointerMoves)
{
    QProcess encoder;
    encoder.setWorkingDirectory(folder.path());
    encoder.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "color=c=blue:size=320x240:rate=25:duration=30",
                             "-pix_fmt", "yuv420p", "blue.mkv"});
    ASSERT_TRUE(encoder.waitForFinished(30000) && encoder.exitCode() == 0);
    form->lbFiles->Append(QList<QByteArray>{QFile::encodeName(folder.File("blue.mkv"))});
    form->lbFiles->SetItemIndex(0);
    QDialog box(form.get());
    box.setWindowTitle("A box of the player");
    box.setModal(true);
    box.show();
    uint32_t boxWindow = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (boxWindow = windows.FindMapped(box.windowTitle())) != 0; }, 5000));
    // As the poll's advance starts a video behind the box.
    form->sbPlayClick(form->sbPlay);
    const QString caption = "Ostrel Media Player - blue.mkv";
    uint32_t video = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (video = windows.FindMapped(caption)) != 0; }, 5000));
    QTest::qWait(800);
    EXPECT_GT(Stacking().indexOf(boxWindow), Stacking().indexOf(video)) << "the box stays above the video";
    EXPECT_TRUE(Root("_NET_ACTIVE_WINDOW").contains(QString::number(boxWindow, 16))) << "and keeps the focus";
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Stacking().indexOf(video) > Stacking().indexOf(windows.FindMapped(form->windowTitle())); }, 3000))
        << "the video comes forward once the box is closed";

    // The controller is drawn over the bottom of the picture while the pointer moves there.
    const QRect area = windows.Geometry(video);
    const auto bottom = [&] { return windows.Pixel(video, 0.5, 0.98); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return bottom() >= 0 && (bottom() & 0xFF) > 0xC0; }, 5000)) << bottom();
    for (int step = 0; step < 5; ++step)
        Tool({"mousemove", "--window", QString::number(video), QString::number(area.width() / 3 + step * 10),
              QString::number(area.height() * 3 / 4)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return (bottom() & 0xFF) < 0xC0; }, 3000)) << bottom();
}

} // namespace
