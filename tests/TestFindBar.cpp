// The find bar through the real window on the scripted back end: what the list shows while
// it has text, what the keys do there, and that the list itself, its marks and its file stay
// whole.

#include "TScriptedFormFixture.h"
#include "controls/TFindBar.h"
#include "controls/TOEButton.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

namespace {

class TFindBarTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        Fill({"/m/Alpha/one.mp3", "/m/Beyonc\xC3\xA9/halo.mp3", "/m/beta/two\xFF.mp3", "/m/Alpha/three.mp3",
              "/m/gamma.mp3", "/m/beta/four.mp3"});
        form->lbFiles->SetChecked(4, true);
        form->lbFiles->SetItemIndex(4);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->lbFiles->setFocus();
    }
    QLineEdit *Field() const { return form->FFindBar->Field(); }
    void Type(const QString &text)
    {
        QTest::keyClicks(Field(), text);
        QTRY_VERIFY(!form->lbFiles->Finding());
    }
    QStringList ShownTexts() const
    {
        QStringList texts;
        for (int row = 0; row < form->lbFiles->model()->rowCount(); ++row)
            texts << form->lbFiles->model()->index(row, 0).data().toString();
        return texts;
    }
    bool CurrentInView() const
    {
        const QRect row = form->lbFiles->visualRect(form->lbFiles->currentIndex());
        return row.isValid() && form->lbFiles->viewport()->rect().intersects(row);
    }
};

TEST_F(TFindBarTest, TypingShowsOnlyTheMatchesAndTheKeysActOnThemAsOnTheList)
{
    QTest::keyClick(form->lbFiles, Qt::Key_Slash, Qt::NoModifier);
    ASSERT_TRUE(form->FFindBar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Field());
    EXPECT_EQ(Field()->accessibleName(), "Find");

    Type("BETA");
    EXPECT_EQ(ShownTexts(), QStringList({"/m/beta/two\uFFFD.mp3", "/m/beta/four.mp3"}));
    EXPECT_EQ(form->FFindBar->CountText(), "2 of 6");
    // Typing changes neither the current entry nor the marks, and nothing plays.
    EXPECT_EQ(form->lbFiles->ItemIndex(), 4);
    EXPECT_EQ(Marks(), QList<bool>({false, false, false, false, true, false}));
    EXPECT_TRUE(device.OpenFile.isEmpty());

    // From the hidden current entry, Down goes to the next match and Up to the one before.
    QTest::keyClick(Field(), Qt::Key_Down);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 5);
    QTest::keyClick(Field(), Qt::Key_Up);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    QTest::keyClick(Field(), Qt::Key_Return);
    EXPECT_EQ(device.OpenFile, QByteArray("/m/beta/two\xFF.mp3")); // the entry's own bytes
    EXPECT_EQ(form->StatusText(), "Playing");
    EXPECT_EQ(Marks(), QList<bool>({false, false, true, false, true, false}));

    // Space in the list toggles the shown selection; a save writes every entry.
    form->lbFiles->setFocus();
    QTest::keyClick(form->lbFiles, Qt::Key_Space);
    form->SaveMediaList();
    EXPECT_EQ(folder.ReadFile("default-List.oml"),
              QByteArray("0\r\n/m/Alpha/one.mp3\r\n0\r\n/m/Beyonc\xC3\xA9/halo.mp3\r\n0\r\n/m/beta/two\xFF.mp3\r\n"
                         "0\r\n/m/Alpha/three.mp3\r\n1\r\n/m/gamma.mp3\r\n0\r\n/m/beta/four.mp3\r\n"));

    // The whole list stays the list: Next follows it, not the matches.
    form->sbNext->OnClick(form->sbNext);
    EXPECT_EQ(device.OpenFile, QByteArray("/m/Alpha/three.mp3"));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 3);
    EXPECT_EQ(ShownTexts().size(), 2);

    // Esc shows the whole list again, with the current entry in view.
    QTest::keyClick(Field(), Qt::Key_Escape);
    EXPECT_FALSE(form->FFindBar->isVisible());
    EXPECT_EQ(ShownTexts().size(), 6);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 3);
    QTRY_VERIFY(CurrentInView());
}

TEST_F(TFindBarTest, RemoveTakesTheShownSelectionAndGoToPlayingEntryClosesTheBarThatHidesIt)
{
    form->lbFiles->SetItemIndex(1);
    form->sbPlay->OnClick(form->sbPlay);
    ASSERT_EQ(device.OpenFile, QByteArray("/m/Beyonc\xC3\xA9/halo.mp3"));
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
    Type("alpha");
    QTest::keyClick(Field(), Qt::Key_Down); // from Beyoncé, the next match: Alpha/three
    form->miRemove->trigger();
    EXPECT_EQ(form->lbFiles->Count(), 5);
    EXPECT_EQ(form->lbFiles->IndexOf("/m/Alpha/three.mp3"), -1);
    EXPECT_EQ(ShownTexts(), QStringList({"/m/Alpha/one.mp3"}));
    EXPECT_EQ(form->lbFiles->ItemIndex(), 0); // the match that took its place
    EXPECT_EQ(form->FFindBar->CountText(), "1 of 5");

    // The matches follow what is added, and Remove All.
    form->AddEntries({"/n/alphaville.ogg", "/n/omega.ogg"});
    QTRY_COMPARE(ShownTexts(), QStringList({"/m/Alpha/one.mp3", "/n/alphaville.ogg"}));

    form->miGoToPlayingEntry->trigger();
    EXPECT_FALSE(form->FFindBar->isVisible());
    EXPECT_EQ(form->lbFiles->ItemIndex(), 1);
    QTRY_VERIFY(CurrentInView());

    form->miFind->trigger();
    Type("omega");
    form->miRemoveAll->trigger();
    EXPECT_EQ(ShownTexts(), QStringList());
    EXPECT_EQ(form->FFindBar->CountText(), "0 of 0");
}

} // namespace
