#include "medialist/MediaListFile.h"

#include "medialist/ByteText.h"
#include "medialist/EntryWriter.h"
#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "medialist/M3uFormat.h"
#include "medialist/PlaylistRewrite.h"
#include "medialist/PlaylistSource.h"
#include "medialist/PlsFormat.h"
#include "medialist/SafeFileWrite.h"
#include "medialist/RegularFileRead.h"
#include "medialist/XspfFormat.h"
#include "medialist/TListSnapshot.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TTextFile.h"

#include <QScopeGuard>
#include <cerrno>

namespace {

enum TListFormat { NoFormat, OmlFormat, PlainFormat, M3uFormatOf, PlsFormatOf, XspfFormatOf };

TListFormat FormatOf(TListType listType)
{
    switch (listType) {
    case TListType::Oml:
        return OmlFormat;
    case TListType::Mpu:
    case TListType::Text:
    case TListType::AnyFile:
        return PlainFormat;
    case TListType::M3u:
        return M3uFormatOf;
    case TListType::Pls:
        return PlsFormatOf;
    case TListType::Xspf:
        return XspfFormatOf;
    }
    return NoFormat;
}

// The list (the entries or a snapshot of them) written in OML pairs.
struct TOmlWriter {
    QByteArray Head(int) const { return {}; }
    QByteArray Tail(int) const { return {}; }
    qsizetype Size(QByteArrayView text, int) const { return ListFormats::OmlPairSize(text); }
    char *Put(char *at, QByteArrayView text, bool marked, int) const { return ListFormats::PutOmlPair(at, text, marked); }
};

template <typename TEntries>
void SaveOf(TListType listType, const QString &fileName, const TEntries &entries, const TPlaylistSource *source)
{
    if (source && source->Writes(listType, fileName)) {
        const QByteArray bytes
            = PlaylistRewrite::Rewritten(*source, entries.Count(), [&](int row) { return entries.TextView(row); });
        if (const int error = WriteFileSafely(fileName, bytes))
            throw EInOutError::FromErrno(error);
        return;
    }
    switch (FormatOf(listType)) {
    case OmlFormat:
        WriteEntries(fileName, entries, TOmlWriter());
        break;
    case PlainFormat:
        ListFormats::WritePlainListFile(fileName, entries.Texts());
        break;
    case M3uFormatOf:
        WriteEntries(fileName, entries, M3uFormat::TWriter());
        break;
    case PlsFormatOf:
        WriteEntries(fileName, entries, PlsFormat::TWriter());
        break;
    case XspfFormatOf:
        WriteEntries(fileName, entries, XspfFormat::TWriter());
        break;
    case NoFormat:
        break;
    }
}

} // namespace

namespace MediaListFile {

QList<TLeftOut> Load(TListType listType, const QString &fileName, TMediaEntries &entries,
                     std::shared_ptr<const TPlaylistSource> *source)
{
    if (source)
        source->reset();
    switch (FormatOf(listType)) {
    case OmlFormat:
        LoadOml(fileName, entries);
        break;
    case PlainFormat:
        entries.Clear();
        entries.Append(ListFormats::ReadPlainListFile(fileName));
        break;
    case M3uFormatOf:
    case PlsFormatOf:
    case XspfFormatOf: {
        entries.Clear();
        QByteArray bytes;
        TPlaylist playlist = ReadPlaylist(listType, TextBytes(fileName), &bytes);
        entries.Append(playlist.Entries);
        if (source)
            *source = TPlaylistSource::Of(listType, fileName, std::move(bytes), playlist);
        return playlist.LeftOut;
    }
    case NoFormat:
        entries.Clear();
        break;
    }
    return {};
}

TPlaylist ReadPlaylist(TListType listType, const QByteArray &path, QByteArray *read)
{
    QByteArray bytes;
    const auto keep = qScopeGuard([&] {
        if (read)
            *read = std::move(bytes);
    });
    if (const int error = ReadRegularFile(path, bytes)) {
        if (error == ENOMEM)
            throw EInOutError::FromErrno(error);
        throw EFileStreamError::CannotOpen(ByteText(path));
    }
    switch (FormatOf(listType)) {
    case M3uFormatOf: {
        // Only the older form may be in another character set; an M3U8 is UTF-8.
        const bool windows1252 = path.size() >= 4 && path.right(4).compare(".m3u", Qt::CaseInsensitive) == 0;
        return M3uFormat::Read(bytes, path, windows1252);
    }
    case PlsFormatOf:
        return PlsFormat::Read(bytes, path);
    case XspfFormatOf:
        return XspfFormat::Read(bytes, path);
    default:
        return {};
    }
}

void Save(TListType listType, const QString &fileName, const TMediaEntries &entries, const TPlaylistSource *source)
{
    SaveOf(listType, fileName, entries, source);
}

void Save(TListType listType, const QString &fileName, const TListSnapshot &entries, const TPlaylistSource *source)
{
    SaveOf(listType, fileName, entries, source);
}

void LoadOml(const QString &fileName, TMediaEntries &entries)
{
    entries.Clear();
    TTextFile file = TTextFile::OpenForReading(fileName);
    entries.AppendEntries(ListFormats::ReadOmlPairs(file));
}

void SaveOml(const QString &fileName, const TMediaEntries &entries)
{
    WriteEntries(fileName, entries, TOmlWriter());
}

void SaveOml(const QString &fileName, const TListSnapshot &entries)
{
    WriteEntries(fileName, entries, TOmlWriter());
}

} // namespace MediaListFile
