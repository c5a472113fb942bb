// A child for the crash-safety test: saves two different 10,000-entry OML lists in turn,
// the way the list control saves, until it is killed. Prints "ready" after its first save
// (or its first refused save: a refused one is tried again).

#include "medialist/ListFormats.h"
#include "medialist/TTextFile.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    QList<TListEntry> lists[2];
    for (int i = 0; i < 10000; ++i) {
        lists[0].append({"/music/first/" + QByteArray::number(i) + ".mp3", i % 3 == 0});
        lists[1].append({"/music/second/" + QByteArray::number(i) + ".mp3", i % 2 == 0});
    }
    for (unsigned round = 0;; ++round) {
        TTextFile file = TTextFile::ForWriting(path);
        ListFormats::WriteOmlPairs(file, lists[round % 2]);
        try {
            file.Close();
        } catch (const std::exception &) {
        }
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
