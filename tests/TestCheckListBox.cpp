#include "TListMarks.h"
#include "TTempFolder.h"
#include "controls/TMediaListModel.h"
#include "controls/TOECheckListBox.h"
#include "medialist/EListError.h"
#include "medialist/ListFileErrors.h"
#include "medialist/TMediaNavigator.h"
#include "medialist/TRandomGenerator.h"
#include "medialist/TTextFile.h"

#include <QImage>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

QList<bool> Marks(const TOECheckListBox &list)
{
    return ListMarks(list.MediaEntries());
}

TEST(CheckListBox, StepsNeverWrap)
{
    TOECheckListBox list;
    list.StepForward();
    list.StepBack();
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Append({"a", "b", "c"});
    list.StepBack();
    EXPECT_EQ(list.ItemIndex(), -1);
    list.StepForward();
    EXPECT_EQ(list.ItemIndex(), 0);
    list.StepBack();
    EXPECT_EQ(list.ItemIndex(), 0);
    list.SetItemIndex(2);
    list.StepForward();
    EXPECT_EQ(list.ItemIndex(), 2);
    list.StepBack();
    EXPECT_EQ(list.ItemIndex(), 1);
}

TEST(CheckListBox, StepRandomKeepsMarksWhenItRefills)
{
    TOECheckListBox list;
    list.StepRandom(); // empty list: nothing happens, nothing raised
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Append({"a", "b", "c"});
    list.SetChecked(1, true);
    std::set<int> picked;
    for (int i = 0; i < 3; ++i) {
        list.StepRandom();
        picked.insert(list.ItemIndex());
    }
    EXPECT_EQ(picked, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(Marks(list), QList<bool>({true, true, true}));
    EXPECT_TRUE(list.DrawPool().IsEmpty());
    list.StepRandom();
    EXPECT_EQ(Marks(list), QList<bool>({true, true, true}));
    EXPECT_EQ(list.DrawPool().Count(), 2);
    list.ClearList();
    EXPECT_TRUE(list.DrawPool().IsEmpty());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(CheckListBox, StepByOrderFollowsOrder)
{
    TOECheckListBox list;
    list.Append({"a", "b", "c"});
    list.SetItemIndex(1);
    list.StepByOrder();
    EXPECT_EQ(list.ItemIndex(), 1);
    list.SetOrder(loInOrder);
    list.StepByOrder();
    EXPECT_EQ(list.ItemIndex(), 2);
    list.SetOrder(loPostOrder);
    list.StepByOrder();
    EXPECT_EQ(list.ItemIndex(), 1);
    list.SetOrder(TOEListOrder(9)); // any other byte steps forward
    list.StepByOrder();
    EXPECT_EQ(list.ItemIndex(), 2);
    list.SetOrder(loRandom);
    ProgramRandom().SetSeed(1);
    list.StepByOrder();
    EXPECT_EQ(list.ItemIndex(), 0); // first draw below 3 from seed 1 is 0
    EXPECT_TRUE(list.Checked(0));
}

TEST(CheckListBox, WritingOrderChangesNothingElse)
{
    TOECheckListBox list;
    list.Append({"a", "b"});
    list.SetChecked(1, true);
    list.SetItemIndex(1);
    list.SetOrder(loRandom);
    EXPECT_EQ(list.Order(), loRandom);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(Marks(list), QList<bool>({false, true}));
    EXPECT_TRUE(list.DrawPool().IsEmpty());
}

TEST(CheckListBox, AssignListCopiesTextsAndMarksButNotTheSelection)
{
    TOECheckListBox source, target;
    source.Append({"x", "y", "z"});
    source.SetChecked(2, true);
    source.SetItemIndex(1);
    target.Append(QByteArray("old"));
    target.SetOrder(loRandom);
    target.StepRandom();
    target.AssignList(source);
    EXPECT_EQ(target.Texts(), QList<QByteArray>({"x", "y", "z"}));
    EXPECT_EQ(Marks(target), QList<bool>({false, false, true}));
    EXPECT_EQ(target.ItemIndex(), -1);
    EXPECT_TRUE(target.DrawPool().IsEmpty());
}

TEST(CheckListBox, AddNameAppendsOnlyMissingNames)
{
    TOECheckListBox list;
    EXPECT_EQ(list.AddName("a"), -1);
    EXPECT_EQ(list.AddName("b"), -1);
    EXPECT_EQ(list.AddName("A"), 0);
    EXPECT_EQ(list.Texts(), QList<QByteArray>({"a", "b"}));
    EXPECT_EQ(list.AddNames({}), -1);
    EXPECT_EQ(list.AddNames({"B", "c", "c"}), 3);
    EXPECT_EQ(list.Texts(), QList<QByteArray>({"a", "b", "c"}));
}

TEST(CheckListBox, OutOfRangeAccessRaisesTheListIndexError)
{
    TOECheckListBox list;
    list.Append("a");
    try {
        list.Text(-1);
        FAIL() << "no error";
    } catch (const EListError &error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
    }
    EXPECT_THROW(list.Checked(1), EListError);
    EXPECT_THROW(list.SetChecked(5, true), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(CheckListBox, LookupIgnoresCaseAndTakesTheFirstMatch)
{
    TOECheckListBox list;
    const QByteArray umlautUpper = "/Musik/\xC3\x84RGER.mp3"; // Ä
    const QByteArray umlautLower = "/musik/\xC3\xA4rger.MP3"; // ä
    const QByteArray invalid = "/x/\xFF\xFE.mp3";
    list.Append({"b", "/A/song.mp3", umlautUpper, "", invalid, "/a/SONG.mp3"});
    EXPECT_EQ(list.IndexOf("/a/song.MP3"), 1);
    EXPECT_EQ(list.IndexOf(umlautLower), 2);
    EXPECT_EQ(list.IndexOf(""), 3);
    EXPECT_EQ(list.IndexOf(invalid), 4);
    EXPECT_EQ(list.IndexOf("/x/\xFF\xFF.mp3"), -1);
    EXPECT_EQ(list.IndexOf("/A/song.mp"), -1);
    list.Delete(1);
    EXPECT_EQ(list.IndexOf("/a/song.mp3"), 4);
    EXPECT_EQ(list.IndexOf("B"), 0);
}

TEST(CheckListBox, InvalidAndHugeTextsDisplayWithoutHarm)
{
    TOECheckListBox list;
    list.resize(300, 200);
    const QByteArray huge(64 * 1024, 'x');
    list.Append({"\xC3\x28 broken", "", huge, QByteArray("nul\0inside", 10)});
    list.show();
    QImage shot = list.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_EQ(list.Text(2).size(), 64 * 1024);
    EXPECT_EQ(list.Text(3).size(), 10);
    EXPECT_EQ(list.model()->index(0, 0).data().toString(), QString::fromUtf8("\xEF\xBF\xBD( broken"));
    EXPECT_EQ(list.sizeHintForRow(0), 13);
}

TEST(CheckListBox, AnEntryOfAHundredMegabytesShowsItsBeginningAndStaysWhole)
{
    TOECheckListBox list;
    list.resize(300, 200);
    QByteArray huge(100 * 1024 * 1024, 'x');
    // A two-byte character straddles the cut: it is left out, not shown broken.
    huge[TMediaListModel::DisplayedBytes - 1] = '\xC3';
    huge[TMediaListModel::DisplayedBytes] = '\xA4';
    list.Append(QList<QByteArray>{huge});
    list.show();
    EXPECT_FALSE(list.grab().toImage().isNull());
    const QString shown = list.model()->index(0, 0).data().toString();
    EXPECT_EQ(shown, QString(TMediaListModel::DisplayedBytes - 1, 'x') + QChar(0x2026));
    EXPECT_EQ(list.Text(0), huge);
    // Up to the limit the text is shown whole.
    EXPECT_EQ(TMediaListModel::DisplayText(QByteArray(TMediaListModel::DisplayedBytes, 'y')),
              QString(TMediaListModel::DisplayedBytes, 'y'));
}

class TShownList : public testing::Test {
protected:
    void SetUp() override
    {
        list.resize(300, 200);
        list.Append({"first", "second", "third"});
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    QPoint CheckBoxOf(int row) const
    {
        const QRect item = list.visualRect(list.model()->index(row, 0));
        return QPoint(item.left() + 8, item.center().y());
    }

    TOECheckListBox list;
};

TEST_F(TShownList, SpaceTogglesTheCurrentEntrysMarkOnly)
{
    list.SetItemIndex(1);
    QTest::keyClick(list.viewport(), Qt::Key_Space);
    EXPECT_EQ(Marks(list), QList<bool>({false, true, false}));
    EXPECT_EQ(list.ItemIndex(), 1);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(Marks(list), QList<bool>({false, false, false}));
    EXPECT_EQ(list.ItemIndex(), 1);
}

TEST_F(TShownList, TheCurrentEntryComesIntoViewByCodeAndByKeyOnceTheLoopTurns)
{
    QList<QByteArray> many;
    for (int i = 0; i < 1000; ++i)
        many << "entry " + QByteArray::number(i);
    list.Append(many);
    const auto shown = [this](int row) {
        return list.viewport()->rect().contains(list.visualRect(list.model()->index(row, 0)));
    };
    for (int row : {900, 3, 500, 1002}) // several moves before a turn: only the last counts
        list.SetItemIndex(row);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown(1002));
    EXPECT_FALSE(shown(0));
    QTest::keyClick(&list, Qt::Key_Home);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown(0));
    QTest::keyClick(&list, Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.ItemIndex(), 1002);
    EXPECT_TRUE(shown(1002));
}

TEST_F(TShownList, ClickOnTheCheckBoxTogglesTheMarkOnly)
{
    list.SetItemIndex(0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxOf(2));
    EXPECT_EQ(Marks(list), QList<bool>({false, false, true}));
    EXPECT_EQ(list.ItemIndex(), 0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxOf(2));
    EXPECT_EQ(Marks(list), QList<bool>({false, false, false}));
    // A click on the text selects the entry and leaves its mark alone.
    const QRect item = list.visualRect(list.model()->index(1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(item.left() + 60, item.center().y()));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(Marks(list), QList<bool>({false, false, false}));
}

// The rows and roles of each dataChanged a view of the list is sent.
QStringList Notices(const QSignalSpy &spy)
{
    QStringList notices;
    for (const QList<QVariant> &notice : spy) {
        QStringList roles;
        for (int role : notice.at(2).value<QList<int>>())
            roles << QString::number(role);
        notices << QString("%1-%2 [%3]")
                       .arg(notice.at(0).toModelIndex().row())
                       .arg(notice.at(1).toModelIndex().row())
                       .arg(roles.join(','));
    }
    return notices;
}

const QString CheckRole = QString::number(Qt::CheckStateRole);

TEST_F(TShownList, AMarkChangeReachesEveryViewAsDataChangedOfExactlyItsRow)
{
    QListView other; // a second view of the same entries, as an accessibility client sees them
    other.setModel(list.model());
    QSignalSpy notices(list.model(), &QAbstractItemModel::dataChanged);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxOf(1));
    list.SetChecked(2, true);
    list.SetChecked(2, true); // no change, no notice
    EXPECT_EQ(Notices(notices), QStringList({"1-1 [" + CheckRole + "]", "2-2 [" + CheckRole + "]"}));
    EXPECT_EQ(other.model()->index(1, 0).data(Qt::CheckStateRole), Qt::Checked);

    notices.clear();
    list.SetAllChecked(false);
    list.SetAllChecked(false);
    EXPECT_EQ(Notices(notices), QStringList({"1-2 [" + CheckRole + "]"}));
}

TEST(CheckListBox, ANewRandomCycleOfAHundredThousandMarksIsAHandfulOfNotices)
{
    TOECheckListBox list;
    QList<TListEntry> played;
    for (int i = 0; i < 100000; ++i)
        played.append({"/m/" + QByteArray::number(i) + ".mp3", true});
    list.AppendEntries(played);
    QSignalSpy notices(list.model(), &QAbstractItemModel::dataChanged);
    TTextPool drained;
    TRandomGenerator random;
    random.SetSeed(7);
    const QByteArray drawn = TMediaNavigator(list.MediaEntries(), list).RandomEntry(drained, random);
    EXPECT_LE(notices.size(), 3);
    ASSERT_FALSE(notices.isEmpty());
    EXPECT_EQ(Notices(notices).first(), "0-99999 [" + CheckRole + "]");
    EXPECT_EQ(Marks(list).count(true), 1);
    EXPECT_TRUE(list.Checked(list.IndexOf(drawn)));
}

TEST(CheckListBoxFiles, OmlRoundTripKeepsTextsAndMarksAndSelectsNothing)
{
    TTempFolder folder;
    TOECheckListBox list;
    const QList<TListEntry> entries = {{"one", true}, {"two", false}, {"three", true}};
    list.AppendEntries(entries);
    list.SetItemIndex(1);
    list.SaveListFile(folder.File("list.oml"));
    list.LoadListFile(folder.File("list.oml"));
    EXPECT_EQ(list.Entries(), entries);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(CheckListBoxFiles, CountPrefixedFormRoundTripsAndStopsAtTheEnd)
{
    TTempFolder folder;
    TOECheckListBox list;
    list.AppendEntries({{"a", true}, {"b", false}});
    TTextFile out = TTextFile::ForWriting(folder.File("counted.txt"));
    out.WriteLine("header");
    list.WriteListText(out);
    EXPECT_EQ(out.Bytes(), QByteArray("header\r\n2\r\n1\r\na\r\n0\r\nb\r\n"));

    TOECheckListBox other;
    TTextFile in = TTextFile::FromBytes("  \r\n 2 trailing words\r\n1\r\na\r\n0\r\nb\r\nrest");
    other.ReadListText(in);
    EXPECT_EQ(other.Entries(), (QList<TListEntry>{{"a", true}, {"b", false}}));
    EXPECT_EQ(in.ReadLine(), "rest");

    TTextFile huge = TTextFile::FromBytes("2147483647\r\n1\r\nonly\r\n");
    other.ReadListText(huge);
    EXPECT_EQ(other.Entries(), (QList<TListEntry>{{"only", true}}));
    TTextFile negative = TTextFile::FromBytes("-5\r\n1\r\nx\r\n");
    other.ReadListText(negative);
    EXPECT_EQ(other.Count(), 0);
    TTextFile empty = TTextFile::FromBytes("");
    other.ReadListText(empty);
    EXPECT_EQ(other.Count(), 0);
    for (const QByteArray bad : {"abc\r\n", "99999999999\r\n", "1x\r\n"}) {
        TTextFile file = TTextFile::FromBytes(bad);
        try {
            other.ReadListText(file);
            ADD_FAILURE() << "no error for " << bad.constData();
        } catch (const EInOutError &error) {
            EXPECT_EQ(error.ErrorCode(), 106);
            EXPECT_STREQ(error.what(), "Invalid numeric input");
        }
    }
}

} // namespace
