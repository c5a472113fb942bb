// What is handed ahead to the engine near the end of a track, on the scripted back end: always
// what the poll's advance then plays, taken back by whatever changes that, and never a change
// of the marks, the pool or the current entry before the advance.

#include "TScriptedFormFixture.h"
#include "controls/TOEButton.h"

#include <QAction>
#include <QTest>
#include <QTimer>

namespace {

class THandAheadTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
        device.Length = 180000;
    }
    void PlayFirst()
    {
        form->lbFiles->SetItemIndex(0);
        form->RunCommand([&] { form->sbPlayClick(form->sbPlay); });
        QCoreApplication::processEvents();
    }
    void NearTheEnd()
    {
        device.Position = device.Length - 2500;
        form->RunCommand([] {});
        QCoreApplication::processEvents();
    }
    // The engine reached the end: the poll advances as it always does.
    QByteArray Advance()
    {
        device.Mode = MCI_MODE_STOP;
        form->TimerTimer(form->Timer1);
        QCoreApplication::processEvents();
        return device.OpenFile;
    }
};

TEST_F(THandAheadTest, OnlyNearTheEndWhatTheAdvanceThenPlaysAndNothingChangesBeforeIt)
{
    PlayFirst();
    EXPECT_EQ(device.HandedAhead, QByteArray()) << "three minutes before the end";
    NearTheEnd();
    EXPECT_EQ(device.HandedAhead, QByteArray("/m/b.mp3"));
    EXPECT_EQ(Marks(), QList<bool>({true, false, false, false}));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(Advance(), QByteArray("/m/b.mp3"));

    // At random: the draw is peeked, not made, until the advance makes it.
    form->miRandom->trigger();
    const int pool = form->RandomPool().Count();
    NearTheEnd();
    const QByteArray handed = device.HandedAhead;
    EXPECT_FALSE(handed.isEmpty());
    EXPECT_EQ(form->RandomPool().Count(), pool);
    EXPECT_EQ(MarkCount(), 2);
    EXPECT_EQ(Advance(), handed);
    EXPECT_EQ(form->RandomPool().Count(), pool - 1);
}

TEST_F(THandAheadTest, WhatChangesTheNextEntryTakesBackWhatWasHandedAhead)
{
    const struct {
        const char *Change;
        std::function<void(TFormMediaPlayer &)> Make;
        QByteArray HandedAfter;
    } cases[] = {
        {"Stop", [](TFormMediaPlayer &f) { f.sbStop->OnClick(f.sbStop); }, ""},
        {"Remove of the playing entry", [](TFormMediaPlayer &f) { f.miRemove->trigger(); }, "/m/c.mp3"},
        {"an entry added after the last",
         [](TFormMediaPlayer &f) {
             f.lbFiles->SetItemIndex(3);
             f.AddEntries({"/m/e.mp3"});
         },
         "/m/e.mp3"},
        {"Remove All", [](TFormMediaPlayer &f) { f.miRemoveAll->trigger(); }, ""},
        {"a video next",
         [](TFormMediaPlayer &f) {
             f.AddEntries({"/m/f.mkv"});
             f.lbFiles->SetItemIndex(3);
         },
         ""},
    };
    for (const auto &c : cases) {
        form->miRemoveAll->trigger();
        Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
        PlayFirst();
        NearTheEnd();
        ASSERT_EQ(device.HandedAhead, QByteArray("/m/b.mp3")) << c.Change;
        form->RunCommand([&] { c.Make(*form); });
        QCoreApplication::processEvents();
        EXPECT_EQ(device.HandedAhead, c.HandedAfter) << c.Change;
    }
}

TEST_F(THandAheadTest, StopAfterCurrentEndsPlayAtTheEndOfTheEntryAndUnchecksItself)
{
    PlayFirst();
    form->miStopAfterCurrent->trigger();
    ASSERT_TRUE(form->miStopAfterCurrent->isChecked());
    NearTheEnd();
    EXPECT_EQ(device.HandedAhead, QByteArray()) << "nothing is handed ahead to follow it";
    EXPECT_EQ(Advance(), QByteArray("/m/a.mp3")) << "nothing next is opened";
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(Marks(), QList<bool>({true, false, false, false}));
    EXPECT_EQ(form->StatusText(), "Stopped");
    EXPECT_FALSE(form->Playing());
    EXPECT_FALSE(form->miStopAfterCurrent->isChecked());
    // Unchecked, the next end advances as it always has.
    form->RunCommand([&] { form->sbPlayClick(form->sbPlay); });
    NearTheEnd();
    EXPECT_EQ(device.HandedAhead, QByteArray("/m/b.mp3"));
    EXPECT_EQ(Advance(), QByteArray("/m/b.mp3"));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
}

} // namespace
