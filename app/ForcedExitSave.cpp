#include "app/ForcedExitSave.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdlib>
#include <utility>

namespace {

std::function<void()> SaveBeforeExit;

void SaveAtExit()
{
    const QCoreApplication *application = QCoreApplication::instance();
    // Another thread's exit cannot touch the window's state safely.
    if (SaveBeforeExit && application && QThread::currentThread() == application->thread())
        std::exchange(SaveBeforeExit, nullptr)();
}

} // namespace

TForcedExitSave::TForcedExitSave(std::function<void()> save)
{
    static const bool registered = std::atexit(SaveAtExit) == 0;
    if (registered)
        SaveBeforeExit = std::move(save);
}

TForcedExitSave::~TForcedExitSave()
{
    SaveBeforeExit = nullptr;
}
