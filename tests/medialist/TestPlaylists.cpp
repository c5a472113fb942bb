// Playlists as other players write them, read into entries and what was left out; the three
// formats as the player writes them, byte for byte.

#include "TTempFolder.h"
#include "medialist/ListFileErrors.h"
#include "medialist/MediaListFile.h"
#include "medialist/TMediaEntries.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

void PrintTo(const TLeftOut &leftOut, std::ostream *out)
{
    *out << leftOut.Name.toStdString() << ": " << leftOut.Reason.toStdString();
}

namespace {

class TPlaylistTest : public testing::Test {
protected:
    void SetUp() override { dir = QFile::encodeName(folder.path()); }
    // "F" in an expected text stands for the playlist's folder.
    QByteArray InFolder(QByteArray text) const { return text.replace("F/", dir + '/'); }
    TPlaylist Read(TListType type, const QString &name, const QByteArray &bytes)
    {
        folder.WriteFile(name, bytes);
        return MediaListFile::ReadPlaylist(type, QFile::encodeName(folder.File(name)));
    }

    TTempFolder folder;
    QByteArray dir;
};

struct TPlaylistCase {
    const char *Writer; // who writes playlists so
    TListType Type;
    const char *Name;
    QByteArray Bytes;
    QList<QByteArray> Entries;
    QList<QPair<QByteArray, QString>> LeftOut;
};

TEST_F(TPlaylistTest, PlaylistsAsOtherPlayersWriteThemGiveTheirFilesAndNameWhatTheyLeaveOut)
{
    folder.Touch("caf\xc3\xa9.mp3");     // named in UTF-8, listed in Windows-1252
    folder.Touch("\xe9t\xe9 old.mp3"); // named and listed in Latin-1
    const QString notLocal = "not a local file";
    const QString invalid = "not a valid file name";
    const std::vector<TPlaylistCase> cases = {
        {"an extended M3U8 with CR LF", TListType::M3u, "vlc.m3u8",
         "#EXTM3U\r\n#EXTINF:231,Artist - Title\r\n/music/a.mp3\r\n#EXTINF:-1,B\r\nsub/b.flac\r\n \r\n ./c.ogg \r\n",
         {"/music/a.mp3", "F/sub/b.flac", "F/ ./c.ogg "}, {}},
        {"an M3U8 with a byte order mark, LF and lone CR ends", TListType::M3u, "bom.m3u8",
         "\xEF\xBB\xBF/x/a.mp3\n/x/b.mp3\r/x/c d.mp3\n", {"/x/a.mp3", "/x/b.mp3", "/x/c d.mp3"}, {}},
        {"an old M3U in Windows-1252", TListType::M3u, "old.m3u", "caf\xe9.mp3\n\xe9t\xe9 old.mp3\nna\xefve.mp3\n",
         {"F/caf\xc3\xa9.mp3", "F/\xe9t\xe9 old.mp3", "F/na\xefve.mp3"}, {}},
        {"an M3U8 is never recoded", TListType::M3u, "utf8.m3u8", "caf\xe9.mp3\n", {"F/caf\xe9.mp3"}, {}},
        {"file URIs", TListType::M3u, "uris.m3u8",
         "file:///m/a%20b.mp3\nfile://localhost/m/%FF.ogg\nFILE:///m/up/../c.mp3\n",
         {"/m/a b.mp3", "/m/\xff.ogg", "/m/c.mp3"}, {}},
        {"what cannot be played", TListType::M3u, "mixed.m3u8",
         "http://radio.example/live.mp3\nsmb://server/share/a.mp3\nfile://otherhost/a.mp3\nfile:///a.mp3?x=1\n"
         "file:///a%00b.mp3\nfile:///a%0Ab.mp3\nother.pls\nmixed.m3u8\n../../../../../../../../../../../../../../../../x.mp3\n"
         "bin\x01\x02.mp3\nkept.mp3\n",
         {"F/kept.mp3"},
         {{"http://radio.example/live.mp3", notLocal},
          {"smb://server/share/a.mp3", notLocal},
          {"file://otherhost/a.mp3", notLocal},
          {"file:///a.mp3?x=1", notLocal},
          {"file:///a%00b.mp3", invalid},
          {"file:///a%0Ab.mp3", "a line break in the name"},
          {"other.pls", "a playlist in a playlist"},
          {"mixed.m3u8", "a playlist in a playlist"},
          {"../../../../../../../../../../../../../../../../x.mp3", "outside of every folder"},
          {"bin\x01\x02.mp3", invalid}}},
        {"a PLS out of order", TListType::Pls, "list.pls",
         "[playlist]\r\nFile2=b.mp3\r\nTitle2=B\r\nfile1 = /m/a.mp3\r\nFILE10=file:///m/c%20c.mp3\r\nFile-1=x.mp3\r\n"
         "File99999999999999=z.mp3\r\nFile999999999999999999999=never.mp3\r\nNumberOfEntries=2147483647\r\nVersion=2\r\n",
         {"/m/a.mp3", "F/b.mp3", "/m/c c.mp3", "F/z.mp3"}, {}},
        {"an XSPF with relative and remote locations", TListType::Xspf, "list.xspf",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
         "<title>Mix</title><trackList>\n<track><title>A &amp; B</title><location>file:///m/a%20%26%20b.flac</location>"
         "</track>\n<track><location>music/caf%C3%A9.opus</location><duration>1</duration></track>\n"
         "<track><location>http://host/x.mp3</location></track>\n<track><location>/m/x%FF.mp3</location></track>\n"
         "</trackList>\n<location>/not/a/track.mp3</location></playlist>\n",
         {"/m/a & b.flac", "F/music/caf\xc3\xa9.opus", "/m/x\xff.mp3"}, {{"http://host/x.mp3", notLocal}}},
        {"an XSPF with references, CDATA and comments", TListType::Xspf, "refs.xspf",
         "<playlist><!-- <trackList> --><trackList><track><location>&#47;m&#x2F;a&amp;b.mp3</location></track>"
         "<track><location><![CDATA[/m/c&d.mp3]]></location></track><track><location/></track>"
         "<x:track xmlns:x=\"http://xspf.org/ns/0/\"><x:location>/m/e.mp3</x:location></x:track>"
         "<track><location>&nope;</location></track></trackList></playlist>",
         {"/m/a&b.mp3", "/m/c&d.mp3", "/m/e.mp3"}, {{"F/refs.xspf", "not read past line 1 (an entity reference names nothing known)"}}},
        {"an XSPF with an entity bomb", TListType::Xspf, "bomb.xspf",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE playlist [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n<playlist><trackList><track><location>&c;</location></track>"
         "</trackList></playlist>",
         {}, {{"F/bomb.xspf", "not read past its document type declaration"}}},
        {"an XSPF with an external entity", TListType::Xspf, "external.xspf",
         "<!DOCTYPE playlist SYSTEM \"http://evil.example/x.dtd\"><playlist><trackList><track>"
         "<location>&x;</location></track></trackList></playlist>",
         {}, {{"F/external.xspf", "not read past its document type declaration"}}},
        {"an XSPF cut short", TListType::Xspf, "cut.xspf",
         "<playlist><trackList><track><location>/m/a.mp3</location></track>\n<track><location>/m/b",
         {"/m/a.mp3"}, {{"F/cut.xspf", "not read past line 2 (the document ends before </location>)"}}},
    };
    for (const TPlaylistCase &test : cases) {
        const TPlaylist playlist = Read(test.Type, test.Name, test.Bytes);
        QList<QByteArray> entries;
        for (const QByteArray &entry : test.Entries)
            entries << InFolder(entry);
        QList<TLeftOut> leftOut;
        for (const auto &[name, reason] : test.LeftOut)
            leftOut << TLeftOut{InFolder(name), reason};
        EXPECT_EQ(playlist.Entries, entries) << test.Writer;
        EXPECT_EQ(playlist.LeftOut, leftOut) << test.Writer;
    }
}

TEST_F(TPlaylistTest, EachFormatIsWrittenByteForByteAndReadBack)
{
    TMediaEntries entries;
    entries.AppendEntries({{"/m/a b.mp3", true}, {"/m/\xff&<.wav", false}});
    const QByteArray xspfHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n  <trackList>\n";
    const QList<QPair<TListType, QByteArray>> written = {
        {TListType::M3u, "#EXTM3U\n/m/a b.mp3\n/m/\xff&<.wav\n"},
        {TListType::Pls, "[playlist]\nFile1=/m/a b.mp3\nFile2=/m/\xff&<.wav\nNumberOfEntries=2\nVersion=2\n"},
        {TListType::Xspf, xspfHead + "    <track><location>file:///m/a%20b.mp3</location></track>\n"
                              "    <track><location>file:///m/%FF%26%3C.wav</location></track>\n"
                              "  </trackList>\n</playlist>\n"},
    };
    for (const auto &[type, bytes] : written) {
        const QString name = QString("list%1").arg(int(type));
        MediaListFile::Save(type, folder.File(name), entries);
        EXPECT_EQ(folder.ReadFile(name), bytes) << int(type);
        TMediaEntries back;
        EXPECT_EQ(MediaListFile::Load(type, folder.File(name), back), QList<TLeftOut>()) << int(type);
        EXPECT_EQ(back.Entries(), (QList<TListEntry>{{"/m/a b.mp3", false}, {"/m/\xff&<.wav", false}})) << int(type);
    }
    TMediaEntries none;
    MediaListFile::Save(TListType::Pls, folder.File("empty.pls"), none);
    EXPECT_EQ(folder.ReadFile("empty.pls"), "[playlist]\nNumberOfEntries=0\nVersion=2\n");
}

TEST_F(TPlaylistTest, WhatIsNoPlaylistFileIsRefusedAtOnceAndHugeOnesInBoundedTime)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.File("fifo.m3u")).constData(), 0644), 0);
    folder.MakeFolder("folder.pls");
    for (const QByteArray &path : {QFile::encodeName(folder.File("fifo.m3u")), QFile::encodeName(folder.File("folder.pls")),
                                   QByteArray("/dev/zero"), QFile::encodeName(folder.File("missing.xspf"))}) {
        EXPECT_THROW(MediaListFile::ReadPlaylist(TListType::M3u, path), EFileStreamError) << path.constData();
    }
    QElapsedTimer clock;
    clock.start();
    QByteArray comments;
    for (int i = 0; i < 1'000'000; ++i)
        comments += "#EXTINF:1,x\n";
    EXPECT_EQ(Read(TListType::M3u, "comments.m3u8", comments + "/m/last.mp3\n").Entries, QList<QByteArray>({"/m/last.mp3"}));
    const QByteArray longName = "/m/" + QByteArray(8 << 20, 'a') + ".mp3";
    const TPlaylist longLine = Read(TListType::M3u, "long.m3u8", longName);
    ASSERT_EQ(longLine.LeftOut.size(), 1);
    EXPECT_EQ(longLine.LeftOut[0].Reason, "too long for a file name");
    EXPECT_EQ(longLine.LeftOut[0].Name.size(), 200) << "kept short for the message";
    const TPlaylist longLocation = Read(TListType::Xspf, "long.xspf",
                                        "<playlist><trackList><track><location>" + longName
                                            + "</location></track></trackList></playlist>");
    EXPECT_EQ(longLocation.LeftOut.size(), 1);
    const TPlaylist binary = Read(TListType::Pls, "binary.pls", QByteArray("File1=\0\xff\xfe", 9) + QByteArray(1 << 20, '\0'));
    EXPECT_EQ(binary.Entries, QList<QByteArray>());
    EXPECT_LT(clock.elapsed(), 20000);
}

} // namespace
