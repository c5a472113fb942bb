// A child for the crash-safety test: saves two different 10,000-entry OML lists in turn until
// it is killed, the way the list control saves, or with "--background" as Auto Save does in
// the background: from a snapshot on a worker thread while the list changes. Prints "ready"
// after its first save (or its first refused save: a refused one is tried again).

#include "medialist/ListFormats.h"
#include "medialist/MediaListFile.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TTextFile.h"

#include <cstdio>
#include <cstring>
#include <thread>

namespace {

void SayReady()
{
    std::puts("ready");
    std::fflush(stdout);
}

[[noreturn]] void SaveInTheBackground(const QString &path, const QList<TListEntry> (&lists)[2])
{
    TMediaEntries entries[2];
    for (int i = 0; i < 2; ++i)
        entries[i].AppendEntries(lists[i]);
    for (unsigned round = 0;; ++round) {
        TMediaEntries &list = entries[round % 2];
        const TListSnapshot snapshot = list.Snapshot();
        std::thread writer([&] {
            try {
                MediaListFile::Save(TListType::Oml, path, snapshot);
            } catch (const std::exception &) {
            }
        });
        // The list goes on changing while its snapshot is written, and is put back after.
        list.Append("/music/added while saving.mp3");
        list.SetChecked(1, !list.Checked(1));
        writer.join();
        list.SetChecked(1, !list.Checked(1));
        list.RemoveAt(list.Count() - 1);
        if (round == 0)
            SayReady();
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    QList<TListEntry> lists[2];
    for (int i = 0; i < 10000; ++i) {
        lists[0].append({"/music/first/" + QByteArray::number(i) + ".mp3", i % 3 == 0});
        lists[1].append({"/music/second/" + QByteArray::number(i) + ".mp3", i % 2 == 0});
    }
    if (argc == 3 && std::strcmp(argv[2], "--background") == 0)
        SaveInTheBackground(path, lists);
    for (unsigned round = 0;; ++round) {
        TTextFile file = TTextFile::ForWriting(path);
        ListFormats::WriteOmlPairs(file, lists[round % 2]);
        try {
            file.Close();
        } catch (const std::exception &) {
        }
        if (round == 0)
            SayReady();
    }
}
