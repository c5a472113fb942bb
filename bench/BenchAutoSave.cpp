// Auto Save's background save at 100,000 and 1,000,000 entries of 80-byte paths: how long the
// user-interface thread is held per save (the list's snapshot), and the worker's write (the
// twelve values, then the list file) beside the floor of a closing: the same bytes saved
// atomically and durably, and one store transaction.

#include "Medians.h"
#include "SaveFloor.h"
#include "TOffscreenBench.h"
#include "controls/TOECheckListBox.h"
#include "medialist/MediaListFile.h"
#include "window/TFormMediaPlayer.h"
#include "window/TPlayerSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

int main(int argc, char **argv)
{
    TOffscreenBench bench(argc, argv);
    const QTemporaryDir &work = bench.Work;
    QDir::setCurrent(work.path());
    auto form = CreateFormMediaPlayer();
    const QString list = work.filePath(QStringLiteral("list.oml"));
    const TPlayerSettings settings{100, 100, 573, 400, 1, true, false, true, true, list, 0, 0};
    for (const int entries : {100000, 1000000}) {
        QList<QByteArray> names;
        for (int i = 0; i < entries; ++i) {
            QByteArray name = "/Track " + QByteArray::number(i) + ".mp3";
            names << name.prepend(QByteArray(80 - name.size(), 'x'));
        }
        form->lbFiles->ClearList();
        form->lbFiles->Append(names);
        const TMediaEntries &shown = form->lbFiles->MediaEntries();
        std::vector<double> holds, writes, floors;
        for (int run = 0; run < 9; ++run) {
            std::optional<TListSnapshot> snapshot;
            holds.push_back(Milliseconds([&] { snapshot.emplace(shown.Snapshot()); }));
            writes.push_back(Milliseconds([&] {
                settings.Write();
                MediaListFile::Save(TListType::Oml, list, *snapshot);
            }));
            QFile written(list);
            written.open(QIODevice::ReadOnly);
            floors.push_back(SaveFloor(QFile::encodeName(work.path()).toStdString(), written.readAll()));
        }
        std::printf("%d entries: the user-interface thread held per save %.2f ms (median of 9, max %.2f ms)\n", entries,
                    Median(holds), *std::max_element(holds.begin(), holds.end()));
        std::printf("%d entries: the worker's write %.1f ms (%.2f x the floor, %.1f ms)\n", entries, Median(writes),
                    Median(writes) / Median(floors), Median(floors));
    }
    return 0;
}
