#include "app/ForcedExitSave.h"

#include "window/TFormMediaPlayer.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdlib>

namespace {

TFormMediaPlayer *SavedForm = nullptr;

void SaveAtExit()
{
    const QCoreApplication *application = QCoreApplication::instance();
    // Another thread's exit cannot touch the window's state safely.
    if (SavedForm && application && QThread::currentThread() == application->thread())
        SavedForm->SaveBeforeForcedExit();
}

} // namespace

TForcedExitSave::TForcedExitSave(TFormMediaPlayer &form)
{
    static const bool registered = std::atexit(SaveAtExit) == 0;
    if (registered)
        SavedForm = &form;
}

TForcedExitSave::~TForcedExitSave()
{
    SavedForm = nullptr;
}
