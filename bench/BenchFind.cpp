// Finding in a list of 1,000,000 entries of 80-byte paths through the real window's find bar:
// each keystroke to its matches painted, the longest hold of the event loop, typing at ten
// letters a second, memory, and Esc back to the whole list, beside the floor: one
// case-ignoring substring scan (strcasestr) over the same texts in a plain loop, one thread.

#include "LibraryPaths.h"
#include "Medians.h"
#include "ProcessMemory.h"
#include "TOffscreenBench.h"
#include "controls/TFindBar.h"
#include "controls/TOECheckListBox.h"
#include "window/TFormMediaPlayer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>
#include <cstdio>
#include <cstring>

namespace {

constexpr int ListSize = 1000000;
constexpr int Runs = 5;
const char *const Word = "vedoka"; // typed letter by letter

double Floor(const TMediaEntries &entries, const char *query, int *matches)
{
    return Milliseconds([&] {
        int found = 0;
        for (int row = 0; row < entries.Count(); ++row)
            found += strcasestr(entries.TextView(row).data(), query) != nullptr;
        *matches = found;
    });
}

void Key(QWidget *target, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Runs the event loop until the matches are found and painted; the longest single turn of it.
double UntilPainted(TFormMediaPlayer &form, double *longestTurn)
{
    QElapsedTimer clock;
    clock.start();
    do {
        *longestTurn = std::max(*longestTurn, Milliseconds([] { QCoreApplication::processEvents(); }));
    } while (form.lbFiles->Finding());
    form.lbFiles->viewport()->repaint();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    TOffscreenBench bench(argc, argv);
    QDir::setCurrent(bench.Work.path()); // the list file the start-up reads and Auto Save writes
    auto form = CreateFormMediaPlayer();
    form->SetAutoSave(false);
    form->AddEntries(LibraryPaths(ListSize));
    form->show();
    QCoreApplication::processEvents();
    form->lbFiles->SetItemIndex(ListSize / 2);
    QCoreApplication::processEvents();
    QLineEdit *field = form->FFindBar->Field();

    std::vector<double> first, further, escape, floorFirst, floorWhole, typedWorst, bytesPerEntry, slowestFurther,
        longestTurns;
    int wholeMatches = 0;
    for (int run = 0; run < Runs; ++run) {
        const double before = ResidentMegabytes();
        const size_t allocatedBefore = AllocatedBytes();
        form->miFind->trigger();
        double peak = 0;
        double furthest = 0;
        double longestTurn = 0;
        for (size_t i = 0; i < std::strlen(Word); ++i) {
            const double took = Milliseconds([&] {
                Key(field, Qt::Key_A + (Word[i] - 'a'), QString(QChar(Word[i])));
                UntilPainted(*form, &longestTurn);
            });
            (i == 0 ? first : further).push_back(took);
            if (i > 0)
                furthest = std::max(furthest, took);
            peak = std::max(peak, double(AllocatedBytes() - allocatedBefore));
        }
        bytesPerEntry.push_back(peak / ListSize);
        int matches = 0;
        floorFirst.push_back(Floor(form->lbFiles->MediaEntries(), QByteArray(Word, 1).constData(), &matches));
        floorWhole.push_back(Floor(form->lbFiles->MediaEntries(), Word, &wholeMatches));
        if (wholeMatches != form->lbFiles->ShownCount())
            std::printf("MISMATCH: %d matches shown, the floor finds %d\n", form->lbFiles->ShownCount(), wholeMatches);
        escape.push_back(Milliseconds([&] {
            Key(field, Qt::Key_Escape);
            QCoreApplication::processEvents();
            form->lbFiles->viewport()->repaint();
        }));
        std::printf("run %d: left behind after Esc: %.1f MB resident, %lld bytes allocated\n", run + 1,
                    ResidentMegabytes() - before, static_cast<long long>(AllocatedBytes() - allocatedBefore));

        // The same word at ten letters a second: how far the matches fall behind the typing.
        form->miFind->trigger();
        double worst = 0;
        for (size_t i = 0; i < std::strlen(Word); ++i) {
            QElapsedTimer typed;
            typed.start();
            Key(field, Qt::Key_A + (Word[i] - 'a'), QString(QChar(Word[i])));
            worst = std::max(worst, UntilPainted(*form, &longestTurn));
            while (typed.elapsed() < 100)
                QThread::msleep(1), QCoreApplication::processEvents();
        }
        typedWorst.push_back(worst);
        slowestFurther.push_back(furthest);
        longestTurns.push_back(longestTurn);
        Key(field, Qt::Key_Escape);
        QCoreApplication::processEvents();
    }
    std::printf("1,000,000 entries of 80-byte paths, \"%s\" typed letter by letter (%d matches), medians of %d runs:\n",
                Word, wholeMatches, Runs);
    std::printf(
        "  first letter to its matches painted: %.1f ms; floor (strcasestr \"%c\" over all): %.1f ms; ratio %.2f\n",
        Median(first), Word[0], Median(floorFirst), Median(first) / Median(floorFirst));
    std::printf(
        "  each further letter: %.1f ms (the slowest of a run: median %.1f, at most %.1f); floor (strcasestr"
        " \"%s\" over all): %.1f ms; ratio %.2f\n",
        Median(further), Median(slowestFurther), *std::max_element(slowestFurther.begin(), slowestFurther.end()), Word,
        Median(floorWhole), Median(further) / Median(floorWhole));
    std::printf("  longest turn of the event loop while finding: median of the runs' longest %.1f ms, at most %.1f\n",
                Median(longestTurns), *std::max_element(longestTurns.begin(), longestTurns.end()));
    std::printf("  typed at 10 letters a second: the slowest letter's matches painted after %.1f ms\n",
                Median(typedWorst));
    std::printf("  memory while the bar is open: %.1f bytes per entry\n", Median(bytesPerEntry));
    std::printf("  Esc to the whole list painted: %.1f ms\n", Median(escape));
    return 0;
}
