#include "TScriptedFormFixture.h"

#include "TScriptedBackEnd.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "medialist/TRandomGenerator.h"

#include <QAction>
#include <QTimer>

namespace {

using TControllerTest = TScriptedFormFixture;

TEST_F(TControllerTest, ModeNames)
{
    const QStringList names = {"Not ready", "Stopped", "Playing", "Recording", "Seeking", "Paused", "Open"};
    for (int mode = dmNotReady; mode <= dmOpen; ++mode)
        EXPECT_EQ(TFormMediaPlayer::ModeName(TDeviceMode(mode)), names[mode]);
    EXPECT_FALSE(form->FMediaPlayer->AutoRewind());
}

TEST_F(TControllerTest, PlayWithAnEmptyListDoesNothing)
{
    form->SetStatusText("Before");
    form->sbPlayClick(form->sbPlay);
    EXPECT_EQ(form->StatusText(), "Before");
    EXPECT_TRUE(device.Log.isEmpty());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TControllerTest, PlayWithoutACurrentEntryPlaysTheFirstInOrder)
{
    Fill({"/m/a.wav", "/m/b.wav"});
    form->sbPlayClick(form->sbPlay);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(device.Log, QStringList({"Open /m/a.wav wait", "Play notify"}));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(Marks(), QList<bool>({true, false}));
    EXPECT_EQ(form->RandomPool().Count(), 2); // in order the pool is not drawn from
    EXPECT_EQ(form->StatusText(), "Playing");
}

TEST_F(TControllerTest, PlayWithoutACurrentEntryAtRandomPlaysADrawOfTheCycle)
{
    Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    form->lbFiles->SetChecked(0, true); // played earlier in this cycle, so not in the pool
    form->RandomPool().RemoveFirst("/m/a.wav");
    form->miRandom->trigger();
    form->sbPlayClick(form->sbPlay);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    const int current = form->lbFiles->ItemIndex();
    ASSERT_GE(current, 1);
    EXPECT_EQ(device.OpenFile, form->lbFiles->Text(current));
    EXPECT_EQ(MarkCount(), 2);
    EXPECT_TRUE(form->lbFiles->Checked(current));
    EXPECT_EQ(form->RandomPool().Count(), 1);
    EXPECT_EQ(form->RandomPool().IndexOf(device.OpenFile), -1);
    EXPECT_TRUE(form->Playing());
}

TEST_F(TControllerTest, PlayOpensPlaysAndMarksTheCurrentEntry)
{
    Fill({"/m/a.wav", "/m/b.wav"});
    form->lbFiles->SetItemIndex(1);
    form->PlayMedia();
    EXPECT_EQ(device.Log, QStringList({"Open /m/b.wav wait", "Play notify"}));
    EXPECT_TRUE(form->Playing());
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_EQ(Marks(), QList<bool>({false, true}));
    EXPECT_EQ(form->RandomPool().Count(), 2);
}

TEST_F(TControllerTest, PauseThenPlayResumes)
{
    Fill({"/m/a.wav"});
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    form->PauseMedia();
    EXPECT_EQ(form->StatusText(), "Playing");
    form->TimerTimer(form->Timer1);
    EXPECT_EQ(form->StatusText(), "Paused");
    form->PauseMedia(); // already paused: nothing happens
    form->PlayMedia();
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_EQ(device.Log, QStringList({"Open /m/a.wav wait", "Play notify", "Pause wait", "Resume notify"}));
}

TEST_F(TControllerTest, PauseWithNothingOpen)
{
    form->PauseMedia();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to pause Media Player!"}));
}

TEST_F(TControllerTest, StopThenPlayRestartsFromTheStart)
{
    Fill({"/m/a.wav"});
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    form->StopMedia();
    EXPECT_FALSE(form->Playing());
    EXPECT_EQ(form->StatusText(), "Stopped");
    form->TimerTimer(form->Timer1); // the poll no longer watches
    EXPECT_EQ(form->StatusText(), "Stopped");
    form->PlayMedia();
    EXPECT_EQ(device.Log, QStringList({"Open /m/a.wav wait", "Play notify", "Stop wait", "Close wait",
                                       "Open /m/a.wav wait", "Play notify"}));
    // Stop with nothing playing only says so.
    form->StopMedia();
    form->StopMedia();
    EXPECT_EQ(device.Log.count("Stop wait"), 2);
    EXPECT_EQ(form->StatusText(), "Stopped");
}

TEST_F(TControllerTest, AFailedOpenGivesTwoMessages)
{
    Fill({"/m/gone.wav"});
    device.Script.Unopenable << "/m/gone.wav";
    form->lbFiles->SetItemIndex(0);
    form->SetStatusText("Before");
    form->PlayMedia();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to open media file \"/m/gone.wav\": The file cannot be played.",
                                             "No MCI device open"}));
    EXPECT_FALSE(form->Playing());
    EXPECT_EQ(form->StatusText(), "Before");
    EXPECT_EQ(Marks(), QList<bool>({false}));
}

TEST_F(TControllerTest, ThePollAdvancesInOrderAtTheEndOfATrack)
{
    Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    form->lbFiles->SetItemIndex(2);
    form->PlayMedia();
    form->TimerTimer(form->Timer1);
    EXPECT_EQ(form->StatusText(), "Playing");
    device.Mode = MCI_MODE_STOP; // the track has ended
    device.Log.clear();
    form->TimerTimer(form->Timer1);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_TRUE(form->Playing());
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_EQ(Marks(), QList<bool>({true, false, true}));
    // NextMedia opens twice (its own open and PlayMedia's), then the poll's play opens again.
    EXPECT_EQ(device.Log.filter("Open").size(), 3);
    EXPECT_EQ(device.Log.filter("Play").size(), 2);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TControllerTest, ThePollDrawsAtRandomAndStartsANewCycle)
{
    Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    form->miRandom->trigger();
    ProgramRandom().SetSeed(7);
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    for (int track = 0; track < 3; ++track) {
        device.Mode = MCI_MODE_STOP;
        form->TimerTimer(form->Timer1);
    }
    EXPECT_EQ(Marks(), QList<bool>({true, true, true}));
    EXPECT_TRUE(form->RandomPool().IsEmpty());
    device.Mode = MCI_MODE_STOP;
    form->TimerTimer(form->Timer1);
    EXPECT_EQ(Marks().count(true), 1);
    EXPECT_TRUE(form->lbFiles->Checked(form->lbFiles->ItemIndex()));
}

TEST_F(TControllerTest, NextWithAnEmptyListReportsTheFailedOpen)
{
    form->NextMedia();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to open media file \"\": The file cannot be played."}));
    EXPECT_EQ(form->StatusText(), "Closed");
    EXPECT_FALSE(form->Playing());
}

TEST_F(TControllerTest, PreviousOnTheFirstEntryPlaysTheLast)
{
    Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    form->lbFiles->SetItemIndex(0);
    form->sbPreviousClick(form->sbPrevious);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    EXPECT_EQ(device.OpenFile, "/m/c.wav");
    EXPECT_EQ(form->StatusText(), "Playing");
}

TEST_F(TControllerTest, CloseStopsAndClosesAPlayingMedium)
{
    Fill({"/m/a.wav"});
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    form->sbCloseClick(form->sbClose);
    EXPECT_EQ(form->StatusText(), "Closed");
    EXPECT_FALSE(form->Playing());
    EXPECT_EQ(device.Log.mid(2), QStringList({"Stop wait", "Close wait"}));
    form->CloseMedia(); // nothing open: only the text
    EXPECT_EQ(device.Log.size(), 4);
}

TEST_F(TControllerTest, WithNeitherOrderTheEndOfATrackReplaysIt)
{
    Fill({"/m/a.wav", "/m/b.wav"});
    form->miInOrder->setChecked(false);
    form->lbFiles->SetItemIndex(1);
    form->PlayMedia();
    device.Mode = MCI_MODE_STOP;
    form->TimerTimer(form->Timer1);
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to open media file \"\": The file cannot be played."}));
    EXPECT_EQ(device.OpenFile, "/m/b.wav");
    EXPECT_EQ(form->StatusText(), "Playing");
}

TEST_F(TControllerTest, PlayingTheSecondOfTwoTextsDifferingInCaseMarksTheFirst)
{
    Fill({"/m/Song.wav", "/m/SONG.WAV"});
    form->lbFiles->SetItemIndex(1);
    form->PlayMedia();
    EXPECT_EQ(Marks(), QList<bool>({true, false}));
}

TEST_F(TControllerTest, ThePollSetsNotifyForTheNextCommand)
{
    Fill({"/m/a.wav"});
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    form->TimerTimer(form->Timer1);
    form->PauseMedia();
    EXPECT_EQ(device.Log.last(), "Pause wait notify");
}

TEST_F(TControllerTest, TheOpenFailureNamesTheEntryAsTheListShowsItAndTheReason)
{
    const QByteArray latin1 = "/m/caf\xe9 %1.wav";
    Fill({latin1});
    device.Script.Unopenable << QString::fromUtf8(latin1);
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[0], QStringLiteral("Unable to open media file \"/m/caf\uFFFD %1.wav\": The file cannot be played."));
    EXPECT_EQ(form->lbFiles->model()->index(0, 0).data().toString(), QStringLiteral("/m/caf\uFFFD %1.wav"));
}

TEST_F(TControllerTest, TheEndNoticeRunsThePollAtOnceAndRestartsItsTimer)
{
    Fill({"/m/a.wav", "/m/b.wav"});
    form->lbFiles->SetItemIndex(0);
    form->PlayMedia();
    // A notice while the track still plays changes nothing.
    scripted->SendNotice(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    device.Mode = MCI_MODE_STOP;
    scripted->SendNotice(MCI_NOTIFY_ABORTED);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    form->Timer1->stop();
    scripted->SendNotice(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    EXPECT_EQ(device.OpenFile, "/m/b.wav");
    EXPECT_TRUE(form->Playing());
    EXPECT_EQ(Marks(), QList<bool>({true, true}));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->remainingTime() > 900, true);
    // Once stopped by the user, a late notice does not advance.
    form->StopMedia();
    scripted->SendNotice(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    EXPECT_FALSE(form->Playing());
}

TEST_F(TControllerTest, ClosingTheVideoWindowStopsAsTheStopButtonDoes)
{
    struct TForm : TFormMediaPlayer {
        using TFormMediaPlayer::TFormMediaPlayer;
        void sbStopClick(QObject *sender) override
        {
            Senders << sender;
            TFormMediaPlayer::sbStopClick(sender);
        }
        QList<QObject *> Senders;
    };
    TScriptedBackEnd::TState state;
    auto backEnd = std::make_unique<TScriptedBackEnd>(state);
    TScriptedBackEnd *video = backEnd.get();
    auto own = CreateFormMediaPlayer<TForm>(std::move(backEnd));
    own->lbFiles->Append(QList<QByteArray>{"/m/a.avi"});
    own->lbFiles->SetItemIndex(0);
    own->PlayMedia();
    video->RequestWindowClose();
    EXPECT_EQ(own->Senders, QList<QObject *>({own->FMediaPlayer}));
    EXPECT_FALSE(own->Playing());
    EXPECT_EQ(own->StatusText(), "Stopped");
    EXPECT_EQ(state.Log.last(), "Stop wait");
}

} // namespace
