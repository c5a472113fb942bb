// The main window's start-up sequence and its ways to close, with the settings saved on the way.

#include "window/TFormMediaPlayer.h"

#include "errorreport/TOstrelApplication.h"
#include "controls/TOEButton.h"
#include "dialogs/TSilentDialogs.h"
#include "dialogs/TUserDialogs.h"
#include "medialist/CurrentFolder.h"
#include "medialist/MediaTypes.h"
#include "medialist/TRandomGenerator.h"
#include "window/TAutoSaver.h"

#include <QCloseEvent>
#include <QScreen>

void TFormMediaPlayer::StartUp()
{
    FStartingUp = true;
    Guarded([this] { RestoreWindowValues(); });
    Guarded([this] { FormCreate(this); });
    Guarded([this] { RestoreQueue(); });
    Guarded([this] { ResumeWhereStopped(); });
    FStartingUp = false;
    // A sequence cut short by an error still leaves a window whose buttons work.
    BindButtons();
    // What was loaded is what is on disk: nothing for Auto Save to write yet.
    FAutoSaver->Saved();
}

void TFormMediaPlayer::FormCreate(QObject *)
{
    FListExtension = QStringLiteral("oml");
    FStartFolder = CurrentFolder();
    FWorkingFolder = FStartFolder;
    SetListFileName(FStartFolder + QStringLiteral("/default-List.") + FListExtension);
    // The layout keeps the list filling the client area between the button row and the status bar.
    FSaveDialog.Filter = FOpenDialog.Filter;
    FRandomPool.Clear();
    ProgramRandom().SeedFromClock();
    LoadSettings();
    FOpenDialog.DefaultExt = QStringLiteral("mp3");
    FOpenDialog.FileName = AddedFilePatterns(); // "*.mp3;*.wav", then every other known type
    FPlayOrder = 0;
    SetPlaying(false);
    SetStatusText(QStringLiteral("Closed"));
    FHelpFile = FStartFolder + QStringLiteral("/OEMMPLAY.HLP");
    BindButtons();
}

void TFormMediaPlayer::showEvent(QShowEvent *event)
{
    if (!FShownBefore) {
        FShownBefore = true;
        if (const QScreen *display = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(display->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QMainWindow::showEvent(event);
}

void TFormMediaPlayer::closeEvent(QCloseEvent *event)
{
    MyOnClose(event);
}

void TFormMediaPlayer::MyOnClose(QCloseEvent *event)
{
    if (FSearching) {
        event->ignore();
        RunRequest([this] { close(); });
        return;
    }
    if (!FClosing)
        Guarded([this] { MyDoClose(); });
    StorePendingVolume();
    Guarded([this] { StoreResumePoint(); });
    Guarded([this] { StoreQueue(); });
    event->accept();
}

void TFormMediaPlayer::miExitClick(QObject *)
{
    MyDoClose();
}

void TFormMediaPlayer::SaveBeforeForcedExit()
{
    if (FClosing)
        return;
    FClosing = true;
    // The process ends without the window's teardown, which would keep the volume.
    StorePendingVolume();
    Guarded([this] { StoreResumePoint(); });
    Guarded([this] { StoreQueue(); });
    // No box from here to the end of the process.
    static TSilentDialogs nobodyToTell;
    TOstrelApplication::Instance().SetDialogs(nobodyToTell);
    SaveWithoutBoxes();
}

void TFormMediaPlayer::SaveWithoutBoxes()
{
    if (!AutoSave())
        return;
    TUserDialogs &shown = UserDialogs();
    TSilentDialogs nobodyToTell;
    TOstrelApplication::Instance().SetDialogs(nobodyToTell);
    try {
        SaveSettings();
    } catch (...) {
        // No one is there to be told.
    }
    TOstrelApplication::Instance().SetDialogs(shown);
}

void TFormMediaPlayer::MyDoClose()
{
    if (AutoSave()) {
        try {
            SaveSettings();
        } catch (...) {
            UserDialogs().ShowMessage(QStringLiteral("Unknown exception, please contact your local dealer!"));
        }
    }
    FClosing = true;
    close();
}
