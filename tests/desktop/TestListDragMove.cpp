// A row dragged within the list with the real pointer on the test's own X server.

#include "TDesktopFixture.h"
#include "controls/TOECheckListBox.h"

#include <QAction>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

using TListDragMoveTest = TShownFormFixture;

// The pointer's path as one run of xdotool, started and not waited on: the drag's own event
// loop runs until the button is let go.
void DragAlong(const QPoint &from, const QPoint &to, QProcess &tool)
{
    QStringList arguments{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"};
    for (int step = 1; step <= 10; ++step) {
        const QPoint at = from + (to - from) * step / 10;
        arguments << "sleep" << "0.03" << "mousemove" << QString::number(at.x()) << QString::number(at.y());
    }
    arguments << "sleep" << "0.1" << "mouseup" << "1";
    tool.start(QStringLiteral("xdotool"), arguments);
}

TEST_F(TListDragMoveTest, ARowDroppedBetweenTwoOthersMovesThereWithItsMarkAndUndoPutsItBack)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    TOECheckListBox &list = *form->lbFiles;
    form->AddEntries({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
    list.SetChecked(0, true);
    const QRect first = list.visualRect(list.model()->index(0, 0));
    const QRect third = list.visualRect(list.model()->index(2, 0));
    const QPoint from = list.viewport()->mapToGlobal(QPoint(first.left() + 60, first.center().y()));
    // The lower half of the third row: the drop line stands below it.
    const QPoint to = list.viewport()->mapToGlobal(QPoint(third.left() + 60, third.bottom() - 2));
    QProcess tool;
    DragAlong(from, to, tool);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.Text(2) == "/m/a.mp3"; }, 5000)) << list.Texts().join(' ').constData();
    EXPECT_TRUE(QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 5000));
    EXPECT_EQ(list.Texts(), (QList<QByteArray>{"/m/b.mp3", "/m/c.mp3", "/m/a.mp3", "/m/d.mp3"}));
    EXPECT_TRUE(list.Checked(2));
    EXPECT_EQ(list.ItemIndex(), 2);
    form->miUndo->trigger();
    EXPECT_EQ(list.Texts(), (QList<QByteArray>{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"}));
    EXPECT_TRUE(list.Checked(0));
}

} // namespace
