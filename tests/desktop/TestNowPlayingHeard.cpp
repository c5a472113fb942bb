#include "TDesktopFixture.h"
#include "TPlayerctl.h"
#include "TPrivateBus.h"
#include "ToneSegments.h"
#include "controls/TJumpSlider.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "desktop/TMprisService.h"
#include "window/TNowPlayingBar.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTest>

namespace {

QByteArray Syncsafe(quint32 size)
{
    QByteArray bytes(4, '\0');
    for (int at = 0; at < 4; ++at)
        bytes[at] = char((size >> (7 * (3 - at))) & 0x7f);
    return bytes;
}

// An ID3v2.4 tag of text frames marked UTF-8, written byte by byte as the format has it.
QByteArray Id3Tag(const QList<QPair<QByteArray, QByteArray>> &frames)
{
    QByteArray body;
    for (const auto &[id, text] : frames) {
        const QByteArray data = '\x03' + text;
        body += id + Syncsafe(quint32(data.size())) + QByteArray(2, '\0') + data;
    }
    return QByteArray("ID3\x04\x00\x00", 6) + Syncsafe(quint32(body.size())) + body;
}

// tone.mp3 with its own tag replaced by the given one.
QByteArray Retagged(const QByteArray &tag)
{
    QFile tone(QStringLiteral(TEST_DATA "/tone.mp3"));
    if (!tone.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = tone.readAll();
    const auto byte = [&](int at) { return quint32(uchar(bytes[at])); };
    const qsizetype audio
        = bytes.startsWith("ID3") ? 10 + qsizetype(byte(6) << 21 | byte(7) << 14 | byte(8) << 7 | byte(9)) : 0;
    return tag + bytes.mid(audio);
}

class TNowPlayingHeardTest : public TShownFormFixture {
protected:
    // Plays the file once: the missing entry after it ends the advances.
    void PlayOnly(const QByteArray &file)
    {
        form->lbFiles->Append(QList<QByteArray>{file, QFile::encodeName(folder.File("missing.wav"))});
        form->lbFiles->SetItemIndex(0);
        form->sbPlay->OnClick(form->sbPlay);
    }
};

// The window's media controls on a private bus, asked by playerctl.
class TNowPlayingOnTheBusTest : public TNowPlayingHeardTest {
protected:
    void SetUp() override
    {
        TNowPlayingHeardTest::SetUp();
        if (IsSkipped())
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("playerctl")).isEmpty())
            GTEST_SKIP() << "playerctl is not installed";
        ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
        service = std::make_unique<TMprisService>(form->PlayerControl(), bus.Connect(QStringLiteral("player")));
    }
    QString Ask(const QStringList &arguments) { return Playerctl(bus.Environment(), arguments); }

    TPrivateBus bus;
    std::unique_ptr<TMprisService> service;
};

TEST_F(TNowPlayingOnTheBusTest, TheTagsOfAnMp3NameWhatPlaysInTheWindowAndToTheMediaControls)
{
    const QString title = QString::fromUtf8("Caf\xc3\xa9 Song");
    folder.WriteFile("tagged.mp3",
                     Retagged(Id3Tag({{"TIT2", title.toUtf8()}, {"TPE1", "The Band"}, {"TALB", "Records"}})));
    PlayOnly(QFile::encodeName(folder.File("tagged.mp3")));
    ASSERT_NE(form->NowPlaying(), nullptr) << dialogs.Messages.join(" | ").toStdString();
    EXPECT_EQ(form->NowPlaying()->Title(), QString::fromUtf8("The Band \u2013 ") + title);
    EXPECT_EQ(Ask({"metadata", "xesam:title"}), title);
    EXPECT_EQ(Ask({"metadata", "xesam:artist"}), "The Band");
    EXPECT_EQ(Ask({"metadata", "xesam:album"}), "Records");

    // A file without tags is named by its file name.
    form->sbStopClick(form->sbStop);
    folder.WriteFile("untagged.mp3", Retagged({}));
    form->lbFiles->Append(QList<QByteArray>{QFile::encodeName(folder.File("untagged.mp3"))});
    form->lbFiles->SetItemIndex(2);
    form->sbPlay->OnClick(form->sbPlay);
    EXPECT_EQ(form->NowPlaying()->Title(), "untagged.mp3");
    EXPECT_EQ(Ask({"metadata", "xesam:title"}), "untagged.mp3");
}

TEST_F(TNowPlayingOnTheBusTest, TagsOfBrokenTextAreShownAsOneCleanLineInTheWindowAndOnTheBus)
{
    folder.WriteFile("broken.mp3",
                     Retagged(Id3Tag({{"TIT2", "Bad \xff\xfe name\r\nline two"},
                                      {"TPE1", "Tab\tBand\x01"},
                                      {"TALB", QByteArray(1 << 20, 'a')}})));
    PlayOnly(QFile::encodeName(folder.File("broken.mp3")));
    ASSERT_NE(form->NowPlaying(), nullptr) << dialogs.Messages.join(" | ").toStdString();
    const QString title = QString::fromUtf8("Bad \ufffd\ufffd name  line two");
    EXPECT_EQ(form->NowPlaying()->Title(), QString::fromUtf8("Tab Band \u2013 ") + title);
    EXPECT_EQ(Ask({"metadata", "xesam:title"}), title);
    EXPECT_EQ(Ask({"metadata", "xesam:artist"}), "Tab Band");
    EXPECT_EQ(Ask({"metadata", "xesam:album"}), QString(1000, QLatin1Char('a')));
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(" | ").toStdString();
}

// step-b.wav: 880 Hz for 0.3 s, then 1320 Hz for 0.5 s.
TEST_F(TNowPlayingHeardTest, AClickAtTwoThirdsOfThePositionIsHeardFromThere)
{
    if (!Session->HasSound())
        GTEST_SKIP() << "no PulseAudio null sink to record";
    enum { Silence, Low, First, Second };
    const QString recording = folder.path() + QStringLiteral("/seek.raw");
    auto recorder = Session->StartRecording(recording);
    QTest::qWait(150);
    PlayOnly(QFile::encodeName(QStringLiteral(TEST_DATA "/step-b.wav")));
    ASSERT_NE(form->NowPlaying(), nullptr) << dialogs.Messages.join(" | ").toStdString();
    TJumpSlider *position = form->NowPlaying()->Position();
    QTest::qWait(100);
    ASSERT_TRUE(position->isEnabled());
    ASSERT_NEAR(position->maximum(), 800, 5);
    // Press and release at one point, straight to the slider: no pointer motion of the test
    // display's own comes between them.
    const QPointF at(position->width() * 2 / 3, position->height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, position->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(position, &click);
    }
    const double from = position->value() / 1000.0;
    EXPECT_NEAR(from, 0.8 * 2 / 3, 0.06);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Playing(); }, 5000))
        << form->StatusText().toStdString() << " " << form->lbFiles->ItemIndex() << " "
        << form->NowPlaying()->TimeText().toStdString() << " " << dialogs.Messages.join(" | ").toStdString();
    QTest::qWait(300);
    recorder->terminate();
    recorder->waitForFinished(2000);
    QFile file(recording);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<TToneSegment> all = ToneSegments(file.readAll(), TDesktopSession::RecordingRate, {660, 1100});
    // At most some of the start before the click, then what follows two thirds, to the end.
    const QList<TToneSegment> heard = Heard(all);
    ASSERT_FALSE(heard.isEmpty()) << Describe(all).toStdString();
    ASSERT_LE(heard.size(), 2) << Describe(all).toStdString();
    if (heard.size() == 2) {
        EXPECT_EQ(heard.first().Band, First) << Describe(all).toStdString();
        EXPECT_LT(heard.first().Length, 0.2) << Describe(all).toStdString();
    }
    EXPECT_EQ(heard.last().Band, Second) << Describe(all).toStdString();
    EXPECT_NEAR(heard.last().Length, 0.8 - from, 0.05) << Describe(all).toStdString();
}

} // namespace
