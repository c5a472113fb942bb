#include "TScriptedFormFixture.h"
#include "controls/TJumpSlider.h"
#include "controls/TOEButton.h"
#include "desktop/TPlayerControl.h"
#include "registry/OERegistry.h"
#include "registry/TRegistryDatabase.h"
#include "window/NowPlayingText.h"
#include "window/WindowValues.h"
#include "window/TNowPlayingBar.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

const QString WindowKey = "\\SOFTWARE\\Ostrel\\Ostrel Media Player\\Window";

TEST(NowPlayingText, TimesReadAsMinutesAndSecondsAndFromAnHourWithHours)
{
    EXPECT_EQ(NowPlayingText::Time(0), "0:00");
    EXPECT_EQ(NowPlayingText::Time(999), "0:00");
    EXPECT_EQ(NowPlayingText::Time(59000), "0:59");
    EXPECT_EQ(NowPlayingText::Time(61000), "1:01");
    EXPECT_EQ(NowPlayingText::Time(3599999), "59:59");
    EXPECT_EQ(NowPlayingText::Time(3600000), "1:00:00");
    EXPECT_EQ(NowPlayingText::Time(36061000), "10:01:01");
    EXPECT_EQ(NowPlayingText::Time(-5000), "0:00");
    EXPECT_EQ(NowPlayingText::Progress(59000, 3600000), "0:59 / 1:00:00");
    EXPECT_EQ(NowPlayingText::Progress(61000, 0), "1:01"); // the length is unknown
    EXPECT_EQ(NowPlayingText::Progress(90000, 60000), "1:00 / 1:00"); // a position past the end
}

TEST(NowPlayingText, TheTitleComesFromTheTagsOrElseTheFileName)
{
    const QByteArray entry = "/music/01 \xff track.mp3";
    EXPECT_EQ(NowPlayingText::Title("Song", "Band", entry), QString::fromUtf8("Band \u2013 Song"));
    EXPECT_EQ(NowPlayingText::Title("Song", "", entry), "Song");
    EXPECT_EQ(NowPlayingText::Title("", "Band", entry), QString::fromUtf8("01 \xef\xbf\xbd track.mp3"));
    EXPECT_EQ(NowPlayingText::Title("", "", "plain.wav"), "plain.wav");
}

class TNowPlayingTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        form->Timer1->stop();
        form->resize(700, 400);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void PlayFirst(const QByteArray &entry = "/music/one.mp3")
    {
        Fill({entry, "/music/two.mp3"});
        form->lbFiles->SetItemIndex(0);
        form->sbPlay->OnClick(form->sbPlay);
        ASSERT_NE(form->NowPlaying(), nullptr);
        QCoreApplication::processEvents();
    }
    TNowPlayingBar &Bar() { return *form->NowPlaying(); }
    // One turn of the window's one-second poll.
    void Tick()
    {
        form->Timer1->start(0);
        QTest::qWait(20);
        form->Timer1->stop();
    }
    // A click at a share of the slider's groove, as a user makes it.
    static void ClickAt(TJumpSlider *slider, double share)
    {
        const int x = int(slider->width() * share);
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(x, slider->height() / 2));
    }
    static QString Seeks(const TScriptedBackEnd::TState &state) { return state.Log.filter("SeekTo").join(", "); }
};

TEST_F(TNowPlayingTest, NothingShowsUntilAMediumHasOpenedAndTheStatusTextKeepsItsPlace)
{
    EXPECT_EQ(form->NowPlaying(), nullptr);
    form->sbPlay->OnClick(form->sbPlay); // nothing to play
    EXPECT_EQ(form->NowPlaying(), nullptr);
    device.Length = 61000;
    PlayFirst();
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_EQ(Bar().Title(), "one.mp3");
    EXPECT_EQ(Bar().TimeText(), "0:00 / 1:01");
    EXPECT_TRUE(Bar().Position()->isEnabled());
    EXPECT_EQ(Bar().Position()->maximum(), 61000);
    auto *status = form->FStatusBar->findChildren<QLabel *>().value(0);
    ASSERT_NE(status, nullptr);
    EXPECT_LT(status->geometry().left(), Bar().geometry().left());

    device.Position = 59500;
    Tick();
    EXPECT_EQ(Bar().TimeText(), "0:59 / 1:01");
    EXPECT_EQ(Bar().Position()->value(), 59500);
}

TEST_F(TNowPlayingTest, TagsNameWhatPlaysAndAreOneLineOfBoundedLength)
{
    device.Tags = {"Title\r\nSecond line", "The\tArtist", "Album"};
    PlayFirst();
    EXPECT_EQ(Bar().Title(), QString::fromUtf8("The Artist \u2013 Title  Second line"));
    form->CloseMedia();
    device.Tags = {QString(1 << 20, QLatin1Char('x')), "", ""};
    form->sbPlay->OnClick(form->sbPlay);
    EXPECT_EQ(Bar().Title(), QString(1000, QLatin1Char('x')));
    auto *title = Bar().findChild<QLabel *>("NowPlayingTitle");
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->width());
    EXPECT_EQ(title->toolTip(), Bar().Title());
}

TEST_F(TNowPlayingTest, ALongTitleIsCutToTheRoomLeftOnceTheTimeIsShown)
{
    device.Length = 200000;
    device.Tags = {"A Rather Long Song Title For Testing", "The Band", ""};
    PlayFirst();
    device.Position = 65000; // the time's text widens: the title's label narrows
    Tick();
    auto *title = Bar().findChild<QLabel *>("NowPlayingTitle");
    EXPECT_EQ(title->text(), NowPlayingText::Fitted(device.Tags.Title, device.Tags.Artist, "/music/one.mp3",
                                                    title->fontMetrics(), title->width()));
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->width());
}

TEST_F(TNowPlayingTest, WhatPlaysTakesTheRoomLeftAndCutsTheArtistBeforeTheTitle)
{
    const QString artist = "An Artist With An Equally Unnecessarily Long Name";
    const QString song = "A Rather Long Title For Testing";
    device.Length = 200000;
    device.Tags = {song, artist, ""};
    form->show();
    PlayFirst();
    auto *label = Bar().findChild<QLabel *>("NowPlayingTitle");
    const QString dash = " \u2013 ";
    struct TWidth {
        int Window;
        bool ArtistWhole;
        bool TitleWhole;
    };
    for (const TWidth width : {TWidth{1250, true, true}, TWidth{600, false, true}, TWidth{490, false, false}}) {
        form->resize(width.Window, form->height());
        QCoreApplication::processEvents();
        Tick();
        const QString shown = label->text();
        EXPECT_EQ(label->toolTip(), artist + dash + song) << width.Window;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->width()) << width.Window;
        EXPECT_EQ(shown.startsWith(artist + dash), width.ArtistWhole) << shown.toStdString();
        EXPECT_EQ(shown.endsWith(dash + song), width.TitleWhole && width.Window > 490) << shown.toStdString();
        if (!width.ArtistWhole && width.TitleWhole) {
            EXPECT_TRUE(shown.startsWith("An") && shown.contains("\u2026" + dash)) << shown.toStdString();
        }
        // Beside the status text's own room, everything the time and the sliders leave.
        const QList<QLabel *> status = form->FStatusBar->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(status.size(), 1);
        EXPECT_EQ(status[0]->width(), status[0]->minimumWidth()) << width.Window;
        if (width.Window == 1250) {
            EXPECT_GT(label->width(), 700);
        }
    }
    EXPECT_GE(label->width(), 40);
}

TEST_F(TNowPlayingTest, AClickOnThePositionJumpsThereAndKeysStepFiveSeconds)
{
    device.Length = 90000;
    PlayFirst();
    device.Log.clear();
    ClickAt(Bar().Position(), 2.0 / 3);
    ASSERT_EQ(device.Log.filter("SeekTo").size(), 1) << device.Log.join(", ").toStdString();
    const int target = device.Log.filter("SeekTo").first().section(' ', 2).toInt();
    EXPECT_NEAR(target, 60000, 3000);
    device.Position = uint32_t(target);
    Bar().Position()->setFocus();
    QTest::keyClick(Bar().Position(), Qt::Key_Right);
    EXPECT_EQ(device.Log.filter("SeekTo").last(), QString("SeekTo 1 %1").arg(target + 5000));
}

TEST_F(TNowPlayingTest, TheEndOfTheTrackIsWhereTheNextBegins)
{
    device.Length = 90000;
    PlayFirst();
    device.Log.clear();
    ClickAt(Bar().Position(), 1.0);
    EXPECT_EQ(Seeks(device), "");
    EXPECT_EQ(device.OpenFile, "/music/two.mp3");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
}

TEST_F(TNowPlayingTest, ASeekWhilePausedStaysPausedAndAPositionPastTheLengthShowsTheEnd)
{
    device.Length = 90000;
    PlayFirst();
    form->sbPause->OnClick(form->sbPause);
    Tick();
    ASSERT_EQ(form->StatusText(), "Paused");
    device.Log.clear();
    ClickAt(Bar().Position(), 1.0 / 3);
    ASSERT_EQ(device.Log.filter("SeekTo").size(), 1) << device.Log.join(", ").toStdString();
    EXPECT_EQ(device.Log.filter(QRegularExpression("^(Play|Resume)")), QStringList());
    EXPECT_EQ(device.Mode, uint32_t(MCI_MODE_PAUSE));
    EXPECT_EQ(form->StatusText(), "Paused");

    device.Position = 120000; // a stream may run past the length it gave
    Tick();
    EXPECT_EQ(Bar().TimeText(), "1:30 / 1:30");
    EXPECT_EQ(Bar().Position()->value(), 90000);
    EXPECT_EQ(form->StatusText(), "Paused");
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(" | ").toStdString();
}

TEST_F(TNowPlayingTest, AClickThatArrivesAsTheNextTrackOpensSeeksTheNewTrack)
{
    device.Length = 90000;
    PlayFirst();
    device.Log.clear();
    TJumpSlider *position = Bar().Position();
    const QPointF at(position->width() / 2.0, position->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(position,
                                    new QMouseEvent(type, at, position->mapToGlobal(at), Qt::LeftButton,
                                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                    Qt::NoModifier));
    device.Mode = MCI_MODE_STOP; // the first track has ended: the second opens
    scripted->SendNotice(MCI_NOTIFY_SUCCESSFUL);
    QCoreApplication::processEvents();
    EXPECT_EQ(device.OpenFile, "/music/two.mp3");
    const QStringList seeks = device.Log.filter("SeekTo");
    ASSERT_EQ(seeks.size(), 1) << device.Log.join(", ").toStdString();
    EXPECT_GT(device.Log.indexOf(seeks.first()), device.Log.indexOf(QRegularExpression("^Open /music/two.mp3")));
    EXPECT_NEAR(seeks.first().section(' ', 2).toInt(), 45000, 3000);
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(" | ").toStdString();
}

TEST_F(TNowPlayingTest, AMediumOfUnknownLengthCannotBeSought)
{
    device.Length = 0;
    PlayFirst();
    EXPECT_FALSE(Bar().Position()->isEnabled());
    EXPECT_EQ(Bar().TimeText(), "0:00");
    device.Log.clear();
    ClickAt(Bar().Position(), 0.5);
    EXPECT_EQ(Seeks(device), "");
}

TEST_F(TNowPlayingTest, TheVolumeIsTheEnginesAndIsKeptApartFromTheTwelveValues)
{
    PlayFirst();
    EXPECT_EQ(Bar().Volume()->value(), 100);
    ClickAt(Bar().Volume(), 0.25);
    EXPECT_NEAR(device.Volume, 0.25, 0.08);
    const int chosen = Bar().Volume()->value();
    QTest::qWait(700); // kept once the user has let go
    EXPECT_EQ(StoredVolume::Read(), chosen);
    form->SaveSettings();
    TRegistryDatabase store(TRegistryDatabase::DefaultPath(), TRegistryDatabase::TOpenMode::ExistingOnly);
    EXPECT_EQ(store.Values(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player").size(), 12);
    EXPECT_EQ(store.Values(HKEY_CURRENT_USER, "SOFTWARE\\Ostrel\\Ostrel Media Player\\Window").size(), 1);

    // The media controls' volume is the same value.
    form->PlayerControl().SetVolume(0.5);
    QCoreApplication::processEvents();
    Tick();
    EXPECT_EQ(Bar().Volume()->value(), 50);
}

TEST_F(TNowPlayingTest, AVolumeJustChosenIsKeptWhenTheProcessIsMadeToEnd)
{
    PlayFirst();
    form->ChangeVolume(0.3);
    EXPECT_NE(StoredVolume::Read(), 30) << "kept before the user has let go";
    form->SaveBeforeForcedExit();
    EXPECT_EQ(StoredVolume::Read(), 30);
    TOstrelApplication::Instance().SetDialogs(dialogs);
}

TEST_F(TNowPlayingTest, AStoredVolumeIsTheEnginesFromTheStartClampedOrIgnored)
{
    const QList<QPair<TRegistryValue, double>> cases = {{TRegistryValue::Integer(40), 0.4},
                                                         {TRegistryValue::Integer(-5), 0.0},
                                                         {TRegistryValue::Integer(1000), 1.0},
                                                         {TRegistryValue::Text("loud"), 1.0}};
    for (const auto &[stored, expected] : cases) {
        WriteRegistry(HKEY_CURRENT_USER, WindowKey, "Volume", stored);
        TScriptedBackEnd::TState fresh;
        auto other = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(fresh));
        EXPECT_DOUBLE_EQ(other->PlayerControl().Volume(), expected) << "before anything plays";
        // A change made before the first open is the one the medium plays at.
        other->PlayerControl().SetVolume(0.6);
        QCoreApplication::processEvents();
        other->lbFiles->Append(QByteArray("/music/one.mp3"));
        other->lbFiles->SetItemIndex(0);
        other->sbPlay->OnClick(other->sbPlay);
        EXPECT_DOUBLE_EQ(fresh.Volume, 0.6) << stored.AsText().toStdString() << stored.AsInteger();
    }
}

TEST_F(TNowPlayingTest, AListRowCutByTheWidthShowsItsWholeTextAsATooltip)
{
    const QByteArray longEntry = "/music/" + QByteArray(300, 'l') + ".mp3";
    form->lbFiles->Append(QList<QByteArray>{"/music/short.mp3", longEntry});
    const auto tooltipOf = [&](int row) {
        QToolTip::hideText();
        const QRect rect = form->lbFiles->visualRect(form->lbFiles->model()->index(row, 0));
        QHelpEvent event(QEvent::ToolTip, rect.center(), form->lbFiles->viewport()->mapToGlobal(rect.center()));
        QApplication::sendEvent(form->lbFiles->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tooltipOf(0), "");
    EXPECT_EQ(tooltipOf(1), QString::fromUtf8(longEntry));
}

} // namespace
