#include "TScriptedFormFixture.h"

#include "controls/TOECheckListBox.h"

#include <QAction>
#include <QDialog>
#include <QTimer>
#include <QTest>
#include <algorithm>

namespace {

// A list of five over files of a folder (one of them gone), with marks, the current entry and
// a random pool of the entries not yet drawn.
class TListArrangementTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        for (const char *name : {"Track 10.flac", "track 2.flac", "TRACK 2.flac", "\xC3\x89lan.flac"})
            folder.Touch(name);
        const QList<QByteArray> names{"Track 10.flac", "track 2.flac", "gone.flac", "TRACK 2.flac", "\xC3\x89lan.flac"};
        for (const QByteArray &name : names)
            form->AddEntries({Path(name)});
        for (const int row : {0, 2, 3}) {
            form->lbFiles->SetChecked(row, true);
            form->RandomPool().RemoveFirst(form->lbFiles->Text(row));
        }
        form->lbFiles->SetItemIndex(1);
    }

    QByteArray Path(const QByteArray &name) const { return QFile::encodeName(folder.path()) + '/' + name; }

    struct TState {
        QList<QByteArray> Names;
        QList<bool> Marks;
        QByteArray Current; // its name; empty for none
        QList<QByteArray> Pool; // names, sorted; the pool takes texts equal ignoring case for one another

        bool operator==(const TState &) const = default;
        friend void PrintTo(const TState &state, std::ostream *out)
        {
            for (int i = 0; i < state.Names.size(); ++i)
                *out << (state.Marks.value(i) ? "[x] " : "[ ] ") << state.Names[i].toStdString() << ", ";
            *out << "current " << state.Current.toStdString() << ", pool";
            for (const QByteArray &name : state.Pool)
                *out << ' ' << name.toStdString();
        }
    };
    TState State() const
    {
        const auto name = [](const QByteArray &path) { return path.mid(path.lastIndexOf('/') + 1); };
        TState state;
        for (int row = 0; row < form->lbFiles->Count(); ++row)
            state.Names << name(form->lbFiles->Text(row));
        state.Marks = Marks();
        const int current = form->lbFiles->ItemIndex();
        state.Current = current >= 0 ? name(form->lbFiles->Text(current)) : QByteArray();
        for (const QByteArray &text : form->RandomPool().Texts())
            state.Pool << name(text).toLower();
        std::sort(state.Pool.begin(), state.Pool.end());
        return state;
    }
    // The command as the user gives it, and its result, which may come in on a later turn.
    void Trigger(QAction *item)
    {
        item->trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form->ArrangingList(); }, 5000));
    }
};

TEST_F(TListArrangementTest, EachCommandKeepsMarksCurrentAndPoolAndUndoAndRedoGoBackAndForth)
{
    const QByteArray t10 = "Track 10.flac", t2 = "track 2.flac", gone = "gone.flac", T2 = "TRACK 2.flac",
                     elan = "\xC3\x89lan.flac", t2l = t2;
    const TState before = State();
    ASSERT_EQ(before, (TState{{t10, t2, gone, T2, elan}, {true, false, true, true, false}, t2, {t2l, elan}}));
    struct TCase {
        QAction *TFormMediaPlayer::*Item;
        TState After;
        QByteArray CurrentAfterUndo; // the entry that was current when Undo came
    };
    const TCase cases[] = {
        // Accents and case ignored, numbers by value, ties in list order.
        {&TFormMediaPlayer::miSortByFileName,
         {{elan, gone, t2, T2, t10}, {false, true, false, true, true}, t2, {t2l, elan}}, t2},
        {&TFormMediaPlayer::miSortByPath, {{elan, gone, t2, T2, t10}, {false, true, false, true, true}, t2, {t2l, elan}}, t2},
        // No entry has tags: each sorts by its file name.
        {&TFormMediaPlayer::miSortByTitle,
         {{elan, gone, t2, T2, t10}, {false, true, false, true, true}, t2, {t2l, elan}}, t2},
        {&TFormMediaPlayer::miReverseOrder,
         {{elan, T2, gone, t2, t10}, {false, true, true, false, true}, t2, {t2l, elan}}, t2},
        // The first of the equals stays, marked as one of them was, and is drawn no more.
        {&TFormMediaPlayer::miRemoveDuplicates, {{t10, t2, gone, elan}, {true, true, true, false}, t2, {elan}}, t2},
        {&TFormMediaPlayer::miRemoveMissingFiles, {{t10, t2, T2, elan}, {true, false, true, false}, t2, {t2l, elan}}, t2},
        {&TFormMediaPlayer::miMoveUp, {{t2, t10, gone, T2, elan}, {false, true, true, true, false}, t2, {t2l, elan}}, t2},
        {&TFormMediaPlayer::miMoveDown, {{t10, gone, t2, T2, elan}, {true, true, false, true, false}, t2, {t2l, elan}}, t2},
        {&TFormMediaPlayer::miRemove, {{t10, gone, T2, elan}, {true, true, true, false}, gone, {elan}}, gone},
        {&TFormMediaPlayer::miRemoveAll, {{}, {}, {}, {}}, {}},
    };
    for (const TCase &test : cases) {
        QAction *item = (*form).*test.Item;
        SCOPED_TRACE(item->objectName().toStdString());
        Trigger(item);
        const TState after = State();
        EXPECT_EQ(after.Names, test.After.Names);
        EXPECT_EQ(after.Marks, test.After.Marks);
        EXPECT_EQ(after.Current, test.After.Current);
        EXPECT_EQ(after.Pool, test.After.Pool);

        Trigger(form->miUndo);
        TState undone = before;
        undone.Current = test.CurrentAfterUndo;
        EXPECT_EQ(State(), undone);
        Trigger(form->miRedo);
        EXPECT_EQ(State().Names, test.After.Names);
        EXPECT_EQ(State().Marks, test.After.Marks);
        EXPECT_EQ(State().Pool, test.After.Pool);
        Trigger(form->miUndo);
        form->lbFiles->SetItemIndex(1);
        EXPECT_EQ(State(), before);
    }
}

TEST_F(TListArrangementTest, MarksSetByPlayingAreNotUndoneAndMarksSetByTheCommandAre)
{
    Trigger(form->miRemoveDuplicates); // "track 2" marked for its equal
    Trigger(form->miSortByFileName);
    const int elan = form->lbFiles->IndexOf(Path("\xC3\x89lan.flac"));
    form->lbFiles->SetChecked(elan, true); // played since
    Trigger(form->miUndo);
    Trigger(form->miUndo);
    EXPECT_EQ(Marks(), (QList<bool>{true, false, true, true, true}));
    EXPECT_EQ(form->lbFiles->Count(), 5);
}

TEST_F(TListArrangementTest, NewAndLoadEmptyTheHistoryAndANewChangeEmptiesRedo)
{
    Trigger(form->miSortByFileName);
    Trigger(form->miUndo);
    ASSERT_TRUE(form->ListHistory().CanRedo());
    Trigger(form->miReverseOrder);
    EXPECT_FALSE(form->ListHistory().CanRedo());
    Trigger(form->NewMedia1);
    EXPECT_FALSE(form->ListHistory().CanUndo());
    Trigger(form->miUndo); // nothing to take back: the list stays empty
    EXPECT_EQ(form->lbFiles->Count(), 0);
}

TEST_F(TListArrangementTest, UndoUnderAnOpenBoxDoesNothing)
{
    Trigger(form->miRemoveAll);
    QDialog box(form.get());
    QTimer::singleShot(0, &box, [&] {
        form->miUndo->trigger();
        box.accept();
    });
    box.exec();
    EXPECT_EQ(form->lbFiles->Count(), 0);
    Trigger(form->miUndo);
    EXPECT_EQ(form->lbFiles->Count(), 5);
}

TEST_F(TListArrangementTest, ASearchIsOneStepAndASortWhileTheListChangesSortsTheListAsItIsThen)
{
    form->miSortByFileName->trigger(); // worked out beside the window ...
    form->AddEntries({Path("a.flac")}); // ... while the list changes
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->ArrangingList(); }, 5000));
    EXPECT_EQ(form->lbFiles->Text(0), Path("a.flac"));
    EXPECT_EQ(form->lbFiles->Count(), 6);
}

} // namespace

namespace {

QString Shown(const TOECheckListBox &list, int row)
{
    return list.model()->index(row, 0).data(Qt::DisplayRole).toString();
}

TEST_F(TListArrangementTest, QueuedRowsShowTheirPlacePlayNextAndAreKeptForTheirListBetweenRuns)
{
    TOECheckListBox &list = *form->lbFiles;
    list.SetItemIndex(-1);
    Trigger(form->miQueue); // nothing selected: nothing queued
    EXPECT_TRUE(list.MediaEntries().Queue().Empty());
    list.SetItemIndex(4);
    Trigger(form->miQueue);
    list.SetItemIndex(2);
    Trigger(form->miQueue);
    EXPECT_EQ(Shown(list, 4), "[1] " + QString::fromUtf8(Path("\xC3\x89lan.flac")));
    EXPECT_EQ(Shown(list, 2), "[2] " + QString::fromUtf8(Path("gone.flac")));
    EXPECT_EQ(Shown(list, 0), QString::fromUtf8(Path("Track 10.flac")));

    list.SetItemIndex(0);
    EXPECT_EQ(form->ChooseNext(), Path("\xC3\x89lan.flac"));
    EXPECT_EQ(Shown(list, 2), "[1] " + QString::fromUtf8(Path("gone.flac")));
    list.SetItemIndex(1);
    Trigger(form->miQueue);
    Trigger(form->miSortByFileName); // the queue follows the entries to their new rows
    EXPECT_EQ(Shown(list, 1), "[1] " + QString::fromUtf8(Path("gone.flac")));
    EXPECT_EQ(Shown(list, 2), "[2] " + QString::fromUtf8(Path("track 2.flac")));

    form->SetListFileName(folder.File("mine.oml"));
    form->close(); // Auto Save writes the list; the queue is kept for it
    form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
    EXPECT_EQ(form->lbFiles->MediaEntries().QueuedRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(form->ChooseNext(), Path("gone.flac"));

    // Another list does not take it up.
    form->lbFiles->MediaEntries().ToggleQueued(0);
    form->SetListFileName(folder.File("other.oml"));
    form->close();
    form->SetListFileName(folder.File("mine.oml"));
    form->SaveSettings();
    form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
    EXPECT_TRUE(form->lbFiles->MediaEntries().Queue().Empty());
}

} // namespace

namespace {

TEST_F(TListArrangementTest, WhileFindShowsMatchesASortShowsTheSameMatchesInTheirNewOrder)
{
    TOECheckListBox &list = *form->lbFiles;
    list.SetFindQuery(QStringLiteral("track"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list.Finding(); }, 5000));
    ASSERT_EQ(list.ShownCount(), 3);
    Trigger(form->miReverseOrder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list.Finding(); }, 5000));
    QList<QByteArray> shown;
    for (int row = 0; row < list.ShownCount(); ++row)
        shown << list.Text(list.EntryAtRow(row));
    EXPECT_EQ(shown, (QList<QByteArray>{Path("TRACK 2.flac"), Path("track 2.flac"), Path("Track 10.flac")}));
    EXPECT_EQ(list.Text(list.ItemIndex()), Path("track 2.flac"));
    EXPECT_EQ(list.Count(), 5);
}

} // namespace

namespace {

TEST_F(TListArrangementTest, TheKeysOfTheNewCommandsWorkFromTheList)
{
    TOECheckListBox &list = *form->lbFiles;
    form->show(); // shortcuts reach a window that is shown and active
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    list.setFocus();
    list.SetItemIndex(1);
    QTest::keyClick(&list, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(list.Text(2), Path("track 2.flac"));
    EXPECT_EQ(list.ItemIndex(), 2);
    QTest::keyClick(&list, Qt::Key_Q);
    EXPECT_EQ(list.MediaEntries().QueuePlace(2), 1);
    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(list.Text(1), Path("track 2.flac"));
    EXPECT_EQ(list.MediaEntries().QueuePlace(1), 1) << "the queue is no change of the list's entries";
    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(list.Text(2), Path("track 2.flac"));
    QTest::keyClick(&list, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(list.Text(1), Path("track 2.flac"));
}

} // namespace
