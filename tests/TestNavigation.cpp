#include "TScriptedFormFixture.h"

#include "controls/TOECheckListBox.h"
#include "medialist/TRandomGenerator.h"

#include <QAction>
#include <set>

namespace {

using TNavigationTest = TScriptedFormFixture;

TEST_F(TNavigationTest, NextEntryWrapsAroundAndLeavesMarksAlone)
{
    Fill({"a", "b", "c"});
    EXPECT_EQ(form->NextEntry(), "a"); // no selection selects entry 0
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(form->NextEntry(), "b");
    EXPECT_EQ(form->NextEntry(), "c");
    EXPECT_EQ(form->NextEntry(), "a");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(MarkCount(), 0);
}

TEST_F(TNavigationTest, PreviousEntryWrapsToTheLastEntry)
{
    Fill({"a", "b", "c"});
    EXPECT_EQ(form->PreviousEntry(), "c"); // no selection selects the last entry
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    EXPECT_EQ(form->PreviousEntry(), "b");
    EXPECT_EQ(form->PreviousEntry(), "a");
    EXPECT_EQ(form->PreviousEntry(), "c");
    EXPECT_EQ(MarkCount(), 0);
}

TEST_F(TNavigationTest, EmptyListGivesEmptyTextsAndNoSelection)
{
    EXPECT_EQ(form->NextEntry(), "");
    EXPECT_EQ(form->PreviousEntry(), "");
    EXPECT_EQ(form->RandomEntry(), "");
    EXPECT_EQ(form->ChooseNext(), "");
    EXPECT_EQ(form->ChoosePrevious(), "");
    form->miRandom->trigger();
    EXPECT_EQ(form->ChooseNext(), "");
    EXPECT_EQ(form->lbFiles->ItemIndex(), -1);
    EXPECT_TRUE(form->RandomPool().IsEmpty());
}

TEST_F(TNavigationTest, RandomCycleDrawsEachEntryOnceThenStartsAgain)
{
    Fill({"a", "b", "c"});
    form->miRandom->trigger();
    std::set<QByteArray> drawn;
    for (int i = 0; i < 3; ++i) {
        const QByteArray text = form->ChooseNext();
        EXPECT_EQ(form->lbFiles->Text(form->lbFiles->ItemIndex()), text);
        drawn.insert(text);
    }
    EXPECT_EQ(drawn, (std::set<QByteArray>{"a", "b", "c"}));
    EXPECT_EQ(Marks(), QList<bool>({true, true, true}));
    EXPECT_TRUE(form->RandomPool().IsEmpty());
    const QByteArray fourth = form->ChooseNext();
    EXPECT_FALSE(fourth.isEmpty());
    EXPECT_EQ(MarkCount(), 1);
    EXPECT_TRUE(form->lbFiles->Checked(form->lbFiles->ItemIndex()));
    EXPECT_EQ(form->RandomPool().Count(), 2);
}

TEST_F(TNavigationTest, PoolWithOnlyUnmarkedEntriesDrawsOnlyThose)
{
    // As a list loaded with the first and third entries marked leaves it.
    form->lbFiles->Append({"one", "two", "three", "four"});
    form->lbFiles->SetChecked(0, true);
    form->lbFiles->SetChecked(2, true);
    form->RandomPool().Append({"two", "four"});
    std::set<QByteArray> drawn{form->RandomEntry(), form->RandomEntry()};
    EXPECT_EQ(drawn, (std::set<QByteArray>{"two", "four"}));
    EXPECT_EQ(Marks(), QList<bool>({true, true, true, true}));
    form->RandomEntry();
    EXPECT_EQ(MarkCount(), 1);
    EXPECT_EQ(form->RandomPool().Count(), 3);
}

TEST_F(TNavigationTest, TextsDifferingInCaseAlwaysSelectTheFirst)
{
    Fill({"Song.mp3", "SONG.MP3"});
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(form->RandomEntry(), "Song.mp3");
        EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    }
    EXPECT_EQ(Marks(), QList<bool>({true, false}));
    EXPECT_TRUE(form->RandomPool().IsEmpty());
}

TEST_F(TNavigationTest, FixedSeedGivesTheDrawsOfTheFormula)
{
    // seed' = seed * 134775813 + 1 (mod 2^32), draw below n = (n * seed') >> 32:
    // from 12345 the seeds 1655067934, 1242767767, 342459380, 2377737157 draw 1 of 3,
    // 0 of 2, 0 of 1, then (new cycle) 1 of 3.
    Fill({"a", "b", "c"});
    ProgramRandom().SetSeed(12345);
    EXPECT_EQ(form->RandomEntry(), "b");
    EXPECT_EQ(form->RandomEntry(), "a");
    EXPECT_EQ(form->RandomEntry(), "c");
    EXPECT_EQ(form->RandomEntry(), "b");
    EXPECT_EQ(ProgramRandom().Seed(), 2377737157u);
    EXPECT_EQ(Marks(), QList<bool>({false, true, false}));

    TRandomGenerator generator;
    generator.SetSeed(1);
    EXPECT_EQ(generator.Draw(10), 0u);
    EXPECT_EQ(generator.Seed(), 134775814u);
    EXPECT_EQ(generator.Draw(10), 8u);
    EXPECT_EQ(generator.Seed(), 3698175007u);
    EXPECT_EQ(generator.Draw(10), 2u);
    EXPECT_EQ(generator.Draw(100), 27u);
    EXPECT_EQ(generator.Draw(3), 2u);
    EXPECT_EQ(generator.Draw(1000000), 318691u);
    EXPECT_EQ(generator.Draw(0), 0u);
}

TEST_F(TNavigationTest, ChoosePreviousFollowsThePlayOrderValue)
{
    Fill({"a", "b", "c"});
    form->lbFiles->SetItemIndex(0);
    form->miRandom->trigger();
    EXPECT_EQ(form->ChoosePrevious(), "c");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    form->SetPlayOrderValue(1);
    EXPECT_EQ(form->ChoosePrevious(), "");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
}

TEST_F(TNavigationTest, ChooseNextFollowsThePlayOrderItems)
{
    Fill({"a", "b", "c"});
    form->lbFiles->SetItemIndex(2);
    EXPECT_EQ(form->ChooseNext(), "a");
    form->miInOrder->setChecked(false);
    EXPECT_EQ(form->ChooseNext(), "");
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(MarkCount(), 0);
}

TEST_F(TNavigationTest, StartUpAlwaysLeavesThePlayOrderValueAtZero)
{
    class TStoredPlayOrder : public TFormMediaPlayer {
        void LoadSettings() override { SetPlayOrderValue(7); }
    };
    auto restored = CreateFormMediaPlayer<TStoredPlayOrder>();
    EXPECT_EQ(restored->PlayOrderValue(), 0);
}

TEST_F(TNavigationTest, HandToggledMarksLeaveThePoolAlone)
{
    Fill({"a", "b"});
    form->lbFiles->SetChecked(1, true);
    EXPECT_EQ(form->RandomPool().Texts(), QList<QByteArray>({"a", "b"}));
}

TEST_F(TNavigationTest, OddTextsNavigateLikeAnyOther)
{
    const QByteArray huge(64 * 1024, 'y');
    const QList<QByteArray> texts = {"\xFF\xFE\xC3", "", huge, QByteArray("a\0b", 3)};
    Fill(texts);
    form->show();
    for (const QByteArray &text : texts)
        EXPECT_EQ(form->NextEntry(), text);
    EXPECT_EQ(form->PreviousEntry(), texts[2]);
    std::set<QByteArray> drawn;
    for (int i = 0; i < 4; ++i)
        drawn.insert(form->RandomEntry());
    EXPECT_EQ(drawn, std::set<QByteArray>(texts.begin(), texts.end()));
    EXPECT_EQ(MarkCount(), 4);
}

TEST_F(TNavigationTest, WholeRandomCycleOverALargeListDrawsEveryEntryOnce)
{
    QList<QByteArray> texts;
    for (int i = 0; i < 5000; ++i)
        texts << QByteArray("/music/track ") + QByteArray::number(i) + ".mp3";
    Fill(texts);
    form->miRandom->trigger();
    std::set<QByteArray> drawn;
    for (int i = 0; i < 5000; ++i)
        drawn.insert(form->ChooseNext());
    EXPECT_EQ(drawn.size(), 5000u);
    EXPECT_EQ(MarkCount(), 5000);
    form->ChooseNext();
    EXPECT_EQ(MarkCount(), 1);
}

} // namespace
