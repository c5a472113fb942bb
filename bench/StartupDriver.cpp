// Starts a program N times, measures the time from the start to its first exposed window
// (as its start-up probe reports it) and its resident memory 3 s later, and prints medians.
// Usage: startup_driver RUNS PROGRAM... (each PROGRAM is measured in turn, interleaved)

#include "ProcessMemory.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct TRun {
    double milliseconds = -1;
    double megabytes = 0;
};

long long MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

TRun Measure(const char *program)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        std::exit(1);
    const long long started = MonotonicNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    TRun run;
    char line[64] = {};
    FILE *output = fdopen(pipeEnds[0], "r");
    if (output && std::fgets(line, sizeof line, output))
        run.milliseconds = double(std::atoll(line) - started) / 1e6;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    run.megabytes = ResidentMegabytes(child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    if (output)
        fclose(output);
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = argc - 2;
    std::vector<std::vector<double>> times(static_cast<size_t>(programs));
    std::vector<std::vector<double>> memory(static_cast<size_t>(programs));
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            const TRun result = Measure(argv[p + 2]);
            times[size_t(p)].push_back(result.milliseconds);
            memory[size_t(p)].push_back(result.megabytes);
        }
    }
    for (int p = 0; p < programs; ++p) {
        const double time = Median(times[size_t(p)]);
        const double rss = Median(memory[size_t(p)]);
        std::printf("%-40s first window %7.1f ms  resident after 3 s %6.1f MB", argv[p + 2], time, rss);
        if (p > 0)
            std::printf("  (%.2f x time, %+.1f MB against the first)", time / Median(times[0]),
                        rss - Median(memory[0]));
        std::printf("\n");
    }
    return 0;
}
