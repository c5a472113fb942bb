#include "medialist/ListMemory.h"

#include "medialist/ListFileErrors.h"

#include <cerrno>
#include <fstream>
#include <limits>
#include <string>

namespace ListMemory {

qint64 Needed(qint64 fileBytes, qint64 entries)
{
    return 2 * fileBytes + entries * PerEntry;
}

bool Fits(qint64 needed, qint64 available)
{
    return needed <= available / 2;
}

qint64 Available()
{
    std::ifstream info("/proc/meminfo");
    std::string key;
    while (info >> key) {
        if (key == "MemAvailable:") {
            qint64 kilobytes = 0;
            if (info >> kilobytes)
                return kilobytes * 1024;
            break;
        }
        info.ignore(1 << 20, '\n');
    }
    return std::numeric_limits<qint64>::max();
}

void TLoadBudget::CheckNow(qsizetype entries) const
{
    if (available_ < 0)
        available_ = Available();
    if (!Fits(Needed(fileBytes_, entries), available_))
        throw EInOutError::FromErrno(ENOMEM);
}

} // namespace ListMemory
