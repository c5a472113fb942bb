// Other players' playlists at scale, each against its floor in the same run: an M3U8 of
// 1,000,000 entries of 80-byte paths loaded into a shown list beside the plain list's load of
// the same names, and saved beside an atomic save of the same bytes; an XSPF of 100,000
// entries loaded beside the M3U8 of the same entries.

#include "Medians.h"
#include "SaveFloor.h"
#include "controls/TOECheckListBox.h"
#include "medialist/MediaListFile.h"
#include "medialist/TMediaEntries.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QList<QByteArray> Paths(int count)
{
    QList<QByteArray> paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        QByteArray path = "/home/user/Music/Some Artist/Some Album/" + QByteArray::number(i).rightJustified(7, '0');
        paths << path + QByteArray(80 - path.size() - 4, 'x') + ".mp3";
    }
    return paths;
}

// The median of five loads of the file into the shown list, checking what arrived.
double LoadMedian(TOECheckListBox &list, TListType type, const QString &path, int count)
{
    std::vector<double> loads;
    for (int run = 0; run < 5; ++run) {
        loads.push_back(Milliseconds([&] {
            MediaListFile::Load(type, path, list.MediaEntries());
            QCoreApplication::processEvents();
        }));
        if (list.Count() != count)
            std::printf("wrong result: %d entries\n", list.Count());
    }
    return Median(loads);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir work;
    TOECheckListBox list;
    list.resize(560, 300);
    list.show();

    list.Append(Paths(1'000'000));
    const QString m3u = work.filePath("million.m3u8");
    const QString plain = work.filePath("million.txt");
    MediaListFile::Save(TListType::Text, plain, list.MediaEntries());
    std::vector<double> saves, floors;
    for (int run = 0; run < 5; ++run) {
        saves.push_back(Milliseconds([&] { MediaListFile::Save(TListType::M3u, m3u, list.MediaEntries()); }));
        QFile written(m3u);
        written.open(QIODevice::ReadOnly);
        floors.push_back(SaveFloor(work.path().toStdString(), written.readAll()));
    }
    const double plainLoad = LoadMedian(list, TListType::Text, plain, 1'000'000);
    const double m3uLoad = LoadMedian(list, TListType::M3u, m3u, 1'000'000);
    std::printf("1,000,000 entries: M3U8 load %.1f ms, plain list load %.1f ms (%.2f x)\n", m3uLoad, plainLoad,
                m3uLoad / plainLoad);
    std::printf("1,000,000 entries: M3U8 save %.1f ms, atomic save of the same bytes %.1f ms (%.2f x)\n",
                Median(saves), Median(floors), Median(saves) / Median(floors));

    list.ClearList();
    list.Append(Paths(100'000));
    const QString xspf = work.filePath("hundred.xspf");
    const QString m3uSmall = work.filePath("hundred.m3u8");
    MediaListFile::Save(TListType::Xspf, xspf, list.MediaEntries());
    MediaListFile::Save(TListType::M3u, m3uSmall, list.MediaEntries());
    const double xspfLoad = LoadMedian(list, TListType::Xspf, xspf, 100'000);
    const double m3uSmallLoad = LoadMedian(list, TListType::M3u, m3uSmall, 100'000);
    std::printf("100,000 entries: XSPF load %.1f ms, M3U8 load %.1f ms (%.2f x)\n", xspfLoad, m3uSmallLoad,
                xspfLoad / m3uSmallLoad);
    return 0;
}
