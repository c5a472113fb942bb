// The media list at 100,000 entries: appending, navigation, lookups and memory.

#include "ProcessMemory.h"
#include "TQuietDialogs.h"
#include "errorreport/TOstrelApplication.h"
#include "controls/TOECheckListBox.h"
#include "window/TFormMediaPlayer.h"

#include <QAction>
#include <QListView>
#include <QStringListModel>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int ListSize = 100000;

QList<QByteArray> EightyBytePaths()
{
    QList<QByteArray> paths;
    paths.reserve(ListSize);
    for (int i = 0; i < ListSize; ++i) {
        QByteArray path = "/home/user/Music/Some Artist/Some Album/" + QByteArray::number(i).rightJustified(6, '0');
        path += QByteArray(80 - path.size() - 4, 'x') + ".mp3";
        paths << path;
    }
    return paths;
}

const QList<QByteArray> &Paths()
{
    static const QList<QByteArray> paths = EightyBytePaths();
    return paths;
}

void Settle(QWidget &widget)
{
    QCoreApplication::processEvents();
    widget.repaint();
}

void BM_AppendToShownControl(benchmark::State &state)
{
    TOECheckListBox list;
    list.resize(560, 300);
    list.show();
    Settle(list);
    for (auto _ : state) {
        state.PauseTiming();
        list.ClearList();
        Settle(list);
        state.ResumeTiming();
        list.Append(Paths());
        Settle(list);
    }
}
BENCHMARK(BM_AppendToShownControl)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

// The floor: a bare Qt list view showing as many rows from a string list model.
void BM_BareListViewReference(benchmark::State &state)
{
    QStringList rows;
    for (const QByteArray &path : Paths())
        rows << QString::fromUtf8(path);
    QListView view;
    QStringListModel model;
    view.setModel(&model);
    view.setUniformItemSizes(true);
    view.resize(560, 300);
    view.show();
    Settle(view);
    for (auto _ : state) {
        state.PauseTiming();
        model.setStringList({});
        Settle(view);
        state.ResumeTiming();
        model.setStringList(rows);
        Settle(view);
    }
}
BENCHMARK(BM_BareListViewReference)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

std::unique_ptr<TFormMediaPlayer> FullForm()
{
    auto form = CreateFormMediaPlayer();
    form->lbFiles->Append(Paths());
    form->RandomPool().Append(Paths());
    form->show();
    Settle(*form);
    return form;
}

void BM_ChooseNextRandom(benchmark::State &state)
{
    auto form = FullForm();
    form->miRandom->trigger();
    for (auto _ : state)
        benchmark::DoNotOptimize(form->ChooseNext());
}
BENCHMARK(BM_ChooseNextRandom)->Unit(benchmark::kMicrosecond)->Iterations(20000)->Repetitions(5);

void BM_ChoosePrevious(benchmark::State &state)
{
    auto form = FullForm();
    for (auto _ : state)
        benchmark::DoNotOptimize(form->ChoosePrevious());
}
BENCHMARK(BM_ChoosePrevious)->Unit(benchmark::kMicrosecond)->Iterations(20000)->Repetitions(5);

void BM_LookupLastEntryOtherCase(benchmark::State &state)
{
    auto form = FullForm();
    const QByteArray wanted = Paths().last().toUpper();
    for (auto _ : state)
        benchmark::DoNotOptimize(form->lbFiles->IndexOf(wanted));
}
BENCHMARK(BM_LookupLastEntryOtherCase)->Unit(benchmark::kMicrosecond)->Iterations(20000)->Repetitions(5);

void BM_WholeRandomCycle(benchmark::State &state)
{
    auto form = FullForm();
    form->miRandom->trigger();
    for (auto _ : state) {
        for (int i = 0; i < ListSize; ++i)
            benchmark::DoNotOptimize(form->ChooseNext());
    }
}
BENCHMARK(BM_WholeRandomCycle)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void ReportMemoryOfAFullList()
{
    const double before = ResidentMegabytes();
    {
        TOECheckListBox list;
        list.resize(560, 300);
        list.show();
        Settle(list);
        const double empty = ResidentMegabytes();
        list.Append(EightyBytePaths());
        Settle(list);
        std::printf("memory: shown empty list %.1f MB, 100,000 entries of 80 bytes add %.1f MB\n",
                    empty - before, ResidentMegabytes() - empty);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    TOstrelApplication application(argc, argv);
    TQuietDialogs dialogs;
    application.SetDialogs(dialogs);
    ReportMemoryOfAFullList();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
