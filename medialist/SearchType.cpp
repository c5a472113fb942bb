#include "medialist/SearchType.h"

#include "medialist/MediaTypes.h"

namespace {

struct TSearchGroup {
    TSearchType Type;
    const char *Title;
};

// After the four single types, which the dialog names in its own words.
const TSearchGroup MoreGroups[] = {
    {TSearchType::Flac, "FLAC Files"},
    {TSearchType::OggOpus, "Ogg and Opus Files"},
    {TSearchType::Aac, "AAC and M4A Files"},
    {TSearchType::OtherAudio, "Other Audio Files"},
    {TSearchType::Video, "Video Files"},
    {TSearchType::AllMedia, "All Media Files"},
};

QList<QByteArray> PatternsOf(TSearchType type)
{
    switch (type) {
    case TSearchType::Video:
        return KindPatterns(TMediaKind::Video);
    case TSearchType::AllMedia:
        return MediaPatterns();
    default:
        return GroupPatterns(type);
    }
}

} // namespace

QString SearchPattern(TSearchType type)
{
    const uint8_t value = uint8_t(type);
    if (value < uint8_t(TSearchType::Wave) || value > uint8_t(TSearchType::AllMedia))
        return {};
    return QString::fromLatin1(PatternsOf(type).join(';'));
}

QString MoreSearchFilters()
{
    QStringList pairs;
    for (const TSearchGroup &group : MoreGroups) {
        const QString patterns = SearchPattern(group.Type);
        pairs << QStringLiteral("%1 (%2)|%2").arg(QLatin1String(group.Title), patterns);
    }
    return pairs.join(QLatin1Char('|'));
}
