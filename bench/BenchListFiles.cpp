// List files at 100,000 entries of 80-byte paths, against the floor of reading and splitting
// the same file in a bare loop; and the settings' registry writes and reads.

#include "controls/TOECheckListBox.h"
#include "medialist/ListFormats.h"
#include "registry/OERegistry.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int ListSize = 100000;

QList<TListEntry> Entries()
{
    QList<TListEntry> entries;
    for (int i = 0; i < ListSize; ++i) {
        QByteArray path = "/home/user/Music/Some Artist/Some Album/" + QByteArray::number(i).rightJustified(6, '0');
        path += QByteArray(80 - path.size() - 4, 'x') + ".mp3";
        entries.append({path, i % 4 == 0});
    }
    return entries;
}

QTemporaryDir &Folder()
{
    static QTemporaryDir folder;
    return folder;
}

QString PathOf(const char *name)
{
    return Folder().path() + QLatin1Char('/') + QLatin1String(name);
}

struct TShownList {
    TShownList()
    {
        list.resize(560, 300);
        list.show();
        QCoreApplication::processEvents();
    }
    TOECheckListBox list;
};

void BM_SaveOml(benchmark::State &state)
{
    TShownList shown;
    shown.list.AppendEntries(Entries());
    for (auto _ : state)
        shown.list.SaveListFile(PathOf("save.oml"));
}
BENCHMARK(BM_SaveOml)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

void BM_LoadOml(benchmark::State &state)
{
    TShownList shown;
    shown.list.AppendEntries(Entries());
    shown.list.SaveListFile(PathOf("load.oml"));
    for (auto _ : state) {
        shown.list.LoadListFile(PathOf("load.oml"));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LoadOml)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

void BM_SavePlain(benchmark::State &state)
{
    TShownList shown;
    shown.list.AppendEntries(Entries());
    for (auto _ : state)
        ListFormats::WritePlainListFile(PathOf("save.txt"), shown.list.Texts());
}
BENCHMARK(BM_SavePlain)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

void BM_LoadPlain(benchmark::State &state)
{
    TShownList shown;
    shown.list.AppendEntries(Entries());
    ListFormats::WritePlainListFile(PathOf("load.txt"), shown.list.Texts());
    for (auto _ : state) {
        shown.list.ClearList();
        shown.list.Append(ListFormats::ReadPlainListFile(PathOf("load.txt")));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

// The floors: read the same file whole and split it at CR LF into byte strings; write the
// same bytes with a plain open, write and close.
void ReadAndSplit(benchmark::State &state, const char *name)
{
    for (auto _ : state) {
        QFile file(PathOf(name));
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        QList<QByteArray> lines;
        qsizetype start = 0;
        for (qsizetype end; (end = bytes.indexOf("\r\n", start)) >= 0; start = end + 2)
            lines.append(bytes.mid(start, end - start));
        benchmark::DoNotOptimize(lines);
    }
}

void BM_FloorReadAndSplitOml(benchmark::State &state)
{
    ReadAndSplit(state, "load.oml");
}
BENCHMARK(BM_FloorReadAndSplitOml)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

void BM_FloorReadAndSplitPlain(benchmark::State &state)
{
    ReadAndSplit(state, "load.txt");
}
BENCHMARK(BM_FloorReadAndSplitPlain)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

void BM_FloorWriteOmlBytes(benchmark::State &state)
{
    QFile source(PathOf("load.oml"));
    source.open(QIODevice::ReadOnly);
    const QByteArray bytes = source.readAll();
    for (auto _ : state) {
        QFile file(PathOf("floor.oml"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
}
BENCHMARK(BM_FloorWriteOmlBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

const char *const SettingNames[] = {"Left", "Top", "Width", "Height", "FileExtension", "InOrder",
                                    "Random", "AutoSave", "BlackMediaList", "DefaultFile", "PlayOrder", "ItemIndex"};

void BM_TwelveRegistryWrites(benchmark::State &state)
{
    const QString key = QStringLiteral("\\SOFTWARE\\Ostrel\\Ostrel Media Player");
    for (auto _ : state)
        for (const char *name : SettingNames)
            WriteRegistry(HKEY_CURRENT_USER, key, QLatin1String(name), TRegistryValue::Integer(42));
}
BENCHMARK(BM_TwelveRegistryWrites)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5);

void BM_TwelveRegistryReads(benchmark::State &state)
{
    const QString key = QStringLiteral("\\SOFTWARE\\Ostrel\\Ostrel Media Player");
    for (auto _ : state)
        for (const char *name : SettingNames)
            benchmark::DoNotOptimize(ReadRegistry(HKEY_CURRENT_USER, key, QLatin1String(name), TRegistryValue::Integer(0)));
}
BENCHMARK(BM_TwelveRegistryReads)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Folder().path() + "/config"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
