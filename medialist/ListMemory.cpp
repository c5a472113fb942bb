#include "ListMemory.h"

#include "ListFileErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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

namespace {

qint64 Occurrences(const QByteArray &bytes, char wanted)
{
    qint64 count = 0;
    const char *end = bytes.constData() + bytes.size();
    for (const char *at = bytes.constData();
         (at = static_cast<const char *>(std::memchr(at, wanted, size_t(end - at)))); ++at)
        ++count;
    return count;
}

} // namespace

void RequireRoomToLoad(const QByteArray &bytes, int linesPerEntry)
{
    const qint64 lines = std::max(Occurrences(bytes, '\r'), Occurrences(bytes, '\n')) + 1;
    if (!Fits(Needed(bytes.size(), lines / linesPerEntry + 1), Available()))
        throw EInOutError::FromErrno(ENOMEM);
}

} // namespace ListMemory
