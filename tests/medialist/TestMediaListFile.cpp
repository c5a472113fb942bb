#include "TTempFolder.h"
#include "medialist/ListFileErrors.h"
#include "medialist/MediaListFile.h"
#include "medialist/TMediaEntries.h"

#include <gtest/gtest.h>

namespace {

class TMediaListFileTest : public testing::Test {
protected:
    void SetUp() override { entries.AppendEntries({{"/m/a.mp3", true}, {"/m/b.wav", false}}); }

    TTempFolder folder;
    TMediaEntries entries;
};

TEST_F(TMediaListFileTest, EachListTypeWritesItsFormatAndOthersWriteNothing)
{
    const QByteArray oml = "1\r\n/m/a.mp3\r\n0\r\n/m/b.wav\r\n";
    const QByteArray plain = "/m/a.mp3\r\n/m/b.wav\r\n";
    const QList<QPair<uint8_t, QByteArray>> expected
        = {{0, "<missing>"}, {1, oml}, {2, plain}, {3, plain}, {4, plain}, {8, "<missing>"}, {255, "<missing>"}};
    for (const auto &[type, bytes] : expected) {
        const QString name = QString("type%1").arg(type);
        MediaListFile::Save(TListType(type), folder.File(name), entries);
        EXPECT_EQ(folder.ReadFile(name), bytes) << int(type);
    }
}

TEST_F(TMediaListFileTest, EachListTypeReadsItsFormatAndOthersLeaveTheListEmpty)
{
    folder.WriteFile("list", "1\r\n/m/c.mp3\r\n");
    MediaListFile::Load(TListType::Oml, folder.File("list"), entries);
    EXPECT_EQ(entries.Entries(), (QList<TListEntry>{{"/m/c.mp3", true}}));
    MediaListFile::Load(TListType::Text, folder.File("list"), entries);
    EXPECT_EQ(entries.Entries(), (QList<TListEntry>{{"1", false}, {"/m/c.mp3", false}}));
    MediaListFile::Load(TListType(0), folder.File("list"), entries);
    EXPECT_EQ(entries.Count(), 0);
}

TEST_F(TMediaListFileTest, AFailedLoadLeavesTheListEmpty)
{
    try {
        MediaListFile::Load(TListType::Oml, folder.File("missing.oml"), entries);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError &error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(entries.Count(), 0);
    entries.Append("again");
    EXPECT_THROW(MediaListFile::Load(TListType::Mpu, folder.File("missing.txt"), entries), EFileStreamError);
    EXPECT_EQ(entries.Count(), 0);
}

TEST_F(TMediaListFileTest, AListLongerThanOnePieceIsWrittenWholeAndInOrder)
{
    entries.Clear();
    QByteArray expected;
    QList<TListEntry> many;
    for (int i = 0; i < 30000; ++i) {
        const QByteArray text = "/music/" + QByteArray::number(i) + QByteArray(30, 'x') + ".mp3";
        many.append({text, i % 7 == 0});
        expected += (i % 7 == 0 ? "1\r\n" : "0\r\n") + text + "\r\n";
    }
    entries.AppendEntries(many); // at once: one by one takes half a minute under the sanitizers
    ASSERT_GT(expected.size(), 1 << 20);
    MediaListFile::Save(TListType::Oml, folder.File("long.oml"), entries);
    EXPECT_EQ(folder.ReadFile("long.oml"), expected);
    try {
        MediaListFile::Save(TListType::Oml, folder.File("missing/long.oml"), entries);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.ErrorCode(), 2);
    }
}

} // namespace
