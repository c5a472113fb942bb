#include "medialist/FileUri.h"

#include <QUrl>

#include <cstring>

namespace {

bool IsSchemeStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSchemeChar(char c)
{
    return IsSchemeStart(c) || (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The usual "file:///path" with nothing to normalise or check beyond its escapes: decoded at
// once, as a playlist of a hundred thousand of them needs. Empty for anything else.
QByteArray PlainFileUriPath(const QByteArray &uri)
{
    if (uri.size() < 8 || qstrnicmp(uri.constData(), "file:///", 8) != 0)
        return {};
    const QByteArrayView path = QByteArrayView(uri).sliced(7);
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '%') {
            if (i + 2 >= path.size() || !IsHex(path[i + 1]) || !IsHex(path[i + 2]) || (path[i + 1] == '0' && path[i + 2] == '0'))
                return {};
        } else if (c == '\0' || (!KeptInFileUri(c) && !std::strchr("!$&'()*+,;=:@", c))) {
            return {};
        }
        // A "." or ".." segment is left to the full parse, which takes it away.
        if (c == '.' && path[i - 1] == '/' && (i + 1 == path.size() || path[i + 1] == '/' || path[i + 1] == '.'))
            return {};
    }
    return QByteArray::fromPercentEncoding(path.toByteArray());
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
    if (QByteArray plain = PlainFileUriPath(uri); !plain.isEmpty())
        return plain;
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
