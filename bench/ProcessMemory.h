#pragma once

#include <fstream>
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
