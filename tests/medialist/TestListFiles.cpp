#include "TTempFolder.h"
#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "medialist/MediaListFile.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TTextFile.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TListFileTest : public testing::Test {
protected:
    QList<TListEntry> LoadOml(const QByteArray &bytes)
    {
        folder.WriteFile("in.oml", bytes);
        MediaListFile::LoadOml(folder.File("in.oml"), list);
        return list.Entries();
    }

    TTempFolder folder;
    TMediaEntries list;
};

TEST_F(TListFileTest, OmlIsWrittenByteForByte)
{
    list.AppendEntries({{"C:\\Music\\a.mp3", true}, {"/home/\xFF\xFE/b c.wav", false}, {"", true}});
    MediaListFile::SaveOml(folder.File("out.oml"), list);
    EXPECT_EQ(folder.ReadFile("out.oml"), QByteArray("1\r\nC:\\Music\\a.mp3\r\n0\r\n/home/\xFF\xFE/b c.wav\r\n1\r\n\r\n"));
    list.Clear();
    MediaListFile::SaveOml(folder.File("empty.oml"), list);
    EXPECT_EQ(folder.ReadFile("empty.oml"), QByteArray());
}

TEST_F(TListFileTest, OmlLineRules)
{
    // An odd number of lines: the last entry has an empty text, marked by a "1".
    EXPECT_EQ(LoadOml("0\r\na\r\n1\r\n"), (QList<TListEntry>{{"a", false}, {"", true}}));
    // One extra empty line at the end gives one extra unmarked entry with empty text.
    EXPECT_EQ(LoadOml("1\r\na\r\n\r\n"), (QList<TListEntry>{{"a", true}, {"", false}}));
    // LF alone is an ordinary character: the whole file is one mark line.
    EXPECT_EQ(LoadOml("1\na\n0\nb\n"), (QList<TListEntry>{{"", false}}));
    // Only exactly "1" marks.
    EXPECT_EQ(LoadOml("1 \r\na\r\n 1\r\nb\r\n\r\nc\r\nyes\r\nd\r\n"),
              (QList<TListEntry>{{"a", false}, {"b", false}, {"c", false}, {"d", false}}));
    // 0x1A ends the file, also in the middle of a line.
    EXPECT_EQ(LoadOml("1\r\nab\x1A" "cd\r\n0\r\ne\r\n"), (QList<TListEntry>{{"ab", true}}));
    // CR alone ends a line; the last line needs no line end.
    EXPECT_EQ(LoadOml("1\ra\r0\rb"), (QList<TListEntry>{{"a", true}, {"b", false}}));
    // LF inside a name line stays part of the text; bytes are taken as they are.
    EXPECT_EQ(LoadOml(QByteArray("0\r\nx\ny\r\n0\r\n\xC3\x28\x00z\r\n", 17)),
              (QList<TListEntry>{{"x\ny", false}, {QByteArray("\xC3\x28\x00z", 4), false}}));
    EXPECT_EQ(LoadOml(""), QList<TListEntry>());
}

TEST(TextFileTest, LinesOutliveTheFileAreTerminatedAndLeaveTheCallersBytesAlone)
{
    const QByteArray bytes("1\r\nfirst\r\n0\rsecond\nstill\r\nends at\x1A" "after", 39);
    const QByteArray before = bytes;
    QList<QByteArray> lines;
    {
        TTextFile file = TTextFile::FromBytes(bytes);
        while (!file.Eof())
            lines << file.ReadLine();
    }
    EXPECT_EQ(bytes, before);
    ASSERT_EQ(lines, QList<QByteArray>({"1", "first", "0", "second\nstill", "ends at"}));
    for (const QByteArray &line : lines)
        EXPECT_EQ(line.constData()[line.size()], '\0') << line.constData();
    // A line is a value of its own: changing it changes no other line.
    QByteArray changed = lines[1];
    changed[0] = 'F';
    changed.append(" and more");
    EXPECT_EQ(lines[1], "first");
    EXPECT_EQ(lines[2], "0");
    EXPECT_EQ(changed, "First and more");
}

TEST_F(TListFileTest, PlainListIsWrittenByteForByte)
{
    ListFormats::WritePlainListFile(folder.File("out.txt"), {"a", "", "\xE4\xF6.mp3"});
    EXPECT_EQ(folder.ReadFile("out.txt"), QByteArray("a\r\n\r\n\xE4\xF6.mp3\r\n"));
    ListFormats::WritePlainListFile(folder.File("empty.txt"), {});
    EXPECT_EQ(folder.ReadFile("empty.txt"), QByteArray());
}

TEST_F(TListFileTest, PlainListLineRules)
{
    using ListFormats::SplitPlainList;
    EXPECT_EQ(SplitPlainList("a\r\nb\r\n"), QList<QByteArray>({"a", "b"}));
    EXPECT_EQ(SplitPlainList("a\nb\n\nc"), QList<QByteArray>({"a", "b", "", "c"}));
    EXPECT_EQ(SplitPlainList("a\rb\r\rc\r"), QList<QByteArray>({"a", "b", "", "c"}));
    EXPECT_EQ(SplitPlainList("a\n\rb"), QList<QByteArray>({"a", "", "b"}));
    EXPECT_EQ(SplitPlainList(QByteArray("a\r\nb\0c\r\nd", 9)), QList<QByteArray>({"a", "b"}));
    EXPECT_EQ(SplitPlainList("\r\n"), QList<QByteArray>({""}));
    EXPECT_EQ(SplitPlainList(""), QList<QByteArray>());
    EXPECT_EQ(SplitPlainList(QByteArray("\0a", 2)), QList<QByteArray>());
    EXPECT_EQ(SplitPlainList("\x1A\xFF"), QList<QByteArray>({"\x1A\xFF"}));
}

TEST_F(TListFileTest, PlainListWrittenWithMarksReadsBackUnmarked)
{
    folder.WriteFile("plain.txt", "1\r\nsong.mp3\r\n");
    EXPECT_EQ(LoadOml(folder.ReadFile("plain.txt")), (QList<TListEntry>{{"song.mp3", true}}));
    EXPECT_EQ(ListFormats::ReadPlainListFile(folder.File("plain.txt")), QList<QByteArray>({"1", "song.mp3"}));
}

TEST_F(TListFileTest, ErrorKindsAndTexts)
{
    list.Append(QByteArray("kept"));
    try {
        MediaListFile::LoadOml(folder.File("missing.oml"), list);
        FAIL();
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.ErrorCode(), 2);
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(list.Count(), 0);
    try {
        ListFormats::ReadPlainListFile(folder.File("missing.txt"));
        FAIL();
    } catch (const EFileStreamError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), "Cannot open file " + folder.File("missing.txt"));
    }
    folder.WriteFile("file", "x");
    try {
        MediaListFile::SaveOml(folder.File("file/list.oml"), list);
        FAIL();
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.ErrorCode(), 3);
        EXPECT_STREQ(error.what(), "Invalid filename");
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.oml"));
    try {
        MediaListFile::SaveOml(folder.File("folder.oml"), list);
        FAIL();
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.ErrorCode(), 5);
        EXPECT_STREQ(error.what(), "File access denied");
    }
    try {
        ListFormats::WritePlainListFile(folder.File("folder.oml"), {"a"});
        FAIL();
    } catch (const EFileStreamError &error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), "Cannot create file " + folder.File("folder.oml"));
    }
    try {
        MediaListFile::SaveOml(folder.File("no/such/folder.oml"), list);
        FAIL();
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.ErrorCode(), 2);
    }
    EXPECT_STREQ(EInOutError(4).what(), "Too many open files");
    EXPECT_STREQ(EInOutError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(EInOutError(101).what(), "Disk full");
    EXPECT_STREQ(EInOutError(27).what(), "I/O error 27");
    EXPECT_EQ(EInOutError::FromErrno(ENOSPC).ErrorCode(), 101);
    EXPECT_EQ(EInOutError::FromErrno(EROFS).ErrorCode(), 5);
    EXPECT_EQ(EInOutError::FromErrno(EMFILE).ErrorCode(), 4);
}

TEST(InOutErrorTest, ErrorNumbersTakeTheCodeOfTheirMeaningAndNeverAnotherCodesText)
{
    const std::pair<int, const char *> meanings[] = {
        {ENOENT, "File not found"},     {ENOTDIR, "Invalid filename"},  {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"}, {EACCES, "File access denied"}, {EPERM, "File access denied"},
        {EROFS, "File access denied"},   {ENOSPC, "Disk full"},          {EDQUOT, "Disk full"},
        {ENOMEM, "Not enough memory"},   {ENOEXEC, "I/O error 1008"},
        // Numbers that equal a listed code but mean something else.
        {EIO, "I/O error 1005"},         {EINTR, "I/O error 1004"},      {ESRCH, "I/O error 1003"},
        {ENETDOWN, "I/O error 1100"},    {ENETUNREACH, "I/O error 1101"}, {EISCONN, "I/O error 1106"},
        // Any other keeps its number.
        {EFBIG, "I/O error 27"},         {ELOOP, "I/O error 40"},
    };
    for (const auto &[errorNumber, text] : meanings)
        EXPECT_STREQ(EInOutError::FromErrno(errorNumber).what(), text) << errorNumber;
}

// Files may not grow past a few bytes while it lives, so that every longer write fails.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(TListFileTest, AFailedSaveLeavesTheOldFileExactlyAsItWas)
{
    const QByteArray old = "1\r\nold entry\r\n";
    folder.WriteFile("list.oml", old);
    folder.WriteFile("list.txt", "old\r\n");
    ASSERT_EQ(chmod(QFile::encodeName(folder.File("list.oml")).constData(), 0640), 0);
    list.Append(QList<QByteArray>{QByteArray(4096, 'n'), "more"});
    {
        TFileSizeLimit limit(64);
        try {
            MediaListFile::SaveOml(folder.File("list.oml"), list);
            ADD_FAILURE() << "the save did not fail";
        } catch (const EInOutError &error) {
            EXPECT_EQ(error.ErrorCode(), EFBIG);
            EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(EFBIG));
        }
        EXPECT_THROW(ListFormats::WritePlainListFile(folder.File("list.txt"), list.Texts()), EFileStreamError);
    }
    EXPECT_EQ(folder.ReadFile("list.oml"), old);
    EXPECT_EQ(folder.ReadFile("list.txt"), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"list.oml", "list.txt"}));
    // A save that succeeds replaces the content and keeps the permissions.
    MediaListFile::SaveOml(folder.File("list.oml"), list);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(folder.File("list.oml")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.ReadFile("list.oml").size(), 3 + 4096 + 2 + 3 + 4 + 2);
}

TEST_F(TListFileTest, SavingThroughASymbolicLinkReplacesTheFileItNames)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("real"));
    folder.WriteFile("real/list.oml", "old");
    ASSERT_TRUE(QFile::link(folder.File("real/list.oml"), folder.File("link.oml")));
    list.Append(QByteArray("new"));
    MediaListFile::SaveOml(folder.File("link.oml"), list);
    EXPECT_TRUE(QFileInfo(folder.File("link.oml")).isSymLink());
    EXPECT_EQ(folder.ReadFile("real/list.oml"), QByteArray("0\r\nnew\r\n"));
    // A dangling link gets its file created.
    ASSERT_TRUE(QFile::link(folder.File("real/later.oml"), folder.File("dangling.oml")));
    MediaListFile::SaveOml(folder.File("dangling.oml"), list);
    EXPECT_EQ(folder.ReadFile("real/later.oml"), QByteArray("0\r\nnew\r\n"));
}

TEST_F(TListFileTest, BadInputLoadsWithoutHarm)
{
    QByteArray garbage;
    for (unsigned i = 1; i < 300000; ++i)
        garbage += char((i * 7919u + i / 13) & 0xFFu);
    garbage.replace('\x1A', 'z');
    garbage.replace('\0', 'n');
    folder.WriteFile("garbage", garbage);
    MediaListFile::LoadOml(folder.File("garbage"), list);
    EXPECT_GT(list.Count(), 0);
    EXPECT_FALSE(ListFormats::ReadPlainListFile(folder.File("garbage")).isEmpty());

    const QByteArray longLine = "1\r\n" + QByteArray(10 * 1024 * 1024, 'L') + "\r\n";
    EXPECT_EQ(LoadOml(longLine).first().Text.size(), 10 * 1024 * 1024);
    folder.WriteFile("nuls", QByteArray(100000, '\0'));
    EXPECT_TRUE(ListFormats::ReadPlainListFile(folder.File("nuls")).isEmpty());
    MediaListFile::LoadOml(folder.File("nuls"), list);
    EXPECT_EQ(list.Count(), 1);
}

} // namespace
