#include "TMprisFixture.h"

#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "desktop/MprisTrack.h"

#include <QAction>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <limits>

namespace {

class TMprisTest : public TMprisFixture {
protected:
    void SetUp() override
    {
        TMprisFixture::SetUp();
        form->Timer1->stop(); // the tests run the poll themselves
    }
    void FillAndSelect()
    {
        Fill({"/music/one.mp3", "/music/two.wav", "/music/three.avi"});
        form->lbFiles->SetItemIndex(0);
    }
    // One tick of the window's own poll.
    void Poll()
    {
        QSignalSpy ticks(form->Timer1, &QTimer::timeout);
        form->Timer1->start(0);
        ticks.wait(1000);
        form->Timer1->stop();
    }
};

TEST_F(TMprisTest, TheApplicationIsOfferedUnderItsNameWithItsDesktopEntry)
{
    EXPECT_EQ(service->ServiceName(), QLatin1String(Service));
    EXPECT_EQ(Property("Identity", RootInterface), "Ostrel Media Player");
    EXPECT_EQ(Property("DesktopEntry", RootInterface), "example.ostrel.MediaPlayer");
    EXPECT_EQ(Property("CanQuit", RootInterface), true);
    EXPECT_EQ(Property("CanRaise", RootInterface), true);
    EXPECT_EQ(Property("HasTrackList", RootInterface), false);
    EXPECT_EQ(Property("SupportedUriSchemes", RootInterface).toStringList(), QStringList({"file"}));
    // The same types as the desktop entry offers the player for.
    QFile entry(QStringLiteral(BINARY_DIR "/dist/example.ostrel.MediaPlayer.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString mimeLine
        = QString::fromUtf8(entry.readAll()).split('\n').filter(QRegularExpression("^MimeType=")).value(0);
    EXPECT_EQ(Property("SupportedMimeTypes", RootInterface).toStringList(),
              mimeLine.mid(int(qstrlen("MimeType="))).split(';', Qt::SkipEmptyParts));
    EXPECT_EQ(Property("CanControl"), true);
    EXPECT_EQ(Property("Rate"), 1.0);
}

TEST_F(TMprisTest, ASecondPlayerOnTheBusTakesAnInstanceName)
{
    TMprisService second(form->PlayerControl(), bus.Connect(QStringLiteral("second")));
    EXPECT_EQ(second.ServiceName(), QStringLiteral("%1.instance%2").arg(QLatin1String(Service)).arg(getpid()));
}

TEST_F(TMprisTest, WithAnEmptyListNothingCanBeDoneAndThereIsNoTrack)
{
    for (const char *name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanSeek"})
        EXPECT_EQ(Property(name), false) << name;
    EXPECT_EQ(Property("PlaybackStatus"), "Stopped");
    const QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.keys(), QStringList({"mpris:trackid"}));
    EXPECT_EQ(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/mpris/MediaPlayer2/TrackList/NoTrack");
    EXPECT_EQ(Property("Position"), 0);
}

TEST_F(TMprisTest, PlayRunsTheButtonAndTheStateReadsBack)
{
    FillAndSelect();
    const QDBusMessage reply = CallPlayer("Play");
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_TRUE(form->Playing());
    EXPECT_EQ(device.OpenFile, "/music/one.mp3");
    EXPECT_TRUE(device.Log.contains("Play notify")) << device.Log.join(", ").toStdString();
    EXPECT_EQ(Property("PlaybackStatus"), "Playing");
    EXPECT_EQ(Property("CanSeek"), true);
    EXPECT_EQ(Property("CanGoNext"), true);
    const QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.value("xesam:title"), "one.mp3");
    EXPECT_EQ(metadata.value("xesam:url"), "file:///music/one.mp3");
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 1000 * 1000);
    EXPECT_EQ(metadata.value("mpris:trackid").value<QDBusObjectPath>().path(), MprisTrack::TrackId("/music/one.mp3"));
    device.Position = 250;
    EXPECT_EQ(Property("Position").toLongLong(), 250 * 1000);
}

TEST_F(TMprisTest, PauseAndPlayPauseFollowTheDevice)
{
    FillAndSelect();
    CallPlayer("Play");
    CallPlayer("Pause");
    EXPECT_EQ(form->StatusText(), "Playing"); // the button leaves the status text as it was
    EXPECT_EQ(device.Mode, MCI_MODE_PAUSE);
    EXPECT_EQ(Property("PlaybackStatus"), "Paused");
    CallPlayer("PlayPause");
    EXPECT_EQ(device.Mode, MCI_MODE_PLAY);
    EXPECT_EQ(Property("PlaybackStatus"), "Playing");
    EXPECT_TRUE(device.Log.contains("Resume notify")) << device.Log.join(", ").toStdString();
    CallPlayer("PlayPause");
    EXPECT_EQ(Property("PlaybackStatus"), "Paused");

    // Two presses that arrive together toggle twice.
    const QDBusMessage press = QDBusMessage::createMethodCall(
        QLatin1String(Service), QLatin1String(TMprisService::ObjectPath), QLatin1String(PlayerInterface), "PlayPause");
    device.Log.clear();
    client->asyncCall(press);
    client->call(press, QDBus::BlockWithGui);
    RunPending();
    EXPECT_EQ(device.Log.filter(QRegularExpression("^(Pause|Resume)")), QStringList({"Resume notify", "Pause wait"}));
    EXPECT_EQ(Property("PlaybackStatus"), "Paused");
}

TEST_F(TMprisTest, PlayPauseOnAStoppedDevicePlays)
{
    FillAndSelect();
    CallPlayer("PlayPause");
    EXPECT_EQ(Property("PlaybackStatus"), "Playing");
    EXPECT_EQ(device.OpenFile, "/music/one.mp3");
}

TEST_F(TMprisTest, NextPreviousAndStopMoveAndStopAsTheButtonsDo)
{
    FillAndSelect();
    CallPlayer("Play");
    CallPlayer("Next");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    EXPECT_EQ(device.OpenFile, "/music/two.wav");
    EXPECT_EQ(Metadata().value("xesam:title"), "two.wav");
    CallPlayer("Previous");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(Metadata().value("xesam:title"), "one.mp3");
    CallPlayer("Stop");
    EXPECT_EQ(form->StatusText(), "Stopped");
    EXPECT_FALSE(form->Playing());
    EXPECT_EQ(Property("PlaybackStatus"), "Stopped");
}

TEST_F(TMprisTest, AFailureShowsTheSameMessageAsAClick)
{
    Fill({"/music/broken.mp3"});
    form->lbFiles->SetItemIndex(0);
    device.Script.Unopenable << "/music/broken.mp3";
    form->sbPlay->OnClick(form->sbPlay);
    const QStringList clicked = dialogs.Messages;
    dialogs.Messages.clear();
    CallPlayer("Play");
    EXPECT_FALSE(clicked.isEmpty());
    EXPECT_EQ(dialogs.Messages, clicked);
}

class TCountingForm : public TFormMediaPlayer {
public:
    using TFormMediaPlayer::TFormMediaPlayer;
    void sbNextClick(QObject *sender) override
    {
        Senders << sender;
        TFormMediaPlayer::sbNextClick(sender);
    }
    QList<QObject *> Senders;
};

TEST_F(TMprisTest, AnOverriddenHandlerIsWhatTheBusRuns)
{
    service.reset();
    TScriptedBackEnd::TState counted;
    auto counting = CreateFormMediaPlayer<TCountingForm>(std::make_unique<TScriptedBackEnd>(counted));
    service = std::make_unique<TMprisService>(counting->PlayerControl(), bus.Connect(QStringLiteral("counting")));
    CallPlayer("Next");
    EXPECT_EQ(counting->Senders, QList<QObject *>({counting->sbNext}));
    service.reset();
}

TEST_F(TMprisTest, ChangesArriveAfterBusCallsClicksAndThePoll)
{
    FillAndSelect();
    TChangeRecorder recorder(*client);
    CallPlayer("Play");
    ASSERT_TRUE(recorder.WaitFor(1));
    const QVariantMap played = recorder.Changes.last();
    EXPECT_EQ(played.value("PlaybackStatus"), "Playing");
    EXPECT_EQ(AsMap(played.value("Metadata")).value("xesam:title"), "one.mp3");
    EXPECT_EQ(played.value("CanSeek"), true);

    form->sbPause->OnClick(form->sbPause);
    ASSERT_TRUE(recorder.WaitFor(2));
    EXPECT_EQ(recorder.Changes.last(), QVariantMap({{"PlaybackStatus", "Paused"}}));

    // The medium plays to its end while paused is lifted: the poll moves on to the next entry.
    form->sbPlay->OnClick(form->sbPlay);
    ASSERT_TRUE(recorder.WaitFor(3));
    device.Mode = MCI_MODE_STOP;
    Poll();
    ASSERT_TRUE(recorder.WaitFor(4));
    EXPECT_EQ(AsMap(recorder.Changes.last().value("Metadata")).value("xesam:title"), "two.wav");

    const qsizetype before = recorder.Changes.size();
    Poll(); // nothing changed: nothing is said
    QTest::qWait(100);
    EXPECT_EQ(recorder.Changes.size(), before);
}

TEST_F(TMprisTest, VolumeMapsToTheEngineAndBadValuesAreClampedOrIgnored)
{
    TChangeRecorder recorder(*client);
    EXPECT_EQ(SetProperty("Volume", 0.25).type(), QDBusMessage::ReplyMessage);
    EXPECT_DOUBLE_EQ(device.Volume, 0.25);
    ASSERT_TRUE(recorder.WaitFor(1));
    EXPECT_EQ(recorder.Changes.last(), QVariantMap({{"Volume", 0.25}}));
    SetProperty("Volume", std::nan(""));
    EXPECT_DOUBLE_EQ(device.Volume, 0.25);
    SetProperty("Volume", -0.5);
    EXPECT_DOUBLE_EQ(device.Volume, 0.0);
    SetProperty("Volume", 7.0);
    EXPECT_DOUBLE_EQ(device.Volume, 1.0);
    EXPECT_EQ(Property("Volume"), 1.0);
    EXPECT_NE(ErrorName(SetProperty("Volume", QStringLiteral("loud"))), "<no error>");
    EXPECT_NE(ErrorName(SetProperty("PlaybackStatus", QStringLiteral("Playing"))), "<no error>");
    EXPECT_DOUBLE_EQ(device.Volume, 1.0);
}

TEST_F(TMprisTest, SetPositionSeeksOnlyTheCurrentTrackWithinItsLength)
{
    FillAndSelect();
    CallPlayer("Play");
    TChangeRecorder recorder(*client);
    const QDBusObjectPath current(MprisTrack::TrackId("/music/one.mp3"));
    const QDBusObjectPath stale(MprisTrack::TrackId("/music/two.wav"));
    device.Log.clear();
    CallPlayer("SetPosition", {QVariant::fromValue(stale), qlonglong(500000)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(-1)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(1000001)});
    CallPlayer("SetPosition", {QVariant::fromValue(current), std::numeric_limits<qlonglong>::max()});
    EXPECT_TRUE(device.Log.filter("SeekTo").isEmpty()) << device.Log.join(", ").toStdString();
    CallPlayer("SetPosition", {QVariant::fromValue(current), qlonglong(500000)});
    EXPECT_EQ(device.Log.filter("SeekTo"), QStringList({"SeekTo 1 500"}));
    EXPECT_EQ(device.Mode, MCI_MODE_PLAY);
    const QDeadlineTimer deadline(1000);
    while (recorder.Seeks.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(recorder.Seeks, QList<qlonglong>({500000}));
}

TEST_F(TMprisTest, SeekIsRelativeStopsAtTheStartAndPastTheEndIsNext)
{
    FillAndSelect();
    CallPlayer("Play");
    device.Position = 400;
    device.Log.clear();
    CallPlayer("Seek", {qlonglong(100000)});
    EXPECT_EQ(device.Log.filter("SeekTo"), QStringList({"SeekTo 1 500"}));
    CallPlayer("Seek", {qlonglong(-10000000)});
    EXPECT_EQ(device.Log.filter("SeekTo").last(), "SeekTo 1 0");
    CallPlayer("Seek", {std::numeric_limits<qlonglong>::min()});
    EXPECT_EQ(device.Log.filter("SeekTo").last(), "SeekTo 1 0");
    CallPlayer("Seek", {std::numeric_limits<qlonglong>::max()});
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    EXPECT_EQ(device.OpenFile, "/music/two.wav");
}

TEST_F(TMprisTest, WithNothingOpenSeekingDoesNothing)
{
    FillAndSelect();
    CallPlayer("Seek", {qlonglong(100000)});
    CallPlayer("SetPosition",
               {QVariant::fromValue(QDBusObjectPath(MprisTrack::TrackId("/music/one.mp3"))), qlonglong(0)});
    EXPECT_TRUE(device.Log.isEmpty()) << device.Log.join(", ").toStdString();
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(TMprisTest, UnknownMethodsWrongArgumentsAndUrisOfOtherSchemesAreErrors)
{
    FillAndSelect();
    EXPECT_EQ(ErrorName(CallPlayer("Rewind")), "org.freedesktop.DBus.Error.UnknownMethod");
    EXPECT_EQ(ErrorName(CallPlayer("Seek", {QStringLiteral("far")})), "org.freedesktop.DBus.Error.UnknownMethod");
    EXPECT_EQ(ErrorName(CallPlayer("Play", {42})), "org.freedesktop.DBus.Error.UnknownMethod");
    for (const char *uri : {"http://example.com/one.mp3", "smb://host/share/one.mp3", "/music/one.mp3", ""})
        EXPECT_EQ(ErrorName(CallPlayer("OpenUri", {QString::fromLatin1(uri)})),
                  "org.freedesktop.DBus.Error.NotSupported")
            << uri;
    EXPECT_TRUE(device.Log.isEmpty());
    EXPECT_EQ(form->lbFiles->Count(), 3);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TMprisTest, OpenUriAddsALocalFileAndPlaysItOrSaysWhyNot)
{
    FillAndSelect();
    folder.WriteFile("new song.mp3", "");
    const QString uri = QUrl::fromLocalFile(folder.File("new song.mp3")).toString(QUrl::FullyEncoded);
    EXPECT_EQ(CallPlayer("OpenUri", {uri}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(form->lbFiles->Count(), 4);
    EXPECT_EQ(form->lbFiles->Text(3), QFile::encodeName(folder.File("new song.mp3")));
    EXPECT_EQ(device.OpenFile, form->lbFiles->Text(3));
    EXPECT_EQ(Property("PlaybackStatus"), "Playing");

    EXPECT_EQ(CallPlayer("OpenUri", {QStringLiteral("file:///nowhere/gone.mp3")}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(form->lbFiles->Count(), 4);
    EXPECT_EQ(dialogs.Messages,
              QStringList({"Not added to the media list:\nfile:///nowhere/gone.mp3: no such file or folder"}));
}

TEST_F(TMprisTest, WhileAModalBoxIsOpenControlsDoNothing)
{
    FillAndSelect();
    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("A box of the player"), QMessageBox::Ok, form.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    for (const char *method : {"Play", "PlayPause", "Next", "Previous", "Stop"})
        EXPECT_EQ(CallPlayer(method).type(), QDBusMessage::ReplyMessage) << method;
    SetProperty("Volume", 0.5);
    Call(RootInterface, "Quit");
    EXPECT_TRUE(device.Log.isEmpty()) << device.Log.join(", ").toStdString();
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_DOUBLE_EQ(device.Volume, 1.0);
    EXPECT_EQ(form->StatusText(), "Closed");
    box.hide();
    CallPlayer("Play");
    EXPECT_EQ(form->StatusText(), "Playing");
}

TEST_F(TMprisTest, ACallThatArrivesWhileAnOperationShowsABoxDoesNotNest)
{
    // The box of a failed play runs its own event loop; a call that arrives then waits for no one.
    Fill({"/music/broken.mp3", "/music/two.wav"});
    form->lbFiles->SetItemIndex(0);
    device.Script.Unopenable << "/music/broken.mp3";
    class TBoxDialogs : public TScriptedDialogs {
    public:
        std::function<void()> WhileShown;
        void ShowMessage(const QString &text) override
        {
            QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
            box.setWindowModality(Qt::ApplicationModal);
            box.show();
            if (WhileShown)
                std::exchange(WhileShown, nullptr)();
            TScriptedDialogs::ShowMessage(text);
        }
    } boxes;
    TOstrelApplication::Instance().SetDialogs(boxes);
    boxes.WhileShown = [this] { CallPlayer("Next"); };
    CallPlayer("Play");
    TOstrelApplication::Instance().SetDialogs(dialogs);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_FALSE(device.Log.contains("Open /music/two.wav")) << device.Log.join(", ").toStdString();
    ASSERT_FALSE(boxes.Messages.isEmpty());
    EXPECT_TRUE(boxes.Messages.filter("two.wav").isEmpty()) << boxes.Messages.join(" | ").toStdString();
}

TEST_F(TMprisTest, WhileASearchRunsControlsDoNothing)
{
    FillAndSelect();
    folder.WriteFile("found.mp3", "");
    dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
        dialog.FileName = folder.File("*.mp3");
        dialog.Folder = folder.path();
        return true;
    });
    bool calledDuringSearch = false;
    QTimer::singleShot(0, form.get(), [&] {
        if (form->Searching()) {
            calledDuringSearch = true;
            CallPlayer("Play");
        }
    });
    form->miSearch->trigger();
    if (!calledDuringSearch)
        GTEST_SKIP() << "the search ended before the event loop ran";
    EXPECT_FALSE(device.Log.contains("Play notify"));
}

TEST_F(TMprisTest, QuitClosesAsExitDoesAndAutoSaveSavesTheList)
{
    form->SetAutoSave(true);
    form->SetListFileName(folder.File("quit.oml"));
    FillAndSelect();
    form->show();
    Call(RootInterface, "Quit");
    EXPECT_FALSE(form->isVisible());
    EXPECT_NE(folder.ReadFile("quit.oml"), "<missing>");
    EXPECT_TRUE(folder.ReadFile("quit.oml").contains("/music/three.avi"));
}

TEST_F(TMprisTest, TheControlInterfaceGoesWithTheWindowAndTheServiceLeavesTheBus)
{
    const QPointer<TPlayerControl> control = &form->PlayerControl();
    FillAndSelect();
    EXPECT_EQ(Property("CanPlay"), true);
    form.reset();
    EXPECT_TRUE(control.isNull());
    EXPECT_TRUE(service->ServiceName().isEmpty());
    EXPECT_EQ(ErrorName(CallPlayer("Play")), "org.freedesktop.DBus.Error.ServiceUnknown");
}

TEST_F(TMprisTest, RaiseShowsTheWindow)
{
    form->showMinimized();
    Call(RootInterface, "Raise");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
}

TEST_F(TMprisTest, EntryBytesGiveAValidUrlAndADisplayableTitle)
{
    const QByteArray entry = "/music/my \"best\" 100% \xff\xfe song?#.mp3";
    Fill({entry});
    form->lbFiles->SetItemIndex(0);
    const QVariantMap metadata = Metadata();
    const QString url = metadata.value("xesam:url").toString();
    EXPECT_EQ(url, "file:///music/my%20%22best%22%20100%25%20%FF%FE%20song%3F%23.mp3");
    EXPECT_TRUE(QUrl(url, QUrl::StrictMode).isValid());
    EXPECT_EQ(QByteArray::fromPercentEncoding(url.mid(7).toLatin1()), entry);
    EXPECT_EQ(metadata.value("xesam:title"), QString::fromUtf8("my \"best\" 100% \xef\xbf\xbd\xef\xbf\xbd song?#.mp3"));
}

TEST(TMprisTrack, RelativeEntriesResolveAgainstTheFolderAndIdsArePaths)
{
    EXPECT_EQ(MprisTrack::FileUrl("a b.wav", "/home/me"), "file:///home/me/a%20b.wav");
    EXPECT_EQ(MprisTrack::FileUrl("a.wav", "/"), "file:///a.wav");
    EXPECT_EQ(MprisTrack::FileUrl("/x/a.wav", "/home/me"), "file:///x/a.wav");
    EXPECT_EQ(MprisTrack::Title("plain.wav"), "plain.wav");
    EXPECT_EQ(MprisTrack::Title("/folder/"), "");
    const QString id = MprisTrack::TrackId("/music/\xff odd.mp3");
    EXPECT_TRUE(QDBusObjectPath(id).path() == id && id.startsWith("/example/ostrel/"));
    EXPECT_NE(id, MprisTrack::TrackId("/music/\xfe odd.mp3"));
    EXPECT_EQ(id, MprisTrack::TrackId("/music/\xff odd.mp3"));
}

TEST(TMprisNoBus, WithoutABusTheServiceStaysIdleAndTheWindowWorks)
{
    TScriptedDialogs dialogs;
    TOstrelApplication::Instance().SetDialogs(dialogs);
    TScriptedBackEnd::TState device;
    auto form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
    dialogs.Messages.clear();
    const QDBusConnection nowhere
        = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "nowhere");
    ASSERT_FALSE(nowhere.isConnected());
    TMprisService idle(form->PlayerControl(), nowhere);
    EXPECT_TRUE(idle.ServiceName().isEmpty());
    form->lbFiles->Append(QList<QByteArray>{"/music/one.mp3"});
    form->lbFiles->SetItemIndex(0);
    form->sbPlay->OnClick(form->sbPlay);
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    QDBusConnection::disconnectFromBus("nowhere");
}

} // namespace
