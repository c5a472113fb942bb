#include "medialist/MediaTypes.h"

#include <algorithm>
#include <array>

namespace {

using K = TMediaKind;
using G = TSearchType;

const std::array Table = {
    // The four the player was made for.
    TMediaType{"wav", "audio/x-wav;audio/wav;audio/vnd.wave;", K::Audio, G::Wave},
    TMediaType{"mp3", "audio/mpeg;audio/x-mp3;audio/mp3;audio/x-mpeg;", K::Audio, G::Mp3},
    TMediaType{"avi", "video/x-msvideo;video/avi;video/x-avi;", K::Video, G::Avi},
    TMediaType{"mov", "video/quicktime;", K::Video, G::Movie},
    TMediaType{"flac", "audio/flac;audio/x-flac;", K::Audio, G::Flac},
    TMediaType{"ogg", "audio/ogg;audio/x-ogg;audio/x-vorbis+ogg;audio/vorbis;audio/x-vorbis;", K::Audio, G::OggOpus},
    TMediaType{"oga", "audio/ogg;audio/x-flac+ogg;", K::Audio, G::OggOpus},
    TMediaType{"opus", "audio/ogg;audio/x-opus+ogg;audio/opus;", K::Audio, G::OggOpus},
    TMediaType{"m4a", "audio/mp4;audio/x-m4a;audio/m4a;", K::Audio, G::Aac},
    TMediaType{"aac", "audio/aac;audio/x-aac;", K::Audio, G::Aac},
    TMediaType{"wma", "audio/x-ms-wma;audio/wma;", K::Audio, G::OtherAudio},
    TMediaType{"aif", "audio/x-aiff;audio/aiff;", K::Audio, G::OtherAudio},
    TMediaType{"aiff", "audio/x-aiff;audio/aiff;", K::Audio, G::OtherAudio},
    TMediaType{"ape", "audio/x-ape;", K::Audio, G::OtherAudio},
    TMediaType{"wv", "audio/x-wavpack;", K::Audio, G::OtherAudio},
    TMediaType{"mka", "audio/x-matroska;", K::Audio, G::OtherAudio},
    TMediaType{"mpc", "audio/x-musepack;", K::Audio, G::OtherAudio},
    TMediaType{"mp4", "video/mp4;video/x-m4v;", K::Video, G::Video},
    TMediaType{"m4v", "video/mp4;video/x-m4v;", K::Video, G::Video},
    TMediaType{"mkv", "video/x-matroska;", K::Video, G::Video},
    TMediaType{"webm", "video/webm;", K::Video, G::Video},
    TMediaType{"ogv", "video/ogg;video/x-ogg;video/x-theora+ogg;", K::Video, G::Video},
    TMediaType{"wmv", "video/x-ms-wmv;", K::Video, G::Video},
    TMediaType{"mpg", "video/mpeg;video/x-mpeg;video/mpeg-system;", K::Video, G::Video},
    TMediaType{"mpeg", "video/mpeg;video/x-mpeg;video/mpeg-system;", K::Video, G::Video},
    TMediaType{"ts", "video/mp2t;", K::Video, G::Video},
    // Other players' playlists: their entries are added, never the playlist itself.
    TMediaType{"m3u", "audio/x-mpegurl;audio/mpegurl;application/vnd.apple.mpegurl;audio/x-m3u;", K::Playlist, G(0),
               TListType::M3u},
    TMediaType{"m3u8", "audio/x-mpegurl;application/vnd.apple.mpegurl;", K::Playlist, G(0), TListType::M3u},
    TMediaType{"pls", "audio/x-scpls;audio/scpls;application/pls;", K::Playlist, G(0), TListType::Pls},
    TMediaType{"xspf", "application/xspf+xml;", K::Playlist, G(0), TListType::Xspf},
};

constexpr qsizetype LongestExtension = 4;

template <typename Keep> QList<QByteArray> PatternsOf(Keep keep)
{
    QList<QByteArray> patterns;
    for (const TMediaType &type : Table)
        if (keep(type))
            patterns << "*." + QByteArray(type.Extension);
    return patterns;
}

} // namespace

std::span<const TMediaType> MediaTypes()
{
    return Table;
}

const TMediaType *MediaTypeOf(QByteArrayView name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0 || name.size() - dot - 1 > LongestExtension || name.indexOf('/', dot) >= 0)
        return nullptr;
    const QByteArrayView extension = name.sliced(dot + 1);
    const auto found = std::find_if(Table.begin(), Table.end(), [&](const TMediaType &type) {
        return extension.compare(QByteArrayView(type.Extension), Qt::CaseInsensitive) == 0;
    });
    return found == Table.end() ? nullptr : &*found;
}

bool IsPlaylistName(QByteArrayView name)
{
    const TMediaType *type = MediaTypeOf(name);
    return type && type->Kind == TMediaKind::Playlist;
}

QList<QByteArray> MediaPatterns()
{
    return PatternsOf([](const TMediaType &type) { return type.Kind != TMediaKind::Playlist; });
}

QList<QByteArray> KindPatterns(TMediaKind kind)
{
    return PatternsOf([kind](const TMediaType &type) { return type.Kind == kind; });
}

QList<QByteArray> GroupPatterns(TSearchType group)
{
    return PatternsOf([group](const TMediaType &type) { return type.Group == group; });
}

QString PlaylistFilters()
{
    struct TTitle {
        TListType Type;
        const char *Title;
    };
    static constexpr TTitle Titles[] = {
        {TListType::M3u, "M3U Playlist"}, {TListType::Pls, "PLS Playlist"}, {TListType::Xspf, "XSPF Playlist"}};
    QStringList pairs;
    for (const TTitle &title : Titles) {
        const QString patterns = QString::fromLatin1(
            PatternsOf([&](const TMediaType &type) { return type.ListType == title.Type; }).join(';'));
        pairs << QStringLiteral("%1 (%2)|%2").arg(QLatin1String(title.Title), patterns);
    }
    return pairs.join(QLatin1Char('|'));
}

QString AddedFilePatterns()
{
    QList<QByteArray> patterns = {"*.mp3", "*.wav"};
    for (const QByteArray &pattern : PatternsOf([](const TMediaType &) { return true; }))
        if (!patterns.contains(pattern))
            patterns << pattern;
    return QString::fromLatin1(patterns.join(';'));
}

QStringList MediaMimeTypes()
{
    QStringList names;
    for (const TMediaType &type : Table)
        for (const QString &name : QString::fromLatin1(type.MimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!names.contains(name))
                names << name;
    return names;
}
