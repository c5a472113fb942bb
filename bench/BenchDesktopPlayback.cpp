// Playback as a user meets it, on a private X server and sound server: the silence between
// the heard end of one track and the first heard sample of the next when the player moves
// on by itself, a click on the position slider until the new place is heard, and the time
// from Play to a video's first frame on screen.

#include "TDesktopSession.h"
#include "TQuietDialogs.h"
#include "TXWindows.h"
#include "ToneSegments.h"
#include "app/SessionBus.h"
#include "errorreport/TOstrelApplication.h"
#include "controls/TJumpSlider.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "desktop/TPlayerControl.h"
#include "device/TMpvBackEnd.h"
#include "window/TFormMediaPlayer.h"
#include "window/TNowPlayingBar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 10;

QByteArray Data(const char *name)
{
    return QFile::encodeName(QStringLiteral(TEST_DATA "/") + QLatin1String(name));
}

void Report(const char *what, std::vector<double> values)
{
    if (values.empty()) {
        std::printf("%-44s no run measured\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("%-44s median %7.1f ms   min %7.1f   max %7.1f   (%zu runs)\n", what, values[values.size() / 2],
                values.front(), values.back(), values.size());
}

QString RecordingFile(const QString &folder)
{
    return folder + QStringLiteral("/run.raw");
}

// What the null sink played while `play` ran, as runs of tones: recorded from 150 ms before to
// 300 ms after.
QList<TToneSegment> Recorded(TDesktopSession &session, const QString &folder, const std::function<void()> &play)
{
    auto recorder = session.StartRecording(RecordingFile(folder));
    QTest::qWait(150);
    play();
    QTest::qWait(300);
    recorder->terminate();
    recorder->waitForFinished(2000);
    QFile file(RecordingFile(folder));
    file.open(QIODevice::ReadOnly);
    return ToneSegments(file.readAll(), TDesktopSession::RecordingRate, {660, 1100});
}

// Where the recording under way has come to, in seconds of sound: what the sink plays now,
// within the sound server's fragments of about 10 ms.
double RecordedSoFar(const QString &folder)
{
    return double(QFileInfo(RecordingFile(folder)).size()) / 2 / TDesktopSession::RecordingRate;
}

// The gap in each recorded advance from step-a.wav (440 Hz) to step-b.wav (880 Hz first), in
// order or at random (where the draws decide whether a run has such an advance).
std::vector<double> TrackChanges(TDesktopSession &session, const QString &folder, bool random)
{
    QDir::setCurrent(folder);
    auto form = CreateFormMediaPlayer();
    form->lbFiles->ClearList(); // not the list the window before it saved
    form->RandomPool().Clear();
    form->AddEntries(random ? QList<QByteArray>{Data("step-a.wav"), Data("step-b.wav")}
                            : QList<QByteArray>{Data("step-a.wav"), Data("step-b.wav"), Data("missing.wav")});
    (random ? form->miRandom : form->miInOrder)->trigger();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the window was not shown\n");
    std::vector<double> gaps;
    for (int run = 0; gaps.size() < size_t(Runs) && run < 4 * Runs; ++run) {
        const QList<TToneSegment> segments = Recorded(session, folder, [&] {
            // Starting at a different phase of the one-second poll each time.
            QTest::qWait(run * 97 % 1000);
            form->lbFiles->SetItemIndex(random ? -1 : 0);
            form->RunCommand([&] { form->sbPlayClick(form->sbPlay); });
            if (random) {
                QTest::qWait(3500);
                form->RunCommand([&] { form->sbStopClick(form->sbStop); });
            } else if (!QTest::qWaitFor([&] { return form->lbFiles->ItemIndex() == 2 && !form->Playing(); }, 5000)) {
                std::fprintf(stderr, "run %d: the advances did not end\n", run);
            }
        });
        double endOfA = -1;
        for (const TToneSegment &segment : segments) {
            if (segment.Band == 1 && segment.Length > 0.5)
                endOfA = segment.Start + segment.Length;
            else if (segment.Band == 2 && endOfA >= 0 && segment.Length > 0.1) {
                gaps.push_back((segment.Start - endOfA) * 1000);
                break;
            }
        }
    }
    form->miInOrder->trigger(); // the next window reads the play order this one keeps
    form->SaveSettings();
    return gaps;
}

// A click on the position slider back into step-b.wav's first tone (880 Hz) while its second
// (1320 Hz) is heard. Per run: from the click to the first heard sample at the new place (on
// the recording's own time, true within the sound server's fragments); the silence between
// the heard end of the second tone and the first heard sample of the first again; and from
// the click until the engine plays at the new position (its reported position back within
// the first tone).
struct TSeekTimes {
    std::vector<double> ClickToHeard, Silences, ClickToPosition;
};

void Seeks(TDesktopSession &session, const QString &folder, TSeekTimes &times)
{
    QDir::setCurrent(folder);
    auto form = CreateFormMediaPlayer();
    form->lbFiles->ClearList(); // not the list the window before it saved
    form->lbFiles->Append(QList<QByteArray>{Data("step-b.wav"), Data("missing.wav")});
    form->resize(900, 400); // a slider long enough to click apart from its handle
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the window was not shown\n");
    for (int run = 0; run < Runs; ++run) {
        double clickedAt = 0;
        const QList<TToneSegment> heard = Heard(Recorded(session, folder, [&] {
            form->lbFiles->SetItemIndex(0);
            form->sbPlay->OnClick(form->sbPlay);
            TPlayerControl &player = form->PlayerControl();
            if (!QTest::qWaitFor([&] { return player.PositionMs() >= 450; }, 3000))
                std::fprintf(stderr, "run %d: the second tone did not come\n", run);
            TJumpSlider *position = form->NowPlaying()->Position();
            // The bar is made at the first open: wait until it is laid out and can be clicked.
            if (!QTest::qWaitFor([&] { return position->isEnabled() && position->isVisible(); }, 2000))
                std::fprintf(stderr, "run %d: the position slider was not shown\n", run);
            // Clear of the handle, which may still show the start: a click on it would grab it.
            const QPointF at(position->width() * 0.25, position->height() / 2.0);
            QElapsedTimer clock;
            clock.start();
            clickedAt = RecordedSoFar(folder);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent click(type, at, position->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(position, &click);
            }
            if (QTest::qWaitFor([&] { return player.PositionMs() < 300; }, 2000))
                times.ClickToPosition.push_back(double(clock.nsecsElapsed()) / 1e6);
            if (!QTest::qWaitFor([&] { return form->lbFiles->ItemIndex() == 1 && !form->Playing(); }, 5000))
                std::fprintf(stderr, "run %d: the track did not end\n", run);
        }));
        if (heard.size() != 4 || heard[0].Band != 2 || heard[1].Band != 3 || heard[2].Band != 2) {
            std::fprintf(stderr, "run %d: heard %s\n", run, qPrintable(Describe(heard)));
            continue;
        }
        times.ClickToHeard.push_back((heard[2].Start - clickedAt) * 1000);
        times.Silences.push_back((heard[2].Start - heard[1].Start - heard[1].Length) * 1000);
    }
}

// From Open and Play, as the play button does them, to tiny.mov's green on screen.
// The first run loads and starts the engine; it is given apart.
std::vector<double> FirstFrames(double &firstRun)
{
    TMediaPlayer player(std::make_unique<TMpvBackEnd>(QStringLiteral("Ostrel Media Player")));
    player.SetAutoRewind(false);
    TXWindows windows;
    std::vector<double> times;
    for (int run = 0; run <= Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        player.SetFileName(Data("tiny.mov"));
        player.Open();
        player.Play();
        const bool shown = QTest::qWaitFor([&] {
            const uint32_t window = windows.FindMapped(QStringLiteral("Ostrel Media Player - tiny.mov"));
            const int64_t pixel = window ? windows.MiddlePixel(window) : -1;
            return pixel >= 0 && ((pixel >> 8) & 0xff) > 0xa0 && (pixel >> 16) < 0x60;
        }, 5000);
        const double elapsed = double(clock.nsecsElapsed()) / 1e6;
        if (!shown)
            std::fprintf(stderr, "run %d: no frame\n", run);
        if (run == 0)
            firstRun = elapsed;
        else
            times.push_back(elapsed);
        player.Stop();
        player.Close();
        QTest::qWait(300);
    }
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    TDesktopSession session;
    if (const QString why = session.Start(); !why.isEmpty()) {
        std::fprintf(stderr, "cannot run: %s\n", qPrintable(why));
        return 1;
    }
    KeepTheSessionBusFromAutolaunching();
    qputenv("QT_QPA_PLATFORM", "xcb");
    TOstrelApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TQuietDialogs dialogs;
    application.SetDialogs(dialogs);
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + "/config"));

    double firstRun = 0;
    Report("Play to the first video frame on screen", FirstFrames(firstRun));
    std::printf("%-44s %7.1f ms (loads and starts the engine)\n", "  the first of all", firstRun);
    if (session.HasSound()) {
        Report("heard end of a track to the next's first sample", TrackChanges(session, folder.path(), false));
        Report("  the same at random", TrackChanges(session, folder.path(), true));
        TSeekTimes seeks;
        Seeks(session, folder.path(), seeks);
        if (!seeks.Silences.empty()) {
            Report("slider seek: click to first heard new sample", seeks.ClickToHeard);
            Report("slider seek: silence between old and new sound", seeks.Silences);
        }
        if (!seeks.ClickToPosition.empty())
            Report("slider seek: click to playing at the new place", seeks.ClickToPosition);
    } else {
        std::printf("no sound server: track changes and seeks not measured\n");
    }
    return 0;
}
