#include "medialist/ListFormats.h"
#include "medialist/TTextFile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QList<TListEntry> Expected(const char *folder, int markEvery)
{
    QList<TListEntry> entries;
    for (int i = 0; i < 10000; ++i)
        entries.append({"/music/" + QByteArray(folder) + "/" + QByteArray::number(i) + ".mp3", i % markEvery == 0});
    return entries;
}

// Kills the saving child at random moments, the given number of times; the list must be one
// of the two it saves, whole, each time.
void KillSavesAtRandom(const QStringList &mode, int rounds)
{
    const QList<TListEntry> first = Expected("first", 3);
    const QList<TListEntry> second = Expected("second", 2);
    QTemporaryDir folder;
    const QString path = folder.path() + "/list.oml";
    std::mt19937 random(20261208);
    int sawFirst = 0, sawSecond = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess child;
        child.start(QStringLiteral(LIST_SAVER_CHILD), QStringList{path} + mode);
        ASSERT_TRUE(child.waitForReadyRead(10000)) << "the child never saved";
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        child.kill();
        child.waitForFinished();
        TTextFile file = TTextFile::OpenForReading(path);
        const QList<TListEntry> loaded = ListFormats::ReadOmlPairs(file);
        const bool whole = loaded == first || loaded == second;
        ASSERT_TRUE(whole) << "round " << round << ": " << loaded.size() << " entries";
        (loaded == first ? sawFirst : sawSecond)++;
    }
    EXPECT_EQ(sawFirst + sawSecond, rounds);
    // A killed save may leave its hidden temporary file behind; the list itself is whole.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"list.oml"}));
}

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewCompleteList)
{
    KillSavesAtRandom({}, 100);
}

TEST(CrashSafety, AKilledBackgroundSaveFromASnapshotLeavesTheOldOrTheNewCompleteList)
{
    KillSavesAtRandom({"--background"}, 60);
}

TEST(CrashSafety, AKilledSaveIntoAFolderThatTakesNoNewFileLeavesTheOldList)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super user can play an ordinary user here";
    constexpr uid_t nobody = 65534;
    QTemporaryDir folder;
    const QString path = folder.path() + "/list.oml";
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("1\r\nold\r\n");
    old.close();
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    std::mt19937 random(20261209);
    for (int round = 0; round < 20; ++round) {
        QProcess child;
        child.setChildProcessModifier([] {
            if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                ::_exit(99);
        });
        child.start(QStringLiteral(LIST_SAVER_CHILD), {path});
        ASSERT_TRUE(child.waitForReadyRead(10000)) << "the child never tried";
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        child.kill();
        child.waitForFinished();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        ASSERT_EQ(old.readAll(), "1\r\nold\r\n") << "round " << round;
        old.close();
    }
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
}

} // namespace
