// The playback keys of the main window reach the buttons' handlers as a click does, and only
// while nothing else takes the keys.

#include "TFormFixture.h"
#include "TScriptedBackEnd.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"

#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

// Writes down each button handler that runs, with its sender, and does nothing more.
class TRecordingForm : public TFormMediaPlayer {
public:
    using TFormMediaPlayer::TFormMediaPlayer;
    void sbPreviousClick(QObject *sender) override { Record("Previous", sender); }
    void sbPlayClick(QObject *sender) override { Record("Play", sender); }
    void sbPauseClick(QObject *sender) override { Record("Pause", sender); }
    void sbStopClick(QObject *sender) override { Record("Stop", sender); }
    void sbNextClick(QObject *sender) override { Record("Next", sender); }
    void miExitClick(QObject *sender) override { Record("Exit", sender); }
    QStringList Log;

private:
    void Record(const char *handler, QObject *sender) { Log << QLatin1String(handler) + ' ' + sender->objectName(); }
};

class TPlaybackKeysTest : public TFormFixture {
protected:
    void SetUp() override
    {
        TFormFixture::SetUp();
        form = CreateFormMediaPlayer<TRecordingForm>(std::make_unique<TScriptedBackEnd>(device));
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->lbFiles->setFocus();
    }
    QStringList Pressed(QWidget *where, QKeyCombination key)
    {
        form->Log.clear();
        // With its text as a keyboard gives it: none for the media keys and the control keys.
        const bool letter = key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z && key.keyboardModifiers() == Qt::NoModifier;
        const QString text = letter ? QString(QChar(key.key())).toLower() : key.key() == Qt::Key_Space ? " " : "";
        QTest::sendKeyEvent(QTest::Click, where, key.key(), text, key.keyboardModifiers());
        return form->Log;
    }

    TScriptedBackEnd::TState device;
    std::unique_ptr<TRecordingForm> form;
};

TEST_F(TPlaybackKeysTest, EachKeyRunsItsButtonsHandlerAsAClickDoes)
{
    const QList<QPair<QKeyCombination, QString>> keys = {
        {Qt::Key_Z, "Previous sbPrevious"},
        {Qt::Key_X, "Play sbPlay"},
        {Qt::Key_C, "Pause sbPause"},
        {Qt::Key_V, "Stop sbStop"},
        {Qt::Key_B, "Next sbNext"},
        {Qt::Key_MediaPrevious, "Previous sbPrevious"},
        {Qt::Key_MediaPlay, "Play sbPlay"},
        {Qt::Key_MediaPause, "Pause sbPause"},
        {Qt::Key_MediaStop, "Stop sbStop"},
        {Qt::Key_MediaNext, "Next sbNext"},
        {Qt::Key_MediaTogglePlayPause, "Play sbPlay"}, // nothing plays: the toggle plays
        {Qt::CTRL | Qt::Key_Q, "Exit miExit"},
    };
    for (const auto &[key, handler] : keys)
        EXPECT_EQ(Pressed(form->lbFiles, key), QStringList({handler})) << handler.toStdString();
    // Space and Return keep their meaning in the list.
    form->lbFiles->Append(QList<QByteArray>{"/m/a.mp3"});
    form->lbFiles->SetItemIndex(0);
    EXPECT_EQ(Pressed(form->lbFiles, Qt::Key_Space), QStringList());
    EXPECT_TRUE(form->lbFiles->Checked(0));
    EXPECT_EQ(Pressed(form->lbFiles, Qt::Key_Return), QStringList({"Play lbFiles"}));
}

TEST_F(TPlaybackKeysTest, ATextFieldKeepsItsLettersAndABoxItsKeys)
{
    auto *field = new QLineEdit(form.get());
    field->show();
    field->setFocus();
    EXPECT_EQ(Pressed(field, Qt::Key_B), QStringList());
    EXPECT_EQ(field->text(), "b");
    QStringList underTheBox;
    QTimer::singleShot(0, form.get(), [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        underTheBox = Pressed(box, Qt::Key_X) + Pressed(form->lbFiles, Qt::Key_X);
        box->accept();
    });
    QMessageBox box(QMessageBox::NoIcon, "Ostrel Media Player", "covering", QMessageBox::Ok, form.get());
    box.exec();
    EXPECT_EQ(underTheBox, QStringList());
    delete field;
}

using TExitKeyTest = TFormFixture;

TEST_F(TExitKeyTest, CtrlQEndsThePlayerWithAutoSavesSave)
{
    TScriptedBackEnd::TState device;
    auto form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(device));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->lbFiles->Append(QList<QByteArray>{"/m/kept.mp3"});
    QTest::sendKeyEvent(QTest::Click, form->lbFiles, Qt::Key_Q, QString(), Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(folder.ReadFile("default-List.oml"), "0\r\n/m/kept.mp3\r\n");
}

} // namespace
