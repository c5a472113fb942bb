#include "medialist/EListError.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TTextPool.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Writes down what a view would be told.
class TRecordingObserver : public TMediaEntries::TObserver {
public:
    void RowsAboutToBeInserted(int first, int last) override { Told << QString("insert %1-%2").arg(first).arg(last); }
    void RowsInserted() override { Told << "inserted"; }
    void RowAboutToBeRemoved(int row) override { Told << QString("remove %1").arg(row); }
    void RowRemoved() override { Told << "removed"; }
    void AboutToBeCleared() override { Told << "clear"; }
    void Cleared() override { Told << "cleared"; }
    void MarksChanged(int first, int last) override { Told << QString("marks %1-%2").arg(first).arg(last); }
    void AboutToBeReplaced(int first) override { Told << QString("replace %1-").arg(first); }
    void Replaced() override { Told << "replaced"; }
    void LabelChanged(int row) override { Told << QString("label %1").arg(row); }

    QStringList Told;
};

TEST(MediaEntries, AViewIsToldOfEveryChangeBeforeAndAfterAndOfNothingElse)
{
    TMediaEntries entries;
    TRecordingObserver view;
    entries.SetObserver(&view);
    EXPECT_EQ(entries.Append("a"), 0);
    entries.Append(QList<QByteArray>{"b", "c"});
    entries.Append(QList<QByteArray>{});
    entries.AppendEntries({{"d", true}});
    entries.SetChecked(1, true);
    entries.SetChecked(1, true); // no change, nothing to tell
    entries.RemoveAt(0);
    entries.SetAllChecked(false);
    entries.Clear();
    entries.SetAllChecked(true); // an empty list has no marks to change
    EXPECT_EQ(view.Told,
              QStringList({"insert 0-0", "inserted", "insert 1-2", "inserted", "insert 3-3", "inserted", "marks 1-1",
                           "remove 0", "removed", "marks 0-2", "clear", "cleared"}));

    view.Told.clear();
    EXPECT_THROW(entries.RemoveAt(0), EListError);
    EXPECT_THROW(entries.SetChecked(-1, true), EListError);
    EXPECT_TRUE(view.Told.isEmpty());
    entries.SetObserver(nullptr);
    entries.Append("e");
    EXPECT_TRUE(view.Told.isEmpty());
}

TEST(MediaEntries, LookupsIgnoreLetterCaseAndFollowRemovals)
{
    TMediaEntries entries;
    entries.AppendEntries({{"/m/Song.mp3", false}, {"/m/other.mp3", true}, {"/M/SONG.MP3", false}});
    EXPECT_EQ(entries.IndexOf("/m/song.MP3"), 0);
    entries.RemoveAt(0);
    EXPECT_EQ(entries.IndexOf("/m/song.mp3"), 1);
    EXPECT_EQ(entries.IndexOf("/m/song.mp"), -1);
    EXPECT_EQ(entries.Texts(), QList<QByteArray>({"/m/other.mp3", "/M/SONG.MP3"}));
    TTextPool pool;
    pool.Append("first");
    entries.AppendToPool(pool, 0, true);
    entries.AppendToPool(pool, 1);
    EXPECT_EQ(pool.Texts(), QList<QByteArray>({"first", "/M/SONG.MP3", "/M/SONG.MP3"}));
    EXPECT_EQ(pool.IndexOf("/m/song.mp3"), 1);
    EXPECT_EQ(entries.Entries(), (QList<TListEntry>{{"/m/other.mp3", true}, {"/M/SONG.MP3", false}}));
    EXPECT_THROW(entries.Text(2), EListError);
    EXPECT_THROW(entries.Checked(2), EListError);
}

TEST(MediaEntries, ASnapshotKeepsTheEntriesAsTheyWereWhileTheListChangesOnAnotherThread)
{
    TMediaEntries entries;
    QByteArray file;
    for (int i = 0; i < 20000; ++i)
        file += "/music/track " + QByteArray::number(i) + ".mp3\n";
    QList<QByteArray> lines = file.split('\n'); // texts of one large buffer: shared, not copied
    lines.removeLast();
    entries.Append(lines);
    entries.Append("copied.mp3");
    entries.SetChecked(1, true);
    const uint64_t before = entries.Revision();
    const TListSnapshot snapshot = entries.Snapshot();
    EXPECT_EQ(entries.Revision(), before) << "taking a snapshot changes nothing";

    QList<QByteArray> read;
    std::thread reader([&] { read = snapshot.Texts(); });
    for (int i = 0; i < 1000; ++i)
        entries.Append("more " + QByteArray::number(i)); // into the block the copied text is in
    entries.RemoveAt(0);
    entries.SetChecked(0, false);
    reader.join();
    entries.Clear();

    ASSERT_EQ(snapshot.Count(), 20001);
    EXPECT_EQ(read.size(), 20001);
    EXPECT_EQ(read.first(), "/music/track 0.mp3");
    EXPECT_EQ(snapshot.Text(20000), "copied.mp3");
    EXPECT_TRUE(snapshot.MarkAt(1));
    EXPECT_FALSE(snapshot.MarkAt(0));
    EXPECT_EQ(snapshot.Texts(), lines + QList<QByteArray>{"copied.mp3"});
}

TEST(MediaEntries, TheRevisionGoesUpWithEveryChangeAndOnlyThen)
{
    TMediaEntries entries;
    uint64_t last = entries.Revision();
    const auto changed = [&] {
        const bool up = entries.Revision() > last;
        last = entries.Revision();
        return up;
    };
    entries.Append("a");
    EXPECT_TRUE(changed());
    entries.Append(QList<QByteArray>{"b", "c"});
    EXPECT_TRUE(changed());
    entries.SetChecked(1, true);
    EXPECT_TRUE(changed());
    entries.SetChecked(1, true);
    EXPECT_FALSE(changed()) << "the same mark again";
    entries.SetAllChecked(true);
    EXPECT_TRUE(changed());
    entries.SetAllChecked(true);
    EXPECT_FALSE(changed());
    entries.IndexOf("a");
    entries.Texts();
    EXPECT_FALSE(changed());
    entries.RemoveAt(0);
    EXPECT_TRUE(changed());
    entries.Clear();
    EXPECT_TRUE(changed());
}

} // namespace
