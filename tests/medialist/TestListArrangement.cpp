#include "medialist/ListArrangement.h"
#include "medialist/SortKey.h"
#include "medialist/TListHistory.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TTextPool.h"

#include <gtest/gtest.h>
#include <random>

namespace {

QList<QByteArray> SortedTexts(const QList<QByteArray> &texts, ListArrangement::TSortBy by)
{
    TMediaEntries entries;
    entries.Append(texts);
    QList<QByteArray> sorted;
    for (const int row : ListArrangement::Sorted(entries.Run(0), by))
        sorted << texts[row];
    return sorted;
}

TEST(ListArrangement, SortsAsAPersonReads)
{
    using ListArrangement::TSortBy;
    const struct {
        QList<QByteArray> Texts;
        TSortBy By;
        QList<QByteArray> Sorted;
    } cases[] = {
        {{"/m/10.flac", "/m/9.flac", "/m/100.flac", "/m/09.flac"}, TSortBy::Path,
         {"/m/9.flac", "/m/09.flac", "/m/10.flac", "/m/100.flac"}},
        {{"/b/Zeta.mp3", "/a/alpha.mp3", "/c/\xC3\x89t\xC3\xA9.mp3", "/d/ete.mp3"}, TSortBy::FileName,
         {"/a/alpha.mp3", "/c/\xC3\x89t\xC3\xA9.mp3", "/d/ete.mp3", "/b/Zeta.mp3"}},
        {{"/b/Zeta.mp3", "/a/alpha.mp3"}, TSortBy::Path, {"/a/alpha.mp3", "/b/Zeta.mp3"}},
        // Equal keys keep their order, whichever half of the list they are in.
        {{"/x/B.mp3", "/y/a.mp3", "/z/b.mp3", "/w/A.mp3"}, TSortBy::FileName,
         {"/y/a.mp3", "/w/A.mp3", "/x/B.mp3", "/z/b.mp3"}},
        {{"/m/Track 2 of 10.ogg", "/m/track 2 of 9.ogg"}, TSortBy::Path, {"/m/track 2 of 9.ogg", "/m/Track 2 of 10.ogg"}},
        {{"\xFF\xFE", "/m/a", "a"}, TSortBy::FileName, {"/m/a", "a", "\xFF\xFE"}},
        {{"99999999999999999999999", "100000000000000000000000"}, TSortBy::Path,
         {"99999999999999999999999", "100000000000000000000000"}},
        {{}, TSortBy::Path, {}},
    };
    for (const auto &test : cases)
        EXPECT_EQ(SortedTexts(test.Texts, test.By), test.Sorted) << test.Texts.join(' ').toStdString();
}

TEST(ListArrangement, ALongListSortsAsAStableSortByTheSameKeysOnOneThread)
{
    std::mt19937 random(5);
    QList<QByteArray> texts;
    for (int i = 0; i < 20001; ++i)
        texts << "/m/" + QByteArray::number(int(random() % 500)) + (random() % 2 ? "a" : "A");
    std::vector<std::string> keys;
    std::string scratch;
    for (const QByteArray &text : texts)
        SortKey::Make(text, keys.emplace_back(), scratch);
    std::vector<int> expected(keys.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    TMediaEntries entries;
    entries.Append(texts);
    EXPECT_EQ(ListArrangement::Sorted(entries.Run(0), ListArrangement::TSortBy::Path), expected);
}

TEST(ListArrangement, DuplicatesGoAndTheFirstKeepsAnyMarkOfItsEquals)
{
    TMediaEntries entries;
    entries.AppendEntries({{"/m/A.mp3", false}, {"/m/b.mp3", false}, {"/M/a.MP3", true}, {"/m/a.mp3", false},
                           {"\xFF", false}, {"\xFF", true}, {"\xFE", false}});
    const ListArrangement::TKept kept = ListArrangement::WithoutDuplicates(entries.Run(0));
    EXPECT_EQ(kept.Rows, (std::vector<int>{0, 1, 4, 6}));
    EXPECT_EQ(kept.Marks, (std::vector<char>{1, 0, 1, 0}));
}

TEST(ListHistory, HoldsTheLastFiftyChangesAndAsMuchMemoryAsTheListButAlwaysTheLatest)
{
    TMediaEntries entries;
    TTextPool pool;
    TListHistory history;
    for (int i = 0; i < 60; ++i) {
        history.Changing(entries, entries.Count());
        entries.Append(QByteArray::number(i));
        history.Changed(entries);
    }
    int undone = 0;
    while (history.Undo(entries, pool))
        ++undone;
    EXPECT_EQ(undone, TListHistory::MaxSteps);
    EXPECT_EQ(entries.Count(), 10);

    // A Remove All keeps the list's texts: the latest one is kept, and nothing before it fits.
    history.Clear();
    const QByteArray text(1000, 'x');
    for (int i = 0; i < 2; ++i) {
        history.Changing(entries, entries.Count());
        entries.Append(QList<QByteArray>(100, text));
        history.Changed(entries);
        history.Changing(entries, 0);
        entries.Clear();
        history.Changed(entries);
    }
    EXPECT_LE(history.MemoryUsed(), 100 * (1000 + TEntryRun::BytesPerEntry) + 100);
    EXPECT_TRUE(history.Undo(entries, pool));
    EXPECT_EQ(entries.Count(), 100);
    EXPECT_EQ(pool.Count(), 100);
    EXPECT_FALSE(history.Undo(entries, pool));
    EXPECT_TRUE(history.Redo(entries, pool));
    EXPECT_EQ(entries.Count(), 0);
    EXPECT_EQ(pool.Count(), 0);
}

TEST(ListHistory, AChangeThatLeftTheRowsAsTheyWereIsNoStep)
{
    TMediaEntries entries;
    entries.Append(QList<QByteArray>{"a", "b"});
    TListHistory history;
    history.Changing(entries, 0);
    entries.ReplaceFrom(0, entries.Run(0));
    history.Changed(entries);
    history.Changing(entries, 2);
    entries.Append(QList<QByteArray>{});
    history.Changed(entries);
    EXPECT_FALSE(history.CanUndo());
}

} // namespace
