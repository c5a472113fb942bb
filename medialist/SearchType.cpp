#include "medialist/SearchType.h"

QString SearchPattern(TSearchType type)
{
    switch (type) {
    case TSearchType::Wave:
        return QStringLiteral("*.wav");
    case TSearchType::Mp3:
        return QStringLiteral("*.mp3");
    case TSearchType::Avi:
        return QStringLiteral("*.avi");
    case TSearchType::Movie:
        return QStringLiteral("*.mov");
    }
    return {};
}

QList<QByteArray> AllMediaPatterns()
{
    QList<QByteArray> patterns;
    for (const TSearchType type : {TSearchType::Wave, TSearchType::Mp3, TSearchType::Avi, TSearchType::Movie})
        patterns << SearchPattern(type).toLatin1();
    return patterns;
}
