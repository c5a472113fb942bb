#include "TListMarks.h"
#include "medialist/TListCursor.h"
#include "medialist/TListStepper.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TMediaNavigator.h"
#include "medialist/TRandomGenerator.h"
#include "medialist/TTextPool.h"

#include <gtest/gtest.h>
#include <set>

namespace {

class TPlainCursor : public TListCursor {
public:
    explicit TPlainCursor(const TMediaEntries &entries) : entries_(entries) { }
    int ItemIndex() const override { return index_; }
    void SetItemIndex(int index) override { index_ = index >= 0 && index < entries_.Count() ? index : -1; }

private:
    const TMediaEntries &entries_;
    int index_ = -1;
};

class TNavigatorTest : public testing::Test {
protected:
    void Fill(const QList<QByteArray> &texts)
    {
        entries.Append(texts);
        pool.Append(texts);
    }
    int MarkCount() const { return int(ListMarks(entries).count(true)); }

    TMediaEntries entries;
    TPlainCursor cursor{entries};
    TMediaNavigator navigator{entries, cursor};
    TTextPool pool;
    TRandomGenerator random;
};

TEST_F(TNavigatorTest, MovesWrapAroundAndStepsDoNot)
{
    EXPECT_EQ(navigator.NextEntry(), "");
    EXPECT_EQ(navigator.PreviousEntry(), "");
    EXPECT_EQ(cursor.ItemIndex(), -1);
    Fill({"a", "b", "c"});
    EXPECT_EQ(navigator.PreviousEntry(), "c"); // from no selection to the last
    EXPECT_EQ(navigator.NextEntry(), "a");
    EXPECT_EQ(navigator.NextEntry(), "b");
    EXPECT_EQ(navigator.PreviousEntry(), "a");
    EXPECT_EQ(navigator.PreviousEntry(), "c");

    navigator.StepForward();
    EXPECT_EQ(cursor.ItemIndex(), 2);
    cursor.SetItemIndex(0);
    navigator.StepBack();
    EXPECT_EQ(cursor.ItemIndex(), 0);
    EXPECT_EQ(MarkCount(), 0);
}

TEST_F(TNavigatorTest, ARandomCycleDrawsEveryEntryOnceThenClearsTheMarksForTheNext)
{
    Fill({"a", "b", "c", "d", "e"});
    random.SetSeed(20261208);
    std::set<QByteArray> drawn;
    for (int draw = 1; draw <= 5; ++draw) {
        const QByteArray text = navigator.RandomEntry(pool, random);
        EXPECT_TRUE(drawn.insert(text).second) << text.constData();
        EXPECT_EQ(entries.Text(cursor.ItemIndex()), text);
        EXPECT_EQ(MarkCount(), draw);
    }
    EXPECT_TRUE(pool.IsEmpty());
    const QByteArray first = navigator.RandomEntry(pool, random);
    EXPECT_EQ(MarkCount(), 1);
    EXPECT_TRUE(entries.Checked(entries.IndexOf(first)));
    EXPECT_EQ(pool.Count(), 4);
}

TEST_F(TNavigatorTest, ADrawOfATextNoLongerListedSelectsNothingAndKeepsItInThePool)
{
    entries.Append("kept");
    cursor.SetItemIndex(0);
    pool.Append("gone");
    EXPECT_EQ(navigator.RandomEntry(pool, random), "");
    EXPECT_EQ(cursor.ItemIndex(), -1);
    EXPECT_EQ(pool.Texts(), QList<QByteArray>({"gone"}));
    EXPECT_FALSE(entries.Checked(0));
}

TEST_F(TNavigatorTest, RandomStepsRefillTheirPoolWithoutClearingMarks)
{
    Fill({"a", "b"});
    TTextPool drawPool;
    navigator.StepRandom(drawPool, random);
    navigator.StepRandom(drawPool, random);
    EXPECT_EQ(MarkCount(), 2);
    EXPECT_TRUE(drawPool.IsEmpty());
    navigator.StepRandom(drawPool, random);
    EXPECT_EQ(MarkCount(), 2);
    EXPECT_EQ(drawPool.Count(), 1);
}

TEST(MediaNavigatorMoves, InOrderWinsOverRandomAndOnlyPlayOrderZeroGoesBack)
{
    using TMove = TMediaNavigator::TMove;
    EXPECT_EQ(TMediaNavigator::NextMove(true, true), TMove::Next);
    EXPECT_EQ(TMediaNavigator::NextMove(true, false), TMove::Next);
    EXPECT_EQ(TMediaNavigator::NextMove(false, true), TMove::Random);
    EXPECT_EQ(TMediaNavigator::NextMove(false, false), TMove::None);
    EXPECT_EQ(TMediaNavigator::PreviousMove(0), TMove::Previous);
    EXPECT_EQ(TMediaNavigator::PreviousMove(1), TMove::None);
    EXPECT_EQ(TMediaNavigator::PreviousMove(255), TMove::None);
}

TEST_F(TNavigatorTest, TheStepperTakesTheStepOfItsOrderAndDrawsFromItsOwnPool)
{
    Fill({"a", "b", "c"});
    TListStepper stepper(entries, cursor);
    EXPECT_EQ(stepper.StepByOrder(), TListStepper::TStep::None);
    const QList<QPair<uint8_t, TListStepper::TStep>> steps = {{loInOrder, TListStepper::TStep::Forward},
                                                              {loPostOrder, TListStepper::TStep::Back},
                                                              {loRandom, TListStepper::TStep::Random},
                                                              {9, TListStepper::TStep::Forward}};
    for (const auto &[order, step] : steps) {
        stepper.SetOrder(TOEListOrder(order));
        EXPECT_EQ(stepper.StepByOrder(), step) << int(order);
        EXPECT_EQ(int(stepper.Order()), int(order));
    }
    for (int draw = 0; draw < 3; ++draw)
        stepper.StepRandom(random);
    EXPECT_EQ(MarkCount(), 3);
    EXPECT_TRUE(stepper.DrawPool().IsEmpty());
    EXPECT_EQ(pool.Count(), 3); // the player's random pool is not the stepper's
    stepper.StepRandom(random); // refills with every entry; the marks stay
    EXPECT_EQ(stepper.DrawPool().Count(), 2);
    EXPECT_EQ(MarkCount(), 3);
    stepper.ClearDrawPool();
    EXPECT_TRUE(stepper.DrawPool().IsEmpty());
}

} // namespace

namespace {

// A peek tells what the move then makes, across two random cycles and every wrap, and changes
// nothing: the cursor, the marks, the pool and the generator stay as they were.
TEST_F(TNavigatorTest, APeekIsWhatTheMoveThenSelectsAndChangesNothing)
{
    Fill({"a", "B", "c", "b", "e"}); // "b" is found as "B", the first of its text
    random.SetSeed(7);
    for (const TMediaNavigator::TMove move : {TMediaNavigator::TMove::Next, TMediaNavigator::TMove::Random}) {
        for (int step = 0; step < 12; ++step) {
            const int cursorBefore = cursor.ItemIndex();
            const QList<bool> marksBefore = ListMarks(entries);
            const int poolBefore = pool.Count();
            const uint32_t seedBefore = random.Seed();
            const QByteArray peeked = navigator.PeekEntry(move, pool, random);
            EXPECT_EQ(cursor.ItemIndex(), cursorBefore);
            EXPECT_EQ(ListMarks(entries), marksBefore);
            EXPECT_EQ(pool.Count(), poolBefore);
            EXPECT_EQ(random.Seed(), seedBefore);
            const QByteArray moved =
                move == TMediaNavigator::TMove::Next ? navigator.NextEntry() : navigator.RandomEntry(pool, random);
            EXPECT_EQ(peeked, moved) << step;
        }
    }
    EXPECT_EQ(navigator.PeekEntry(TMediaNavigator::TMove::None, pool, random), "");
    entries.Clear();
    EXPECT_EQ(navigator.PeekEntry(TMediaNavigator::TMove::Next, pool, random), "");
}

} // namespace

namespace {

TEST_F(TNavigatorTest, QueuedEntriesComeFirstInQueueOrderThenTheListGoesOnFromTheLast)
{
    Fill({"a", "b", "c", "d", "e"});
    cursor.SetItemIndex(0);
    entries.ToggleQueued(3);
    entries.ToggleQueued(1);
    entries.ToggleQueued(4);
    entries.ToggleQueued(4); // queued again: taken out
    EXPECT_EQ(entries.QueuePlace(3), 1);
    EXPECT_EQ(entries.QueuePlace(1), 2);
    EXPECT_EQ(entries.QueuePlace(4), 0);
    EXPECT_EQ(navigator.PeekEntry(TMediaNavigator::TMove::Next, pool, random), "d");
    EXPECT_EQ(navigator.NextEntry(), "d");
    EXPECT_EQ(entries.QueuePlace(1), 1);
    EXPECT_EQ(navigator.NextEntry(), "b");
    EXPECT_TRUE(entries.Queue().Empty());
    EXPECT_EQ(navigator.NextEntry(), "c");
    EXPECT_EQ(navigator.PreviousEntry(), "b"); // the queue has no say in Previous
}

TEST_F(TNavigatorTest, AtRandomQueuedEntriesAreDrawnFirstAndEachEntryStillPlaysOncePerCycle)
{
    Fill({"a", "b", "c", "d", "e", "f"});
    entries.ToggleQueued(5);
    entries.ToggleQueued(2);
    EXPECT_EQ(navigator.PeekEntry(TMediaNavigator::TMove::Random, pool, random), "f");
    QList<QByteArray> drawn;
    for (int i = 0; i < 6; ++i)
        drawn << navigator.RandomEntry(pool, random);
    EXPECT_EQ(drawn.mid(0, 2), (QList<QByteArray>{"f", "c"}));
    EXPECT_EQ(std::set<QByteArray>(drawn.begin(), drawn.end()).size(), 6U);
    EXPECT_EQ(MarkCount(), 6);
    EXPECT_TRUE(pool.IsEmpty());
    // A queued entry already drawn in this cycle is not drawn a second time from the pool.
    navigator.RandomEntry(pool, random); // a new cycle
    const int played = cursor.ItemIndex();
    entries.ToggleQueued(played);
    EXPECT_EQ(navigator.RandomEntry(pool, random), entries.Text(played));
    EXPECT_EQ(pool.Count(), 5);
}

TEST_F(TNavigatorTest, TheQueueFollowsRemovalsAndNewOrdersAndClearEmptiesIt)
{
    Fill({"a", "b", "c", "b"});
    entries.ToggleQueued(3); // the second "b": the queue knows the entry, not its text
    entries.ToggleQueued(0);
    entries.RemoveAt(1);
    EXPECT_EQ(entries.QueuedRows(), (std::vector<int>{2, 0}));
    entries.ReplaceFrom(0, entries.Picked({2, 1, 0}));
    EXPECT_EQ(entries.QueuedRows(), (std::vector<int>{0, 2}));
    entries.ReplaceFrom(1, entries.Picked({1}));
    EXPECT_EQ(entries.QueuedRows(), (std::vector<int>{0}));
    EXPECT_EQ(navigator.NextEntry(), "b");
    EXPECT_EQ(cursor.ItemIndex(), 0);
    entries.ToggleQueued(1);
    entries.Clear();
    EXPECT_TRUE(entries.Queue().Empty());
    entries.SetQueuedRows({0, 5, -1});
    EXPECT_TRUE(entries.Queue().Empty());
}

} // namespace
