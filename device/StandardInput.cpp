#include "device/StandardInput.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool HoldStandardInputOnNullDevice()
{
    const int nullDevice = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nullDevice < 0)
        return false;
    if (nullDevice == STDIN_FILENO) {
        // Landed on the closed descriptor 0 itself; it must survive an exec as stdin would.
        return ::fcntl(STDIN_FILENO, F_SETFD, 0) == 0;
    }
    const bool held = ::dup2(nullDevice, STDIN_FILENO) == STDIN_FILENO;
    ::close(nullDevice);
    return held;
}

bool RefillClosedStandardInput()
{
    if (::fcntl(STDIN_FILENO, F_GETFD) != -1 || errno != EBADF)
        return true;
    return HoldStandardInputOnNullDevice();
}
