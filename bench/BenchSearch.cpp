// Searching a tree of 100,000 files (a quarter of them MP3s, the others Ogg) in 1,000 folders
// into the list, beside `find TREE -type f -iname '*.mp3'` on the same tree; All Media Files
// beside find with the same -iname alternatives; the same tree dropped on the list; and
// Remove All and New at 100,000 entries.

#include "Medians.h"
#include "TOffscreenBench.h"
#include "controls/TOECheckListBox.h"
#include "desktop/HandOver.h"
#include "desktop/TPlayerControl.h"
#include "medialist/SearchType.h"
#include "window/TFormMediaPlayer.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

void MakeTree(const QString &root)
{
    for (int top = 0; top < 10; ++top) {
        for (int sub = 0; sub < 100; ++sub) {
            const QString folder = QStringLiteral("%1/Artist %2/Album %3").arg(root).arg(top).arg(sub);
            QDir().mkpath(folder);
            for (int track = 0; track < 100; ++track) {
                const QString name
                    = QStringLiteral("%1/Track %2.%3").arg(folder).arg(track).arg(track % 4 ? "ogg" : "mp3");
                ::close(::open(QFile::encodeName(name).constData(), O_CREAT | O_WRONLY, 0644));
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    TOffscreenBench bench(argc, argv);
    const QTemporaryDir &work = bench.Work;
    const QString tree = work.path() + "/tree";
    MakeTree(tree);
    const QByteArray find = "find '" + QFile::encodeName(tree) + "' -type f -iname '*.mp3' > /dev/null";
    std::system(find.constData()); // warm the cache
    // "All Media Files": the same alternatives as find's -iname tests.
    const QString allMedia = SearchPattern(TSearchType::AllMedia);
    QByteArray findAll = "find '" + QFile::encodeName(tree) + "' -type f \\(";
    for (const QString &pattern : allMedia.split(';'))
        findAll += (findAll.endsWith('(') ? " -iname '" : " -o -iname '") + pattern.toLatin1() + "'";
    findAll += " \\) > /dev/null";

    QDir::setCurrent(work.path());
    auto form = CreateFormMediaPlayer();
    form->resize(573, 400);
    form->show();
    form->SetWorkingFolder(tree);
    std::vector<double> finds, searches, drops, removeAlls, news, findAlls, searchAlls;
    for (int run = 0; run < 5; ++run) {
        finds.push_back(Milliseconds([&] { std::system(find.constData()); }));
        searches.push_back(Milliseconds([&] { form->SearchMediaFiles(QStringLiteral("*.mp3")); }));
        if (form->lbFiles->Count() != 25000 || form->RandomPool().Count() != 25000)
            std::printf("wrong result: %d entries\n", form->lbFiles->Count());
        form->miRemoveAll->trigger();
        findAlls.push_back(Milliseconds([&] { std::system(findAll.constData()); }));
        searchAlls.push_back(Milliseconds([&] { form->SearchMediaFiles(allMedia); }));
        if (form->lbFiles->Count() != 100000)
            std::printf("wrong result of All Media Files: %d entries\n", form->lbFiles->Count());
        form->miRemoveAll->trigger();
        // The same tree dropped on the list: every media type is looked for, found as All Media Files.
        drops.push_back(
            Milliseconds([&] { form->PlayerControl().Open(HandOverOf({QFile::encodeName(tree)}, {}), false); }));
        if (form->lbFiles->Count() != 100000 || form->RandomPool().Count() != 100000)
            std::printf("wrong result of the drop: %d entries\n", form->lbFiles->Count());
        form->miRemoveAll->trigger();
    }
    QList<QByteArray> many;
    for (int i = 0; i < 100000; ++i)
        many << "/home/user/Music/Some Artist/Some Album/Track " + QByteArray::number(i) + ".mp3";
    for (int run = 0; run < 5; ++run) {
        form->lbFiles->Append(many);
        form->RandomPool().Append(many);
        removeAlls.push_back(Milliseconds([&] { form->miRemoveAll->trigger(); }));
        form->lbFiles->Append(many);
        form->RandomPool().Append(many);
        news.push_back(Milliseconds([&] { form->NewMedia1->trigger(); }));
    }
    std::printf("find -iname '*.mp3' on 100,000 files: median %.1f ms\n", Median(finds));
    std::printf("Search into the list and the random pool: median %.1f ms (%.2f x find)\n", Median(searches),
                Median(searches) / Median(finds));
    std::printf("find with the %lld -iname alternatives of All Media Files: median %.1f ms\n",
                static_cast<long long>(allMedia.count(';') + 1), Median(findAlls));
    std::printf("Search for All Media Files: median %.1f ms (%.2f x find)\n", Median(searchAlls),
                Median(searchAlls) / Median(findAlls));
    std::printf("The tree dropped on the list: median %.1f ms (%.2f x Search)\n", Median(drops),
                Median(drops) / Median(searches));
    std::printf("Remove All of 100,000 entries: median %.2f ms; New of 100,000 entries: median %.2f ms\n",
                Median(removeAlls), Median(news));
    return 0;
}
