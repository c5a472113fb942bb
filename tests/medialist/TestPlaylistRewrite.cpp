// Other players' playlists written again by the player: unchanged they are the bytes that were
// read; changed, every line the change did not touch stays as it was.

#include "TTempFolder.h"
#include "medialist/MediaListFile.h"
#include "medialist/PlaylistSource.h"
#include "medialist/TMediaEntries.h"

#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

struct TRewriteCase {
    const char *Writer;
    TListType Type;
    const char *Name;
    QByteArray Bytes;
    std::function<void(TMediaEntries &)> Change;
    QByteArray Written; // "F/" stands for the playlist's folder
};

void AppendNew(TMediaEntries &entries)
{
    entries.Append(QByteArray("/new/added.mp3"));
}

void RemoveFirst(TMediaEntries &entries)
{
    entries.RemoveAt(0);
}

// The entries as they are, the first one moved to the end.
void MoveFirstToEnd(TMediaEntries &entries)
{
    const QByteArray first = entries.Text(0);
    entries.RemoveAt(0);
    entries.Append(first);
}

// The playlist written into the folder, loaded into the entries; its source, if any.
std::shared_ptr<const TPlaylistSource> Loaded(const TTempFolder &folder, TListType type, const QString &name,
                                              const QByteArray &bytes, TMediaEntries &entries)
{
    folder.WriteFile(name, bytes);
    std::shared_ptr<const TPlaylistSource> source;
    MediaListFile::Load(type, folder.File(name), entries, &source);
    return source;
}

TEST(TPlaylistRewriteTest, AChangeWritesOnlyWhatItChangedAndNoChangeTheBytesThatWereRead)
{
    const QByteArray vlc = "#EXTM3U\r\n#EXTINF:231,Artist - Title\r\nsub/a.mp3\r\n# a comment\r\n"
                           "#EXTINF:-1,Radio\r\nhttp://radio.example/stream\r\n#EXTINF:100,B\r\n/m/b.flac\r\n";
    const QByteArray latin = "\xEF\xBB\xBF#EXTM3U\r\xe9t\xe9.mp3\r/m/c.mp3";
    const QByteArray pls = "[playlist]\nFile1=sub/a.mp3\nTitle1=A\nLength1=231\nFile2=http://radio.example/s\n"
                           "Title2=Radio\nLength2=-1\nFile3=/m/b.flac\nTitle3=B\nNumberOfEntries=3\nVersion=2\n";
    const QByteArray xspf = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<playlist version=\"1\" "
                            "xmlns=\"http://xspf.org/ns/0/\">\r\n  <trackList>\r\n"
                            "    <track><location>sub/a.mp3</location><title>A</title></track>\r\n"
                            "    <track><location>http://radio.example/s</location></track>\r\n"
                            "    <track>\r\n      <location>file:///m/b.flac</location>\r\n      "
                            "<duration>100000</duration>\r\n    </track>\r\n  </trackList>\r\n</playlist>\r\n";
    const std::vector<TRewriteCase> cases = {
        {"an extended M3U8 with CR LF, unchanged", TListType::M3u, "vlc.m3u8", vlc, nullptr, vlc},
        {"an extended M3U8 with an entry added", TListType::M3u, "vlc.m3u8", vlc, AppendNew,
         vlc + "/new/added.mp3\r\n"},
        {"an extended M3U8 with its first entry removed", TListType::M3u, "vlc.m3u8", vlc, RemoveFirst,
         "#EXTM3U\r\n# a comment\r\n#EXTINF:-1,Radio\r\nhttp://radio.example/stream\r\n#EXTINF:100,B\r\n/m/b.flac\r\n"},
        {"an extended M3U8 with its first entry moved last", TListType::M3u, "vlc.m3u8", vlc, MoveFirstToEnd,
         "#EXTM3U\r\n# a comment\r\n#EXTINF:-1,Radio\r\nhttp://radio.example/stream\r\n#EXTINF:100,B\r\n/m/b.flac\r\n"
         "#EXTINF:231,Artist - Title\r\nsub/a.mp3\r\n"},
        {"an M3U with a byte order mark, lone CRs, Latin-1 and no last line end, added to", TListType::M3u,
         "latin.m3u", latin, AppendNew, latin + "\r/new/added.mp3\r"},
        {"an M3U8 whose second name begins with the bytes of a byte order mark, its first entry removed",
         TListType::M3u, "bom.m3u8", "/m/a.mp3\n\xEF\xBB\xBF b.mp3\n", RemoveFirst, "\n\xEF\xBB\xBF b.mp3\n"},
        {"a PLS, unchanged", TListType::Pls, "a.pls", pls, nullptr, pls},
        {"a PLS with a byte order mark and a number twice, its first entry removed", TListType::Pls, "twice.pls",
         "\xEF\xBB\xBF[playlist]\nFile1=/m/a.mp3\nTitle1=A\nFile1=/m/b.mp3\nFile2=/m/c.mp3\n", RemoveFirst,
         "\xEF\xBB\xBF[playlist]\nFile1=/m/b.mp3\nTitle1=A\nFile2=/m/c.mp3\n"},
        {"a PLS with its first entry removed", TListType::Pls, "a.pls", pls, RemoveFirst,
         "[playlist]\nFile1=http://radio.example/s\nTitle1=Radio\nLength1=-1\nFile2=/m/b.flac\nTitle2=B\n"
         "NumberOfEntries=2\nVersion=2\n"},
        {"a PLS with an entry added", TListType::Pls, "a.pls", pls, AppendNew,
         "[playlist]\nFile1=sub/a.mp3\nTitle1=A\nLength1=231\nFile2=http://radio.example/s\nTitle2=Radio\n"
         "Length2=-1\nFile3=/m/b.flac\nTitle3=B\nFile4=/new/added.mp3\nNumberOfEntries=4\nVersion=2\n"},
        {"an XSPF, unchanged", TListType::Xspf, "a.xspf", xspf, nullptr, xspf},
        {"an XSPF with its first track removed and one added", TListType::Xspf, "a.xspf", xspf,
         [](TMediaEntries &entries) {
             RemoveFirst(entries);
             AppendNew(entries);
         },
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<playlist version=\"1\" "
         "xmlns=\"http://xspf.org/ns/0/\">\r\n  <trackList>\r\n"
         "    <track><location>http://radio.example/s</location></track>\r\n"
         "    <track>\r\n      <location>file:///m/b.flac</location>\r\n      "
         "<duration>100000</duration>\r\n    </track>\r\n"
         "    <track><location>file:///new/added.mp3</location></track>\r\n  </trackList>\r\n</playlist>\r\n"},
    };
    for (const TRewriteCase &test : cases) {
        TTempFolder folder;
        const QString path = folder.File(test.Name);
        TMediaEntries entries;
        const auto source = Loaded(folder, test.Type, test.Name, test.Bytes, entries);
        ASSERT_TRUE(source) << test.Writer;
        if (test.Change)
            test.Change(entries);
        MediaListFile::Save(test.Type, path, entries, source.get());
        EXPECT_EQ(folder.ReadFile(test.Name), test.Written) << test.Writer;
        // What was written reads back as the entries it was written from.
        TMediaEntries back;
        MediaListFile::Load(test.Type, path, back);
        EXPECT_EQ(back.Texts(), entries.Texts()) << test.Writer;
    }
}

TEST(TPlaylistRewriteTest, ASourceWritesOnlyItsOwnFileInItsOwnFormat)
{
    TTempFolder folder;
    TMediaEntries entries;
    const auto source = Loaded(folder, TListType::M3u, "a.m3u8", "#EXTINF:1,A\nsub/a.mp3\n", entries);
    ASSERT_TRUE(source);
    // Elsewhere the relative name would name another file: written as the player writes.
    MediaListFile::Save(TListType::M3u, folder.File("b.m3u8"), entries, source.get());
    EXPECT_EQ(folder.ReadFile("b.m3u8"), "#EXTM3U\n" + QFile::encodeName(folder.File("sub/a.mp3")) + "\n");
    MediaListFile::Save(TListType::Oml, folder.File("a.m3u8"), entries, source.get());
    EXPECT_EQ(folder.ReadFile("a.m3u8"), "0\r\n" + QFile::encodeName(folder.File("sub/a.mp3")) + "\r\n");
}

TEST(TPlaylistRewriteTest, AnXspfNotReadToItsEndIsWrittenAsThePlayerWritesIt)
{
    TTempFolder folder;
    TMediaEntries entries;
    EXPECT_FALSE(Loaded(folder, TListType::Xspf, "a.xspf",
                        "<playlist><trackList><track><location>/m/a.mp3</location></track><track>", entries));
    EXPECT_EQ(entries.Texts(), QList<QByteArray>{"/m/a.mp3"});
}

} // namespace
