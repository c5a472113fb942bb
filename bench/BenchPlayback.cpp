// The media device on libmpv: how fast Mode answers while a file plays, how long Open
// takes, and how much of a core playing and idling cost.

#include "Medians.h"
#include "device/TMediaPlayer.h"
#include "device/TMpvBackEnd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::micro>(duration).count();
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Share of one core used while the event loop runs for the given time.
double CoreShare(int milliseconds)
{
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return (CpuSeconds() - cpu) / (double(wall.elapsed()) / 1000.0) * 100.0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QByteArray file = BENCH_DATA "/three-minutes.mp3";
    TMediaPlayer player(std::make_unique<TMpvBackEnd>());
    player.SetAutoRewind(false);
    player.SetFileName(file);

    const auto first = Clock::now();
    player.Open();
    std::printf("first Open (loads and starts the engine): %.1f ms\n", Microseconds(Clock::now() - first) / 1000);

    // Each Open in a later turn of the event loop than the Close, once the closed file has
    // been let go; an Open of the same unplayed file in the turn of its Close keeps it.
    std::vector<double> opens, reopens;
    for (int i = 0; i < 21; ++i) {
        player.Close();
        QTest::qWait(20);
        const auto start = Clock::now();
        player.Open();
        opens.push_back(Microseconds(Clock::now() - start) / 1000);
        const auto again = Clock::now();
        player.Open();
        reopens.push_back(Microseconds(Clock::now() - again) / 1000);
    }
    std::printf("Open of a 3-minute MP3, warm: median %.2f ms over %zu\n", Median(opens), opens.size());
    std::printf("  reopened in the same turn: median %.3f ms\n", Median(reopens));

    player.Play();
    QTest::qWait(500);
    std::vector<double> modes;
    for (int i = 0; i < 10000; ++i) {
        const auto start = Clock::now();
        const TDeviceMode mode = player.Mode();
        modes.push_back(Microseconds(Clock::now() - start));
        if (mode != dmPlaying)
            std::printf("unexpected mode %d\n", int(mode));
    }
    std::printf("Mode while playing: median %.3f us, max %.1f us over %zu calls\n", Median(modes),
                *std::max_element(modes.begin(), modes.end()), modes.size());

    std::printf("playing the MP3: %.2f%% of one core over 10 s\n", CoreShare(10000));
    player.Stop();
    std::printf("stopped, engine loaded: %.2f%% of one core over 5 s\n", CoreShare(5000));
    player.Close();
    std::printf("closed: %.2f%% of one core over 5 s\n", CoreShare(5000));
    return 0;
}
