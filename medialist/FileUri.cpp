#include "medialist/FileUri.h"

#include <QUrl>

namespace {

bool IsSchemeStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSchemeChar(char c)
{
    return IsSchemeStart(c) || (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
}

} // namespace

bool IsUri(QByteArrayView name)
{
    if (name.isEmpty() || !IsSchemeStart(name[0]))
        return false;
    qsizetype end = 1;
    while (end < name.size() && IsSchemeChar(name[end]))
        ++end;
    if (end == name.size() || name[end] != ':')
        return false;
    return name.sliced(end).startsWith("://") || name.first(end).compare("file", Qt::CaseInsensitive) == 0;
}

QByteArray LocalPathOfUri(const QByteArray &uri, QString &reason)
{
    const QUrl url = QUrl::fromEncoded(uri, QUrl::StrictMode).adjusted(QUrl::NormalizePathSegments);
    const QString host = url.host();
    if (!url.isValid()) {
        reason = QStringLiteral("not a valid file name");
        return {};
    }
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0 || url.hasQuery() || url.hasFragment()
        || !(host.isEmpty() || host == QLatin1String("localhost"))) {
        reason = QStringLiteral("not a local file");
        return {};
    }
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (path.isEmpty() || path.contains('\0') || !path.startsWith('/')) {
        reason = QStringLiteral("not a valid file name");
        return {};
    }
    return path;
}
