// libFuzzer targets for the list file readers, one per FUZZ_READER value. Besides running
// without a crash or hang, each reader must give back what it reads when its own output
// is read again.

#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "medialist/M3uFormat.h"
#include "medialist/PlaylistRewrite.h"
#include "medialist/PlaylistSource.h"
#include "medialist/PlsFormat.h"
#include "medialist/TTextFile.h"
#include "medialist/XspfFormat.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

[[maybe_unused]] void FuzzOml(const QByteArray &bytes)
{
    TTextFile in = TTextFile::FromBytes(bytes);
    const QList<TListEntry> entries = ListFormats::ReadOmlPairs(in);
    TTextFile out = TTextFile::ForWriting(QString());
    ListFormats::WriteOmlPairs(out, entries);
    TTextFile again = TTextFile::FromBytes(out.Bytes());
    Check(ListFormats::ReadOmlPairs(again) == entries);
}

[[maybe_unused]] void FuzzCounted(const QByteArray &bytes)
{
    TTextFile in = TTextFile::FromBytes(bytes);
    QList<TListEntry> entries;
    try {
        entries = ListFormats::ReadCountedPairs(in);
    } catch (const EInOutError &error) {
        Check(error.ErrorCode() == 106);
        return;
    }
    Check(entries.size() <= bytes.size());
    TTextFile out = TTextFile::ForWriting(QString());
    ListFormats::WriteCountedPairs(out, entries);
    TTextFile again = TTextFile::FromBytes(out.Bytes());
    Check(ListFormats::ReadCountedPairs(again) == entries);
}

[[maybe_unused]] void FuzzPlain(const QByteArray &bytes)
{
    const QList<QByteArray> lines = ListFormats::SplitPlainList(bytes);
    Check(ListFormats::SplitPlainList(ListFormats::JoinPlainList(lines)) == lines);
}

// Entries as the playlist writers take them.
struct TNames {
    const QList<QByteArray> &Texts;
    int Count() const { return int(Texts.size()); }
    QByteArrayView TextView(int row) const { return Texts[row]; }
    bool MarkAt(int) const { return false; }
};

template <typename TWriter> QByteArray Written(const QList<QByteArray> &entries, const TWriter &writer)
{
    const TNames names{entries};
    QByteArray bytes = writer.Head(names.Count());
    for (int row = 0; row < names.Count(); ++row) {
        const qsizetype at = bytes.size();
        bytes.resize(at + writer.Size(names.TextView(row), row));
        Check(writer.Put(bytes.data() + at, names.TextView(row), false, row) == bytes.constData() + bytes.size());
    }
    return bytes + writer.Tail(names.Count());
}

// The first byte picks the format; the entries read must be read again from what the player
// writes of them (in XSPF as many: its URIs name "." and ".." segments by the file they reach).
[[maybe_unused]] void FuzzPlaylist(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const QByteArray rest = bytes.mid(1);
    const QByteArray path = "/nowhere/fuzzed.m3u";
    switch (bytes[0] % 3) {
    case 0: {
        const TPlaylist read = M3uFormat::Read(rest, path, true);
        Check(M3uFormat::Read(Written(read.Entries, M3uFormat::TWriter()), path, false).Entries == read.Entries);
        break;
    }
    case 1: {
        const TPlaylist read = PlsFormat::Read(rest, path);
        Check(PlsFormat::Read(Written(read.Entries, PlsFormat::TWriter()), path).Entries == read.Entries);
        break;
    }
    default: {
        const TPlaylist read = XspfFormat::Read(rest, path);
        const TPlaylist again = XspfFormat::Read(Written(read.Entries, XspfFormat::TWriter()), path);
        Check(again.Entries.size() == read.Entries.size() && again.LeftOut.isEmpty());
        break;
    }
    }
}

// The first byte picks the format. Written again unchanged, a playlist is the bytes that were
// read; with its first entry gone and one added, it reads back as the entries it was written
// from (in XSPF as many: one track may give two entries).
[[maybe_unused]] void FuzzRewrite(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const QByteArray rest = bytes.mid(1);
    const QByteArray path = "/nowhere/fuzzed.m3u";
    const TListType types[] = {TListType::M3u, TListType::Pls, TListType::Xspf};
    const TListType type = types[uint8_t(bytes[0]) % 3];
    const auto read = [&](const QByteArray &text) {
        return type == TListType::M3u ? M3uFormat::Read(text, path, false)
               : type == TListType::Pls ? PlsFormat::Read(text, path)
                                        : XspfFormat::Read(text, path);
    };
    const TPlaylist playlist = read(rest);
    const auto source = TPlaylistSource::Of(type, QString::fromUtf8(path), rest, playlist);
    if (!source)
        return;
    const auto written = [&](const QList<QByteArray> &rows) {
        return PlaylistRewrite::Rewritten(*source, int(rows.size()), [&](int row) { return QByteArrayView(rows[row]); });
    };
    Check(written(playlist.Entries) == rest);
    QList<QByteArray> changed = playlist.Entries.mid(1);
    changed.append("/added/entry.mp3");
    const TPlaylist again = read(written(changed));
    if (type == TListType::Xspf)
        Check(again.Entries.size() >= 1 && again.Entries.last() == changed.last());
    else
        Check(again.Entries == changed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_READER(bytes);
    return 0;
}
