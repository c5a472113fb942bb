#include "app/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> EndingSignals = {SIGTERM, SIGHUP, SIGINT};

int WakeRead = -1;
int WakeWrite = -1;
volatile sig_atomic_t Ending = 0;

void OnEndingSignal(int signal)
{
    if (Ending && signal != SIGHUP) {
        // Asked twice: no more waiting for the save; the list file is replaced whole or not at all.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    Ending = 1;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(WakeWrite, &byte, 1);
    errno = saved;
}

} // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> save) : save_(std::move(save))
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    WakeRead = ends[0];
    WakeWrite = ends[1];
    notifier_ = new QSocketNotifier(WakeRead, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::SaveAndEnd);
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndingSignals)
        sigaction(signal, &action, nullptr);
}

TTerminationSignals::~TTerminationSignals()
{
    if (!notifier_)
        return;
    for (const int signal : EndingSignals)
        std::signal(signal, SIG_DFL);
    ::close(WakeRead);
    ::close(WakeWrite);
    WakeRead = WakeWrite = -1;
}

void TTerminationSignals::SaveAndEnd()
{
    notifier_->setEnabled(false);
    try {
        save_();
    } catch (...) {
        // The process ends either way.
    }
    std::fflush(nullptr);
    // Not through the event loops: a box or a search that is open would go on after its own.
    ::_exit(0);
}
