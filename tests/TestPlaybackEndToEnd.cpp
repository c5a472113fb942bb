#include "TFormFixture.h"

#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

using TEndToEndTest = TFormFixture;

TEST_F(TEndToEndTest, ThreeWavesPlayInOrderAndAllGetTheirMarks)
{
    QList<QByteArray> entries;
    for (const char *name : {"one.wav", "two.wav", "three.wav"}) {
        const QString copy = folder.path() + "/" + name;
        ASSERT_TRUE(QFile::copy(QStringLiteral(TEST_DATA "/tone.wav"), copy));
        entries << QFile::encodeName(copy);
    }
    auto form = CreateFormMediaPlayer();
    form->lbFiles->Append(entries);
    form->RandomPool().Append(entries);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->lbFiles->SetItemIndex(0);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form->sbPlay, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(form->StatusText(), "Playing");
    const auto allMarked = [&] {
        return form->lbFiles->Checked(0) && form->lbFiles->Checked(1) && form->lbFiles->Checked(2);
    };
    EXPECT_TRUE(QTest::qWaitFor(allMarked, 6000)) << clock.elapsed() << " ms";
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    QTest::qWait(1100);
    const QStringList modeNames = {"Not ready", "Stopped", "Playing", "Recording", "Seeking", "Paused", "Open"};
    EXPECT_TRUE(modeNames.contains(form->StatusText())) << form->StatusText().toStdString();
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_EQ(dialogs.Messages, QStringList({"File not found"})); // from start-up only
}

} // namespace
