#pragma once

#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/types.h>

// Resident set size of a process in MB, from /proc; 0 when it cannot be read.
inline double ResidentMegabytes(pid_t pid = 0)
{
    std::ifstream status(pid ? "/proc/" + std::to_string(pid) + "/status" : std::string("/proc/self/status"));
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}

// Bytes the process has allocated and not freed: unlike the resident size, it falls as soon as
// memory is given back.
inline size_t AllocatedBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
