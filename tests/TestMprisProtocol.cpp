#include "TMprisClient.h"
#include "TPrivateBus.h"
#include "desktop/MprisTrack.h"
#include "desktop/TPlayerControl.h"

#include <QDBusConnectionInterface>
#include <QTest>
#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

namespace {

// The player as the desktop sees it, with no window behind it: the state is set by the test
// and every command is written down.
class TFakePlayer : public TPlayerControl {
public:
    // How many more times the player answers that it takes commands; then it is covered.
    mutable int AcceptsLeft = std::numeric_limits<int>::max();
    TPlayState State = TPlayState::Stopped;
    std::optional<QByteArray> Entry;
    qint64 Length = 0;
    qint64 Position = 0;
    double Loudness = 1.0;
    bool Entries = false;
    bool Opened = false;
    bool Random = false;
    TTrackTags TrackTags;
    QStringList Log;

    bool AcceptsCommands() const override { return AcceptsLeft-- > 0; }
    void Play() override { Log << "Play"; }
    void Pause() override { Log << "Pause"; }
    void PlayPause() override { Log << "PlayPause"; }
    void Stop() override { Log << "Stop"; }
    void Next() override { Log << "Next"; }
    void Previous() override { Log << "Previous"; }
    void SeekTo(qint64 milliseconds) override { Log << QString("SeekTo %1").arg(milliseconds); }
    void SetVolume(double volume) override
    {
        Log << QString("SetVolume %1").arg(volume);
        Loudness = volume;
    }
    void Quit() override { Log << "Quit"; }
    void Raise() override { Log << "Raise"; }
    void SetShuffle(bool on) override
    {
        Log << QString("SetShuffle %1").arg(on);
        Random = on;
    }
    void Open(const THandOver &handOver, bool playFirst) override
    {
        QStringList paths;
        for (const THandOver::TItem &item : handOver.Items)
            paths << QString::fromUtf8(item.Path) + (item.Folder ? "/" : "");
        Log << QString("Open%1 %2 | %3").arg(playFirst ? "+Play" : "", paths.join(' '), handOver.Refused.join(" | "));
    }
    TPlayState PlayState() const override { return State; }
    std::optional<QByteArray> CurrentEntry() const override { return Entry; }
    qint64 LengthMs() const override { return Length; }
    TTrackTags Tags() const override { return TrackTags; }
    qint64 PositionMs() const override { return Position; }
    double Volume() const override { return Loudness; }
    bool HasEntries() const override { return Entries; }
    bool MediumOpen() const override { return Opened; }
    bool Shuffle() const override { return Random; }

    // A medium that is open and playing.
    void Playing(const QByteArray &entry, qint64 length)
    {
        State = TPlayState::Playing;
        Entry = entry;
        Length = length;
        Entries = true;
        Opened = true;
    }
};

class TMprisProtocolTest : public testing::Test, protected TMprisClient {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
        player = new TFakePlayer;
        service = std::make_unique<TMprisService>(*player, bus.Connect(QStringLiteral("player")));
        client = std::make_unique<QDBusConnection>(bus.Connect(QStringLiteral("client")));
        ASSERT_TRUE(client->isConnected());
    }
    void TearDown() override
    {
        service.reset();
        delete player;
        client.reset();
    }

    TPrivateBus bus;
    TFakePlayer *player = nullptr;
    std::unique_ptr<TMprisService> service;
};

TEST_F(TMprisProtocolTest, PropertiesReadTheInterfaceState)
{
    EXPECT_EQ(Property("PlaybackStatus"), "Stopped");
    EXPECT_EQ(Metadata().keys(), QStringList({"mpris:trackid"}));
    for (const char *name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanSeek"})
        EXPECT_EQ(Property(name), false) << name;

    player->Playing("/music/a b.mp3", 61500);
    player->Position = 1250;
    player->Loudness = 0.5;
    EXPECT_EQ(Property("PlaybackStatus"), "Playing");
    const QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.value("xesam:title"), "a b.mp3");
    EXPECT_EQ(metadata.value("xesam:url"), "file:///music/a%20b.mp3");
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 61500000);
    EXPECT_EQ(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(), MprisTrack::TrackId("/music/a b.mp3"));
    EXPECT_EQ(Property("Position").toLongLong(), 1250000);
    EXPECT_EQ(Property("Volume"), 0.5);
    for (const char *name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanSeek"})
        EXPECT_EQ(Property(name), true) << name;

    player->State = TPlayerControl::TPlayState::Paused;
    EXPECT_EQ(Property("PlaybackStatus"), "Paused");
    player->Length = 0; // unknown: no length is claimed
    EXPECT_FALSE(Metadata().contains("mpris:length"));
}

TEST_F(TMprisProtocolTest, TagsGiveTitleArtistAndAlbumAndTheFileNameStandsInForAMissingTitle)
{
    player->Playing("/music/track01.mp3", 1000);
    player->TrackTags = {"", "Somebody", ""};
    QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.value("xesam:title"), "track01.mp3");
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(), QStringList({"Somebody"}));
    EXPECT_FALSE(metadata.contains("xesam:album"));

    TChangeRecorder recorder(*client);
    player->TrackTags = {"A Song", "Somebody", "An Album \xe2\x80\x93 Live"};
    emit player->StateMayHaveChanged();
    ASSERT_TRUE(recorder.WaitFor(1));
    metadata = AsMap(recorder.Changes.last().value("Metadata"));
    EXPECT_EQ(metadata.value("xesam:title"), "A Song");
    EXPECT_EQ(metadata.value("xesam:artist").toStringList(), QStringList({"Somebody"}));
    EXPECT_EQ(metadata.value("xesam:album"), QString::fromUtf8("An Album \xe2\x80\x93 Live"));
}

TEST_F(TMprisProtocolTest, EachMethodAsksTheInterfaceOnceAndIsAnsweredFirst)
{
    for (const char *method : {"Play", "Pause", "PlayPause", "Stop", "Next", "Previous"})
        EXPECT_EQ(CallPlayer(method).type(), QDBusMessage::ReplyMessage) << method;
    Call(RootInterface, "Raise");
    Call(RootInterface, "Quit");
    SetProperty("Rate", 0.0); // a rate of 0 pauses
    SetProperty("Rate", 2.0); // no other rate can be had
    EXPECT_EQ(player->Log,
              QStringList({"Play", "Pause", "PlayPause", "Stop", "Next", "Previous", "Raise", "Quit", "Pause"}));
}

TEST_F(TMprisProtocolTest, ACoveredPlayerIsAskedNothingButRaise)
{
    player->Playing("/music/a.mp3", 10000);
    player->AcceptsLeft = 0;
    for (const char *method : {"Play", "Pause", "PlayPause", "Stop", "Next", "Previous"})
        EXPECT_EQ(CallPlayer(method).type(), QDBusMessage::ReplyMessage) << method;
    CallPlayer("Seek", {qlonglong(1000000)});
    SetProperty("Volume", 0.2);
    Call(RootInterface, "Quit");
    Call(RootInterface, "Raise");
    EXPECT_EQ(player->Log, QStringList({"Raise"}));

    // Covered between the call and its turn: still nothing.
    player->AcceptsLeft = 1;
    player->Log.clear();
    CallPlayer("Play");
    EXPECT_TRUE(player->Log.isEmpty()) << player->Log.join(", ").toStdString();
}

TEST_F(TMprisProtocolTest, SeekingIsClampedToTheTrackAndPastItsEndIsNext)
{
    player->Playing("/music/a.mp3", 10000);
    player->Position = 4000;
    TChangeRecorder recorder(*client);
    CallPlayer("Seek", {qlonglong(1500000)});
    CallPlayer("Seek", {std::numeric_limits<qlonglong>::min()});
    CallPlayer("Seek", {std::numeric_limits<qlonglong>::max()});
    const QDBusObjectPath current(MprisTrack::TrackId("/music/a.mp3"));
    const QDBusObjectPath stale(MprisTrack::TrackId("/music/b.mp3"));
    CallPlayer("SetPosition", {QVariant::fromValue(stale), qlonglong(500000)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(-1)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(10000001)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(9999999)});
    EXPECT_EQ(player->Log, QStringList({"SeekTo 5500", "SeekTo 0", "Next", "SeekTo 9999"}));
    ASSERT_TRUE(recorder.WaitForSeek());
    QTest::qWait(50);
    EXPECT_EQ(recorder.Seeks, QList<qlonglong>({5500000, 0, 9999000}));

    player->Opened = false;
    player->Log.clear();
    CallPlayer("Seek", {qlonglong(1000)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(0)});
    EXPECT_TRUE(player->Log.isEmpty());
}

TEST_F(TMprisProtocolTest, VolumeIsClampedNotANumberIgnoredAndWrongTypesRefused)
{
    SetProperty("Volume", 0.25);
    SetProperty("Volume", std::nan(""));
    SetProperty("Volume", -3.0);
    SetProperty("Volume", 9.0);
    EXPECT_EQ(player->Log, QStringList({"SetVolume 0.25", "SetVolume 0", "SetVolume 1"}));
    EXPECT_NE(ErrorName(SetProperty("Volume", QStringLiteral("loud"))), "<no error>");
    EXPECT_NE(ErrorName(SetProperty("Metadata", QVariantMap())), "<no error>");
    EXPECT_EQ(ErrorName(CallPlayer("Seek", {QStringLiteral("far")})), "org.freedesktop.DBus.Error.UnknownMethod");
    EXPECT_EQ(player->Log.size(), 3);
}

TEST_F(TMprisProtocolTest, OnlyWhatChangedIsToldAndNothingWhenNothingDid)
{
    TChangeRecorder recorder(*client);
    player->Playing("/music/a.mp3", 2000);
    emit player->StateMayHaveChanged();
    ASSERT_TRUE(recorder.WaitFor(1));
    const QVariantMap first = recorder.Changes.last();
    EXPECT_EQ(first.value("PlaybackStatus"), "Playing");
    EXPECT_EQ(AsMap(first.value("Metadata")).value("xesam:title"), "a.mp3");
    EXPECT_EQ(first.value("CanSeek"), true);
    EXPECT_EQ(first.value("CanGoNext"), true);

    player->Position = 1500; // the position is read on request, never told
    emit player->StateMayHaveChanged();
    player->Loudness = 0.75;
    emit player->StateMayHaveChanged();
    ASSERT_TRUE(recorder.WaitFor(2));
    QTest::qWait(50);
    EXPECT_EQ(recorder.Changes.size(), 2);
    EXPECT_EQ(recorder.Changes.last(), QVariantMap({{"Volume", 0.75}}));
}

TEST_F(TMprisProtocolTest, OnceThePlayerIsGoneTheServiceLeavesTheBusAndNothingCrashes)
{
    bool ran = false;
    service->Control([&](TPlayerControl &) { ran = true; }); // its turn comes after the player is gone
    service->Later([&](TPlayerControl &) { ran = true; });
    delete std::exchange(player, nullptr);
    RunPending();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(service->ServiceName().isEmpty());
    EXPECT_EQ(service->Player(), nullptr);
    EXPECT_FALSE(client->interface()->isServiceRegistered(QLatin1String(Service)).value());
    EXPECT_EQ(ErrorName(CallPlayer("Play")), "org.freedesktop.DBus.Error.ServiceUnknown");
    EXPECT_EQ(service->CurrentState().PlaybackStatus, "Stopped");
    service->Refresh();
}

} // namespace
