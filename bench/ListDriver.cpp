// The player with a long list, measured from outside the way a user meets it, interleaved
// with its floors: start-up to the first exposed window with every entry listed, resident
// memory a second later, and a close request (as the window manager sends it) to the end of
// the process, which with Auto Save includes saving the list and the settings; and SIGTERM to
// the end of the process, beside that close.
// Usage: list_driver RUNS ENTRIES NAME_BYTES PLAYER_PROBE BARE_LIST_PROBE BARE_WINDOW_PROBE
// A program that does not end within 60 s of the close request is killed; its time reads -1.

#include "ProcessMemory.h"
#include "SaveFloor.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct TRun {
    double StartMilliseconds = -1;
    double Megabytes = 0;
    double ExitMilliseconds = -1;
};

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.empty() ? 0 : values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// An OML list of paths of that many bytes (at least the number itself), none marked.
QByteArray OmlList(int entries, int nameBytes)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(entries) * (nameBytes + 5));
    for (int i = 0; i < entries; ++i) {
        QByteArray path = "/Track " + QByteArray::number(i) + ".mp3";
        if (path.size() < nameBytes)
            path.prepend(QByteArray(nameBytes - path.size(), 'x'));
        bytes += "0\r\n" + path + "\r\n";
    }
    return bytes;
}

// Waits for the child's end for at most a minute; false when it had to be killed.
bool Reaped(pid_t child)
{
    for (int tenth = 0; tenth < 600; ++tenth) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(tenth < 50 ? 1 : 100));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return false;
}

void WriteFile(const std::string &path, const QByteArray &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) != size_t(bytes.size()))
        std::exit(1);
    std::fclose(file);
}

// Runs the program in the folder until its first window is shown, then asks it to close, or
// sends it SIGTERM as the end of a session does.
TRun Measure(const std::string &folder, const std::vector<std::string> &command, bool terminate = false)
{
    int output[2], requests[2];
    if (pipe(output) != 0 || pipe(requests) != 0)
        std::exit(1);
    TRun run;
    const double started = Now();
    const pid_t child = fork();
    if (child == 0) {
        // Each folder keeps settings of its own, so that no run reads another's list.
        if (chdir(folder.c_str()) != 0 || setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1) != 0)
            _exit(126);
        dup2(output[1], STDOUT_FILENO);
        dup2(requests[0], 3);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        std::vector<char *> arguments;
        for (const std::string &argument : command)
            arguments.push_back(const_cast<char *>(argument.c_str()));
        arguments.push_back(nullptr);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    close(output[1]);
    close(requests[0]);
    char line[64] = {};
    FILE *reported = fdopen(output[0], "r");
    if (reported && std::fgets(line, sizeof line, reported))
        run.StartMilliseconds = double(std::atoll(line)) / 1e6 - started;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    run.Megabytes = ResidentMegabytes(child);
    const double closing = Now();
    if (terminate ? kill(child, SIGTERM) == 0 : write(requests[1], "close\n", 6) == 6) {
        if (Reaped(child))
            run.ExitMilliseconds = Now() - closing;
    } else {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(requests[1]);
    if (reported)
        fclose(reported);
    return run;
}

void Report(const char *what, const std::vector<double> &values, double floor, const char *floorName)
{
    const double median = Median(values);
    std::printf("%-44s %9.1f ms  (%s %.1f ms, %.2f x)\n", what, median, floorName, floor, median / floor);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s RUNS ENTRIES NAME_BYTES PLAYER_PROBE BARE_LIST_PROBE BARE_WINDOW_PROBE\n",
                     argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN); // a program that ended early fails its run, not the driver
    // The programs run in folders of their own.
    for (int i = 4; i < 7; ++i)
        if (char *absolute = realpath(argv[i], nullptr))
            argv[i] = absolute;
    const int runs = std::atoi(argv[1]);
    const int entries = std::atoi(argv[2]);
    const int nameBytes = std::atoi(argv[3]);
    char pattern[] = "/tmp/ostrel-list-driver-XXXXXX";
    const std::string root = mkdtemp(pattern);
    const std::string full = root + "/full", empty = root + "/empty";
    std::system(("mkdir -p '" + full + "' '" + empty + "'").c_str());
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    const QByteArray list = OmlList(entries, nameBytes);
    WriteFile(full + "/default-List.oml", list);
    WriteFile(empty + "/default-List.oml", {});

    std::vector<double> playerStart, playerMemory, playerExit, playerTerminated, listStart, listMemory, floors,
        emptyExit, bareExit;
    for (int run = 0; run < runs; ++run) {
        const TRun player = Measure(full, {argv[4]});
        playerStart.push_back(player.StartMilliseconds);
        playerMemory.push_back(player.Megabytes);
        playerExit.push_back(player.ExitMilliseconds);
        // Right after the close, in the same state of the disk's cache.
        playerTerminated.push_back(Measure(full, {argv[4]}, true).ExitMilliseconds);
        const TRun bareList = Measure(full, {argv[5], full + "/default-List.oml"});
        listStart.push_back(bareList.StartMilliseconds);
        listMemory.push_back(bareList.Megabytes);
        floors.push_back(SaveFloor(root, list));
        emptyExit.push_back(Measure(empty, {argv[4]}).ExitMilliseconds);
        bareExit.push_back(Measure(empty, {argv[6]}).ExitMilliseconds);
    }
    std::printf("%d entries of %d bytes (a file of %.1f MB), medians of %d interleaved runs\n", entries, nameBytes,
                double(list.size()) / 1e6, runs);
    Report("start-up to the first window, all listed", playerStart, Median(listStart), "bare list view");
    std::printf("%-44s %9.1f MB  (bare list view %.1f MB)\n", "resident 1 s later", Median(playerMemory),
                Median(listMemory));
    Report("close request to process end (Auto Save)", playerExit, Median(floors), "atomic save + one transaction");
    Report("SIGTERM to process end (Auto Save)", playerTerminated, Median(playerExit), "the close request");
    Report("the same with an empty list", emptyExit, Median(bareExit), "bare window");
    std::system(("rm -rf '" + root + "'").c_str());
    return 0;
}
